// The explain text held to its citation rule on generated puzzles and random
// grids at every level, and its contradictions to the clash they name.
#include "tools/explain_format.h"

#include <gtest/gtest.h>

#include <cstdio>
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
      if (!board.Generate(level, level, Board::kWaitedForAttempts)) continue;
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

// The text of an explanation, as WriteExplanationText writes it.
std::string Text(const Explanation& e) {
  FILE* f = std::tmpfile();
  WriteExplanationText(e, 1, f);
  std::rewind(f);
  std::string out;
  for (int ch; (ch = std::fgetc(f)) != EOF;) out.push_back(char(ch));
  std::fclose(f);
  return out;
}

// The step that runs into the contradiction is reported once, as the
// clash: a cell it left with one digit before its next removal was refused
// is not printed as a placement.
TEST(ExplainFormatTest, TheStepThatClashesIsNotPrintedAsAPlacement) {
  const std::vector<std::vector<int>> grids = Grids();
  std::unique_ptr<Explanation> e(new Explanation);
  int clashing = 0;
  for (size_t g = 0; g < grids.size(); ++g) {
    for (int level = 1; level <= 3; ++level) {
      Explain(grids[g].data(), level, e.get());
      const int clash = ClashStepIndex(*e);
      if (clash < 0) continue;
      const ExplainStep& s = e->steps[clash];
      const std::string text = Text(*e);
      for (int k = 0; k < s.changeCount; ++k) {
        if (!AtMostOneBit(s.changes[k].after) || AtMostOneBit(s.changes[k].before)) continue;
        ++clashing;
        EXPECT_EQ(text.find(PlacementLine(*e, clash, s.changes[k].cell) + "\n"), std::string::npos) << text;
      }
      EXPECT_NE(text.find("contradiction: " + ContradictionText(*e)), std::string::npos);
    }
  }
  EXPECT_GT(clashing, 0);
}

// Hard puzzles (Solo's Extreme and Unreasonable, qqwing's expert) that
// level 3 leaves open.
const char* const kHard[] = {
    "....51......9..3.5435.7.1.9..153....3.......6....167..5.6.4.8371.9..3......76....",
    ".9....46......69...8.79...2.....863..4.....1..564.....7...13.2...56......12....7.",
    "....2.634...9..82..8.....1...421....7..453..2....879...4.....7..72..8...169.4....",
    ".3.9...8...5.349...71......249...6......7......3...495......85...854.2...5...1.3.",
    "..1...34.73.5.4..2....6...8.2...5.87..4.2.5..85.4...6.4...5....3..2.6.94.69...8..",
    "81.6.92..6.7.....8..2.1..37.28..6...............2..78.78..9.4..9.....8.2..64.8.79",
    "...1......92.4.5..6..9....71......7..573.412..8......38....5..2..3.9.48......1...",
    "..1..7..6....1..8..7.8..45..3...86..7...6...3..42...9..29..5.4..1..4....3..7..5..",
    "....5..72..16..8.3.....26...1...6.38..4...1..98.5...4...72.....1.8..93..42..1....",
    ".....57.1.1.4.....9...2358.1....8.2..83..19..72..3....2..........7.......35..48..",
    "............738.5....21......56..7...86...2.3..2..7.....35.9.16.19..3..5.58..23..",
};

// Each pattern says why it holds: a fish its base and cover lines, a wing
// its pivot and pincers with their digits, a chain its links, trial and
// error its digit and cell; every step is one tsv line of four fields.
TEST(ExplainFormatTest, PatternsSayWhyTheyHold) {
  std::unique_ptr<Explanation> e(new Explanation);
  std::set<int> seen;
  for (const char* puzzle : kHard) {
    int values[81];
    for (int x = 0; x < 81; ++x) values[x] = puzzle[x] == '.' ? 0 : puzzle[x] - '0';
    Explain(values, 6, e.get());
    ASSERT_EQ(e->verdict, kExplainComplete) << puzzle;
    EXPECT_GE(ExplainedLevel(*e), 4) << puzzle;
    for (int i = 0; i < e->stepCount; ++i) {
      const ExplainStep& s = e->steps[i];
      const PatternStep* p = StepPattern(*e, s);
      if (!p) continue;
      seen.insert(p->technique);
      const std::string name = StepText(*e, i);
      EXPECT_EQ(name.rfind(FamilyName(s.family), 0), 0u) << name;
      switch (p->technique) {
        case kXWing:
        case kSwordfish:
        case kJellyfish:
          EXPECT_NE(name.find(", base " + std::string(p->houseKind == kRow ? "rows " : "columns ")), std::string::npos)
              << name;
          EXPECT_NE(name.find(", cover " + std::string(p->houseKind == kRow ? "columns " : "rows ")),
                    std::string::npos)
              << name;
          break;
        case kXYWing:
        case kXYZWing:
          EXPECT_NE(name.find(", pivot " + Cell(p->cells[0]) + " ("), std::string::npos) << name;
          EXPECT_NE(name.find(", pincers " + Cell(p->cells[1]) + " ("), std::string::npos) << name;
          EXPECT_NE(name.find(" and " + Cell(p->cells[2]) + " ("), std::string::npos) << name;
          break;
        case kTrialAndError:
          EXPECT_NE(name.find(" at " + Cell(p->cells[0]) + " leaves no solution"), std::string::npos) << name;
          break;
        case kSkyscraper:
        case kTwoStringKite:
        case kXChain:
        case kXYChain:
        case kNiceLoop: {
          // Every node in order, '=' and '-' alternating between them.
          size_t at = 0;
          for (int n = 0; n < p->nodeCount; ++n) {
            at = name.find(Cell(p->nodes[n].cell), at);
            ASSERT_NE(at, std::string::npos) << name;
            at += 4;
            if (n + 1 < p->nodeCount) {
              EXPECT_EQ(name[at], n % 2 == 0 ? '=' : '-') << name;
            }
          }
          break;
        }
        default:
          for (int c = 0; c < p->cellCount; ++c) EXPECT_NE(name.find(Cell(p->cells[c])), std::string::npos) << name;
      }
    }
    FILE* f = std::tmpfile();
    WriteExplanationTsv(*e, f);
    std::rewind(f);
    char line[4096];
    int lines = 0;
    while (std::fgets(line, sizeof line, f)) {
      if (line[0] == '#') continue;
      ++lines;
      int tabs = 0;
      for (const char* c = line; *c; ++c) tabs += *c == '\t';
      EXPECT_EQ(tabs, 3) << line;
    }
    std::fclose(f);
    EXPECT_EQ(lines, e->stepCount);
  }
  for (int t : {int(kXWing), int(kXYWing), int(kXChain), int(kNiceLoop), int(kTrialAndError)}) {
    EXPECT_EQ(seen.count(t), 1u) << FamilyName(kTechniqueTable[t].family);
  }
}

}  // namespace
