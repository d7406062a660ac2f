// The incremental grid: removals that keep per-house digit places, and the
// re-checks they trigger, run from work lists until nothing is left to do.
#include "solver/incremental_grid.h"

#include "solver/bits.h"
#include "solver/houses.h"
#include "solver/techniques.h"

namespace {

// Houses are numbered rows 0..8, columns 9..17, boxes 18..26 (house kind
// times 9 plus the house's own number); within a house a cell's position is
// the one kUnits gives.
constexpr int HouseKindOf(int house) { return house / 9; }
constexpr int HouseNumber(int house) { return house % 9; }

// The levels at which the re-checks of each kind start.
constexpr int kConfineLevel = FamilyLevel(DeductionFamily::kPointing);
constexpr int kPairLevel = FamilyLevel(DeductionFamily::kNakedPair);
static_assert(kConfineLevel == FamilyLevel(DeductionFamily::kClaiming),
              "pointing and claiming start together");
static_assert(kPairLevel == FamilyLevel(DeductionFamily::kHiddenPair), "both pairs start together");

// The three houses of every cell, and the cell's position bit in each.
struct CellHouses {
  uint8_t house[81][kHouseKinds];
  uint16_t bit[81][kHouseKinds];
};

constexpr CellHouses BuildCellHouses() {
  CellHouses t{};
  for (int x = 0; x < 81; ++x) {
    for (int kind = kRow; kind < kHouseKinds; ++kind) {
      t.house[x][kind] = uint8_t(kind * 9 + kUnits.house[kind][x]);
      t.bit[x][kind] = uint16_t(1u << kUnits.position[kind][x]);
    }
  }
  return t;
}

constexpr CellHouses kCellHouses = BuildCellHouses();

// For every set of positions in a house: how many there are, and the
// segment holding all of them, if one does (3 when none). Segments of a line
// are its three stretches through a box, positions 0-2, 3-5 and 6-8; a box
// has those as its rows and positions {k, k + 3, k + 6} as its columns.
struct PlaceSets {
  uint8_t count[512];
  uint8_t stretch[512];
  uint8_t column[512];
};

constexpr PlaceSets BuildPlaceSets() {
  PlaceSets t{};
  for (unsigned at = 0; at < 512; ++at) {
    int n = 0;
    for (unsigned m = at; m; m = WithoutLowestBit(m)) ++n;
    t.count[at] = uint8_t(n);
    t.stretch[at] = t.column[at] = 3;
    for (int k = 0; k < 3 && at; ++k) {
      if (!(at & ~(7u << (3 * k)))) t.stretch[at] = uint8_t(k);
      if (!(at & ~(0x49u << k))) t.column[at] = uint8_t(k);
    }
  }
  return t;
}

constexpr PlaceSets kPlaceSets = BuildPlaceSets();

}  // namespace

// One run of re-checks. Every list is bounded by the 81 cells: a cell becomes
// solved once and drops to two candidates once.
struct IncrementalGrid::Work {
  Work(IncrementalGrid& grid, int admitted)
      : g(grid), level(admitted), watched(admitted >= kConfineLevel ? 3 : 1) {}

