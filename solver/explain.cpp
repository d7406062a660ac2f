// The explaining solve: every technique as its literal cell step over one
// word of digit bits per cell, with each change logged against the step
// that made it.
#include "solver/explain.h"

#include <cstring>
#include <memory>

#include "solver/search.h"
#include "solver/solver_grid.h"
#include "solver/techniques.h"

namespace {

constexpr int kNone = -1;

// List `kind` of cell x, in the order the techniques walk it.
HouseList ListOf(int kind, int x) { return {kHouses.lists[kind][x], HouseLength(kind)}; }

class Explainer {
 public:
  Explainer(Explanation* out, int solveLevel) : e(*out), level(solveLevel) {}

  void Run(const int values[81]) {
    e.level = level;
    e.stepCount = 0;
    e.passes = 0;
    e.contradictionTechnique = kNone;
    e.contradictionCell = kNone;
    e.clashCell = kNone;
    e.clashWith = kNone;
    e.clashDigit = 0;
    LoadDigitMasks(values, cells);
    std::memcpy(e.start, cells, sizeof cells);
    for (int x = 0; x < 81; ++x) {
      for (int d = 0; d <= 9; ++d) removedBy[x][d] = kNone;
      placedBy[x] = kNone;
    }
    e.patternCount = 0;
    e.solveResult = Solve();
    std::memcpy(e.cells, cells, sizeof cells);
    bool complete = true;
    for (int x = 0; x < 81; ++x) complete = complete && AtMostOneBit(cells[x]);
    e.verdict = !e.solveResult ? kExplainContradiction : complete ? kExplainComplete : kExplainIncomplete;
  }

 private:
  bool Solve() {
    const int patterns = AdmittedTechniques(level);
    const int admitted = patterns < kFirstPatternTechnique ? patterns : kFirstPatternTechnique;
    int pass = 0;
    for (;;) {
      if (!Passes(admitted, pass)) return false;
      bool complete = true;
      for (int x = 0; x < 81; ++x) complete = complete && AtMostOneBit(cells[x]);
      if (patterns == admitted || complete) return true;
      PatternStep& p = e.patterns[e.patternCount];
      if (e.patternCount >= kMaxExplainPatterns || !FindFirstPattern(kFirstPatternTechnique, patterns, cells, &p)) {
        return true;
      }
      if (!ApplyPattern(e.patternCount++)) return false;
      if (++pass >= kPassLimit) return false;
    }
  }

  // The passes of the per-cell techniques, as SolverGrid::Solve runs them.
  bool Passes(int admitted, int& pass) {
    for (;;) {
      if (!Consistent()) return false;
      ++e.passes;
      uint16_t snapshot[81];
      std::memcpy(snapshot, cells, sizeof cells);
      for (int t = 0; t < admitted; ++t) {
        for (int x = 0; x < 81; ++x) {
          Begin(pass, t, x);
          const bool ok = Step(t, x);
          End();
          if (!ok) {
            Refused(t, x);
            return false;
          }
        }
      }
      bool complete = true;
      for (int x = 0; x < 81; ++x) complete = complete && AtMostOneBit(cells[x]);
      // Cells solved in this pass may clash with each other; a full grid
      // counts only when it is consistent.
      if (complete) return Consistent();
      if (std::memcmp(snapshot, cells, sizeof cells) == 0) return true;
      if (++pass >= kPassLimit) return false;
    }
  }

  void Refused(int t, int x) {
    e.contradictionTechnique = t;
    e.contradictionCell = x;
    e.clashCell = refusedCell;
    e.clashDigit = refusedDigit;
    e.clashWith = refusedWith;
    e.clashStep = current;
  }

