// Fuzzes the bridge from a board to the solver at levels 0 to 7 on arbitrary
// boards: values, marks and given flags in any combination, clashing digits
// included. The outcome is held against the rules of the write-back and
// against an independent backtracking search of the same digits; the
// grading of the board against solving each level afresh.
//
// Input: byte 0 picks the level (its value modulo 8); then two bytes per cell
// in row-major order (missing bytes leave a cell empty):
//   first byte  bits 0-3 value (only 1..9 are placed), bit 4 given,
//               bits 5-7 marks of digits 1..3
//   second byte bits 0-5 marks of digits 4..9
#include <cstdint>

#include "fuzz/fuzz_streams.h"
#include "fuzz/solution_counter.h"
#include "puzzle/board.h"
#include "puzzle/grade.h"

namespace {

// Enough for almost any board the fuzzer makes; a search that runs out of it
// only skips the comparison with the search.
constexpr long kNodeBudget = 20000;

Board BoardFrom(const uint8_t* data, size_t size) {
  Board board;
  for (int i = 0; i < 81; ++i) {
    const size_t at = 1 + 2 * size_t(i);
    const unsigned first = at < size ? data[at] : 0;
    const unsigned second = at + 1 < size ? data[at + 1] : 0;
    const unsigned marks = (first >> 5) | ((second & 0x3F) << 3);
    const int row = i / 9, col = i % 9;
    for (int d = 1; d <= 9; ++d) {
      if (marks & (1u << (d - 1))) board.SetCandidate(row, col, d, true);
    }
    board.SetValue(row, col, int(first & 0x0F));  // 0 and 10..15 are refused
    if (first & 0x10) board.SetGiven(row, col);
  }
  return board;
}

bool SameMarks(const Board& a, const Board& b, int row, int col) {
  for (int d = 1; d <= 9; ++d) {
    if (a.HasCandidate(row, col, d) != b.HasCandidate(row, col, d)) return false;
  }
  return true;
}

bool SameBoards(const Board& a, const Board& b) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (a.GetValue(row, col) != b.GetValue(row, col)) return false;
      if (a.IsGiven(row, col) != b.IsGiven(row, col)) return false;
      if (!SameMarks(a, b, row, col)) return false;
    }
  }
  return true;
}

void CheckSolve(const Board& input, int level) {
  // A board copy drops the marks of cells with a value; the solve is judged
  // against the copy it starts from.
  Board original, board;
  original.CopyDroppingMarksUnderValues(&input);
  board.CopyDroppingMarksUnderValues(&input);
  const bool verdict = board.SolveAtLevel(level);

  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      const int value = board.GetValue(row, col);
      FUZZ_CHECK(value >= 0 && value <= 9, "a value stays within 0..9");
      FUZZ_CHECK(board.HasValue(row, col) == (value != 0), "a value is 1..9 or none");
      FUZZ_CHECK(board.IsGiven(row, col) == original.IsGiven(row, col), "given flags stay");
      if (original.IsGiven(row, col)) {
        FUZZ_CHECK(value == original.GetValue(row, col), "a given keeps its value");
        FUZZ_CHECK(SameMarks(board, original, row, col), "a given keeps its marks");
        continue;
      }
      if (original.HasValue(row, col)) {
        FUZZ_CHECK(value == original.GetValue(row, col), "a loaded value stays");
      }
      if (value != 0) {
        // A decided cell keeps the marks it had; an undecided one shows the
        // candidates left, of which there is always at least one.
        FUZZ_CHECK(SameMarks(board, original, row, col), "a decided cell keeps its marks");
      } else {
        FUZZ_CHECK(board.CandidateCount(row, col) >= 1, "an undecided cell keeps a candidate");
      }
    }
  }

  if (verdict && board.IsComplete()) {
    FUZZ_CHECK(board.ObeysRules(), "a complete verdict is a valid grid");
  }

  // The search on the digits the solver was given (marks and empty givens
  // play no part): every deduction must agree with each completion.
  SolutionCounter counter(original);
  const int solutions = counter.Count(2, kNodeBudget);
  if (!counter.Finished()) return;
  if (solutions == 0) {
    FUZZ_CHECK(!(verdict && board.IsComplete()), "no completion, so no complete verdict");
    return;
  }
  FUZZ_CHECK(verdict, "digits that can be completed are no contradiction");
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      const int want = counter.First(row, col);
      if (board.HasValue(row, col)) {
        FUZZ_CHECK(board.GetValue(row, col) == want, "a decided digit is the solution's");
      } else if (!original.IsGiven(row, col)) {
        FUZZ_CHECK(board.HasCandidate(row, col, want), "the solution's digit stays a candidate");
      }
    }
  }
  if (verdict && board.IsComplete()) {
    FUZZ_CHECK(solutions == 1, "a board the solver completes has one completion");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int level = data[0] % 8;
  const Board original = BoardFrom(data, size);
  CheckSolve(original, level);

  // Level 0 acts as level 1 and a level above the highest as the highest,
  // to the last mark.
  if (level == 0 || level > kHighestGradeLevel) {
    Board low, high;
    low.CopyDroppingMarksUnderValues(&original);
    high.CopyDroppingMarksUnderValues(&original);
    const bool lowVerdict = low.SolveAtLevel(level);
    const bool highVerdict = high.SolveAtLevel(level == 0 ? 1 : kHighestGradeLevel);
    FUZZ_CHECK(lowVerdict == highVerdict, "levels outside the solver's act as the nearest");
    FUZZ_CHECK(SameBoards(low, high), "levels outside the solver's act as the nearest");
  }

  // Grading goes on from level to level on its quick paths; it must file the
  // board where solving each level afresh would.
  int afresh = kGradeUnfinished;
  for (int grade = 1; grade <= 3; ++grade) {
    bool complete = false;
    if (!original.TrySolveAtLevel(grade, &complete)) {
      afresh = kGradeContradiction;
      break;
    }
    if (complete) {
      afresh = grade;
      break;
    }
  }
  FUZZ_CHECK(GradePuzzle(original) == afresh, "grading files a board as solving each level afresh");

  // A full board is judged correct only when it obeys the rules.
  if (original.IsComplete() && original.IsCorrect()) {
    FUZZ_CHECK(original.ObeysRules(), "a correct board obeys the rules");
  }
  return 0;
}