  IncrementalGrid& g;
  const int level;
  const unsigned watched;  // the most places of a digit worth a look
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
    for (int k = kRow; k < kHouseKinds; ++k) {
      const int h = kCellHouses.house[x][k];
      uint16_t& at = g.places[h][d];
      at = uint16_t(at & ~kCellHouses.bit[x][k]);
      if (!at) return false;
      // Only a digit with at most three places left (one at level 1) can
      // lead anywhere: a single, a confined segment or a pair.
      if (kPlaceSets.count[at] <= watched) {
        dirty[h] = uint16_t(dirty[h] | bit);
        dirtyHouses |= 1u << h;
      }
    }
    if (AtMostOneBit(m)) {
      --g.open;
      solved[solvedCount++] = uint8_t(x);
    } else if (level >= kPairLevel && TwoBits(m)) {
      pairs[pairCount++] = uint8_t(x);
    }
    return true;
  }

  // Narrows cell x to the digits of `keep`.
  bool Keep(int x, unsigned keep) {
    for (unsigned gone = g.cells[x] & ~keep; gone; gone &= gone - 1) {
      if (!Remove(x, LowestBit(gone))) return false;
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

  // Digit d of house h (of the kind given, with the cells `members`), whose
  // places changed.
  bool Check(int h, int kind, const uint8_t* members, int d) {
    const unsigned at = g.places[h][d];
    if (AtMostOneBit(at)) {
      // One place left: a hidden single (or d is placed there already).
      return Keep(members[LowestBit(at)], 1u << d);
    }
    if (kPlaceSets.count[at] > watched) return true;
    // Confined to one segment, d leaves the rest of the other house through
    // that segment: pointing for a box, claiming for a row or column.
    const int stretch = kPlaceSets.stretch[at];
    if (stretch < 3) {
      const int list = kind == kBox ? kRowOutsideBox : kind == kRow ? kBoxOutsideRow : kBoxOutsideColumn;
      if (!RemoveFromList(list, members[3 * stretch], d)) return false;
    } else if (kind == kBox && kPlaceSets.column[at] < 3) {
      if (!RemoveFromList(kColumnOutsideBox, members[kPlaceSets.column[at]], d)) return false;
    }
    if (level >= kPairLevel && kPlaceSets.count[at] == 2) {
      // Two places: a second digit with the same two is a hidden pair.
      for (int e = 1; e <= 9; ++e) {
        if (e == d || g.places[h][e] != at) continue;
        const unsigned pair = (1u << d) | (1u << e);
        return Keep(members[LowestBit(at)], pair) && Keep(members[LowestBit(WithoutLowestBit(at))], pair);
      }
    }
    return true;
  }

  // A cell down to two candidates, and a partner holding the same two in
  // one of its houses: a naked pair.
  bool NakedPair(int x) {
    const unsigned m = g.cells[x];
    if (!TwoBits(m)) return true;
    const int a = LowestBit(m), b = LowestBit(WithoutLowestBit(m));
    for (int kind = kRow; kind < kHouseKinds; ++kind) {
      const uint8_t* members = kUnits.cells[kind][kUnits.house[kind][x]];
      int partner = -1;
      for (int p = 0; p < 9 && partner < 0; ++p) {
        if (members[p] != x && g.cells[members[p]] == m) partner = members[p];
      }
      if (partner < 0) continue;
      for (int p = 0; p < 9; ++p) {
        const int y = members[p];
        if (y == x || y == partner) continue;
        if (!Remove(y, a) || !Remove(y, b)) return false;
      }
    }
    return true;
  }

  bool Run() {
    for (;;) {
      if (solvedCount > 0) {
        // The solved digit leaves the peers that still hold it: the other
        // places of d in the cell's row, column and box (the box's read
        // after the row and column have let go of theirs).
        const int x = solved[--solvedCount];
        const int d = LowestBit(g.cells[x]);
        for (int kind = kRow; kind < kHouseKinds; ++kind) {
          const int h = kCellHouses.house[x][kind];
          const uint8_t* members = kUnits.cells[kind][HouseNumber(h)];
          for (unsigned at = g.places[h][d] & ~kCellHouses.bit[x][kind]; at; at &= at - 1) {
            if (!Remove(members[LowestBit(at)], d)) return false;
          }
        }
      } else if (dirtyHouses) {
        const int h = LowestBit(dirtyHouses);
        dirtyHouses &= dirtyHouses - 1;
        unsigned digits = dirty[h];
        dirty[h] = 0;
        const int kind = HouseKindOf(h);
        const uint8_t* members = kUnits.cells[kind][HouseNumber(h)];
        for (; digits; digits &= digits - 1) {
          if (!Check(h, kind, members, LowestBit(digits))) return false;
        }
      } else if (pairCount > 0) {
        if (!NakedPair(pairs[--pairCount])) return false;
      } else {
        return true;
      }
    }
  }
};

IncrementalGrid::IncrementalGrid() { Clear(); }

void IncrementalGrid::Clear() {
  for (uint16_t& m : cells) m = uint16_t(kAllDigits);
  for (auto& house : places) {
    for (uint16_t& at : house) at = 0x1FFu;
  }
  open = 81;
}

bool IncrementalGrid::Load(const uint16_t masks[81]) {
  open = 0;
  unsigned whole = 1;
  for (int x = 0; x < 81; ++x) {
    cells[x] = uint16_t(masks[x] & kAllDigits);
    whole &= cells[x] != 0;
    open += !AtMostOneBit(cells[x]);
  }
  // Each house's places, digit by digit: position p joins the digits its
  // cell holds.
  for (int h = 0; h < 27; ++h) {
    const uint8_t* members = kUnits.cells[HouseKindOf(h)][HouseNumber(h)];
    uint16_t* at = places[h];
    for (int d = 0; d <= 9; ++d) at[d] = 0;
    unsigned held = 0;
    for (int p = 0; p < 9; ++p) {
      const unsigned m = cells[members[p]];
      held |= m;
      for (unsigned bits = m; bits; bits &= bits - 1) {
        at[LowestBit(bits)] = uint16_t(at[LowestBit(bits)] | (1u << p));
      }
    }
    whole &= held == kAllDigits;
  }
  return whole != 0;
}

bool IncrementalGrid::Place(int x, int d, int level) {
  if (level > kHighestPlayLevel) return false;
  if (x < 0 || x >= 81 || d < 1 || d > 9 || !(cells[x] & (1u << d))) return false;
  Work work(*this, level);
  return work.Keep(x, 1u << d) && work.Run();
}

bool IncrementalGrid::Settle(int level) {
  if (level > kHighestPlayLevel) return false;
  // At a lower level's fixpoint every solved digit has left its peers; what
  // a higher level adds starts from the houses and the two-digit cells.
  Work work(*this, level);
  for (int x = 0; x < 81; ++x) {
    if (level >= kPairLevel && TwoBits(cells[x])) work.pairs[work.pairCount++] = uint8_t(x);
  }
  for (int h = 0; h < 27; ++h) {
    for (int d = 1; d <= 9; ++d) {
      if (kPlaceSets.count[places[h][d]] <= work.watched) work.dirty[h] = uint16_t(work.dirty[h] | (1u << d));
    }
    if (work.dirty[h]) work.dirtyHouses |= 1u << h;
  }
  return work.Run();
}
