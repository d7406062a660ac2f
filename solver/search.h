// The search: a depth-first search over candidate masks that counts a
// puzzle's solutions up to a limit and gives the first one it finds. It is
// how Kubri tells one solution from several or none, and how it finishes a
// puzzle that logic alone does not; it never takes part in grading levels 1
// to 3. Each node propagates naked and hidden singles on bit boards (one
// 81-bit board per digit) to a fixpoint and branches on the open cell with
// the fewest candidates.
#pragma once

#include <cstdint>

// What a search found.
struct SearchOutcome {
  int solutions = 0;        // 0, 1 .. limit: no more than the limit is counted
  uint8_t solution[81] = {};  // the first solution found, when solutions > 0
};

// Counts the completions of `values` (row-major, 0 empty, 1..9; anything
// else counts as empty) up to `limit` (at least 1). Digits that already
// clash in a house give 0.
SearchOutcome SearchSolutions(const uint8_t values[81], int limit = 2);

// The same from candidate words (bits 1..9 of each cell, as the solvers keep
// them): a cell's word is the digits it may still take. A cell with no
// candidate, or two cells of a house held to the same digit, give 0.
SearchOutcome SearchCandidates(const uint16_t masks[81], int limit = 2);
