// Files a puzzle under the lowest level whose techniques complete it.
#include "puzzle/grade.h"

// Each level solves a fresh copy of the puzzle; the copy is only looked at,
// so the solve need not write it back.
int GradePuzzle(const Board& puzzle) {
  for (int level = 1; level <= 3; ++level) {
    bool complete = false;
    if (!puzzle.TrySolveAtLevel(level, &complete)) return kGradeContradiction;
    if (complete) return level;
  }
  return kGradeUnfinished;
}
