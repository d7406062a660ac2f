// The player's aids under Windows: the menu items, their graying and
// checks, Ctrl+M, the options file found beside the settings file, and the
// clash colour.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "resources/resource_ids.h"
#include "view/board_view.h"
#include "view/view_test_support.h"

namespace {

bool gHeld[256];
SHORT WINAPI HeldKeys(int key) { return gHeld[key & 0xFF] ? static_cast<SHORT>(0x8000) : 0; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class BoardAidsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxCapture::shown.clear();
    for (bool& held : gHeld) held = false;
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int serial = 0;
    folder = std::wstring(base) + L"kubri-aids-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++serial) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    settings = folder + L"Kubri.dat";
    window = std::make_unique<TestWindow>(nullptr);
    // Open: r1c1, r1c2, r1c3 and r2c2 of the solved grid (5 3 4 / 7).
    FillSolvedExcept(board, {0, 1, 2, 10});
    view = MakeView();
  }
  void TearDown() override {
    view.reset();
    for (const wchar_t* name : {L"KubriOptions.dat", L"KubriOptions.dat.bad", L"KubriGame.dat"})
      DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
  }
  std::unique_ptr<BoardView> MakeView() {
    ViewLinks links = TestLinks(&board);
    links.settingsPath = settings.c_str();
    links.keyState = HeldKeys;
    return std::make_unique<BoardView>(links);
  }
  UINT State(UINT id) { return GetMenuState(GetMenu(window->Handle()), id, MF_BYCOMMAND); }
  bool Grayed(UINT id) { return (State(id) & MF_GRAYED) != 0; }
  bool Checked(UINT id) { return (State(id) & MF_CHECKED) != 0; }
  int Key(WORD key, bool ctrl = false, bool shift = false) {
    gHeld[VK_CONTROL] = ctrl;
    gHeld[VK_SHIFT] = shift;
    return view->HandleMessage(window->Handle(), WM_KEYDOWN, key, 0);
  }
  std::string Marks(int row, int col) {
    std::string marks;
    for (int d = 1; d <= 9; ++d) {
      if (board.HasCandidate(row, col, d)) marks += char('0' + d);
    }
    return marks;
  }
  // The colour of the big digit drawn in (row, col), 0 when none is drawn.
  D3DCOLOR DigitColour(int row, int col) {
    view->ResetTriangles();
    view->ResetQuads();
    view->BuildCells();
    for (int i = 0; i < view->QuadCount(); ++i) {
      const TexturedVertex* v = view->QuadVertices() + 6 * i;
      if (v[0].x == view->ColumnX(col) && v[0].y == view->RowY(row) && v[1].x - v[0].x == view->CellWidth())
        return v[0].colour;
    }
    return 0;
  }

  std::wstring folder;
  std::wstring settings;
  std::unique_ptr<TestWindow> window;
  Board board;
  std::unique_ptr<BoardView> view;
};

TEST_F(BoardAidsTest, MenuItemsCarryTheirLabelsAndFollowTheModeAndTheBoard) {
  HMENU bar = GetMenu(window->Handle());
  wchar_t text[64];
  GetMenuStringW(bar, IDM_EDIT_ALL_CANDIDATES, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"\u5019\u88dc\u3092\u5168\u90e8\u8a18\u5165(&M)\tCtrl+M");
  GetMenuStringW(bar, IDM_VIEW_MARKS_FOLLOW, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"\u8a18\u5165\u3067\u5019\u88dc\u3092\u6d88\u3059(&A)");
  GetMenuStringW(bar, IDM_VIEW_SHOW_CLASHES, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"\u91cd\u8907\u3092\u8d64\u3067\u8868\u793a(&D)");
  // The command in 編集, the switches in 表示.
  EXPECT_NE(GetMenuState(GetSubMenu(bar, 2), IDM_EDIT_ALL_CANDIDATES, MF_BYCOMMAND), 0xFFFFFFFFu);
  EXPECT_NE(GetMenuState(GetSubMenu(bar, 3), IDM_VIEW_SHOW_CLASHES, MF_BYCOMMAND), 0xFFFFFFFFu);

  view->UpdateMenuState();
  EXPECT_FALSE(Grayed(IDM_EDIT_ALL_CANDIDATES));
  EXPECT_FALSE(Checked(IDM_VIEW_MARKS_FOLLOW));
  EXPECT_FALSE(Checked(IDM_VIEW_SHOW_CLASHES));
  ASSERT_EQ(view->OnCommand(IDM_EDIT_START), 1);
  EXPECT_TRUE(Grayed(IDM_EDIT_ALL_CANDIDATES));
  ASSERT_EQ(view->OnCommand(IDM_EDIT_END), 1);
  EXPECT_FALSE(Grayed(IDM_EDIT_ALL_CANDIDATES));
  // Ctrl+M is the command; Ctrl+Shift+M is none.
  view->Select(0, 1);
  EXPECT_EQ(Key('M', true, true), 0);
  EXPECT_EQ(Marks(0, 0), "");
  EXPECT_EQ(Key('M', true), 1);
  EXPECT_EQ(Marks(0, 0), "5");
  EXPECT_EQ(Marks(1, 1), "7");
  // Filling the last open cells grays it; undo brings it back.
  for (int i : {0, 1, 2, 10}) {
    view->Select(i / 9, i % 9);
    Key(kSolvedGrid[i]);
  }
  ASSERT_TRUE(board.IsComplete());
  EXPECT_TRUE(Grayed(IDM_EDIT_ALL_CANDIDATES));
  view->Undo();
  EXPECT_FALSE(Grayed(IDM_EDIT_ALL_CANDIDATES));
}

