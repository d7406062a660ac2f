// The bridge from a board to the solver, the puzzle generator and the answer
// check. Everything lives on the stack: boards and one solver grid per solve.
#include "puzzle/board.h"
#include "puzzle/generation_check.h"
#include "puzzle/random.h"
#include "solver/bits.h"
#include "solver/incremental_grid.h"
#include "solver/singles.h"
#include "solver/solver_grid.h"
#include "solver/techniques.h"

namespace {

constexpr int kProbes = 10;
constexpr int kDraws = 10000;

// Makes `grid` hold the board's values (givens and the player's alike).
void LoadValues(const Board& board, SolverGrid& grid) {
  grid.Reset();
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      const Cell& cell = board.CellAt(row, col);
      if (cell.HasValue()) grid.SetValue(row, col, cell.GetValue());
    }
  }
}

}  // namespace

bool Board::TrySolveAtLevel(int level, bool* complete) const {
  SolverGrid grid;
  LoadValues(*this, grid);
  bool solved[81];
  const bool verdict = grid.SolveForVerdict(level, complete ? solved : nullptr);
  if (complete) {
    // What IsComplete would say after the write-back: a given cell keeps
    // its own state, every other cell has a value when its set is solved.
    bool full = true;
    for (int i = 0; i < 81 && full; ++i) {
      const Cell& cell = CellAt(i / 9, i % 9);
      full = cell.IsGiven() ? cell.HasValue() : solved[i];
    }
    *complete = full;
  }
  return verdict;
}

bool Board::SolveAtLevel(int level) {
  SolverGrid grid;
  LoadValues(*this, grid);
  const bool verdict = grid.Solve(level);
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      Cell& cell = CellAt(row, col);
      const DigitSet& set = grid.At(row, col);
      if (set.IsSingle()) {
        cell.SetValue(set.Get(0));
      } else {
        cell.ClearValue();
        cell.ClearCandidates();
        const int count = set.Count();
        for (int k = 0; k < count; ++k) cell.SetCandidate(set.Get(k));
      }
    }
  }
  return verdict;
}

bool Board::Generate(int minLevel, int maxLevel, int attempts) {
  return GenerateObserved(*this, minLevel, maxLevel, attempts, nullptr);
}

namespace {

// One generation. It takes every random draw, given and start-over that a
// generation solving from scratch on boards takes (solve the givens,
// Board::PickRandomOpenCell probing with the level-3 solver, add the choice
// as a given), but keeps its solves from one pass to the next: the givens
// solved at maxLevel (`maxLevelSolve`) and at level 3 (`settled`, the state
// every probe starts from). A new given, or a probed digit, is then placed
// into a kept solve incrementally. Wherever that cannot be trusted (see
// IncrementalGrid), the digits are solved from scratch.
class Generation {
 public:
  // Generation knows levels 1 to 3: a higher level acts as 3, as it always
  // has, and never reaches the solver's patterns.
  Generation(Board& target, int lowest, int highest, GenerationObserver* watcher)
      : board(target),
        minLevel(lowest),
        maxLevel(highest > kHighestPlayLevel ? kHighestPlayLevel : highest),
        observer(watcher) {}

  bool Run(int attempts) {
    StartOver();
    for (int attempt = 0; attempt < attempts; ++attempt) {
      if (!SolveGivens()) {
        StartOver();
        continue;
      }
      if (maxLevelSolve.IsComplete()) {
        if (minLevel <= 1) return true;
        if (LowerLevelLeavesOpen()) return true;
        StartOver();
        continue;
      }
      int x = -1, d = 0;
      Pick(&x, &d);
      if (x < 0 || maxLevelSolve.IsSolved(x) || !(maxLevelSolve.Mask(x) & (1u << d))) return false;
      board.SetValue(x / 9, x % 9, d);
      board.SetGiven(x / 9, x % 9);
      givens[x] = uint8_t(d);
      added = x;
    }
    return false;
  }

 private:
  // What is known of the level-3 solve `settled`.
  enum class Known { kYes, kNotDerivedYet, kUntrusted };

  // An empty board: what every level's solve of no givens leaves.
  void StartOver() {
    board.Clear();
    for (uint8_t& value : givens) value = 0;
    maxLevelSolve.Clear();
    maxLevelSolveTrusted = true;
    settled.Clear();
    settledState = Known::kYes;
    probeTaken = false;
    added = -1;
  }

  // The pass's solve of the givens at maxLevel. False on a contradiction.
  bool SolveGivens() {
    if (added < 0) return true;  // nothing added since the start-over
    const int x = added;
    added = -1;
    bool kept = false;
    if (maxLevel >= kHighestPlayLevel && probeTaken) {
      // The probe that chose the new given solved these very digits.
      maxLevelSolve = probe;
      maxLevelSolveTrusted = kept = true;
    } else if (maxLevelSolveTrusted) {
      kept = maxLevelSolve.Place(x, givens[x], maxLevel);
    }
    if (kept) {
      Show(givens, maxLevel, maxLevelSolve.Masks());
    } else {
      uint16_t masks[81];
      if (!SolverGrid::SolveDigits(givens, maxLevel, masks)) return false;
      maxLevelSolveTrusted = maxLevelSolve.Load(masks);
    }
    if (maxLevel < kHighestPlayLevel) {
      if (probeTaken) settled = probe;
      settledState = probeTaken ? Known::kYes : Known::kNotDerivedYet;
    }
    probeTaken = false;
    return true;
  }

