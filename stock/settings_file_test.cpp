// Tests of the settings file: the size line and its odd variants, the stock
// carried through a save and a load, hostile files, and a failed save that
// must leave the old file as it was.
#include "stock/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "puzzle/grade.h"
#include "stock/stock_test_boards.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace {

class FakeView : public SizeSetting {
 public:
  int GetSizeIndex() const override { return sizeIndex; }
  void SetSizeIndex(int index) override {
    if (index >= 0 && index <= 2) sizeIndex = index;
  }
  void FitWindowToSize() override { ++fits; }

  int sizeIndex = 1;
  int fits = 0;
};

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.IsReady()); }

  std::wstring Path() const { return folder.NativePath("Kubri.dat").wstring(); }

  // Writes the bytes as the settings file and loads it into view and stock.
  void LoadBytes(const std::string& bytes) {
    ASSERT_TRUE(folder.WriteBytes("Kubri.dat", bytes));
    LoadSettingsFile(view, stock, Path().c_str());
  }

  ScratchFolder folder;
  FakeView view;
  PuzzleStock stock;
};

TEST(SettingsFileName, IsRelativeToTheWorkingDirectory) {
#ifdef _WIN32
  EXPECT_EQ(std::wstring(kSettingsFileName), L".\\Kubri.dat");
#else
  EXPECT_EQ(std::wstring(kSettingsFileName), L"Kubri.dat");
#endif
}

