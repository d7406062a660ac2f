// Tests of the stock on one thread: grading into levels, full levels,
// last-in first-out taking, and the board-only stock text.
#include "stock/puzzle_stock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "puzzle/grade.h"
#include "stock/stock_test_boards.h"

namespace {

// Writes the stock into a scratch file and reads that file back into `into`.
void CopyThroughFile(const PuzzleStock& from, PuzzleStock& into, std::string* text) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.IsReady());
  const std::filesystem::path path = folder.NativePath("stock.txt");
  FILE* out = std::fopen(path.string().c_str(), "w");
  ASSERT_NE(out, nullptr);
  from.WriteTo(out);
  ASSERT_EQ(std::fclose(out), 0);
  if (text != nullptr) *text = folder.ReadText("stock.txt");
  FILE* in = std::fopen(path.string().c_str(), "r");
  ASSERT_NE(in, nullptr);
  into.ReadFrom(in);
  std::fclose(in);
}

void ReadFromText(PuzzleStock& into, const std::string& text) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.IsReady());
  ASSERT_TRUE(folder.WriteBytes("stock.txt", text));
  FILE* in = std::fopen(folder.NativePath("stock.txt").string().c_str(), "r");
  ASSERT_NE(in, nullptr);
  into.ReadFrom(in);
  std::fclose(in);
}

TEST(PuzzleStockFixtures, EachFixtureGradesToItsLevel) {
  for (int level = 1; level <= 3; ++level) {
    for (int i = 0; i < kFixturePuzzlesPerLevel; ++i) {
      EXPECT_EQ(GradePuzzle(FixturePuzzle(level, i)), level) << "level " << level << " #" << i;
    }
  }
  EXPECT_EQ(GradePuzzle(ContradictoryPuzzle()), kGradeContradiction);
  EXPECT_EQ(GradePuzzle(UnfinishablePuzzle()), kGradeUnfinished);
}

TEST(PuzzleStockCount, IsZeroOutsideTheThreeLevels) {
  PuzzleStock stock;
  AddFixtures(stock, 1, 2);
  EXPECT_EQ(stock.Count(1), 2);
  EXPECT_EQ(stock.Count(0), 0);
  EXPECT_EQ(stock.Count(4), 0);
  EXPECT_EQ(stock.Count(-1), 0);
}

TEST(PuzzleStockAdd, FilesEachPuzzleUnderTheLowestLevelThatCompletesIt) {
  PuzzleStock stock;
  const Board level2 = FixturePuzzle(2, 0);
  stock.Add(&level2);
  EXPECT_EQ(stock.Count(1), 0);
  EXPECT_EQ(stock.Count(2), 1);
  EXPECT_EQ(stock.Count(3), 0);

  const Board level3 = FixturePuzzle(3, 0);
  stock.Add(&level3);
  const Board level1 = FixturePuzzle(1, 0);
  stock.Add(&level1);
  EXPECT_EQ(stock.Count(1), 1);
  EXPECT_EQ(stock.Count(2), 1);
  EXPECT_EQ(stock.Count(3), 1);

  for (int level = 1; level <= 3; ++level) {
    Board taken;
    stock.Take(&taken, level, false);
    EXPECT_TRUE(SameGivens(taken, FixturePuzzle(level, 0))) << "level " << level;
  }
}

TEST(PuzzleStockAdd, StoresThePuzzleAsPassedNotItsSolution) {
  PuzzleStock stock;
  const Board puzzle = FixturePuzzle(1, 3);
  stock.Add(&puzzle);
  Board taken;
  stock.Take(&taken, 1, true);
  EXPECT_TRUE(SameGivens(taken, puzzle));
  EXPECT_FALSE(taken.IsComplete());
}

TEST(PuzzleStockAdd, DropsContradictoryUnfinishableAndMissingPuzzles) {
  PuzzleStock stock;
  const Board contradictory = ContradictoryPuzzle();
  const Board unfinishable = UnfinishablePuzzle();
  const Board empty;
  stock.Add(&contradictory);
  stock.Add(&unfinishable);
  stock.Add(&empty);
  stock.Add(nullptr);
  EXPECT_EQ(TotalCount(stock), 0);
}

