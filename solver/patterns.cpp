// The pattern finders: subsets, fish, wings, single-digit link patterns,
// chains and the trial of a digit, on one word of digit bits per cell.
#include "solver/patterns.h"

#include <cstring>

#include "solver/bits.h"
#include "solver/houses.h"
#include "solver/search.h"

namespace {

// A set of cells: bit x of lo for x < 64, bit x - 64 of hi otherwise.
struct CellSet {
  uint64_t lo = 0;
  uint64_t hi = 0;
  void Add(int x) { (x < 64 ? lo : hi) |= uint64_t(1) << (x & 63); }
  bool Has(int x) const { return ((x < 64 ? lo : hi) >> (x & 63)) & 1; }
  bool Empty() const { return (lo | hi) == 0; }
  CellSet operator&(const CellSet& o) const { return {lo & o.lo, hi & o.hi}; }
  CellSet Without(int x) const {
    CellSet s = *this;
    (x < 64 ? s.lo : s.hi) &= ~(uint64_t(1) << (x & 63));
    return s;
  }
  // The lowest cell, removed; the set must not be empty.
  int Pop() {
    if (lo) {
      const int x = __builtin_ctzll(lo);
      lo &= lo - 1;
      return x;
    }
    const int x = 64 + __builtin_ctzll(hi);
    hi &= hi - 1;
    return x;
  }
};

struct PeerTable {
  CellSet peers[81];  // the 20 peers of each cell
  PeerTable() {
    for (int x = 0; x < 81; ++x) {
      for (int kind = kRowPeers; kind <= kBoxPeers; ++kind) {
        for (int k = 0; k < 8; ++k) peers[x].Add(kHouses.lists[kind][x][k]);
      }
    }
  }
};

const PeerTable& Peers() {
  static const PeerTable table;
  return table;
}

bool Sees(int a, int b) {
  return a != b && (a / 9 == b / 9 || a % 9 == b % 9 || kUnits.house[kBox][a] == kUnits.house[kBox][b]);
}

// What every finder reads: the open cells holding each digit, as cell sets
// and as positions within each house.
struct Grid {
  const uint16_t* cells;
  CellSet holds[10];         // open cells holding d
  uint16_t pos[3][9][10];    // per house and digit: positions 0..8 of the open cells holding it
  uint16_t placed[3][9];     // per house: the digits of its solved cells

