// The sixteen techniques and the grid-wide checks, written once over a cell
// store so that the same steps run on the grid's candidate sets and, inside
// SolverGrid::Solve, on a compact bit-mask copy of them. A store offers:
//   unsigned Bits(x)        the digits of cell x as bits 1..9
//   bool Single(x)          one digit left
//   int First(x)            the smallest digit
//   bool Remove(x, d)       DigitSet::Remove
//   void SetSingle(x, d), SetPair(x, a, b)
// Candidates are visited in ascending order, which is the slot order of the
// sets, so both stores take exactly the same steps.
#pragma once

#include <cstdint>

#include "solver/digit_set.h"
#include "solver/houses.h"

namespace solver_detail {

inline int LowestDigit(unsigned bits) { return __builtin_ctz(bits); }

// The grid's own sets.
struct SetStore {
  DigitSet* cells;
  unsigned Bits(int x) const { return cells[x].Mask(); }
  bool Single(int x) const { return cells[x].IsSingle(); }
  int First(int x) const { return cells[x].Get(0); }
  bool Remove(int x, int d) { return cells[x].Remove(d); }
  void SetSingle(int x, int d) { cells[x].SetSingle(d); }
  void SetPair(int x, int a, int b) { cells[x].SetPair(a, b); }
};

// Bits 1..9 of a 16-bit word per cell; never zero, like a set.
struct MaskStore {
  uint16_t* cells;
  int changes = 0;  // every change made through the store
  unsigned Bits(int x) const { return cells[x]; }
  bool Single(int x) const { return (cells[x] & (cells[x] - 1)) == 0; }
  int First(int x) const { return LowestDigit(cells[x]); }
  bool Remove(int x, int d) {
    const unsigned bit = 1u << d;
    if (!(cells[x] & bit)) return true;
    if (Single(x)) return false;
    cells[x] = uint16_t(cells[x] & ~bit);
    ++changes;
    return true;
  }
  void SetSingle(int x, int d) {
    changes += cells[x] != (1u << d);
    cells[x] = uint16_t(1u << d);
  }
  void SetPair(int x, int a, int b) {
    const uint16_t pair = uint16_t((1u << a) | (1u << b));
    changes += cells[x] != pair;
    cells[x] = pair;
  }
};

template <class Store>
bool IsConsistentIn(const Store& s) {
  unsigned solved[81];
  for (int x = 0; x < 81; ++x) solved[x] = s.Single(x) ? s.Bits(x) : 0;
  unsigned clash = 0;
  for (int kind = 0; kind < 3; ++kind) {
    for (int h = 0; h < 9; ++h) {
      unsigned seen = 0;
      for (int p = 0; p < 9; ++p) {
        const unsigned m = solved[kUnits.cells[kind][h][p]];
        clash |= seen & m;
        seen |= m;
      }
    }
  }
  return clash == 0;
}

// The digits placed in every house, kept from pass to pass so that the
// consistency check at the start of a pass looks only at the cells solved
// since the last one. Solved cells never change, so this gives the same
// answer as checking every house afresh.
struct PlacedDigits {
  unsigned house[3][9] = {};

  // Gathers every solved cell; false when two share a house and a digit.
  template <class Store>
  bool AddAll(const Store& s) {
    bool consistent = true;
    for (int x = 0; x < 81; ++x) {
      if (s.Single(x)) consistent = Add(s, x) && consistent;
    }
    return consistent;
  }

  // Adds solved cell x; false when its digit is already placed in one of
  // its houses.
  template <class Store>
  bool Add(const Store& s, int x) {
    const unsigned bit = s.Bits(x);
    bool clash = false;
    for (int kind = 0; kind < 3; ++kind) {
      unsigned& placed = house[kind][kUnits.house[kind][x]];
      clash = clash || (placed & bit);
      placed |= bit;
    }
    return !clash;
  }
};

// The cells to visit: every cell that was unsolved when the pass (or the
// technique) began, in row-major order. A solved cell never changes again, so
// the cells left out are exactly those whose step would do nothing.
struct OpenCells {
  uint8_t cells[81];
  int count = 0;