TEST(SizeLine, ReadsLikeAtoiButNeverOverflows) {
  EXPECT_EQ(ParseSizeLine("2\n"), 2);
  EXPECT_EQ(ParseSizeLine("  \t+1\r\n"), 1);
  EXPECT_EQ(ParseSizeLine("-1\n"), -1);
  EXPECT_EQ(ParseSizeLine("0012x"), 12);
  EXPECT_EQ(ParseSizeLine("abc"), 0);
  EXPECT_EQ(ParseSizeLine(""), 0);
  EXPECT_EQ(ParseSizeLine("-"), 0);
  EXPECT_EQ(ParseSizeLine("2147483647"), INT_MAX);
  EXPECT_EQ(ParseSizeLine("2147483648"), INT_MAX);
  EXPECT_EQ(ParseSizeLine("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseSizeLine("-2147483649"), INT_MIN);
  EXPECT_EQ(ParseSizeLine(std::string(255, '9').c_str()), INT_MAX);
  EXPECT_EQ(ParseSizeLine(nullptr), 0);
}

TEST_F(SettingsFileTest, MissingFileKeepsTheDefaultsAndLeavesTheWindowAlone) {
  LoadSettingsFile(view, stock, Path().c_str());
  EXPECT_EQ(view.sizeIndex, 1);
  EXPECT_EQ(view.fits, 0);
  EXPECT_EQ(TotalCount(stock), 0);
}

TEST_F(SettingsFileTest, SizeTwoAloneGivesSmallAndAnEmptyStock) {
  LoadBytes("2\n");
  EXPECT_EQ(view.sizeIndex, 2);
  EXPECT_EQ(view.fits, 1);
  EXPECT_EQ(TotalCount(stock), 0);
}

TEST_F(SettingsFileTest, SizeLineVariants) {
  struct Variant {
    const char* line;
    int sizeIndex;
  };
  const Variant variants[] = {
      {"0\n", 0},        {"2", 2},           {"2\r\n", 2},      {"  2\n", 2},  {"+2\n", 2},
      {"2 medium\n", 2}, {"letters\n", 0},   {"\n", 0},         {"7\n", 1},    {"-1\n", 1},
      {"3\n", 1},        {"99999999999999999999\n", 1},
  };
  for (const Variant& variant : variants) {
    FakeView fresh;
    PuzzleStock empty;
    ASSERT_TRUE(folder.WriteBytes("Kubri.dat", variant.line));
    LoadSettingsFile(fresh, empty, Path().c_str());
    EXPECT_EQ(fresh.sizeIndex, variant.sizeIndex) << "line \"" << variant.line << "\"";
    EXPECT_EQ(fresh.fits, 1);
  }
}

TEST_F(SettingsFileTest, EmptyFileKeepsTheSizeButStillFitsTheWindow) {
  LoadBytes("");
  EXPECT_EQ(view.sizeIndex, 1);
  EXPECT_EQ(view.fits, 1);
  EXPECT_EQ(TotalCount(stock), 0);
}

TEST_F(SettingsFileTest, LettersInsteadOfASizeSelectLargeAndBoardsStillLoad) {
  LoadBytes("large\n" + BoardText(FixturePuzzle(3, 2)));
  EXPECT_EQ(view.sizeIndex, 0);
  EXPECT_EQ(stock.Count(3), 1);
}

TEST_F(SettingsFileTest, SavedStockComesBackInTheSameOrder) {
  AddFixtures(stock, 1, 2);
  AddFixtures(stock, 2, 3);
  AddFixtures(stock, 3, 1);
  view.sizeIndex = 0;
  ASSERT_TRUE(SaveSettingsFile(view, stock, Path().c_str()));

  FakeView loadedView;
  PuzzleStock loaded;
  LoadSettingsFile(loadedView, loaded, Path().c_str());
  EXPECT_EQ(loadedView.sizeIndex, 0);
  for (int level = 1; level <= 3; ++level) {
    ASSERT_EQ(loaded.Count(level), stock.Count(level)) << "level " << level;
    while (stock.Count(level) > 0) {
      Board expected;
      Board actual;
      stock.Take(&expected, level, true);
      loaded.Take(&actual, level, true);
      EXPECT_TRUE(SameGivens(actual, expected)) << "level " << level;
    }
  }
}

TEST_F(SettingsFileTest, SaveWritesTheSizeLineThenEveryBoardOfLevelsOneTwoThree) {
  AddFixtures(stock, 3, 1);
  AddFixtures(stock, 1, 2);
  view.sizeIndex = 2;
  ASSERT_TRUE(SaveSettingsFile(view, stock, Path().c_str()));
  const std::string expected = "2\n" + BoardText(FixturePuzzle(1, 0)) +
                               BoardText(FixturePuzzle(1, 1)) + BoardText(FixturePuzzle(3, 0));
  EXPECT_EQ(folder.ReadText("Kubri.dat"), expected);
  EXPECT_EQ(folder.FileCount(), 1) << "a temporary file was left behind";
}

TEST_F(SettingsFileTest, SaveReplacesAnOlderFile) {
  ASSERT_TRUE(folder.WriteBytes("Kubri.dat", "0\n" + std::string(5000, 'z')));
  ASSERT_TRUE(SaveSettingsFile(view, stock, Path().c_str()));
  EXPECT_EQ(folder.ReadText("Kubri.dat"), "1\n");
}

TEST_F(SettingsFileTest, TwentyFiveLevelOnePuzzlesLoadAsTwentyAndSaveAsTwenty) {
  std::string bytes = "1\n";
  for (int i = 0; i < 25; ++i) bytes += BoardText(FixturePuzzle(1, i));
  LoadBytes(bytes);
  EXPECT_EQ(stock.Count(1), 20);
  ASSERT_TRUE(SaveSettingsFile(view, stock, Path().c_str()));
  std::string expected = "1\n";
  for (int i = 0; i < 20; ++i) expected += BoardText(FixturePuzzle(1, i));
  EXPECT_EQ(folder.ReadText("Kubri.dat"), expected);
}

TEST_F(SettingsFileTest, CutOffLastBoardIsIgnored) {
  const std::string third = BoardText(FixturePuzzle(2, 2));
  LoadBytes("1\n" + BoardText(FixturePuzzle(2, 0)) + BoardText(FixturePuzzle(2, 1)) +
            third.substr(0, third.size() / 2));
  EXPECT_EQ(stock.Count(2), 2);
  Board last;
  stock.Take(&last, 2, false);
  EXPECT_TRUE(SameGivens(last, FixturePuzzle(2, 1)));
}

TEST_F(SettingsFileTest, NeverKeepsMoreThanSixtyPuzzles) {
  std::string bytes = "1\n";
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < kFixturePuzzlesPerLevel; ++i) {
      for (int level = 1; level <= 3; ++level) bytes += BoardText(FixturePuzzle(level, i));
    }
  }
  LoadBytes(bytes);
  for (int level = 1; level <= 3; ++level) EXPECT_EQ(stock.Count(level), 20);
}

TEST_F(SettingsFileTest, TenMegabyteFirstLineIsHarmless) {
  // A size of 2 followed by ten megabytes of spaces: the size line takes the
  // first 255 characters and the rest reads as empty board lines.
  std::string bytes = "2" + std::string(10 * 1024 * 1024, ' ') + "\n";
  bytes += BoardText(FixturePuzzle(1, 0));
  LoadBytes(bytes);
  EXPECT_EQ(view.sizeIndex, 2);
  EXPECT_EQ(view.fits, 1);
  EXPECT_LE(TotalCount(stock), 1);
}