  // Pattern `index` of the explanation, applied as one step (its first
  // removal's cell the visited one); false on a contradiction.
  bool ApplyPattern(int index) {
    const PatternStep& p = e.patterns[index];
    const int first = p.removals[0].cell;
    Begin(e.passes > 0 ? e.passes - 1 : 0, p.technique, first);
    current.pattern = int16_t(index);
    // Subsets and the W-wing's strong link have a house of their own.
    const int t = p.technique;
    if (t == kNakedTriple || t == kNakedQuad || t == kHiddenTriple || t == kHiddenQuad || t == kWWing) {
      current.house = p.houseKind;
      current.houseIndex = p.houseIndex;
    }
    RelyOnPattern(p);
    bool ok = true;
    for (int i = 0; i < p.removalCount && ok; ++i) {
      for (unsigned b = p.removals[i].digits; b && ok; b &= b - 1) ok = Remove(p.removals[i].cell, LowestBit(b));
    }
    current.digits = p.digits;
    End();
    if (!ok) Refused(p.technique, first);
    return ok;
  }

  // Digit d is absent from every cell of house (kind, index) but `keep`.
  void RelyOnHouseAbsence(int kind, int index, unsigned digits, const uint8_t* keep, int keepCount) {
    for (int k = 0; k < 9; ++k) {
      const int y = kUnits.cells[kind][index][k];
      bool kept = false;
      for (int i = 0; i < keepCount; ++i) kept = kept || keep[i] == y;
      if (kept) continue;
      for (unsigned b = digits; b; b &= b - 1) RelyOnAbsence(y, LowestBit(b));
    }
  }

  // A pattern relies on the digits its cells hold and lack: the exact
  // digits of the cells of a naked subset or a wing, the absence of its
  // digits elsewhere in a hidden subset's house, a fish's base lines and a
  // strong link's house.
  void RelyOnPattern(const PatternStep& p) {
    switch (p.technique) {
      case kNakedTriple:
      case kNakedQuad:
      case kXYWing:
      case kXYZWing:
        for (int i = 0; i < p.cellCount; ++i) RelyOnExactly(p.cells[i], cells[p.cells[i]]);
        return;
      case kHiddenTriple:
      case kHiddenQuad:
        RelyOnHouseAbsence(p.houseKind, p.houseIndex, p.digits, p.cells, p.cellCount);
        return;
      case kWWing:
        RelyOnExactly(p.cells[0], cells[p.cells[0]]);
        RelyOnExactly(p.cells[1], cells[p.cells[1]]);
        // The strong link is on the digit the wing does not remove.
        RelyOnHouseAbsence(p.houseKind, p.houseIndex, p.digits & ~p.removals[0].digits, p.cells + 2, 2);
        return;
      case kXWing:
      case kSwordfish:
      case kJellyfish:
        for (int line = 0; line < 9; ++line) {
          if (!(p.base >> line & 1)) continue;
          for (int k = 0; k < 9; ++k) {
            if (!(p.cover >> k & 1)) RelyOnAbsence(kUnits.cells[p.houseKind][line][k], LowestBit(p.digits));
          }
        }
        return;
      case kTrialAndError:
        return;
      default:
        for (int i = 0; i + 1 < p.nodeCount; ++i) {
          const ChainNode& n = p.nodes[i];
          const ChainNode& next = p.nodes[i + 1];
          if (n.link == kStrongInCell) {
            RelyOnExactly(n.cell, cells[n.cell]);
          } else if (n.link <= kStrongInBox) {
            const uint8_t keep[2] = {n.cell, next.cell};
            RelyOnHouseAbsence(n.link, kUnits.house[n.link][n.cell], 1u << n.digit, keep, 2);
          }
        }
        return;
    }
  }

  // No two solved cells of a house hold the same digit; on a clash the
  // first solved cell (row-major) that has one is noted, with the cell it
  // clashes with.
  bool Consistent() {
    for (int x = 0; x < 81; ++x) {
      if (!AtMostOneBit(cells[x])) continue;
      for (int kind = kRowPeers; kind <= kBoxPeers; ++kind) {
        const HouseList l = ListOf(kind, x);
        for (int k = 0; k < l.length; ++k) {
          if (cells[l.cells[k]] == cells[x]) {
            e.contradictionTechnique = kNone;
            e.contradictionCell = x;
            e.clashWith = l.cells[k];
            e.clashDigit = LowestBit(cells[x]);
            return false;
          }
        }
      }
    }
    return true;
  }

  // --- The step being recorded ---------------------------------------------

