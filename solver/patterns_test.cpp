// The techniques above level 3: one hand-built candidate grid per pattern,
// and hard puzzles made here, whose every step must keep the solution.
#include "solver/patterns.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "solver/explain.h"
#include "solver/incremental_grid.h"
#include "solver/search.h"
#include "solver/solver_grid.h"
#include "solver/test_lcg.h"

namespace {

int Cell(int r, int c) { return r * 9 + c; }
unsigned Bit(int d) { return 1u << d; }
[[maybe_unused]] unsigned Digits(std::initializer_list<int> ds) {
  unsigned m = 0;
  for (int d : ds) m |= Bit(d);
  return m;
}

// A grid of open cells, every one holding 1..9 unless narrowed.
struct Grid {
  uint16_t cells[81];
  Grid() {
    for (uint16_t& c : cells) c = uint16_t(kAllDigits);
  }
  void Set(int r, int c, unsigned digits) { cells[Cell(r, c)] = uint16_t(digits); }
  // Digit d stays in row r only at the listed columns.
  void RowOnly(int r, int d, std::initializer_list<int> columns) {
    for (int c = 0; c < 9; ++c) {
      bool keep = false;
      for (int k : columns) keep = keep || k == c;
      if (!keep) cells[Cell(r, c)] = uint16_t(cells[Cell(r, c)] & ~Bit(d));
    }
  }
  void ColumnOnly(int c, int d, std::initializer_list<int> rows) {
    for (int r = 0; r < 9; ++r) {
      bool keep = false;
      for (int k : rows) keep = keep || k == r;
      if (!keep) cells[Cell(r, c)] = uint16_t(cells[Cell(r, c)] & ~Bit(d));
    }
  }
};

// The removals of a step as one word per cell.
std::vector<unsigned> Removed(const PatternStep& step) {
  std::vector<unsigned> out(81, 0);
  for (int i = 0; i < step.removalCount; ++i) out[step.removals[i].cell] |= step.removals[i].digits;
  return out;
}

// The step finds exactly these removals.
[[maybe_unused]] void ExpectRemovals(const PatternStep& step, const std::vector<std::pair<int, unsigned>>& expected) {
  std::vector<unsigned> want(81, 0);
  for (const auto& e : expected) want[e.first] |= e.second;
  const std::vector<unsigned> got = Removed(step);
  for (int x = 0; x < 81; ++x) EXPECT_EQ(got[x], want[x]) << "r" << x / 9 + 1 << "c" << x % 9 + 1;
}

// The slow run (patterns_soak_test) makes ten times as many hard puzzles
// from another seed and leaves the fixtures to the quick one.
#ifndef KUBRI_HARD_PUZZLES
#define KUBRI_HARD_PUZZLES 300
#define KUBRI_HARD_SEED 20261208u
#define KUBRI_FIXTURES 1
#endif

#if KUBRI_FIXTURES
TEST(PatternTest, NakedAndHiddenSubsetsTakeTheirDigitsFromTheHouse) {
  Grid g;
  g.Set(0, 0, Digits({1, 2}));
  g.Set(0, 1, Digits({2, 3}));
  g.Set(0, 2, Digits({1, 3}));
  PatternStep step;
  ASSERT_TRUE(FindPattern(kNakedTriple, g.cells, &step));
  EXPECT_EQ(step.digits, Digits({1, 2, 3}));
  EXPECT_EQ(step.houseKind, kRow);
  EXPECT_EQ(step.cellCount, 3);
  std::vector<std::pair<int, unsigned>> want;
  for (int c = 3; c < 9; ++c) want.push_back({Cell(0, c), Digits({1, 2, 3})});
  ExpectRemovals(step, want);

  Grid q;
  q.Set(4, 1, Digits({1, 2}));
  q.Set(4, 3, Digits({2, 3}));
  q.Set(4, 5, Digits({3, 4}));
  q.Set(4, 7, Digits({1, 4}));
  ASSERT_FALSE(FindPattern(kNakedTriple, q.cells, &step));
  ASSERT_TRUE(FindPattern(kNakedQuad, q.cells, &step));
  want.clear();
  for (int c : {0, 2, 4, 6, 8}) want.push_back({Cell(4, c), Digits({1, 2, 3, 4})});
  ExpectRemovals(step, want);

  Grid h;
  for (int d : {4, 5, 6}) h.ColumnOnly(2, d, {1, 4, 7});
  ASSERT_TRUE(FindPattern(kHiddenTriple, h.cells, &step));
  EXPECT_EQ(step.houseKind, kColumn);
  EXPECT_EQ(step.houseIndex, 2);
  ExpectRemovals(step, {{Cell(1, 2), kAllDigits & ~Digits({4, 5, 6})},
                        {Cell(4, 2), kAllDigits & ~Digits({4, 5, 6})},
                        {Cell(7, 2), kAllDigits & ~Digits({4, 5, 6})}});

  Grid h4;
  for (int d : {1, 3, 5, 7}) h4.RowOnly(8, d, {0, 2, 4, 6});
  ASSERT_FALSE(FindPattern(kHiddenTriple, h4.cells, &step));
  ASSERT_TRUE(FindPattern(kHiddenQuad, h4.cells, &step));
  EXPECT_EQ(step.digits, Digits({1, 3, 5, 7}));
  EXPECT_EQ(step.removalCount, 4);
}

TEST(PatternTest, FishConfineADigitToTheirCoverLines) {
  Grid g;
  g.RowOnly(0, 5, {1, 6});
  g.RowOnly(3, 5, {1, 6});
  PatternStep step;
  ASSERT_TRUE(FindPattern(kXWing, g.cells, &step));
  EXPECT_EQ(step.digits, Bit(5));
  EXPECT_EQ(step.houseKind, kRow);
  EXPECT_EQ(step.base, (1u << 0) | (1u << 3));
  EXPECT_EQ(step.cover, (1u << 1) | (1u << 6));
  std::vector<std::pair<int, unsigned>> want;
  for (int r : {1, 2, 4, 5, 6, 7, 8}) {
    want.push_back({Cell(r, 1), Bit(5)});
    want.push_back({Cell(r, 6), Bit(5)});
  }
  ExpectRemovals(step, want);

  Grid s;
  s.ColumnOnly(0, 8, {1, 4});
  s.ColumnOnly(3, 8, {4, 7});
  s.ColumnOnly(8, 8, {1, 7});
  ASSERT_FALSE(FindPattern(kXWing, s.cells, &step));
  ASSERT_TRUE(FindPattern(kSwordfish, s.cells, &step));
  EXPECT_EQ(step.houseKind, kColumn);
  EXPECT_EQ(step.cover, (1u << 1) | (1u << 4) | (1u << 7));
  EXPECT_EQ(step.removalCount, 18);

  Grid j;
  j.RowOnly(0, 2, {0, 3});
  j.RowOnly(2, 2, {3, 5});
  j.RowOnly(4, 2, {5, 8});
  j.RowOnly(6, 2, {0, 8});
  ASSERT_FALSE(FindPattern(kSwordfish, j.cells, &step));
  ASSERT_TRUE(FindPattern(kJellyfish, j.cells, &step));
  EXPECT_EQ(step.base, 0x55u);
  EXPECT_EQ(step.cover, (1u << 0) | (1u << 3) | (1u << 5) | (1u << 8));
  EXPECT_EQ(step.removalCount, 20);
}

TEST(PatternTest, SkyscraperAndKiteJoinTwoStrongLinks) {
  Grid g;
  g.RowOnly(1, 4, {2, 6});
  g.RowOnly(5, 4, {2, 7});
  PatternStep step;
  ASSERT_TRUE(FindPattern(kSkyscraper, g.cells, &step));
  EXPECT_EQ(step.nodeCount, 4);
  EXPECT_EQ(step.nodes[0].cell, Cell(1, 6));
  EXPECT_EQ(step.nodes[3].cell, Cell(5, 7));
  // Cells seeing r2c7 and r6c8 that hold 4: column 7 in box 6, column 8
  // in box 3, rows 2 and 6 aside.
  ExpectRemovals(step, {{Cell(3, 6), Bit(4)}, {Cell(4, 6), Bit(4)}, {Cell(0, 7), Bit(4)}, {Cell(2, 7), Bit(4)}});

  Grid k;
  k.RowOnly(0, 6, {1, 6});
  k.ColumnOnly(0, 6, {2, 7});
  ASSERT_TRUE(FindPattern(kTwoStringKite, k.cells, &step));
  EXPECT_EQ(step.nodes[1].cell, Cell(0, 1));
  EXPECT_EQ(step.nodes[2].cell, Cell(2, 0));
  ExpectRemovals(step, {{Cell(7, 6), Bit(6)}});
}

TEST(PatternTest, WingsTakeTheSharedDigitFromWhatSeesThePincers) {
  Grid g;
  g.Set(4, 4, Digits({1, 2}));
  g.Set(4, 0, Digits({1, 3}));
  g.Set(0, 4, Digits({2, 3}));
  PatternStep step;
  ASSERT_TRUE(FindPattern(kXYWing, g.cells, &step));
  EXPECT_EQ(step.cells[0], Cell(4, 4));  // the pivot
  EXPECT_EQ(step.digits, Bit(3));
  ExpectRemovals(step, {{Cell(0, 0), Bit(3)}});

  Grid z;
  z.Set(4, 4, Digits({1, 2, 3}));
  z.Set(4, 3, Digits({1, 3}));
  z.Set(3, 4, Digits({2, 3}));
  ASSERT_FALSE(FindPattern(kXYWing, z.cells, &step));
  ASSERT_TRUE(FindPattern(kXYZWing, z.cells, &step));
  ExpectRemovals(step, {{Cell(3, 3), Bit(3)},
                        {Cell(3, 5), Bit(3)},
                        {Cell(4, 5), Bit(3)},
                        {Cell(5, 3), Bit(3)},
                        {Cell(5, 4), Bit(3)},
                        {Cell(5, 5), Bit(3)}});

  Grid w;
  w.Set(0, 0, Digits({1, 2}));
  w.Set(8, 8, Digits({1, 2}));
  w.RowOnly(4, 2, {0, 8});
  ASSERT_TRUE(FindPattern(kWWing, w.cells, &step));
  EXPECT_EQ(step.houseKind, kRow);
  EXPECT_EQ(step.houseIndex, 4);
  ExpectRemovals(step, {{Cell(0, 8), Bit(1)}, {Cell(8, 0), Bit(1)}});
}

// The chain alternates strong and weak links, each link true of the grid.
void ExpectChainHolds(const PatternStep& step, const uint16_t cells[81]) {
  ASSERT_GE(step.nodeCount, 2);
  for (int i = 0; i + 1 < step.nodeCount; ++i) {
    const ChainNode& a = step.nodes[i];
    const ChainNode& b = step.nodes[i + 1];
    EXPECT_TRUE(cells[a.cell] & Bit(a.digit));
    EXPECT_EQ(a.link == kWeakLink, i % 2 == 1) << "link " << i;
    if (a.link == kStrongInCell) {
      EXPECT_EQ(a.cell, b.cell);
      EXPECT_EQ(cells[a.cell], Bit(a.digit) | Bit(b.digit));
    } else if (a.link == kWeakLink) {
      const bool peers = a.cell / 9 == b.cell / 9 || a.cell % 9 == b.cell % 9 ||
                         (a.cell / 27 == b.cell / 27 && a.cell % 9 / 3 == b.cell % 9 / 3);
      EXPECT_TRUE(a.cell == b.cell ? a.digit != b.digit : a.digit == b.digit && peers);
    } else {
      EXPECT_EQ(a.digit, b.digit);
      EXPECT_LE(int(a.link), int(kStrongInBox));
    }
  }
  EXPECT_EQ(step.nodes[step.nodeCount - 1].link, kChainEnd);
}

TEST(PatternTest, ChainsProveOneOfTheirEnds) {
  // X-chain on 7: r1c1=r1c5-r4c5=r4c9-r7c9=r7c3.
  Grid x;
  x.RowOnly(0, 7, {0, 4});
  x.RowOnly(3, 7, {4, 8});
  x.RowOnly(6, 7, {8, 2});
  PatternStep step;
  ASSERT_TRUE(FindPattern(kXChain, x.cells, &step));
  ExpectChainHolds(step, x.cells);
  EXPECT_EQ(step.nodeCount, 6);
  ExpectRemovals(step, {{Cell(1, 2), Bit(7)}, {Cell(2, 2), Bit(7)}, {Cell(7, 0), Bit(7)}, {Cell(8, 0), Bit(7)}});

  // XY-chain: r1c1 {12}, r1c5 {23}, r7c5 {34}, r7c2 {41}: 1 at r1c1 or r7c2.
  Grid y;
  y.Set(0, 0, Digits({1, 2}));
  y.Set(0, 4, Digits({2, 3}));
  y.Set(6, 4, Digits({3, 4}));
  y.Set(6, 1, Digits({4, 1}));
  ASSERT_FALSE(FindPattern(kXYWing, y.cells, &step));
  ASSERT_TRUE(FindPattern(kXYChain, y.cells, &step));
  ExpectChainHolds(step, y.cells);
  EXPECT_EQ(step.nodeCount, 8);
  ExpectRemovals(step, {{Cell(0, 1), Bit(1)},
                        {Cell(1, 1), Bit(1)},
                        {Cell(2, 1), Bit(1)},
                        {Cell(6, 0), Bit(1)},
                        {Cell(7, 0), Bit(1)},
                        {Cell(8, 0), Bit(1)}});

  // Nice loop mixing cells and a house: 1r1c1=2r1c1-2r1c6=2r8c6-2r8c2=1r8c2.
  Grid n;
  n.Set(0, 0, Digits({1, 2}));
  n.ColumnOnly(5, 2, {0, 7});
  n.Set(7, 1, Digits({1, 2}));
  ASSERT_FALSE(FindPattern(kXYChain, n.cells, &step));
  ASSERT_FALSE(FindPattern(kXChain, n.cells, &step));
  ASSERT_TRUE(FindPattern(kNiceLoop, n.cells, &step));
  ExpectChainHolds(step, n.cells);
  ExpectRemovals(step, {{Cell(0, 1), Bit(1)},
                        {Cell(1, 1), Bit(1)},
                        {Cell(2, 1), Bit(1)},
                        {Cell(6, 0), Bit(1)},
                        {Cell(7, 0), Bit(1)},
                        {Cell(8, 0), Bit(1)}});
}

uint8_t FromChar(char ch) { return uint8_t(ch >= '1' && ch <= '9' ? ch - '0' : 0); }

// A puzzle that levels 1 to 5 leave open; trial and error goes on.
const char kNeedsTrial[] =
    "...1......92.4.5..6..9....71......7..573.412..8......38....5..2..3.9.48......1...";

TEST(PatternTest, TrialAndErrorRemovesADigitThatLeavesNoSolution) {
  uint8_t values[81];
  for (int x = 0; x < 81; ++x) values[x] = FromChar(kNeedsTrial[x]);
  const SearchOutcome solved = SearchSolutions(values, 2);
  ASSERT_EQ(solved.solutions, 1);
  uint16_t masks[81];
  ASSERT_TRUE(SolverGrid::SolveDigits(values, 5, masks));
  ASSERT_FALSE(SolverGrid::AllSolved(masks));
  PatternStep step;
  ASSERT_FALSE(FindFirstPattern(kFirstPatternTechnique, kTrialAndError, masks, &step));
  ASSERT_TRUE(FindPattern(kTrialAndError, masks, &step));
  ASSERT_EQ(step.removalCount, 1);
  const int x = step.removals[0].cell;
  EXPECT_EQ(step.cells[0], x);
  EXPECT_FALSE(step.removals[0].digits & Bit(solved.solution[x]));
  int hi = 0;
  ASSERT_TRUE(SolverGrid::SolveCandidatesGraded(masks, 6, &hi));
  EXPECT_EQ(hi, 6);
  for (int y = 0; y < 81; ++y) EXPECT_EQ(masks[y], Bit(solved.solution[y]));

  // With no solution at all (three rows with 1 in the same two columns),
  // the first of the open cells with the fewest digits loses them all, and
  // the solve meets the contradiction.
  Grid none;
  none.RowOnly(0, 1, {0, 1});
  none.RowOnly(1, 1, {0, 1});
  none.RowOnly(2, 1, {0, 1});
  ASSERT_TRUE(FindPattern(kTrialAndError, none.cells, &step));
  EXPECT_EQ(step.removals[0].cell, Cell(0, 2));
  EXPECT_EQ(step.removals[0].digits, kAllDigits & ~Bit(1));
  EXPECT_FALSE(SolverGrid::SolveCandidates(none.cells, 6));
}

// Levels 1 to 3 never reach a pattern: a level-3 solve that completes or
// sticks gives the same at level 3 whatever the patterns; the incremental
// grid declines the levels above.
TEST(PatternTest, LevelsAboveThreeStayOutOfLevelsOneToThree) {
  uint8_t values[81];
  for (int x = 0; x < 81; ++x) values[x] = FromChar(kNeedsTrial[x]);
  uint16_t three[81], four[81];
  ASSERT_TRUE(SolverGrid::SolveDigits(values, 3, three));
  ASSERT_TRUE(SolverGrid::SolveDigits(values, 99, four));  // acts as 6
  EXPECT_TRUE(SolverGrid::AllSolved(four));
  EXPECT_FALSE(SolverGrid::AllSolved(three));
  int highest = -1;
  ASSERT_TRUE(SolverGrid::SolveCandidatesGraded(three, 3, &highest));
  EXPECT_EQ(highest, 0);
  IncrementalGrid grid;
  ASSERT_TRUE(grid.Load(three));
  EXPECT_FALSE(grid.Settle(4));
  int open = 0;
  while (AtMostOneBit(three[open])) ++open;
  EXPECT_FALSE(grid.Place(open, LowestBit(three[open]), 4));
}

#endif  // KUBRI_FIXTURES

// --- Hard puzzles made here -----------------------------------------------------

// A random full grid: random digits at random cells, each kept while some
// solution is left, then completed by the search.
bool RandomSolution(Lcg& rng, uint8_t grid[81]) {
  uint8_t values[81] = {};
  for (int k = 0; k < 24; ++k) {
    const int x = rng.Below(81);
    values[x] = uint8_t(1 + rng.Below(9));
    if (SearchSolutions(values, 1).solutions == 0) values[x] = 0;
  }
  const SearchOutcome full = SearchSolutions(values, 1);
  if (full.solutions == 0) return false;
  for (int x = 0; x < 81; ++x) grid[x] = full.solution[x];
  return true;
}

// Givens taken away in random order while the solution stays unique.
void MinimalPuzzle(Lcg& rng, const uint8_t solution[81], uint8_t puzzle[81]) {
  int order[81];
  for (int x = 0; x < 81; ++x) order[x] = x;
  for (int i = 80; i > 0; --i) std::swap(order[i], order[rng.Below(i + 1)]);
  for (int x = 0; x < 81; ++x) puzzle[x] = solution[x];
  for (int x : order) {
    const uint8_t kept = puzzle[x];
    puzzle[x] = 0;
    if (SearchSolutions(puzzle, 2).solutions != 1) puzzle[x] = kept;
  }
}

// Every step of every technique, on a few hundred puzzles that level 3
// leaves open, keeps the solution's digits; the explanation and the solve
// agree at levels 4 to 6; level 6 completes every one, and the highest
// pattern it used is the lowest level that completes the puzzle.
TEST(PatternSoundnessTest, EveryStepKeepsTheSolutionOfHardPuzzles) {
  Lcg rng{KUBRI_HARD_SEED};
  std::unique_ptr<Explanation> e(new Explanation);
  int hard = 0, made = 0;
  int families[kDeductionFamilyCount] = {};
  int settled[7] = {};
  while (hard < KUBRI_HARD_PUZZLES && made < 10 * KUBRI_HARD_PUZZLES) {
    uint8_t solution[81], puzzle[81];
    if (!RandomSolution(rng, solution)) continue;
    MinimalPuzzle(rng, solution, puzzle);
    ++made;
    uint16_t masks[81];
    if (!SolverGrid::SolveDigits(puzzle, 3, masks)) {
      ADD_FAILURE() << "level 3 met a contradiction";
      return;
    }
    if (SolverGrid::AllSolved(masks)) continue;
    ++hard;
    int values[81];
    for (int x = 0; x < 81; ++x) values[x] = puzzle[x];
    for (int level = 4; level <= 6; ++level) {
      Explain(values, level, e.get());
      uint16_t solved[81];
      const bool verdict = SolverGrid::SolveDigits(puzzle, level, solved);
      ASSERT_EQ(e->solveResult, verdict) << "level " << level;
      for (int x = 0; x < 81; ++x) ASSERT_EQ(e->cells[x], solved[x]) << "level " << level << " cell " << x;
      ASSERT_TRUE(verdict);
      for (int i = 0; i < e->stepCount; ++i) {
        const ExplainStep& s = e->steps[i];
        if (level == 6) ++families[int(s.family)];
        for (int k = 0; k < s.changeCount; ++k) {
          const ExplainChange& c = s.changes[k];
          ASSERT_TRUE(c.after & Bit(solution[c.cell]))
              << FamilyName(s.family) << " took the solution's " << int(solution[c.cell]) << " from cell "
              << int(c.cell) << " at level " << level;
        }
      }
      if (SolverGrid::AllSolved(solved) && settled[4] + settled[5] + settled[6] < hard) {
        int highest = 0;
        LoadDigitMasks(puzzle, solved);
        ASSERT_TRUE(SolverGrid::SolveCandidatesGraded(solved, 6, &highest));
        EXPECT_EQ(highest, level);
        EXPECT_EQ(ExplainedLevel(*e), level);
        ++settled[level];
      }
    }
    ASSERT_EQ(e->verdict, kExplainComplete) << "level 6 leaves a puzzle open";
  }
  EXPECT_GE(hard, KUBRI_HARD_PUZZLES / 3) << "of " << made;
  EXPECT_EQ(settled[4] + settled[5] + settled[6], hard);
  std::printf("%d hard puzzles of %d made; settled at levels 4, 5, 6: %d %d %d\n", hard, made, settled[4],
              settled[5], settled[6]);
  for (int f = int(DeductionFamily::kNakedTriple); f < kDeductionFamilyCount; ++f) {
    std::printf("  %s %d\n", FamilyName(DeductionFamily(f)), families[f]);
  }
  // The common patterns all show up.
  for (DeductionFamily f : {DeductionFamily::kNakedTriple, DeductionFamily::kHiddenTriple, DeductionFamily::kXWing,
                            DeductionFamily::kXYWing, DeductionFamily::kXChain}) {
    EXPECT_GT(families[int(f)], 0) << FamilyName(f);
  }
}

}  // namespace
