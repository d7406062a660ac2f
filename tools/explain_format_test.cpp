// The explain text held to its citation rule on generated puzzles and random
// grids at every level, and its contradictions to the clash they name.
#include "tools/explain_format.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/random.h"
#include "solver/test_lcg.h"

namespace {

std::string Cell(int x) { return "r" + std::to_string(x / 9 + 1) + "c" + std::to_string(x % 9 + 1); }

int Digit(unsigned bits) {
  for (int d = 1; d <= 9; ++d) {
    if (bits == (1u << d)) return d;
  }
  return 0;
}

bool SameHouse(int a, int b) {
  return a / 9 == b / 9 || a % 9 == b % 9 || (a / 27 == b / 27 && a % 9 / 3 == b % 9 / 3);
}

// Generated puzzles of each level, some with a few digits of the tests' own
// added; and sparse grids of random digits, which often contradict.
std::vector<std::vector<int>> Grids() {
  std::vector<std::vector<int>> grids;
  Lcg rng{77u};
  for (int level = 1; level <= 3; ++level) {
    for (int k = 0; k < 12; ++k) {
      SeedRand(unsigned(level * 1000 + k));
      Board board;
      if (!board.Generate(level, level, 50000)) continue;
      std::vector<int> v(81);
      for (int i = 0; i < 81; ++i) v[i] = board.GetValue(i / 9, i % 9);
      grids.push_back(v);
      // One digit more in an empty cell, wrong or right, eight times over.
      for (int extra = 0; extra < 8; ++extra) {
        std::vector<int> w = v;
        int x = rng.Below(81);
        while (w[x] != 0) x = (x + 1) % 81;
        w[x] = 1 + rng.Below(9);
        grids.push_back(w);
      }
    }
  }
  for (int k = 0; k < 400; ++k) {
    std::vector<int> v(81, 0);
    const int count = 8 + rng.Below(24);
    for (int j = 0; j < count; ++j) v[rng.Below(81)] = 1 + rng.Below(9);
    grids.push_back(v);
  }
  return grids;
}

// The citations a placement must carry, found by replaying the log: every
// step of level 2 or 3 that took a candidate of the placed cell (by
// elimination), or the placed digit from another cell of the house (hidden
// single). removedBy[x][d] is the step that took d from x so far.
std::vector<int> Required(const Explanation& e, const int (&removedBy)[81][10], int step, int cell, int digit) {
  const ExplainStep& s = e.steps[step];
  std::set<int> found;
  if (s.family == DeductionFamily::kHiddenSingle) {
    int house[9];
    HouseCells(s.house, s.houseIndex, house);
    for (int y : house) {
      if (y != cell && removedBy[y][digit] >= 0) found.insert(removedBy[y][digit]);
    }
  } else {
    for (int d = 1; d <= 9; ++d) {
      if (removedBy[cell][d] >= 0 && removedBy[cell][d] < step) found.insert(removedBy[cell][d]);
    }
  }
  std::vector<int> out;
  for (int i : found) {
    if (FamilyLevel(e.steps[i].family) >= 2) out.push_back(i);
  }
  return out;
}

// The parts of "(after A; B; C)" at the end of a line; none without one.
std::vector<std::string> CitedParts(const std::string& line) {
  std::vector<std::string> parts;
  const size_t at = line.find(" (after ");
  if (at == std::string::npos) return parts;
  std::string rest = line.substr(at + 8);
  if (rest.empty() || rest.back() != ')') return {"unclosed"};
  rest.pop_back();
  for (size_t from = 0;;) {
    const size_t semi = rest.find("; ", from);
    parts.push_back(rest.substr(from, semi - from));
    if (semi == std::string::npos) break;
    from = semi + 2;
  }
  return parts;
}

// A cited part names step t by family, its digits and its house, and
// quotes removals t really made: "pointing 2s in box 6 took 2 from r6c4".
void ExpectNames(const Explanation& e, int t, const std::string& part, const std::string& what) {
  const ExplainStep& s = e.steps[t];
  const char* houses[3] = {"row ", "column ", "box "};
  const std::string house = std::string(houses[s.house]) + std::to_string(s.houseIndex + 1);
  EXPECT_EQ(part.rfind(FamilyName(s.family), 0), 0u) << what << ": " << part;
  EXPECT_NE(part.find(" in " + house), std::string::npos) << what << ": " << part;
  unsigned removed = 0;
  for (int k = 0; k < s.changeCount; ++k) removed |= s.changes[k].before & ~s.changes[k].after;
  for (int d = 1; d <= 9; ++d) {
    const bool confined = s.family == DeductionFamily::kPointing || s.family == DeductionFamily::kClaiming;
    const bool pointed = confined && (removed & (1u << d));
    if (pointed) {
      EXPECT_NE(part.find(std::to_string(d) + "s"), std::string::npos) << what << ": " << part;
    }
  }
  if (s.family == DeductionFamily::kHiddenPair) {
    // The visited cell is left with just the pair.
    const unsigned pair = s.changes[0].after;
    std::string digits;
    for (int d = 1; d <= 9; ++d) {
      if (pair & (1u << d)) digits += char('0' + d);
    }
    EXPECT_EQ(part.rfind("hidden pair " + digits + " in ", 0), 0u) << what << ": " << part;
  }
  if (s.family == DeductionFamily::kNakedPair) {
    EXPECT_NE(part.find(Cell(s.cell)), std::string::npos) << what << ": " << part;
  }
  const size_t took = part.find(" took ");
  ASSERT_NE(took, std::string::npos) << what << ": " << part;
  const size_t from = part.find(" from ", took);
  ASSERT_NE(from, std::string::npos) << what << ": " << part;
  const std::string digits = part.substr(took + 6, from - took - 6);
  std::string cells = part.substr(from + 5);
  for (size_t at = 0; at + 5 <= cells.size(); at += 5) {
    const std::string name = cells.substr(at + 1, 4);
    bool made = false;
    for (int k = 0; k < s.changeCount; ++k) {
      const ExplainChange& c = s.changes[k];
      if (Cell(c.cell) != name) continue;
      made = true;
      for (char d : digits) EXPECT_TRUE((c.before & ~c.after) & (1u << (d - '0'))) << what << ": " << part;
    }
    EXPECT_TRUE(made) << what << ": " << part;
  }
}

TEST(ExplainFormatTest, EveryPlacementCitesEveryHigherStepItReliedOnInOrder) {
  const std::vector<std::vector<int>> grids = Grids();
  ASSERT_GT(grids.size(), 450u);
  std::unique_ptr<Explanation> e(new Explanation);
  int citations = 0, longest = 0, placements = 0;
  std::set<DeductionFamily> citedFamilies;
  for (size_t g = 0; g < grids.size(); ++g) {
    for (int level = 1; level <= 3; ++level) {
      Explain(grids[g].data(), level, e.get());
      int removedBy[81][10];
      for (auto& cell : removedBy)
        for (int& step : cell) step = -1;
      for (int i = 0; i < e->stepCount; ++i) {
        const ExplainStep& s = e->steps[i];
        for (int k = 0; k < s.changeCount; ++k) {
          const ExplainChange& c = s.changes[k];
          for (int d = 1; d <= 9; ++d) {
            if ((c.before & ~c.after) & (1u << d)) removedBy[c.cell][d] = i;
          }
        }
        for (int k = 0; k < s.changeCount; ++k) {
          const ExplainChange& c = s.changes[k];
          if (!AtMostOneBit(c.after) || AtMostOneBit(c.before)) continue;
          const std::string what = "grid " + std::to_string(g) + " level " + std::to_string(level);
          const std::string line = PlacementLine(*e, i, c.cell);
          EXPECT_EQ(line.rfind(Cell(c.cell) + " = " + std::to_string(Digit(c.after)) + "  ", 0), 0u) << line;
          EXPECT_EQ(line.find("earlier"), std::string::npos) << what << ": " << line;
          const std::vector<int> required = Required(*e, removedBy, i, c.cell, Digit(c.after));
          const std::vector<std::string> parts = CitedParts(line);
          ASSERT_EQ(parts.size(), required.size()) << what << ": " << line;
          for (size_t j = 0; j < parts.size(); ++j) {
            ExpectNames(*e, required[j], parts[j], what);
            citedFamilies.insert(e->steps[required[j]].family);
            // What the placement needed is quoted: a candidate of the cell, or
            // the digit from the house.
            const std::string quote = s.family == DeductionFamily::kHiddenSingle
                                          ? " took " + std::to_string(Digit(c.after)) + " from "
                                          : " from " + Cell(c.cell);
            EXPECT_NE(parts[j].find(quote), std::string::npos) << what << ": " << line;
          }
          ++placements;
          citations += int(parts.size());
          if (int(parts.size()) > longest) longest = int(parts.size());
          if (HasFailure()) return;
        }
      }
    }
  }
  EXPECT_GT(placements, 10000);
  EXPECT_GT(citations, 300);
  EXPECT_GT(longest, 4) << "more than four citations on one line, none cut off";
  EXPECT_EQ(citedFamilies.size(), 4u) << "pointing, claiming and both pairs cited";
}

TEST(ExplainFormatTest, AContradictionNamesTheCellsAndTheDigitThatClash) {
  const std::vector<std::vector<int>> grids = Grids();
  std::unique_ptr<Explanation> e(new Explanation);
  int consistency = 0, refused = 0;
  for (size_t g = 0; g < grids.size(); ++g) {
    for (int level = 1; level <= 3; ++level) {
      Explain(grids[g].data(), level, e.get());
      if (e->verdict != kExplainContradiction || e->contradictionCell < 0) continue;
      const std::string text = ContradictionText(*e);
      const std::string what = "grid " + std::to_string(g) + ": " + text;
      const unsigned bit = 1u << e->clashDigit;
      if (e->contradictionTechnique < 0) {
        // Two solved cells of one house with the same digit.
        ++consistency;
        EXPECT_EQ(e->cells[e->contradictionCell], bit) << what;
        EXPECT_EQ(e->cells[e->clashWith], bit) << what;
        EXPECT_TRUE(SameHouse(e->contradictionCell, e->clashWith)) << what;
        EXPECT_EQ(text.rfind(Cell(e->contradictionCell) + " and " + Cell(e->clashWith) + " both hold " +
                                 std::to_string(e->clashDigit) + " in ",
                             0),
                  0u)
            << what;
        continue;
      }
      // A removal refused: the cell is down to that digit.
      ++refused;
      EXPECT_EQ(e->cells[e->clashCell], bit) << what;
      EXPECT_EQ(text.rfind(Cell(e->clashCell) + " is left with no digit: ", 0), 0u) << what;
      EXPECT_NE(text.find("its last digit " + std::to_string(e->clashDigit)), std::string::npos) << what;
      if (e->clashWith >= 0) {
        EXPECT_EQ(e->cells[e->clashWith], bit) << what;
        EXPECT_TRUE(SameHouse(e->clashCell, e->clashWith)) << what;
        EXPECT_NE(text.find("which " + Cell(e->clashWith) + " holds"), std::string::npos) << what;
      }
    }
  }
  EXPECT_GT(consistency, 20);
  EXPECT_GT(refused, 20);
}

}  // namespace
