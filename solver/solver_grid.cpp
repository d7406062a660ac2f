// The solver grid's loading, read-back, checks, pass loop and techniques.
#include "solver/solver_grid.h"

#include <cstring>

#include "solver/patterns.h"
#include "solver/techniques.h"

void SolverGrid::Reset() {
  for (DigitSet& set : cells) set.FillAll();
}

void SolverGrid::SetValue(int row, int col, int d) {
  if (!InRange(row, col) || d < 1 || d > 9) return;
  cells[row * 9 + col].SetSingle(d);
}

bool SolverGrid::IsSolved(int row, int col) const {
  return InRange(row, col) && cells[row * 9 + col].IsSingle();
}

int SolverGrid::GetValue(int row, int col) const {
  return InRange(row, col) ? cells[row * 9 + col].Get(0) : 0;
}

int SolverGrid::CandidateCount(int row, int col) const {
  return InRange(row, col) ? cells[row * 9 + col].Count() : 0;
}

int SolverGrid::GetCandidate(int row, int col, int i) const {
  return InRange(row, col) ? cells[row * 9 + col].Get(i) : 0;
}

namespace {

using solver_detail::MaskStore;
using solver_detail::OpenCells;
using solver_detail::PlacedDigits;

// One solve on the bit-mask copy of the grid: the pass loop with the
// admitted techniques in the table's order.
class MaskSolve {
 public:
  MaskSolve(uint16_t* cells, int level)
      : s{cells},
        patterns(AdmittedTechniques(level)),
        admitted(patterns < kFirstPatternTechnique ? patterns : kFirstPatternTechnique) {
    for (int x = 0; x < 81; ++x) open.cells[x] = uint8_t(x);
    open.count = 81;
  }

  // The verdict of Solve. `snapshot` receives the cells as the last pass
  // began; *snapshotTaken tells whether a pass began at all. Above level 3:
  // the level-3 passes to their end, then the first pattern (in table
  // order) that removes something, once, and the passes again, until the
  // grid is complete, no pattern is found or a contradiction shows.
  bool Run(uint16_t* snapshot, bool* snapshotTaken) {
    int passes = 0;
    for (;;) {
      if (!Passes(snapshot, snapshotTaken, passes)) return false;
      if (patterns == admitted || SolverGrid::AllSolved(s.cells)) return true;
      PatternStep step;
      if (!FindFirstPattern(kFirstPatternTechnique, patterns, s.cells, &step)) return true;
      const int stepLevel = kTechniqueTable[step.technique].level;
      if (stepLevel > highest) highest = stepLevel;
      for (int i = 0; i < step.removalCount; ++i) {
        const PatternRemoval& r = step.removals[i];
        for (unsigned b = r.digits; b; b &= b - 1) {
          if (!s.Remove(r.cell, LowestBit(b))) return false;
        }
      }
      quiet = 0;
      if (++passes >= kPassLimit) return false;
    }
  }

  // The highest level of a pattern the solve applied; 0 when none.
  int HighestPattern() const { return highest; }

 private:
  // The passes of the per-cell techniques until the grid is complete, a
  // pass changes nothing or a contradiction shows.
  bool Passes(uint16_t* snapshot, bool* snapshotTaken, int& passes) {
    for (;;) {
      if (!Consistent()) return false;
      std::memcpy(snapshot, s.cells, 81 * sizeof(uint16_t));
      *snapshotTaken = true;
      const int changesBefore = s.changes;
      open.Gather(s);
      // Elimination starts from what the consistency check gathered.
      working = placed;
      for (int technique = 0; technique < admitted; ++technique) {
        if (!RunUnlessQuiet(technique)) return false;
      }
      bool complete = true;
      for (int x = 0; x < 81 && complete; ++x) complete = s.Single(x);
      // Cells solved during this pass (hidden singles above all) may clash
      // with each other; a full grid counts only when it is consistent.
      if (complete) return Consistent();
      // Every counted change narrows a set, so no count means no change.
      if (s.changes == changesBefore) return true;
      if (++passes >= kPassLimit) return false;
    }
  }

  // Once every admitted technique has run in a row (across passes) without
  // a change on the present grid, running any of them again changes nothing
  // either, so the rest of the pass is skipped: it would end with the grid
  // unchanged all the same.
  bool RunUnlessQuiet(int technique) {
    if (quiet >= admitted) return true;
    const int before = s.changes;
    const bool ok = solver_detail::RunTechnique(technique, s, open, placed, working);
    quiet = s.changes == before ? quiet + 1 : 0;
    return ok;
  }

  // The consistency check: every solved cell on the first pass, then only
  // those solved since the last check (the cells open at its time).
  bool Consistent() {
    for (int i = 0; i < open.count; ++i) {
      const int x = open.cells[i];
      if (s.Single(x) && !placed.Add(s, x)) return false;
    }
    return true;
  }

  MaskStore s;
  OpenCells open;
  const int patterns;  // the techniques admitted, patterns included
  const int admitted;  // the per-cell techniques admitted
  int highest = 0;
  int quiet = 0;  // techniques run in a row that changed nothing
  PlacedDigits placed, working;
};

bool SolveMasks(uint16_t* cells, uint16_t* snapshot, int level, bool* snapshotTaken, int* highest = nullptr) {
  MaskSolve solve(cells, level);
  const bool verdict = solve.Run(snapshot, snapshotTaken);
  if (highest) *highest = solve.HighestPattern();
  return verdict;
}

}  // namespace

