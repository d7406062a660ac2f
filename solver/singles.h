// Level 1 (value elimination and hidden singles) from a board's digits alone,
// on one bit board per digit: a band of three rows is one 27-bit word, so a
// digit placed clears its row, box and column in three operations, and a
// row, column or box down to one place for a digit shows in a few more.
//
// Like the incremental grid it reaches the state that every order of work
// reaches (see incremental_grid.h) and gives up where the outcome could
// depend on the order: a contradiction, or a digit left with no place in a
// house. Then the caller solves from scratch.
#pragma once

#include <cstdint>

// Solves the digits of `values` (0 empty, 1..9; row-major) with the level-1
// techniques and writes the candidates reached to `masks` (bits 1..9 per
// cell). True when that is the outcome of SolverGrid::Solve(1) on the same
// digits, with no contradiction; false when the caller must solve from
// scratch (`masks` then holds nothing of use).
bool SolveSingles(const uint8_t values[81], uint16_t masks[81]);
