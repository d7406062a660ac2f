// The fast solve against a slow, literal rendering of every step (slot scans,
// list walks, place counts per digit) on thousands of grids: same verdict,
// same candidates in every cell, contradictions included.
#include <gtest/gtest.h>

#include <cstdint>

#include "solver/solver_grid.h"
#include "solver/techniques.h"
#include "solver/test_lcg.h"
#include "solver/test_puzzles.h"

namespace {

class Reference {
 public:
  explicit Reference(const SolverGrid& start) : g(start) {}

  bool Solve(int level) {
    for (int pass = 0;;) {
      if (!Consistent()) return false;
      for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) snapshot[r][c].Assign(g.At(r, c));
      }
      for (int t = 0; t < AdmittedTechniques(level); ++t) {
        if (!Technique(kTechniqueTable[t])) return false;
      }
      bool complete = true, unchanged = true;
      for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
          complete = complete && g.At(r, c).IsSingle();
          unchanged = unchanged && g.At(r, c).Equals(snapshot[r][c]);
        }
      }
      if (complete) return Consistent();
      if (unchanged) return true;
      if (++pass >= kPassLimit) return false;
    }
  }

  SolverGrid g;

 private:
  using ListFn = HouseList (*)(int, int);

  bool Consistent() {
    for (int r = 0; r < 9; ++r) {
      for (int c = 0; c < 9; ++c) {
        const DigitSet& x = g.At(r, c);
        if (!x.IsSingle()) continue;
        for (ListFn fn : {&SolverGrid::RowPeers, &SolverGrid::ColumnPeers, &SolverGrid::BoxPeers}) {
          const HouseList l = fn(r, c);
          for (int k = 0; k < l.length; ++k) {
            const DigitSet& y = Cell(l.cells[k]);
            if (y.IsSingle() && y.Get(0) == x.Get(0)) return false;
          }
        }
      }
    }
    return true;
  }

  DigitSet& Cell(int index) { return g.At(index / 9, index % 9); }

  bool Holds(int index, int d) { return Cell(index).Contains(d); }

  // Some cell of the list holds d.
  bool ListHolds(const HouseList& l, int d) {
    for (int k = 0; k < l.length; ++k) {
      if (Holds(l.cells[k], d)) return true;
    }
    return false;
  }

  int Places(ListFn fn, int r, int c, int d) {
    const DigitSet& x = g.At(r, c);
    if (x.IsSingle() && x.Get(0) == d) return 1;
    int count = (!x.IsSingle() && x.Contains(d)) ? 1 : 0;
    const HouseList l = fn(r, c);
    for (int k = 0; k < l.length; ++k) {
      const DigitSet& y = Cell(l.cells[k]);
      if (y.IsSingle()) {
        if (y.Get(0) == d) return 1;
      } else if (y.Contains(d)) {
        ++count;
      }
    }
    return count;
  }

  // The house lists by ListKind, through the grid's public functions.
  static ListFn List(ListKind kind) {
    static const ListFn lists[kListKinds] = {
        &SolverGrid::RowPeers,         &SolverGrid::ColumnPeers,   &SolverGrid::BoxPeers,
        &SolverGrid::RowOutsideBox,    &SolverGrid::ColumnOutsideBox, &SolverGrid::BoxOutsideRow,
        &SolverGrid::BoxOutsideColumn};
    return lists[kind];
  }

  // The technique the table row describes, cell by cell in row-major order.
  bool Technique(const TechniqueInfo& info) {
    for (int r = 0; r < 9; ++r) {
      for (int c = 0; c < 9; ++c) {
        if (g.At(r, c).IsSingle()) continue;
        if (!Step(info, r, c)) return false;
      }
    }
    return true;
  }

  bool Step(const TechniqueInfo& info, int r, int c) {
    switch (info.family) {
      case DeductionFamily::kValueElimination:
        return EliminateValues(List(info.walked), r, c);
      case DeductionFamily::kHiddenSingle:
        HiddenSingle(List(info.walked), r, c);
        return true;
      case DeductionFamily::kPointing:
      case DeductionFamily::kClaiming:
        return Confine(List(info.walked), List(info.cleared), r, c);
      case DeductionFamily::kNakedPair:
        return NakedPair(List(info.walked), r, c);
      case DeductionFamily::kHiddenPair:
        HiddenPair(List(info.walked), r, c);
        return true;
      default:  // the patterns above level 3 are held by patterns_test
        return true;
    }
  }

  bool EliminateValues(ListFn peers, int r, int c) {
    DigitSet& x = g.At(r, c);
    const HouseList l = peers(r, c);
    for (int k = 0; k < l.length; ++k) {
      const DigitSet& y = Cell(l.cells[k]);
      if (y.IsSingle() && !x.Remove(y.Get(0))) return false;
    }
    return true;
  }

  void HiddenSingle(ListFn peers, int r, int c) {
    DigitSet& x = g.At(r, c);
    const HouseList l = peers(r, c);
    for (int i = 0; i < x.Count(); ++i) {
      const int d = x.Get(i);
      if (!ListHolds(l, d)) {
        x.SetSingle(d);
        return;
      }
    }
  }

  // Pointing and claiming: each digit of the cell that no cell of `lack`
  // holds leaves the unsolved cells of `clear`.
  bool Confine(ListFn lack, ListFn clear, int r, int c) {
    const HouseList mustLack = lack(r, c);
    const HouseList target = clear(r, c);
    DigitSet own;
    own.Assign(g.At(r, c));
    for (int i = 0; i < own.Count(); ++i) {
      const int d = own.Get(i);
      if (ListHolds(mustLack, d)) continue;
      for (int k = 0; k < target.length; ++k) {
        DigitSet& y = Cell(target.cells[k]);
        if (!y.IsSingle() && !y.Remove(d)) return false;
      }
    }
    return true;
  }

  bool NakedPair(ListFn peers, int r, int c) {
    const DigitSet& x = g.At(r, c);
    if (x.Count() != 2) return true;
    const int a = x.Get(0), b = x.Get(1);
    const HouseList l = peers(r, c);
    int partner = -1;
    for (int k = 0; k < l.length && partner < 0; ++k) {
      const DigitSet& y = Cell(l.cells[k]);
      if (y.Count() == 2 && y.Get(0) == a && y.Get(1) == b) partner = k;
    }
    if (partner < 0) return true;
    for (int k = 0; k < l.length; ++k) {
      if (k == partner) continue;
      DigitSet& y = Cell(l.cells[k]);
      if (!y.Remove(a) || !y.Remove(b)) return false;
    }
    return true;
  }

  void HiddenPair(ListFn peers, int r, int c) {
    DigitSet& x = g.At(r, c);
    const HouseList l = peers(r, c);
    for (int i = 0; i < x.Count(); ++i) {
      const int d1 = x.Get(i);
      if (Places(peers, r, c, d1) != 2) continue;
      for (int k = 0; k < l.length; ++k) {
        if (!Holds(l.cells[k], d1)) continue;
        for (int j = i + 1; j < x.Count(); ++j) {
          const int d2 = x.Get(j);
          if (Places(peers, r, c, d2) == 2 && Holds(l.cells[k], d2)) {
            x.SetPair(d1, d2);
            return;
          }
        }
      }
    }
  }

  DigitSet snapshot[9][9];
};

