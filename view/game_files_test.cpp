// The saved game and the records as the view keeps them: when the game is
// written, what a resume brings back, which files are refused and set
// aside, what counts as solved, and how the time is counted.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "resources/resource_ids.h"
#include "stock/play_records.h"
#include "stock/puzzle_stock.h"
#include "stock/saved_game.h"
#include "view/board_view.h"
#include "view/view_test_support.h"

namespace {

ULONGLONG gNow = 0;
bool gPlaying = true;
ULONGLONG WINAPI FakeTicks() { return gNow; }
bool FakePlaying(HWND) { return gPlaying; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class GameFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxCapture::shown.clear();
    gNow = 100000;
    gPlaying = true;
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int serial = 0;
    folder = std::wstring(base) + L"kubri-game-files-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++serial) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    settings = folder + L"Kubri.dat";
    window = std::make_unique<TestWindow>(nullptr);
    FillSolvedExcept(board, {0, 1});
    view = MakeView(board);
  }
  void TearDown() override {
    view.reset();
    for (const wchar_t* name : {L"KubriGame.dat", L"KubriGame.dat.bad", L"KubriRecords.dat", L"KubriRecords.dat.bad",
                                L"Kubri.dat", L"Kubri.dat.tmp", L"KubriGame.dat.tmp", L"KubriRecords.dat.tmp",
                                L"KubriOptions.dat.tmp", L"puzzle.kbr.tmp"})
      DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
  }
  std::unique_ptr<BoardView> MakeView(Board& target, PuzzleStock* stock = nullptr) {
    ViewLinks links = TestLinks(&target, stock);
    links.settingsPath = settings.c_str();
    links.tickCount = FakeTicks;
    links.isPlaying = FakePlaying;
    return std::make_unique<BoardView>(links);
  }
  int Press(BoardView& v, bool left, int row, int col, int digit) {
    const POINT p = DigitPoint(v, row, col, digit);
    return v.HandleMessage(window->Handle(), left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0, MAKELPARAM(p.x, p.y));
  }
  // Selects, marks and enters `digit` in (row, col).
  void Enter(BoardView& v, int row, int col, int digit) {
    Press(v, true, row, col, digit);
    Press(v, true, row, col, digit);
    Press(v, true, row, col, digit);
  }
  SavedGame ReadGame() {
    SavedGame game;
    EXPECT_EQ(LoadGameFile(view->GamePath().c_str(), &game), kGameFileRead);
    return game;
  }
  PlayRecords ReadRecords() {
    PlayRecords records;
    LoadRecordsFile(view->RecordsPath().c_str(), &records);
    return records;
  }

  std::wstring folder;
  std::wstring settings;
  std::unique_ptr<TestWindow> window;
  Board board;
  std::unique_ptr<BoardView> view;
};

TEST_F(GameFilesTest, NothingIsWrittenUntilStartUpAllowsIt) {
  Press(*view, true, 0, 0, 5);
  Press(*view, true, 0, 0, 5);
  view->OnClose();
  EXPECT_FALSE(Exists(view->GamePath()));
  view->NoteSettingsFileRead();
  Press(*view, true, 0, 0, 6);  // one more mark: a step, saved at once
  ASSERT_TRUE(Exists(view->GamePath()));
  EXPECT_EQ(view->GamePath(), folder + L"KubriGame.dat");
  EXPECT_TRUE(ReadGame().board.HasCandidate(0, 0, 6));
}

TEST_F(GameFilesTest, EveryStepUndoAndCloseSavesTheGame) {
  view->NoteSettingsFileRead();
  Press(*view, true, 0, 0, 5);
  Press(*view, true, 0, 0, 5);  // marked 5
  EXPECT_TRUE(ReadGame().board.HasCandidate(0, 0, 5));
  view->OnCommand(IDM_EDIT_UNDO);
  EXPECT_FALSE(ReadGame().board.HasCandidate(0, 0, 5));
  view->OnCommand(IDM_EDIT_START);
  EXPECT_TRUE(ReadGame().editing);
  gNow += 61000;
  view->OnClose();
  EXPECT_EQ(ReadGame().progress.seconds, 61);
}

