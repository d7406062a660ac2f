// The incremental grid against solves from scratch: placing digits one at a
// time reaches the from-scratch state whenever it claims to, and it declines
// exactly the cases whose outcome depends on the order of the work.
#include <gtest/gtest.h>

#include <cstdint>

#include "solver/bits.h"
#include "solver/incremental_grid.h"
#include "solver/solver_grid.h"
#include "solver/test_lcg.h"

namespace {

constexpr uint16_t kAll = kAllDigits;

// Random digits placed one by one at each level, each placement held against
// a solve from scratch of every digit placed so far.
TEST(IncrementalGridTest, PlacingDigitsOneByOneMatchesSolvingFromScratch) {
  int matched = 0, declined = 0;
  for (int level = 1; level <= 3; ++level) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
      Lcg rng{seed * 7919u + uint32_t(level)};
      IncrementalGrid grid;
      grid.Clear();
      uint16_t loaded[81];
      for (uint16_t& m : loaded) m = kAll;
      while (!grid.IsComplete()) {
        const int x = rng.Below(81);
        if (grid.IsSolved(x)) continue;
        const uint16_t m = grid.Mask(x);
        int d = 1 + rng.Below(9);
        while (!(m & (1u << d))) d = d % 9 + 1;
        loaded[x] = uint16_t(1u << d);
        uint16_t scratch[81];
        for (int y = 0; y < 81; ++y) scratch[y] = loaded[y];
        const bool verdict = SolverGrid::SolveCandidates(scratch, level);
        if (!grid.Place(x, d, level)) {
          ++declined;
          break;
        }
        ASSERT_TRUE(verdict) << "level " << level << " seed " << seed;
        for (int y = 0; y < 81; ++y) ASSERT_EQ(grid.Mask(y), scratch[y]) << "cell " << y;
        ++matched;
      }
    }
  }
  EXPECT_GT(matched, 5000);
  EXPECT_GT(declined, 100);
}

// A grid never used holds what a solve of an empty board leaves.
TEST(IncrementalGridTest, NewGridHoldsEveryDigitInEveryCell) {
  IncrementalGrid grid;
  for (int x = 0; x < 81; ++x) ASSERT_EQ(grid.Mask(x), kAll) << "cell " << x;
  EXPECT_FALSE(grid.IsComplete());
  ASSERT_TRUE(grid.Place(40, 7, 3));
  for (int x : {36, 44, 4, 76, 30, 50}) EXPECT_FALSE(grid.Mask(x) & (1u << 7)) << "peer " << x;
}

TEST(IncrementalGridTest, DeclinesADigitTheCellNoLongerHolds) {
  IncrementalGrid grid;
  grid.Clear();
  ASSERT_TRUE(grid.Place(0, 5, 3));
  EXPECT_FALSE(grid.Place(1, 5, 3));   // a peer of the 5: a contradiction
  grid.Clear();
  EXPECT_FALSE(grid.Place(0, 0, 3));
  EXPECT_FALSE(grid.Place(81, 1, 3));
}

// Row 0 where 1 and 2 can both only go in its first cell. A solve from
// scratch places the 1 there and reports no contradiction, though the 2 has
// lost its last place: an outcome of the order of the work, which the
// incremental grid declines instead of copying.
TEST(IncrementalGridTest, DeclinesAHiddenSingleThatLeavesAnotherDigitNoPlace) {
  uint16_t masks[81];
  for (int x = 0; x < 81; ++x) masks[x] = x >= 1 && x <= 8 ? uint16_t(kAll & ~0x6u) : kAll;
  IncrementalGrid grid;
  ASSERT_TRUE(grid.Load(masks));
  EXPECT_FALSE(grid.Settle(1));
  EXPECT_TRUE(SolverGrid::SolveCandidates(masks, 1));
  EXPECT_EQ(masks[0], 1u << 1);
}

TEST(IncrementalGridTest, LoadRefusesAStateWithADigitMissingFromAHouse) {
  uint16_t masks[81];
  for (uint16_t& m : masks) m = kAll;
  for (int x = 0; x < 9; ++x) masks[x] = uint16_t(kAll & ~(1u << 4));
  IncrementalGrid grid;
  EXPECT_FALSE(grid.Load(masks));
  masks[3] = kAll;
  EXPECT_TRUE(grid.Load(masks));
}

}  // namespace
