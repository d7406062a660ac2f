// What a crash right after a solve leaves behind is counted exactly once,
// a resumed full board is judged, and held keys do not pile up steps.
#include "session/play_rules.h"

#include <gtest/gtest.h>

#include "puzzle/test_files.h"
#include "stock/play_records.h"

namespace {

const char kGrid[] =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

// The grid with every cell given except the listed ones, which hold the
// grid's digit as the player's entry (or stay empty when `fill` is false).
SavedGame GameOnGrid(std::initializer_list<int> open, bool fill) {
  SavedGame game;
  for (int i = 0; i < 81; ++i) {
    game.board.SetValue(i / 9, i % 9, kGrid[i] - '0');
    game.board.SetGiven(i / 9, i % 9);
  }
  for (int i : open) {
    game.board.ClearGiven(i / 9, i % 9);
    game.board.ClearValue(i / 9, i % 9);
    if (fill) game.board.SetValue(i / 9, i % 9, kGrid[i] - '0');
  }
  game.progress.source = kSourceLevel2;
  return game;
}

// The two files as they lie on disk.
struct Disk {
  PlayRecords records;
  SavedGame saved;
};

// The writes after an entry fills the board with a correct grid, in the
// game's order: the saved game with the full board, the records (when the
// solve added to them), the saved game finished. The game is killed after
// `writesAllowed` of them.
void Finish(Disk* disk, SavedGame game, int writesAllowed) {
  int writes = 0;
  if (writes++ == writesAllowed) return;
  disk->saved = game;  // the step that filled the board
  PlayRecords records = disk->records;
  const SolveCount count = CountSolve(&records, game.progress, PuzzleKeyOf(game.board), 60);
  if (count == kSolveCountedNow) {
    if (writes++ == writesAllowed) return;
    disk->records = records;
  }
  if (count != kSolveNotCounting) game.progress.counted = true;
  game.progress.finished = true;
  if (writes++ == writesAllowed) return;
  disk->saved = game;
}

TEST(PlayRulesTest, CrashAtAnyPointAfterTheLastEntryCountsThePuzzleOnce) {
  const SavedGame full = GameOnGrid({3, 40}, true);
  for (int crashAfter = 0; crashAfter <= 3; ++crashAfter) {
    Disk disk;
    disk.saved = GameOnGrid({3, 40}, false);  // before the last entries
    Finish(&disk, full, crashAfter);
    // The next start: a full board still owed its verdict is judged again.
    if (NeedsVerdictAtResume(disk.saved)) Finish(&disk, disk.saved, 99);
    EXPECT_EQ(disk.records.levels[1].solved, crashAfter == 0 ? 0 : 1) << crashAfter;
    if (crashAfter > 0) {
      EXPECT_TRUE(disk.saved.progress.finished) << crashAfter;
      EXPECT_FALSE(NeedsVerdictAtResume(disk.saved));
    }
    // Taken back and entered again, the same puzzle never counts twice.
    SavedGame again = disk.saved;
    again.progress.counted = false;
    again.progress.finished = false;
    Finish(&disk, again, 99);
    EXPECT_EQ(disk.records.levels[1].solved, 1) << crashAfter;
  }
}

TEST(PlayRulesTest, OnlyAFullBoardInPlayIsJudgedAtResume) {
  SavedGame game = GameOnGrid({3}, true);
  EXPECT_TRUE(NeedsVerdictAtResume(game));
  game.board.SetValue(0, 3, 1);  // full and wrong: judged too
  EXPECT_TRUE(NeedsVerdictAtResume(game));
  game.progress.finished = true;
  EXPECT_FALSE(NeedsVerdictAtResume(game));
  game.progress.finished = false;
  game.progress.answerUsed = true;  // the answer fills a board silently
  EXPECT_FALSE(NeedsVerdictAtResume(game));
  game.progress.answerUsed = false;
  game.editing = true;
  EXPECT_FALSE(NeedsVerdictAtResume(game));
  EXPECT_FALSE(NeedsVerdictAtResume(GameOnGrid({3}, false)));
}

TEST(PlayRulesTest, SolveCountsOnlyLevelPuzzlesWithoutTheAnswerAndOnlyOnce) {
  PlayRecords records;
  GameProgress progress;
  progress.hints = 2;
  for (int source : {kSourceFile, kSourceTyped}) {
    progress.source = source;
    EXPECT_EQ(CountSolve(&records, progress, 7, 30), kSolveNotCounting);
  }
  progress.source = kSourceLevel3;
  progress.answerUsed = true;
  EXPECT_EQ(CountSolve(&records, progress, 7, 30), kSolveNotCounting);
  progress.answerUsed = false;
  EXPECT_EQ(CountSolve(&records, progress, 7, 30), kSolveCountedNow);
  EXPECT_EQ(CountSolve(&records, progress, 7, 30), kSolveCountedBefore);
  EXPECT_EQ(CountSolve(&records, progress, 8, 20), kSolveCountedNow);
  progress.counted = true;
  EXPECT_EQ(CountSolve(&records, progress, 9, 20), kSolveCountedBefore);
  EXPECT_EQ(records.levels[2].solved, 2);
  EXPECT_EQ(records.levels[2].bestSeconds, 20);
  EXPECT_EQ(records.levels[2].hints, 4);
}

TEST(PlayRulesTest, PuzzleKeyFollowsTheGivensOnly) {
  SavedGame a = GameOnGrid({3, 40}, false);
  const PuzzleKey key = PuzzleKeyOf(a.board);
  a.board.SetValue(0, 3, 6);  // the player's entries and marks do not matter
  a.board.SetCandidate(4, 4, 2, true);
  EXPECT_EQ(PuzzleKeyOf(a.board), key);
  SavedGame b = GameOnGrid({3, 41}, false);
  EXPECT_NE(PuzzleKeyOf(b.board), key);
  b.board.ClearGiven(0, 0);  // the same digits, one of them no longer given
  EXPECT_NE(PuzzleKeyOf(b.board), PuzzleKeyOf(GameOnGrid({3, 41}, false).board));
}

TEST(PlayRulesTest, RecordsRememberTheLastPuzzlesAndReadOldFiles) {
  PlayRecords records;
  for (PuzzleKey key = 1; key <= kRememberedPuzzles + 2; ++key) NoteCounted(&records, key);
  NoteCounted(&records, 5);  // already there: no second entry
  EXPECT_EQ(records.countedCount, kRememberedPuzzles);
  EXPECT_FALSE(HasCounted(records, 2));  // the oldest made room
  EXPECT_TRUE(HasCounted(records, 3));
  EXPECT_TRUE(HasCounted(records, kRememberedPuzzles + 2));

  ScratchFolder folder;
  const std::wstring path = folder.Path("r.dat");
  NoteCounted(&records, 0xfedcba9876543210ULL);
  ASSERT_TRUE(SaveRecordsFile(path.c_str(), records));
  PlayRecords back;
  ASSERT_EQ(LoadRecordsFile(path.c_str(), &back), kGameFileRead);
  EXPECT_EQ(back.countedCount, kRememberedPuzzles);
  EXPECT_TRUE(HasCounted(back, 0xfedcba9876543210ULL));
  EXPECT_FALSE(HasCounted(back, 3));

  // A file of the version before, which remembers nothing, still reads.
  ASSERT_TRUE(folder.WriteBytes("r.dat",
                                "Kubri records 1\r\nlevel 1 solved 2 best 9 total 30 hints 1\r\n"
                                "level 2 solved 0 best 0 total 0 hints 0\r\nlevel 3 solved 0 best 0 total 0 hints 0\r\n"));
  ASSERT_EQ(LoadRecordsFile(path.c_str(), &back), kGameFileRead);
  EXPECT_EQ(back.levels[0].solved, 2);
  EXPECT_EQ(back.countedCount, 0);

  const char* damaged[] = {
      // version 1 with a counted line, a short key, an upper-case key
      "Kubri records 1\nlevel 1 solved 0 best 0 total 0 hints 0\nlevel 2 solved 0 best 0 total 0 hints 0\n"
      "level 3 solved 0 best 0 total 0 hints 0\ncounted 0123456789abcdef\n",
      "Kubri records 2\nlevel 1 solved 0 best 0 total 0 hints 0\nlevel 2 solved 0 best 0 total 0 hints 0\n"
      "level 3 solved 0 best 0 total 0 hints 0\ncounted 0123\n",
      "Kubri records 2\nlevel 1 solved 0 best 0 total 0 hints 0\nlevel 2 solved 0 best 0 total 0 hints 0\n"
      "level 3 solved 0 best 0 total 0 hints 0\ncounted 0123456789ABCDEF\n",
  };
  for (const char* text : damaged) {
    ASSERT_TRUE(folder.WriteBytes("r.dat", text));
    EXPECT_EQ(LoadRecordsFile(path.c_str(), &back), kGameFileBad) << text;
  }
}

TEST(PlayRulesTest, ErasingATypedDigitKeepsItsMarks) {
  Board board;
  board.SetValue(2, 3, 8);
  board.SetCandidate(2, 3, 4, true);
  EXPECT_TRUE(EraseTypedValue(&board, 2, 3));
  EXPECT_FALSE(board.HasValue(2, 3));
  EXPECT_TRUE(board.HasCandidate(2, 3, 4));
  EXPECT_FALSE(EraseTypedValue(&board, 2, 3));  // nothing left: no step
  EXPECT_FALSE(EraseTypedValue(&board, 9, 0));
  EXPECT_FALSE(EraseTypedValue(nullptr, 0, 0));
}

}  // namespace
