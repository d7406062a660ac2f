// The records rules, their file, their text and the play clock.
#include "stock/play_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "puzzle/test_files.h"

namespace {

TEST(PlayRecordsTest, OnlyLevelPuzzlesSolvedWithoutTheAnswerCountAndOnlyOnce) {
  GameProgress progress;
  progress.hints = 4;  // hints are allowed
  for (int source = kSourceLevel1; source <= kSourceLevel3; ++source) {
    progress.source = source;
    EXPECT_TRUE(CountsAsSolved(progress));
  }
  progress.source = kSourceFile;
  EXPECT_FALSE(CountsAsSolved(progress));
  progress.source = kSourceTyped;
  EXPECT_FALSE(CountsAsSolved(progress));
  progress.source = kSourceLevel2;
  progress.answerUsed = true;
  EXPECT_FALSE(CountsAsSolved(progress));
  progress.answerUsed = false;
  progress.counted = true;
  EXPECT_FALSE(CountsAsSolved(progress));
  // Just outside the levels: no source, and the first past the typed one.
  PlayRecords records;
  progress.counted = false;
  for (int source : {kSourceLevel1 - 1, kSourceTyped + 1}) {
    progress.source = source;
    EXPECT_FALSE(CountsAsSolved(progress)) << source;
    EXPECT_EQ(CountSolve(&records, progress, 7, 30), kSolveNotCounting) << source;
  }
  EXPECT_EQ(records.countedCount, 0);
}

TEST(PlayRecordsTest, BestAverageAndHintsAddUpPerLevel) {
  PlayRecords records;
  AddSolved(&records, 2, 300, 1);
  AddSolved(&records, 2, 100, 0);
  AddSolved(&records, 2, 201, 2);
  AddSolved(&records, 4, 5, 5);  // no such level
  AddSolved(&records, 0, 5, 5);
  AddSolved(&records, -1, 5, 5);
  EXPECT_EQ(records.levels[1].solved, 3);
  EXPECT_EQ(records.levels[1].bestSeconds, 100);
  EXPECT_EQ(records.levels[1].totalSeconds, 601);
  EXPECT_EQ(records.levels[1].hints, 3);
  EXPECT_EQ(records.levels[0].solved, 0);
  const std::wstring text = FormatRecords(records, 3725);
  EXPECT_NE(text.find(L"\u30ec\u30d9\u30eb\uff12\uff1a\u89e3\u3044\u305f\u6570 3\u3001\u6700\u77ed 1:40\u3001"
                      L"\u5e73\u5747 3:20\u3001\u30d2\u30f3\u30c8 3\n"),
            std::wstring::npos);
  EXPECT_NE(text.find(L"\u30ec\u30d9\u30eb\uff11\uff1a\u89e3\u3044\u305f\u6570 0\n"), std::wstring::npos);
  EXPECT_NE(text.find(L"\u3053\u306e\u554f\u984c\uff1a1:02:05"), std::wstring::npos);
}

TEST(PlayRecordsTest, FileRoundTripsAndADamagedOneIsKeptAsideAndReadAsEmpty) {
  ScratchFolder folder;
  const std::wstring path = folder.Path("r.dat");
  PlayRecords records;
  AddSolved(&records, 1, 61, 0);
  AddSolved(&records, 3, 900, 7);
  ASSERT_TRUE(SaveRecordsFile(path.c_str(), records));
  PlayRecords back;
  ASSERT_EQ(LoadRecordsFile(path.c_str(), &back), kGameFileRead);
  EXPECT_EQ(back.levels[0].solved, 1);
  EXPECT_EQ(back.levels[2].hints, 7);
  EXPECT_EQ(back.levels[2].bestSeconds, 900);

  const std::string damaged[] = {
      "Kubri records 3\nlevel 1 solved 0 best 0 total 0 hints 0\nlevel 2 solved 0 best 0 total 0 hints 0\n"
      "level 3 solved 0 best 0 total 0 hints 0\n",
      "Kubri records 1\nlevel 1 solved 0 best 5 total 0 hints 0\nlevel 2 solved 0 best 0 total 0 hints 0\n"
      "level 3 solved 0 best 0 total 0 hints 0\n",
      "Kubri records 1\nlevel 1 solved 2 best 9 total 10 hints 0\nlevel 2 solved 0 best 0 total 0 hints 0\n"
      "level 3 solved 0 best 0 total 0 hints 0\n",
      "Kubri records 1\nlevel 1 solved 1 best 1 total 1 hints 0\n",
      "\x01\x02garbage",
  };
  for (const std::string& bytes : damaged) {
    ASSERT_TRUE(folder.WriteBytes("r.dat", bytes));
    EXPECT_EQ(LoadRecordsFile(path.c_str(), &back), kGameFileBad) << bytes;
    EXPECT_EQ(back.levels[0].solved, 0);
    EXPECT_EQ(folder.ReadBytes("r.dat"), "<missing>");
  }
  EXPECT_EQ(folder.ReadBytes("r.dat.bad"), damaged[0]);
  EXPECT_EQ(folder.ReadBytes("r.dat.bad5"), damaged[4]);
  EXPECT_EQ(LoadRecordsFile(path.c_str(), &back), kGameFileMissing);
}

TEST(PlayRecordsTest, FileTextIsTheVersionThenOneLinePerLevelInOrderThenTheCountedPuzzles) {
  ScratchFolder folder;
  const std::wstring path = folder.Path("r.dat");
  PlayRecords records;
  AddSolved(&records, 1, 61, 0);
  AddSolved(&records, 3, 900, 7);
  NoteCounted(&records, 0xab);
  ASSERT_TRUE(SaveRecordsFile(path.c_str(), records));
  const std::string levels =
      "level 1 solved 1 best 61 total 61 hints 0\nlevel 2 solved 0 best 0 total 0 hints 0\n"
      "level 3 solved 1 best 900 total 900 hints 7\n";
  std::string text = folder.ReadBytes("r.dat");
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());  // a text file on Windows
  EXPECT_EQ(text, "Kubri records 2\n" + levels + "counted 00000000000000ab\n");

