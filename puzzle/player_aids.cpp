// The player's aids: all candidates, marks that follow entries, clashes.
#include "puzzle/player_aids.h"

#include "solver/houses.h"

namespace {

// Calls visit(row, col) for every cell that shares a row, column or box with
// (row, col), each once, the cell itself excluded.
template <typename Visit>
void ForEachPeer(int row, int col, Visit visit) {
  for (int i = 0; i < 9; ++i) {
    if (i != col) visit(row, i);
    if (i != row) visit(i, col);
  }
  const int top = row / 3 * 3, left = col / 3 * 3;
  for (int r = top; r < top + 3; ++r) {
    for (int c = left; c < left + 3; ++c) {
      // Cells of the same row or column were visited above.
      if (r != row && c != col) visit(r, c);
    }
  }
}

}  // namespace

bool HasOpenCell(const Board& board) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (!board.HasValue(row, col) && !board.IsGiven(row, col)) return true;
    }
  }
  return false;
}

bool FillAllCandidates(Board& board) {
  // Bit d of a house's mask: the house holds d. Worked out before any cell
  // changes, from the values alone.
  int rows[9] = {}, cols[9] = {}, boxes[9] = {};
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      const int value = board.GetValue(row, col);
      if (value == 0) continue;
      rows[row] |= 1 << value;
      cols[col] |= 1 << value;
      boxes[row / 3 * 3 + col / 3] |= 1 << value;
    }
  }
  bool changed = false;
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (board.HasValue(row, col) || board.IsGiven(row, col)) continue;
      const int held = rows[row] | cols[col] | boxes[row / 3 * 3 + col / 3];
      for (int digit = 1; digit <= 9; ++digit) {
        const bool open = (held & (1 << digit)) == 0;
        if (board.HasCandidate(row, col, digit) != open) {
          board.SetCandidate(row, col, digit, open);
          changed = true;
        }
      }
    }
  }
  return changed;
}

bool ClearPeerMarks(Board& board, int row, int col, int digit) {
  if (row < 0 || row > 8 || col < 0 || col > 8 || digit < 1 || digit > 9) return false;
  bool changed = false;
  ForEachPeer(row, col, [&](int r, int c) {
    if (!board.HasCandidate(r, c, digit) || board.IsGiven(r, c)) return;
    board.SetCandidate(r, c, digit, false);
    changed = true;
  });
  return changed;
}

int ClashMap::Count() const {
  int count = 0;
  for (bool clash : cells) count += clash ? 1 : 0;
  return count;
}

ClashMap FindClashes(const Board& board) {
  int values[81];
  for (int x = 0; x < 81; ++x) values[x] = board.GetValue(x / 9, x % 9);
  ClashMap map;
  for (int x = 0; x < 81; ++x) {
    int house = 0;
    map.cells[x] = ClashingPeer(values, x, &house) >= 0;
  }
  return map;
}