  // The givens solved at minLevel - 1 meet no contradiction and stay
  // incomplete: the puzzle is too hard for that level.
  bool LowerLevelLeavesOpen() {
    const int lowerLevel = minLevel - 1 > kHighestPlayLevel ? kHighestPlayLevel : minLevel - 1;
    uint16_t masks[81];
    if (SolveSingles(givens, masks)) {
      if (lowerLevel <= 1) {
        Show(givens, lowerLevel, masks);
        return !SolverGrid::AllSolved(masks);
      }
      IncrementalGrid lower;
      if (lower.Load(masks) && lower.Settle(lowerLevel)) {
        Show(givens, lowerLevel, lower.Masks());
        return !lower.IsComplete();
      }
    }
    bool complete = false;
    return board.TrySolveAtLevel(lowerLevel, &complete) && !complete;
  }

  // Board::PickRandomOpenCell on the solved givens, draw for draw.
  void Pick(int* x, int* d) {
    int probesLeft = kProbes;
    for (int draw = 0; draw < kDraws; ++draw) {
      const int r = RandomIndexBelow(9);
      const int c = RandomIndexBelow(9);
      const int cell = r * 9 + c;
      if (maxLevelSolve.IsSolved(cell)) continue;
      const unsigned candidates = maxLevelSolve.Mask(cell);
      const int digit = NthBit(candidates, RandomIndexBelow(BitCount(candidates)));
      *x = cell;
      *d = digit;
      if (probesLeft <= 0) {
        // The eleventh choice goes unprobed: nothing vouches for it, so the
        // next pass solves the givens from scratch.
        probeTaken = false;
        maxLevelSolveTrusted = false;
        return;
      }
      --probesLeft;
      if (Probe(cell, digit)) return;
    }
  }

  // The level-3 solve of the solved givens plus digit d at cell x: true when
  // it meets no contradiction.
  bool Probe(int x, int d) {
    const IncrementalGrid* start = ProbeStart();
    if (start) {
      probe = *start;
      if (probe.Place(x, d, kHighestPlayLevel)) {
        probeTaken = true;
        if (observer) {
          uint8_t values[81];
          LoadedDigits(x, d, values);
          Show(values, kHighestPlayLevel, probe.Masks());
        }
        return true;
      }
    }
    probeTaken = false;
    uint8_t values[81];
    LoadedDigits(x, d, values);
    uint16_t masks[81];
    return SolverGrid::SolveDigits(values, kHighestPlayLevel, masks);
  }

  // The level-3 solve of the givens, when it can be trusted.
  const IncrementalGrid* ProbeStart() {
    if (maxLevel >= kHighestPlayLevel) return maxLevelSolveTrusted ? &maxLevelSolve : nullptr;
    if (settledState == Known::kNotDerivedYet) {
      settled = maxLevelSolve;
      settledState = maxLevelSolveTrusted && settled.Settle(kHighestPlayLevel) ? Known::kYes : Known::kUntrusted;
    }
    return settledState == Known::kYes ? &settled : nullptr;
  }

  // What a probe loads: the solved cells of `maxLevelSolve`, and d at x.
  void LoadedDigits(int x, int d, uint8_t values[81]) const {
    for (int y = 0; y < 81; ++y) {
      values[y] = uint8_t(maxLevelSolve.IsSolved(y) ? LowestBit(maxLevelSolve.Mask(y)) : 0);
    }
    values[x] = uint8_t(d);
  }

  void Show(const uint8_t values[81], int level, const uint16_t masks[81]) {
    if (observer) observer->OnSolve(values, level, masks);
  }

  Board& board;
  const int minLevel, maxLevel;
  GenerationObserver* const observer;
  uint8_t givens[81];
  IncrementalGrid maxLevelSolve;  // the givens solved at maxLevel
  bool maxLevelSolveTrusted = true;
  IncrementalGrid settled;  // the givens solved at level 3 (maxLevel < 3)
  Known settledState = Known::kYes;
  IncrementalGrid probe;  // the last probe, taken when probeTaken
  bool probeTaken = false;
  int added = -1;  // the cell given by the last pass, -1 after a start-over
};

}  // namespace

bool GenerateObserved(Board& board, int minLevel, int maxLevel, int attempts,
                      GenerationObserver* observer) {
  Generation generation(board, minLevel, maxLevel, observer);
  return generation.Run(attempts);
}

void Board::PickRandomOpenCell(int* row, int* col, int* digit) const {
  int probesLeft = kProbes;
  Board probe;
  for (int draw = 0; draw < kDraws; ++draw) {
    const int r = RandomIndexBelow(9);
    const int c = RandomIndexBelow(9);
    if (HasValue(r, c)) continue;
    const int d = CellAt(r, c).PickRandomCandidate();
    if (row) *row = r;
    if (col) *col = c;
    if (digit) *digit = d;
    if (probesLeft <= 0) return;
    --probesLeft;
    probe.CopyDroppingMarksUnderValues(this);
    probe.SetValue(r, c, d);
    if (probe.TrySolveAtLevel(kHighestPlayLevel, nullptr)) return;
  }
}

bool Board::IsCorrect() const {
  if (!IsComplete()) return false;
  Board solution;
  solution.CopyGivensFrom(this);
  if (!solution.SolveAtLevel(kHighestPlayLevel)) return false;
  if (!solution.IsComplete()) {
    // The solver cannot finish these givens, so there is no solution to
    // compare with: judge the grid by the rules. The givens are this board's
    // own cells and keep their digits by construction.
    return ObeysRules();
  }
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (GetValue(row, col) != solution.GetValue(row, col)) return false;
    }
  }
  return true;
}
