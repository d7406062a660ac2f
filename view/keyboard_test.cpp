// The keys that play: each one against the click it stands for, on two views
// set up alike, one driven by the key and one by the click.
#include <gtest/gtest.h>

#include <memory>

#include "resources/resource_ids.h"
#include "view/board_view.h"
#include "view/view_test_support.h"

namespace {

bool gHeld[256];
SHORT WINAPI HeldKeys(int key) { return gHeld[key & 0xFF] ? static_cast<SHORT>(0x8000) : 0; }

struct Side {
  Board board;
  std::unique_ptr<BoardView> view;
};

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxCapture::shown.clear();
    for (bool& held : gHeld) held = false;
    window = std::make_unique<TestWindow>(nullptr);
    for (Side* side : {&keys, &clicks}) {
      ViewLinks links = TestLinks(&side->board);
      links.keyState = HeldKeys;
      side->view = std::make_unique<BoardView>(links);
      FillSolvedExcept(side->board, {0, 1, 2, 10});
      side->board.SetValue(0, 2, 4);  // the player's value; the grid holds 4 there
    }
  }
  // Both views alike: a left press at digit `digit` of (row, col).
  void Both(bool left, int row, int col, int digit) {
    Press(keys, left, row, col, digit);
    Press(clicks, left, row, col, digit);
  }
  int Press(Side& side, bool left, int row, int col, int digit) {
    const POINT p = DigitPoint(*side.view, row, col, digit);
    return side.view->HandleMessage(window->Handle(), left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0,
                                    MAKELPARAM(p.x, p.y));
  }
  int Key(WORD key, bool shift = false, bool ctrl = false, bool alt = false) {
    gHeld[VK_SHIFT] = shift;
    gHeld[VK_CONTROL] = ctrl;
    gHeld[VK_MENU] = alt;
    return keys.view->HandleMessage(window->Handle(), WM_KEYDOWN, key, 0);
  }
  // Board, marks, selection, highlight, mode and undo steps all agree.
  void ExpectSame() {
    const BoardView& a = *keys.view;
    const BoardView& b = *clicks.view;
    EXPECT_EQ(a.SelectedRow(), b.SelectedRow());
    EXPECT_EQ(a.SelectedCol(), b.SelectedCol());
    EXPECT_EQ(a.HighlightDigit(), b.HighlightDigit());
    EXPECT_EQ(a.IsEditMode(), b.IsEditMode());
    EXPECT_EQ(a.History().UndoCount(), b.History().UndoCount());
    for (int i = 0; i < 81; ++i) {
      const int r = i / 9, c = i % 9;
      EXPECT_EQ(keys.board.GetValue(r, c), clicks.board.GetValue(r, c)) << "r" << r << "c" << c;
      EXPECT_EQ(keys.board.IsGiven(r, c), clicks.board.IsGiven(r, c));
      for (int d = 1; d <= 9; ++d) EXPECT_EQ(keys.board.HasCandidate(r, c, d), clicks.board.HasCandidate(r, c, d));
    }
  }

  std::unique_ptr<TestWindow> window;
  Side keys;
  Side clicks;
};

TEST_F(KeyboardTest, DigitOnAMarkedDigitIsTheClickThatEntersIt) {
  Both(true, 0, 0, 5);
  Both(true, 0, 0, 5);  // marked
  EXPECT_EQ(Key('5'), 1);
  Press(clicks, true, 0, 0, 5);
  ExpectSame();
  EXPECT_FALSE(keys.view->IsSelected(0, 0));
}

TEST_F(KeyboardTest, DigitOnAnUnmarkedEmptyCellEntersItInOneStep) {
  Both(true, 0, 0, 1);  // select
  EXPECT_EQ(Key(VK_NUMPAD7), 1);
  EXPECT_EQ(keys.board.GetValue(0, 0), 7);
  EXPECT_FALSE(keys.board.HasCandidate(0, 0, 7));
  EXPECT_FALSE(keys.view->IsSelected(0, 0));
  EXPECT_EQ(keys.view->History().UndoCount(), 1);
}

TEST_F(KeyboardTest, MainRowAndKeypadDigitsAreTheSame) {
  for (WORD key : {WORD('3'), WORD(VK_NUMPAD3)}) {
    keys.board.ClearValue(0, 0);
    keys.view->Select(0, 0);
    Key(key);
    EXPECT_EQ(keys.board.GetValue(0, 0), 3);
  }
}

