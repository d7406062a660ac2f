// The random sequence, the bridge to the solver, the generator, grading and
// the answer check.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "puzzle/random.h"
#include "puzzle/test_files.h"
#include "solver/test_puzzles.h"

namespace {

TEST(RandTest, FollowsTheClassicSequenceFromStateOne) {
  SeedRand(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  for (int value : expected) EXPECT_EQ(Rand(), value);
  SeedRand(1);
  EXPECT_EQ(Rand(), 41);
  SeedRand(0);
  EXPECT_EQ(Rand(), 38);
}

TEST(RandTest, IndexBelowScalesOneDraw) {
  for (int n : {1, 2, 9, 10, 32768, 100000}) {
    SeedRand(77);
    const int raw = Rand();
    SeedRand(77);
    const int index = RandomIndexBelow(n);
    EXPECT_EQ(index, int(static_cast<long long>(raw) * n / 32768));
    EXPECT_GE(index, 0);
    EXPECT_LT(index, n);
  }
  SeedRand(5);
  EXPECT_EQ(RandomIndexBelow(0), 0);
  EXPECT_EQ(RandomIndexBelow(-4), 0);
  SeedRand(5);
  const int first = Rand();
  SeedRand(5);
  RandomIndexBelow(0);
  EXPECT_EQ(Rand(), first);  // no draw was used
}

TEST(PickRandomCandidateTest, PicksAmongTheMarks) {
  Cell seven, none, many;
  seven.SetCandidate(7);
  EXPECT_EQ(seven.PickRandomCandidate(), 7);
  SeedRand(3);
  const int next = Rand();
  SeedRand(3);
  EXPECT_EQ(none.PickRandomCandidate(), 0);
  EXPECT_EQ(Rand(), next);
  for (int d : {2, 4, 8}) many.SetCandidate(d);
  SeedRand(3);
  const int expected[] = {2, 4, 8};
  const int pick = expected[RandomIndexBelow(3)];
  SeedRand(3);
  EXPECT_EQ(many.PickRandomCandidate(), pick);
}

TEST(SolveAtLevelTest, UndecidedCellsGetTheirCandidatesAndDecidedCellsKeepMarks) {
  // Level 1 stalls on this puzzle: find a cell it decides and one it cannot.
  Board reference = BoardFromLine(kLevel3);
  ASSERT_TRUE(reference.SolveAtLevel(1));
  ASSERT_FALSE(reference.IsComplete());
  int decided = -1, undecided = -1;
  for (int i = 0; i < 81; ++i) {
    const int r = i / 9, c = i % 9;
    if (reference.HasValue(r, c) && !reference.IsGiven(r, c) && decided < 0) decided = i;
    if (!reference.HasValue(r, c) && undecided < 0) undecided = i;
  }
  ASSERT_GE(decided, 0);
  ASSERT_GE(undecided, 0);
  Board b = BoardFromLine(kLevel3);
  for (int d = 1; d <= 9; ++d) {
    b.SetCandidate(decided / 9, decided % 9, d, d % 2 == 1);
    b.SetCandidate(undecided / 9, undecided % 9, d,
                   !reference.HasCandidate(undecided / 9, undecided % 9, d));
  }
  EXPECT_TRUE(b.SolveAtLevel(1));
  EXPECT_EQ(b.GetValue(decided / 9, decided % 9), reference.GetValue(decided / 9, decided % 9));
  EXPECT_EQ(b.CandidateCount(decided / 9, decided % 9), 5);  // its marks stay
  for (int d = 1; d <= 9; ++d) {
    EXPECT_EQ(b.HasCandidate(undecided / 9, undecided % 9, d),
              reference.HasCandidate(undecided / 9, undecided % 9, d));
  }
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      if (!b.HasValue(r, c)) {
        EXPECT_GE(b.CandidateCount(r, c), 2) << r << "," << c;
      }
    }
  }
}

TEST(SolveAtLevelTest, WrongPlayerDigitActsLikeAGivenAndTheStateIsStillWritten) {
  Board b = BoardFromLine(kLevel1);
  b.SetValue(0, 0, 3);  // 3 stands in (0,1) already
  EXPECT_FALSE(b.SolveAtLevel(3));
  EXPECT_EQ(b.GetValue(0, 0), 3);
  Board solved = BoardFromLine(kLevel1);
  solved.SetValue(0, 0, 6);  // 6 is right there
  ASSERT_TRUE(solved.SolveAtLevel(3));
  b = BoardFromLine(kLevel1);
  b.SetValue(0, 0, 5);  // not the solution, clashes nowhere at first
  const bool verdict = b.SolveAtLevel(3);
  EXPECT_FALSE(verdict);
  EXPECT_NE(BoardLine(b), BoardLine(BoardFromLine(kLevel1)));  // the solver's state came back
}

