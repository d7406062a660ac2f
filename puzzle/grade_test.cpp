// Grading past level 3: the search's verdicts, and the levels above 3 filed
// as solving each level afresh would file them, without moving a grade of
// levels 1 to 3.
#include <gtest/gtest.h>

#include <string>

#include "fuzz/solution_counter.h"
#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "puzzle/random.h"
#include "puzzle/test_files.h"

namespace {

// Puzzles of one solution that level 3 does not complete (from Solo's
// Extreme and Unreasonable and qqwing's expert).
const char* const kPastLevelThree[] = {
    "........75.1.26..8.8..41......18....2...7...5.....5...8...13.....76..54.34....8.1",
    "..6...5..31......2.7.3...6....52..8...7...4...4..69....9...3.2.4......91..8...3..",
    ".8.2.15..61..9......5..3.91..71...3..2.9....8....78.1.97..2....3.8....7..........",
};
// Several solutions, and none, where level 3 stops short without seeing it.
const char kSeveral[] = "1.9..65..82..9......5....2.....5.3.125.....977.4.6.....7....9......7..64..28..7.5";
const char kNone[] = "4.9..65..82..9......5....2.....5.3.125.....977.4.6.....1....9......7..64..28..7.5";

// The lowest level from 1 up whose solve from scratch completes the board;
// a contradiction met on the way drops it.
int Afresh(const Board& b) {
  for (int level = 1; level <= kHighestGradeLevel; ++level) {
    bool complete = false;
    if (!b.TrySolveAtLevel(level, &complete)) return kGradeContradiction;
    if (complete) return level;
  }
  return kGradeUnfinished;
}

TEST(GradeAtAnyLevelTest, PuzzlesPastLevelThreeGetTheLowestLevelThatCompletesThem) {
  for (const char* line : kPastLevelThree) {
    const Board puzzle = BoardFromLine(line);
    ASSERT_EQ(GradePuzzle(puzzle), kGradeUnfinished) << line;
    const int grade = GradeAtAnyLevel(puzzle);
    EXPECT_GE(grade, 4) << line;
    EXPECT_LE(grade, kHighestGradeLevel) << line;
    EXPECT_EQ(grade, Afresh(puzzle)) << line;
    EXPECT_EQ(BoardLine(puzzle), BoardLine(BoardFromLine(line))) << "the puzzle is not changed";
  }
}

TEST(GradeAtAnyLevelTest, SeveralSolutionsOrNoneAreToldApartFromAHardPuzzle) {
  EXPECT_EQ(GradeAtAnyLevel(BoardFromLine(kSeveral)), kGradeSeveral);
  EXPECT_EQ(GradeAtAnyLevel(BoardFromLine(kNone)), kGradeContradiction);
  EXPECT_EQ(GradeAtAnyLevel(Board()), kGradeSeveral);
  // GradePuzzle, the stock's rule, never looks past level 3.
  EXPECT_EQ(GradePuzzle(BoardFromLine(kSeveral)), kGradeUnfinished);
  EXPECT_EQ(GradePuzzle(BoardFromLine(kNone)), kGradeUnfinished);
  // A given cell without a digit completes at no level, whatever the search.
  Board emptyGiven = BoardFromLine(kPastLevelThree[0]);
  emptyGiven.SetGiven(0, 0);
  EXPECT_EQ(GradeAtAnyLevel(emptyGiven), kGradeUnfinished);
}

// Boards made at levels 1 to 3, then damaged: digits added (maybe clashing)
// or taken away. Up to level 3 the grade is GradePuzzle's; past it, the
// count of an independent search decides, and a puzzle of one solution gets
// the level that solving each level afresh gives.
TEST(GradeAtAnyLevelTest, AgreesWithGradePuzzleAndWithAnIndependentCount) {
  SeedRand(2525);
  int several = 0, none = 0, unique = 0;
  for (int trial = 0; trial < 150; ++trial) {
    Board puzzle;
    puzzle.Generate(1 + trial % 3, 1 + trial % 3, Board::kWaitedForAttempts);
    for (int k = 0; k < trial % 4; ++k) {
      puzzle.SetValue(RandomIndexBelow(9), RandomIndexBelow(9), 1 + RandomIndexBelow(9));
    }
    const int removed = trial % 3 == 1 ? 1 + RandomIndexBelow(12) : 0;
    for (int k = 0; k < removed; ++k) puzzle.CellAt(RandomIndexBelow(9), RandomIndexBelow(9)).Clear();
    const int low = GradePuzzle(puzzle);
    const int grade = GradeAtAnyLevel(puzzle);
    if (low != kGradeUnfinished) {
      ASSERT_EQ(grade, low) << BoardLine(puzzle);
      continue;
    }
    SolutionCounter counter(puzzle);
    const int solutions = counter.Count(2, 2000000);
    ASSERT_TRUE(counter.Finished()) << BoardLine(puzzle);
    if (solutions == 0) {
      ASSERT_EQ(grade, kGradeContradiction) << BoardLine(puzzle);
      ++none;
    } else if (solutions > 1) {
      ASSERT_EQ(grade, kGradeSeveral) << BoardLine(puzzle);
      ++several;
    } else {
      ASSERT_EQ(grade, Afresh(puzzle)) << BoardLine(puzzle);
      ++unique;
    }
  }
  EXPECT_GT(several, 0);
  EXPECT_GT(none + unique, 0);
}

}  // namespace