// A grid loaded from the solution with cells emptied, some digits changed,
// and now and then a few candidates struck at random.
SolverGrid RandomGrid(Lcg& rng) {
  SolverGrid g;
  g.Reset();
  const int keep = 17 + rng.Below(50);
  for (int k = 0; k < keep; ++k) {
    const int i = rng.Below(81);
    g.SetValue(i / 9, i % 9, kSolution[i] - '0');
  }
  const int wrong = rng.Below(4) == 0 ? 1 + rng.Below(2) : 0;
  for (int k = 0; k < wrong; ++k) {
    const int i = rng.Below(81);
    g.SetValue(i / 9, i % 9, 1 + rng.Below(9));
  }
  if (rng.Below(3) == 0) {
    for (int k = 0; k < 40; ++k) {
      const int i = rng.Below(81);
      g.At(i / 9, i % 9).Remove(1 + rng.Below(9));
    }
  }
  return g;
}

TEST(SolverReferenceTest, FastSolveTakesExactlyTheLiteralSteps) {
  Lcg rng{20261208u};
  int contradictions = 0, complete = 0, stuck = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    const SolverGrid start = RandomGrid(rng);
    const int level = 1 + trial % 3;
    Reference reference(start);
    SolverGrid fast = start;
    const bool expected = reference.Solve(level);
    ASSERT_EQ(fast.Solve(level), expected) << "trial " << trial;
    for (int r = 0; r < 9; ++r) {
      for (int c = 0; c < 9; ++c) {
        ASSERT_TRUE(fast.At(r, c).Equals(reference.g.At(r, c)))
            << "trial " << trial << " cell " << r << "," << c;
      }
    }
    if (!expected) {
      ++contradictions;
    } else if (fast.IsComplete()) {
      ++complete;
    } else {
      ++stuck;
    }
  }
  // The sample reaches every outcome often enough to mean something.
  EXPECT_GT(contradictions, 300);
  EXPECT_GT(complete, 300);
  EXPECT_GT(stuck, 300);
}

}  // namespace
