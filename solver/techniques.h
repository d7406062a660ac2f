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
  unsigned Bits(int x) const { return cells[x]; }
  bool Single(int x) const { return (cells[x] & (cells[x] - 1)) == 0; }
  int First(int x) const { return LowestDigit(cells[x]); }
  bool Remove(int x, int d) {
    const unsigned bit = 1u << d;
    if (!(cells[x] & bit)) return true;
    if (Single(x)) return false;
    cells[x] = uint16_t(cells[x] & ~bit);
    return true;
  }
  void SetSingle(int x, int d) { cells[x] = uint16_t(1u << d); }
  void SetPair(int x, int a, int b) { cells[x] = uint16_t((1u << a) | (1u << b)); }
};

template <class Store>
bool IsConsistentIn(const Store& s) {
  for (int i = 0; i < 9; ++i) {
    unsigned row = 0, column = 0, box = 0;
    const int r0 = i / 3 * 3, c0 = i % 3 * 3;
    for (int j = 0; j < 9; ++j) {
      const int a = i * 9 + j, b = j * 9 + i, x = (r0 + j / 3) * 9 + c0 + j % 3;
      if (s.Single(a)) {
        if (row & s.Bits(a)) return false;
        row |= s.Bits(a);
      }
      if (s.Single(b)) {
        if (column & s.Bits(b)) return false;
        column |= s.Bits(b);
      }
      if (s.Single(x)) {
        if (box & s.Bits(x)) return false;
        box |= s.Bits(x);
      }
    }
  }
  return true;
}

// Value elimination: every solved peer's digit leaves the cell. The walk
// goes on once the cell is down to one digit, so a further peer with that
// digit is a refused removal.
template <class Store>
bool EliminateValuesIn(Store& s, int kind) {
  const int length = HouseLength(kind);
  for (int x = 0; x < 81; ++x) {
    if (s.Single(x)) continue;
    const uint8_t* list = kHouses.lists[kind][x];
    for (int k = 0; k < length; ++k) {
      const int y = list[k];
      if (s.Single(y) && !s.Remove(x, s.First(y))) return false;
    }
  }
  return true;
}

// Hidden single: the smallest candidate that no peer holds is placed.
template <class Store>
bool HiddenSingleIn(Store& s, int kind) {
  const int length = HouseLength(kind);
  for (int x = 0; x < 81; ++x) {
    if (s.Single(x)) continue;
    const uint8_t* list = kHouses.lists[kind][x];
    unsigned held = 0;
    for (int k = 0; k < length; ++k) held |= s.Bits(list[k]);
    const unsigned alone = s.Bits(x) & ~held;
    if (alone) s.SetSingle(x, LowestDigit(alone));
  }
  return true;
}

// Pointing and claiming: each candidate that no cell of `mustLack` holds is
// removed from the unsolved cells of `clear`. The two lists are disjoint and
// neither holds the visited cell, so what `mustLack` holds stays fixed while
// one cell is handled.
template <class Store>
bool ConfineIn(Store& s, int mustLack, int clear) {
  const int lackLength = HouseLength(mustLack);
  const int clearLength = HouseLength(clear);
  for (int x = 0; x < 81; ++x) {
    if (s.Single(x)) continue;
    const uint8_t* lack = kHouses.lists[mustLack][x];
    const uint8_t* target = kHouses.lists[clear][x];
    unsigned held = 0;
    for (int k = 0; k < lackLength; ++k) held |= s.Bits(lack[k]);
    for (unsigned confined = s.Bits(x) & ~held; confined; confined &= confined - 1) {
      const int d = LowestDigit(confined);
      for (int k = 0; k < clearLength; ++k) {
        const int y = target[k];
        if (!s.Single(y) && !s.Remove(y, d)) return false;
      }
    }
  }
  return true;
}

// Naked pair: a cell {a, b} and its first partner {a, b} in the list take a
// and b from every other cell of the list, solved ones included.
template <class Store>
bool NakedPairIn(Store& s, int kind) {
  const int length = HouseLength(kind);
  for (int x = 0; x < 81; ++x) {
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
bool HiddenPairIn(Store& s, int kind) {
  const int length = HouseLength(kind);
  for (int x = 0; x < 81; ++x) {
    if (s.Single(x)) continue;
    const uint8_t* list = kHouses.lists[kind][x];
    const unsigned bits = s.Bits(x);
    // Bit-parallel counts of the unsolved cells (x included) holding each
    // digit: once, twice, three or more times; and the digits placed.
    unsigned once = bits, twice = 0, more = 0, placed = 0;
    for (int k = 0; k < length; ++k) {
      const int y = list[k];
      const unsigned m = s.Bits(y);
      if (s.Single(y)) {
        placed |= m;
      } else {
        more |= twice & m;
        twice |= once & m;
        once |= m;
      }
    }
    const unsigned two = twice & ~more & ~placed;
    for (unsigned first = bits & two; first; first &= first - 1) {
      const int d1 = LowestDigit(first);
      const unsigned later = bits & two & ~((2u << d1) - 1);
      bool done = false;
      for (int k = 0; k < length; ++k) {
        const unsigned m = s.Bits(list[k]);
        if (!(m & (1u << d1))) continue;
        const unsigned match = later & m;
        if (match) {
          s.SetPair(x, d1, LowestDigit(match));
          done = true;
          break;
        }
      }
      if (done) break;
    }
  }
  return true;
}

}  // namespace solver_detail
