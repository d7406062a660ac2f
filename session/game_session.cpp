// The session's view state, the rules of a press and of the keys, the board
// commands and the undo history.
#include "session/game_session.h"

#include <cstdint>

#include "puzzle/board.h"
#include "puzzle/player_aids.h"
#include "session/play_rules.h"
#include "solver/search.h"
#include "solver/techniques.h"
#include "stock/puzzle_stock.h"

namespace {

bool InBoard(int index) { return index >= 0 && index <= 8; }
bool IsDigit(int digit) { return digit >= 1 && digit <= 9; }

}  // namespace

void FillAnswer(Board& board) {
  const Board before = board;
  if (!board.SolveAtLevel(kHighestPlayLevel) || board.IsComplete()) return;
  uint8_t givens[81];
  for (int i = 0; i < 81; ++i) {
    givens[i] = uint8_t(before.IsGiven(i / 9, i % 9) ? before.GetValue(i / 9, i % 9) : 0);
  }
  const SearchOutcome outcome = SearchSolutions(givens, 2);
  if (outcome.solutions != 1) return;
  for (int i = 0; i < 81; ++i) {
    const int value = before.GetValue(i / 9, i % 9);
    if (value != 0 && value != outcome.solution[i]) return;
  }
  board = before;
  for (int i = 0; i < 81; ++i) board.SetValue(i / 9, i % 9, outcome.solution[i]);
}

// --- View state -----------------------------------------------------------

bool GameSession::IsSelected(int row, int col) const {
  return InBoard(row) && InBoard(col) && row == selectedRow && col == selectedCol;
}

void GameSession::Select(int row, int col) {
  if (!InBoard(row) || !InBoard(col)) return;
  selectedRow = row;
  selectedCol = col;
}

void GameSession::ClearSelection() {
  selectedRow = -1;
  selectedCol = -1;
}

void GameSession::SetHighlight(int digit) {
  if (IsDigit(digit)) highlightDigit = digit;
}

void GameSession::ClearHighlight() { highlightDigit = 0; }

void GameSession::ResetView() {
  ClearSelection();
  ClearHighlight();
}

// --- A press on a cell's keypad ---------------------------------------------

int GameSession::LeftPress(int row, int col, int digit) {
  Board* current = board();
  if (!current || !InBoard(row) || !InBoard(col) || !IsDigit(digit)) return 0;
  return LeftPressOnCell(*current, row, col, digit);
}

int GameSession::RightPress(int row, int col, int digit) {
  Board* current = board();
  if (!current || !InBoard(row) || !InBoard(col) || !IsDigit(digit)) return 0;
  return RightPressOnCell(*current, row, col, digit);
}

int GameSession::LeftPressOnCell(Board& board, int row, int col, int digit) {
  if (!IsSelected(row, col)) {
    Select(row, col);
    return 1;
  }
  if (editMode) {
    RecordStep([&] {
      board.SetValue(row, col, digit);
      ClearSelection();
    });
    return 1;
  }
  if (board.HasValue(row, col)) {
    const int value = board.GetValue(row, col);
    if (HasHighlight() && HighlightDigit() == value) {
      ClearHighlight();
    } else {
      SetHighlight(value);
    }
    return 1;
  }
  if (board.HasCandidate(row, col, digit)) return EnterValue(board, row, col, digit);
  RecordStep([&] { board.SetCandidate(row, col, digit, true); });
  return 1;
}

int GameSession::EnterValue(Board& board, int row, int col, int digit) {
  RecordStep([&] {
    board.SetValue(row, col, digit);
    if (options.marksFollowEntries) ClearPeerMarks(board, row, col, digit);
    ClearSelection();
  });
  if (board.IsComplete()) JudgeFullBoard(board);
  return 1;
}

void GameSession::JudgeFullBoard(Board& board) {
  const bool correct = board.IsCorrect();
  // Recorded before the verdict is shown, which waits for the player.
  if (correct) FinishPuzzle();
  if (links.verdict) links.verdict(correct);
}