  void Begin(int pass, int t, int x) {
    ExplainStep& s = current;
    s.pass = uint16_t(pass < 65535 ? pass : 65535);
    s.technique = uint8_t(t);
    s.cell = uint8_t(x);
    s.family = kTechniqueTable[t].family;
    s.house = uint8_t(kTechniqueTable[t].house);
    s.houseIndex = s.house < kHouseKinds ? kUnits.house[s.house][x] : 0;
    s.digits = 0;
    s.partner = 255;
    s.pattern = -1;
    s.neededLevel = uint8_t(FamilyLevel(s.family));
    s.neededFamily = s.family;
    s.neededStep = int16_t(e.stepCount);
    s.changeCount = 0;
  }

  // The step relied on what step `index` did (nothing for kNone: a loaded
  // digit or a candidate never held; nothing for the step itself).
  void Rely(int index) {
    if (index == kNone || index >= e.stepCount) return;
    const ExplainStep& other = e.steps[index];
    if (other.neededLevel > current.neededLevel) {
      current.neededLevel = other.neededLevel;
      current.neededFamily = other.neededFamily;
      current.neededStep = other.neededStep;
    }
  }

  // Digit d is not among the candidates of cell y.
  void RelyOnAbsence(int y, int d) { Rely(removedBy[y][d]); }

  // Cell y holds exactly the digits `bits`.
  void RelyOnExactly(int y, unsigned bits) {
    for (int d = 1; d <= 9; ++d) {
      if (!(bits & (1u << d))) Rely(removedBy[y][d]);
    }
  }

  void End() {
    if (current.changeCount == 0 || e.stepCount >= kMaxExplainSteps) return;
    e.steps[e.stepCount++] = current;
  }

  // Every change goes through here: the cell's new digits, logged. A cell
  // left with one digit by a removal relies on every earlier removal from it.
  void Change(int y, unsigned bits) {
    const unsigned old = cells[y];
    if (old == bits) return;
    const bool placed = AtMostOneBit(bits) && !AtMostOneBit(old);
    if (placed && current.family != DeductionFamily::kHiddenSingle) RelyOnExactly(y, bits);
    const int index = e.stepCount;
    for (int d = 1; d <= 9; ++d) {
      if ((old & (1u << d)) && !(bits & (1u << d))) removedBy[y][d] = int16_t(index);
    }
    if (placed) placedBy[y] = int16_t(index);
    cells[y] = uint16_t(bits);
    current.digits = uint16_t(current.digits | (old & ~bits));
    for (int i = 0; i < current.changeCount; ++i) {
      if (current.changes[i].cell == y) {
        current.changes[i].after = uint16_t(bits);
        return;
      }
    }
    if (current.changeCount < kMaxPatternCells) {
      current.changes[current.changeCount++] = {uint8_t(y), uint16_t(old), uint16_t(bits)};
    }
  }

  // DigitSet::Remove: false, with the cell unchanged, when d is its last
  // digit; the refused cell and digit are noted.
  bool Remove(int y, int d) {
    const unsigned bit = 1u << d;
    if (!(cells[y] & bit)) return true;
    if (AtMostOneBit(cells[y])) {
      refusedCell = y;
      refusedDigit = d;
      refusedWith = kNone;
      return false;
    }
    Change(y, cells[y] & ~bit);
    return true;
  }

  bool Holds(int y, int d) const { return (cells[y] & (1u << d)) != 0; }

  // Some cell of the list holds d.
  bool AnyHolds(const HouseList& l, int d) const {
    for (int k = 0; k < l.length; ++k) {
      if (Holds(l.cells[k], d)) return true;
    }
    return false;
  }

  // PlacesInRow and its kin: 1 when d is placed in the house, else the
  // unsolved cells of the house, x included, that hold d.
  int Places(int kind, int x, int d) const {
    if (AtMostOneBit(cells[x]) && Holds(x, d)) return 1;
    int count = (!AtMostOneBit(cells[x]) && Holds(x, d)) ? 1 : 0;
    const HouseList l = ListOf(kind, x);
    for (int k = 0; k < l.length; ++k) {
      const int y = l.cells[k];
      if (AtMostOneBit(cells[y])) {
        if (Holds(y, d)) return 1;
      } else if (Holds(y, d)) {
        ++count;
      }
    }
    return count;
  }