TEST_F(GameFilesTest, ResumeBringsBackBoardModeAndProgressWithUndoEmpty) {
  view->NoteSettingsFileRead();
  view->OnCommand(IDM_PUZZLE_HINT);
  view->ClearSelection();  // the hint selects its cell
  Press(*view, true, 0, 0, 5);
  Press(*view, true, 0, 0, 5);
  Press(*view, true, 0, 0, 7);  // marks 5 and 7
  gNow += 5000;
  view->OnClose();

  Board fresh;
  std::unique_ptr<BoardView> next = MakeView(fresh);
  next->NoteSettingsFileRead();
  EXPECT_EQ(next->ResumeSavedGame(), 1);
  EXPECT_TRUE(fresh.HasCandidate(0, 0, 5) && fresh.HasCandidate(0, 0, 7));
  EXPECT_TRUE(fresh.IsGiven(4, 4));
  EXPECT_FALSE(next->History().CanUndo());
  EXPECT_EQ(next->Progress().hints, 1);
  EXPECT_EQ(next->PlayedSeconds(), 5);
  gNow += 2000;  // the time goes on from where it stopped
  next->TickClock();
  EXPECT_EQ(next->PlayedSeconds(), 7);
}

TEST_F(GameFilesTest, BadOrNewerSavedGameIsSetAsideAndTheBoardStays) {
  const Board before = board;
  for (const char* text : {"Kubri game 2\nsource level 1\n", "rubbish"}) {
    FILE* f = _wfopen(view->GamePath().c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs(text, f);
    std::fclose(f);
    view->NoteSettingsFileRead();
    EXPECT_EQ(view->ResumeSavedGame(), 0);
    EXPECT_FALSE(Exists(view->GamePath()));
    EXPECT_TRUE(Exists(view->GamePath() + L".bad"));
    EXPECT_EQ(board.GetValue(4, 4), before.GetValue(4, 4));
    EXPECT_FALSE(board.HasValue(0, 0));
    DeleteFileW((view->GamePath() + L".bad").c_str());
  }
  Press(*view, true, 0, 0, 5);
  Press(*view, true, 0, 0, 5);
  EXPECT_TRUE(Exists(view->GamePath()));  // saving goes on
}

TEST_F(GameFilesTest, SolvedPuzzleIsRecordedOnceAndNotResumed) {
  view->NoteSettingsFileRead();
  view->OnCommand(IDM_PUZZLE_HINT);
  view->ClearSelection();
  gNow += 42000;
  Enter(*view, 0, 0, 5);
  Enter(*view, 0, 1, 3);  // 正解
  ASSERT_EQ(MessageBoxCapture::shown.back().text, kCorrectMessage);
  PlayRecords records = ReadRecords();
  EXPECT_EQ(records.levels[0].solved, 1);
  EXPECT_EQ(records.levels[0].bestSeconds, 42);
  EXPECT_EQ(records.levels[0].hints, 1);
  // Taken back and entered again: still one.
  view->OnCommand(IDM_EDIT_UNDO);
  Press(*view, true, 0, 1, 3);
  Press(*view, true, 0, 1, 3);
  EXPECT_EQ(MessageBoxCapture::shown.back().text, kCorrectMessage);
  EXPECT_EQ(ReadRecords().levels[0].solved, 1);
  view->OnClose();

  Board fresh;
  std::unique_ptr<BoardView> next = MakeView(fresh);
  next->NoteSettingsFileRead();
  EXPECT_EQ(next->ResumeSavedGame(), 0);
  EXPECT_FALSE(fresh.HasValue(4, 4));
  EXPECT_TRUE(Exists(next->GamePath()));  // finished, not bad: left in place
}

// The game ended right after the entry that filled the board: the saved
// game holds the full board, unjudged, and the records may or may not have
// been written. The next start judges it, and counts it once in all.
TEST_F(GameFilesTest, FullBoardLeftUnjudgedIsJudgedAtResumeAndCountedOnce) {
  for (bool recordsWritten : {false, true}) {
    DeleteFileW(view->RecordsPath().c_str());
    SavedGame left;
    left.board = board;
    left.board.SetValue(0, 0, 5);
    left.board.SetValue(0, 1, 3);
    left.progress.seconds = 42;
    if (recordsWritten) {
      PlayRecords records;
      ASSERT_EQ(CountSolve(&records, left.progress, PuzzleKeyOf(left.board), 42), kSolveCountedNow);
      ASSERT_TRUE(SaveRecordsFile(view->RecordsPath().c_str(), records));
    }
    ASSERT_TRUE(SaveGameFile(view->GamePath().c_str(), left));
    MessageBoxCapture::shown.clear();

    Board fresh;
    std::unique_ptr<BoardView> next = MakeView(fresh);
    next->NoteSettingsFileRead();
    EXPECT_EQ(next->ResumeSavedGame(), 1);
    ASSERT_EQ(MessageBoxCapture::shown.size(), 1u);
    EXPECT_EQ(MessageBoxCapture::shown[0].text, kCorrectMessage);
    EXPECT_EQ(ReadRecords().levels[0].solved, 1) << recordsWritten;
    EXPECT_EQ(ReadRecords().levels[0].bestSeconds, 42);
    EXPECT_TRUE(ReadGame().progress.finished);
    EXPECT_TRUE(ReadGame().progress.counted);
    // Taken back and entered again: still one.
    next->Select(0, 1);
    Press(*next, false, 0, 1, 3);
    Enter(*next, 0, 1, 3);
    EXPECT_EQ(MessageBoxCapture::shown.back().text, kCorrectMessage);
    EXPECT_EQ(ReadRecords().levels[0].solved, 1);
  }
}

TEST_F(GameFilesTest, FullWrongBoardAtResumeIsJudgedAndPlayedOn) {
  SavedGame left;
  left.board = board;
  left.board.SetValue(0, 0, 3);
  left.board.SetValue(0, 1, 5);  // swapped
  ASSERT_TRUE(SaveGameFile(view->GamePath().c_str(), left));
  view->NoteSettingsFileRead();
  EXPECT_EQ(view->ResumeSavedGame(), 1);
  ASSERT_EQ(MessageBoxCapture::shown.size(), 1u);
  EXPECT_EQ(MessageBoxCapture::shown[0].text, kWrongMessage);
  EXPECT_FALSE(ReadGame().progress.finished);
  EXPECT_EQ(ReadRecords().levels[0].solved, 0);
  // A board the answer filled comes back without a word.
  left.progress.answerUsed = true;
  ASSERT_TRUE(SaveGameFile(view->GamePath().c_str(), left));
  EXPECT_EQ(view->ResumeSavedGame(), 1);
  EXPECT_EQ(MessageBoxCapture::shown.size(), 1u);
}

TEST_F(GameFilesTest, SizeIsSavedAsSoonAsItChanges) {
  PuzzleStock stock;
  Board stocked;
  FillSolvedExcept(stocked, {0, 1, 2, 3, 4});
  stock.Add(&stocked);
  view = MakeView(board, &stock);
  const std::wstring kubri = folder + L"Kubri.dat";
  view->OnCommand(IDM_SIZE_LARGE);
  EXPECT_FALSE(Exists(kubri));  // not before start-up has read the file
  view->NoteSettingsFileRead();
  view->OnCommand(IDM_SIZE_SMALL);
  FILE* f = _wfopen(kubri.c_str(), L"r");
  ASSERT_NE(f, nullptr);
  char line[16] = {};
  std::fgets(line, sizeof line, f);
  int lines = 1;
  for (int c; (c = std::fgetc(f)) != EOF;) lines += c == '\n';
  std::fclose(f);
  EXPECT_STREQ(line, "2\n");
  EXPECT_EQ(lines, 1 + 9);  // the stock goes with it
  DeleteFileW(kubri.c_str());
  view->OnCommand(IDM_SIZE_SMALL);  // the same size: nothing to keep
  EXPECT_FALSE(Exists(kubri));
}

TEST_F(GameFilesTest, LeftoverTemporaryFilesOfTheGamesOwnSavesAreRemoved) {
  for (const wchar_t* name :
       {L"Kubri.dat.tmp", L"KubriGame.dat.tmp", L"KubriRecords.dat.tmp", L"KubriOptions.dat.tmp", L"puzzle.kbr.tmp"}) {
    FILE* f = _wfopen((folder + name).c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs("half", f);
    std::fclose(f);
  }
  view->RemoveLeftoverSaves();
  EXPECT_FALSE(Exists(folder + L"Kubri.dat.tmp"));
  EXPECT_FALSE(Exists(folder + L"KubriGame.dat.tmp"));
  EXPECT_FALSE(Exists(folder + L"KubriRecords.dat.tmp"));
  EXPECT_FALSE(Exists(folder + L"KubriOptions.dat.tmp"));
  EXPECT_TRUE(Exists(folder + L"puzzle.kbr.tmp"));  // not the game's to judge
}

TEST_F(GameFilesTest, AnswerFileAndTypedPuzzlesDoNotCount) {
  view->NoteSettingsFileRead();
  view->OnCommand(IDM_PUZZLE_ANSWER);
  Press(*view, true, 0, 1, 1);
  Press(*view, false, 0, 1, 1);  // the answered 3 taken away
  Enter(*view, 0, 1, 3);
  EXPECT_EQ(MessageBoxCapture::shown.back().text, kCorrectMessage);
  EXPECT_EQ(ReadRecords().levels[0].solved, 0);

  view->OnCommand(IDM_EDIT_START);
  Press(*view, false, 0, 1, 1);  // erased while typing in
  view->OnCommand(IDM_EDIT_END);
  EXPECT_EQ(view->Progress().source, kSourceTyped);
  Enter(*view, 0, 1, 3);
  EXPECT_EQ(MessageBoxCapture::shown.back().text, kCorrectMessage);
  EXPECT_EQ(ReadRecords().levels[0].solved, 0);
}

TEST_F(GameFilesTest, UndoBackToAnEarlierPuzzleBringsBackItsSourceTimeAndHints) {
  view->NoteSettingsFileRead();
  view->OnCommand(IDM_PUZZLE_HINT);
  view->ClearSelection();
  gNow += 7000;
  view->OnCommand(IDM_EDIT_START);
  Press(*view, false, 8, 8, 1);  // a given erased while typing in
  view->OnCommand(IDM_EDIT_END);
  EXPECT_EQ(view->Progress().source, kSourceTyped);
  EXPECT_EQ(view->Progress().hints, 0);
  gNow += 3000;
  for (int i = 0; i < 3; ++i) view->OnCommand(IDM_EDIT_UNDO);
  EXPECT_EQ(view->Progress().source, kSourceLevel1);
  EXPECT_EQ(view->Progress().hints, 1);
  EXPECT_EQ(view->PlayedSeconds(), 7);
  EXPECT_EQ(ReadGame().progress.source, kSourceLevel1);
  for (int i = 0; i < 3; ++i) view->OnCommand(IDM_EDIT_REDO);
  EXPECT_EQ(view->Progress().source, kSourceTyped);
  EXPECT_EQ(view->PlayedSeconds(), 3);
}

TEST_F(GameFilesTest, TimeRunsOnlyWhilePlayedAndStopsWhenSolved) {
  view->NoteSettingsFileRead();
  view->TickClock();
  gNow += 10000;
  view->TickClock();
  gPlaying = false;  // inactive or minimised: the message ticks the clock
  view->TickClock();
  gNow += 50000;
  view->TickClock();
  gPlaying = true;
  view->TickClock();
  gNow += 3000;
  EXPECT_EQ(view->OnCommand(IDM_PUZZLE_RECORDS), 1);
  EXPECT_EQ(view->PlayedSeconds(), 13);
  EXPECT_EQ(MessageBoxCapture::shown.back().caption, L"Kubri");
  EXPECT_NE(MessageBoxCapture::shown.back().text.find(L"\u3053\u306e\u554f\u984c\uff1a0:13"), std::wstring::npos);
  Enter(*view, 0, 0, 5);
  Enter(*view, 0, 1, 3);
  gNow += 99000;
  view->TickClock();
  EXPECT_EQ(view->PlayedSeconds(), 13);
  EXPECT_EQ(ReadRecords().levels[0].bestSeconds, 13);
}

TEST_F(GameFilesTest, DamagedRecordsAreKeptAsideAndTheSolveStillCounts) {
  FILE* f = _wfopen(view->RecordsPath().c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  std::fputs("Kubri records 1\nlevel 1 solved x\n", f);
  std::fclose(f);
  view->NoteSettingsFileRead();
  Enter(*view, 0, 0, 5);
  Enter(*view, 0, 1, 3);
  EXPECT_TRUE(Exists(view->RecordsPath() + L".bad"));
  EXPECT_EQ(ReadRecords().levels[0].solved, 1);
  view->OnCommand(IDM_PUZZLE_RECORDS);
  EXPECT_NE(MessageBoxCapture::shown.back().text.find(L"\u89e3\u3044\u305f\u6570 1"), std::wstring::npos);
}

// A puzzle file that cannot be read, whether missing or cut short, changes
// nothing: not the board, not where the puzzle came from, not its clock, not
// the path 上書き保存 writes to, and no undo step is added. Silent, as every
// failed read.
TEST_F(GameFilesTest, AFileThatCannotBeOpenedLeavesThePuzzleItsSourceAndItsClock) {
  const std::wstring good = folder + L"good.kbr";
  const std::wstring shortFile = folder + L"short.kbr";
  Board puzzle;
  FillSolvedExcept(puzzle, {0, 1, 2});
  ASSERT_TRUE(puzzle.Save(good.c_str()));
  FILE* f = _wfopen(shortFile.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  std::fputs("123456789\n456789123\n789123456\n", f);
  std::fclose(f);

  view->NoteSettingsFileRead();
  FileDialogCapture::Reset();
  FileDialogCapture::choose = true;
  FileDialogCapture::chosenPath = good;
  ASSERT_EQ(view->OnCommand(IDM_FILE_OPEN), 1);
  view->TickClock();
  gNow += 4000;
  view->TickClock();
  Enter(*view, 0, 0, 5);
  const Board before = board;
  const int steps = view->History().UndoCount();
  const size_t boxes = MessageBoxCapture::shown.size();

  for (const std::wstring& bad : {folder + L"missing.kbr", shortFile}) {
    FileDialogCapture::chosenPath = bad;
    EXPECT_EQ(view->OnCommand(IDM_FILE_OPEN), 0);
    for (int cell = 0; cell < 81; ++cell) {
      EXPECT_EQ(board.GetValue(cell / 9, cell % 9), before.GetValue(cell / 9, cell % 9)) << cell;
      EXPECT_EQ(board.IsGiven(cell / 9, cell % 9), before.IsGiven(cell / 9, cell % 9)) << cell;
    }
    EXPECT_EQ(view->Progress().source, kSourceFile);
    EXPECT_EQ(std::wstring(view->FilePath()), good);
    EXPECT_EQ(view->History().UndoCount(), steps);
    gNow += 2000;
    view->TickClock();
  }
  EXPECT_EQ(view->PlayedSeconds(), 8);
  EXPECT_EQ(MessageBoxCapture::shown.size(), boxes);
  DeleteFileW(good.c_str());
  DeleteFileW(shortFile.c_str());
}

// 上書き保存 and 名前を付けて保存 into a folder that is not there: the player
// is told in a box captioned "Kubri"; a save that works says nothing.
TEST_F(GameFilesTest, AFailedSaveSaysSoInABox) {
  const std::wstring nowhere = folder + L"no such folder\\puzzle.kbr";
  const std::wstring good = folder + L"saved.kbr";
  FileDialogCapture::Reset();
  FileDialogCapture::choose = true;
  FileDialogCapture::chosenPath = nowhere;
  for (WORD command : {IDM_FILE_SAVE_AS, IDM_FILE_SAVE}) {
    MessageBoxCapture::shown.clear();
    EXPECT_EQ(view->OnCommand(command), 1);
    ASSERT_EQ(MessageBoxCapture::shown.size(), 1u) << command;
    EXPECT_EQ(MessageBoxCapture::shown[0].caption, L"Kubri");
    EXPECT_EQ(MessageBoxCapture::shown[0].text, L"\u4fdd\u5b58\u3067\u304d\u307e\u305b\u3093\u3067\u3057\u305f");
    EXPECT_EQ(MessageBoxCapture::shown[0].owner, window->Handle());
    EXPECT_EQ(MessageBoxCapture::shown[0].type, static_cast<UINT>(MB_OK));
  }
  EXPECT_EQ(FileDialogCapture::calls, 1);  // 上書き保存 tried the same path again

  MessageBoxCapture::shown.clear();
  FileDialogCapture::chosenPath = good;
  EXPECT_EQ(view->OnCommand(IDM_FILE_SAVE_AS), 1);
  EXPECT_EQ(view->OnCommand(IDM_FILE_SAVE), 1);
  EXPECT_TRUE(MessageBoxCapture::shown.empty());
  Board reread;
  EXPECT_TRUE(reread.Load(good.c_str()));
  DeleteFileW(good.c_str());
}

TEST_F(GameFilesTest, RecordsItemSitsInThePuzzleMenuOutsideTheOldRange) {
  HMENU puzzle = GetSubMenu(GetMenu(window->Handle()), 1);
  const int last = GetMenuItemCount(puzzle) - 1;
  wchar_t text[64];
  GetMenuStringW(puzzle, last, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"\u8a18\u9332(&T)...");
  const UINT id = GetMenuItemID(puzzle, last);
  EXPECT_EQ(id, static_cast<UINT>(IDM_PUZZLE_RECORDS));
  EXPECT_TRUE(id < 40042 || id > 40066);
}

}  // namespace
