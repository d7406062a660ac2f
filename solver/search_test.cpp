// The search against puzzles whose solution count is known, and against
// candidate words that already contradict.
#include "solver/search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "solver/bits.h"
#include "solver/test_puzzles.h"

namespace {

void Digits(const char* text, uint8_t values[81]) {
  for (int x = 0; x < 81; ++x) values[x] = uint8_t(text[x] >= '1' && text[x] <= '9' ? text[x] - '0' : 0);
}

// A solution that keeps every digit of the puzzle and obeys the rules.
bool Completes(const uint8_t puzzle[81], const uint8_t solution[81]) {
  for (int x = 0; x < 81; ++x) {
    if (solution[x] < 1 || solution[x] > 9) return false;
    if (puzzle[x] && puzzle[x] != solution[x]) return false;
    for (int y = 0; y < x; ++y) {
      const bool row = x / 9 == y / 9, column = x % 9 == y % 9;
      const bool box = x / 27 == y / 27 && x % 9 / 3 == y % 9 / 3;
      if ((row || column || box) && solution[x] == solution[y]) return false;
    }
  }
  return true;
}

TEST(SearchTest, FindsTheOneSolutionOfHardPuzzles) {
  // Each needs far more than pairs; the first has 17 givens.
  const char* const hard[] = {
      "8..........36......7..9.2...5...7.......457.....1...3...1....68..85...1..9....4..",
      "..............3.85..1.2.......5.7.....4...1...9.......5......73..2.1........4...9",
      "..2...8399.3..1....5......12.14........1..27....38....7....59.3..........8.93.5..",
      kLevel3,
  };
  for (const char* text : hard) {
    uint8_t values[81];
    Digits(text, values);
    const SearchOutcome outcome = SearchSolutions(values, 2);
    EXPECT_EQ(outcome.solutions, 1) << text;
    EXPECT_TRUE(Completes(values, outcome.solution)) << text;
  }
  uint8_t full[81];
  Digits(kSolution, full);
  const SearchOutcome outcome = SearchSolutions(full, 2);
  EXPECT_EQ(outcome.solutions, 1);
  EXPECT_EQ(std::memcmp(outcome.solution, full, 81), 0);
}

TEST(SearchTest, CountsSeveralSolutionsUpToTheLimit) {
  uint8_t empty[81] = {};
  EXPECT_EQ(SearchSolutions(empty, 2).solutions, 2);
  EXPECT_EQ(SearchSolutions(empty, 50).solutions, 50);
  EXPECT_EQ(SearchSolutions(empty, 0).solutions, 1);  // a limit below 1 counts one
  // Emptying four cells a b / b a of the solution that lie in two boxes
  // leaves two completions: the digits as they were, and swapped.
  uint8_t values[81];
  Digits(kSolution, values);
  int found = 0;
  for (int r1 = 0; r1 < 9 && !found; ++r1)
    for (int r2 = r1 + 1; r2 < 9 && !found; ++r2)
      for (int c1 = 0; c1 < 9 && !found; ++c1)
        for (int c2 = c1 + 1; c2 < 9 && !found; ++c2) {
          const int a = values[r1 * 9 + c1], b = values[r1 * 9 + c2];
          if (values[r2 * 9 + c1] != b || values[r2 * 9 + c2] != a) continue;
          if (r1 / 3 != r2 / 3 && c1 / 3 != c2 / 3) continue;  // needs two boxes
          uint8_t holed[81];
          std::memcpy(holed, values, 81);
          holed[r1 * 9 + c1] = holed[r1 * 9 + c2] = holed[r2 * 9 + c1] = holed[r2 * 9 + c2] = 0;
          const SearchOutcome outcome = SearchSolutions(holed, 3);
          EXPECT_EQ(outcome.solutions, 2);
          EXPECT_TRUE(Completes(holed, outcome.solution));
          found = 1;
        }
  EXPECT_TRUE(found);
}

TEST(SearchTest, FindsNoSolutionWhereTheDigitsOrCandidatesContradict) {
  uint8_t values[81];
  Digits(kClashAfterPass, values);
  EXPECT_EQ(SearchSolutions(values, 2).solutions, 0);
  uint8_t twice[81] = {};
  twice[0] = twice[8] = 4;  // two 4s in row 1
  EXPECT_EQ(SearchSolutions(twice, 2).solutions, 0);

  uint16_t masks[81];
  Digits(kSolution, values);
  LoadDigitMasks(values, masks);
  EXPECT_EQ(SearchCandidates(masks, 2).solutions, 1);
  masks[40] = 0;  // a cell with no candidate left
  EXPECT_EQ(SearchCandidates(masks, 2).solutions, 0);
  LoadDigitMasks(values, masks);
  masks[40] = uint16_t(kAllDigits & ~masks[40]);  // every digit but its own
  EXPECT_EQ(SearchCandidates(masks, 2).solutions, 0);
  // Bits outside 1..9 are not digits.
  LoadDigitMasks(values, masks);
  masks[40] = uint16_t(masks[40] | 1u | 1u << 12);
  EXPECT_EQ(SearchCandidates(masks, 2).solutions, 1);
}

}  // namespace
