// The solver grid's loading, read-back, checks, pass loop and techniques.
#include "solver/solver_grid.h"

#include <cstring>

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

bool SolverGrid::Solve(int level) {
  int passes = 0;
  for (;;) {
    if (!IsConsistent()) return false;
    TakeSnapshot();
    if (!EliminateRowValues() || !EliminateColumnValues() ||
        !EliminateBoxValues() || !HiddenSingleInRow() ||
        !HiddenSingleInColumn() || !HiddenSingleInBox()) {
      return false;
    }
    if (level >= 2) {
      if (!PointingInRow() || !PointingInColumn() || !ClaimingInRow() ||
          !ClaimingInColumn()) {
        return false;
      }
    }
    if (level >= 3) {
      if (!NakedPairInRow() || !NakedPairInColumn() || !NakedPairInBox() ||
          !HiddenPairInRow() || !HiddenPairInColumn() || !HiddenPairInBox()) {
        return false;
      }
    }
    // Cells solved during this pass (hidden singles above all) may clash
    // with each other; a full grid counts only when it is consistent.
    if (IsComplete()) return IsConsistent();
    if (IsUnchanged()) return true;
    if (++passes >= kPassLimit) return false;
  }
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
  // Equivalent to walking the three peer lists of every solved cell: a house
  // fails exactly when two of its solved cells share a digit.
  for (int i = 0; i < 9; ++i) {
    unsigned row = 0, column = 0, box = 0;
    const int r0 = i / 3 * 3, c0 = i % 3 * 3;
    for (int j = 0; j < 9; ++j) {
      const DigitSet& a = cells[i * 9 + j];
      if (a.IsSingle()) {
        const unsigned bit = 1u << a.Get(0);
        if (row & bit) return false;
        row |= bit;
      }
      const DigitSet& b = cells[j * 9 + i];
      if (b.IsSingle()) {
        const unsigned bit = 1u << b.Get(0);
        if (column & bit) return false;
        column |= bit;
      }
      const DigitSet& x = cells[(r0 + j / 3) * 9 + c0 + j % 3];
      if (x.IsSingle()) {
        const unsigned bit = 1u << x.Get(0);
        if (box & bit) return false;
        box |= bit;
      }
    }
  }
  return true;
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
  const int length = HouseLength(kind);
  for (int x = 0; x < 81; ++x) {
    DigitSet& cell = cells[x];
    if (cell.IsSingle()) continue;
    const uint8_t* list = kHouses.lists[kind][x];
    // Once the cell is down to one digit the walk goes on: a further solved
    // peer with that digit is a contradiction.
    for (int k = 0; k < length; ++k) {
      const DigitSet& peer = cells[list[k]];
      if (peer.IsSingle() && !cell.Remove(peer.Get(0))) return false;
    }
  }
  return true;
}

bool SolverGrid::HiddenSingle(int kind) {
  const int length = HouseLength(kind);
  for (int x = 0; x < 81; ++x) {
    DigitSet& cell = cells[x];
    if (cell.IsSingle()) continue;
    const uint8_t* list = kHouses.lists[kind][x];
    unsigned held = 0;  // every digit some peer holds, placed or open
    for (int k = 0; k < length; ++k) held |= cells[list[k]].Mask();
    const int count = cell.Count();
    for (int i = 0; i < count; ++i) {
      const int d = cell.Get(i);
      if (!(held & (1u << d))) {
        cell.SetSingle(d);
        break;
      }
    }
  }
  return true;
}

bool SolverGrid::Confine(int mustLack, int clear) {
  const int lackLength = HouseLength(mustLack);
  const int clearLength = HouseLength(clear);
  for (int x = 0; x < 81; ++x) {
    const DigitSet& cell = cells[x];
    if (cell.IsSingle()) continue;
    const uint8_t* lack = kHouses.lists[mustLack][x];
    const uint8_t* target = kHouses.lists[clear][x];
    // The two lists are disjoint and neither holds the visited cell, so what
    // the checked list holds does not change while this cell is handled.
    unsigned held = 0;
    for (int k = 0; k < lackLength; ++k) held |= cells[lack[k]].Mask();
    const int count = cell.Count();
    for (int i = 0; i < count; ++i) {
      const int d = cell.Get(i);
      if (held & (1u << d)) continue;
      for (int k = 0; k < clearLength; ++k) {
        DigitSet& other = cells[target[k]];
        if (!other.IsSingle() && !other.Remove(d)) return false;
      }
    }
  }
  return true;
}

bool SolverGrid::NakedPair(int kind) {
  const int length = HouseLength(kind);
  for (int x = 0; x < 81; ++x) {
    const DigitSet& cell = cells[x];
    if (cell.Count() != 2) continue;
    const int a = cell.Get(0);
    const int b = cell.Get(1);
    const uint8_t* list = kHouses.lists[kind][x];
    int partner = -1;
    for (int k = 0; k < length; ++k) {
      const DigitSet& y = cells[list[k]];
      if (y.Count() == 2 && y.Get(0) == a && y.Get(1) == b) {
        partner = k;
        break;
      }
    }
    if (partner < 0) continue;
    // Solved cells are not spared: one holding a or b is a contradiction.
    for (int k = 0; k < length; ++k) {
      if (k == partner) continue;
      DigitSet& y = cells[list[k]];
      if (!y.Remove(a) || !y.Remove(b)) return false;
    }
  }
  return true;
}

bool SolverGrid::HiddenPair(int kind) {
  const int length = HouseLength(kind);
  for (int x = 0; x < 81; ++x) {
    DigitSet& cell = cells[x];
    if (cell.IsSingle()) continue;
    const uint8_t* list = kHouses.lists[kind][x];
    // Places of every digit in the house at once; nothing changes in the
    // house until the pair is set, so these equal the per-digit counts.
    unsigned placed = 0;
    int open[10] = {};
    const int count = cell.Count();
    for (int i = 0; i < count; ++i) ++open[cell.Get(i)];
    for (int k = 0; k < length; ++k) {
      const DigitSet& y = cells[list[k]];
      if (y.IsSingle()) {
        placed |= 1u << y.Get(0);
      } else {
        for (int i = 0; i < y.Count(); ++i) ++open[y.Get(i)];
      }
    }
    unsigned two = 0;  // digits with exactly two places
    for (int d = 1; d <= 9; ++d) {
      if (!(placed & (1u << d)) && open[d] == 2) two |= 1u << d;
    }
    bool done = false;
    for (int i = 0; i < count && !done; ++i) {
      const int d1 = cell.Get(i);
      if (!(two & (1u << d1))) continue;
      for (int k = 0; k < length && !done; ++k) {
        const DigitSet& y = cells[list[k]];
        if (!y.Contains(d1)) continue;
        for (int j = i + 1; j < count; ++j) {
          const int d2 = cell.Get(j);
          if ((two & (1u << d2)) && y.Contains(d2)) {
            cell.SetPair(d1, d2);
            done = true;
            break;
          }
        }
      }
    }
  }
  return true;
}
