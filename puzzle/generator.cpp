// The bridge from a board to the solver, the puzzle generator and the answer
// check. Everything lives on the stack: boards and one solver grid per solve.
#include "puzzle/board.h"
#include "puzzle/random.h"
#include "solver/solver_grid.h"

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
  Clear();
  Board work;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    work.CopyFrom(this);
    if (!work.SolveAtLevel(maxLevel)) {
      Clear();
      continue;
    }
    if (work.IsComplete()) {
      if (minLevel <= 1) return true;
      bool complete = false;
      if (TrySolveAtLevel(minLevel - 1, &complete) && !complete) return true;
      Clear();
      continue;
    }
    int row = -1, col = -1, digit = 0;
    work.PickRandomOpenCell(&row, &col, &digit);
    if (work.HasValue(row, col) || !work.HasCandidate(row, col, digit)) {
      return false;
    }
    SetValue(row, col, digit);
    SetGiven(row, col);
  }
  return false;
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
    probe.CopyFrom(this);
    probe.SetValue(r, c, d);
    if (probe.TrySolveAtLevel(3, nullptr)) return;
  }
}

bool Board::IsCorrect() const {
  if (!IsComplete()) return false;
  Board solution;
  solution.CopyGivensFrom(this);
  if (!solution.SolveAtLevel(3)) return false;
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
