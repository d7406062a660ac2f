// The incremental grid: removals that keep per-house digit places, and the
// re-checks they trigger, run from work lists until nothing is left to do.
#include "solver/incremental_grid.h"

#include "solver/houses.h"

namespace {

inline int Lowest(unsigned bits) { return __builtin_ctz(bits); }
inline bool AtMostOne(unsigned bits) { return (bits & (bits - 1)) == 0; }

// The 20 peers of every cell: its row, then the rest of its column, then the
// rest of its box.
struct PeerTable {
  uint8_t peers[81][20];
};

constexpr PeerTable BuildPeers() {
  PeerTable t{};
  for (int x = 0; x < 81; ++x) {
    const int r = x / 9, c = x % 9;
    int n = 0;
    for (int j = 0; j < 9; ++j) {
      if (j != c) t.peers[x][n++] = uint8_t(r * 9 + j);
    }
    for (int j = 0; j < 9; ++j) {
      if (j != r) t.peers[x][n++] = uint8_t(j * 9 + c);
    }
    for (int br = r / 3 * 3; br < r / 3 * 3 + 3; ++br) {
      for (int bc = c / 3 * 3; bc < c / 3 * 3 + 3; ++bc) {
        if (br != r && bc != c) t.peers[x][n++] = uint8_t(br * 9 + bc);
      }
    }
  }
  return t;
}

constexpr PeerTable kPeers = BuildPeers();

// Houses are numbered rows 0..8, columns 9..17, boxes 18..26; within a house
// a cell's position is the one kUnits gives.
constexpr unsigned kAllDigits = 0x3FEu;
constexpr uint32_t kAllHouses = (1u << 27) - 1;

}  // namespace

// One run of re-checks. Every list is bounded by the 81 cells: a cell becomes
// solved once and drops to two candidates once.
struct IncrementalGrid::Work {
  Work(IncrementalGrid& grid, int admitted) : g(grid), level(admitted) {}

  IncrementalGrid& g;
  const int level;
  uint8_t solved[81];   // newly solved cells whose digit must leave the peers
  int solvedCount = 0;
  uint8_t pairs[81];    // cells newly down to two candidates (level 3)
  int pairCount = 0;
  uint16_t dirty[27] = {};  // per house, the digits whose places changed
  uint32_t dirtyHouses = 0;

  // Takes d out of cell x. False when that empties the cell or leaves d
  // without a place in one of the cell's houses.
  bool Remove(int x, int d) {
    const unsigned bit = 1u << d;
    unsigned m = g.cells[x];
    if (!(m & bit)) return true;
    m &= ~bit;
    if (!m) return false;
    g.cells[x] = uint16_t(m);
    for (int kind = 0; kind < 3; ++kind) {
      const int h = kind * 9 + kUnits.house[kind][x];
      uint16_t& at = g.places[h][d];
      at = uint16_t(at & ~(1u << kUnits.position[kind][x]));
      if (!at) return false;
      dirty[h] = uint16_t(dirty[h] | bit);
      dirtyHouses |= 1u << h;
    }
    if (AtMostOne(m)) {
      --g.open;
      solved[solvedCount++] = uint8_t(x);
    } else if (level >= 3 && AtMostOne(m & (m - 1))) {
      pairs[pairCount++] = uint8_t(x);
    }
    return true;
  }

  // Narrows cell x to the digits of `keep`.
  bool Keep(int x, unsigned keep) {
    for (unsigned gone = g.cells[x] & ~keep; gone; gone &= gone - 1) {
      if (!Remove(x, Lowest(gone))) return false;
    }
    return true;
  }

  bool RemoveFromList(int kind, int x, int d) {
    const uint8_t* list = kHouses.lists[kind][x];
    for (int k = 0; k < 6; ++k) {
      if (!Remove(list[k], d)) return false;
    }
    return true;
  }

  // A digit confined to one segment of house h leaves the rest of the other
  // house through that segment: pointing for a box, claiming for a line.
  bool Confine(int kind, int house, int d, unsigned at) {
    const uint8_t* cells = kUnits.cells[kind][house];
    for (int k = 0; k < 3; ++k) {
      if (kind == 2) {
        if (!(at & ~(7u << (3 * k)))) return RemoveFromList(kRowOutsideBox, cells[3 * k], d);
        if (!(at & ~(0x49u << k))) return RemoveFromList(kColumnOutsideBox, cells[k], d);
      } else if (!(at & ~(7u << (3 * k)))) {
        return RemoveFromList(kind == 0 ? kBoxOutsideRow : kBoxOutsideColumn, cells[3 * k], d);
      }
    }
    return true;
  }