TEST(PuzzleStockAdd, PuzzleOfAFullLevelIsDroppedAlthoughHigherLevelsHaveRoom) {
  PuzzleStock stock;
  AddFixtures(stock, 1, 20);
  ASSERT_EQ(stock.Count(1), 20);
  const Board extra = FixturePuzzle(1, 20);
  stock.Add(&extra);
  EXPECT_EQ(stock.Count(1), 20);
  EXPECT_EQ(stock.Count(2), 0);
  EXPECT_EQ(stock.Count(3), 0);
  Board last;
  stock.Take(&last, 1, false);
  EXPECT_TRUE(SameGivens(last, FixturePuzzle(1, 19)));
}

TEST(PuzzleStockAdd, TwentyFiveOfALevelKeepTheFirstTwentyInOrder) {
  PuzzleStock stock;
  AddFixtures(stock, 2, 25);
  ASSERT_EQ(stock.Count(2), 20);
  for (int i = 19; i >= 0; --i) {
    Board taken;
    stock.Take(&taken, 2, true);
    EXPECT_TRUE(SameGivens(taken, FixturePuzzle(2, i))) << "slot " << i;
  }
  EXPECT_EQ(stock.Count(2), 0);
}

TEST(PuzzleStockTake, RemovingTakesTheLastStoredAndLowersTheCount) {
  PuzzleStock stock;
  AddFixtures(stock, 1, 3);
  Board taken;
  stock.Take(&taken, 1, true);
  EXPECT_TRUE(SameGivens(taken, FixturePuzzle(1, 2)));
  EXPECT_EQ(stock.Count(1), 2);
}

TEST(PuzzleStockTake, WithoutRemoveKeepsTheCountAndReturnsTheSamePuzzle) {
  PuzzleStock stock;
  AddFixtures(stock, 3, 3);
  Board first;
  Board second;
  stock.Take(&first, 3, false);
  stock.Take(&second, 3, false);
  EXPECT_EQ(stock.Count(3), 3);
  EXPECT_TRUE(SameGivens(first, FixturePuzzle(3, 2)));
  EXPECT_TRUE(SameGivens(second, FixturePuzzle(3, 2)));
}

TEST(PuzzleStockTake, OverwritesWhateverTheTargetHeld) {
  PuzzleStock stock;
  AddFixtures(stock, 1, 1);
  Board target = FixturePuzzle(3, 4);
  target.SetCandidate(0, 0, 5, true);
  target.SetCandidate(8, 8, 1, true);
  stock.Take(&target, 1, true);
  EXPECT_TRUE(SameGivens(target, FixturePuzzle(1, 0)));
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) EXPECT_EQ(target.CandidateCount(r, c), 0);
  }
}

TEST(PuzzleStockTake, EmptyOrInvalidLevelAndMissingTargetChangeNothing) {
  PuzzleStock stock;
  AddFixtures(stock, 1, 1);
  const Board before = FixturePuzzle(2, 7);
  Board target = before;
  stock.Take(&target, 2, true);  // empty level
  stock.Take(&target, 0, true);
  stock.Take(&target, 4, true);
  stock.Take(nullptr, 1, true);
  EXPECT_TRUE(SameGivens(target, before));
  EXPECT_EQ(stock.Count(1), 1);
  EXPECT_EQ(stock.Count(2), 0);
}

TEST(PuzzleStockText, WriteListsLevelOneThenTwoThenThreeInSlotOrder) {
  PuzzleStock stock;
  AddFixtures(stock, 3, 1);
  AddFixtures(stock, 2, 2);
  AddFixtures(stock, 1, 2);
  PuzzleStock copy;
  std::string text;
  CopyThroughFile(stock, copy, &text);
  const std::string expected = BoardText(FixturePuzzle(1, 0)) + BoardText(FixturePuzzle(1, 1)) +
                               BoardText(FixturePuzzle(2, 0)) + BoardText(FixturePuzzle(2, 1)) +
                               BoardText(FixturePuzzle(3, 0));
  EXPECT_EQ(text, expected);
}

