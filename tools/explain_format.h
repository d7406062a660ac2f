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
// HOUSE is "row 3", "column 5" or "box 9", a fish's base lines ("rows 2 7")
// or "grid" for a pattern of no one house;
// CHANGES lists every changed cell as rRcC=D when one digit D is left, else
// rRcC-DIGITS with the digits removed. Then the verdict line.
void WriteExplanationTsv(const Explanation& e, FILE* out);

// Every placement with the step that made it and every step of level 2 or
// above it relied on directly (PlacementCitations), each named as StepText
// names it, with the removals it made for it; the contradiction if one
// showed, naming the two cells and the digit or the cell left with none
// (the step that met it is not printed as a placement); the steps per
// family (those of levels 1 to 3, and above up to the explanation's level),
// the puzzle's level (`grade` as GradePuzzle gives it), and the verdict line.
void WriteExplanationText(const Explanation& e, int grade, FILE* out);

// Step `step` as the text names it: "pointing 2s in box 4", "X-wing 5s,
// base rows 2 7, cover columns 3 8", "XY-wing 7, pivot r1c1 (12), pincers
// r1c5 (17) and r3c2 (27)", "X-chain 7s r1c1=r1c5-r4c5=r4c9" ('=' a strong
// link: one of the two holds; '-' a weak one: not both), "nice loop
// 1r1c1=2r1c1-2r1c6=2r8c6-2r8c2=1r8c2" (a digit before each node when the
// chain has several), "trial and error: 4 at r3c5 leaves no solution".
std::string StepText(const Explanation& e, int step);

// One placement of the text, without its line end: "r6c4 = 3  value
// elimination in column 4 (after pointing 2s in box 6 took 2 from r6c4)".
// `cell` is a cell that step `step` left with one digit.
std::string PlacementLine(const Explanation& e, int step, int cell);

// What the text says after "contradiction: " when the solve met one: "r1c9
// and r4c9 both hold 8 in column 9", "r3c4 is left with no digit: value
// elimination in row 3 would take its last digit 5, which r3c7 holds".
std::string ContradictionText(const Explanation& e);