  explicit Grid(const uint16_t* c) : cells(c) {
    std::memset(pos, 0, sizeof pos);
    std::memset(placed, 0, sizeof placed);
    for (int x = 0; x < 81; ++x) {
      const unsigned m = cells[x];
      for (int kind = kRow; kind < kHouseKinds; ++kind) {
        const int h = kUnits.house[kind][x];
        if (AtMostOneBit(m)) {
          placed[kind][h] = uint16_t(placed[kind][h] | m);
          continue;
        }
        const int p = kUnits.position[kind][x];
        for (unsigned b = m; b; b &= b - 1) pos[kind][h][LowestBit(b)] |= uint16_t(1u << p);
      }
      if (!AtMostOneBit(m)) {
        for (unsigned b = m; b; b &= b - 1) holds[LowestBit(b)].Add(x);
      }
    }
  }
  bool Open(int x) const { return !AtMostOneBit(cells[x]); }
  bool Holds(int x, int d) const { return Open(x) && (cells[x] >> d & 1); }
};

// Gathers removals into a step, at most kMaxPatternCells cells.
struct Removals {
  PatternStep* step;
  void Add(const Grid& g, int x, unsigned digits) {
    digits &= g.cells[x];
    if (!digits || !g.Open(x)) return;
    for (int i = 0; i < step->removalCount; ++i) {
      if (step->removals[i].cell == x) {
        step->removals[i].digits = uint16_t(step->removals[i].digits | digits);
        return;
      }
    }
    if (step->removalCount < kMaxPatternCells) step->removals[step->removalCount++] = {uint8_t(x), uint16_t(digits)};
  }
  // Digit d from every open cell of `cells` holding it.
  void AddDigit(const Grid& g, CellSet cells, int d) {
    cells = cells & g.holds[d];
    while (!cells.Empty()) Add(g, cells.Pop(), 1u << d);
  }
  bool Any() const { return step->removalCount > 0; }
};

void Start(PatternStep* step, int technique) {
  *step = PatternStep{};
  step->technique = technique;
}

// --- Subsets ------------------------------------------------------------------

// Chooses `need` more of items[from..count) (masks), the union of all chosen
// having at most n bits; calls found(chosen bits) on exactly n bits.
template <class Found>
bool Choose(const uint16_t* items, int count, int from, int need, int n, unsigned so, unsigned chosen,
            Found& found) {
  if (need == 0) return BitCount(so) == n && found(chosen);
  for (int i = from; i <= count - need; ++i) {
    const unsigned u = so | items[i];
    if (BitCount(u) > n) continue;
    if (Choose(items, count, i + 1, need - 1, n, u, chosen | (1u << i), found)) return true;
  }
  return false;
}

// Naked subsets of n cells: n open cells of a house holding n digits
// between them take those digits from the other cells of the house.
bool NakedSubset(const Grid& g, int n, int technique, PatternStep* step) {
  for (int kind = kRow; kind < kHouseKinds; ++kind) {
    for (int h = 0; h < 9; ++h) {
      uint16_t masks[9];
      uint8_t where[9];
      int count = 0;
      int open = 0;
      for (int p = 0; p < 9; ++p) {
        const int x = kUnits.cells[kind][h][p];
        if (!g.Open(x)) continue;
        ++open;
        if (BitCount(g.cells[x]) <= n) {
          masks[count] = g.cells[x];
          where[count++] = uint8_t(x);
        }
      }
      if (open <= n || count < n) continue;
      auto found = [&](unsigned chosen) {
        Start(step, technique);
        unsigned digits = 0;
        for (int i = 0; i < count; ++i) {
          if (chosen >> i & 1) {
            digits |= masks[i];
            step->cells[step->cellCount++] = where[i];
          }
        }
        Removals r{step};
        for (int p = 0; p < 9; ++p) {
          const int x = kUnits.cells[kind][h][p];
          bool inside = false;
          for (int i = 0; i < step->cellCount; ++i) inside = inside || step->cells[i] == x;
          if (!inside) r.Add(g, x, digits);
        }
        step->digits = uint16_t(digits);
        step->houseKind = uint8_t(kind);
        step->houseIndex = uint8_t(h);
        return r.Any();
      };
      if (Choose(masks, count, 0, n, n, 0, 0, found)) return true;
    }
  }
  return false;
}

// Hidden subsets of n digits: n digits of a house confined to the same n
// cells become those cells' only digits.
bool HiddenSubset(const Grid& g, int n, int technique, PatternStep* step) {
  for (int kind = kRow; kind < kHouseKinds; ++kind) {
    for (int h = 0; h < 9; ++h) {
      uint16_t places[9];
      uint8_t digit[9];
      int count = 0;
      int open = 0;
      for (int d = 1; d <= 9; ++d) {
        if (g.placed[kind][h] >> d & 1) continue;
        const unsigned p = g.pos[kind][h][d];
        if (p) ++open;
        if (BitCount(p) >= 2 && BitCount(p) <= n) {
          places[count] = uint16_t(p);
          digit[count++] = uint8_t(d);
        }
      }
      if (open <= n || count < n) continue;
      auto found = [&](unsigned chosen) {
        Start(step, technique);
        unsigned digits = 0, cellsAt = 0;
        for (int i = 0; i < count; ++i) {
          if (chosen >> i & 1) {
            digits |= 1u << digit[i];
            cellsAt |= places[i];
          }
        }
        Removals r{step};
        for (int p = 0; p < 9; ++p) {
          if (!(cellsAt >> p & 1)) continue;
          const int x = kUnits.cells[kind][h][p];
          step->cells[step->cellCount++] = uint8_t(x);
          r.Add(g, x, kAllDigits & ~digits);
        }
        step->digits = uint16_t(digits);
        step->houseKind = uint8_t(kind);
        step->houseIndex = uint8_t(h);
        return r.Any();
      };
      if (Choose(places, count, 0, n, n, 0, 0, found)) return true;
    }
  }
  return false;
}

// --- Fish -------------------------------------------------------------------

// n base lines of one kind whose places for a digit lie in n cover lines of
// the other kind: the digit leaves the rest of the cover lines.
bool Fish(const Grid& g, int n, int technique, PatternStep* step) {
  for (int d = 1; d <= 9; ++d) {
    for (int baseKind = kRow; baseKind <= kColumn; ++baseKind) {
      const int coverKind = kRow + kColumn - baseKind;
      uint16_t masks[9];
      uint8_t line[9];
      int count = 0;
      for (int i = 0; i < 9; ++i) {
        const int c = BitCount(g.pos[baseKind][i][d]);
        if (c >= 2 && c <= n) {
          masks[count] = g.pos[baseKind][i][d];
          line[count++] = uint8_t(i);
        }
      }
      if (count < n) continue;
      auto found = [&](unsigned chosen) {
        Start(step, technique);
        unsigned base = 0, cover = 0;
        for (int i = 0; i < count; ++i) {
          if (chosen >> i & 1) {
            base |= 1u << line[i];
            cover |= masks[i];
          }
        }
        Removals r{step};
        for (unsigned c = cover; c; c &= c - 1) {
          const int j = LowestBit(c);
          for (unsigned p = g.pos[coverKind][j][d] & ~base; p; p &= p - 1) {
            r.Add(g, kUnits.cells[coverKind][j][LowestBit(p)], 1u << d);
          }
        }
        step->digits = uint16_t(1u << d);
        step->houseKind = uint8_t(baseKind);
        step->base = uint16_t(base);
        step->cover = uint16_t(cover);
        return r.Any();
      };
      if (Choose(masks, count, 0, n, n, 0, 0, found)) return true;
    }
  }
  return false;
}

// --- Single-digit link patterns -----------------------------------------------

void SetChain4(PatternStep* step, int d, const int cells[4], int firstLink, int lastLink) {
  step->digits = uint16_t(1u << d);
  step->nodeCount = 4;
  const uint8_t links[4] = {uint8_t(firstLink), kWeakLink, uint8_t(lastLink), kChainEnd};
  for (int i = 0; i < 4; ++i) step->nodes[i] = {uint8_t(cells[i]), uint8_t(d), links[i]};
}

// Cells seeing both a and b lose d.
bool RemoveSeeingBoth(const Grid& g, int a, int b, int d, Removals& r) {
  r.AddDigit(g, Peers().peers[a] & Peers().peers[b], d);
  return r.Any();
}

// Skyscraper: two lines of one kind, each with two places for d, sharing
// one cross line at one end: one of the two other ends holds d.
bool Skyscraper(const Grid& g, PatternStep* step) {
  for (int d = 1; d <= 9; ++d) {
    for (int kind = kRow; kind <= kColumn; ++kind) {
      for (int i = 0; i < 9; ++i) {
        const unsigned a = g.pos[kind][i][d];
        if (BitCount(a) != 2) continue;
        for (int j = i + 1; j < 9; ++j) {
          const unsigned b = g.pos[kind][j][d];
          if (BitCount(b) != 2 || a == b || !(a & b)) continue;
          const int shared = LowestBit(a & b);
          const int endA = LowestBit(a & ~(1u << shared)), endB = LowestBit(b & ~(1u << shared));
          const int cells[4] = {kUnits.cells[kind][i][endA], kUnits.cells[kind][i][shared],
                                kUnits.cells[kind][j][shared], kUnits.cells[kind][j][endB]};
          Start(step, kSkyscraper);
          Removals r{step};
          if (RemoveSeeingBoth(g, cells[0], cells[3], d, r)) {
            SetChain4(step, d, cells, kind, kind);
            return true;
          }
        }
      }
    }
  }
  return false;
}

// Two-string kite: a row and a column, each with two places for d, with one
// end of each in the same box (different cells): one of the two other ends
// holds d.
bool TwoStringKite(const Grid& g, PatternStep* step) {
  for (int d = 1; d <= 9; ++d) {
    for (int row = 0; row < 9; ++row) {
      const unsigned rp = g.pos[kRow][row][d];
      if (BitCount(rp) != 2) continue;
      for (int col = 0; col < 9; ++col) {
        const unsigned cp = g.pos[kColumn][col][d];
        if (BitCount(cp) != 2) continue;
        for (int ri = 0; ri < 2; ++ri) {
          for (int ci = 0; ci < 2; ++ci) {
            const int rowJoin = row * 9 + NthBit(rp, ri), rowEnd = row * 9 + NthBit(rp, 1 - ri);
            const int colJoin = NthBit(cp, ci) * 9 + col, colEnd = NthBit(cp, 1 - ci) * 9 + col;
            if (rowJoin == colJoin || rowEnd == colEnd || rowJoin == colEnd || rowEnd == colJoin) continue;
            if (kUnits.house[kBox][rowJoin] != kUnits.house[kBox][colJoin]) continue;
            Start(step, kTwoStringKite);
            Removals r{step};
            if (RemoveSeeingBoth(g, rowEnd, colEnd, d, r)) {
              const int cells[4] = {rowEnd, rowJoin, colJoin, colEnd};
              SetChain4(step, d, cells, kStrongInRow, kStrongInColumn);
              return true;
            }
          }
        }
      }
    }
  }
  return false;
}

// --- Wings ------------------------------------------------------------------

// XY-wing: pivot {a,b}, pincers {a,c} and {b,c} that it sees: c leaves every
// cell seeing both pincers. XYZ-wing: pivot {a,b,c}: c leaves every cell
// seeing all three.
bool Wing(const Grid& g, bool xyz, PatternStep* step) {
  const int technique = xyz ? kXYZWing : kXYWing;
  for (int p = 0; p < 81; ++p) {
    const unsigned pm = g.cells[p];
    if (BitCount(pm) != (xyz ? 3 : 2)) continue;
    uint8_t pincers[20];
    int count = 0;
    CellSet peers = Peers().peers[p];
    while (!peers.Empty()) {
      const int y = peers.Pop();
      const unsigned m = g.cells[y];
      if (!TwoBits(m)) continue;
      if (xyz ? (m & ~pm) == 0 : (m != pm && (m & pm) != 0)) pincers[count++] = uint8_t(y);
    }
    for (int i = 0; i < count; ++i) {
      for (int j = i + 1; j < count; ++j) {
        const unsigned m1 = g.cells[pincers[i]], m2 = g.cells[pincers[j]];
        unsigned c;
        if (xyz) {
          if (m1 == m2 || (m1 | m2) != pm) continue;
          c = m1 & m2;
        } else {
          c = m1 & m2 & ~pm;
          if (!c || ((m1 | m2) & pm) != pm) continue;
        }
        if (!c || !AtMostOneBit(c)) continue;
        const int d = LowestBit(c);
        Start(step, technique);
        Removals r{step};
        CellSet seeing = Peers().peers[pincers[i]] & Peers().peers[pincers[j]];
        if (xyz) seeing = seeing & Peers().peers[p];
        r.AddDigit(g, seeing, d);
        if (!r.Any()) continue;
        step->digits = uint16_t(c);
        step->cellCount = 3;
        step->cells[0] = uint8_t(p);
        step->cells[1] = pincers[i];
        step->cells[2] = pincers[j];
        return true;
      }
    }
  }
  return false;
}

// W-wing: two cells {a,b} that do not see each other, and a strong link on
// b whose ends see one cell each: one of the two cells is a, so a leaves
// every cell seeing both.
bool WWing(const Grid& g, PatternStep* step) {
  for (int x = 0; x < 81; ++x) {
    const unsigned m = g.cells[x];
    if (!TwoBits(m)) continue;
    for (int y = x + 1; y < 81; ++y) {
      if (g.cells[y] != m || Sees(x, y)) continue;
      for (int k = 0; k < 2; ++k) {
        const int b = NthBit(m, k), a = NthBit(m, 1 - k);
        for (int kind = kRow; kind < kHouseKinds; ++kind) {
          for (int h = 0; h < 9; ++h) {
            const unsigned pl = g.pos[kind][h][b];
            if (BitCount(pl) != 2) continue;
            const int e1 = kUnits.cells[kind][h][NthBit(pl, 0)], e2 = kUnits.cells[kind][h][NthBit(pl, 1)];
            if (e1 == x || e1 == y || e2 == x || e2 == y) continue;
            int nearX, nearY;
            if (Sees(e1, x) && Sees(e2, y)) {
              nearX = e1, nearY = e2;
            } else if (Sees(e2, x) && Sees(e1, y)) {
              nearX = e2, nearY = e1;
            } else {
              continue;
            }
            Start(step, kWWing);
            Removals r{step};
            if (!RemoveSeeingBoth(g, x, y, a, r)) continue;
            step->digits = uint16_t(m);
            step->houseKind = uint8_t(kind);
            step->houseIndex = uint8_t(h);
            step->cellCount = 4;
            step->cells[0] = uint8_t(x);
            step->cells[1] = uint8_t(y);
            step->cells[2] = uint8_t(nearX);
            step->cells[3] = uint8_t(nearY);
            step->nodeCount = 0;
            return true;
          }
        }
      }
    }
  }
  return false;
}

// --- Chains -----------------------------------------------------------------

// Chains over nodes (cell, digit), node = cell * 9 + digit - 1. Starting
// from a node taken as false, a strong link makes the next node true and a
// weak link from a true node makes the next false. Reaching a true node E
// from start A proves that A or E holds; a candidate that cannot stand with
// either is removed. The breadth-first search finds the shortest chains
// first and stops at kMaxChainNodes nodes.
enum ChainMode { kDigitChain, kCellChain, kAnyChain };

struct ChainSearch {
  const Grid& g;
  ChainMode mode;
  int digitOnly = 0;

