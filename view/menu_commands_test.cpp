// Menu commands, the menu state read back from a real window carrying the
// game's menu, window sizing, the file dialogs behind their seam, and the
// close path that writes the settings file.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "resources/resource_ids.h"
#include "stock/generator_thread.h"
#include "stock/puzzle_stock.h"
#include "stock/settings_file.h"
#include "view/board_view.h"
#include "view/view_size_setting.h"
#include "view/view_test_support.h"

namespace {

std::wstring MakeTempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int serial = 0;
  std::wstring folder = std::wstring(base) + L"kubri-view-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++serial);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::string ReadWhole(const std::wstring& path) {
  std::string text;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  fclose(f);
  return text;
}

void WriteWhole(const std::wstring& path, const std::string& text) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

bool SameValues(const Board& a, const Board& b) {
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c)
      if (a.GetValue(r, c) != b.GetValue(r, c) || a.IsGiven(r, c) != b.IsGiven(r, c)) return false;
  return true;
}

class MenuCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxCapture::shown.clear();
    FileDialogCapture::Reset();
    TestWindow::sizes.clear();
    view = std::make_unique<BoardView>(TestLinks(&board, &stock));
    window = std::make_unique<TestWindow>(view.get());
    folder = MakeTempFolder();
  }
  void TearDown() override {
    window.reset();
    view.reset();
  }
  UINT State(UINT id) { return GetMenuState(GetMenu(window->Handle()), id, MF_BYCOMMAND); }
  bool Grayed(UINT id) { return (State(id) & MF_GRAYED) != 0; }
  bool Checked(UINT id) { return (State(id) & MF_CHECKED) != 0; }
  // Select a cell and highlight a digit so that the view reset shows.
  void DirtyView() {
    view->Select(4, 4);
    view->SetHighlight(6);
  }
  void ExpectViewReset() {
    EXPECT_EQ(view->SelectedRow(), -1);
    EXPECT_EQ(view->SelectedCol(), -1);
    EXPECT_FALSE(view->HasHighlight());
  }

  Board board;
  PuzzleStock stock;
  std::unique_ptr<BoardView> view;
  std::unique_ptr<TestWindow> window;
  std::wstring folder;
};

const UINT kBoardItems[] = {IDM_FILE_OPEN,     IDM_FILE_SAVE,    IDM_FILE_SAVE_AS,  IDM_PUZZLE_LEVEL1,
                            IDM_PUZZLE_LEVEL2, IDM_PUZZLE_LEVEL3, IDM_PUZZLE_RETRY, IDM_PUZZLE_ANSWER,
                            IDM_EDIT_START};

// --- Menu resource and menu state -----------------------------------------------

TEST_F(MenuCommandsTest, MenuResourceHasTheJapaneseLabelsAndIdentifiers) {
  HMENU bar = GetMenu(window->Handle());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 5);
  const wchar_t* tops[] = {L"\u30d5\u30a1\u30a4\u30eb(&F)", L"\u554f\u984c(&Q)", L"\u7de8\u96c6(&E)",
                           L"\u8868\u793a(&V)", L"\u30d8\u30eb\u30d7(&H)"};
  wchar_t text[64];
  for (int i = 0; i < 5; ++i) {
    GetMenuStringW(bar, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, tops[i]) << i;
  }
  struct {
    UINT id;
    const wchar_t* label;
  } items[] = {{40053, L"\u958b\u304f(&O)..."},
               {40054, L"\u4e0a\u66f8\u304d\u4fdd\u5b58(&S)"},
               {40056, L"\u540d\u524d\u3092\u4ed8\u3051\u3066\u4fdd\u5b58(&A)..."},
               {40057, L"\u7d42\u4e86(&X)"},
               {40044, L"\u30ec\u30d9\u30eb\uff11(&1)"},
               {40045, L"\u30ec\u30d9\u30eb\uff12(&2)"},
               {40048, L"\u30ec\u30d9\u30eb\uff13(&3)"},
               {40049, L"\u30ea\u30c8\u30e9\u30a4(&R)"},
               {40042, L"\u89e3\u7b54(&A)"},
               {40050, L"\u7de8\u96c6\u958b\u59cb(&S)"},
               {40051, L"\u7de8\u96c6\u7d42\u4e86(&E)"},
               {40058, L"\u521d\u671f\u5316(&F)"},
               {40063, L"\u5927(&L)"},
               {40065, L"\u4e2d(&M)"},
               {40066, L"\u5c0f(&S)"},
               {40052, L"\u30d0\u30fc\u30b8\u30e7\u30f3\u60c5\u5831(&A)..."}};
  for (const auto& item : items) {
    ASSERT_GT(GetMenuStringW(bar, item.id, text, 64, MF_BYCOMMAND), 0) << item.id;
    EXPECT_STREQ(text, item.label) << item.id;
  }
  HMENU sizeMenu = GetSubMenu(GetSubMenu(bar, 3), 0);
  ASSERT_NE(sizeMenu, nullptr);
  GetMenuStringW(GetSubMenu(bar, 3), 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"\u30b5\u30a4\u30ba(&S)");
  EXPECT_EQ(GetMenuItemID(sizeMenu, 0), 40063u);
  EXPECT_TRUE(Checked(IDM_SIZE_LARGE));  // as the resource has it, before the first update
}

