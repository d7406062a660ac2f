// Cells and boards: the edits that protect givens, the whole-board copies,
// and the puzzle text format.
#include "puzzle/board.h"

#include <cstring>

#include "puzzle/random.h"
#include "puzzle/safe_file.h"
#include "solver/bits.h"

namespace {

bool IsDigit(int d) { return d >= 1 && d <= 9; }

}  // namespace

Cell::Cell() { Clear(); }

void Cell::Clear() {
  for (bool& mark : marks) mark = false;
  value = 0;
  given = false;
}

// Clear, then the other cell's value or (without a value) its marks, then
// its flag: the fields can be taken over directly.
bool Cell::CopyDroppingMarksUnderValue(const Cell* other) {
  if (!other) return false;
  if (other == this) {
    if (value) ClearMarks();
    return true;
  }
  value = other->value;
  for (int i = 0; i < 9; ++i) marks[i] = value ? false : other->marks[i];
  given = other->given;
  return true;
}

void Cell::ClearMarks() {
  for (bool& mark : marks) mark = false;
}

void Cell::SetValue(int digit) {
  if (given || !IsDigit(digit)) return;
  value = digit;
}

void Cell::ClearValue() {
  if (given) return;
  value = 0;
}

bool Cell::HasCandidate(int digit) const {
  return IsDigit(digit) && marks[digit - 1];
}

void Cell::SetCandidate(int digit) {
  if (given || !IsDigit(digit)) return;
  marks[digit - 1] = true;
}

void Cell::ClearCandidate(int digit) {
  if (given || !IsDigit(digit)) return;
  marks[digit - 1] = false;
}

void Cell::ClearCandidates() {
  if (given) return;
  for (bool& mark : marks) mark = false;
}

int Cell::CandidateCount() const {
  int count = 0;
  for (bool mark : marks) count += mark ? 1 : 0;
  return count;
}

int Cell::PickRandomCandidate() const {
  int marked[9];
  int count = 0;
  for (int d = 1; d <= 9; ++d) {
    if (marks[d - 1]) marked[count++] = d;
  }
  if (count == 0) return 0;
  return marked[RandomIndexBelow(count)];
}

Board::Board() { Clear(); }

bool Board::HasValue(int row, int col) const {
  return InRange(row, col) && CellAt(row, col).HasValue();
}

int Board::GetValue(int row, int col) const {
  return InRange(row, col) ? CellAt(row, col).GetValue() : 0;
}

void Board::SetValue(int row, int col, int digit) {
  if (InRange(row, col)) CellAt(row, col).SetValue(digit);
}

void Board::ClearValue(int row, int col) {
  if (InRange(row, col)) CellAt(row, col).ClearValue();
}

bool Board::HasCandidate(int row, int col, int digit) const {
  return InRange(row, col) && CellAt(row, col).HasCandidate(digit);
}

void Board::SetCandidate(int row, int col, int digit, bool on) {
  if (!InRange(row, col)) return;
  if (on) {
    CellAt(row, col).SetCandidate(digit);
  } else {
    CellAt(row, col).ClearCandidate(digit);
  }
}

int Board::CandidateCount(int row, int col) const {
  return InRange(row, col) ? CellAt(row, col).CandidateCount() : 0;
}

void Board::ClearCandidates(int row, int col) {
  if (InRange(row, col)) CellAt(row, col).ClearCandidates();
}

bool Board::IsGiven(int row, int col) const {
  return InRange(row, col) && CellAt(row, col).IsGiven();
}

void Board::SetGiven(int row, int col) {
  if (InRange(row, col)) CellAt(row, col).SetGiven();
}

void Board::ClearGiven(int row, int col) {
  if (InRange(row, col)) CellAt(row, col).ClearGiven();
}

void Board::Clear() {
  for (Cell& cell : cells) cell.Clear();
}

void Board::ResetToGivens() {
  for (Cell& cell : cells) {
    if (!cell.IsGiven()) cell.Clear();
  }
}

bool Board::CopyDroppingMarksUnderValues(const Board* other) {
  if (!other) return false;
  // Cell::CopyDroppingMarksUnderValue of every cell: the cells as they are, except that a cell
  // with a value keeps no marks. A board copied onto itself stays as it is.
  if (other != this) std::memcpy(cells, other->cells, sizeof cells);
  for (Cell& cell : cells) {
    if (cell.HasValue()) cell.ClearMarks();
  }
  return true;
}

bool Board::CopyGivensFrom(const Board* other) {
  if (!other) return false;
  if (other == this) {
    ResetToGivens();
    return true;
  }
  for (int i = 0; i < 81; ++i) {
    if (other->cells[i].IsGiven()) {
      cells[i].CopyDroppingMarksUnderValue(&other->cells[i]);
    } else {
      cells[i].Clear();
    }
  }
  return true;
}

bool Board::IsComplete() const {
  for (const Cell& cell : cells) {
    if (!cell.HasValue()) return false;
  }
  return true;
}

bool Board::ObeysRules() const {
  for (int i = 0; i < 9; ++i) {
    unsigned row = 0, column = 0, box = 0;
    const int r0 = i / 3 * 3, c0 = i % 3 * 3;
    for (int j = 0; j < 9; ++j) {
      row |= 1u << GetValue(i, j);
      column |= 1u << GetValue(j, i);
      box |= 1u << GetValue(r0 + j / 3, c0 + j % 3);
    }
    if (row != kAllDigits || column != kAllDigits || box != kAllDigits) return false;
  }
  return true;
}

bool Board::Read(FILE* stream, bool boardOnly) {
  if (!stream) return false;
  Clear();
  char line[256];
  int rows = 0;
  for (; rows < 9; ++rows) {
    if (!std::fgets(line, sizeof line, stream)) break;
    const size_t length = std::strlen(line);
    for (int col = 0; col < 9 && size_t(col) < length; ++col) {
      const char ch = line[col];
      if (ch >= '1' && ch <= '9') {
        SetValue(rows, col, ch - '0');
        SetGiven(rows, col);
      }
    }
  }
  if (rows < 9) return false;
  if (boardOnly) return true;
  while (std::fgets(line, sizeof line, stream)) {
    if (line[0] < '0' || line[0] > '8' || line[1] < '0' || line[1] > '8') continue;
    const int row = line[0] - '0';
    const int col = line[1] - '0';
    for (int i = 2; i < 11 && line[i] >= '1' && line[i] <= '9'; ++i) {
      SetCandidate(row, col, line[i] - '0', true);
    }
  }
  return true;
}

bool Board::Write(FILE* stream, bool boardOnly) const {
  if (!stream) return false;
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      std::fputc(HasValue(row, col) ? '0' + GetValue(row, col) : ' ', stream);
    }
    std::fputc('\n', stream);
  }
  if (boardOnly) return true;
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (HasValue(row, col) || CandidateCount(row, col) == 0) continue;
      std::fputc('0' + row, stream);
      std::fputc('0' + col, stream);
      for (int d = 1; d <= 9; ++d) {
        if (HasCandidate(row, col, d)) std::fputc('0' + d, stream);
      }
      std::fputc('\n', stream);
    }
  }
  return true;
}

bool Board::Load(const wchar_t* path) {
  FILE* stream = OpenTextFileForReading(path);
  if (!stream) return false;
  const bool read = Read(stream, false);
  std::fclose(stream);
  return read;
}

bool Board::Save(const wchar_t* path) const {
  SafeFileWriter writer;
  if (!writer.Open(path)) return false;
  Write(writer.Stream(), false);
  return writer.Commit();
}