  // A node's strong links: up to four other nodes and their kinds.
  uint8_t strongCount[729];
  uint16_t strong[729][4];
  uint8_t strongKind[729][4];

  ChainSearch(const Grid& grid, ChainMode m) : g(grid), mode(m) {}

  void Build() {
    std::memset(strongCount, 0, sizeof strongCount);
    for (int x = 0; x < 81; ++x) {
      const unsigned m = g.cells[x];
      if (AtMostOneBit(m)) continue;
      for (unsigned b = m; b; b &= b - 1) {
        const int d = LowestBit(b);
        if (digitOnly && d != digitOnly) continue;
        const int node = x * 9 + d - 1;
        if (mode != kDigitChain && TwoBits(m)) {
          const int other = LowestBit(m & ~(1u << d));
          AddStrong(node, x * 9 + other - 1, kStrongInCell);
        }
        if (mode != kCellChain) {
          for (int kind = kRow; kind < kHouseKinds; ++kind) {
            const int h = kUnits.house[kind][x];
            const unsigned pl = g.pos[kind][h][d];
            if (BitCount(pl) != 2) continue;
            const int y = kUnits.cells[kind][h][LowestBit(pl & ~(1u << kUnits.position[kind][x]))];
            // A box link whose cells share a line is already that line's.
            if (kind == kBox && (y / 9 == x / 9 || y % 9 == x % 9)) continue;
            AddStrong(node, y * 9 + d - 1, kind);
          }
        }
      }
    }
  }

