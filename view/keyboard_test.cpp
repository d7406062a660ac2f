// The keys under Windows: each virtual-key code against the session's key
// it stands for, on two views set up alike, one sent WM_KEYDOWN and one
// played through its session; the modifiers and the repeat bit.
#include <gtest/gtest.h>

#include <memory>

#include "view/board_view.h"
#include "view/view_test_support.h"

namespace {

bool gHeld[256];
SHORT WINAPI HeldKeys(int key) { return gHeld[key & 0xFF] ? static_cast<SHORT>(0x8000) : 0; }

// A held key sends WM_KEYDOWN again and again with bit 30 of lParam set.
const LPARAM kRepeat = LPARAM(1) << 30 | 1;

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
    for (Side* side : {&keys, &session}) {
      ViewLinks links = TestLinks(&side->board);
      links.keyState = HeldKeys;
      side->view = std::make_unique<BoardView>(links);
      FillSolvedExcept(side->board, {0, 1, 2, 10});
      side->board.SetValue(0, 2, 4);  // the player's value; the grid holds 4 there
    }
  }
  int Key(WORD key, bool shift = false, bool ctrl = false, bool alt = false, LPARAM lParam = 0) {
    gHeld[VK_SHIFT] = shift;
    gHeld[VK_CONTROL] = ctrl;
    gHeld[VK_MENU] = alt;
    return keys.view->HandleMessage(window->Handle(), WM_KEYDOWN, key, lParam);
  }
  // The key code on one side, the play key it stands for on the other: both
  // act alike and leave the same state. Returns what the key code did.
  int Same(WORD key, bool shift, PlayKey playKey, int digit = 0) {
    const int acted = Key(key, shift);
    EXPECT_EQ(acted, session.view->Session().Key(playKey, digit, shift, false)) << "key " << key;
    ExpectSame();
    return acted;
  }
  void SelectBoth(int row, int col) {
    keys.view->Select(row, col);
    session.view->Select(row, col);
  }
  // Board, marks, selection, highlight, mode and undo steps all agree.
  void ExpectSame() {
    const BoardView& a = *keys.view;
    const BoardView& b = *session.view;
    EXPECT_EQ(a.SelectedRow(), b.SelectedRow());
    EXPECT_EQ(a.SelectedCol(), b.SelectedCol());
    EXPECT_EQ(a.HighlightDigit(), b.HighlightDigit());
    EXPECT_EQ(a.History().UndoCount(), b.History().UndoCount());
    for (int i = 0; i < 81; ++i) {
      const int r = i / 9, c = i % 9;
      EXPECT_EQ(keys.board.GetValue(r, c), session.board.GetValue(r, c)) << "r" << r << "c" << c;
      for (int d = 1; d <= 9; ++d) EXPECT_EQ(keys.board.HasCandidate(r, c, d), session.board.HasCandidate(r, c, d));
    }
  }

  std::unique_ptr<TestWindow> window;
  Side keys;
  Side session;
};

TEST_F(KeyboardTest, KeyCodesPlayAsTheKeysTheyStandFor) {
  EXPECT_EQ(Same(VK_DOWN, false, PlayKey::kDown), 1);  // selects r5c5
  EXPECT_EQ(Same(VK_LEFT, false, PlayKey::kLeft), 1);
  EXPECT_EQ(Same(VK_UP, false, PlayKey::kUp), 1);
  EXPECT_EQ(Same(VK_UP, false, PlayKey::kUp), 1);
  EXPECT_EQ(Same(VK_RIGHT, false, PlayKey::kRight), 1);
  EXPECT_TRUE(keys.view->IsSelected(2, 4));
  // Digits of the main row and of the keypad, with Shift and without.
  SelectBoth(0, 0);
  EXPECT_EQ(Same('1', true, PlayKey::kDigit, 1), 1);
  EXPECT_EQ(Same(VK_NUMPAD9, true, PlayKey::kDigit, 9), 1);
  EXPECT_EQ(Same('9', true, PlayKey::kDigit, 9), 1);
  EXPECT_EQ(Same(VK_NUMPAD5, false, PlayKey::kDigit, 5), 1);
  EXPECT_EQ(keys.board.GetValue(0, 0), 5);
  EXPECT_TRUE(keys.board.HasCandidate(0, 0, 1));
  SelectBoth(0, 1);
  EXPECT_EQ(Same('3', false, PlayKey::kDigit, 3), 1);
  EXPECT_EQ(keys.board.GetValue(0, 1), 3);
  // Delete and Backspace erase; Space highlights.
  SelectBoth(0, 2);
  EXPECT_EQ(Same(VK_DELETE, false, PlayKey::kErase), 1);
  EXPECT_FALSE(keys.board.HasValue(0, 2));
  SelectBoth(0, 1);
  EXPECT_EQ(Same(VK_BACK, false, PlayKey::kErase), 1);
  EXPECT_FALSE(keys.board.HasValue(0, 1));
  SelectBoth(4, 4);
  EXPECT_EQ(Same(VK_SPACE, false, PlayKey::kSpace), 1);
  EXPECT_TRUE(keys.view->HasHighlight());
}

TEST_F(KeyboardTest, OtherKeysCtrlDigitsAndAltAreLeftToTheFramework) {
  keys.view->Select(0, 0);
  session.view->Select(0, 0);
  for (WORD key : {WORD(VK_ESCAPE), WORD(VK_PAUSE), WORD(VK_F3), WORD(VK_F8), WORD(VK_RETURN), WORD('0'),
                   WORD(VK_NUMPAD0), WORD('A')}) {
    EXPECT_EQ(Key(key), 0) << key;
  }
  EXPECT_EQ(Key('5', false, false, true), 0);  // Alt: the menu's
  EXPECT_EQ(Key('5', false, true), 0);         // Ctrl with a digit is no command
  EXPECT_EQ(Key(VK_LEFT, false, true, true), 0);
  ExpectSame();
}

TEST_F(KeyboardTest, TheRepeatBitReachesTheSessionAndCtrlCommandsRepeatOrNot) {
  keys.view->Select(0, 0);
  EXPECT_EQ(Key('5', true), 1);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(Key('5', true, false, false, kRepeat), 0);
  EXPECT_TRUE(keys.board.HasCandidate(0, 0, 5)) << "a held Shift+5 marks once";
  EXPECT_EQ(Key(VK_LEFT, false, false, false, kRepeat), 1) << "moves repeat";
  EXPECT_EQ(Key('M', false, true, false, kRepeat), 0) << "all candidates: once per press";
  EXPECT_EQ(keys.view->History().UndoCount(), 1);
  // A held Ctrl+Z goes on undoing while there is a step.
  EXPECT_EQ(Key('Z', false, true, false, kRepeat), 1);
  EXPECT_EQ(Key('Z', false, true, false, kRepeat), 0);
  EXPECT_FALSE(keys.board.HasCandidate(0, 0, 5));
}

}  // namespace
