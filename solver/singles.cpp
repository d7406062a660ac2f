// Level 1 on bit boards: placements clear their peers, and every pass looks
// for cells with one candidate and for houses with one place for a digit,
// only in the digits and bands that changed since the last look.
#include "solver/singles.h"

#include "solver/bits.h"

namespace {

constexpr uint32_t kBand = (1u << 27) - 1;
constexpr uint32_t kRowBits = 0x1FFu;  // the nine cells of a band's row 0

// Within a band, bit r * 9 + c stands for row r of the band, column c.
struct BandTables {
  uint32_t inBand[27];  // the peers of a cell inside its own band
  uint32_t column[9];   // a column's three cells in any band
  uint32_t box[3];      // the box of each stack of a band
  uint8_t boxOf[81];    // the box of each cell
};

constexpr BandTables BuildBandTables() {
  BandTables t{};
  for (int c = 0; c < 9; ++c) t.column[c] = (1u << c) | (1u << (c + 9)) | (1u << (c + 18));
  for (int x = 0; x < 81; ++x) t.boxOf[x] = uint8_t(x / 27 * 3 + x % 9 / 3);
  for (int s = 0; s < 3; ++s) t.box[s] = (7u << (3 * s)) | (7u << (9 + 3 * s)) | (7u << (18 + 3 * s));
  for (int b = 0; b < 27; ++b) {
    const int r = b / 9, c = b % 9, s = c / 3;
    t.inBand[b] = ((kRowBits << (9 * r)) | t.box[s] | t.column[c]) & ~(1u << b);
  }
  return t;
}

constexpr BandTables kBands = BuildBandTables();

class Singles {
 public:
  Singles() {
    for (auto& digit : boards) {
      for (uint32_t& band : digit) band = kBand;
    }
  }

  // Digit d (0..8) goes to cell x. False when the cell no longer holds it.
  bool Place(int x, int d) {
    const int band = x / 27, b = x % 27;
    const uint32_t bit = 1u << b;
    if (!(boards[d][band] & bit)) return false;
    for (int e = 0; e < 9; ++e) {
      if (e != d && (boards[e][band] & bit)) {
        boards[e][band] &= ~bit;
        changed[e] |= 1u << band;
      }
    }
    boards[d][band] &= ~kBands.inBand[b];
    const uint32_t column = kBands.column[b % 9];
    for (int other = 0; other < 3; ++other) {
      if (other != band) boards[d][other] &= ~column;
    }
    changed[d] = 7;
    solved[band] |= bit;
    rowsDone[d] |= 1u << (x / 9);
    columnsDone[d] |= 1u << (b % 9);
    boxesDone[d] |= 1u << kBands.boxOf[x];
    return true;
  }

  // Places singles of both kinds until none is left. False on a cell with no
  // candidate, a house with no place for a digit, or a clash.
  bool Run() {
    for (;;) {
      bool placed = false;
      for (int band = 0; band < 3; ++band) {
        uint32_t once = 0, twice = 0;
        for (const auto& digit : boards) {
          twice |= once & digit[band];
          once |= digit[band];
        }
        if (once != kBand) return false;
        for (uint32_t single = once & ~twice & ~solved[band]; single; single &= single - 1) {
          const int b = LowestBit(single);
          int d = 0;
          while (d < 9 && !(boards[d][band] & (1u << b))) ++d;
          if (d == 9 || !Place(band * 27 + b, d)) return false;
          placed = true;
        }
      }
      for (int d = 0; d < 9; ++d) {
        if (!changed[d]) continue;
        const uint32_t bands = changed[d];
        changed[d] = 0;
        int found = 0;
        if (!HiddenSingles(d, bands, &found)) return false;
        placed = placed || found > 0;
      }
      if (!placed) return true;
    }
  }

  void Write(uint16_t masks[81]) const {
    for (int x = 0; x < 81; ++x) masks[x] = 0;
    for (int d = 0; d < 9; ++d) {
      for (int band = 0; band < 3; ++band) {
        for (uint32_t bits = boards[d][band]; bits; bits &= bits - 1) {
          masks[band * 27 + LowestBit(bits)] = uint16_t(masks[band * 27 + LowestBit(bits)] | (2u << d));
        }
      }
    }
  }

 private:
  // The rows and boxes of the changed bands, and every column, for digit d.
  bool HiddenSingles(int d, uint32_t bands, int* found) {
    const uint32_t* board = boards[d];  // read afresh after every placement
    // Columns: count every column's places over the nine rows at once.
    uint32_t once = 0, twice = 0;
    for (int band = 0; band < 3; ++band) {
      for (int r = 0; r < 3; ++r) {
        const uint32_t row = (board[band] >> (9 * r)) & kRowBits;
        twice |= once & row;
        once |= row;
      }
    }
    if (once != kRowBits) return false;
    for (uint32_t single = once & ~twice & ~columnsDone[d]; single; single &= single - 1) {
      const int c = LowestBit(single);
      for (int band = 0; band < 3; ++band) {
        const uint32_t cell = board[band] & kBands.column[c];
        if (cell && !(solved[band] & cell)) {
          if (!Place(band * 27 + LowestBit(cell), d)) return false;
          ++*found;
        }
      }
    }
    for (int band = 0; band < 3; ++band) {
      if (!(bands & (1u << band))) continue;
      for (int r = 0; r < 3; ++r) {
        if (rowsDone[d] & (1u << (band * 3 + r))) continue;
        const uint32_t row = boards[d][band] & (kRowBits << (9 * r));
        if (!row) return false;
        if (AtMostOneBit(row)) {
          if (!Place(band * 27 + LowestBit(row), d)) return false;
          ++*found;
        }
      }
      for (int s = 0; s < 3; ++s) {
        if (boxesDone[d] & (1u << (band * 3 + s))) continue;
        const uint32_t box = boards[d][band] & kBands.box[s];
        if (!box) return false;
        if (AtMostOneBit(box)) {
          if (!Place(band * 27 + LowestBit(box), d)) return false;
          ++*found;
        }
      }
    }
    return true;
  }

  uint32_t boards[9][3];    // per digit 1..9 and band: the cells holding it
  uint32_t solved[3] = {};  // per band: the cells placed
  uint32_t changed[9] = {}; // per digit: the bands whose board changed
  // Per digit, the rows, columns and boxes where it is placed: each has that
  // one place for good, and no single is looked for there.
  uint32_t rowsDone[9] = {}, columnsDone[9] = {}, boxesDone[9] = {};
};

}  // namespace

bool SolveSingles(const uint8_t values[81], uint16_t masks[81]) {
  Singles singles;
  for (int x = 0; x < 81; ++x) {
    const int d = values[x];
    if (d >= 1 && d <= 9 && !singles.Place(x, d - 1)) return false;
  }
  if (!singles.Run()) return false;
  singles.Write(masks);
  return true;
}