int GameSession::RightPressOnCell(Board& board, int row, int col, int digit) {
  if (!IsSelected(row, col)) {
    RecordStep([&] {
      if (editMode) board.ClearValue(row, col);
      ClearSelection();
    });
    return 1;
  }
  const bool erases = !editMode && board.HasValue(row, col) && !board.IsGiven(row, col);
  const bool unmarks = !editMode && !board.HasValue(row, col) && board.HasCandidate(row, col, digit);
  if (erases) {
    RecordStep([&] { board.ClearValue(row, col); });
  } else if (unmarks) {
    RecordStep([&] { board.SetCandidate(row, col, digit, false); });
  } else {
    // Edit mode, a given, or a digit that is not marked.
    ClearSelection();
  }
  return 1;
}

// --- The keys ---------------------------------------------------------------

int GameSession::Key(PlayKey key, int digit, bool shift, bool repeated) {
  // A key held down acts again only where the rules let it: a held digit
  // must not toggle its mark back and forth, nor enter the digit once
  // Shift is let go before the key.
  const auto acts = [repeated](CellKey kind) { return !repeated || KeyRepeats(kind); };
  switch (key) {
    case PlayKey::kLeft:
      return acts(CellKey::kMove) ? MoveSelection(0, -1) : 0;
    case PlayKey::kRight:
      return acts(CellKey::kMove) ? MoveSelection(0, 1) : 0;
    case PlayKey::kUp:
      return acts(CellKey::kMove) ? MoveSelection(-1, 0) : 0;
    case PlayKey::kDown:
      return acts(CellKey::kMove) ? MoveSelection(1, 0) : 0;
    default:
      break;
  }
  Board* current = board();
  const int row = selectedRow, col = selectedCol;
  if (!current || !IsSelected(row, col)) return 0;
  switch (key) {
    case PlayKey::kErase:
      if (!acts(CellKey::kErase)) return 0;
      if (editMode) {
        // The selected cell's digit goes as one step and the cell stays
        // selected for the next one; an empty cell changes nothing.
        if (!current->HasValue(row, col)) return 0;
        RecordStep([&] { EraseTypedValue(current, row, col); });
        return 1;
      }
      // A right click at a position with no mark.
      return RightPressOnCell(*current, row, col, 0);
    case PlayKey::kSpace:
      if (!acts(CellKey::kHighlight) || editMode || !current->HasValue(row, col)) return 0;
      return LeftPressOnCell(*current, row, col, 0);
    case PlayKey::kDigit:
      if (!IsDigit(digit) || !acts(shift ? CellKey::kMark : CellKey::kEnter)) return 0;
      return DigitKey(digit, shift);
    default:
      return 0;
  }
}

int GameSession::MoveSelection(int rows, int cols) {
  if (!IsSelected(selectedRow, selectedCol)) {
    Select(4, 4);
    return 1;
  }
  const auto within = [](int index) { return index < 0 ? 0 : index > 8 ? 8 : index; };
  Select(within(selectedRow + rows), within(selectedCol + cols));
  return 1;
}

// Called with a selected cell. In edit mode a digit is the left click that
// types it in; marks have no place there. A filled cell keeps its value, as
// a left click keeps it.
int GameSession::DigitKey(int digit, bool shift) {
  Board& current = *board();
  const int row = selectedRow, col = selectedCol;
  if (editMode) return shift ? 0 : LeftPressOnCell(current, row, col, digit);
  if (current.HasValue(row, col)) return 0;
  if (!shift) return EnterValue(current, row, col, digit);
  // A marked digit is cleared as a right click clears it, an unmarked one
  // set as a left click sets it.
  if (current.HasCandidate(row, col, digit)) return RightPressOnCell(current, row, col, digit);
  return LeftPressOnCell(current, row, col, digit);
}

// --- The board commands -----------------------------------------------------

template <typename Change>
int GameSession::ChangeBoard(Change change) {
  Board* current = board();
  if (!current) return 0;
  const bool recorded = RecordStep([&] {
    change(*current);
    ResetView();
  });
  // A command may change the progress alone (the answer on a board it
  // cannot fill, the same puzzle again): that is kept as well.
  if (!recorded) SaveGameInProgress();
  return 1;
}

