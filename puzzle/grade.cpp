// Files a puzzle under the lowest level whose techniques complete it.
#include "puzzle/grade.h"

#include "solver/incremental_grid.h"
#include "solver/search.h"
#include "solver/singles.h"
#include "solver/solver_grid.h"

// Level 1 is solved on bit boards; each higher level goes on from the state
// the level below reached, which its own solve from scratch passes through
// as well. Where a result cannot be vouched for, that level is solved from
// scratch, and the next goes on from there.
int GradePuzzle(const Board& puzzle) {
  uint8_t values[81];
  // A given cell without a digit never counts as complete (as in
  // Board::TrySolveAtLevel), so such a board completes at no level.
  bool fillable = true;
  for (int x = 0; x < 81; ++x) {
    const Cell& cell = puzzle.CellAt(x / 9, x % 9);
    values[x] = uint8_t(cell.GetValue());
    fillable = fillable && (cell.HasValue() || !cell.IsGiven());
  }
  IncrementalGrid grid;
  uint16_t masks[81];
  bool trusted = SolveSingles(values, masks);
  if (trusted && fillable && SolverGrid::AllSolved(masks)) return kLowestLevel;
  trusted = trusted && grid.Load(masks);
  for (int level = kLowestLevel; level <= kHighestPlayLevel; ++level) {
    if (level > kLowestLevel && trusted) trusted = grid.Settle(level);
    if (!trusted) {
      if (!SolverGrid::SolveDigits(values, level, masks)) return kGradeContradiction;
      trusted = grid.Load(masks);  // which keeps the candidates either way
    }
    if (grid.IsComplete() && fillable) return level;
  }
  return kGradeUnfinished;
}

int GradeAtAnyLevel(const Board& puzzle) {
  const int grade = GradePuzzle(puzzle);
  if (grade != kGradeUnfinished) return grade;
  uint8_t values[81];
  for (int x = 0; x < 81; ++x) {
    const Cell& cell = puzzle.CellAt(x / 9, x % 9);
    // A given cell without a digit never completes (see GradePuzzle).
    if (cell.IsGiven() && !cell.HasValue()) return kGradeUnfinished;
    values[x] = uint8_t(cell.GetValue());
  }
  const SearchOutcome outcome = SearchSolutions(values, 2);
  if (outcome.solutions == 0) return kGradeContradiction;
  if (outcome.solutions > 1) return kGradeSeveral;
  // Each level is solved from the digits, as the levels below 4 are in
  // effect: the level of a puzzle is the lowest whose own solve completes it.
  uint16_t masks[81];
  for (int level = kHighestPlayLevel + 1; level <= kHighestGradeLevel; ++level) {
    if (SolverGrid::SolveDigits(values, level, masks) && SolverGrid::AllSolved(masks)) return level;
  }
  return kGradeUnfinished;
}