TEST(SolveAtLevelTest, GivensStayGivenAndUnmarked) {
  Board b = BoardFromLine(kLevel2);
  ASSERT_TRUE(b.SolveAtLevel(2));
  ASSERT_TRUE(b.IsComplete());
  EXPECT_TRUE(b.ObeysRules());
  int givens = 0;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) givens += b.IsGiven(r, c);
  }
  int digits = 0;
  for (const char* p = kLevel2; *p; ++p) digits += *p != '.';
  EXPECT_EQ(givens, digits);
}

// A full valid grid with random cells emptied: the solver may stall but
// must never call it a contradiction, and whatever it fills is the grid.
TEST(SolverSoundnessTest, SolvablePuzzlesAreNeverContradictions) {
  const Board solution = BoardFromLine(kSolution);
  SeedRand(2024);
  for (int trial = 0; trial < 300; ++trial) {
    Board puzzle = BoardFromLine(kSolution);
    const int emptied = 30 + RandomIndexBelow(51);
    for (int k = 0; k < emptied; ++k) puzzle.CellAt(RandomIndexBelow(9), RandomIndexBelow(9)).Clear();
    for (int level = 1; level <= 3; ++level) {
      Board work;
      work.CopyDroppingMarksUnderValues(&puzzle);
      ASSERT_TRUE(work.SolveAtLevel(level)) << BoardLine(puzzle) << " level " << level;
      for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
          if (work.HasValue(r, c)) {
            ASSERT_EQ(work.GetValue(r, c), solution.GetValue(r, c)) << BoardLine(puzzle);
          } else {
            ASSERT_TRUE(work.HasCandidate(r, c, solution.GetValue(r, c))) << BoardLine(puzzle);
          }
        }
      }
    }
  }
}

TEST(SolverSoundnessTest, HigherLevelNeverDecidesLess) {
  for (const char* puzzle : {kLevel1, kLevel2, kLevel3}) {
    int decided[4] = {};
    for (int level = 1; level <= 3; ++level) {
      Board b = BoardFromLine(puzzle);
      ASSERT_TRUE(b.SolveAtLevel(level));
      for (int i = 0; i < 81; ++i) decided[level] += b.HasValue(i / 9, i % 9);
    }
    EXPECT_LE(decided[1], decided[2]);
    EXPECT_LE(decided[2], decided[3]);
    EXPECT_EQ(decided[3], 81);
  }
}

// The look-ahead solve used by grading and by the generator's probes answers
// exactly what solving a copy answers, and leaves the board alone.
TEST(SolverSoundnessTest, LookAheadAnswersAsSolvingACopyWould) {
  SeedRand(99);
  for (int trial = 0; trial < 200; ++trial) {
    Board puzzle = BoardFromLine(kSolution);
    const int emptied = 30 + RandomIndexBelow(51);
    for (int k = 0; k < emptied; ++k) puzzle.CellAt(RandomIndexBelow(9), RandomIndexBelow(9)).Clear();
    if (trial % 4 == 0) puzzle.SetValue(RandomIndexBelow(9), RandomIndexBelow(9), 1 + RandomIndexBelow(9));
    if (trial % 5 == 0) puzzle.SetGiven(RandomIndexBelow(9), RandomIndexBelow(9));  // maybe an empty given
    const std::string before = BoardLine(puzzle);
    for (int level = 1; level <= 3; ++level) {
      Board copy;
      copy.CopyDroppingMarksUnderValues(&puzzle);
      const bool verdict = copy.SolveAtLevel(level);
      bool complete = !copy.IsComplete();
      ASSERT_EQ(puzzle.TrySolveAtLevel(level, &complete), verdict) << before;
      ASSERT_EQ(complete, copy.IsComplete()) << before;
      ASSERT_EQ(puzzle.TrySolveAtLevel(level, nullptr), verdict);
    }
    ASSERT_EQ(BoardLine(puzzle), before);
  }
}

TEST(GradeTest, PuzzlesAreFiledUnderTheLowestLevelThatFinishesThem) {
  EXPECT_EQ(GradePuzzle(BoardFromLine(kLevel1)), 1);
  EXPECT_EQ(GradePuzzle(BoardFromLine(kLevel2)), 2);
  EXPECT_EQ(GradePuzzle(BoardFromLine(kLevel3)), 3);
  EXPECT_EQ(GradePuzzle(Board()), kGradeUnfinished);
  Board clash = BoardFromLine(kLevel1);
  clash.SetValue(0, 0, 3);
  EXPECT_EQ(GradePuzzle(clash), kGradeContradiction);
  // Hidden singles fill this grid in one pass with a digit twice in a
  // house: without the final check it would pass as a level-1 puzzle.
  EXPECT_EQ(GradePuzzle(BoardFromLine(kClashAfterPass)), kGradeContradiction);
  const Board puzzle = BoardFromLine(kLevel2);
  GradePuzzle(puzzle);
  EXPECT_EQ(BoardLine(puzzle), BoardLine(BoardFromLine(kLevel2)));
}