  // --- The cell steps ---------------------------------------------------------

  bool Step(int t, int x) {
    if (AtMostOneBit(cells[x])) return true;
    const TechniqueInfo& info = kTechniqueTable[t];
    const HouseList l = ListOf(info.walked, x);
    switch (info.family) {
      case DeductionFamily::kValueElimination:
        return EliminateValues(l, x);
      case DeductionFamily::kHiddenSingle:
        HiddenSingle(l, x);
        return true;
      case DeductionFamily::kPointing:
      case DeductionFamily::kClaiming:
        LineAndBox(l, ListOf(info.cleared, x), x);
        return true;
      case DeductionFamily::kNakedPair:
        return NakedPair(l, x);
      case DeductionFamily::kHiddenPair:
        HiddenPair(info.walked, l, x);
        return true;
      default:  // patterns are applied whole (ApplyPattern)
        return true;
    }
  }

  bool EliminateValues(const HouseList& l, int x) {
    for (int k = 0; k < l.length; ++k) {
      const int y = l.cells[k];
      if (!AtMostOneBit(cells[y])) continue;
      const int d = LowestBit(cells[y]);
      if (Holds(x, d)) Rely(placedBy[y]);
      if (!Remove(x, d)) {
        refusedWith = y;
        return false;
      }
    }
    return true;
  }

  void HiddenSingle(const HouseList& l, int x) {
    for (int d = 1; d <= 9; ++d) {
      if (!Holds(x, d) || AnyHolds(l, d)) continue;
      for (int k = 0; k < l.length; ++k) RelyOnAbsence(l.cells[k], d);
      Change(x, 1u << d);
      current.digits = uint16_t(1u << d);
      return;
    }
  }

  // Pointing and claiming: a digit of x that `l` lacks leaves `target`.
  // Only unsolved cells are cleared, so no removal is ever refused.
  void LineAndBox(const HouseList& l, const HouseList& target, int x) {
    const unsigned own = cells[x];
    for (int d = 1; d <= 9; ++d) {
      if (!(own & (1u << d)) || AnyHolds(l, d)) continue;
      bool removes = false;
      for (int k = 0; k < target.length; ++k) {
        const int y = target.cells[k];
        removes = removes || (!AtMostOneBit(cells[y]) && Holds(y, d));
      }
      if (!removes) continue;
      for (int k = 0; k < l.length; ++k) RelyOnAbsence(l.cells[k], d);
      for (int k = 0; k < target.length; ++k) {
        const int y = target.cells[k];
        if (!AtMostOneBit(cells[y])) Remove(y, d);
      }
    }
  }

  bool NakedPair(const HouseList& l, int x) {
    const unsigned pair = cells[x];
    if (!TwoBits(pair)) return true;
    const int a = LowestBit(pair), b = LowestBit(WithoutLowestBit(pair));
    int partner = kNone;
    for (int k = 0; k < l.length && partner == kNone; ++k) {
      if (cells[l.cells[k]] == pair) partner = k;
    }
    if (partner == kNone) return true;
    bool removes = false;
    for (int k = 0; k < l.length; ++k) {
      removes = removes || (k != partner && (cells[l.cells[k]] & pair) != 0);
    }
    if (removes) {
      RelyOnExactly(x, pair);
      RelyOnExactly(l.cells[partner], pair);
    }
    current.partner = uint8_t(l.cells[partner]);
    bool ok = true;
    for (int k = 0; k < l.length && ok; ++k) {
      if (k == partner) continue;
      const int y = l.cells[k];
      ok = Remove(y, a) && Remove(y, b);
    }
    current.digits = uint16_t(pair);
    return ok;
  }