// Solves on a compact copy (one 16-bit word of digit bits per cell) and
// loads the outcome back into the sets; the steps are the very templates
// the technique members run on the sets themselves.
bool SolverGrid::Solve(int level) {
  uint16_t masks[81];
  uint16_t before[81];
  for (int x = 0; x < 81; ++x) masks[x] = uint16_t(cells[x].Mask());
  bool snapshotTaken = false;
  const bool verdict = SolveMasks(masks, before, level, &snapshotTaken);
  for (int x = 0; x < 81; ++x) cells[x].LoadMask(masks[x]);
  if (snapshotTaken) {
    for (int x = 0; x < 81; ++x) snapshot[x].LoadMask(before[x]);
  }
  return verdict;
}

bool SolverGrid::SolveForVerdict(int level, bool* solved) const {
  uint16_t masks[81];
  uint16_t before[81];
  for (int x = 0; x < 81; ++x) masks[x] = uint16_t(cells[x].Mask());
  bool snapshotTaken = false;
  const bool verdict = SolveMasks(masks, before, level, &snapshotTaken);
  if (solved) {
    for (int x = 0; x < 81; ++x) solved[x] = AtMostOneBit(masks[x]);
  }
  return verdict;
}

bool SolverGrid::SolveCandidates(uint16_t masks[81], int level) {
  uint16_t before[81];
  bool snapshotTaken = false;
  return SolveMasks(masks, before, level, &snapshotTaken);
}

bool SolverGrid::SolveCandidatesGraded(uint16_t masks[81], int level, int* highestPattern) {
  uint16_t before[81];
  bool snapshotTaken = false;
  return SolveMasks(masks, before, level, &snapshotTaken, highestPattern);
}

bool SolverGrid::SolveDigits(const uint8_t values[81], int level, uint16_t masks[81]) {
  LoadDigitMasks(values, masks);
  return SolveCandidates(masks, level);
}

bool SolverGrid::AllSolved(const uint16_t masks[81]) {
  for (int x = 0; x < 81; ++x) {
    if (!AtMostOneBit(masks[x])) return false;
  }
  return true;
}

int SolverGrid::Places(int kind, int r, int c, int d) const {
  if (!InRange(r, c)) return 0;
  const DigitSet& x = cells[r * 9 + c];
  if (x.IsSingle() && x.Get(0) == d) return 1;
  int count = (!x.IsSingle() && x.Contains(d)) ? 1 : 0;
  const HouseList list = List(kind, r, c);
  for (int k = 0; k < list.length; ++k) {
    const DigitSet& y = cells[list.cells[k]];
    if (y.IsSingle()) {
      if (y.Get(0) == d) return 1;
    } else if (y.Contains(d)) {
      ++count;
    }
  }
  return count;
}

bool SolverGrid::IsConsistent() const {
  return solver_detail::IsConsistentIn(solver_detail::SetStore{const_cast<DigitSet*>(cells)});
}

// The sets keep unused slots at 0, so a byte copy and a byte comparison are
// the slot-by-slot Assign and Equals of every cell.
void SolverGrid::TakeSnapshot() { std::memcpy(snapshot, cells, sizeof cells); }

bool SolverGrid::IsUnchanged() const {
  return std::memcmp(snapshot, cells, sizeof cells) == 0;
}

bool SolverGrid::IsComplete() const {
  for (const DigitSet& set : cells) {
    if (!set.IsSingle()) return false;
  }
  return true;
}

// The technique members: one technique over the sets, from the state they
// hold now.
bool SolverGrid::Run(int technique) {
  solver_detail::SetStore s{cells};
  solver_detail::OpenCells open;
  open.Gather(s);
  solver_detail::PlacedDigits placed;
  placed.AddAll(s);
  solver_detail::PlacedDigits working = placed;
  return solver_detail::RunTechnique(technique, s, open, placed, working);
}

bool SolverGrid::EliminateRowValues() { return Run(kEliminateRowValues); }
bool SolverGrid::EliminateColumnValues() { return Run(kEliminateColumnValues); }
bool SolverGrid::EliminateBoxValues() { return Run(kEliminateBoxValues); }
bool SolverGrid::HiddenSingleInRow() { return Run(kHiddenSingleInRow); }
bool SolverGrid::HiddenSingleInColumn() { return Run(kHiddenSingleInColumn); }
bool SolverGrid::HiddenSingleInBox() { return Run(kHiddenSingleInBox); }
bool SolverGrid::PointingInRow() { return Run(kPointingInRow); }
bool SolverGrid::PointingInColumn() { return Run(kPointingInColumn); }
bool SolverGrid::ClaimingInRow() { return Run(kClaimingInRow); }
bool SolverGrid::ClaimingInColumn() { return Run(kClaimingInColumn); }
bool SolverGrid::NakedPairInRow() { return Run(kNakedPairInRow); }
bool SolverGrid::NakedPairInColumn() { return Run(kNakedPairInColumn); }
bool SolverGrid::NakedPairInBox() { return Run(kNakedPairInBox); }
bool SolverGrid::HiddenPairInRow() { return Run(kHiddenPairInRow); }
bool SolverGrid::HiddenPairInColumn() { return Run(kHiddenPairInColumn); }
bool SolverGrid::HiddenPairInBox() { return Run(kHiddenPairInBox); }
