// The logic solver's grid: 81 candidate sets narrowed pass after pass by the
// deduction techniques admitted by a level. Levels 1 to 3 are the sixteen
// per-cell techniques alone; levels 4 to 6 add the patterns of patterns.h,
// one step at a time between runs of the level-3 passes, and level 6 ends
// with trial and error (a search, solver/search.h). No allocation and no
// shared state: each solve owns its grid.
//
// The techniques, in the fixed order of every pass, with their families and
// levels, are the table of techniques.h; that header also maps the four
// solvers and what each is held to.
#pragma once

#include "solver/digit_set.h"
#include "solver/houses.h"

class SolverGrid {
 public:
  SolverGrid() = default;

  // Every set of the working cells back to {1..9}; the snapshot stays.
  void Reset();
  // Loads a known digit. Ignored outside the grid and for d outside 1..9.
  void SetValue(int row, int col, int d);
  // Runs passes until the grid is complete, a pass changes nothing or a
  // contradiction shows; at levels 4 to 6 (higher acts as 6), each time the
  // passes stop short, the first pattern of those levels that removes
  // something, and the passes again. True when no contradiction was found (complete or
  // stuck); false on a contradiction or after kPassLimit passes. A grid complete
  // at the end of a pass is checked once more and counts only when no house
  // holds a digit twice.
  bool Solve(int level);
  // What Solve would return, leaving the grid as loaded; with `solved`,
  // also which of the 81 cells (row-major) Solve would leave solved.
  bool SolveForVerdict(int level, bool* solved) const;
  // Solve on bare candidates (bits 1..9 per cell, row-major), in place: the
  // same steps, final state and verdict as Solve on sets holding them.
  static bool SolveCandidates(uint16_t masks[81], int level);
  // SolveCandidates, telling also the highest level among the patterns
  // (techniques above level 3) it applied, 0 for none. A solve at level L
  // runs the very steps of a solve at a lower level K >= 3 until K gets
  // stuck, so from a solve at level 6 that completes the grid, the puzzle's
  // level is the larger of 3 and this (when the level-3 solve does not
  // complete it): one solve grades levels 4 to 6.
  static bool SolveCandidatesGraded(uint16_t masks[81], int level, int* highestPattern);
  // SolveCandidates on the digits of `values` (0 empty, 1..9; row-major),
  // every other cell holding 1..9: a solve from scratch of a board's digits.
  static bool SolveDigits(const uint8_t values[81], int level, uint16_t masks[81]);
  // Every cell of `masks` down to one digit.
  static bool AllSolved(const uint16_t masks[81]);

  // Queries answer false / 0 outside the grid.
  bool IsSolved(int row, int col) const;
  // The smallest candidate: the value when the cell is solved.
  int GetValue(int row, int col) const;
  int CandidateCount(int row, int col) const;
  int GetCandidate(int row, int col, int i) const;

  // The house lists of cell (r, c); empty outside the grid.
  static HouseList RowPeers(int r, int c) { return List(kRowPeers, r, c); }
  static HouseList ColumnPeers(int r, int c) { return List(kColumnPeers, r, c); }
  static HouseList BoxPeers(int r, int c) { return List(kBoxPeers, r, c); }
  static HouseList RowOutsideBox(int r, int c) { return List(kRowOutsideBox, r, c); }
  static HouseList ColumnOutsideBox(int r, int c) { return List(kColumnOutsideBox, r, c); }
  static HouseList BoxOutsideRow(int r, int c) { return List(kBoxOutsideRow, r, c); }
  static HouseList BoxOutsideColumn(int r, int c) { return List(kBoxOutsideColumn, r, c); }

  // Places left for d in the house of (r, c): 1 when d is placed there,
  // otherwise the number of unsolved cells ((r, c) included) holding d.
  int PlacesInRow(int r, int c, int d) const { return Places(kRowPeers, r, c, d); }
  int PlacesInColumn(int r, int c, int d) const { return Places(kColumnPeers, r, c, d); }
  int PlacesInBox(int r, int c, int d) const { return Places(kBoxPeers, r, c, d); }

  // No two solved cells of one house hold the same digit.
  bool IsConsistent() const;
  void TakeSnapshot();
  bool IsUnchanged() const;
  bool IsComplete() const;

  // The techniques (kTechniqueTable in techniques.h says what each is).
  // Each visits the cells row-major and returns false when a removal it
  // asked for was refused (a contradiction), true otherwise.
  bool EliminateRowValues();
  bool EliminateColumnValues();
  bool EliminateBoxValues();
  bool HiddenSingleInRow();
  bool HiddenSingleInColumn();
  bool HiddenSingleInBox();
  bool PointingInRow();
  bool PointingInColumn();
  bool ClaimingInRow();
  bool ClaimingInColumn();
  bool NakedPairInRow();
  bool NakedPairInColumn();
  bool NakedPairInBox();
  bool HiddenPairInRow();
  bool HiddenPairInColumn();
  bool HiddenPairInBox();

  // Direct access for tests and for loading whole states.
  DigitSet& At(int row, int col) { return cells[row * 9 + col]; }
  const DigitSet& At(int row, int col) const { return cells[row * 9 + col]; }
  const DigitSet& SnapshotAt(int row, int col) const { return snapshot[row * 9 + col]; }

 private:
  static bool InRange(int row, int col) {
    return row >= 0 && row <= 8 && col >= 0 && col <= 8;
  }
  static HouseList List(int kind, int r, int c) {
    if (!InRange(r, c)) return HouseList{kHouses.lists[kind][0], 0};
    return HouseList{kHouses.lists[kind][r * 9 + c], HouseLength(kind)};
  }
  int Places(int kind, int r, int c, int d) const;
  // Technique `technique` (a Technique of techniques.h) on the sets.
  bool Run(int technique);

  DigitSet cells[81];     // row-major working candidates
  DigitSet snapshot[81];  // cells as they were at the start of the pass
};
