// The grading rule that files a puzzle under a level: levels 1, 2 and 3 in
// turn; a contradiction at any of them drops the puzzle, the first level
// that completes it is its level.
#pragma once

#include "puzzle/board.h"

enum : int {
  kGradeContradiction = -1,  // the givens contradict each other
  kGradeUnfinished = -2,     // level 3 cannot complete it
};

// 1, 2 or 3, or one of the negative codes above. The puzzle is not changed.
int GradePuzzle(const Board& puzzle);
