// Files a puzzle under the lowest level whose techniques complete it.
#include "puzzle/grade.h"

int GradePuzzle(const Board& puzzle) {
  Board work;
  for (int level = 1; level <= 3; ++level) {
    work.CopyFrom(&puzzle);
    if (!work.SolveAtLevel(level)) return kGradeContradiction;
    if (work.IsComplete()) return level;
  }
  return kGradeUnfinished;
}
