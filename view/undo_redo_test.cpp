// Undo and redo in the game: which moves and commands are steps, what comes
// back, the two menu items and their keys.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>

#include "resources/resource_ids.h"
#include "stock/puzzle_stock.h"
#include "view/board_view.h"
#include "view/view_test_support.h"

namespace {

// The modifier keys a test holds down.
bool gHeld[256];
SHORT WINAPI HeldKeys(int key) { return gHeld[key & 0xFF] ? static_cast<SHORT>(0x8000) : 0; }

class UndoRedoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxCapture::shown.clear();
    for (bool& held : gHeld) held = false;
    ViewLinks links = TestLinks(&board, &stock);
    links.keyState = HeldKeys;
    view = std::make_unique<BoardView>(links);
    window = std::make_unique<TestWindow>(view.get());
    FillSolvedExcept(board, {0, 1, 2});
  }
  int Press(bool left, int row, int col, int digit) {
    POINT p = DigitPoint(*view, row, col, digit);
    const UINT message = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
    return view->HandleMessage(window->Handle(), message, 0, MAKELPARAM(p.x, p.y));
  }
  int Key(WORD key, bool ctrl, bool shift = false, bool alt = false) {
    gHeld[VK_CONTROL] = ctrl;
    gHeld[VK_SHIFT] = shift;
    gHeld[VK_MENU] = alt;
    return view->HandleMessage(window->Handle(), WM_KEYDOWN, key, 0);
  }
  bool Grayed(UINT id) {
    return (GetMenuState(GetMenu(window->Handle()), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
  }
  int Steps() const { return view->History().UndoCount(); }

  Board board;
  PuzzleStock stock;
  std::unique_ptr<BoardView> view;
  std::unique_ptr<TestWindow> window;
};

TEST_F(UndoRedoTest, EachMoveIsOneStepAndUndoClearsSelectionAndHighlight) {
  Press(true, 0, 0, 5);  // select: no step
  Press(true, 0, 0, 5);  // mark 5
  Press(true, 0, 0, 5);  // enter 5
  Press(true, 0, 0, 5);
  Press(true, 0, 0, 5);  // select again, highlight 5: no step
  Press(false, 0, 0, 5);  // erase 5, the mark stays
  Press(false, 0, 0, 5);  // unmark 5
  EXPECT_EQ(Steps(), 4);
  view->SetHighlight(3);
  EXPECT_EQ(view->OnCommand(IDM_EDIT_UNDO), 1);
  EXPECT_TRUE(board.HasCandidate(0, 0, 5));
  EXPECT_FALSE(view->IsSelected(0, 0));
  EXPECT_FALSE(view->HasHighlight());
  EXPECT_EQ(view->OnCommand(IDM_EDIT_UNDO), 1);
  EXPECT_EQ(board.GetValue(0, 0), 5);
  EXPECT_EQ(view->OnCommand(IDM_EDIT_REDO), 1);
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_TRUE(board.HasCandidate(0, 0, 5));
}

TEST_F(UndoRedoTest, MenuItemsHeadTheEditMenuGrayedWhenThereIsNothingToUndoOrRedo) {
  HMENU edit = GetSubMenu(GetMenu(window->Handle()), 2);
  wchar_t text[64];
  GetMenuStringW(edit, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"\u5143\u306b\u623b\u3059(&U)\tCtrl+Z");
  GetMenuStringW(edit, 1, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"\u3084\u308a\u76f4\u3057(&R)\tCtrl+Y");
  EXPECT_EQ(GetMenuItemID(edit, 1), static_cast<UINT>(IDM_EDIT_REDO));
  EXPECT_TRUE(Grayed(IDM_EDIT_UNDO));  // as the resource has it
  view->UpdateMenuState();
  EXPECT_TRUE(Grayed(IDM_EDIT_UNDO));
  EXPECT_TRUE(Grayed(IDM_EDIT_REDO));
  EXPECT_EQ(view->OnCommand(IDM_EDIT_UNDO), 0);
  view->OnCommand(IDM_PUZZLE_ANSWER);
  EXPECT_FALSE(Grayed(IDM_EDIT_UNDO));
  EXPECT_TRUE(Grayed(IDM_EDIT_REDO));
  view->OnCommand(IDM_EDIT_UNDO);
  EXPECT_TRUE(Grayed(IDM_EDIT_UNDO));
  EXPECT_FALSE(Grayed(IDM_EDIT_REDO));
  view->OnCommand(IDM_EDIT_START);  // a step: the givens go
  EXPECT_FALSE(Grayed(IDM_EDIT_UNDO));
  EXPECT_TRUE(Grayed(IDM_EDIT_REDO));
}

TEST_F(UndoRedoTest, EditingStepsBringTheModeBackWithTheBoard) {
  view->OnCommand(IDM_EDIT_START);
  Press(true, 0, 0, 5);
  Press(true, 0, 0, 5);       // types in 5
  Press(false, 8, 8, 1);      // erases the 9 at (8, 8)
  view->OnCommand(IDM_EDIT_END);
  EXPECT_EQ(Steps(), 4);
  EXPECT_TRUE(board.IsGiven(0, 0));

  view->OnCommand(IDM_EDIT_UNDO);  // back before leaving edit mode
  EXPECT_TRUE(view->IsEditMode());
  EXPECT_FALSE(board.IsGiven(0, 0));
  EXPECT_FALSE(Grayed(IDM_EDIT_END));
  view->OnCommand(IDM_EDIT_UNDO);
  view->OnCommand(IDM_EDIT_UNDO);
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_EQ(board.GetValue(8, 8), 9);
  EXPECT_TRUE(view->IsEditMode());
  EXPECT_EQ(view->OnCommand(IDM_EDIT_UNDO), 1);  // before edit start: the game with its givens
  EXPECT_FALSE(view->IsEditMode());
  EXPECT_TRUE(board.IsGiven(8, 8));
  EXPECT_TRUE(Grayed(IDM_EDIT_END));
}

TEST_F(UndoRedoTest, UndoingANewPuzzleOrAnOpenedFileBringsBackThePreviousBoard) {
  Board stocked;
  ASSERT_TRUE(stocked.Generate(1, 1, 50000));
  stock.Add(&stocked);
  board.SetCandidate(0, 1, 4, true);
  view->OnCommand(IDM_PUZZLE_LEVEL1);
  view->OnCommand(IDM_EDIT_UNDO);
  EXPECT_EQ(stock.Count(1), 0);  // the stocked puzzle is not put back
  EXPECT_TRUE(board.HasCandidate(0, 1, 4));

  wchar_t path[MAX_PATH];
  GetTempPathW(MAX_PATH, path);
  wcscat(path, L"kubri-undo-test.kbr");
  ASSERT_TRUE(Board().Save(path));  // an empty puzzle
  FileDialogCapture::Reset();
  FileDialogCapture::choose = true;
  FileDialogCapture::chosenPath = path;
  EXPECT_EQ(view->OnCommand(IDM_FILE_OPEN), 1);
  EXPECT_FALSE(board.HasValue(8, 8));
  view->OnCommand(IDM_EDIT_UNDO);
  EXPECT_TRUE(board.IsGiven(8, 8));
  DeleteFileW(path);
}

TEST_F(UndoRedoTest, UndoAndRedoThatFillTheGridShowNoMessage) {
  view->OnCommand(IDM_PUZZLE_ANSWER);
  view->OnCommand(IDM_EDIT_START);
  view->OnCommand(IDM_EDIT_CLEAR);
  view->OnCommand(IDM_EDIT_UNDO);
  view->OnCommand(IDM_EDIT_UNDO);  // full again, in normal play
  EXPECT_TRUE(board.IsComplete());
  EXPECT_FALSE(view->IsEditMode());
  view->OnCommand(IDM_EDIT_UNDO);
  view->OnCommand(IDM_EDIT_REDO);  // the answer again
  EXPECT_TRUE(board.IsComplete() && board.IsCorrect());
  EXPECT_TRUE(MessageBoxCapture::shown.empty());
}

TEST_F(UndoRedoTest, CtrlZUndoesCtrlYAndCtrlShiftZRedoAndOtherKeysDoNothing) {
  view->OnCommand(IDM_PUZZLE_ANSWER);
  view->OnCommand(IDM_PUZZLE_RETRY);
  EXPECT_EQ(Key('Z', false), 0);
  EXPECT_EQ(Key('Z', true, false, true), 0);  // Ctrl+Alt is another character
  EXPECT_EQ(Key(VK_ESCAPE, true), 0);
  EXPECT_EQ(Steps(), 2);
  EXPECT_EQ(Key('Z', true), 1);
  EXPECT_EQ(Key('Z', true), 1);
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_EQ(Key('Y', true), 1);
  EXPECT_TRUE(board.HasValue(0, 0));
  EXPECT_EQ(Key('Z', true, true), 1);
  EXPECT_FALSE(board.HasValue(0, 0));
  EXPECT_EQ(Key('Z', true, true), 0);  // nothing left to redo
}

}  // namespace
