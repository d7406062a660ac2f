// The player's aids on a board: every candidate marked in one go, the marks
// that an entered digit makes stale taken away, and the digits that repeat
// in a row, column or box found. Plain board work, no view state.
#pragma once

#include "puzzle/board.h"

// In every empty cell, replaces the marks with the digits that its row,
// column and box do not hold yet (givens and the player's digits alike).
// Cells with a value keep the marks stored under it; given cells are left
// alone. True when any mark changed.
bool FillAllCandidates(Board& board);

// Whether FillAllCandidates has a cell to work on: some cell is empty and
// not given.
bool HasOpenCell(const Board& board);

// Takes the mark of `digit` from every other cell of the row, column and box
// of (row, col), the marks stored under values included (they would come
// back stale when the value is erased). The cell itself keeps its marks.
// Nothing outside the board or for a digit outside 1..9. True when any mark
// went.
bool ClearPeerMarks(Board& board, int row, int col, int digit);

// The cells whose digit repeats in their row, column or box; every copy of
// the repeated digit is one of them, givens included.
class ClashMap {
 public:
  bool At(int row, int col) const {
    return row >= 0 && row <= 8 && col >= 0 && col <= 8 && cells[row * 9 + col];
  }
  int Count() const;

 private:
  friend ClashMap FindClashes(const Board& board);
  bool cells[81] = {};
};

ClashMap FindClashes(const Board& board);
