// The explaining solve against SolverGrid::Solve on many grids, and the
// replay of its recorded steps.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/random.h"
#include "solver/explain.h"
#include "solver/solver_grid.h"
#include "solver/test_lcg.h"
#include "solver/test_puzzles.h"

namespace {

std::vector<int> Values(const std::string& line) {
  std::vector<int> v(81, 0);
  for (int i = 0; i < 81 && i < int(line.size()); ++i) {
    if (line[i] >= '1' && line[i] <= '9') v[i] = line[i] - '0';
  }
  return v;
}

std::vector<std::vector<int>> BenchPuzzles() {
  std::vector<std::vector<int>> puzzles;
  for (const char* name : {"/level1.txt", "/level2.txt", "/level3.txt"}) {
    FILE* f = std::fopen((std::string(KUBRI_PUZZLES_DIR) + name).c_str(), "r");
    if (!f) continue;
    char line[128];
    while (std::fgets(line, sizeof line, f)) {
      if (std::string(line).size() >= 81) puzzles.push_back(Values(line));
    }
    std::fclose(f);
  }
  return puzzles;
}

// The solution with digits relabelled and rows and columns shuffled within
// their bands, some cells kept, and now and then a wrong digit or two.
std::vector<int> RandomGrid(Lcg& rng) {
  int relabel[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  for (int d = 9; d > 1; --d) std::swap(relabel[d], relabel[1 + rng.Below(d)]);
  int rows[9], cols[9];
  for (int i = 0; i < 9; ++i) rows[i] = cols[i] = i;
  for (int band = 0; band < 9; band += 3) {
    std::swap(rows[band + rng.Below(3)], rows[band + rng.Below(3)]);
    std::swap(cols[band + rng.Below(3)], cols[band + rng.Below(3)]);
  }
  std::vector<int> v(81, 0);
  const int keep = 17 + rng.Below(45);
  for (int k = 0; k < keep; ++k) {
    const int i = rng.Below(81);
    v[i] = relabel[kSolution[rows[i / 9] * 9 + cols[i % 9]] - '0'];
  }
  const int wrong = rng.Below(4) == 0 ? 1 + rng.Below(2) : 0;
  for (int k = 0; k < wrong; ++k) v[rng.Below(81)] = 1 + rng.Below(9);
  return v;
}

// Fails the test unless the explanation ends as SolverGrid::Solve does on
// the same values, and replaying its steps from the loaded digits gives its
// final state. Returns the verdict.
ExplainVerdict ExpectSameAsSolve(const std::vector<int>& values, int level, const Explanation& e,
                                 const std::string& what) {
  SolverGrid grid;
  grid.Reset();
  for (int i = 0; i < 81; ++i) {
    if (values[i]) grid.SetValue(i / 9, i % 9, values[i]);
  }
  const bool result = grid.Solve(level);
  EXPECT_EQ(e.solveResult, result) << what;
  bool complete = true;
  for (int i = 0; i < 81; ++i) {
    unsigned bits = 0;
    for (int k = 0; k < grid.CandidateCount(i / 9, i % 9); ++k) bits |= 1u << grid.GetCandidate(i / 9, i % 9, k);
    EXPECT_EQ(e.cells[i], bits) << what << " cell " << i;
    complete = complete && grid.IsSolved(i / 9, i % 9);
  }
  EXPECT_EQ(e.verdict, !result ? kExplainContradiction : complete ? kExplainComplete : kExplainIncomplete) << what;

  uint16_t replay[81];
  for (int i = 0; i < 81; ++i) replay[i] = uint16_t(values[i] ? 1u << values[i] : kAllDigits);
  for (int i = 0; i < 81; ++i) EXPECT_EQ(e.start[i], replay[i]) << what;
  for (int s = 0; s < e.stepCount; ++s) {
    const ExplainStep& step = e.steps[s];
    EXPECT_GT(step.changeCount, 0) << what << " step " << s;
    EXPECT_EQ(step.family, kTechniqueTable[step.technique].family) << what;
    EXPECT_GE(int(step.technique), 0);
    EXPECT_LT(int(step.technique), AdmittedTechniques(level)) << what;
    if (s > 0) {
      const ExplainStep& previous = e.steps[s - 1];
      // The solver's own order: pass, then technique, then cell.
      EXPECT_LT(previous.pass * 2000 + previous.technique * 100 + previous.cell,
                step.pass * 2000 + step.technique * 100 + step.cell)
          << what << " step " << s;
    }
    for (int k = 0; k < step.changeCount; ++k) {
      const ExplainChange& c = step.changes[k];
      EXPECT_EQ(replay[c.cell], c.before) << what << " step " << s;
      EXPECT_NE(c.after, 0) << what;
      EXPECT_EQ(c.after & ~c.before, 0) << what << " a step only narrows";
      replay[c.cell] = c.after;
    }
  }
  for (int i = 0; i < 81; ++i) EXPECT_EQ(replay[i], e.cells[i]) << what << " replayed cell " << i;
  return e.verdict;
}

TEST(ExplainTest, ReplaysSolveExactlyOnPuzzlesAndRandomGrids) {
  std::vector<std::vector<int>> grids = BenchPuzzles();
  ASSERT_EQ(grids.size(), 300u) << "bench/puzzles/level*.txt";
  for (int level = 1; level <= 3; ++level) {
    for (int k = 0; k < 4; ++k) {
      SeedRand(unsigned(level * 100 + k));
      Board board;
      ASSERT_TRUE(board.Generate(level, level, Board::kWaitedForAttempts));
      std::vector<int> v(81);
      for (int i = 0; i < 81; ++i) v[i] = board.GetValue(i / 9, i % 9);
      grids.push_back(v);
    }
  }
  Lcg rng{20261208u};
  for (int k = 0; k < 1500; ++k) grids.push_back(RandomGrid(rng));
  grids.push_back(std::vector<int>(81, 0));
  grids.push_back(Values(kClashAfterPass));

  std::unique_ptr<Explanation> e(new Explanation);
  int verdicts[3] = {};
  int families[kDeductionFamilyCount] = {};
  for (size_t g = 0; g < grids.size(); ++g) {
    for (int level = 1; level <= 3; ++level) {
      Explain(grids[g].data(), level, e.get());
      ++verdicts[ExpectSameAsSolve(grids[g], level, *e, "grid " + std::to_string(g) + " level " +
                                                             std::to_string(level))];
      for (int s = 0; s < e->stepCount; ++s) ++families[int(e->steps[s].family)];
      if (HasFailure()) return;
    }
  }
  for (int v : verdicts) EXPECT_GT(v, 300);
  for (int f = 0; f < kDeductionFamilyCount && FamilyLevel(DeductionFamily(f)) <= 3; ++f) {
    EXPECT_GT(families[f], 50) << FamilyName(DeductionFamily(f));
  }
}

TEST(ExplainTest, ConsistencyClashIsAContradictionAtTheFirstClashingCell) {
  std::vector<int> v = Values(kLevel1);
  v[0] = 3;  // row 1 already holds 3 at r1c2
  std::unique_ptr<Explanation> e(new Explanation);
  Explain(v.data(), 3, e.get());
  EXPECT_EQ(e->verdict, kExplainContradiction);
  EXPECT_EQ(e->stepCount, 0);
  EXPECT_EQ(e->contradictionTechnique, -1);
  EXPECT_EQ(e->contradictionCell, 0);
  EXPECT_EQ(e->clashWith, 1);
  EXPECT_EQ(e->clashDigit, 3);
}

TEST(ExplainTest, ARefusedRemovalNamesTheCellLeftWithoutADigitAndItsRival) {
  // Row 1 leaves r1c1 with 1 and 2; walking column 1, the 2 in r2c1 leaves
  // it 1, and the 1 in r9c1 would take that.
  std::vector<int> v(81, 0);
  for (int c = 1; c < 8; ++c) v[c] = c + 2;  // r1c2..r1c8: 3..9
  v[9] = 2;
  v[72] = 1;
  std::unique_ptr<Explanation> e(new Explanation);
  Explain(v.data(), 1, e.get());
  ASSERT_EQ(e->verdict, kExplainContradiction);
  EXPECT_EQ(e->contradictionTechnique, kEliminateColumnValues);
  EXPECT_EQ(e->contradictionCell, 0);
  EXPECT_EQ(e->clashCell, 0);
  EXPECT_EQ(e->clashWith, 72);
  EXPECT_EQ(e->clashDigit, 1);
  EXPECT_EQ(int(e->clashStep.technique), kEliminateColumnValues);
}

}  // namespace