  void AddStrong(int node, int other, int kind) {
    if (strongCount[node] < 4) {
      strong[node][strongCount[node]] = uint16_t(other);
      strongKind[node][strongCount[node]++] = uint8_t(kind);
    }
  }

  // State s = node * 2 + (1 when the node is true).
  int16_t parent[1458];
  uint8_t parentLink[1458];
  uint8_t depth[1458];
  uint16_t queue[1458];

  // Removals for ends a (false start) and e (true end): candidates that see
  // both, or a's own cell's other digits when the chain comes back to a.
  bool Conclude(int a, int e, Removals& r) {
    const int ca = a / 9, da = a % 9 + 1, ce = e / 9, de = e % 9 + 1;
    if (a == e) {
      r.Add(g, ca, kAllDigits & ~(1u << da));
    } else if (da == de) {
      r.AddDigit(g, Peers().peers[ca] & Peers().peers[ce], da);
    } else if (ca == ce) {
      r.Add(g, ca, kAllDigits & ~((1u << da) | (1u << de)));
    } else if (Sees(ca, ce)) {
      r.Add(g, ca, 1u << de);
      r.Add(g, ce, 1u << da);
    }
    return r.Any();
  }

  bool From(int a, int technique, PatternStep* step) {
    std::memset(depth, 0, sizeof depth);
    int head = 0, tail = 0;
    const int s0 = a * 2;
    depth[s0] = 1;
    parent[s0] = -1;
    queue[tail++] = uint16_t(s0);
    while (head < tail) {
      const int s = queue[head++];
      const int node = s >> 1;
      if (depth[s] >= kMaxChainNodes) continue;
      if (!(s & 1)) {
        // False: each strong link makes the other node true.
        for (int k = 0; k < strongCount[node]; ++k) {
          const int t = strong[node][k] * 2 + 1;
          if (depth[t]) continue;
          depth[t] = uint8_t(depth[s] + 1);
          parent[t] = int16_t(s);
          parentLink[t] = strongKind[node][k];
          Start(step, technique);
          Removals r{step};
          if (Conclude(a, t >> 1, r)) {
            Describe(t, step);
            return true;
          }
          queue[tail++] = uint16_t(t);
        }
      } else {
        // True: every node it cannot stand with is false; only those with
        // a strong link lead on.
        const int x = node / 9, d = node % 9 + 1;
        if (mode == kAnyChain) {
          for (unsigned b = g.cells[x] & ~(1u << d); b; b &= b - 1) Weak(s, x * 9 + LowestBit(b) - 1, tail);
        }
        CellSet peers = Peers().peers[x] & g.holds[d];
        while (!peers.Empty()) Weak(s, peers.Pop() * 9 + d - 1, tail);
      }
    }
    return false;
  }

