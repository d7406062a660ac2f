// The grading rule that files a puzzle under a level: levels 1, 2 and 3 in
// turn; a contradiction at any of them drops the puzzle, the first level
// that completes it is its level. Past level 3, the search tells a puzzle of
// one solution from one of several or none, and the solver's higher levels
// rate the first kind.
#pragma once

#include "puzzle/board.h"
#include "solver/techniques.h"

enum : int {
  kGradeContradiction = -1,  // the givens contradict each other (no solution)
  kGradeUnfinished = -2,     // level 3 (GradeAtAnyLevel: the highest level) cannot complete it
  kGradeSeveral = -3,        // the givens have more than one solution (GradeAtAnyLevel only)
};

// The highest level a puzzle is graded at: the solver's highest.
constexpr int kHighestGradeLevel = kHighestSolverLevel;

// 1, 2 or 3, or kGradeContradiction or kGradeUnfinished. The puzzle is not
// changed. This is the rule of the stock and the generator, and it never
// looks past level 3.
int GradePuzzle(const Board& puzzle);

// The level of any puzzle: where GradePuzzle says level 3 cannot complete
// it, the search counts its solutions (none: kGradeContradiction; several:
// kGradeSeveral) and a puzzle of one solution gets the lowest level from 4
// to kHighestGradeLevel whose solve completes it, or kGradeUnfinished when
// none does. Otherwise the answer of GradePuzzle, at no extra cost.
int GradeAtAnyLevel(const Board& puzzle);