TEST_F(BoardAidsTest, ClashingDigitsTurnRedOnlyWhileClashesAreShown) {
  // The player's 9 in r1c1 repeats the given 9s of r1c7 (row), r3c2 (box)
  // and r7c1 (column).
  board.SetValue(0, 0, 9);
  EXPECT_EQ(DigitColour(0, 0), kPlayerDigitColour);
  EXPECT_EQ(DigitColour(0, 6), kGivenDigitColour);
  view->UpdateMenuState();
  ASSERT_EQ(view->OnCommand(IDM_VIEW_SHOW_CLASHES), 1);
  EXPECT_TRUE(Checked(IDM_VIEW_SHOW_CLASHES));
  EXPECT_EQ(DigitColour(0, 0), kClashColour);
  for (const auto& given : {std::pair<int, int>{0, 6}, {2, 1}, {6, 0}}) {
    EXPECT_EQ(DigitColour(given.first, given.second), kClashColour) << "the givens it repeats as well";
  }
  EXPECT_EQ(DigitColour(3, 2), kGivenDigitColour) << "a 9 in no house of r1c1";
  EXPECT_EQ(DigitColour(1, 2), kGivenDigitColour);
  view->Select(0, 0);
  view->SetHighlight(9);
  EXPECT_EQ(DigitColour(0, 0), kClashColour) << "on the selection";
  EXPECT_EQ(DigitColour(2, 1), kClashColour) << "on the same-digit highlight";
  ASSERT_EQ(view->OnCommand(IDM_VIEW_SHOW_CLASHES), 1);
  EXPECT_EQ(DigitColour(0, 0), kPlayerDigitColour);
  EXPECT_EQ(DigitColour(2, 1), kGivenDigitColour);
}

TEST_F(BoardAidsTest, SwitchesFlipByMenuAndTheirChecksFollowTheOptionsFile) {
  EXPECT_EQ(view->OptionsPath(), folder + L"KubriOptions.dat");
  view->NoteSettingsFileRead();
  view->UpdateMenuState();
  EXPECT_FALSE(Checked(IDM_VIEW_MARKS_FOLLOW));
  ASSERT_EQ(view->OnCommand(IDM_VIEW_MARKS_FOLLOW), 1);
  EXPECT_TRUE(view->Options().marksFollowEntries);
  EXPECT_TRUE(Checked(IDM_VIEW_MARKS_FOLLOW));
  EXPECT_FALSE(Checked(IDM_VIEW_SHOW_CLASHES));
  ASSERT_EQ(view->OnCommand(IDM_VIEW_SHOW_CLASHES), 1);
  EXPECT_TRUE(view->Options().showClashes);
  EXPECT_TRUE(Exists(view->OptionsPath()));

  // The next run: the switches read with the settings are checked.
  view = MakeView();
  view->UpdateMenuState();
  EXPECT_FALSE(Checked(IDM_VIEW_SHOW_CLASHES));
  view->LoadPlayerOptions();
  EXPECT_TRUE(Checked(IDM_VIEW_MARKS_FOLLOW));
  EXPECT_TRUE(Checked(IDM_VIEW_SHOW_CLASHES));
  ASSERT_EQ(view->OnCommand(IDM_VIEW_MARKS_FOLLOW), 1);
  EXPECT_FALSE(Checked(IDM_VIEW_MARKS_FOLLOW));
}

}  // namespace
