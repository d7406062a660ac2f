// The explain command's two outputs: one tab-separated line per solver step
// for programs, and the placements with their reasons for people.
#pragma once

#include <cstdio>
#include <string>

#include "solver/explain.h"

// "# complete", "# incomplete" or "# contradiction": the solve command's
// verdict line.
const char* VerdictLine(ExplainVerdict verdict);

// One line per step, N<TAB>FAMILY<TAB>HOUSE<TAB>CHANGES, N counting from 1;
// CHANGES lists every changed cell as rRcC=D when one digit D is left, else
// rRcC-DIGITS with the digits removed. Then the verdict line.
void WriteExplanationTsv(const Explanation& e, FILE* out);

// Every placement with the step that made it and every level 2 and 3 step
// it relied on directly (PlacementCitations), each named by family, digits
// and house with the removals it made for it; the contradiction if one
// showed, naming the two cells and the digit or the cell left with none;
// the steps per family, the puzzle's level (`grade` as GradePuzzle gives
// it), and the verdict line.
void WriteExplanationText(const Explanation& e, int grade, FILE* out);

// One placement of the text, without its line end: "r6c4 = 3  value
// elimination in column 4 (after pointing 2s in box 6 took 2 from r6c4)".
// `cell` is a cell that step `step` left with one digit.
std::string PlacementLine(const Explanation& e, int step, int cell);

// What the text says after "contradiction: " when the solve met one: "r1c9
// and r4c9 both hold 8 in column 9", "r3c4 is left with no digit: value
// elimination in row 3 would take its last digit 5, which r3c7 holds".
std::string ContradictionText(const Explanation& e);
