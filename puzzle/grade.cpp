// Files a puzzle under the lowest level whose techniques complete it.
#include "puzzle/grade.h"

#include "solver/incremental_grid.h"
#include "solver/solver_grid.h"

// Level 1 is solved from scratch; each higher level goes on from the state
// the level below reached, which its own solve from scratch passes through
// as well. Where the incremental grid cannot vouch for a result, that level
// too is solved from scratch, and the next goes on from there.
int GradePuzzle(const Board& puzzle) {
  uint16_t loaded[81];
  // A given cell without a digit never counts as complete (as in
  // Board::TrySolveAtLevel), so such a board completes at no level.
  bool fillable = true;
  for (int x = 0; x < 81; ++x) {
    const Cell& cell = puzzle.CellAt(x / 9, x % 9);
    loaded[x] = uint16_t(cell.HasValue() ? 1u << cell.GetValue() : 0x3FEu);
    fillable = fillable && (cell.HasValue() || !cell.IsGiven());
  }
  IncrementalGrid grid;
  bool trusted = false;
  for (int level = 1; level <= 3; ++level) {
    if (trusted) trusted = grid.Settle(level);
    if (!trusted) {
      uint16_t masks[81];
      for (int x = 0; x < 81; ++x) masks[x] = loaded[x];
      if (!SolverGrid::SolveCandidates(masks, level)) return kGradeContradiction;
      trusted = grid.Load(masks);
      if (!trusted) {
        bool complete = true;
        for (uint16_t m : masks) complete = complete && !(m & (m - 1));
        if (complete && fillable) return level;
        continue;
      }
    }
    if (grid.IsComplete() && fillable) return level;
  }
  return kGradeUnfinished;
}
