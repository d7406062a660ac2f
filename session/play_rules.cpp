// Rules of play that need no window.
#include "session/play_rules.h"

bool NeedsVerdictAtResume(const SavedGame& game) {
  return !game.progress.finished && !game.editing && !game.progress.answerUsed && game.board.IsComplete();
}

bool KeyRepeats(CellKey key) { return key == CellKey::kMove || key == CellKey::kUndoRedo; }

bool EraseTypedValue(Board* board, int row, int col) {
  if (!board || !board->HasValue(row, col)) return false;
  board->ClearValue(row, col);
  return !board->HasValue(row, col);
}