TEST_F(MenuCommandsTest, UpdateMenuStateChecksTheSizeAndEnablesNormalModeItems) {
  view->UpdateMenuState();
  for (UINT id : kBoardItems) EXPECT_FALSE(Grayed(id)) << id;
  EXPECT_TRUE(Grayed(IDM_EDIT_END));
  EXPECT_TRUE(Grayed(IDM_EDIT_CLEAR));
  EXPECT_FALSE(Checked(IDM_SIZE_LARGE));
  EXPECT_TRUE(Checked(IDM_SIZE_MEDIUM));
  EXPECT_FALSE(Checked(IDM_SIZE_SMALL));
  view->SetSizeIndex(2);
  view->UpdateMenuState();
  EXPECT_FALSE(Checked(IDM_SIZE_MEDIUM));
  EXPECT_TRUE(Checked(IDM_SIZE_SMALL));
}

TEST_F(MenuCommandsTest, EditModeGraysBoardItemsAndLeavingItReversesThat) {
  view->UpdateMenuState();
  EXPECT_EQ(view->OnCommand(IDM_EDIT_START), 1);
  for (UINT id : kBoardItems) EXPECT_TRUE(Grayed(id)) << id;
  EXPECT_FALSE(Grayed(IDM_EDIT_END));
  EXPECT_FALSE(Grayed(IDM_EDIT_CLEAR));
  for (UINT id : {IDM_FILE_EXIT, IDM_HELP_ABOUT, IDM_SIZE_LARGE, IDM_SIZE_MEDIUM, IDM_SIZE_SMALL}) {
    EXPECT_FALSE(Grayed(id)) << id;
  }
  EXPECT_EQ(view->OnCommand(IDM_EDIT_END), 1);
  for (UINT id : kBoardItems) EXPECT_FALSE(Grayed(id)) << id;
  EXPECT_TRUE(Grayed(IDM_EDIT_END));
  EXPECT_TRUE(Grayed(IDM_EDIT_CLEAR));
}

TEST_F(MenuCommandsTest, UpdateMenuStateWithoutAMenuDoesNothing) {
  HMENU menu = GetMenu(window->Handle());
  SetMenu(window->Handle(), nullptr);
  view->UpdateMenuState();
  EXPECT_EQ(view->OnCommand(IDM_EDIT_START), 1);
  SetMenu(window->Handle(), menu);
  EXPECT_FALSE(Grayed(IDM_FILE_OPEN));
}

// --- Window size --------------------------------------------------------------