// Grading goes on from each level's state to the next; it must file every
// board where solving each level afresh files it, damaged boards included.
TEST(GradeTest, FilesBoardsAsSolvingEachLevelAfreshWould) {
  auto afresh = [](const Board& b) {
    for (int level = 1; level <= 3; ++level) {
      bool complete = false;
      if (!b.TrySolveAtLevel(level, &complete)) return int(kGradeContradiction);
      if (complete) return level;
    }
    return int(kGradeUnfinished);
  };
  SeedRand(4242);
  int filed[6] = {};  // by grade + 2: unfinished, contradiction, -, 1, 2, 3
  for (int trial = 0; trial < 300; ++trial) {
    Board puzzle;
    puzzle.Generate(1 + trial % 3, 1 + trial % 3, Board::kWaitedForAttempts);
    const int extra = trial % 6;  // 0: as made; more: random digits, maybe clashing
    for (int k = 0; k < extra; ++k) {
      const int r = RandomIndexBelow(9), c = RandomIndexBelow(9);
      puzzle.SetValue(r, c, 1 + RandomIndexBelow(9));
      if (k % 2) puzzle.SetGiven(r, c);
    }
    const int removed = trial % 5 == 4 ? 1 + RandomIndexBelow(20) : 0;
    for (int k = 0; k < removed; ++k) puzzle.CellAt(RandomIndexBelow(9), RandomIndexBelow(9)).Clear();
    if (trial % 50 == 7) puzzle.SetGiven(RandomIndexBelow(9), RandomIndexBelow(9));  // maybe an empty given
    const int grade = GradePuzzle(puzzle);
    ASSERT_EQ(grade, afresh(puzzle)) << BoardLine(puzzle);
    ++filed[grade + 2];
  }
  for (int slot : {0, 1, 3, 4, 5}) EXPECT_GT(filed[slot], 0) << slot;
}

TEST(GenerateTest, NoAttemptsClearsTheBoardAndFails) {
  Board b = BoardFromLine(kLevel1);
  EXPECT_FALSE(b.Generate(1, 1, 0));
  EXPECT_EQ(BoardLine(b), BoardLine(Board()));
}

// Checks a generated puzzle: only givens, and of the level asked.
void ExpectPuzzleOfLevels(const Board& b, int minLevel, int maxLevel) {
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      ASSERT_EQ(b.CandidateCount(r, c), 0);
      ASSERT_EQ(b.HasValue(r, c), b.IsGiven(r, c));
    }
  }
  Board top;
  top.CopyDroppingMarksUnderValues(&b);
  ASSERT_TRUE(top.SolveAtLevel(maxLevel));
  ASSERT_TRUE(top.IsComplete());
  EXPECT_TRUE(top.ObeysRules());
  for (int i = 0; i < 81; ++i) {
    if (b.HasValue(i / 9, i % 9)) {
      ASSERT_EQ(top.GetValue(i / 9, i % 9), b.GetValue(i / 9, i % 9));
    }
  }
  if (minLevel >= 2) {
    Board lower;
    lower.CopyDroppingMarksUnderValues(&b);
    EXPECT_TRUE(lower.SolveAtLevel(minLevel - 1));
    EXPECT_FALSE(lower.IsComplete());
  }
}

TEST(GenerateTest, EachLevelMakesPuzzlesOfExactlyThatLevel) {
  for (int level = 1; level <= 3; ++level) {
    for (unsigned seed : {1u, 2u, 3u}) {
      SeedRand(seed);
      Board b;
      ASSERT_TRUE(b.Generate(level, level, Board::kWaitedForAttempts))
          << "level " << level << " seed " << seed;
      ExpectPuzzleOfLevels(b, level, level);
      EXPECT_EQ(GradePuzzle(b), level);
    }
  }
}

TEST(GenerateTest, RangeOfLevelsKeepsWithinIt) {
  SeedRand(11);
  for (int k = 0; k < 4; ++k) {
    Board b;
    ASSERT_TRUE(b.Generate(2, 3, Board::kWaitedForAttempts));
    ExpectPuzzleOfLevels(b, 2, 3);
    const int grade = GradePuzzle(b);
    EXPECT_TRUE(grade == 2 || grade == 3);
  }
}

TEST(GenerateTest, FailedGenerationLeavesOnlyGivens) {
  SeedRand(4);
  Board b;
  EXPECT_FALSE(b.Generate(3, 3, 5));
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      EXPECT_EQ(b.CandidateCount(r, c), 0);
      EXPECT_EQ(b.HasValue(r, c), b.IsGiven(r, c));
    }
  }
}

