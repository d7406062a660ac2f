// The puzzle board: 81 cells with values, candidate marks and given flags,
// the text format that stores it, and the bridge to the logic solver.
#pragma once

#include <cstdio>

// One cell of the board. Every setter of the value or the marks does nothing
// on a given cell; only Clear and the two flag operations reach a given cell.
class Cell {
 public:
  Cell();

  // Empties the cell completely, given flag included.
  void Clear();
  // Clear, then takes the other cell's value (without its marks) or, when it
  // has no value, its marks; then its given flag. False with no other cell.
  bool CopyDroppingMarksUnderValue(const Cell* other);

  bool HasValue() const { return value != 0; }
  int GetValue() const { return value; }
  // Ignored on a given cell and for digits outside 1..9; marks stay.
  void SetValue(int digit);
  void ClearValue();

  // False for digits outside 1..9.
  bool HasCandidate(int digit) const;
  void SetCandidate(int digit);
  void ClearCandidate(int digit);
  void ClearCandidates();
  int CandidateCount() const;

  bool IsGiven() const { return given; }
  void SetGiven() { given = true; }
  void ClearGiven() { given = false; }

  // One of the marked digits, chosen with the calling thread's Rand();
  // 0 (and no Rand() call) when the cell has no mark.
  int PickRandomCandidate() const;

 private:
  friend class Board;
  void ClearMarks();

  bool marks[9];  // element d - 1 is the mark of digit d
  int value;      // 0 empty, else 1..9
  bool given;
};

// The 9 x 9 board, row-major. A plain value: copy it with
// CopyDroppingMarksUnderValues.
// Per-cell operations take (row, col) and answer false / 0, or do nothing,
// outside 0..8.
class Board {
 public:
  Board();

  bool HasValue(int row, int col) const;
  int GetValue(int row, int col) const;
  void SetValue(int row, int col, int digit);
  void ClearValue(int row, int col);
  bool HasCandidate(int row, int col, int digit) const;
  // on true sets the mark, on false clears it.
  void SetCandidate(int row, int col, int digit, bool on);
  int CandidateCount(int row, int col) const;
  void ClearCandidates(int row, int col);
  bool IsGiven(int row, int col) const;
  void SetGiven(int row, int col);
  void ClearGiven(int row, int col);

  // Direct access without a range check; callers pass 0..8.
  Cell& CellAt(int row, int col) { return cells[row * 9 + col]; }
  const Cell& CellAt(int row, int col) const { return cells[row * 9 + col]; }

  // Clears all 81 cells, givens included.
  void Clear();
  // Clears every cell that is not given.
  void ResetToGivens();
  // Copies every cell, except the marks of a cell that has a value: those
  // are dropped (Cell::CopyDroppingMarksUnderValue). False (and no change)
  // with no other board.
  bool CopyDroppingMarksUnderValues(const Board* other);
  // Copies the other board's given cells and clears every other cell.
  // False (and no change) with no other board.
  bool CopyGivensFrom(const Board* other);
  // Every cell has a value; says nothing about the rules.
  bool IsComplete() const;

  // Text format: nine board lines, then (unless boardOnly) candidate lines.
  // Read clears the board first and returns true when nine board lines were
  // read; every digit read becomes a given. With boardOnly the stream is left
  // at the first line after the board. Accepts LF and CR LF line ends.
  bool Read(FILE* stream, bool boardOnly);
  // Writes the board (and, unless boardOnly, the candidate lines). False only
  // with no stream; the stream's own error state tells of write failures.
  bool Write(FILE* stream, bool boardOnly) const;
  // Reads a puzzle file. False when it cannot be opened (the board is then
  // left as it was), else the result of Read(stream, false).
  bool Load(const wchar_t* path);
  // Writes the puzzle file beside the old one and replaces it only once the
  // new content is complete. False when the file could not be written; the
  // old file is then untouched.
  bool Save(const wchar_t* path) const;

  // Solves the board's values (givens and the player's alike) with the
  // techniques of the level (1 to 6; level 6 completes every board whose
  // values have one solution) and writes the outcome back: decided cells get
  // their value, every other non-given cell gets its remaining candidates as
  // marks. True when no contradiction was met, complete or not.
  bool SolveAtLevel(int level);
  // What SolveAtLevel would return, without touching the board; with
  // `complete`, also whether the board would then be complete.
  bool TrySolveAtLevel(int level, bool* complete) const;
  // Builds a puzzle that level maxLevel completes and, for minLevel >= 2,
  // level minLevel - 1 does not, in at most `attempts` passes. On success the
  // board holds givens only; on failure whatever the last pass left.
  bool Generate(int minLevel, int maxLevel, int attempts);
  // The passes a puzzle made while the player waits may take: the
  // new-puzzle command with an empty stock, the first puzzle at start and
  // the tool's default.
  static constexpr int kWaitedForAttempts = 50000;
  // Draws an empty cell and one of its marked digits, probing up to ten
  // choices with the level-3 solver. Each output may be null; an output is
  // left as it was when no empty cell was drawn.
  void PickRandomOpenCell(int* row, int* col, int* digit) const;
  // True when the board is full and matches the level-3 solution of its
  // givens or, where that solver cannot complete the givens, obeys the rules.
  bool IsCorrect() const;

  // Every row, column and box holds 1..9 once (the board must be full).
  bool ObeysRules() const;

 private:
  static bool InRange(int row, int col) {
    return row >= 0 && row <= 8 && col >= 0 && col <= 8;
  }

  Cell cells[81];
};
