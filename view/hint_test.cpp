// The hint command under Windows: its menu item and its message in the
// game's box. Which cell a hint names, and why, is the session's.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "puzzle/test_files.h"
#include "resources/resource_ids.h"
#include "view/board_view.h"
#include "view/view_test_support.h"

namespace {

class HintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxCapture::shown.clear();
    view = std::make_unique<BoardView>(TestLinks(&board));
    window = std::make_unique<TestWindow>(view.get());
  }
  void TearDown() override {
    window.reset();
    view.reset();
  }
  // Runs the hint and returns the one message it showed, checking that the
  // board is untouched and the box is the game's usual one.
  std::wstring Hint() {
    const std::string before = BoardSnapshot(board);
    MessageBoxCapture::shown.clear();
    EXPECT_EQ(view->HandleMessage(window->Handle(), WM_COMMAND, IDM_PUZZLE_HINT, 0), 1);
    EXPECT_EQ(BoardSnapshot(board), before);
    if (MessageBoxCapture::shown.size() != 1u) {
      ADD_FAILURE() << MessageBoxCapture::shown.size() << " message boxes";
      return L"";
    }
    EXPECT_EQ(MessageBoxCapture::shown[0].caption, L"Kubri");
    EXPECT_EQ(MessageBoxCapture::shown[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(MessageBoxCapture::shown[0].owner, window->Handle());
    return MessageBoxCapture::shown[0].text;
  }

  Board board;
  std::unique_ptr<BoardView> view;
  std::unique_ptr<TestWindow> window;
};

TEST_F(HintTest, MenuItemFollowsTheAnswerAndIsGrayedInEditMode) {
  HMENU puzzle = GetSubMenu(GetMenu(window->Handle()), 1);
  ASSERT_NE(puzzle, nullptr);
  int answer = -1;
  for (int i = 0; i < GetMenuItemCount(puzzle); ++i) {
    if (GetMenuItemID(puzzle, i) == IDM_PUZZLE_ANSWER) answer = i;
  }
  ASSERT_GE(answer, 0);
  EXPECT_EQ(GetMenuItemID(puzzle, answer + 1), 40070u);
  wchar_t label[64];
  GetMenuStringW(puzzle, 40070, label, 64, MF_BYCOMMAND);
  EXPECT_STREQ(label, L"\u30d2\u30f3\u30c8(&H)");  // ヒント(&H)

  auto grayed = [&] { return (GetMenuState(puzzle, 40070, MF_BYCOMMAND) & MF_GRAYED) != 0; };
  view->UpdateMenuState();
  EXPECT_FALSE(grayed());
  view->OnCommand(IDM_EDIT_START);
  EXPECT_TRUE(grayed());
  view->OnCommand(IDM_EDIT_END);
  EXPECT_FALSE(grayed());
}

TEST_F(HintTest, TheSessionsHintIsShownInTheGamesBoxAndCounted) {
  FillSolvedExcept(board, {10, 40, 41});
  board.SetValue(4, 4, 1);  // r5c5 holds 5 in the solution
  EXPECT_EQ(Hint(), L"5\u884c5\u5217\u306e\u300c1\u300d\u306f\u9593\u9055\u3044\u3067\u3059");  // 5行5列の「1」は間違いです
  EXPECT_TRUE(view->IsSelected(4, 4));
  EXPECT_EQ(view->Progress().hints, 1);

  BoardView alone(TestLinks(nullptr));
  MessageBoxCapture::shown.clear();
  EXPECT_EQ(alone.OnCommand(IDM_PUZZLE_HINT), 0);
  EXPECT_TRUE(MessageBoxCapture::shown.empty());
}

}  // namespace
