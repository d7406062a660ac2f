// Writing explanations as tab-separated steps and as text for people.
#include "tools/explain_format.h"

#include <string>

#include "puzzle/grade.h"

namespace {

const char* const kHouseNames[] = {"row", "column", "box"};
static_assert(sizeof kHouseNames / sizeof kHouseNames[0] == kHouseKinds, "one name per house kind");

std::string CellName(int cell) {
  return "r" + std::to_string(cell / 9 + 1) + "c" + std::to_string(cell % 9 + 1);
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

std::string LineNames(int kind, unsigned lines) {
  std::string out = std::string(kHouseNames[kind]) + "s";
  for (int i = 0; i < 9; ++i) {
    if (lines >> i & 1) out += " " + std::to_string(i + 1);
  }
  return out;
}

// The house column of a step: "row 3"; a fish's base lines ("rows 2 7");
// "grid" for a pattern of no one house.
std::string HouseName(const ExplainStep& s) {
  if (s.house >= kHouseKinds) return "grid";
  return std::string(kHouseNames[s.house]) + " " + std::to_string(s.houseIndex + 1);
}

std::string HouseName(const Explanation& e, const ExplainStep& s) {
  const PatternStep* p = StepPattern(e, s);
  if (p && (p->technique == kXWing || p->technique == kSwordfish || p->technique == kJellyfish)) {
    return LineNames(p->houseKind, p->base);
  }
  return HouseName(s);
}

// "r2c1=r2c6-r7c6=r7c9" for one digit, "3r2c1=5r2c1-5r4c1=..." for several:
// '=' a strong link (one of the two holds), '-' a weak one (not both).
std::string ChainText(const PatternStep& p) {
  const bool oneDigit = AtMostOneBit(p.digits);
  std::string out;
  for (int i = 0; i < p.nodeCount; ++i) {
    const ChainNode& n = p.nodes[i];
    if (!oneDigit) out += std::to_string(n.digit);
    out += CellName(n.cell);
    if (n.link == kWeakLink) {
      out += "-";
    } else if (n.link != kChainEnd) {
      out += "=";
    }
  }
  return out;
}

// A pattern and why it holds: "X-wing 5s, base rows 2 7, cover columns 3
// 8", "XY-wing 7, pivot r1c1 (12), pincers r1c5 (17) and r3c2 (27)".
std::string PatternName(const PatternStep& p) {
  const DeductionFamily family = kTechniqueTable[p.technique].family;
  std::string out = FamilyName(family);
  auto cellWith = [&](int i) { return CellName(p.cells[i]) + " (" + Digits(p.cellDigits[i]) + ")"; };
  auto cells = [&](int from, int to) {
    std::string list;
    for (int i = from; i < to; ++i) list += (i > from ? " " : "") + CellName(p.cells[i]);
    return list;
  };
  switch (p.technique) {
    case kNakedTriple:
    case kNakedQuad:
    case kHiddenTriple:
    case kHiddenQuad:
      return out + " " + Digits(p.digits) + " in " + kHouseNames[p.houseKind] + " " +
             std::to_string(p.houseIndex + 1) + " (" + cells(0, p.cellCount) + ")";
    case kXWing:
    case kSwordfish:
    case kJellyfish:
      return out + " " + Plural(p.digits) + ", base " + LineNames(p.houseKind, p.base) + ", cover " +
             LineNames(kRow + kColumn - p.houseKind, p.cover);
    case kXYWing:
    case kXYZWing:
      return out + " " + Digits(p.digits) + ", pivot " + cellWith(0) + ", pincers " + cellWith(1) + " and " +
             cellWith(2);
    case kWWing: {
      const unsigned link = p.digits & ~(p.removalCount ? p.removals[0].digits : 0u);
      return out + " " + Digits(p.digits) + ", " + CellName(p.cells[0]) + " and " + CellName(p.cells[1]) +
             " joined by the strong link on " + Digits(link) + " " + CellName(p.cells[2]) + "=" +
             CellName(p.cells[3]) + " in " + kHouseNames[p.houseKind] + " " + std::to_string(p.houseIndex + 1);
    }
    case kTrialAndError:
      return out + ": " + Digits(p.digits) + " at " + CellName(p.cells[0]) + " leaves no solution";
    default:
      return out + (AtMostOneBit(p.digits) ? " " + Plural(p.digits) : std::string()) + " " + ChainText(p);
  }
}

// The step as the reader finds it: its family, its digits where they are
// the point, its house, and a naked pair's two cells. "pointing 2s in box
// 4", "naked pair 56 in column 5 (r2c5 r4c5)", "hidden pair 37 in row 8";
// a pattern as PatternName gives it.
std::string StepName(const Explanation& e, const ExplainStep& s) {
  if (const PatternStep* p = StepPattern(e, s)) return PatternName(*p);
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
    out += (j ? "; " : "") + StepName(e, e.steps[c.step]) + " took " + Digits(c.digits) + " from";
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
  std::string out = CellName(e.clashCell) + " is left with no digit: " + StepName(e, e.clashStep) +
                    " would take its last digit " + digit;
  if (e.clashWith >= 0) out += ", which " + CellName(e.clashWith) + " holds";
  return out;
}

std::string StepText(const Explanation& e, int step) {
  if (step < 0 || step >= e.stepCount) return "";
  return StepName(e, e.steps[step]);
}

std::string PlacementLine(const Explanation& e, int step, int cell) {
  const ExplainStep& s = e.steps[step];
  unsigned placed = 0;
  for (int k = 0; k < s.changeCount; ++k) {
    if (s.changes[k].cell == cell) placed = s.changes[k].after;
  }
  return CellName(cell) + " = " + Digits(placed) + "  " + StepName(e, s) + Citations(e, step, cell);
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
    std::string line = std::to_string(i + 1) + "\t" + FamilyName(s.family) + "\t" + HouseName(e, s) + "\t";
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
  const int clash = ClashStepIndex(e);
  for (int i = 0; i < e.stepCount; ++i) {
    const ExplainStep& s = e.steps[i];
    ++counts[int(s.family)];
    // The step that met the contradiction places nothing: the contradiction
    // line reports it.
    if (i == clash) continue;
    for (int k = 0; k < s.changeCount; ++k) {
      const ExplainChange& c = s.changes[k];
      if (!AtMostOneBit(c.after) || AtMostOneBit(c.before)) continue;
      std::fprintf(out, "%s\n", PlacementLine(e, i, c.cell).c_str());
    }
  }
  if (e.verdict == kExplainContradiction) std::fprintf(out, "contradiction: %s\n", ContradictionText(e).c_str());
  std::fprintf(out, "steps:");
  // The families of levels 1 to 3 always, those above up to the level of
  // the solve.
  const int shown = e.level > kHighestPlayLevel ? e.level : kHighestPlayLevel;
  for (int f = 0; f < kDeductionFamilyCount && FamilyLevel(DeductionFamily(f)) <= shown; ++f) {
    std::fprintf(out, "%s %s %d", f ? "," : "", FamilyName(DeductionFamily(f)), counts[f]);
  }
  std::fprintf(out, "\n");
  if (grade >= 1) {
    std::fprintf(out, "level: %d\n", grade);
  } else if (grade == kGradeUnfinished) {
    std::fprintf(out, "level: none, level %d cannot complete it\n", kHighestGradeLevel);
  } else if (grade == kGradeSeveral) {
    std::fprintf(out, "level: none, the values have several solutions\n");
  } else {
    std::fprintf(out, "level: none, the values contradict each other\n");
  }
  std::fprintf(out, "%s\n", VerdictLine(e.verdict));
}