  void HiddenPair(int placesList, const HouseList& l, int x) {
    for (int d1 = 1; d1 <= 9; ++d1) {
      if (!Holds(x, d1) || Places(placesList, x, d1) != 2) continue;
      for (int k = 0; k < l.length; ++k) {
        const int y = l.cells[k];
        if (!Holds(y, d1)) continue;
        for (int d2 = d1 + 1; d2 <= 9; ++d2) {
          if (!Holds(x, d2) || Places(placesList, x, d2) != 2 || !Holds(y, d2)) continue;
          const unsigned pair = (1u << d1) | (1u << d2);
          if (cells[x] != pair) {
            for (int j = 0; j < l.length; ++j) {
              if (j == k) continue;
              RelyOnAbsence(l.cells[j], d1);
              RelyOnAbsence(l.cells[j], d2);
            }
          }
          Change(x, pair);
          current.digits = uint16_t(pair);
          current.partner = uint8_t(y);
          return;
        }
      }
    }
  }

  Explanation& e;
  int level;
  // Never 0: a removal that would take a cell's last digit is refused, so
  // AtMostOneBit on a cell means solved.
  uint16_t cells[81];
  int16_t removedBy[81][10];  // the step that took digit d from cell x
  int16_t placedBy[81];       // the step that left cell x solved
  ExplainStep current;
  // The last refused removal: the cell, its last digit, and for value
  // elimination the solved cell that holds that digit.
  int refusedCell = kNone;
  int refusedDigit = 0;
  int refusedWith = kNone;
};

}  // namespace

void Explain(const int values[81], int level, Explanation* out) {
  Explainer(out, level).Run(values);
}

int ClashStepIndex(const Explanation& e) {
  if (e.verdict != kExplainContradiction || e.contradictionTechnique < 0 || e.stepCount == 0) return kNone;
  const ExplainStep& last = e.steps[e.stepCount - 1];
  const ExplainStep& clash = e.clashStep;
  if (last.technique != clash.technique || last.cell != clash.cell || last.pass != clash.pass ||
      last.pattern != clash.pattern || last.changeCount != clash.changeCount) {
    return kNone;
  }
  return e.stepCount - 1;
}

const PatternStep* StepPattern(const Explanation& e, const ExplainStep& s) {
  return s.pattern >= 0 && s.pattern < e.patternCount ? &e.patterns[s.pattern] : nullptr;
}

int ExplainedLevel(const Explanation& e) {
  if (e.verdict != kExplainComplete) return 0;
  int level = 0;
  for (int i = 0; i < e.stepCount; ++i) {
    const int own = FamilyLevel(e.steps[i].family);
    if (own > kHighestPlayLevel && own > level) level = own;
  }
  return level;
}

void HouseCells(int house, int index, int (&cells)[9]) {
  for (int k = 0; k < 9; ++k) cells[k] = kUnits.cells[house][index][k];
}

int PlacementCitations(const Explanation& e, int step, int cell, ExplainCitation (&out)[8]) {
  if (step < 0 || step >= e.stepCount || cell < 0 || cell >= 81) return 0;
  const ExplainStep& s = e.steps[step];
  unsigned placed = 0;
  for (int k = 0; k < s.changeCount; ++k) {
    if (s.changes[k].cell == cell) placed = s.changes[k].after;
  }
  if (placed == 0 || !AtMostOneBit(placed)) return 0;
  // The cells whose removals count, and the digits.
  bool watched[81] = {};
  unsigned wanted = kAllDigits;
  if (s.family == DeductionFamily::kHiddenSingle) {
    int house[9];
    HouseCells(s.house, s.houseIndex, house);
    for (int y : house) watched[y] = y != cell;
    wanted = placed;
  } else {
    watched[cell] = true;
  }
  int count = 0;
  for (int i = 0; i < step && count < 8; ++i) {
    const ExplainStep& t = e.steps[i];
    if (FamilyLevel(t.family) <= kLowestLevel) continue;
    ExplainCitation c{i, 0, 0, {}};
    for (int k = 0; k < t.changeCount; ++k) {
      const ExplainChange& change = t.changes[k];
      const unsigned removed = change.before & ~change.after & wanted;
      if (!watched[change.cell] || removed == 0) continue;
      c.digits = uint16_t(c.digits | removed);
      c.cells[c.cellCount++] = change.cell;
    }
    if (c.cellCount > 0) out[count++] = c;
  }
  return count;
}

