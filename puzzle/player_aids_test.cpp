// The player's aids: what all candidates marks, which marks an entry takes
// away, which digits clash, and each one undone as one step.
#include "puzzle/player_aids.h"

#include <gtest/gtest.h>

#include <memory>

#include "puzzle/board_history.h"
#include "puzzle/test_files.h"

namespace {

// A solved grid's digit at (row, col).
int SolvedDigit(int row, int col) { return (row * 3 + row / 3 + col) % 9 + 1; }

void Give(Board& board, int row, int col, int digit) {
  board.SetValue(row, col, digit);
  board.SetGiven(row, col);
}

// Applies `change` to the shown state as one step, then undoes it: the
// state must be exactly the one before, and redo the one after.
template <typename Change>
void ExpectOneUndoStep(const BoardState& start, Change change) {
  auto history = std::make_unique<BoardHistory>();
  BoardState shown = start;
  change(shown.board);
  const BoardState after = shown;
  ASSERT_TRUE(history->Record(start, after));
  ASSERT_TRUE(history->Undo(shown));
  EXPECT_TRUE(SameState(shown, start));
  EXPECT_FALSE(history->CanUndo());
  ASSERT_TRUE(history->Redo(shown));
  EXPECT_TRUE(SameState(shown, after));
}

TEST(FillAllCandidates, MarksWhatEachHouseLacksAndReplacesTheOldMarks) {
  Board board;
  Give(board, 0, 0, 1);          // row 0 and box 0
  board.SetValue(0, 8, 2);       // the player's digit counts as well
  Give(board, 8, 4, 3);          // column 4
  Give(board, 1, 1, 4);          // box 0, not row 0 or column 4
  board.SetCandidate(0, 4, 1, true);  // stale: row 0 holds 1
  board.SetCandidate(2, 2, 9, true);
  board.SetCandidate(0, 8, 7, true);  // under the player's 2
  EXPECT_TRUE(FillAllCandidates(board));
  EXPECT_EQ(CellMarks(board, 0, 4), "456789");  // row: 1 2; column: 3
  EXPECT_EQ(CellMarks(board, 2, 2), "2356789");  // box: 1 4; the old 9 stays as it is open
  EXPECT_EQ(CellMarks(board, 5, 5), "123456789");
  EXPECT_EQ(CellMarks(board, 0, 8), "7");        // a cell with a value keeps what lies under it
  EXPECT_EQ(CellMarks(board, 0, 0), "");         // givens get no marks
  EXPECT_FALSE(FillAllCandidates(board)) << "a second fill changes nothing";
}

TEST(FillAllCandidates, IgnoresFullBoardsAndEmptyGivens) {
  Board board;
  for (int i = 0; i < 81; ++i) board.SetValue(i / 9, i % 9, SolvedDigit(i / 9, i % 9));
  EXPECT_FALSE(HasOpenCell(board));
  EXPECT_FALSE(FillAllCandidates(board));
  board.ClearValue(3, 3);
  board.SetGiven(3, 3);  // an empty given: nothing to mark there
  EXPECT_FALSE(HasOpenCell(board));
  EXPECT_FALSE(FillAllCandidates(board));
  board.ClearGiven(3, 3);
  EXPECT_TRUE(HasOpenCell(board));
  EXPECT_TRUE(FillAllCandidates(board));
  EXPECT_EQ(board.CandidateCount(3, 3), 1);
}

TEST(FillAllCandidates, IsUndoneAsOneStep) {
  BoardState start;
  Give(start.board, 4, 4, 5);
  start.board.SetCandidate(4, 5, 5, true);
  start.board.SetCandidate(7, 7, 2, true);
  start.board.SetValue(6, 6, 8);
  start.board.SetCandidate(6, 6, 3, true);  // kept under a value
  ExpectOneUndoStep(start, [](Board& board) { FillAllCandidates(board); });
}

TEST(ClearPeerMarks, TakesTheDigitFromRowColumnAndBoxOnly) {
  Board board;
  const int cells[][2] = {{3, 0}, {3, 8}, {0, 4}, {8, 4}, {5, 5}, {4, 3}, {0, 0}, {8, 8}, {2, 5}};
  for (const auto& cell : cells) {
    board.SetCandidate(cell[0], cell[1], 6, true);
    board.SetCandidate(cell[0], cell[1], 2, true);
  }
  board.SetCandidate(4, 4, 6, true);
  board.SetValue(4, 4, 6);            // the entry; its own marks stay stored
  board.SetValue(5, 5, 9);            // a peer's marks under its value go too
  Give(board, 3, 3, 1);
  EXPECT_TRUE(ClearPeerMarks(board, 4, 4, 6));
  // Row 3 is no peer of (4, 4), nor column 5 outside the box.
  EXPECT_EQ(CellMarks(board, 3, 0), "26");
  EXPECT_EQ(CellMarks(board, 3, 8), "26");
  EXPECT_EQ(CellMarks(board, 2, 5), "26");
  EXPECT_EQ(CellMarks(board, 0, 0), "26");
  EXPECT_EQ(CellMarks(board, 8, 8), "26");
  EXPECT_EQ(CellMarks(board, 0, 4), "2");  // column
  EXPECT_EQ(CellMarks(board, 8, 4), "2");
  EXPECT_EQ(CellMarks(board, 4, 3), "2");  // row and box
  EXPECT_EQ(CellMarks(board, 5, 5), "2");  // box, under a value
  EXPECT_EQ(CellMarks(board, 4, 4), "6");
  EXPECT_FALSE(ClearPeerMarks(board, 4, 4, 6)) << "nothing left to take";
}

TEST(ClearPeerMarks, IgnoresCellsAndDigitsOutsideTheirRanges) {
  Board board;
  for (int i = 0; i < 81; ++i) board.SetCandidate(i / 9, i % 9, 1, true);
  EXPECT_FALSE(ClearPeerMarks(board, -1, 0, 1));
  EXPECT_FALSE(ClearPeerMarks(board, 0, 9, 1));
  EXPECT_FALSE(ClearPeerMarks(board, 0, 0, 0));
  EXPECT_FALSE(ClearPeerMarks(board, 0, 0, 10));
  for (int i = 0; i < 81; ++i) EXPECT_EQ(CellMarks(board, i / 9, i % 9), "1");
  EXPECT_TRUE(ClearPeerMarks(board, 8, 8, 1));
  int left = 0;
  for (int i = 0; i < 81; ++i) left += board.CandidateCount(i / 9, i % 9);
  EXPECT_EQ(left, 81 - 20) << "a cell has twenty peers";
}

TEST(ClearPeerMarks, GoesWithItsEntryAsOneStep) {
  BoardState start;
  start.board.SetCandidate(0, 0, 7, true);
  start.board.SetCandidate(0, 5, 7, true);
  start.board.SetCandidate(1, 1, 7, true);
  start.board.SetCandidate(1, 1, 3, true);
  ExpectOneUndoStep(start, [](Board& board) {
    board.SetValue(0, 0, 7);
    ClearPeerMarks(board, 0, 0, 7);
  });
}

TEST(FindClashes, MarksEveryCopyOfADigitRepeatedInARowColumnOrBox) {
  Board board;
  EXPECT_EQ(FindClashes(board).Count(), 0);
  // Three 5s in row 2; the player's 5 clashes with two givens.
  Give(board, 2, 0, 5);
  Give(board, 2, 7, 5);
  board.SetValue(2, 4, 5);
  // Column 6: two 8s far apart.
  board.SetValue(0, 6, 8);
  board.SetValue(8, 6, 8);
  // Box 4 only: two 3s in different rows and columns.
  Give(board, 3, 3, 3);
  board.SetValue(5, 5, 3);
  // Equal digits sharing no house do not clash.
  board.SetValue(6, 0, 9);
  board.SetValue(7, 3, 9);
  board.SetValue(8, 8, 9);
  const ClashMap clashes = FindClashes(board);
  for (const auto& cell : {std::pair<int, int>{2, 0}, {2, 7}, {2, 4}, {0, 6}, {8, 6}, {3, 3}, {5, 5}}) {
    EXPECT_TRUE(clashes.At(cell.first, cell.second)) << cell.first << "," << cell.second;
  }
  EXPECT_EQ(clashes.Count(), 7);
  EXPECT_FALSE(clashes.At(6, 0));
  EXPECT_FALSE(clashes.At(-1, 0));
  EXPECT_FALSE(clashes.At(0, 9));
}

TEST(FindClashes, FindsNoneOnASolvedGridAndOneAfterASlip) {
  Board board;
  for (int i = 0; i < 81; ++i) board.SetValue(i / 9, i % 9, SolvedDigit(i / 9, i % 9));
  ASSERT_TRUE(board.ObeysRules());
  EXPECT_EQ(FindClashes(board).Count(), 0);
  const int other = board.GetValue(0, 1);
  board.ClearValue(0, 0);
  board.SetValue(0, 0, other);  // repeats r1c2 in row 0 and box 0, and one more cell in column 0
  const ClashMap clashes = FindClashes(board);
  EXPECT_TRUE(clashes.At(0, 0));
  EXPECT_TRUE(clashes.At(0, 1));
  EXPECT_EQ(clashes.Count(), 3);
}

}  // namespace
