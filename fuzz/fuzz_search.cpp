// Fuzzes the search against the independent backtracking counter of
// solution_counter.h on arbitrary digit sets, clashing ones included: the
// count, up to the limit, must agree wherever the counter finishes within
// its node budget; a solution given must be a full grid that obeys the rules
// and keeps every digit; and where there is exactly one, it must be the
// counter's. The search from candidate words is held to the same rules and
// to the search from digits, on the words the digits spell and on the words
// the level-3 solver leaves, which keep every solution. (Words narrowed at
// random are left out: some leave no solution so deep down that an
// exhaustive search of them takes minutes.)
//
// Input: byte 0 picks the limit (1 + its value modulo 3); then one byte per
// cell in row-major order (missing bytes leave a cell empty): bits 0-3 the
// value (only 1..9 are placed).
#include <cstdint>

#include "fuzz/fuzz_streams.h"
#include "fuzz/solution_counter.h"
#include "puzzle/board.h"
#include "solver/search.h"
#include "solver/solver_grid.h"

namespace {

// Enough for almost any board the fuzzer makes; where the counter runs out
// of it, only the comparison of counts is skipped.
constexpr long kNodeBudget = 50000;

bool SameHouse(int a, int b) {
  return a / 9 == b / 9 || a % 9 == b % 9 || (a / 27 == b / 27 && a % 9 / 3 == b % 9 / 3);
}

// The solution is a full grid that obeys the rules, and each cell's digit is
// one its word allows.
void CheckGrid(const uint8_t solution[81], const uint16_t words[81]) {
  for (int x = 0; x < 81; ++x) {
    FUZZ_CHECK(solution[x] >= 1 && solution[x] <= 9, "a solution fills every cell");
    FUZZ_CHECK(words[x] & (1u << solution[x]), "a solution keeps to the candidates");
    for (int y = x + 1; y < 81; ++y) {
      FUZZ_CHECK(!SameHouse(x, y) || solution[x] != solution[y], "a solution obeys the rules");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int limit = 1 + data[0] % 3;
  uint8_t values[81];
  uint16_t all[81];
  Board board;
  for (int x = 0; x < 81; ++x) {
    const int v = 1 + size_t(x) < size ? data[1 + x] & 0x0F : 0;
    values[x] = uint8_t(v);
    const bool placed = v >= 1 && v <= 9;
    if (placed) board.SetValue(x / 9, x % 9, v);
    all[x] = placed ? uint16_t(1u << v) : uint16_t(0x3FE);
  }

  const SearchOutcome outcome = SearchSolutions(values, limit);
  FUZZ_CHECK(outcome.solutions >= 0 && outcome.solutions <= limit, "counted up to the limit");
  if (outcome.solutions > 0) CheckGrid(outcome.solution, all);

  // Candidate words that say only what the digits say count the same.
  const SearchOutcome fromWords = SearchCandidates(all, limit);
  FUZZ_CHECK(fromWords.solutions == outcome.solutions, "words of the digits count as the digits");

  SolutionCounter counter(board);
  const int counted = counter.Count(limit < 2 ? 2 : limit, kNodeBudget);
  if (counter.Finished()) {
    FUZZ_CHECK(outcome.solutions == (counted < limit ? counted : limit), "the counter's count");
    if (counted == 1) {
      for (int x = 0; x < 81; ++x) {
        FUZZ_CHECK(outcome.solution[x] == counter.First(x / 9, x % 9), "the one solution");
      }
    }
  }

  // The level-3 solver removes no solution's digit: from what it leaves the
  // search counts the same, or the solver saw there is none.
  uint16_t settled[81];
  if (!SolverGrid::SolveDigits(values, 3, settled)) {
    FUZZ_CHECK(outcome.solutions == 0, "a contradiction of the solver has no solution");
  } else {
    const SearchOutcome narrow = SearchCandidates(settled, limit);
    FUZZ_CHECK(narrow.solutions == outcome.solutions, "the solver's words count as the digits");
    if (narrow.solutions > 0) CheckGrid(narrow.solution, settled);
  }
  return 0;
}
