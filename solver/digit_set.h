// The candidate set of one solver cell: a count and nine digit slots in
// ascending order, never empty; one digit left means the cell is solved.
#pragma once

#include <cstdint>

#include "solver/bits.h"

struct DigitLayout;

class DigitSet {
 public:
  // As FillAll.
  DigitSet() = default;

  // Digits 1..9.
  void FillAll() {
    count = 9;
    for (int i = 0; i < 9; ++i) digits[i] = i + 1;
  }
  // {d}: the solved state.
  void SetSingle(int d) {
    count = 1;
    digits[0] = d;
    for (int i = 1; i < 9; ++i) digits[i] = 0;
  }
  // {a, b}; callers pass a < b, which keeps the slots in ascending order.
  void SetPair(int a, int b) {
    count = 2;
    digits[0] = a;
    digits[1] = b;
    for (int i = 2; i < 9; ++i) digits[i] = 0;
  }
  // Takes d out. True when d was absent or removed; false, with the set left
  // as it was, when d is the one digit left (a set is never emptied).
  bool Remove(int d) {
    int k = 0;
    while (k < count && digits[k] != d) ++k;
    if (k == count) return true;
    if (count <= 1) return false;
    for (; k + 1 < count; ++k) digits[k] = digits[k + 1];
    --count;
    digits[count] = 0;
    return true;
  }
  // Slot i, or 0 outside 0..count - 1.
  int Get(int i) const { return (i >= 0 && i < count && i < 9) ? digits[i] : 0; }
  int Count() const { return count; }
  bool Contains(int d) const {
    for (int i = 0; i < count; ++i) {
      if (digits[i] == d) return true;
    }
    return false;
  }
  bool IsSingle() const { return count == 1; }
  void Assign(const DigitSet& other) {
    count = other.count;
    for (int i = 0; i < 9; ++i) digits[i] = i < count ? other.digits[i] : 0;
  }
  bool Equals(const DigitSet& other) const {
    if (count != other.count) return false;
    for (int i = 0; i < count; ++i) {
      if (digits[i] != other.digits[i]) return false;
    }
    return true;
  }
  // Loads the set whose digits are the bits 1..9 of `mask` (at least one):
  // the solver's compact copy coming back.
  void LoadMask(unsigned mask);
  // Bit d set for every digit held (bits 1..9).
  unsigned Mask() const {
    if (count == 9) return kAllDigits;
    if (count == 1) return 1u << digits[0];
    unsigned mask = 0;
    for (int i = 0; i < count; ++i) mask |= 1u << digits[i];
    return mask;
  }

 private:
  int32_t count = 9;
  int32_t digits[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};  // slots count..8 hold 0
};

// The slots of every set of digits, by its bits 1..9 shifted down by one.
struct DigitLayout {
  uint8_t count[512];
  uint8_t digits[512][9];
};

constexpr DigitLayout BuildDigitLayout() {
  DigitLayout t{};
  for (unsigned m = 0; m < 512; ++m) {
    int n = 0;
    for (int d = 1; d <= 9; ++d) {
      if (m & (1u << (d - 1))) t.digits[m][n++] = uint8_t(d);
    }
    t.count[m] = uint8_t(n);
  }
  return t;
}

inline constexpr DigitLayout kDigitLayout = BuildDigitLayout();

inline void DigitSet::LoadMask(unsigned mask) {
  const unsigned index = (mask >> 1) & 511u;
  count = kDigitLayout.count[index];
  for (int i = 0; i < 9; ++i) digits[i] = kDigitLayout.digits[index][i];
}