TEST_F(MenuCommandsTest, SizeCommandsBringTheClientAreaToTenCellsWithTheCornerFixed) {
  RECT before = window->OuterRect();
  TestWindow::sizes.clear();
  EXPECT_EQ(view->OnCommand(IDM_SIZE_LARGE), 1);
  EXPECT_EQ(view->GetSizeIndex(), 0);
  EXPECT_EQ(window->ClientSize().cx, 480);
  EXPECT_EQ(window->ClientSize().cy, 480);
  RECT after = window->OuterRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  // Width first, then height, in two nested size messages.
  ASSERT_EQ(TestWindow::sizes.size(), 2u);
  EXPECT_EQ(TestWindow::sizes[0].cx, 480);
  EXPECT_EQ(TestWindow::sizes[0].cy, 320);
  EXPECT_EQ(TestWindow::sizes[1].cx, 480);
  EXPECT_EQ(TestWindow::sizes[1].cy, 480);

  EXPECT_EQ(view->OnCommand(IDM_SIZE_SMALL), 1);
  EXPECT_EQ(window->ClientSize().cx, 240);
  EXPECT_EQ(window->ClientSize().cy, 240);
  EXPECT_EQ(view->OnCommand(IDM_SIZE_MEDIUM), 1);
  EXPECT_EQ(window->ClientSize().cx, 320);
  EXPECT_EQ(window->ClientSize().cy, 320);
  EXPECT_EQ(window->OuterRect().left, before.left);
}