  // The level lines are read by their keys, in order, and all of them.
  const std::string swapped =
      "Kubri records 2\nlevel 2 solved 0 best 0 total 0 hints 0\nlevel 1 solved 1 best 61 total 61 hints 0\n"
      "level 3 solved 0 best 0 total 0 hints 0\n";
  PlayRecords back;
  EXPECT_FALSE(ParseRecords(swapped, &back));
  EXPECT_FALSE(ParseRecords("Kubri records 2\n" + levels.substr(0, levels.rfind("level 3")), &back));
  ASSERT_TRUE(ParseRecords("Kubri records 2\n" + levels, &back));
  EXPECT_EQ(back.levels[2].solved, 1);
  EXPECT_EQ(back.countedCount, 0);
}

TEST(PlayRecordsTest, ClockCountsOnlyWhilePlayingAndNeverBackwards) {
  PlayClock clock;
  clock.Reset(10);
  clock.Update(1000, true);
  clock.Update(4500, false);   // 3.5 s played
  clock.Update(90000, true);   // not counted: inactive or minimised
  clock.Update(89000, true);   // the tick count went back: nothing
  clock.Update(90500, true);   // 1.5 s
  EXPECT_EQ(clock.Seconds(), 15);
  clock.Reset(0);
  clock.Update(100000, true);  // from a reset nothing runs until now
  EXPECT_EQ(clock.Seconds(), 0);
}

TEST(PlayRecordsTest, DurationsReadAsMinutesOrHours) {
  EXPECT_EQ(FormatDuration(0), L"0:00");
  EXPECT_EQ(FormatDuration(59), L"0:59");
  EXPECT_EQ(FormatDuration(754), L"12:34");
  EXPECT_EQ(FormatDuration(3600), L"1:00:00");
  EXPECT_EQ(FormatDuration(-5), L"0:00");
}

}  // namespace