TEST_F(KeyboardTest, DigitThatFillsTheGridIsJudgedAsTheClickIs) {
  FillSolvedExcept(keys.board, {0});
  FillSolvedExcept(clicks.board, {0});
  Both(true, 0, 0, 9);
  Both(true, 0, 0, 9);  // 9 marked; the grid holds 5 at r1c1
  Key('9');
  Press(clicks, true, 0, 0, 9);
  ASSERT_EQ(MessageBoxCapture::shown.size(), 2u);
  EXPECT_EQ(MessageBoxCapture::shown[0].text, kWrongMessage);
  EXPECT_EQ(MessageBoxCapture::shown[1].text, kWrongMessage);
  ExpectSame();
  keys.board.ClearValue(0, 0);
  keys.view->Select(0, 0);
  Key('5');
  ASSERT_EQ(MessageBoxCapture::shown.size(), 3u);
  EXPECT_EQ(MessageBoxCapture::shown[2].text, kCorrectMessage);
  EXPECT_EQ(MessageBoxCapture::shown[2].caption, L"Kubri");
}

TEST_F(KeyboardTest, ShiftDigitSetsAMarkAsALeftClickAndClearsItAsARightClick) {
  Both(true, 0, 0, 5);
  EXPECT_EQ(Key('6', true), 1);
  Press(clicks, true, 0, 0, 6);
  ExpectSame();
  EXPECT_TRUE(keys.board.HasCandidate(0, 0, 6));
  EXPECT_EQ(Key('6', true), 1);
  Press(clicks, false, 0, 0, 6);
  ExpectSame();
  EXPECT_FALSE(keys.board.HasCandidate(0, 0, 6));
  EXPECT_TRUE(keys.view->IsSelected(0, 0));
}

TEST_F(KeyboardTest, DeleteAndBackspaceAreARightClickOnTheSelectedCell) {
  // The player's value is erased and the selection stays.
  Both(true, 0, 2, 1);
  EXPECT_EQ(Key(VK_DELETE), 1);
  Press(clicks, false, 0, 2, 1);
  ExpectSame();
  EXPECT_FALSE(keys.board.HasValue(0, 2));
  // An empty cell with a mark elsewhere: the selection goes, the mark stays.
  Both(true, 0, 2, 8);
  EXPECT_EQ(Key(VK_BACK), 1);
  Press(clicks, false, 0, 2, 1);
  ExpectSame();
  EXPECT_TRUE(keys.board.HasCandidate(0, 2, 8));
  // A given only loses the selection.
  Both(true, 4, 4, 1);
  EXPECT_EQ(Key(VK_DELETE), 1);
  Press(clicks, false, 4, 4, 1);
  ExpectSame();
  EXPECT_TRUE(keys.board.HasValue(4, 4));
}

TEST_F(KeyboardTest, SpaceIsALeftClickOnTheSelectedFilledCell) {
  Both(true, 4, 4, 1);
  EXPECT_EQ(Key(VK_SPACE), 1);
  Press(clicks, true, 4, 4, 1);
  ExpectSame();
  EXPECT_TRUE(keys.view->HasHighlight());
  EXPECT_EQ(Key(VK_SPACE), 1);
  Press(clicks, true, 4, 4, 1);
  ExpectSame();
  EXPECT_FALSE(keys.view->HasHighlight());
  Both(true, 0, 0, 1);  // an empty cell: Space does nothing
  EXPECT_EQ(Key(VK_SPACE), 0);
  ExpectSame();
}

TEST_F(KeyboardTest, GivensAndThePlayersValuesAreNotOverwritten) {
  Both(true, 4, 4, 1);
  const int given = keys.board.GetValue(4, 4);
  EXPECT_EQ(Key(given == 9 ? '1' : '9'), 0);
  EXPECT_EQ(Key('1', true), 0);
  EXPECT_EQ(keys.board.GetValue(4, 4), given);
  Both(true, 0, 2, 1);
  EXPECT_EQ(Key('8'), 0);
  EXPECT_EQ(keys.board.GetValue(0, 2), 4);
  ExpectSame();
}

TEST_F(KeyboardTest, EditModeDigitTypesThePuzzleInAsTheClickDoes) {
  keys.view->OnCommand(IDM_EDIT_START);
  clicks.view->OnCommand(IDM_EDIT_START);
  Both(true, 4, 4, 1);
  EXPECT_EQ(Key('2'), 1);
  Press(clicks, true, 4, 4, 2);
  ExpectSame();
  EXPECT_EQ(keys.board.GetValue(4, 4), 2);
  Both(true, 4, 4, 1);
  EXPECT_EQ(Key('2', true), 0);  // no marks while typing in
  ExpectSame();
}

