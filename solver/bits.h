// Digit bits: a set of digits held as bits 1..9 of a word (bit d for digit d),
// the helpers every solver uses on such words and on its bit boards, and the
// load of a board's digits into one such word per cell.
#pragma once

#include <cstdint>

// Every digit 1..9: what a cell with nothing known holds.
constexpr unsigned kAllDigits = 0x3FEu;

// The index of the lowest bit set; `bits` must not be 0.
inline int LowestBit(uint32_t bits) { return __builtin_ctz(bits); }
// The number of bits set.
inline int BitCount(uint32_t bits) { return __builtin_popcount(bits); }
// `bits` without its lowest bit.
constexpr uint32_t WithoutLowestBit(uint32_t bits) { return bits & (bits - 1); }
// No bit or one bit set: a cell's word with one digit left is solved.
constexpr bool AtMostOneBit(uint32_t bits) { return WithoutLowestBit(bits) == 0; }
// Exactly two bits set: a cell down to a pair.
constexpr bool TwoBits(uint32_t bits) {
  return !AtMostOneBit(bits) && AtMostOneBit(WithoutLowestBit(bits));
}
// The index of the k-th lowest bit set (k from 0); `bits` must have more
// than k bits set.
inline int NthBit(uint32_t bits, int k) {
  for (; k > 0; --k) bits = WithoutLowestBit(bits);
  return LowestBit(bits);
}

// The digits of `values` (0 empty, 1..9; row-major) as words: {d} for a
// digit, every digit for an empty cell (and for anything outside 1..9).
// `Digit` is any integer type.
template <class Digit>
void LoadDigitMasks(const Digit values[81], uint16_t masks[81]) {
  for (int x = 0; x < 81; ++x) {
    const int d = values[x];
    masks[x] = uint16_t(d >= 1 && d <= 9 ? 1u << d : kAllDigits);
  }
}
