// Every solve the generator settles incrementally, held against a solve from
// scratch of the same digits: the same verdict and the same write-back, cell
// by cell, along whole generation chains at every level.
#include <gtest/gtest.h>

#include "puzzle/board.h"
#include "puzzle/generation_check.h"
#include "puzzle/random.h"

namespace {

class FromScratch : public GenerationObserver {
 public:
  void OnSolve(const uint8_t values[81], int level, const uint16_t masks[81]) override {
    ++solves;
    Board board;
    for (int x = 0; x < 81; ++x) {
      if (values[x]) board.SetValue(x / 9, x % 9, values[x]);
    }
    ASSERT_TRUE(board.SolveAtLevel(level)) << "solve " << solves << " at level " << level;
    for (int x = 0; x < 81; ++x) {
      const int row = x / 9, col = x % 9;
      unsigned written = 0;
      if (board.HasValue(row, col)) {
        written = 1u << board.GetValue(row, col);
      } else {
        for (int d = 1; d <= 9; ++d) written |= board.HasCandidate(row, col, d) ? 1u << d : 0;
      }
      ASSERT_EQ(written, masks[x]) << "solve " << solves << " at level " << level << ", cell " << x;
    }
  }

  long solves = 0;
};

void CheckChains(int minLevel, int maxLevel, int attempts, int seeds, int count) {
  FromScratch check;
  for (int seed = 1; seed <= seeds; ++seed) {
    SeedRand(unsigned(seed));
    Board board;
    for (int i = 0; i < count && !::testing::Test::HasFatalFailure(); ++i) {
      GenerateObserved(board, minLevel, maxLevel, attempts, &check);
    }
  }
  // Nearly every solve of a chain is incremental.
  EXPECT_GT(check.solves, 1000);
}

TEST(GenerationChainTest, LevelOneSolvesMatchSolvesFromScratch) {
  CheckChains(1, 1, Board::kWaitedForAttempts, 30, 5);
}
TEST(GenerationChainTest, LevelTwoSolvesMatchSolvesFromScratch) {
  CheckChains(2, 2, Board::kWaitedForAttempts, 4, 2);
}
TEST(GenerationChainTest, LevelThreeSolvesMatchSolvesFromScratch) {
  CheckChains(3, 3, Board::kWaitedForAttempts, 3, 1);
}
TEST(GenerationChainTest, BackgroundSolvesMatchSolvesFromScratch) { CheckChains(1, 3, 1000, 20, 3); }

}  // namespace