  template <class Store>
  void Gather(const Store& s) {
    count = 0;
    for (int x = 0; x < 81; ++x) {
      if (!s.Single(x)) cells[count++] = uint8_t(x);
    }
  }
};

// Value elimination: every solved peer's digit leaves the cell. The walk
// goes on once the cell is down to one digit, so a further peer with that
// digit is a refused removal.
template <class Store>
bool EliminateValuesIn(Store& s, const OpenCells& open, int kind, PlacedDigits& placed) {
  const int length = HouseLength(kind);
  // `placed` holds the digits placed in every house. A cell's step changes
  // only that cell, so its solved peers are the solved cells of its house;
  // a cell that ends its step solved joins its three houses at once.
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    if (s.Single(x)) continue;
    const unsigned inHouse = placed.house[kind][kUnits.house[kind][x]];
    const unsigned bits = s.Bits(x);
    if (!(bits & inHouse)) continue;
    if (bits & ~inHouse) {
      // Removing every placed digit leaves what the walk would leave.
      for (unsigned gone = bits & inHouse; gone; gone &= gone - 1) s.Remove(x, LowestDigit(gone));
    } else {
      // Nothing would be left: the walk meets a refused removal. Replay it
      // step by step for the exact state it stops in.
      const uint8_t* list = kHouses.lists[kind][x];
      for (int k = 0; k < length; ++k) {
        const int y = list[k];
        if (s.Single(y) && !s.Remove(x, s.First(y))) return false;
      }
    }
    if (s.Single(x)) placed.Add(s, x);
  }
  return true;
}

// Hidden single: the smallest candidate that no peer holds is placed. A
// house holds the digits of its cells solved before the pass (`fixed`) and
// of its open cells: those visited before the cell as they are now, those
// after it as they were when the technique began (only the visited cell
// changes in a step).
template <class Store>
bool HiddenSingleIn(Store& s, const OpenCells& open, int kind, const PlacedDigits& fixed) {
  unsigned after[81];
  unsigned gathered[9] = {};
  for (int i = open.count - 1; i >= 0; --i) {
    const int x = open.cells[i];
    const int h = kUnits.house[kind][x];
    after[i] = gathered[h];
    gathered[h] |= s.Bits(x);
  }
  unsigned before[9] = {};
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    const int h = kUnits.house[kind][x];
    if (!s.Single(x)) {
      const unsigned held = fixed.house[kind][h] | before[h] | after[i];
      const unsigned alone = s.Bits(x) & ~held;
      if (alone) s.SetSingle(x, LowestDigit(alone));
    }
    before[h] |= s.Bits(x);
  }
  return true;
}

// Pointing and claiming: each candidate that no cell of `mustLack` holds is
// removed from the unsolved cells of `clear`. The two lists are disjoint and
// neither holds the visited cell, so what `mustLack` holds stays fixed while
// one cell is handled.
template <class Store>
bool ConfineIn(Store& s, const OpenCells& open, int mustLack, int clear) {
  const int clearLength = HouseLength(clear);
  // Both lists are two segments of one kind: row segments for the row
  // members, column segments for the column members (the checked list and
  // the cleared list alike). What each segment
  // holds is gathered once and gathered again when a removal touches it.
  const bool rows = mustLack == kRowOutsideBox || mustLack == kBoxOutsideRow;
  const uint8_t(*segmentCells)[3] = rows ? kSegments.rowCells : kSegments.columnCells;
  const uint8_t* segmentOf = rows ? kSegments.rowOf : kSegments.columnOf;
  unsigned held[27];
  for (int g = 0; g < 27; ++g) {
    held[g] = s.Bits(segmentCells[g][0]) | s.Bits(segmentCells[g][1]) | s.Bits(segmentCells[g][2]);
  }
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    if (s.Single(x)) continue;
    const uint8_t* lack = kSegments.of[mustLack][x];
    const uint8_t* reach = kSegments.of[clear][x];
    const uint8_t* target = kHouses.lists[clear][x];
    // Confined digits that the cleared list does not hold leave nothing to
    // remove there; only the others are walked.
    unsigned confined = s.Bits(x) & ~(held[lack[0]] | held[lack[1]]) &
                        (held[reach[0]] | held[reach[1]]);
    for (; confined; confined &= confined - 1) {
      const int d = LowestDigit(confined);
      for (int k = 0; k < clearLength; ++k) {
        const int y = target[k];
        if (s.Single(y) || !(s.Bits(y) & (1u << d))) continue;
        if (!s.Remove(y, d)) return false;
        const int g = segmentOf[y];
        held[g] = s.Bits(segmentCells[g][0]) | s.Bits(segmentCells[g][1]) | s.Bits(segmentCells[g][2]);
      }
    }
  }
  return true;
}