TEST_F(SettingsFileTest, TenMegabyteNumberLeavesTheSizeAlone) {
  LoadBytes(std::string(10 * 1024 * 1024, '2') + "\n");
  EXPECT_EQ(view.sizeIndex, 1);
  EXPECT_EQ(TotalCount(stock), 0);
}

TEST_F(SettingsFileTest, TenMegabytesOfBlankLinesLoadNothingAndQuickly) {
  LoadBytes("0\n" + std::string(10 * 1024 * 1024, '\n'));
  EXPECT_EQ(view.sizeIndex, 0);
  EXPECT_EQ(TotalCount(stock), 0);
}

TEST_F(SettingsFileTest, RandomBytesNeverCrashAndKeepAtMostSixty) {
  unsigned state = 7;
  for (int round = 0; round < 8; ++round) {
    std::string bytes;
    const int length = 1 << (10 + round);
    for (int i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      // Every byte value, with digits and line ends made common enough that
      // lines and board-like rows occur.
      const unsigned pick = (state >> 16) & 0xFF;
      if (pick < 40) {
        bytes += '\n';
      } else if (pick < 140) {
        bytes += static_cast<char>('1' + pick % 9);
      } else {
        bytes += static_cast<char>((state >> 8) & 0xFF);
      }
    }
    FakeView fresh;
    PuzzleStock loaded;
    ASSERT_TRUE(folder.WriteBytes("Kubri.dat", bytes));
    LoadSettingsFile(fresh, loaded, Path().c_str());
    EXPECT_GE(fresh.sizeIndex, 0);
    EXPECT_LE(fresh.sizeIndex, 2);
    for (int level = 1; level <= 3; ++level) EXPECT_LE(loaded.Count(level), 20);
  }
}

TEST_F(SettingsFileTest, NoPathIsRefusedOnBothSides) {
  LoadSettingsFile(view, stock, nullptr);
  EXPECT_EQ(view.fits, 0);
  EXPECT_FALSE(SaveSettingsFile(view, stock, nullptr));
  EXPECT_FALSE(SaveSettingsFile(view, stock, L""));
  EXPECT_EQ(folder.FileCount(), 0);
}

TEST_F(SettingsFileTest, SaveIntoAMissingFolderFailsAndCreatesNothing) {
  const std::wstring path = folder.NativePath("missing").wstring() + L"/Kubri.dat";
  EXPECT_FALSE(SaveSettingsFile(view, stock, path.c_str()));
  EXPECT_EQ(folder.FileCount(), 0);
}

#ifndef _WIN32
// A file size limit makes the writes fail part-way, as a full disk would.
TEST_F(SettingsFileTest, FailedWriteKeepsTheOldFile) {
  const std::string old = "0\n" + BoardText(FixturePuzzle(1, 0));
  ASSERT_TRUE(folder.WriteBytes("Kubri.dat", old));
  for (int level = 1; level <= 3; ++level) AddFixtures(stock, level, 20);

  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 1024;
  void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved_ok = SaveSettingsFile(view, stock, Path().c_str());
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(folder.ReadBytes("Kubri.dat"), old);
  EXPECT_EQ(folder.FileCount(), 1) << "a temporary file was left behind";
}
#else
// Another program holding the old file open keeps it from being replaced.
TEST_F(SettingsFileTest, FailedReplaceKeepsTheOldFile) {
  const std::string old = "0\n" + BoardText(FixturePuzzle(1, 0));
  ASSERT_TRUE(folder.WriteBytes("Kubri.dat", old));
  AddFixtures(stock, 2, 3);
  FILE* held = _wfopen(Path().c_str(), L"r");
  ASSERT_NE(held, nullptr);
  const bool saved_ok = SaveSettingsFile(view, stock, Path().c_str());
  std::fclose(held);

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(folder.ReadBytes("Kubri.dat"), old);
  EXPECT_EQ(folder.FileCount(), 1) << "a temporary file was left behind";
}
#endif

TEST(StartFirstPuzzle, GeneratesALevelOnePuzzleOfGivensOnly) {
  Board current = FixturePuzzle(3, 0);
  current.SetCandidate(0, 0, 1, true);
  StartFirstPuzzle(current);
  EXPECT_EQ(GradePuzzle(current), 1);
  int givens = 0;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      EXPECT_EQ(current.HasValue(r, c), current.IsGiven(r, c));
      EXPECT_EQ(current.CandidateCount(r, c), 0);
      if (current.IsGiven(r, c)) ++givens;
    }
  }
  EXPECT_GT(givens, 16);
}

}  // namespace