TEST(PuzzleStockText, LastInFirstOutOrderSurvivesWriteAndRead) {
  PuzzleStock stock;
  AddFixtures(stock, 1, 4);
  AddFixtures(stock, 2, 3);
  AddFixtures(stock, 3, 5);
  PuzzleStock copy;
  CopyThroughFile(stock, copy, nullptr);
  for (int level = 1; level <= 3; ++level) {
    ASSERT_EQ(copy.Count(level), stock.Count(level)) << "level " << level;
    while (stock.Count(level) > 0) {
      Board expected;
      Board actual;
      stock.Take(&expected, level, true);
      copy.Take(&actual, level, true);
      EXPECT_TRUE(SameGivens(actual, expected)) << "level " << level;
    }
  }
}

TEST(PuzzleStockText, CutOffLastBoardIsIgnored) {
  std::string text = BoardText(FixturePuzzle(1, 0)) + BoardText(FixturePuzzle(2, 0));
  const std::string third = BoardText(FixturePuzzle(1, 1));
  // Five of the third board's nine lines.
  size_t cut = 0;
  for (int lines = 0; lines < 5; ++lines) cut = third.find('\n', cut) + 1;
  text += third.substr(0, cut);
  PuzzleStock stock;
  ReadFromText(stock, text);
  EXPECT_EQ(stock.Count(1), 1);
  EXPECT_EQ(stock.Count(2), 1);
  Board kept;
  stock.Take(&kept, 1, false);
  EXPECT_TRUE(SameGivens(kept, FixturePuzzle(1, 0)));
}

TEST(PuzzleStockText, CarriageReturnLineEndsReadLikeLineFeeds) {
  std::string text = BoardText(FixturePuzzle(2, 1)) + BoardText(FixturePuzzle(3, 1));
  std::string crlf;
  for (char ch : text) {
    if (ch == '\n') crlf += '\r';
    crlf += ch;
  }
  PuzzleStock stock;
  ReadFromText(stock, crlf);
  EXPECT_EQ(stock.Count(2), 1);
  EXPECT_EQ(stock.Count(3), 1);
}

TEST(PuzzleStockText, LettersInBoardLinesCountAsEmptyCells) {
  // The fixture with every empty cell written as a letter instead of a space.
  std::string text = BoardText(FixturePuzzle(1, 5));
  for (char& ch : text) {
    if (ch == ' ') ch = 'x';
  }
  // A board of letters only is an empty board, which no level completes.
  const std::string letters(9, 'Q');
  for (int i = 0; i < 9; ++i) text += letters + "\n";
  PuzzleStock stock;
  ReadFromText(stock, text);
  EXPECT_EQ(stock.Count(1), 1);
  EXPECT_EQ(stock.Count(2) + stock.Count(3), 0);
}

TEST(PuzzleStockText, ReadNeverKeepsMoreThanTwentyPerLevel) {
  std::string text;
  for (int i = 0; i < kFixturePuzzlesPerLevel; ++i) {
    for (int level = 1; level <= 3; ++level) text += BoardText(FixturePuzzle(level, i));
  }
  PuzzleStock stock;
  ReadFromText(stock, text);
  for (int level = 1; level <= 3; ++level) {
    EXPECT_EQ(stock.Count(level), 20);
    Board last;
    stock.Take(&last, level, false);
    EXPECT_TRUE(SameGivens(last, FixturePuzzle(level, 19)));
  }
}

TEST(PuzzleStockText, EmptyStreamAndMissingStreamKeepNothing) {
  PuzzleStock stock;
  ReadFromText(stock, "");
  stock.ReadFrom(nullptr);
  stock.WriteTo(nullptr);
  EXPECT_EQ(TotalCount(stock), 0);
}

}  // namespace