// Naked pair: a cell {a, b} and its first partner {a, b} in the list take a
// and b from every other cell of the list, solved ones included.
template <class Store>
bool NakedPairIn(Store& s, const OpenCells& open, int kind) {
  const int length = HouseLength(kind);
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    if (s.Single(x)) continue;
    const unsigned bits = s.Bits(x);
    const unsigned rest = bits & (bits - 1);  // without the smallest digit
    if (rest & (rest - 1)) continue;          // three digits or more
    const int a = LowestDigit(bits);
    const int b = LowestDigit(bits & (bits - 1));
    const uint8_t* list = kHouses.lists[kind][x];
    int partner = -1;
    for (int k = 0; k < length; ++k) {
      if (s.Bits(list[k]) == bits) {
        partner = k;
        break;
      }
    }
    if (partner < 0) continue;
    for (int k = 0; k < length; ++k) {
      if (k == partner) continue;
      const int y = list[k];
      if (!s.Remove(y, a) || !s.Remove(y, b)) return false;
    }
  }
  return true;
}

// Hidden pair: the first two candidates d1 < d2 of the cell that are placed
// nowhere in the house and open in exactly one other cell, the same one,
// become the cell's only candidates.
template <class Store>
bool HiddenPairIn(Store& s, const OpenCells& open, int kind) {
  const int length = HouseLength(kind);
  // Per house, the digits placed nowhere in it and open in exactly two of
  // its cells: the digits whose place count is 2, the same for every cell
  // of the house. Counted bit-parallel (once, twice, three times or more)
  // and counted again for a house whose cell was reduced.
  unsigned two[9];
  auto count = [&](int h) {
    unsigned once = 0, twice = 0, more = 0, placed = 0;
    for (int p = 0; p < 9; ++p) {
      const int y = kUnits.cells[kind][h][p];
      const unsigned m = s.Bits(y);
      if (s.Single(y)) {
        placed |= m;
      } else {
        more |= twice & m;
        twice |= once & m;
        once |= m;
      }
    }
    two[h] = twice & ~more & ~placed;
  };
  for (int h = 0; h < 9; ++h) count(h);
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    if (s.Single(x)) continue;
    const int h = kUnits.house[kind][x];
    const unsigned bits = s.Bits(x);
    const unsigned candidates = bits & two[h];
    if (!(candidates & (candidates - 1))) continue;  // a pair needs two such digits
    const uint8_t* list = kHouses.lists[kind][x];
    bool done = false;
    for (unsigned first = candidates; first && !done; first &= first - 1) {
      const int d1 = LowestDigit(first);
      const unsigned later = candidates & ~((2u << d1) - 1);
      // The one other cell where d1 is open (it is placed nowhere).
      for (int k = 0; k < length; ++k) {
        const unsigned m = s.Bits(list[k]);
        if (!(m & (1u << d1))) continue;
        const unsigned match = later & m;
        if (match) {
          s.SetPair(x, d1, LowestDigit(match));
          count(h);
          done = true;
        }
        break;
      }
    }
  }
  return true;
}

}  // namespace solver_detail
