// The keys of the game: undo, redo and all candidates with Ctrl, and
// without it the keys that play the selected cell as the clicks they stand
// for. Keys are judged by their virtual-key codes, so every keyboard layout
// types the same.
#include "view/board_view.h"

#include "puzzle/board.h"
#include "resources/resource_ids.h"
#include "stock/play_rules.h"

namespace {

// 1..9 for the digit keys of the main row and of the numeric keypad, else 0.
int DigitOfKey(WORD key) {
  if (key >= '1' && key <= '9') return key - '0';
  if (key >= VK_NUMPAD1 && key <= VK_NUMPAD9) return key - VK_NUMPAD0;
  return 0;
}

}  // namespace

int BoardView::OnKeyDown(WORD key, bool repeated) {
  if (!links.keyState) return 0;
  const auto held = [this](int virtualKey) { return (links.keyState(virtualKey) & 0x8000) != 0; };
  if (held(VK_MENU)) return 0;
  if (!held(VK_CONTROL)) return PlayKey(key, held(VK_SHIFT), repeated);
  if ((key == 'Z' || key == 'Y') && repeated && !KeyRepeats(CellKey::kUndoRedo)) return 0;
  if (key == 'Z') return held(VK_SHIFT) ? Redo() : Undo();
  if (key == 'Y') return Redo();
  // Filling in every candidate is a change of the board: once per press.
  if (key == 'M' && !held(VK_SHIFT)) return repeated ? 0 : OnCommand(IDM_EDIT_ALL_CANDIDATES);
  return 0;
}

int BoardView::PlayKey(WORD key, bool shift, bool repeated) {
  // A key held down acts again only where the rules let it: a held digit
  // must not toggle its mark back and forth, nor enter the digit once
  // Shift is let go before the key.
  const auto acts = [repeated](CellKey kind) { return !repeated || KeyRepeats(kind); };
  switch (key) {
    case VK_LEFT:
      return acts(CellKey::kMove) ? MoveSelection(0, -1) : 0;
    case VK_RIGHT:
      return acts(CellKey::kMove) ? MoveSelection(0, 1) : 0;
    case VK_UP:
      return acts(CellKey::kMove) ? MoveSelection(-1, 0) : 0;
    case VK_DOWN:
      return acts(CellKey::kMove) ? MoveSelection(1, 0) : 0;
    default:
      break;
  }
  Board* board = links.board;
  const int row = SelectedRow(), col = SelectedCol();
  if (!board || !IsSelected(row, col)) return 0;
  if (key == VK_DELETE || key == VK_BACK) {
    if (!acts(CellKey::kErase)) return 0;
    if (editMode) return EraseTypedCell(*board, row, col);
    // A right click at a position with no mark.
    return RightPressOnCell(*board, row, col, 0);
  }
  if (key == VK_SPACE) {
    if (!acts(CellKey::kHighlight) || editMode || !board->HasValue(row, col)) return 0;
    return LeftPressOnCell(*board, row, col, 0);
  }
  const int digit = DigitOfKey(key);
  if (!digit || !acts(shift ? CellKey::kMark : CellKey::kEnter)) return 0;
  return DigitKey(digit, shift);
}

// While a puzzle is typed in, the selected cell's digit goes as one step and
// the cell stays selected for the next one; an empty cell changes nothing.
int BoardView::EraseTypedCell(Board& board, int row, int col) {
  if (!board.HasValue(row, col)) return 0;
  RecordStep([&] { EraseTypedValue(&board, row, col); });
  return 1;
}

int BoardView::MoveSelection(int rows, int cols) {
  if (!IsSelected(SelectedRow(), SelectedCol())) {
    Select(4, 4);
    return 1;
  }
  const auto within = [](int index) { return index < 0 ? 0 : index > 8 ? 8 : index; };
  Select(within(SelectedRow() + rows), within(SelectedCol() + cols));
  return 1;
}

// Called with a selected cell. In edit mode a digit is the left click that
// types it in; marks have no place there. A filled cell keeps its value, as
// a left click keeps it.
int BoardView::DigitKey(int digit, bool shift) {
  Board& board = *links.board;
  const int row = SelectedRow(), col = SelectedCol();
  if (editMode) return shift ? 0 : LeftPressOnCell(board, row, col, digit);
  if (board.HasValue(row, col)) return 0;
  if (!shift) return EnterValue(board, row, col, digit);
  // A marked digit is cleared as a right click clears it, an unmarked one
  // set as a left click sets it.
  if (board.HasCandidate(row, col, digit)) return RightPressOnCell(board, row, col, digit);
  return LeftPressOnCell(board, row, col, digit);
}