TEST(PickRandomOpenCellTest, FullBoardLeavesTheOutputsAlone) {
  Board full = BoardFromLine(kSolution);
  int row = -7, col = -7, digit = -7;
  full.PickRandomOpenCell(&row, &col, &digit);
  EXPECT_EQ(row, -7);
  EXPECT_EQ(col, -7);
  EXPECT_EQ(digit, -7);
  full.PickRandomOpenCell(nullptr, nullptr, nullptr);
}

TEST(PickRandomOpenCellTest, ChoiceIsAnEmptyCellAndOneOfItsMarks) {
  Board b = BoardFromLine(kLevel3);
  b.SolveAtLevel(1);
  SeedRand(8);
  for (int k = 0; k < 20; ++k) {
    int row = -1, col = -1, digit = 0;
    b.PickRandomOpenCell(&row, &col, &digit);
    ASSERT_FALSE(b.HasValue(row, col));
    EXPECT_TRUE(b.HasCandidate(row, col, digit));
  }
  int row = -1;
  b.PickRandomOpenCell(&row, nullptr, nullptr);
  EXPECT_FALSE(b.HasValue(row, 0) && row < 0);
}

// Digest of the puzzles a few fixed seeds give. The same digest natively
// and under Windows proves that one seed yields the same puzzles there.
TEST(GenerateTest, FixedSeedsGiveTheSamePuzzlesEverywhere) {
  uint32_t hash = 2166136261u;
  std::string first;
  for (int level = 1; level <= 3; ++level) {
    for (unsigned seed : {1u, 42u}) {
      SeedRand(seed);
      Board b;
      const bool made = b.Generate(level, level, Board::kWaitedForAttempts);
      const std::string text = BoardLine(b) + (made ? "+" : "-");
      if (first.empty()) first = text;
      for (char ch : text) hash = (hash ^ uint8_t(ch)) * 16777619u;
    }
  }
  EXPECT_EQ(first,
            "4..6.21.3.92.435.......9.7.6.....7.8.1........3.257....86.3.....7...5369........4+");
  EXPECT_EQ(hash, 960096517u);
}

TEST(IsCorrectTest, IncompleteBoardIsNeverCorrect) {
  Board b = BoardFromLine(kSolution);
  b.CellAt(4, 4).Clear();
  EXPECT_FALSE(b.IsCorrect());
}

TEST(IsCorrectTest, FilledGridIsJudgedAgainstTheSolution) {
  Board b = BoardFromLine(kLevel2);
  Board solved;
  solved.CopyDroppingMarksUnderValues(&b);
  ASSERT_TRUE(solved.SolveAtLevel(3));
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) b.SetValue(r, c, solved.GetValue(r, c));
  }
  EXPECT_TRUE(b.IsCorrect());
  int r = 0, c = 0;
  while (b.IsGiven(r, c)) ++c;
  const int right = b.GetValue(r, c);
  b.SetValue(r, c, right % 9 + 1);
  EXPECT_FALSE(b.IsCorrect());
  b.SetValue(r, c, right);
  EXPECT_TRUE(b.IsCorrect());
}

TEST(IsCorrectTest, GridTheSolverCannotFinishIsJudgedByTheRules) {
  // Row 0 alone as givens: level 3 cannot complete it, yet a grid that
  // obeys the rules is a correct answer.
  Board b;
  const Board solution = BoardFromLine(kSolution);
  for (int c = 0; c < 9; ++c) {
    b.SetValue(0, c, solution.GetValue(0, c));
    b.SetGiven(0, c);
  }
  Board check;
  check.CopyDroppingMarksUnderValues(&b);
  ASSERT_TRUE(check.SolveAtLevel(3));
  ASSERT_FALSE(check.IsComplete());
  for (int r = 1; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) b.SetValue(r, c, solution.GetValue(r, c));
  }
  EXPECT_TRUE(b.IsCorrect());
  // Swapping two digits of one row breaks two columns.
  const int a = b.GetValue(5, 0);
  b.SetValue(5, 0, b.GetValue(5, 1));
  b.SetValue(5, 1, a);
  EXPECT_FALSE(b.IsCorrect());
}

TEST(IsCorrectTest, ContradictoryGivensAreNeverCorrect) {
  Board b = BoardFromLine(kSolution);
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) b.SetGiven(r, c);
  }
  EXPECT_TRUE(b.IsCorrect());
  b.ClearGiven(0, 0);
  b.SetValue(0, 0, 3);  // clashes with the given 3 beside it
  EXPECT_FALSE(b.IsCorrect());
}

}  // namespace
