// The undo history of a game: the boards it passed through, one per step,
// in a ring sized once, so that a long game never allocates per move.
#pragma once

#include <memory>

#include "puzzle/board.h"

// What one step of the game goes back to: the board exactly as it was
// (values, givens and the marks kept under values alike) and whether the
// puzzle was being typed in at the time (the game's edit mode).
struct BoardState {
  Board board;
  bool editing = false;
};

// Same values, givens, marks and editing flag, cell by cell.
bool SameState(const BoardState& a, const BoardState& b);

// A line of states with a cursor on the one the game shows. Record adds a
// step after the cursor and drops every step that had been undone; Undo and
// Redo move the cursor, trading the shown state for the stored one. Holds up
// to kMaxSteps steps; beyond that the oldest go first. One thread only.
class BoardHistory {
 public:
  static constexpr int kMaxSteps = 1000;

  // Allocates its kMaxSteps + 1 states here and never again. Should that
  // allocation fail, the history stays empty and records nothing.
  BoardHistory();
  BoardHistory(const BoardHistory&) = delete;
  BoardHistory& operator=(const BoardHistory&) = delete;

  // One step from `before` to `after`. A step that changed nothing is not
  // recorded: false, and the steps that can be redone stay. Otherwise true,
  // and nothing is left to redo.
  bool Record(const BoardState& before, const BoardState& after);
  // `shown` is the state the game shows now. Undo keeps it for Redo and
  // replaces it with the state before the last step; Redo keeps it for
  // Undo and replaces it with the state after the next step. False, with
  // `shown` untouched, when there is no such step.
  bool Undo(BoardState& shown);
  bool Redo(BoardState& shown);

  bool CanUndo() const { return cursor > 0; }
  bool CanRedo() const { return cursor + 1 < count; }
  int UndoCount() const { return cursor; }
  int RedoCount() const { return count > cursor ? count - cursor - 1 : 0; }

 private:
  static constexpr int kSlots = kMaxSteps + 1;
  BoardState& Slot(int position) { return slots[(first + position) % kSlots]; }

  std::unique_ptr<BoardState[]> slots;
  int first = 0;   // ring index of the oldest state kept
  int count = 0;   // states kept, undoable, shown and redoable together
  int cursor = 0;  // position of the shown state; the states before it are undoable
};
