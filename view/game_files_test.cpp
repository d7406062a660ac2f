// The view's side of the game's files: the session's files beside the
// settings file, its clock read from the tick count and the window, its
// verdicts and records in the game's box, the size kept as soon as it
// changes, a puzzle file that cannot be read, a save that fails, and the
// records' menu item.
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

TEST_F(GameFilesTest, TheSessionKeepsItsFilesBesideTheSettingsAndSpeaksInTheGamesBox) {
  view->NoteSettingsFileRead();
  EXPECT_EQ(view->GamePath(), folder + L"KubriGame.dat");
  EXPECT_EQ(view->RecordsPath(), folder + L"KubriRecords.dat");
  // The clock counts the tick count while the main window is in play.
  view->TickClock();
  gNow += 10000;
  view->TickClock();
  gPlaying = false;
  view->TickClock();
  gNow += 50000;
  view->TickClock();
  gPlaying = true;
  view->TickClock();
  gNow += 3000;
  // A wrong board and then the right one: each verdict in a box.
  Enter(*view, 0, 1, 5);
  Enter(*view, 0, 0, 3);
  view->OnCommand(IDM_PUZZLE_RETRY);
  Enter(*view, 0, 0, 5);
  Enter(*view, 0, 1, 3);
  ASSERT_EQ(MessageBoxCapture::shown.size(), 2u);
  EXPECT_EQ(MessageBoxCapture::shown[0].text, kWrongMessage);
  EXPECT_EQ(MessageBoxCapture::shown[1].text, kCorrectMessage);
  EXPECT_EQ(ReadRecords().levels[0].solved, 1);
  // Closing saves the game.
  view->OnClose();
  EXPECT_TRUE(ReadGame().progress.finished);
  EXPECT_EQ(ReadGame().progress.seconds, 13);
  EXPECT_EQ(view->OnCommand(IDM_PUZZLE_RECORDS), 1);
  ASSERT_EQ(MessageBoxCapture::shown.size(), 3u);
  EXPECT_NE(MessageBoxCapture::shown[2].text.find(L"\u3053\u306e\u554f\u984c\uff1a0:13"), std::wstring::npos);
  EXPECT_NE(MessageBoxCapture::shown[2].text.find(L"\u89e3\u3044\u305f\u6570 1"), std::wstring::npos);
  for (const auto& box : MessageBoxCapture::shown) {
    EXPECT_EQ(box.caption, L"Kubri");
    EXPECT_EQ(box.owner, window->Handle());
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
  }
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
