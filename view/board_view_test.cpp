// The board view's state, layout and hit test, the mouse messages handed on
// to the session, and the verdict's message box, captured instead of shown.
#include "view/board_view.h"

#include <gtest/gtest.h>

#include <memory>

#include "view/view_test_support.h"

namespace {

class BoardViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxCapture::shown.clear();
    view = std::make_unique<BoardView>(TestLinks(&board));
  }
  int Left(int row, int col, int digit) {
    POINT p = DigitPoint(*view, row, col, digit);
    return view->OnLeftButtonDown(static_cast<short>(p.x), static_cast<short>(p.y));
  }
  int Right(int row, int col, int digit) {
    POINT p = DigitPoint(*view, row, col, digit);
    return view->OnRightButtonDown(static_cast<short>(p.x), static_cast<short>(p.y));
  }
  Board board;
  std::unique_ptr<BoardView> view;
};

// --- State ---------------------------------------------------------------------

TEST_F(BoardViewTest, FreshViewHasNoSelectionNoHighlightNormalModeEmptyPathMediumSize) {
  BoardView fresh;
  EXPECT_EQ(fresh.SelectedRow(), -1);
  EXPECT_EQ(fresh.SelectedCol(), -1);
  EXPECT_FALSE(fresh.HasHighlight());
  EXPECT_EQ(fresh.HighlightDigit(), 0);
  EXPECT_FALSE(fresh.IsEditMode());
  EXPECT_EQ(fresh.FilePath()[0], L'\0');
  EXPECT_EQ(fresh.GetSizeIndex(), 1);
  EXPECT_EQ(fresh.OnCreate(0), 1);
}

TEST_F(BoardViewTest, SizeIndexIgnoresOutOfRangeValuesWithoutClamping) {
  view->SetSizeIndex(3);
  view->SetSizeIndex(-1);
  EXPECT_EQ(view->GetSizeIndex(), 1);
  view->SetSizeIndex(2);
  EXPECT_EQ(view->GetSizeIndex(), 2);
}

// --- Layout and hit test ----------------------------------------------------

TEST_F(BoardViewTest, MeasuresFollowTheSizeIndex) {
  const int cells[3] = {48, 32, 24};
  for (int i = 0; i < 3; ++i) {
    view->SetSizeIndex(i);
    EXPECT_EQ(view->CellWidth(), cells[i]);
    EXPECT_EQ(view->CellHeight(), cells[i]);
    EXPECT_EQ(view->MarginX(), cells[i] / 2);
    EXPECT_EQ(view->MarginY(), cells[i] / 2);
    EXPECT_EQ(view->ColumnX(0), cells[i] / 2);
    EXPECT_EQ(view->ColumnX(9), 9 * cells[i] + cells[i] / 2);
    EXPECT_EQ(view->RowY(4), 4 * cells[i] + cells[i] / 2);
    EXPECT_EQ(view->ClientWidth(), 10 * cells[i]);
    EXPECT_EQ(view->ClientHeight(), 10 * cells[i]);
  }
}

TEST_F(BoardViewTest, MeasuresAndHitTestScaleWithTheDpi) {
  EXPECT_EQ(view->Dpi(), 96);
  view->SetDpi(0);
  view->SetDpi(-144);
  view->SetDpi(100000);
  EXPECT_EQ(view->Dpi(), 96);
  view->SetDpi(144);
  const int cells[3] = {72, 48, 36};
  for (int i = 0; i < 3; ++i) {
    view->SetSizeIndex(i);
    EXPECT_EQ(view->CellWidth(), cells[i]);
    EXPECT_EQ(view->CellHeight(), cells[i]);
    EXPECT_EQ(view->ColumnX(9), 9 * cells[i] + cells[i] / 2);
    EXPECT_EQ(view->ClientWidth(), 10 * cells[i]);
  }
  // The medium worked example at one and a half times: (90, 60) is r1c2, digit 8.
  view->SetSizeIndex(1);
  int col = 0, row = 0, digit = 0;
  view->HitTest(90, 60, &col, &row, &digit);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 0);
  EXPECT_EQ(digit, 8);
  // The board now reaches x 455, where 96 DPI ended it at 303.
  view->HitTest(455, 455, &col, &row, &digit);
  EXPECT_EQ(col, 8);
  EXPECT_EQ(row, 8);
  EXPECT_EQ(digit, 9);
  view->HitTest(456, 100, &col, nullptr, nullptr);
  EXPECT_EQ(col, -1);
  view->SetDpi(192);
  view->SetSizeIndex(0);
  EXPECT_EQ(view->ClientWidth(), 960);
}

