// Writing explanations as tab-separated steps and as text for people.
#include "tools/explain_format.h"

#include <string>

#include "puzzle/grade.h"

namespace {

const char* const kHouseNames[kHouseKinds] = {"row", "column", "box"};

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

// "2s", "2s and 7s".
std::string Plural(unsigned bits) {
  std::string out;
  for (int d = 1; d <= 9; ++d) {
    if (!(bits & (1u << d))) continue;
    if (!out.empty()) out += " and ";
    out += std::string(1, char('0' + d)) + "s";
  }
  return out;
}

// The step as the reader finds it: its family, its digits where they are
// the point, its house, and a naked pair's two cells. "pointing 2s in box
// 4", "naked pair 56 in column 5 (r2c5 r4c5)", "hidden pair 37 in row 8".
std::string StepName(const ExplainStep& s) {
  std::string out = FamilyName(s.family);
  using F = DeductionFamily;
  if (s.family == F::kPointing || s.family == F::kClaiming) out += " " + Plural(s.digits);
  if (s.family == F::kNakedPair || s.family == F::kHiddenPair) out += " " + Digits(s.digits);
  out += " in " + HouseName(s);
  if (s.family == F::kNakedPair && s.partner < 81) {
    const int a = s.cell < s.partner ? s.cell : s.partner, b = s.cell ^ s.partner ^ a;
    out += " (" + CellName(a) + " " + CellName(b) + ")";
  }
  return out;
}

// " (after pointing 2s in box 6 took 2 from r6c4; ...)", or nothing.
std::string Citations(const Explanation& e, int step, int cell) {
  ExplainCitation citations[8];
  const int count = PlacementCitations(e, step, cell, citations);
  if (count == 0) return "";
  std::string out = " (after ";
  for (int j = 0; j < count; ++j) {
    const ExplainCitation& c = citations[j];
    out += (j ? "; " : "") + StepName(e.steps[c.step]) + " took " + Digits(c.digits) + " from";
    for (int k = 0; k < c.cellCount; ++k) out += " " + CellName(c.cells[k]);
  }
  return out + ")";
}

std::string HouseOf(int house, int cell) {
  return std::string(kHouseNames[house]) + " " + std::to_string(kUnits.house[house][cell] + 1);
}

// The kind of house two cells share: row, else column, else box.
int SharedHouse(int a, int b) {
  if (a / 9 == b / 9) return kRow;
  if (a % 9 == b % 9) return kColumn;
  return kBox;
}

}  // namespace

std::string ContradictionText(const Explanation& e) {
  const std::string digit = std::to_string(e.clashDigit);
  if (e.contradictionTechnique < 0) {
    if (e.contradictionCell < 0) return "no end after " + std::to_string(e.passes) + " passes";
    const int a = e.contradictionCell, b = e.clashWith;
    return CellName(a) + " and " + CellName(b) + " both hold " + digit + " in " + HouseOf(SharedHouse(a, b), a);
  }
  std::string out = CellName(e.clashCell) + " is left with no digit: " + StepName(e.clashStep) +
                    " would take its last digit " + digit;
  if (e.clashWith >= 0) out += ", which " + CellName(e.clashWith) + " holds";
  return out;
}

std::string PlacementLine(const Explanation& e, int step, int cell) {
  const ExplainStep& s = e.steps[step];
  unsigned placed = 0;
  for (int k = 0; k < s.changeCount; ++k) {
    if (s.changes[k].cell == cell) placed = s.changes[k].after;
  }
  return CellName(cell) + " = " + Digits(placed) + "  " + StepName(s) + Citations(e, step, cell);
}

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
      line += AtMostOneBit(c.after) ? "=" + Digits(c.after) : "-" + Digits(c.before & ~c.after);
    }
    std::fprintf(out, "%s\n", line.c_str());
  }
  std::fprintf(out, "%s\n", VerdictLine(e.verdict));
}

void WriteExplanationText(const Explanation& e, int grade, FILE* out) {
  int counts[kDeductionFamilyCount] = {};
  for (int i = 0; i < e.stepCount; ++i) {
    const ExplainStep& s = e.steps[i];
    ++counts[int(s.family)];
    for (int k = 0; k < s.changeCount; ++k) {
      const ExplainChange& c = s.changes[k];
      if (!AtMostOneBit(c.after) || AtMostOneBit(c.before)) continue;
      std::fprintf(out, "%s\n", PlacementLine(e, i, c.cell).c_str());
    }
  }
  if (e.verdict == kExplainContradiction) std::fprintf(out, "contradiction: %s\n", ContradictionText(e).c_str());
  std::fprintf(out, "steps:");
  for (int f = 0; f < kDeductionFamilyCount; ++f) {
    std::fprintf(out, "%s %s %d", f ? "," : "", FamilyName(DeductionFamily(f)), counts[f]);
  }
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
