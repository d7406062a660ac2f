// Files a puzzle under the lowest level whose techniques complete it.
#include "puzzle/grade.h"

#include "solver/incremental_grid.h"
#include "solver/solver_grid.h"

// Level 1 solves the puzzle's digits; each higher level goes on from the
// state the level below it reached, which is where its own solve from
// scratch would pass through. Where the incremental grid cannot vouch for a
// result, that level is solved from scratch, and the next goes on from there.
int GradePuzzle(const Board& puzzle) {
  uint8_t values[81];
  // A given cell without a digit never counts as complete (as in
  // Board::TrySolveAtLevel), so such a board completes at no level.
  bool fillable = true;
  for (int x = 0; x < 81; ++x) {
    values[x] = uint8_t(puzzle.GetValue(x / 9, x % 9));
    fillable = fillable && (values[x] || !puzzle.IsGiven(x / 9, x % 9));
  }
  IncrementalGrid grid;
  bool trusted = grid.Start(values, 1);
  for (int level = 1; level <= 3; ++level) {
    if (level > 1 && trusted) trusted = grid.Settle(level);
    if (!trusted) {
      uint16_t masks[81];
      for (int x = 0; x < 81; ++x) masks[x] = uint16_t(values[x] ? 1u << values[x] : 0x3FEu);
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