TEST_F(MenuCommandsTest, DpiChangeMovesToTheSuggestedPlaceAndScalesTheClientArea) {
  RECT suggested = window->OuterRect();
  OffsetRect(&suggested, 40, 30);
  suggested.right += 100;  // Windows scales the frame too; the view keeps ten cells.
  SendMessageW(window->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(view->Dpi(), 144);
  EXPECT_EQ(window->ClientSize().cx, 480);
  EXPECT_EQ(window->ClientSize().cy, 480);
  EXPECT_EQ(window->OuterRect().left, suggested.left);
  EXPECT_EQ(window->OuterRect().top, suggested.top);
  // Back to 96 DPI: the medium board's 320 pixels again.
  RECT back = window->OuterRect();
  SendMessageW(window->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
  EXPECT_EQ(window->ClientSize().cx, 320);
  EXPECT_EQ(window->ClientSize().cy, 320);
}

TEST_F(MenuCommandsTest, ChoosingTheSizeInForceChangesNothing) {
  RECT before = window->OuterRect();
  EXPECT_EQ(view->OnCommand(IDM_SIZE_MEDIUM), 0);
  RECT after = window->OuterRect();
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(MenuCommandsTest, OnSizeCorrectsOneDimensionAndIgnoresZero) {
  window = std::make_unique<TestWindow>(nullptr, 500, 320, false);
  RECT before = window->OuterRect();
  window->Attach(view.get());
  EXPECT_EQ(view->OnSize(0, 0), 0);
  EXPECT_EQ(view->OnSize(0, 100), 1);  // a zero width is left alone, the height is not
  EXPECT_EQ(view->OnSize(320, 320), 0);
  window = std::make_unique<TestWindow>(nullptr, 500, 320, false);
  before = window->OuterRect();
  window->Attach(view.get());
  EXPECT_EQ(view->OnSize(500, 320), 1);
  RECT after = window->OuterRect();
  EXPECT_EQ((before.right - before.left) - (after.right - after.left), 180);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_EQ(window->ClientSize().cx, 320);
  EXPECT_EQ(view->OnSize(320, 320), 0);
}

TEST_F(MenuCommandsTest, LoadingSettingsWithSizeZeroGrowsTheWindowThroughOnSize) {
  std::wstring path = folder + L"\\Kubri.dat";
  WriteWhole(path, "0\n");
  ViewSizeSetting setting(*view);
  LoadSettingsFile(setting, stock, path.c_str());
  EXPECT_EQ(view->GetSizeIndex(), 0);
  EXPECT_EQ(window->ClientSize().cx, 480);
  EXPECT_EQ(window->ClientSize().cy, 480);
}

// --- File dialogs -------------------------------------------------------------

TEST_F(MenuCommandsTest, OpenDialogIsTheSaveDialogWithTheOpenFields) {
  wchar_t cwd[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, cwd);
  EXPECT_EQ(view->OnCommand(IDM_FILE_OPEN), 0);  // cancelled
  ASSERT_EQ(FileDialogCapture::calls, 1);
  const OPENFILENAMEW& r = FileDialogCapture::lastRequest;
  EXPECT_EQ(r.lStructSize, sizeof(OPENFILENAMEW));
  EXPECT_EQ(r.hwndOwner, window->Handle());
  EXPECT_EQ(FileDialogCapture::lastFilter, L"Kubri(*.kbr)|*.kbr|");
  EXPECT_EQ(r.nMaxFile, 260u);
  EXPECT_EQ(FileDialogCapture::lastInitialDir, cwd);
  EXPECT_EQ(r.Flags, static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
  EXPECT_EQ(r.Flags, 0x1004u);
  EXPECT_EQ(FileDialogCapture::lastDefExt, L"kbr");
  EXPECT_EQ(FileDialogCapture::lastTitle, L"\u958b\u304f\u30d5\u30a1\u30a4\u30eb\u540d");
}

TEST_F(MenuCommandsTest, SaveBeforeAnyDialogRunsSaveAsAndCancellingReturnsZero) {
  FillSolvedExcept(board, {3});
  EXPECT_EQ(view->OnCommand(IDM_FILE_SAVE), 0);
  ASSERT_EQ(FileDialogCapture::calls, 1);
  EXPECT_EQ(FileDialogCapture::lastRequest.Flags, 0u);
  EXPECT_EQ(FileDialogCapture::lastTitle, L"\u4fdd\u5b58\u3059\u308b\u30d5\u30a1\u30a4\u30eb\u540d");
  EXPECT_EQ(FileDialogCapture::lastFilter, L"Kubri(*.kbr)|*.kbr|");
  EXPECT_EQ(FileDialogCapture::lastDefExt, L"kbr");
  EXPECT_EQ(view->FilePath()[0], L'\0');
}

TEST_F(MenuCommandsTest, OpenLoadsTheChosenFileAndLaterSavesGoThereWithoutADialog) {
  Board original;
  FillSolvedExcept(original, {0, 10, 20});
  std::wstring path = folder + L"\\puzzle.kbr";
  ASSERT_TRUE(original.Save(path.c_str()));

  DirtyView();
  FileDialogCapture::choose = true;
  FileDialogCapture::chosenPath = path;
  EXPECT_EQ(view->OnCommand(IDM_FILE_OPEN), 1);
  EXPECT_TRUE(SameValues(board, original));
  ExpectViewReset();
  EXPECT_EQ(std::wstring(view->FilePath()), path);

  board.SetValue(0, 0, 5);
  view->Select(1, 1);
  EXPECT_EQ(view->OnCommand(IDM_FILE_SAVE), 1);
  EXPECT_EQ(FileDialogCapture::calls, 1);  // no second dialog
  EXPECT_TRUE(view->IsSelected(1, 1));     // saving keeps the selection
  Board reread;
  ASSERT_TRUE(reread.Load(path.c_str()));
  EXPECT_EQ(reread.GetValue(0, 0), 5);

  // The next dialog starts from the remembered path.
  FileDialogCapture::choose = false;
  view->OnCommand(IDM_FILE_SAVE_AS);
  EXPECT_EQ(FileDialogCapture::pathSeenOnEntry, path);
}

TEST_F(MenuCommandsTest, SaveAsReplacesAnExistingFileWithoutAsking) {
  std::wstring path = folder + L"\\old.kbr";
  WriteWhole(path, "old content\n");
  FillSolvedExcept(board, {});
  FileDialogCapture::choose = true;
  FileDialogCapture::chosenPath = path;
  EXPECT_EQ(view->OnCommand(IDM_FILE_SAVE_AS), 1);
  EXPECT_EQ(FileDialogCapture::lastRequest.Flags & OFN_OVERWRITEPROMPT, 0u);
  EXPECT_TRUE(MessageBoxCapture::shown.empty());
  Board reread;
  ASSERT_TRUE(reread.Load(path.c_str()));
  EXPECT_TRUE(SameValues(reread, board));
}

TEST_F(MenuCommandsTest, AFailedDialogLeavesTheRememberedPathIntact) {
  std::wstring path = folder + L"\\kept.kbr";
  FileDialogCapture::choose = true;
  FileDialogCapture::chosenPath = path;
  ASSERT_EQ(view->OnCommand(IDM_FILE_SAVE_AS), 1);
  FileDialogCapture::choose = false;
  FileDialogCapture::scribble = true;  // as a dialog whose buffer was too small
  EXPECT_EQ(view->OnCommand(IDM_FILE_SAVE_AS), 0);
  EXPECT_EQ(view->OnCommand(IDM_FILE_OPEN), 0);
  EXPECT_EQ(std::wstring(view->FilePath()), path);
}

BOOL WINAPI DialogThatMovesTheCurrentDirectory(OPENFILENAMEW* request) {
  SetCurrentDirectoryW(L"C:\\");
  return FileDialogCapture::Run(request);
}

TEST_F(MenuCommandsTest, ADialogCannotMoveTheCurrentDirectory) {
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  ViewLinks links = view->Links();
  links.saveFileDialog = DialogThatMovesTheCurrentDirectory;
  view->SetLinks(links);
  FileDialogCapture::choose = true;
  FileDialogCapture::chosenPath = folder + L"\\moved.kbr";
  EXPECT_EQ(view->OnCommand(IDM_FILE_SAVE_AS), 1);
  wchar_t after[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_STREQ(after, before);
}

// --- Board commands -------------------------------------------------------------

// A level-2 and a level-3 puzzle, for the stock.
const char kLevel2[] = "...9.....5613.......865....9..7...64.....5.3..3..2.....1.5.6.7...9........6.87.5.";
const char kLevel3[] = "8........35...21.867.....32..8.3....91...5...5....47....5.1..26.9.68.51...3......";

void SetGivens(Board& board, const char* line) {
  board.Clear();
  for (int i = 0; i < 81; ++i) {
    if (line[i] == '.') continue;
    board.SetValue(i / 9, i % 9, line[i] - '0');
    board.SetGiven(i / 9, i % 9);
  }
}

// Each board command of the menus reaches the session: a new puzzle of each
// level from the stock, retry, the answer (without a box), editing, clear,
// undo and redo.
TEST_F(MenuCommandsTest, BoardCommandsReachTheSession) {
  Board puzzles[3];
  FillSolvedExcept(puzzles[0], {0, 10, 20});
  SetGivens(puzzles[1], kLevel2);
  SetGivens(puzzles[2], kLevel3);
  for (const Board& puzzle : puzzles) stock.Add(&puzzle);
  ASSERT_EQ(stock.Count(1) + stock.Count(2) * 10 + stock.Count(3) * 100, 111);
  const WORD levels[] = {IDM_PUZZLE_LEVEL3, IDM_PUZZLE_LEVEL2, IDM_PUZZLE_LEVEL1};
  for (int i = 0; i < 3; ++i) {
    DirtyView();
    EXPECT_EQ(view->OnCommand(levels[i]), 1);
    EXPECT_EQ(stock.Count(3 - i), 0);
    EXPECT_TRUE(SameValues(board, puzzles[2 - i])) << i;
    ExpectViewReset();
  }
  board.SetValue(0, 0, 5);
  EXPECT_EQ(view->OnCommand(IDM_PUZZLE_RETRY), 1);
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_EQ(view->OnCommand(IDM_PUZZLE_ANSWER), 1);
  EXPECT_TRUE(board.IsComplete());
  EXPECT_TRUE(MessageBoxCapture::shown.empty());
  EXPECT_EQ(view->OnCommand(IDM_EDIT_START), 1);
  EXPECT_TRUE(view->IsEditMode());
  EXPECT_EQ(view->OnCommand(IDM_EDIT_CLEAR), 1);
  EXPECT_FALSE(board.HasValue(8, 8));
  EXPECT_EQ(view->OnCommand(IDM_EDIT_END), 1);
  EXPECT_FALSE(view->IsEditMode());
  EXPECT_EQ(view->OnCommand(IDM_EDIT_UNDO), 1);
  EXPECT_TRUE(view->IsEditMode());
  EXPECT_EQ(view->OnCommand(IDM_EDIT_REDO), 1);
  EXPECT_FALSE(view->IsEditMode());
}

TEST_F(MenuCommandsTest, ExitPostsCloseToTheMainWindow) {
  MSG message;
  while (PeekMessageW(&message, window->Handle(), WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
  }
  EXPECT_EQ(view->OnCommand(IDM_FILE_EXIT), 1);
  ASSERT_TRUE(PeekMessageW(&message, window->Handle(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
  EXPECT_EQ(message.lParam, 0);
}

TEST_F(MenuCommandsTest, AboutShowsTheVersionBox) {
  EXPECT_EQ(view->OnCommand(IDM_HELP_ABOUT), 1);
  ASSERT_EQ(MessageBoxCapture::shown.size(), 1u);
  EXPECT_EQ(MessageBoxCapture::shown[0].text, L"Kubri v1.2");
  EXPECT_EQ(MessageBoxCapture::shown[0].caption, L"Kubri");
  EXPECT_EQ(MessageBoxCapture::shown[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(MessageBoxCapture::shown[0].owner, window->Handle());
}

TEST_F(MenuCommandsTest, UnlistedIdentifiersAndMissingBoardReturnZero) {
  FillSolvedExcept(board, {5});
  Board before;
  before.CopyDroppingMarksUnderValues(&board);
  DirtyView();
  for (WORD id : {40043, 40046, 40047, 40055, 40059, 40064, 40067, 40041, 100, 0}) {
    EXPECT_EQ(view->OnCommand(id), 0) << id;
  }
  EXPECT_TRUE(SameValues(board, before));
  EXPECT_TRUE(view->IsSelected(4, 4));
  EXPECT_EQ(FileDialogCapture::calls, 0);

  BoardView alone(TestLinks(nullptr));
  for (WORD id : {IDM_FILE_OPEN, IDM_FILE_SAVE, IDM_PUZZLE_LEVEL1, IDM_PUZZLE_RETRY, IDM_PUZZLE_ANSWER,
                  IDM_EDIT_START, IDM_EDIT_END, IDM_EDIT_CLEAR}) {
    EXPECT_EQ(alone.OnCommand(id), 0) << id;
  }
  EXPECT_FALSE(alone.IsEditMode());
}

// --- Close ------------------------------------------------------------------------

TEST_F(MenuCommandsTest, CloseStopsTheGeneratorAndWritesSizeAndStock) {
  Board puzzle;
  ASSERT_TRUE(puzzle.Generate(1, 1, 50000));
  stock.Add(&puzzle);
  GeneratorThread generator(stock);
  ViewLinks links = view->Links();
  links.generator = &generator;
  std::wstring path = folder + L"\\Kubri.dat";
  links.settingsPath = path.c_str();
  view->SetLinks(links);
  ReadViewSettings(*view, stock);  // no file yet: nothing changes
  view->SetSizeIndex(2);
  ASSERT_TRUE(generator.Start());
  EXPECT_EQ(view->HandleMessage(window->Handle(), WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(generator.HasThread());
  std::string text = ReadWhole(path);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.substr(0, 3), "2\r\n");  // a text-mode file

  PuzzleStock reread;
  BoardView other(TestLinks(&board, &reread));
  ViewSizeSetting setting(other);
  LoadSettingsFile(setting, reread, path.c_str());
  EXPECT_EQ(other.GetSizeIndex(), 2);
  EXPECT_EQ(reread.Count(1) + reread.Count(2) + reread.Count(3),
            stock.Count(1) + stock.Count(2) + stock.Count(3));
  EXPECT_GE(reread.Count(1), 1);
}

TEST_F(MenuCommandsTest, CloseWithoutAGeneratorWritesNothing) {
  std::wstring path = folder + L"\\Kubri.dat";
  ViewLinks links = view->Links();
  links.settingsPath = path.c_str();
  view->SetLinks(links);
  EXPECT_EQ(view->OnClose(), 0);
  EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
