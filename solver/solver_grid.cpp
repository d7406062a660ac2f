// The solver grid's loading, read-back, checks, pass loop and techniques.
#include "solver/solver_grid.h"

#include <cstring>

#include "solver/techniques.h"

namespace {

constexpr int kPassLimit = 10000;

}  // namespace

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

// One solve on the bit-mask copy of the grid: the pass loop with the
// techniques in their fixed order. `snapshotTaken` tells whether a pass began.
bool SolveMasks(uint16_t* cells, uint16_t* snapshot, int level, bool* snapshotTaken) {
  using namespace solver_detail;
  MaskStore s{cells};
  OpenCells open;
  const int admitted = level >= 3 ? 16 : level >= 2 ? 10 : 6;
  // Runs in a row, across passes, that changed nothing. Once every admitted
  // technique has run without a change on the present grid, running any of
  // them again changes nothing either, so the rest of the pass is skipped:
  // it would end with the grid unchanged all the same.
  int quiet = 0;
  // The consistency check: every solved cell on the first pass, then only
  // those solved since the last check (the cells open at its time).
  PlacedDigits placed, working;
  auto run = [&](int technique) {
    if (quiet >= admitted) return true;
    const int before = s.changes;
    bool ok = true;
    switch (technique) {
      case 0:
        // Elimination starts from what the consistency check gathered.
        working = placed;
        ok = EliminateValuesIn(s, open, kRowPeers, working);
        break;
      case 1: ok = EliminateValuesIn(s, open, kColumnPeers, working); break;
      case 2: ok = EliminateValuesIn(s, open, kBoxPeers, working); break;
      case 3: ok = HiddenSingleIn(s, open, kRowPeers, placed); break;
      case 4: ok = HiddenSingleIn(s, open, kColumnPeers, placed); break;
      case 5: ok = HiddenSingleIn(s, open, kBoxPeers, placed); break;
      case 6: ok = ConfineIn(s, open, kBoxOutsideRow, kRowOutsideBox); break;
      case 7: ok = ConfineIn(s, open, kBoxOutsideColumn, kColumnOutsideBox); break;
      case 8: ok = ConfineIn(s, open, kRowOutsideBox, kBoxOutsideRow); break;
      case 9: ok = ConfineIn(s, open, kColumnOutsideBox, kBoxOutsideColumn); break;
      case 10: ok = NakedPairIn(s, open, kRowPeers); break;
      case 11: ok = NakedPairIn(s, open, kColumnPeers); break;
      case 12: ok = NakedPairIn(s, open, kBoxPeers); break;
      case 13: ok = HiddenPairIn(s, open, kRowPeers); break;
      case 14: ok = HiddenPairIn(s, open, kColumnPeers); break;
      default: ok = HiddenPairIn(s, open, kBoxPeers); break;
    }
    quiet = s.changes == before ? quiet + 1 : 0;
    return ok;
  };
  for (int x = 0; x < 81; ++x) open.cells[x] = uint8_t(x);
  open.count = 81;
  auto consistent = [&]() {
    for (int i = 0; i < open.count; ++i) {
      const int x = open.cells[i];
      if (s.Single(x) && !placed.Add(s, x)) return false;
    }
    return true;
  };
  int passes = 0;
  for (;;) {
    if (!consistent()) return false;
    std::memcpy(snapshot, cells, 81 * sizeof(uint16_t));
    *snapshotTaken = true;
    const int changesBefore = s.changes;
    open.Gather(s);
    // The fixed order: level 1, then level 2's four, then level 3's six.
    for (int technique = 0; technique < admitted; ++technique) {
      if (!run(technique)) return false;
    }
    bool complete = true;
    for (int x = 0; x < 81 && complete; ++x) complete = s.Single(x);
    // Cells solved during this pass (hidden singles above all) may clash
    // with each other; a full grid counts only when it is consistent.
    if (complete) return consistent();
    // Every counted change narrows a set, so no count means no change.
    if (s.changes == changesBefore) return true;
    if (++passes >= kPassLimit) return false;
  }
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
    for (int x = 0; x < 81; ++x) solved[x] = (masks[x] & (masks[x] - 1)) == 0;
  }
  return verdict;
}

bool SolverGrid::SolveCandidates(uint16_t masks[81], int level) {
  uint16_t before[81];
  bool snapshotTaken = false;
  return SolveMasks(masks, before, level, &snapshotTaken);
}

bool SolverGrid::SolveDigits(const uint8_t values[81], int level, uint16_t masks[81]) {
  for (int x = 0; x < 81; ++x) {
    const int d = values[x];
    masks[x] = uint16_t(d >= 1 && d <= 9 ? 1u << d : 0x3FEu);
  }
  return SolveCandidates(masks, level);
}

bool SolverGrid::AllSolved(const uint16_t masks[81]) {
  for (int x = 0; x < 81; ++x) {
    if (masks[x] & (masks[x] - 1)) return false;
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

bool SolverGrid::EliminateValues(int kind) {
  solver_detail::SetStore s{cells};
  solver_detail::OpenCells open;
  open.Gather(s);
  solver_detail::PlacedDigits placed;
  placed.AddAll(s);
  return solver_detail::EliminateValuesIn(s, open, kind, placed);
}

bool SolverGrid::HiddenSingle(int kind) {
  solver_detail::SetStore s{cells};
  solver_detail::OpenCells open;
  open.Gather(s);
  solver_detail::PlacedDigits placed;
  placed.AddAll(s);
  return solver_detail::HiddenSingleIn(s, open, kind, placed);
}

bool SolverGrid::Confine(int mustLack, int clear) {
  solver_detail::SetStore s{cells};
  solver_detail::OpenCells open;
  open.Gather(s);
  return solver_detail::ConfineIn(s, open, mustLack, clear);
}

bool SolverGrid::NakedPair(int kind) {
  solver_detail::SetStore s{cells};
  solver_detail::OpenCells open;
  open.Gather(s);
  return solver_detail::NakedPairIn(s, open, kind);
}

bool SolverGrid::HiddenPair(int kind) {
  solver_detail::SetStore s{cells};
  solver_detail::OpenCells open;
  open.Gather(s);
  return solver_detail::HiddenPairIn(s, open, kind);
}
