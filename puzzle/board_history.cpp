// The game's undo history: a ring of board states with a cursor.
#include "puzzle/board_history.h"

#include <new>

bool SameState(const BoardState& a, const BoardState& b) {
  if (a.editing != b.editing) return false;
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (a.board.GetValue(row, col) != b.board.GetValue(row, col)) return false;
      if (a.board.IsGiven(row, col) != b.board.IsGiven(row, col)) return false;
      for (int digit = 1; digit <= 9; ++digit) {
        if (a.board.HasCandidate(row, col, digit) != b.board.HasCandidate(row, col, digit)) return false;
      }
    }
  }
  return true;
}

BoardHistory::BoardHistory() : slots(new (std::nothrow) BoardState[kSlots]) {}

bool BoardHistory::Record(const BoardState& before, const BoardState& after) {
  if (!slots || SameState(before, after)) return false;
  if (cursor == kMaxSteps) {
    // Full: the oldest state goes, and its slot takes the newest.
    first = (first + 1) % kSlots;
    --cursor;
  }
  // Plain assignment copies every field; Board::CopyDroppingMarksUnderValues
  // would drop the marks kept under a value.
  Slot(cursor) = before;
  ++cursor;
  count = cursor;
  return true;
}

bool BoardHistory::Undo(BoardState& shown) {
  if (!CanUndo()) return false;
  Slot(cursor) = shown;
  if (count < cursor + 1) count = cursor + 1;
  --cursor;
  shown = Slot(cursor);
  return true;
}

bool BoardHistory::Redo(BoardState& shown) {
  if (!CanRedo()) return false;
  Slot(cursor) = shown;
  ++cursor;
  shown = Slot(cursor);
  return true;
}
