// Level 1 on bit boards against the solve from scratch, on random digits
// from sparse to contradictory: wherever it answers, the same candidates.
#include <gtest/gtest.h>

#include <cstdint>

#include "solver/singles.h"
#include "solver/solver_grid.h"
#include "solver/test_lcg.h"
#include "solver/test_puzzles.h"

namespace {

TEST(SinglesTest, AnswersAsTheSolveFromScratchDoes) {
  // One solution grid, relabelled and thinned out at random, plus stray
  // digits that may clash.
  const char* const grid = kSolution;
  Lcg rng{12345};
  auto below = [&](int n) { return rng.Below(n); };
  int answered = 0, complete = 0, declined = 0;
  for (int trial = 0; trial < 4000; ++trial) {
    int relabel[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int i = 9; i > 1; --i) {
      const int j = 1 + below(i);
      const int t = relabel[i];
      relabel[i] = relabel[j];
      relabel[j] = t;
    }
    const int kept = 17 + below(40);
    uint8_t values[81] = {};
    for (int k = 0; k < kept; ++k) {
      const int x = below(81);
      values[x] = uint8_t(relabel[grid[x] - '0']);
    }
    for (int stray = trial % 4; stray > 0; --stray) values[below(81)] = uint8_t(1 + below(9));
    uint16_t fast[81], scratch[81];
    const bool verdict = SolverGrid::SolveDigits(values, 1, scratch);
    if (!SolveSingles(values, fast)) {
      // Digits of one solution never meet a contradiction, so they are
      // never declined.
      ASSERT_NE(trial % 4, 0) << "trial " << trial;
      ++declined;
      continue;
    }
    ++answered;
    ASSERT_TRUE(verdict) << "trial " << trial;
    bool full = true;
    for (int x = 0; x < 81; ++x) {
      ASSERT_EQ(fast[x], scratch[x]) << "trial " << trial << ", cell " << x;
      full = full && !(fast[x] & (fast[x] - 1));
    }
    complete += full;
  }
  EXPECT_GT(answered, 1000);
  EXPECT_GT(complete, 100);
  EXPECT_GT(declined, 200);
}

}  // namespace
