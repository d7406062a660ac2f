// Rules of play that need no window: what a resumed game still owes the
// player, which keys go on acting while held down, and how a typed-in
// puzzle loses a digit.
#pragma once

#include "stock/saved_game.h"

// A resumed game whose board is full was never given its verdict when the
// game ended between the last entry and the end of the judgement: such a
// board is judged again at once (and, correct, counted and finished). Not
// a finished game, one being typed in, or a board the answer filled.
bool NeedsVerdictAtResume(const SavedGame& game);

// What a key does to the selected cell, whatever key stands for it.
enum class CellKey {
  kMove,       // the arrows
  kUndoRedo,   // Ctrl+Z, Ctrl+Y
  kEnter,      // a digit
  kMark,       // Shift and a digit: a mark set or cleared
  kErase,      // Delete, Backspace
  kHighlight,  // Space: the same-digit highlight on or off
};
// Whether a key held down acts again with each repeat the keyboard sends.
// Moves and undo steps do; an entry, a toggle or an erase happens once per
// press, so a held key never piles up steps or flips a mark back and forth.
bool KeyRepeats(CellKey key);

// Delete or Backspace while a puzzle is typed in: the cell's digit goes, its
// marks stay. False when the cell holds no digit (or is outside the board),
// so that nothing is recorded as a step.
bool EraseTypedValue(Board* board, int row, int col);
