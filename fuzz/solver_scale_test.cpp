// The generator and the grading checked at volume: puzzles made with fixed
// seeds at each level, and in the background thread's mode, each held
// against an independent backtracking count of its solutions.
#include <gtest/gtest.h>

#include <string>

#include "fuzz/solution_counter.h"
#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "puzzle/random.h"

namespace {

// How many puzzles each case makes. The full run (a few thousand a level;
// levels 2 and 3 take 50 to 150 ms a puzzle) takes several minutes and is
// labelled slow; the normal run keeps to some seconds.
#ifdef KUBRI_SCALE_FULL
#define SCALE_SUITE SolverScaleFull
constexpr int kLevelOneCount = 3000;
constexpr int kLevelTwoCount = 2000;
constexpr int kLevelThreeCount = 2000;
constexpr int kBackgroundCount = 3000;
#else
#define SCALE_SUITE SolverScale
constexpr int kLevelOneCount = 1000;
constexpr int kLevelTwoCount = 100;
constexpr int kLevelThreeCount = 60;
constexpr int kBackgroundCount = 1000;
#endif

// Generous enough for any puzzle the generator makes; a search that runs out
// of it is reported as a failure rather than silently passed.
constexpr long kNodeBudget = 20000000;

std::string Line(const Board& board) {
  std::string line;
  for (int i = 0; i < 81; ++i) {
    const int v = board.GetValue(i / 9, i % 9);
    line += v ? char('0' + v) : '.';
  }
  return line;
}

struct Tally {
  int made = 0;
  int failed = 0;
  int byLevel[4] = {0, 0, 0, 0};
};

// Every value given, no marks, no empty given.
void CheckGivensOnly(const Board& board) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      ASSERT_EQ(board.HasValue(row, col), board.IsGiven(row, col))
          << "cell " << row << "," << col;
      ASSERT_EQ(board.CandidateCount(row, col), 0) << "cell " << row << "," << col;
    }
  }
}

// Checks one generated puzzle; `exactLevel` is the level it must grade as,
// or 0 when any level the generator's maxLevel admits will do.
void CheckPuzzle(const Board& puzzle, int exactLevel, int maxLevel, Tally& tally) {
  const std::string line = Line(puzzle);
  SCOPED_TRACE(line);

  CheckGivensOnly(puzzle);
  if (::testing::Test::HasFatalFailure()) return;

  const int grade = GradePuzzle(puzzle);
  if (exactLevel != 0) {
    ASSERT_EQ(grade, exactLevel);
  } else {
    ASSERT_GE(grade, 1);
    ASSERT_LE(grade, maxLevel);
  }
  ++tally.byLevel[grade];

  SolutionCounter counter(puzzle);
  const int solutions = counter.Count(2, kNodeBudget);
  ASSERT_TRUE(counter.Finished()) << "search budget exhausted";
  ASSERT_EQ(solutions, 1);

  Board completed;
  completed.CopyDroppingMarksUnderValues(&puzzle);
  ASSERT_TRUE(completed.SolveAtLevel(3));
  ASSERT_TRUE(completed.IsComplete());
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      ASSERT_EQ(completed.GetValue(row, col), counter.First(row, col))
          << "cell " << row << "," << col;
    }
  }
  ASSERT_TRUE(completed.IsCorrect());
}

// Makes `count` puzzles from one seed, one after another on one random
// sequence, as the tool's generate --count does.
Tally MakeAndCheck(unsigned seed, int minLevel, int maxLevel, int attempts, int count,
                   bool exact) {
  Tally tally;
  SeedRand(seed);
  Board board;
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE("puzzle " + std::to_string(i) + " of seed " + std::to_string(seed));
    if (!board.Generate(minLevel, maxLevel, attempts)) {
      // A failed generation leaves the givens gathered since its last start
      // over, and nothing else.
      ++tally.failed;
      CheckGivensOnly(board);
      if (::testing::Test::HasFatalFailure()) break;
      continue;
    }
    ++tally.made;
    CheckPuzzle(board, exact ? maxLevel : 0, maxLevel, tally);
    if (::testing::Test::HasFatalFailure()) break;
  }
  return tally;
}

// With the attempts of a puzzle the player waits for
// (Board::kWaitedForAttempts) a generation of an exact level nearly always
// succeeds; a level-3 one now and then uses them all up (about one in a few
// thousand), which the callers accept and the game survives.
void RunExactLevel(int level, int count) {
  for (unsigned seed : {1u, 20261208u}) {
    const Tally tally = MakeAndCheck(seed, level, level, Board::kWaitedForAttempts, count / 2, true);
    EXPECT_LE(tally.failed * 100, tally.made + tally.failed) << "more than 1% failed";
    EXPECT_EQ(tally.byLevel[level], tally.made);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(SCALE_SUITE, LevelOnePuzzlesGradeAsLevelOneAndHaveOneSolution) {
  RunExactLevel(1, kLevelOneCount);
}

TEST(SCALE_SUITE, LevelTwoPuzzlesGradeAsLevelTwoAndHaveOneSolution) {
  RunExactLevel(2, kLevelTwoCount);
}

TEST(SCALE_SUITE, LevelThreePuzzlesGradeAsLevelThreeAndHaveOneSolution) {
  RunExactLevel(3, kLevelThreeCount);
}

// The background thread's step: levels 1 to 3, 1000 attempts, whatever level
// the result grades as. Failures are allowed (the step then stores nothing),
// but most steps must give a puzzle.
TEST(SCALE_SUITE, BackgroundPuzzlesGradeWithinTheirRangeAndHaveOneSolution) {
  int made = 0, failed = 0;
  for (unsigned seed : {1u, 977u}) {
    const Tally tally = MakeAndCheck(seed, 1, 3, 1000, kBackgroundCount / 2, false);
    made += tally.made;
    failed += tally.failed;
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(made, failed);
}

}  // namespace
