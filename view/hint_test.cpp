// The hint command: its menu item, its six messages captured instead of
// shown, the cell it selects, and a board it never changes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "resources/resource_ids.h"
#include "view/board_view.h"
#include "view/view_test_support.h"

namespace {

// A level-2 puzzle whose first cell after what level 1 finds is a hidden
// single that pointing makes possible.
const char kLevel2[] =
    "...9.....5613.......865....9..7...64.....5.3..3..2.....1.5.6.7...9........6.87.5.";
// A level-3 puzzle whose first cell after what level 2 finds is a hidden
// single that a hidden pair in column 6 makes possible.
const char kLevel3[] =
    "8........35...21.867.....32..8.3....91...5...5....47....5.1..26.9.68.51...3......";

// Values, marks and given flags of every cell.
std::string Snapshot(const Board& b) {
  std::string s;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      s += char('0' + b.GetValue(r, c));
      s += b.IsGiven(r, c) ? 'g' : '-';
      for (int d = 1; d <= 9; ++d) s += b.HasCandidate(r, c, d) ? char('0' + d) : '.';
    }
  }
  return s;
}

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
    const std::string before = Snapshot(board);
    MessageBoxCapture::shown.clear();
    EXPECT_EQ(view->HandleMessage(window->Handle(), WM_COMMAND, IDM_PUZZLE_HINT, 0), 1);
    EXPECT_EQ(Snapshot(board), before);
    if (MessageBoxCapture::shown.size() != 1u) {
      ADD_FAILURE() << MessageBoxCapture::shown.size() << " message boxes";
      return L"";
    }
    EXPECT_EQ(MessageBoxCapture::shown[0].caption, L"Kubri");
    EXPECT_EQ(MessageBoxCapture::shown[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(MessageBoxCapture::shown[0].owner, window->Handle());
    return MessageBoxCapture::shown[0].text;
  }

  // The board holds just the puzzle's digits ('.' empty), as givens.
  void LoadGivens(const char* puzzle) {
    board.Clear();
    for (int i = 0; i < 81; ++i) {
      if (puzzle[i] == '.') continue;
      board.SetValue(i / 9, i % 9, puzzle[i] - '0');
      board.SetGiven(i / 9, i % 9);
    }
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

TEST_F(HintTest, AWrongValueIsNamedAndSelectedBeforeAnythingElse) {
  FillSolvedExcept(board, {10, 40, 41});
  board.SetValue(4, 4, 1);          // r5c5 holds 5 in the solution
  board.SetCandidate(4, 5, 3, true);
  board.SetValue(1, 1, 7);          // right
  view->SetHighlight(2);
  EXPECT_EQ(Hint(), L"5\u884c5\u5217\u306e\u300c1\u300d\u306f\u9593\u9055\u3044\u3067\u3059");  // 5行5列の「1」は間違いです
  EXPECT_TRUE(view->IsSelected(4, 4));
  EXPECT_EQ(view->HighlightDigit(), 2);
}

TEST_F(HintTest, TheNextDecidedCellIsNamedWithItsFamily) {
  FillSolvedExcept(board, {80});
  EXPECT_EQ(Hint(), L"9\u884c9\u5217\u306b\u300c9\u300d\u304c\u5165\u308a\u307e\u3059\uff08\u6d88\u53bb\u6cd5\uff09");  // 9行9列に「9」が入ります（消去法）
  EXPECT_TRUE(view->IsSelected(8, 8));

  // Where level 1 is stuck, the hint names what was needed first, where it
  // is and its digits.
  LoadGivens(kLevel2);
  board.SolveAtLevel(1);
  ASSERT_FALSE(board.IsComplete());
  Board solution;
  solution.CopyDroppingMarksUnderValues(&board);
  solution.SolveAtLevel(3);
  ASSERT_EQ(solution.GetValue(1, 4), 7);
  // 2行5列に「7」が入ります（行の隠れシングル、先に2ブロックのポインティング「7」）: the 7s
  // of box 2 point along row 2 and leave r2c5 the row's only place for 7.
  EXPECT_EQ(Hint(),
            L"2\u884c5\u5217\u306b\u300c7\u300d\u304c\u5165\u308a\u307e\u3059\uff08\u884c\u306e\u96a0\u308c"
            L"\u30b7\u30f3\u30b0\u30eb\u3001\u5148\u306b2\u30d6\u30ed\u30c3\u30af\u306e\u30dd\u30a4\u30f3"
            L"\u30c6\u30a3\u30f3\u30b0\u300c7\u300d\uff09");
  EXPECT_TRUE(view->IsSelected(1, 4));

  LoadGivens(kLevel3);
  board.SolveAtLevel(2);
  // 1行4列に「3」が入ります（行の隠れシングル、先に6列の隠れペア「1」「6」）
  EXPECT_EQ(Hint(),
            L"1\u884c4\u5217\u306b\u300c3\u300d\u304c\u5165\u308a\u307e\u3059\uff08\u884c\u306e\u96a0\u308c"
            L"\u30b7\u30f3\u30b0\u30eb\u3001\u5148\u306b6\u5217\u306e\u96a0\u308c\u30da\u30a2\u300c1\u300d"
            L"\u300c6\u300d\uff09");
  EXPECT_TRUE(view->IsSelected(0, 3));
}

// Hard puzzles (Solo's Extreme) where levels 1 to 3 stop: the hint names the
// level-4 technique that goes on and selects the cell it decides.
TEST_F(HintTest, WhereLevelThreeStopsTheHintNamesTheTechniqueOfLevelFour) {
  // The two-string kite itself leaves r4c6 one digit:
  // 4行6列に「7」が入ります（ツーストリングカイト）
  LoadGivens("....51......9..3.5435.7.1.9..153....3.......6....167..5.6.4.8371.9..3......76....");
  board.SolveAtLevel(3);
  ASSERT_FALSE(board.IsComplete());
  EXPECT_EQ(Hint(),
            L"4\u884c6\u5217\u306b\u300c7\u300d\u304c\u5165\u308a\u307e\u3059\uff08\u30c4\u30fc\u30b9"
            L"\u30c8\u30ea\u30f3\u30b0\u30ab\u30a4\u30c8\uff09");
  EXPECT_TRUE(view->IsSelected(3, 5));

  // A W-wing over row 8 leaves r7c3 the only place for 3 in its house:
  // 7行3列に「3」が入ります（HOUSEの隠れシングル、先に8行のWウィング「3」「5」）
  LoadGivens("....2.634...9..82..8.....1...421....7..453..2....879...4.....7..72..8...169.4....");
  board.SolveAtLevel(3);
  ASSERT_FALSE(board.IsComplete());
  const std::wstring text = Hint();
  EXPECT_EQ(text.rfind(L"7\u884c3\u5217\u306b\u300c3\u300d\u304c\u5165\u308a\u307e\u3059\uff08", 0), 0u);
  EXPECT_NE(text.find(L"\u306e\u96a0\u308c\u30b7\u30f3\u30b0\u30eb\u3001\u5148\u306b8\u884c\u306eW"
                      L"\u30a6\u30a3\u30f3\u30b0\u300c3\u300d\u300c5\u300d\uff09"),
            std::wstring::npos);
  EXPECT_TRUE(view->IsSelected(6, 2));
}

TEST_F(HintTest, TwoEqualDigitsOfAHouseAreNamedAndThePlayersOneSelected) {
  // 重なっています: "… overlaps the D of the same row (column, box)".
  auto clash = [](const wchar_t* cell, wchar_t digit, const wchar_t* house) {
    return std::wstring(cell) + L"\u306e\u300c" + digit + L"\u300d\u304c\u540c\u3058" + house +
           L"\u306e\u300c" + digit + L"\u300d\u3068\u91cd\u306a\u3063\u3066\u3044\u307e\u3059";
  };
  const wchar_t* row = L"\u884c";
  const wchar_t* column = L"\u5217";
  const wchar_t* box = L"\u30d6\u30ed\u30c3\u30af";
  board.SetValue(0, 0, 5);  // two of the player's 5s in row 1, no givens
  board.SetValue(0, 4, 5);
  EXPECT_EQ(Hint(), clash(L"1\u884c1\u5217", L'5', row));  // 1行1列の「5」が同じ行の「5」と…
  EXPECT_TRUE(view->IsSelected(0, 0));

  board.Clear();
  board.SetValue(7, 2, 7);  // a given 7 comes first; the player's is selected
  board.SetGiven(7, 2);
  board.SetValue(1, 2, 8);
  board.SetValue(2, 2, 7);
  EXPECT_EQ(Hint(), clash(L"3\u884c3\u5217", L'7', column));
  EXPECT_TRUE(view->IsSelected(2, 2));

  board.Clear();
  board.SetValue(3, 3, 9);
  board.SetGiven(3, 3);
  board.SetValue(4, 5, 9);
  EXPECT_EQ(Hint(), clash(L"5\u884c6\u5217", L'9', box));
  EXPECT_TRUE(view->IsSelected(4, 5));

  board.Clear();  // givens alone that clash: the first
  for (int c : {8, 0}) {
    board.SetValue(8, c, 3);
    board.SetGiven(8, c);
  }
  EXPECT_EQ(Hint(), clash(L"9\u884c1\u5217", L'3', row));
  EXPECT_TRUE(view->IsSelected(8, 0));
}

TEST_F(HintTest, NothingToSayOnAFullBoardAndNoLogicLeftOnABrokenOne) {
  const std::wstring nothing = L"\u30d2\u30f3\u30c8\u306f\u3042\u308a\u307e\u305b\u3093";  // ヒントはありません
  // この問題には解が複数あります
  const std::wstring several = L"\u3053\u306e\u554f\u984c\u306b\u306f\u89e3\u304c\u8907\u6570\u3042\u308a\u307e\u3059";
  // この盤面からは論理だけでは解けません
  const std::wstring noLogic =
      L"\u3053\u306e\u76e4\u9762\u304b\u3089\u306f\u8ad6\u7406\u3060\u3051\u3067\u306f\u89e3\u3051\u307e\u305b\u3093";
  FillSolvedExcept(board, {});
  view->Select(2, 3);
  EXPECT_EQ(Hint(), nothing);
  EXPECT_TRUE(view->IsSelected(2, 3));

  // Givens without a solution leave no digit to hold the player's against,
  // and a solve that decides cells on its way to a contradiction proves
  // nothing: no cell is pointed at, and the player learns that logic ends
  // here. (A 7 at r8c1, where 2 belongs; the 7s of its row, column and box
  // are gone, so nothing clashes.)
  FillSolvedExcept(board, {42, 45, 63, 65, 69});
  board.SetValue(7, 0, 7);
  board.SetGiven(7, 0);
  EXPECT_EQ(Hint(), noLogic);
  EXPECT_TRUE(view->IsSelected(2, 3));

  // Nothing to go on: givens (none here) with several solutions say so.
  board.Clear();
  EXPECT_EQ(Hint(), several);
  board.SetValue(0, 0, 1);
  board.SetGiven(0, 0);
  view->Select(2, 3);
  EXPECT_EQ(Hint(), several);
  EXPECT_TRUE(view->IsSelected(2, 3));

  BoardView alone(TestLinks(nullptr));
  EXPECT_EQ(alone.OnCommand(IDM_PUZZLE_HINT), 0);
}

}  // namespace