TEST_F(KeyboardTest, DeleteWhileTypingInBlanksTheSelectedCellAsOneStep) {
  keys.view->OnCommand(IDM_EDIT_START);
  keys.board.SetCandidate(4, 4, 3, true);
  keys.view->Select(4, 4);
  const int steps = keys.view->History().UndoCount();
  EXPECT_EQ(Key(VK_DELETE), 1);
  EXPECT_FALSE(keys.board.HasValue(4, 4));
  EXPECT_TRUE(keys.board.HasCandidate(4, 4, 3));  // marks stay
  EXPECT_TRUE(keys.view->IsSelected(4, 4));       // ready for the next digit
  EXPECT_EQ(keys.view->History().UndoCount(), steps + 1);
  EXPECT_EQ(Key(VK_BACK), 0);  // already blank: no step
  EXPECT_EQ(keys.view->History().UndoCount(), steps + 1);
  Key('7');
  EXPECT_EQ(keys.board.GetValue(4, 4), 7);
  keys.view->Select(4, 4);
  EXPECT_EQ(Key(VK_BACK), 1);
  EXPECT_FALSE(keys.board.HasValue(4, 4));
  EXPECT_EQ(Key('Z', false, true), 1);  // one undo brings the 7 back
  EXPECT_EQ(keys.board.GetValue(4, 4), 7);
  EXPECT_TRUE(keys.view->IsEditMode());
}

// A held key sends WM_KEYDOWN again and again with bit 30 of lParam set.
TEST_F(KeyboardTest, HeldKeysRepeatOnlyMovesAndUndo) {
  const LPARAM kRepeat = LPARAM(1) << 30 | 1;
  const auto held = [&](WORD key, bool shift, int times) {
    gHeld[VK_SHIFT] = shift;
    gHeld[VK_CONTROL] = key == 'Z' || key == 'M';
    int acted = 0;
    for (int i = 0; i < times; ++i) {
      acted += keys.view->HandleMessage(window->Handle(), WM_KEYDOWN, key, kRepeat);
    }
    return acted;
  };
  Both(true, 0, 0, 1);
  // Shift+5 held: one mark, one step, whatever the repeats.
  EXPECT_EQ(Key('5', true), 1);
  EXPECT_EQ(held('5', true, 25), 0);
  EXPECT_TRUE(keys.board.HasCandidate(0, 0, 5));
  EXPECT_EQ(keys.view->History().UndoCount(), 1);
  // Shift let go before the 5: the repeats do not enter it.
  EXPECT_EQ(held('5', false, 3), 0);
  EXPECT_FALSE(keys.board.HasValue(0, 0));
  // Delete and Space held act once.
  EXPECT_EQ(held(VK_DELETE, false, 3), 0);
  EXPECT_TRUE(keys.view->IsSelected(0, 0));
  keys.view->Select(4, 4);
  EXPECT_EQ(Key(VK_SPACE), 1);
  EXPECT_EQ(held(VK_SPACE, false, 3), 0);
  EXPECT_TRUE(keys.view->HasHighlight());
  EXPECT_EQ(held('M', false, 3), 0);  // all candidates: once per press
  // The arrows go on moving, and a held Ctrl+Z goes on undoing.
  EXPECT_EQ(held(VK_LEFT, false, 6), 6);
  EXPECT_TRUE(keys.view->IsSelected(4, 0));
  EXPECT_EQ(held('Z', false, 2), 1);  // one step to undo, then nothing
  EXPECT_FALSE(keys.board.HasCandidate(0, 0, 5));
}

TEST_F(KeyboardTest, ArrowsMoveTheSelectionFromTheCentreAndStopAtTheEdges) {
  EXPECT_EQ(Key(VK_UP), 1);
  EXPECT_TRUE(keys.view->IsSelected(4, 4));
  for (int i = 0; i < 6; ++i) Key(VK_LEFT);
  EXPECT_TRUE(keys.view->IsSelected(4, 0));
  for (int i = 0; i < 6; ++i) Key(VK_DOWN);
  EXPECT_TRUE(keys.view->IsSelected(8, 0));
  Key(VK_RIGHT);
  Key(VK_UP);
  EXPECT_TRUE(keys.view->IsSelected(7, 1));
  EXPECT_EQ(keys.view->History().UndoCount(), 0);
}

TEST_F(KeyboardTest, WithoutASelectionKeysChangeNothingAndFrameworkKeysAreLeftAlone) {
  for (WORD key : {WORD('5'), WORD(VK_DELETE), WORD(VK_SPACE)}) EXPECT_EQ(Key(key), 0);
  Both(true, 0, 0, 1);
  for (WORD key : {WORD(VK_ESCAPE), WORD(VK_PAUSE), WORD(VK_F3), WORD(VK_F8), WORD(VK_RETURN)}) {
    EXPECT_EQ(Key(key), 0);
  }
  EXPECT_EQ(Key('5', false, false, true), 0);  // Alt: the menu's
  ExpectSame();
  Key('5');
  EXPECT_EQ(Key('Z', false, true), 1);  // Ctrl+Z still undoes
  EXPECT_FALSE(keys.board.HasValue(0, 0));
  EXPECT_EQ(Key('Y', false, true), 1);
  EXPECT_EQ(keys.board.GetValue(0, 0), 5);
}

}  // namespace