  void Weak(int s, int other, int& tail) {
    if (!strongCount[other]) return;
    const int t = other * 2;
    if (depth[t]) return;
    depth[t] = uint8_t(depth[s] + 1);
    parent[t] = int16_t(s);
    parentLink[t] = kWeakLink;
    queue[tail++] = uint16_t(t);
  }

  void Describe(int t, PatternStep* step) {
    int states[kMaxChainNodes];
    int n = 0;
    for (int s = t; s >= 0 && n < kMaxChainNodes; s = parent[s]) states[n++] = s;
    unsigned digits = 0;
    step->nodeCount = uint8_t(n);
    for (int i = 0; i < n; ++i) {
      const int s = states[n - 1 - i];
      const int node = s >> 1;
      // The link to the next node is the one that reached it.
      const uint8_t link = i + 1 < n ? parentLink[states[n - 2 - i]] : uint8_t(kChainEnd);
      step->nodes[i] = {uint8_t(node / 9), uint8_t(node % 9 + 1), link};
      digits |= 1u << (node % 9 + 1);
    }
    step->digits = uint16_t(digits);
  }

  bool Find(int technique, PatternStep* step) {
    if (mode == kDigitChain) {
      for (int d = 1; d <= 9; ++d) {
        digitOnly = d;
        Build();
        for (int x = 0; x < 81; ++x) {
          const int a = x * 9 + d - 1;
          if (strongCount[a] && From(a, technique, step)) return true;
        }
      }
      return false;
    }
    Build();
    for (int a = 0; a < 729; ++a) {
      if (strongCount[a] && From(a, technique, step)) return true;
    }
    return false;
  }
};

bool Chain(const Grid& g, ChainMode mode, int technique, PatternStep* step) {
  ChainSearch search(g, mode);  // about 18 KB
  return search.Find(technique, step);
}

// --- Trial and error ----------------------------------------------------------

// For the open cell with the fewest digits (the first such, row-major) and
// its digits in turn: a digit that leaves the candidates no solution at all
// is removed. With no solution at all the cell's every digit goes, and the
// solve meets the contradiction.
bool Trial(const Grid& g, PatternStep* step) {
  uint16_t masks[81];
  std::memcpy(masks, g.cells, sizeof masks);
  const SearchOutcome whole = SearchCandidates(masks, 1);
  int order[81];
  int count = 0;
  for (int size = 2; size <= 9; ++size) {
    for (int x = 0; x < 81; ++x) {
      if (BitCount(g.cells[x]) == size) order[count++] = x;
    }
  }
  for (int i = 0; i < count; ++i) {
    const int x = order[i];
    for (unsigned b = g.cells[x]; b; b &= b - 1) {
      const int d = LowestBit(b);
      // The solution found rules d in at x.
      if (whole.solutions > 0 && whole.solution[x] == d) continue;
      if (whole.solutions > 0) {
        masks[x] = uint16_t(1u << d);
        const bool none = SearchCandidates(masks, 1).solutions == 0;
        masks[x] = g.cells[x];
        if (!none) continue;
      }
      Start(step, kTrialAndError);
      Removals r{step};
      r.Add(g, x, whole.solutions > 0 ? 1u << d : g.cells[x]);
      step->digits = r.step->removals[0].digits;
      step->cellCount = 1;
      step->cells[0] = uint8_t(x);
      return true;
    }
  }
  return false;
}

bool FindIn(const Grid& g, int technique, PatternStep* step) {
  switch (technique) {
    case kNakedTriple: return NakedSubset(g, 3, technique, step);
    case kHiddenTriple: return HiddenSubset(g, 3, technique, step);
    case kNakedQuad: return NakedSubset(g, 4, technique, step);
    case kHiddenQuad: return HiddenSubset(g, 4, technique, step);
    case kXWing: return Fish(g, 2, technique, step);
    case kSwordfish: return Fish(g, 3, technique, step);
    case kJellyfish: return Fish(g, 4, technique, step);
    case kSkyscraper: return Skyscraper(g, step);
    case kTwoStringKite: return TwoStringKite(g, step);
    case kXYWing: return Wing(g, false, step);
    case kXYZWing: return Wing(g, true, step);
    case kWWing: return WWing(g, step);
    case kXChain: return Chain(g, kDigitChain, technique, step);
    case kXYChain: return Chain(g, kCellChain, technique, step);
    case kNiceLoop: return Chain(g, kAnyChain, technique, step);
    case kTrialAndError: return Trial(g, step);
    default: return false;
  }
}

}  // namespace

bool FindPattern(int technique, const uint16_t cells[81], PatternStep* step) {
  if (!FindIn(Grid(cells), technique, step)) return false;
  for (int i = 0; i < step->cellCount; ++i) step->cellDigits[i] = cells[step->cells[i]];
  return true;
}

bool FindFirstPattern(int first, int end, const uint16_t cells[81], PatternStep* step) {
  const Grid g(cells);
  for (int t = first < kFirstPatternTechnique ? kFirstPatternTechnique : first; t < end && t < kTechniqueCount; ++t) {
    if (FindIn(g, t, step)) {
      for (int i = 0; i < step->cellCount; ++i) step->cellDigits[i] = cells[step->cells[i]];
      return true;
    }
  }
  return false;
}