namespace {

// The one solution of the givens: the level-3 solve's when it completes
// them, else the search's. Returns the number of solutions found, up to 2
// (0 for none).
int SolveGivens(const int values[81], const bool given[81], int solution[81]) {
  SolverGrid grid;
  grid.Reset();
  uint8_t digits[81];
  for (int x = 0; x < 81; ++x) {
    const bool known = given[x] && values[x] >= 1 && values[x] <= 9;
    digits[x] = uint8_t(known ? values[x] : 0);
    if (known) grid.SetValue(x / 9, x % 9, values[x]);
  }
  bool solved = grid.Solve(kHighestPlayLevel);
  for (int x = 0; x < 81 && solved; ++x) {
    solved = grid.IsSolved(x / 9, x % 9);
    solution[x] = grid.GetValue(x / 9, x % 9);
  }
  if (solved) return 1;
  const SearchOutcome found = SearchSolutions(digits, 2);
  for (int x = 0; x < 81; ++x) solution[x] = found.solution[x];
  return found.solutions;
}

bool HasDigit(const int values[81], int x) { return values[x] >= 1 && values[x] <= 9; }

// The first player's value that clashes, else the first given that does.
bool FindClash(const int values[81], const bool given[81], Hint* hint) {
  for (int pass = 0; pass < 2; ++pass) {
    for (int x = 0; x < 81; ++x) {
      if (pass == 0 && given[x]) continue;
      int house = 0;
      const int other = ClashingPeer(values, x, &house);
      if (other == kNone) continue;
      hint->kind = kHintClash;
      hint->row = x / 9;
      hint->col = x % 9;
      hint->digit = values[x];
      hint->otherRow = other / 9;
      hint->otherCol = other % 9;
      hint->clashHouse = house;
      return true;
    }
  }
  return false;
}

// The first cell the explanation decides; false when there is none.
bool FirstDecided(const Explanation& e, Hint* hint) {
  for (int i = 0; i < e.stepCount; ++i) {
    const ExplainStep& s = e.steps[i];
    for (int k = 0; k < s.changeCount; ++k) {
      const ExplainChange& c = s.changes[k];
      if (!AtMostOneBit(c.after) || AtMostOneBit(c.before)) continue;
      hint->kind = kHintDecided;
      hint->row = c.cell / 9;
      hint->col = c.cell % 9;
      hint->digit = LowestBit(c.after);
      hint->family = int(s.family);
      hint->house = s.house;
      if (s.neededLevel > FamilyLevel(s.family)) {
        const ExplainStep& needed = e.steps[s.neededStep];
        hint->neededFamily = int(needed.family);
        hint->neededHouse = needed.house;
        hint->neededHouseIndex = needed.houseIndex;
        hint->neededDigits = needed.digits;
      }
      return true;
    }
  }
  return false;
}

}  // namespace

Hint FindHint(const int values[81], const bool given[81]) {
  Hint hint;
  int solution[81];
  const int solutions = SolveGivens(values, given, solution);
  if (solutions == 1) {
    for (int x = 0; x < 81; ++x) {
      if (given[x] || !HasDigit(values, x) || values[x] == solution[x]) continue;
      hint.kind = kHintWrongValue;
      hint.row = x / 9;
      hint.col = x % 9;
      hint.digit = values[x];
      return hint;
    }
  }
  if (FindClash(values, given, &hint)) return hint;
  if (solutions > 1) {
    hint.kind = kHintSeveralSolutions;
    return hint;
  }
  // The first cell a solve of all values decides; a solve that ends in a
  // contradiction proves nothing the player can use. The solve at level 6
  // takes the level-3 steps first, so where level 3 decides a cell the
  // hint is the level-3 one.
  std::unique_ptr<Explanation> e(new Explanation);
  Explain(values, kHighestSolverLevel, e.get());
  if (e->solveResult && FirstDecided(*e, &hint)) return hint;
  for (int x = 0; x < 81; ++x) {
    if (!HasDigit(values, x)) hint.kind = kHintNoLogic;
  }
  return hint;
}
