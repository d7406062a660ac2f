// Writing explanations as tab-separated steps and as text for people.
#include "tools/explain_format.h"

#include <string>

#include "puzzle/grade.h"

namespace {

const char* const kHouseNames[3] = {"row", "column", "box"};

std::string CellName(int cell) {
  return "r" + std::to_string(cell / 9 + 1) + "c" + std::to_string(cell % 9 + 1);
}

std::string HouseName(const ExplainStep& s) {
  return std::string(kHouseNames[s.house]) + " " + std::to_string(s.houseIndex + 1);
}

std::string Digits(unsigned bits) {
  std::string out;
  for (int d = 1; d <= 9; ++d) {
    if (bits & (1u << d)) out.push_back(char('0' + d));
  }
  return out;
}

bool Single(unsigned bits) { return bits != 0 && (bits & (bits - 1)) == 0; }

// "pointing in box 1 took 7 from r3c7 r3c8, 4 from r3c9".
std::string Describe(const ExplainStep& s) {
  std::string out = std::string(FamilyName(s.family)) + " in " + HouseName(s) + " took";
  std::string last;
  for (int k = 0; k < s.changeCount; ++k) {
    const ExplainChange& c = s.changes[k];
    const std::string removed = Digits(c.before & ~c.after);
    if (removed != last) {
      out += (k ? ", " : " ") + removed + " from";
      last = removed;
    }
    out += " " + CellName(c.cell);
  }
  return out;
}

}  // namespace

const char* VerdictLine(ExplainVerdict verdict) {
  switch (verdict) {
    case kExplainComplete:
      return "# complete";
    case kExplainIncomplete:
      return "# incomplete";
    default:
      return "# contradiction";
  }
}

void WriteExplanationTsv(const Explanation& e, FILE* out) {
  for (int i = 0; i < e.stepCount; ++i) {
    const ExplainStep& s = e.steps[i];
    std::string line = std::to_string(i + 1) + "\t" + FamilyName(s.family) + "\t" + HouseName(s) + "\t";
    for (int k = 0; k < s.changeCount; ++k) {
      const ExplainChange& c = s.changes[k];
      if (k) line.push_back(' ');
      line += CellName(c.cell);
      line += Single(c.after) ? "=" + Digits(c.after) : "-" + Digits(c.before & ~c.after);
    }
    std::fprintf(out, "%s\n", line.c_str());
  }
  std::fprintf(out, "%s\n", VerdictLine(e.verdict));
}

void WriteExplanationText(const Explanation& e, int grade, FILE* out) {
  int counts[kFamilyCount] = {};
  for (int i = 0; i < e.stepCount; ++i) {
    const ExplainStep& s = e.steps[i];
    ++counts[s.family];
    for (int k = 0; k < s.changeCount; ++k) {
      const ExplainChange& c = s.changes[k];
      if (!Single(c.after) || Single(c.before)) continue;
      std::string line = CellName(c.cell) + " = " + Digits(c.after) + "  " + FamilyName(s.family) + " in " +
                         HouseName(s);
      if (s.supportCount > 0) {
        line += " (after ";
        for (int j = 0; j < s.supportCount; ++j) {
          if (j) line += "; ";
          line += Describe(e.steps[s.support[j]]);
        }
        line += ")";
      } else if (s.neededLevel > FamilyLevel(s.family)) {
        line += std::string(" (after ") + FamilyName(s.neededFamily) + " earlier)";
      }
      std::fprintf(out, "%s\n", line.c_str());
    }
  }
  if (e.verdict == kExplainContradiction) {
    if (e.contradictionTechnique >= 0) {
      const int family = TechniqueFamily(e.contradictionTechnique);
      const int house = TechniqueHouse(e.contradictionTechnique);
      const int x = e.contradictionCell;
      const int index = house == kHouseRow ? x / 9 : house == kHouseColumn ? x % 9 : x / 27 * 3 + x % 9 / 3;
      std::fprintf(out, "contradiction: %s in %s %d, visiting %s, would take a cell's last digit\n",
                   FamilyName(family), kHouseNames[house], index + 1, CellName(x).c_str());
    } else if (e.contradictionCell >= 0) {
      std::fprintf(out, "contradiction: %s holds %s, and so does another cell of its row, column or box\n",
                   CellName(e.contradictionCell).c_str(), Digits(e.cells[e.contradictionCell]).c_str());
    } else {
      std::fprintf(out, "contradiction: no end after %d passes\n", e.passes);
    }
  }
  std::fprintf(out, "steps:");
  for (int f = 0; f < kFamilyCount; ++f) std::fprintf(out, "%s %s %d", f ? "," : "", FamilyName(f), counts[f]);
  std::fprintf(out, "\n");
  if (grade >= 1) {
    std::fprintf(out, "level: %d\n", grade);
  } else if (grade == kGradeUnfinished) {
    std::fprintf(out, "level: none, level 3 cannot complete it\n");
  } else {
    std::fprintf(out, "level: none, the values contradict each other\n");
  }
  std::fprintf(out, "%s\n", VerdictLine(e.verdict));
}