TEST_F(BoardViewTest, HitTestFindsColumnsAtTheBoardEdgesInMediumSize) {
  int col = 0, row = 0, digit = 0;
  view->HitTest(16, 100, &col, nullptr, nullptr);
  EXPECT_EQ(col, 0);
  view->HitTest(303, 100, &col, nullptr, nullptr);
  EXPECT_EQ(col, 8);
  view->HitTest(304, 100, &col, &row, &digit);
  EXPECT_EQ(col, -1);
  EXPECT_EQ(digit, -1);
  view->HitTest(15, 100, &col, &row, &digit);
  EXPECT_EQ(col, -1);
  EXPECT_EQ(row, (100 - 16) / 32);
  EXPECT_EQ(digit, -1);
}

TEST_F(BoardViewTest, HitTestWorkedExampleGivesDigitEight) {
  int col = 0, row = 0, digit = 0;
  view->HitTest(60, 40, &col, &row, &digit);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 0);
  EXPECT_EQ(digit, 8);
}

TEST_F(BoardViewTest, HitTestSplitsCellsIntoKeypadThirdsInEverySize) {
  struct {
    int size;
    int lastOfFirst;
    int lastOfSecond;
  } thirds[] = {{0, 15, 31}, {1, 10, 21}, {2, 7, 15}};
  for (const auto& t : thirds) {
    view->SetSizeIndex(t.size);
    const int cell = view->CellWidth();
    const int left = view->ColumnX(4);
    const int top = view->RowY(2);
    int digit = 0;
    view->HitTest(static_cast<short>(left), static_cast<short>(top), nullptr, nullptr, &digit);
    EXPECT_EQ(digit, 1) << t.size;
    view->HitTest(static_cast<short>(left + cell - 1), static_cast<short>(top + cell - 1), nullptr, nullptr,
                  &digit);
    EXPECT_EQ(digit, 9) << t.size;
    view->HitTest(static_cast<short>(left + t.lastOfFirst), static_cast<short>(top), nullptr, nullptr, &digit);
    EXPECT_EQ(digit, 1) << t.size;
    view->HitTest(static_cast<short>(left + t.lastOfFirst + 1), static_cast<short>(top), nullptr, nullptr,
                  &digit);
    EXPECT_EQ(digit, 2) << t.size;
    view->HitTest(static_cast<short>(left), static_cast<short>(top + t.lastOfSecond), nullptr, nullptr, &digit);
    EXPECT_EQ(digit, 4) << t.size;
    view->HitTest(static_cast<short>(left), static_cast<short>(top + t.lastOfSecond + 1), nullptr, nullptr,
                  &digit);
    EXPECT_EQ(digit, 7) << t.size;
  }
  view->SetSizeIndex(0);
  int digit = 0;
  view->HitTest(static_cast<short>(view->ColumnX(3) + 24), static_cast<short>(view->RowY(3) + 24), nullptr,
                nullptr, &digit);
  EXPECT_EQ(digit, 5);
}

TEST_F(BoardViewTest, HitTestInTheTopMarginKeepsTheColumnOnly) {
  int col = 0, row = 0, digit = 0;
  view->HitTest(100, 5, &col, &row, &digit);
  EXPECT_EQ(col, (100 - 16) / 32);
  EXPECT_EQ(row, -1);
  EXPECT_EQ(digit, -1);
  view->HitTest(-3, -3, &col, &row, &digit);
  EXPECT_EQ(col, -1);
  EXPECT_EQ(row, -1);
  EXPECT_EQ(digit, -1);
}

// --- Mouse messages ----------------------------------------------------------------

TEST_F(BoardViewTest, ButtonsPressTheCellAndKeypadDigitUnderThePoint) {
  EXPECT_EQ(Left(2, 3, 1), 1);
  EXPECT_TRUE(view->IsSelected(2, 3));
  Left(2, 3, 1);
  Left(2, 3, 9);
  EXPECT_TRUE(board.HasCandidate(2, 3, 1));
  EXPECT_TRUE(board.HasCandidate(2, 3, 9));
  EXPECT_FALSE(board.HasCandidate(2, 3, 5));
  EXPECT_EQ(Right(2, 3, 9), 1);
  EXPECT_FALSE(board.HasCandidate(2, 3, 9));
  EXPECT_TRUE(view->IsSelected(2, 3));
  EXPECT_EQ(Left(2, 3, 1), 1);
  EXPECT_EQ(board.GetValue(2, 3), 1);
  EXPECT_TRUE(MessageBoxCapture::shown.empty());
}

