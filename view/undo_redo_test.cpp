// Undo and redo under Windows: the two menu items, their graying, which
// follows the history and the mode an undo brings back, and their keys.
#include <gtest/gtest.h>

#include <memory>

#include "resources/resource_ids.h"
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
    ViewLinks links = TestLinks(&board);
    links.keyState = HeldKeys;
    view = std::make_unique<BoardView>(links);
    window = std::make_unique<TestWindow>(view.get());
    FillSolvedExcept(board, {0, 1, 2});
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
  std::unique_ptr<BoardView> view;
  std::unique_ptr<TestWindow> window;
};

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
  EXPECT_FALSE(Grayed(IDM_EDIT_END));
  // The mode an undo or redo brings back grays the items of the other mode.
  view->OnCommand(IDM_EDIT_UNDO);
  EXPECT_TRUE(Grayed(IDM_EDIT_END));
  EXPECT_FALSE(Grayed(IDM_EDIT_START));
  view->OnCommand(IDM_EDIT_REDO);
  EXPECT_FALSE(Grayed(IDM_EDIT_END));
  EXPECT_TRUE(Grayed(IDM_EDIT_START));
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