int GameSession::NewPuzzle(int level) {
  if (!IsPlayLevel(level)) return 0;
  return ChangeBoard([this, level](Board& current) {
    bool taken = false;
    PuzzleStock* stock = links.stock;
    if (stock && stock->Lock()) {
      if (stock->Count(level) > 0) {
        stock->Take(&current, level, true);
        taken = true;
      }
      stock->Unlock();
    }
    if (!taken) current.Generate(level, level, Board::kWaitedForAttempts);
    StartPuzzle(level);
  });
}

int GameSession::OpenPuzzle(const Board& loaded) {
  return ChangeBoard([this, &loaded](Board& current) {
    current = loaded;
    StartPuzzle(kSourceFile);
  });
}

int GameSession::Retry() {
  return ChangeBoard([](Board& current) { current.ResetToGivens(); });
}

int GameSession::ShowAnswer() {
  return ChangeBoard([this](Board& current) {
    FillAnswer(current);
    progress.answerUsed = true;
  });
}

int GameSession::StartEditing() {
  const int result = ChangeBoard([this](Board& current) {
    for (int row = 0; row < 9; ++row)
      for (int col = 0; col < 9; ++col) current.ClearGiven(row, col);
    SetEditMode(true);
  });
  if (result) Changed();
  return result;
}

int GameSession::EndEditing() {
  const int result = ChangeBoard([this](Board& current) {
    for (int row = 0; row < 9; ++row)
      for (int col = 0; col < 9; ++col)
        if (current.HasValue(row, col)) current.SetGiven(row, col);
    SetEditMode(false);
    StartPuzzle(kSourceTyped);
  });
  if (result) Changed();
  return result;
}

int GameSession::ClearBoard() {
  return ChangeBoard([](Board& current) { current.Clear(); });
}

int GameSession::MarkAllCandidates() {
  Board* current = board();
  if (!current || editMode || !HasOpenCell(*current)) return 0;
  RecordStep([current] { FillAllCandidates(*current); });
  return 1;
}

bool GameSession::TakeHint(Hint* hint) {
  const Board* current = board();
  if (!current) {
    SaveGameInProgress();
    return false;
  }
  int values[81];
  bool given[81];
  for (int i = 0; i < 81; ++i) {
    values[i] = current->GetValue(i / 9, i % 9);
    given[i] = current->IsGiven(i / 9, i % 9);
  }
  *hint = FindHint(values, given);
  if (hint->row >= 0) Select(hint->row, hint->col);
  ++progress.hints;
  SaveGameInProgress();
  return true;
}

// --- Undo and redo ----------------------------------------------------------

BoardState GameSession::CurrentState() const {
  BoardState state;
  if (board()) state.board = *board();
  state.editing = editMode;
  return state;
}

void GameSession::BeginStep() {
  NotePuzzleInPlay();
  stepStart = CurrentState();
}

bool GameSession::EndStep() {
  if (!board() || !history.Record(stepStart, CurrentState())) return false;
  // A board changed after its judgement is in play again.
  progress.finished = false;
  Changed();
  SaveGameInProgress();
  return true;
}

int GameSession::Undo() { return MoveThroughHistory(false); }

int GameSession::Redo() { return MoveThroughHistory(true); }

int GameSession::MoveThroughHistory(bool forward) {
  Board* current = board();
  if (!current) return 0;
  BoardState shown = CurrentState();
  if (!(forward ? history.Redo(shown) : history.Undo(shown))) return 0;
  // Plain assignment: the marks kept under values come back too. The mode
  // comes back with the board, so that a typed-in puzzle is never played
  // without its givens and a game is never edited with them.
  *current = shown.board;
  SetEditMode(shown.editing);
  ResetView();
  Changed();
  progress.finished = false;
  FollowPuzzleOnBoard(forward);
  SaveGameInProgress();
  return 1;
}