TEST_F(BoardViewTest, DoubleClickMessagesActExactlyAsPresses) {
  Board other;
  auto twin = std::make_unique<BoardView>(TestLinks(&other));
  const UINT pairs[2][2] = {{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}, {WM_RBUTTONDOWN, WM_RBUTTONDBLCLK}};
  const int sequence[][4] = {{0, 0, 1, 0}, {0, 0, 1, 1}, {0, 0, 1, 1}, {1, 1, 9, 0}, {1, 1, 9, 0},
                             {1, 1, 9, 1}, {1, 1, 9, 0}, {1, 1, 9, 0}, {0, 0, 1, 1}};
  for (const auto& s : sequence) {
    POINT p = DigitPoint(*view, s[0], s[1], s[2]);
    LPARAM at = MAKELPARAM(p.x, p.y);
    int a = view->HandleMessage(nullptr, pairs[s[3]][0], 0, at);
    int b = twin->HandleMessage(nullptr, pairs[s[3]][1], 0, at);
    EXPECT_EQ(a, b);
    EXPECT_EQ(view->SelectedRow(), twin->SelectedRow());
    EXPECT_EQ(view->SelectedCol(), twin->SelectedCol());
    for (int d = 1; d <= 9; ++d) {
      EXPECT_EQ(board.HasCandidate(s[0], s[1], d), other.HasCandidate(s[0], s[1], d));
    }
    EXPECT_EQ(board.GetValue(s[0], s[1]), other.GetValue(s[0], s[1]));
  }
}

TEST_F(BoardViewTest, PressesOutsideTheCellsOrWithoutABoardAreIgnored) {
  Left(3, 3, 1);
  EXPECT_EQ(view->OnLeftButtonDown(10, 10), 0);
  EXPECT_EQ(view->OnRightButtonDown(10, 10), 0);
  EXPECT_EQ(view->OnLeftButtonDown(-5, 100), 0);
  EXPECT_EQ(view->OnRightButtonDown(100, -5), 0);
  EXPECT_EQ(view->OnLeftButtonDown(310, 310), 0);
  EXPECT_TRUE(view->IsSelected(3, 3));
  BoardView alone;
  POINT p = DigitPoint(alone, 0, 0, 1);
  EXPECT_EQ(alone.OnLeftButtonDown(static_cast<short>(p.x), static_cast<short>(p.y)), 0);
  EXPECT_EQ(alone.OnRightButtonDown(static_cast<short>(p.x), static_cast<short>(p.y)), 0);
  EXPECT_FALSE(alone.IsSelected(0, 0));
}

// --- The verdict's box -------------------------------------------------------------

TEST_F(BoardViewTest, TheVerdictIsAnOkBoxCaptionedKubriOwnedByTheMainWindow) {
  TestWindow window(view.get());
  FillSolvedExcept(board, {0});
  Left(0, 0, 3);
  Left(0, 0, 3);
  Left(0, 0, 3);  // the grid holds 5 there
  ASSERT_EQ(MessageBoxCapture::shown.size(), 1u);
  EXPECT_EQ(MessageBoxCapture::shown[0].text, L"\u4e0d\u6b63\u89e3(\u00b4\uff65\u03c9\uff65`)");
  EXPECT_EQ(MessageBoxCapture::shown[0].caption, L"Kubri");
  EXPECT_EQ(MessageBoxCapture::shown[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(MessageBoxCapture::shown[0].owner, window.Handle());
  Left(0, 0, 1);
  Right(0, 0, 1);  // erased
  Left(0, 0, 5);
  Left(0, 0, 5);
  ASSERT_EQ(MessageBoxCapture::shown.size(), 2u);
  EXPECT_EQ(MessageBoxCapture::shown[1].text, L"\u6b63\u89e3\uff3c(^\u25bd^)\uff0f");
  EXPECT_EQ(MessageBoxCapture::shown[1].caption, L"Kubri");
  EXPECT_EQ(MessageBoxCapture::shown[1].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(MessageBoxCapture::shown[1].owner, window.Handle());
}

}  // namespace
