// The explain command's two outputs: one tab-separated line per solver step
// for programs, and the placements with their reasons for people.
#pragma once

#include <cstdio>

#include "solver/explain.h"

// "# complete", "# incomplete" or "# contradiction": the solve command's
// verdict line.
const char* VerdictLine(ExplainVerdict verdict);

// One line per step, N<TAB>FAMILY<TAB>HOUSE<TAB>CHANGES, N counting from 1;
// CHANGES lists every changed cell as rRcC=D when one digit D is left, else
// rRcC-DIGITS with the digits removed. Then the verdict line.
void WriteExplanationTsv(const Explanation& e, FILE* out);

// Every placement with the step that made it and the level 2 and 3 steps it
// relied on, the contradiction if one showed, the steps per family, the
// puzzle's level (`grade` as GradePuzzle gives it), and the verdict line.
void WriteExplanationText(const Explanation& e, int grade, FILE* out);