  // Digit d of house h, whose places changed.
  bool Check(int h, int d) {
    const unsigned at = g.places[h][d];
    const int kind = h / 9, house = h % 9;
    const uint8_t* cells = kUnits.cells[kind][house];
    if (AtMostOne(at)) {
      // One place left: a hidden single (or d is placed there already).
      return Keep(cells[Lowest(at)], 1u << d);
    }
    if (level >= 2 && !Confine(kind, house, d, at)) return false;
    if (level >= 3 && AtMostOne(at & (at - 1))) {
      // Two places: a second digit with the same two is a hidden pair.
      for (int e = 1; e <= 9; ++e) {
        if (e == d || g.places[h][e] != at) continue;
        const unsigned pair = (1u << d) | (1u << e);
        return Keep(cells[Lowest(at)], pair) && Keep(cells[Lowest(at & (at - 1))], pair);
      }
    }
    return true;
  }

  // A cell down to two candidates, and a partner holding the same two in
  // one of its houses: a naked pair.
  bool NakedPair(int x) {
    const unsigned m = g.cells[x];
    if (AtMostOne(m) || !AtMostOne(m & (m - 1))) return true;
    const int a = Lowest(m), b = Lowest(m & (m - 1));
    for (int kind = 0; kind < 3; ++kind) {
      const uint8_t* cells = kUnits.cells[kind][kUnits.house[kind][x]];
      int partner = -1;
      for (int p = 0; p < 9 && partner < 0; ++p) {
        if (cells[p] != x && g.cells[cells[p]] == m) partner = cells[p];
      }
      if (partner < 0) continue;
      for (int p = 0; p < 9; ++p) {
        const int y = cells[p];
        if (y == x || y == partner) continue;
        if (!Remove(y, a) || !Remove(y, b)) return false;
      }
    }
    return true;
  }

  bool Run() {
    for (;;) {
      if (solvedCount > 0) {
        const int x = solved[--solvedCount];
        const int d = Lowest(g.cells[x]);
        for (int k = 0; k < 20; ++k) {
          if (!Remove(kPeers.peers[x][k], d)) return false;
        }
      } else if (dirtyHouses) {
        const int h = Lowest(dirtyHouses);
        dirtyHouses &= dirtyHouses - 1;
        unsigned digits = dirty[h];
        dirty[h] = 0;
        for (; digits; digits &= digits - 1) {
          if (!Check(h, Lowest(digits))) return false;
        }
      } else if (pairCount > 0) {
        if (!NakedPair(pairs[--pairCount])) return false;
      } else {
        return true;
      }
    }
  }
};

void IncrementalGrid::Clear() {
  for (uint16_t& m : cells) m = uint16_t(kAllDigits);
  for (auto& house : places) {
    for (uint16_t& at : house) at = 0x1FFu;
  }
  open = 81;
}

bool IncrementalGrid::Load(const uint16_t masks[81]) {
  for (auto& house : places) {
    for (uint16_t& at : house) at = 0;
  }
  open = 0;
  bool whole = true;
  for (int x = 0; x < 81; ++x) {
    cells[x] = uint16_t(masks[x] & kAllDigits);
    whole = whole && cells[x] != 0;
    if (!AtMostOne(cells[x])) ++open;
    for (unsigned m = cells[x]; m; m &= m - 1) {
      const int d = Lowest(m);
      for (int kind = 0; kind < 3; ++kind) {
        uint16_t& at = places[kind * 9 + kUnits.house[kind][x]][d];
        at = uint16_t(at | (1u << kUnits.position[kind][x]));
      }
    }
  }
  for (const auto& house : places) {
    for (int d = 1; d <= 9; ++d) whole = whole && house[d] != 0;
  }
  return whole;
}

bool IncrementalGrid::Place(int x, int d, int level) {
  if (x < 0 || x >= 81 || d < 1 || d > 9 || !(cells[x] & (1u << d))) return false;
  Work work(*this, level);
  return work.Keep(x, 1u << d) && work.Run();
}

bool IncrementalGrid::Start(const uint8_t values[81], int level) {
  Clear();
  Work work(*this, level);
  for (int x = 0; x < 81; ++x) {
    const int d = values[x];
    if (d < 1 || d > 9) continue;
    if (!(cells[x] & (1u << d)) || !work.Keep(x, 1u << d)) return false;
  }
  return work.Run();
}

bool IncrementalGrid::Settle(int level) {
  // At a lower level's fixpoint every solved digit has left its peers; what
  // a higher level adds starts from the houses and the two-digit cells.
  Work work(*this, level);
  for (int x = 0; x < 81; ++x) {
    const unsigned m = cells[x];
    if (level >= 3 && !AtMostOne(m) && AtMostOne(m & (m - 1))) work.pairs[work.pairCount++] = uint8_t(x);
  }
  for (uint16_t& digits : work.dirty) digits = uint16_t(kAllDigits);
  work.dirtyHouses = kAllHouses;
  return work.Run();
}
