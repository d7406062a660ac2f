// The explaining solve: every technique as its literal cell step over one
// word of digit bits per cell, with each change logged against the step
// that made it.
#include "solver/explain.h"

#include <cstring>
#include <memory>

#include "solver/solver_grid.h"

namespace {

constexpr int kPassLimit = 10000;
constexpr int kNone = -1;

enum ListKind {
  kRowPeers,
  kColumnPeers,
  kBoxPeers,
  kRowOutsideBox,
  kColumnOutsideBox,
  kBoxOutsideRow,
  kBoxOutsideColumn,
};

// The house lists of cell x, in the order the techniques walk them.
struct List {
  int cells[8];
  int length = 0;
};

List MakeList(int kind, int x) {
  List l;
  const int r = x / 9, c = x % 9, r0 = r / 3 * 3, c0 = c / 3 * 3;
  switch (kind) {
    case kRowPeers:
      for (int j = 0; j < 9; ++j)
        if (j != c) l.cells[l.length++] = r * 9 + j;
      break;
    case kColumnPeers:
      for (int j = 0; j < 9; ++j)
        if (j != r) l.cells[l.length++] = j * 9 + c;
      break;
    case kRowOutsideBox:
      for (int j = 0; j < 9; ++j)
        if (j < c0 || j > c0 + 2) l.cells[l.length++] = r * 9 + j;
      break;
    case kColumnOutsideBox:
      for (int j = 0; j < 9; ++j)
        if (j < r0 || j > r0 + 2) l.cells[l.length++] = j * 9 + c;
      break;
    default:
      for (int br = r0; br < r0 + 3; ++br) {
        for (int bc = c0; bc < c0 + 3; ++bc) {
          const bool keep = kind == kBoxPeers ? (br != r || bc != c) : kind == kBoxOutsideRow ? br != r : bc != c;
          if (keep) l.cells[l.length++] = br * 9 + bc;
        }
      }
      break;
  }
  return l;
}

bool Single(unsigned bits) { return bits != 0 && (bits & (bits - 1)) == 0; }

int Lowest(unsigned bits) {
  for (int d = 1; d <= 9; ++d) {
    if (bits & (1u << d)) return d;
  }
  return 0;
}

// The technique table: family, house kind, and the lists a step walks.
struct Technique {
  int family;
  int house;
  int list;    // the walked list (the list that must lack d, for pointing and claiming)
  int target;  // pointing and claiming: the list cleared of d
};

const Technique kTechniques[16] = {
    {kFamilyValueElimination, kHouseRow, kRowPeers, 0},
    {kFamilyValueElimination, kHouseColumn, kColumnPeers, 0},
    {kFamilyValueElimination, kHouseBox, kBoxPeers, 0},
    {kFamilyHiddenSingle, kHouseRow, kRowPeers, 0},
    {kFamilyHiddenSingle, kHouseColumn, kColumnPeers, 0},
    {kFamilyHiddenSingle, kHouseBox, kBoxPeers, 0},
    {kFamilyPointing, kHouseBox, kBoxOutsideRow, kRowOutsideBox},
    {kFamilyPointing, kHouseBox, kBoxOutsideColumn, kColumnOutsideBox},
    {kFamilyClaiming, kHouseRow, kRowOutsideBox, kBoxOutsideRow},
    {kFamilyClaiming, kHouseColumn, kColumnOutsideBox, kBoxOutsideColumn},
    {kFamilyNakedPair, kHouseRow, kRowPeers, 0},
    {kFamilyNakedPair, kHouseColumn, kColumnPeers, 0},
    {kFamilyNakedPair, kHouseBox, kBoxPeers, 0},
    {kFamilyHiddenPair, kHouseRow, kRowPeers, 0},
    {kFamilyHiddenPair, kHouseColumn, kColumnPeers, 0},
    {kFamilyHiddenPair, kHouseBox, kBoxPeers, 0},
};

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
    for (int x = 0; x < 81; ++x) {
      const int v = values[x];
      cells[x] = uint16_t(v >= 1 && v <= 9 ? 1u << v : 0x3FEu);
      e.start[x] = cells[x];
      for (int d = 0; d <= 9; ++d) removedBy[x][d] = kNone;
      placedBy[x] = kNone;
    }
    e.solveResult = Solve();
    std::memcpy(e.cells, cells, sizeof cells);
    bool complete = true;
    for (int x = 0; x < 81; ++x) complete = complete && Single(cells[x]);
    e.verdict = !e.solveResult ? kExplainContradiction : complete ? kExplainComplete : kExplainIncomplete;
  }

 private:
  bool Solve() {
    const int admitted = level >= 3 ? 16 : level >= 2 ? 10 : 6;
    for (int pass = 0;;) {
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
            e.contradictionTechnique = t;
            e.contradictionCell = x;
            e.clashCell = refusedCell;
            e.clashDigit = refusedDigit;
            e.clashWith = refusedWith;
            e.clashStep = current;
            return false;
          }
        }
      }
      bool complete = true;
      for (int x = 0; x < 81; ++x) complete = complete && Single(cells[x]);
      // Cells solved in this pass may clash with each other; a full grid
      // counts only when it is consistent.
      if (complete) return Consistent();
      if (std::memcmp(snapshot, cells, sizeof cells) == 0) return true;
      if (++pass >= kPassLimit) return false;
    }
  }

  // No two solved cells of a house hold the same digit; on a clash the
  // first solved cell (row-major) that has one is noted, with the cell it
  // clashes with.
  bool Consistent() {
    for (int x = 0; x < 81; ++x) {
      if (!Single(cells[x])) continue;
      for (int kind = kRowPeers; kind <= kBoxPeers; ++kind) {
        const List l = MakeList(kind, x);
        for (int k = 0; k < l.length; ++k) {
          if (cells[l.cells[k]] == cells[x]) {
            e.contradictionTechnique = kNone;
            e.contradictionCell = x;
            e.clashWith = l.cells[k];
            e.clashDigit = Lowest(cells[x]);
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
    s.family = uint8_t(kTechniques[t].family);
    s.house = uint8_t(kTechniques[t].house);
    const int r = x / 9, c = x % 9;
    s.houseIndex = uint8_t(s.house == kHouseRow ? r : s.house == kHouseColumn ? c : r / 3 * 3 + c / 3);
    s.digits = 0;
    s.partner = 255;
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
    if (Single(bits) && !Single(old) && current.family != kFamilyHiddenSingle) RelyOnExactly(y, bits);
    const int index = e.stepCount;
    for (int d = 1; d <= 9; ++d) {
      if ((old & (1u << d)) && !(bits & (1u << d))) removedBy[y][d] = int16_t(index);
    }
    if (Single(bits) && !Single(old)) placedBy[y] = int16_t(index);
    cells[y] = uint16_t(bits);
    current.digits = uint16_t(current.digits | (old & ~bits));
    for (int i = 0; i < current.changeCount; ++i) {
      if (current.changes[i].cell == y) {
        current.changes[i].after = uint16_t(bits);
        return;
      }
    }
    if (current.changeCount < 8) current.changes[current.changeCount++] = {uint8_t(y), uint16_t(old), uint16_t(bits)};
  }

  // DigitSet::Remove: false, with the cell unchanged, when d is its last
  // digit; the refused cell and digit are noted.
  bool Remove(int y, int d) {
    const unsigned bit = 1u << d;
    if (!(cells[y] & bit)) return true;
    if (Single(cells[y])) {
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
  bool AnyHolds(const List& l, int d) const {
    for (int k = 0; k < l.length; ++k) {
      if (Holds(l.cells[k], d)) return true;
    }
    return false;
  }

  // PlacesInRow and its kin: 1 when d is placed in the house, else the
  // unsolved cells of the house, x included, that hold d.
  int Places(int kind, int x, int d) const {
    if (Single(cells[x]) && Holds(x, d)) return 1;
    int count = (!Single(cells[x]) && Holds(x, d)) ? 1 : 0;
    const List l = MakeList(kind, x);
    for (int k = 0; k < l.length; ++k) {
      const int y = l.cells[k];
      if (Single(cells[y])) {
        if (Holds(y, d)) return 1;
      } else if (Holds(y, d)) {
        ++count;
      }
    }
    return count;
  }

  // --- The cell steps ---------------------------------------------------------

  bool Step(int t, int x) {
    if (Single(cells[x])) return true;
    const Technique& tech = kTechniques[t];
    const List l = MakeList(tech.list, x);
    switch (tech.family) {
      case kFamilyValueElimination:
        return EliminateValues(l, x);
      case kFamilyHiddenSingle:
        HiddenSingle(l, x);
        return true;
      case kFamilyPointing:
      case kFamilyClaiming:
        LineAndBox(l, MakeList(tech.target, x), x);
        return true;
      case kFamilyNakedPair:
        return NakedPair(l, x);
      default:
        HiddenPair(tech.list, l, x);
        return true;
    }
  }

  bool EliminateValues(const List& l, int x) {
    for (int k = 0; k < l.length; ++k) {
      const int y = l.cells[k];
      if (!Single(cells[y])) continue;
      const int d = Lowest(cells[y]);
      if (Holds(x, d)) Rely(placedBy[y]);
      if (!Remove(x, d)) {
        refusedWith = y;
        return false;
      }
    }
    return true;
  }

  void HiddenSingle(const List& l, int x) {
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
  void LineAndBox(const List& l, const List& target, int x) {
    const unsigned own = cells[x];
    for (int d = 1; d <= 9; ++d) {
      if (!(own & (1u << d)) || AnyHolds(l, d)) continue;
      bool removes = false;
      for (int k = 0; k < target.length; ++k) {
        const int y = target.cells[k];
        removes = removes || (!Single(cells[y]) && Holds(y, d));
      }
      if (!removes) continue;
      for (int k = 0; k < l.length; ++k) RelyOnAbsence(l.cells[k], d);
      for (int k = 0; k < target.length; ++k) {
        const int y = target.cells[k];
        if (!Single(cells[y])) Remove(y, d);
      }
    }
  }

  bool NakedPair(const List& l, int x) {
    const unsigned pair = cells[x];
    const unsigned rest = pair & (pair - 1);
    if (rest == 0 || (rest & (rest - 1)) != 0) return true;  // not two digits
    const int a = Lowest(pair), b = Lowest(rest);
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

  void HiddenPair(int placesList, const List& l, int x) {
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

int TechniqueFamily(int technique) {
  return technique >= 0 && technique < 16 ? kTechniques[technique].family : -1;
}

int TechniqueHouse(int technique) {
  return technique >= 0 && technique < 16 ? kTechniques[technique].house : -1;
}

int FamilyLevel(int family) {
  switch (family) {
    case kFamilyValueElimination:
    case kFamilyHiddenSingle:
      return 1;
    case kFamilyPointing:
    case kFamilyClaiming:
      return 2;
    default:
      return 3;
  }
}

const char* FamilyName(int family) {
  static const char* const kNames[kFamilyCount] = {"value elimination", "hidden single", "pointing",
                                                   "claiming",          "naked pair",    "hidden pair"};
  return family >= 0 && family < kFamilyCount ? kNames[family] : "";
}

void Explain(const int values[81], int level, Explanation* out) {
  Explainer(out, level).Run(values);
}

void HouseCells(int house, int index, int (&cells)[9]) {
  for (int k = 0; k < 9; ++k) {
    cells[k] = house == kHouseRow      ? index * 9 + k
               : house == kHouseColumn ? k * 9 + index
                                       : (index / 3 * 3 + k / 3) * 9 + index % 3 * 3 + k % 3;
  }
}

int PlacementCitations(const Explanation& e, int step, int cell, ExplainCitation (&out)[8]) {
  if (step < 0 || step >= e.stepCount || cell < 0 || cell >= 81) return 0;
  const ExplainStep& s = e.steps[step];
  unsigned placed = 0;
  for (int k = 0; k < s.changeCount; ++k) {
    if (s.changes[k].cell == cell) placed = s.changes[k].after;
  }
  if (!Single(placed)) return 0;
  // The cells whose removals count, and the digits.
  bool watched[81] = {};
  unsigned wanted = 0x3FE;
  if (s.family == kFamilyHiddenSingle) {
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
    if (FamilyLevel(t.family) < 2) continue;
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

// The solution of the givens when level 3 completes them.
bool SolveGivens(const int values[81], const bool given[81], int solution[81]) {
  SolverGrid grid;
  grid.Reset();
  for (int x = 0; x < 81; ++x) {
    if (given[x] && values[x] >= 1 && values[x] <= 9) grid.SetValue(x / 9, x % 9, values[x]);
  }
  bool solved = grid.Solve(3);
  for (int x = 0; x < 81 && solved; ++x) {
    solved = grid.IsSolved(x / 9, x % 9);
    solution[x] = grid.GetValue(x / 9, x % 9);
  }
  return solved;
}

bool HasDigit(const int values[81], int x) { return values[x] >= 1 && values[x] <= 9; }

// The first cell of x's row, column or box, in that order, that holds x's
// digit, with the kind of house; -1 when none does.
int ClashOf(const int values[81], int x, int* house) {
  if (!HasDigit(values, x)) return kNone;
  for (int kind = kRowPeers; kind <= kBoxPeers; ++kind) {
    const List l = MakeList(kind, x);
    for (int k = 0; k < l.length; ++k) {
      if (values[l.cells[k]] == values[x]) {
        *house = kind == kRowPeers ? kHouseRow : kind == kColumnPeers ? kHouseColumn : kHouseBox;
        return l.cells[k];
      }
    }
  }
  return kNone;
}

// The first player's value that clashes, else the first given that does.
bool FindClash(const int values[81], const bool given[81], Hint* hint) {
  for (int pass = 0; pass < 2; ++pass) {
    for (int x = 0; x < 81; ++x) {
      if (pass == 0 && given[x]) continue;
      int house = 0;
      const int other = ClashOf(values, x, &house);
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
      if (!Single(c.after) || Single(c.before)) continue;
      hint->kind = kHintDecided;
      hint->row = c.cell / 9;
      hint->col = c.cell % 9;
      hint->digit = Lowest(c.after);
      hint->family = s.family;
      hint->house = s.house;
      if (s.neededLevel > FamilyLevel(s.family)) {
        const ExplainStep& needed = e.steps[s.neededStep];
        hint->neededFamily = needed.family;
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
  if (SolveGivens(values, given, solution)) {
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
  // The first cell a solve of all values decides; a solve that ends in a
  // contradiction proves nothing the player can use.
  std::unique_ptr<Explanation> e(new Explanation);
  Explain(values, 3, e.get());
  if (e->solveResult && FirstDecided(*e, &hint)) return hint;
  for (int x = 0; x < 81; ++x) {
    if (!HasDigit(values, x)) hint.kind = kHintNoLogic;
  }
  return hint;
}
