// The deduction techniques: the one table that says what each is (family,
// house, lists, level), the pass limit, and the per-cell steps themselves,
// written once over a cell store so that the same steps run on the grid's
// candidate sets and, inside SolverGrid::Solve, on a compact bit-mask copy.
//
// THE LADDER, in table order (the order every solve tries them):
//   level 1  value elimination (row, column, box), hidden single (row,
//            column, box)
//   level 2  pointing (row, column), claiming (row, column)
//   level 3  naked pair (row, column, box), hidden pair (row, column, box)
//   level 4  naked triple, hidden triple, X-wing, skyscraper, two-string
//            kite, XY-wing, XYZ-wing, W-wing, naked quad, hidden quad,
//            swordfish, jellyfish
//   level 5  X-chain, XY-chain, nice loop (alternating inference chain),
//            each of at most kMaxChainNodes nodes
//   level 6  trial and error: a digit whose placement leaves no solution
//            (solver/search.h) is removed; on a puzzle with one solution
//            this always removes something, so level 6 completes it
// Levels 1 to 3 are sixteen per-cell techniques run in passes (below).
// Levels 4 to 6 are patterns over the whole grid (patterns.h), one row and
// one family each, their house kAnyHouse: a solve at level 4 or above runs
// the level-3 passes to their end exactly as a level-3 solve does, then
// applies the first pattern of its admitted ones that removes something,
// once, and runs the passes again, until the grid is complete, no pattern
// applies or a contradiction shows. So levels 1 to 3 are untouched by the
// patterns, and a solve at level L takes the very steps of a solve at a
// lower level K >= 3 until K is stuck. No technique assumes that the
// solution is unique. The generator, the stock, the records and the
// settings know levels 1 to 3 (kHighestPlayLevel); IncrementalGrid
// declines the higher levels and SolveSingles is level 1 alone.
//
// FOUR SOLVERS. Each exists for a reason, and a test holds each to Solve.
// Times are thread CPU time, medians of three runs of kubri-bench (bench/) on
// a shared two-core machine; a gain compares the same build with the solver
// switched off, every solve it would have vouched for then made by Solve.
//
//   Solve (SolverGrid::Solve, solver_grid.h): the reference. Passes of the
//     admitted techniques in the table's order until the grid is complete,
//     a pass changes nothing or a contradiction shows; the SolverGrid
//     technique members run the steps below on the sets, the pass loop runs
//     the same templates on one 16-bit word per cell. Everything else is
//     defined by what Solve gives: 7.5, 12 and 24 us per puzzle of levels 1,
//     2 and 3 (BM_SolveAtLevel, load and write-back included).
//     Held by solver_reference_test (a slow, literal rendering of every step
//     on thousands of grids) and by the recorded generator output.
//   Explain (explain.h): the same passes replayed one cell step at a time,
//     recording every step that changed a cell and what it relied on, for
//     the tool's explanations and the game's hint. It exists so that Solve
//     carries no hook for it: Explain takes about ten times as long as Solve
//     on the same puzzles (timed apart; no benchmark covers it), and runs
//     once per command, never in generation or grading.
//     Held by explain_test (same candidates and verdict as Solve).
//   IncrementalGrid (incremental_grid.h): a grid kept at the fixpoint of a
//     level and narrowed one digit at a time, re-checking only the houses and
//     digits a change touched. The generator keeps its solves from one pass
//     to the next with it, and grading goes on from one level to the next.
//     Gain: a new puzzle (BM_Generate, median over the seeds) takes 0.035,
//     2.4 and 5.5 ms at levels 1, 2 and 3 against 0.23, 13 and 56 ms
//     without it (7, 5.5 and 10 times faster); grading takes 8.9 us a
//     puzzle against 20 (BM_GradePuzzle).
//     Held by incremental_grid_test and generation_chain_test (every
//     incremental solve of whole generation chains against Solve).
//   SolveSingles (singles.h): level 1 from a board's digits on one bit board
//     per digit, the first step of grading and of the generator's check that
//     a puzzle is too hard for the level below.
//     Gain: grading takes 8.9 us a puzzle against 10.7 without it;
//     generation is the same within the runs' spread (level 3: 5.5 ms
//     against 5.9).
//     Held by singles_test (thousands of random digit sets against Solve).
//
// ADDING A TECHNIQUE. Add its row to kTechniqueTable (levels never fall
// along the table) and its step here, or for levels 4 and up, its finder to
// patterns.cpp and its explanation to the tool's text. For IncrementalGrid and SolveSingles to
// stay exact, the technique must keep this rule: every removal it makes from
// a state, it also makes from every narrower state (one whose every cell
// holds a subset of the digits it held). Then the outcome of a solve that
// meets no contradiction is the one fixpoint of the admitted techniques,
// whatever the order of the work, and a grid kept at that fixpoint and given
// one more digit reaches what a solve from scratch reaches. The incremental
// grid must also learn which changes wake the new technique (see
// IncrementalGrid::Work), or decline the level; SolveSingles knows level 1
// alone, so a new level-1 technique goes into it as well. Explain renders
// every step literally and needs the new step too.
#pragma once

#include <cstdint>

#include "solver/bits.h"
#include "solver/digit_set.h"
#include "solver/houses.h"

// The six families of techniques; the members of a family differ only in
// the house they look at.
enum class DeductionFamily : uint8_t {
  kValueElimination,  // a solved peer's digit leaves the cell
  kHiddenSingle,      // a digit with one place left in a house goes there
  kPointing,          // a digit confined within a box to one line leaves the rest of the line
  kClaiming,          // a digit confined within a line to one box leaves the rest of the box
  kNakedPair,         // two cells holding the same two digits take them from their house
  kHiddenPair,        // two digits confined to the same two cells become their only digits
  // Levels 4 to 6: one family per technique, each looking at the whole grid
  // (its row's house is kAnyHouse); patterns.h finds and describes them.
  kNakedTriple,    // three cells of a house holding three digits between them
  kHiddenTriple,   // three digits of a house confined to the same three cells
  kXWing,          // a digit in two rows confined to two columns, or the reverse
  kSkyscraper,     // two parallel strong links of a digit joined at one end
  kTwoStringKite,  // a row's and a column's strong link of a digit joined in a box
  kXYWing,         // a pivot {a,b} seeing pincers {a,c} and {b,c}
  kXYZWing,        // a pivot {a,b,c} seeing pincers {a,c} and {b,c}
  kWWing,          // two cells {a,b} joined by a strong link on b
  kNakedQuad,      // four cells of a house holding four digits between them
  kHiddenQuad,     // four digits of a house confined to the same four cells
  kSwordfish,      // a digit in three rows confined to three columns, or the reverse
  kJellyfish,      // a digit in four rows confined to four columns, or the reverse
  kXChain,         // one digit's chain of strong and weak links
  kXYChain,        // a chain of two-digit cells
  kNiceLoop,       // an alternating inference chain over cells and houses
  kTrialAndError,  // a digit whose placement leaves no solution at all
};
constexpr int kDeductionFamilyCount = 22;
static_assert(int(DeductionFamily::kTrialAndError) + 1 == kDeductionFamilyCount, "the count follows the families");

// The techniques, numbered in the fixed order of every pass.
enum Technique : int {
  kEliminateRowValues,
  kEliminateColumnValues,
  kEliminateBoxValues,
  kHiddenSingleInRow,
  kHiddenSingleInColumn,
  kHiddenSingleInBox,
  kPointingInRow,
  kPointingInColumn,
  kClaimingInRow,
  kClaimingInColumn,
  kNakedPairInRow,
  kNakedPairInColumn,
  kNakedPairInBox,
  kHiddenPairInRow,
  kHiddenPairInColumn,
  kHiddenPairInBox,
  kNakedTriple,
  kHiddenTriple,
  kXWing,
  kSkyscraper,
  kTwoStringKite,
  kXYWing,
  kXYZWing,
  kWWing,
  kNakedQuad,
  kHiddenQuad,
  kSwordfish,
  kJellyfish,
  kXChain,
  kXYChain,
  kNiceLoop,
  kTrialAndError,
  kTechniqueCount
};

// The first technique above level 3: every row from here on looks at the
// whole grid and is one family of its own.
constexpr int kFirstPatternTechnique = kNakedTriple;

// The house of a pattern row: it looks at every house there is.
constexpr HouseKind kAnyHouse = kHouseKinds;

struct TechniqueInfo {
  DeductionFamily family;
  HouseKind house;   // the house a step of it looks at
  ListKind walked;   // the list walked; for pointing and claiming, the list
                     // that must not hold the digit
  ListKind cleared;  // pointing and claiming: the list cleared of the digit
                     // (the walked list for every other family)
  int level;         // the lowest level that admits it
};

// One row per technique, in pass order.
inline constexpr TechniqueInfo kTechniqueTable[] = {
    {DeductionFamily::kValueElimination, kRow, kRowPeers, kRowPeers, 1},
    {DeductionFamily::kValueElimination, kColumn, kColumnPeers, kColumnPeers, 1},
    {DeductionFamily::kValueElimination, kBox, kBoxPeers, kBoxPeers, 1},
    {DeductionFamily::kHiddenSingle, kRow, kRowPeers, kRowPeers, 1},
    {DeductionFamily::kHiddenSingle, kColumn, kColumnPeers, kColumnPeers, 1},
    {DeductionFamily::kHiddenSingle, kBox, kBoxPeers, kBoxPeers, 1},
    {DeductionFamily::kPointing, kBox, kBoxOutsideRow, kRowOutsideBox, 2},
    {DeductionFamily::kPointing, kBox, kBoxOutsideColumn, kColumnOutsideBox, 2},
    {DeductionFamily::kClaiming, kRow, kRowOutsideBox, kBoxOutsideRow, 2},
    {DeductionFamily::kClaiming, kColumn, kColumnOutsideBox, kBoxOutsideColumn, 2},
    {DeductionFamily::kNakedPair, kRow, kRowPeers, kRowPeers, 3},
    {DeductionFamily::kNakedPair, kColumn, kColumnPeers, kColumnPeers, 3},
    {DeductionFamily::kNakedPair, kBox, kBoxPeers, kBoxPeers, 3},
    {DeductionFamily::kHiddenPair, kRow, kRowPeers, kRowPeers, 3},
    {DeductionFamily::kHiddenPair, kColumn, kColumnPeers, kColumnPeers, 3},
    {DeductionFamily::kHiddenPair, kBox, kBoxPeers, kBoxPeers, 3},
    {DeductionFamily::kNakedTriple, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kHiddenTriple, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kXWing, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kSkyscraper, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kTwoStringKite, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kXYWing, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kXYZWing, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kWWing, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kNakedQuad, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kHiddenQuad, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kSwordfish, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kJellyfish, kAnyHouse, kRowPeers, kRowPeers, 4},
    {DeductionFamily::kXChain, kAnyHouse, kRowPeers, kRowPeers, 5},
    {DeductionFamily::kXYChain, kAnyHouse, kRowPeers, kRowPeers, 5},
    {DeductionFamily::kNiceLoop, kAnyHouse, kRowPeers, kRowPeers, 5},
    {DeductionFamily::kTrialAndError, kAnyHouse, kRowPeers, kRowPeers, 6},
};
static_assert(sizeof kTechniqueTable / sizeof kTechniqueTable[0] == kTechniqueCount, "one row per technique");

// A solve gives up (with a contradiction) after this many passes. Every pass
// that goes on removes a candidate, so a solve ends within 649 passes: the
// limit is a guard that never decides a verdict.
constexpr int kPassLimit = 10000;

// The levels compared: below 2 acts as 1, above the solver's highest level
// as that level. Play and generation stop at level 3 (kHighestPlayLevel):
// the generator, the stock, the records and the settings know levels 1 to 3
// alone; the solver goes on to level 6 (kHighestSolverLevel).
constexpr int kLowestLevel = 1;
constexpr int kHighestPlayLevel = 3;
constexpr int kHighestSolverLevel = 6;
// How many levels puzzles are made, stocked and recorded at. Whatever is
// kept per play level holds level L at index L - kLowestLevel.
constexpr int kPlayLevelCount = kHighestPlayLevel - kLowestLevel + 1;

// Whether puzzles are made, stocked and recorded at `level`.
constexpr bool IsPlayLevel(int level) { return level >= kLowestLevel && level <= kHighestPlayLevel; }

// The level that admits the family (that of its first technique).
constexpr int FamilyLevel(DeductionFamily family) {
  for (const TechniqueInfo& info : kTechniqueTable) {
    if (info.family == family) return info.level;
  }
  return kHighestSolverLevel;
}

// "value elimination", "hidden single", "pointing", "claiming",
// "naked pair", "hidden pair", "naked triple", ... "trial and error".
constexpr const char* FamilyName(DeductionFamily family) {
  constexpr const char* kNames[] = {
      "value elimination", "hidden single", "pointing",  "claiming",     "naked pair",
      "hidden pair",       "naked triple",  "hidden triple", "X-wing",    "skyscraper",
      "two-string kite",   "XY-wing",       "XYZ-wing",  "W-wing",        "naked quad",
      "hidden quad",       "swordfish",     "jellyfish", "X-chain",       "XY-chain",
      "nice loop",         "trial and error"};
  static_assert(sizeof kNames / sizeof kNames[0] == kDeductionFamilyCount, "one name per family");
  return kNames[int(family)];
}

// The level a solve at `level` runs: 1 to kHighestSolverLevel.
constexpr int ClampLevel(int level) {
  return level < kLowestLevel ? kLowestLevel : level > kHighestSolverLevel ? kHighestSolverLevel : level;
}

// How many techniques, from the start of the table, a level admits.
constexpr int AdmittedTechniques(int level) {
  const int clamped = ClampLevel(level);
  int admitted = 0;
  while (admitted < kTechniqueCount && kTechniqueTable[admitted].level <= clamped) ++admitted;
  return admitted;
}

namespace solver_detail {

constexpr bool LevelsNeverFall() {
  for (int t = 1; t < kTechniqueCount; ++t) {
    if (kTechniqueTable[t].level < kTechniqueTable[t - 1].level) return false;
  }
  return true;
}
static_assert(LevelsNeverFall(), "a level admits a prefix of the table");
static_assert(AdmittedTechniques(kHighestSolverLevel) == kTechniqueCount,
              "the highest level admits every technique");
static_assert(AdmittedTechniques(kHighestPlayLevel) == kFirstPatternTechnique,
              "levels 1 to 3 run the per-cell steps alone");

constexpr bool OneFamilyPerPattern() {
  for (int t = kFirstPatternTechnique; t < kTechniqueCount; ++t) {
    if (int(kTechniqueTable[t].family) != t - kFirstPatternTechnique + int(DeductionFamily::kNakedTriple)) return false;
    if (kTechniqueTable[t].house != kAnyHouse) return false;
  }
  return int(DeductionFamily::kTrialAndError) + 1 == kDeductionFamilyCount;
}
static_assert(OneFamilyPerPattern(), "a pattern row is a family of its own, in the same order");

// The grid's own sets.
struct SetStore {
  DigitSet* cells;
  unsigned Bits(int x) const { return cells[x].Mask(); }
  bool Single(int x) const { return cells[x].IsSingle(); }
  int First(int x) const { return cells[x].Get(0); }
  bool Remove(int x, int d) { return cells[x].Remove(d); }
  void SetSingle(int x, int d) { cells[x].SetSingle(d); }
  void SetPair(int x, int a, int b) { cells[x].SetPair(a, b); }
};

// Bits 1..9 of a 16-bit word per cell; never zero, like a set.
struct MaskStore {
  uint16_t* cells;
  int changes = 0;  // every change made through the store
  unsigned Bits(int x) const { return cells[x]; }
  bool Single(int x) const { return AtMostOneBit(cells[x]); }
  int First(int x) const { return LowestBit(cells[x]); }
  bool Remove(int x, int d) {
    const unsigned bit = 1u << d;
    if (!(cells[x] & bit)) return true;
    if (Single(x)) return false;
    cells[x] = uint16_t(cells[x] & ~bit);
    ++changes;
    return true;
  }
  void SetSingle(int x, int d) {
    changes += cells[x] != (1u << d);
    cells[x] = uint16_t(1u << d);
  }
  void SetPair(int x, int a, int b) {
    const uint16_t pair = uint16_t((1u << a) | (1u << b));
    changes += cells[x] != pair;
    cells[x] = pair;
  }
};

template <class Store>
bool IsConsistentIn(const Store& s) {
  unsigned solved[81];
  for (int x = 0; x < 81; ++x) solved[x] = s.Single(x) ? s.Bits(x) : 0;
  unsigned clash = 0;
  for (int kind = kRow; kind < kHouseKinds; ++kind) {
    for (int h = 0; h < 9; ++h) {
      unsigned seen = 0;
      for (int p = 0; p < 9; ++p) {
        const unsigned m = solved[kUnits.cells[kind][h][p]];
        clash |= seen & m;
        seen |= m;
      }
    }
  }
  return clash == 0;
}

// The digits placed in every house, kept from pass to pass so that the
// consistency check at the start of a pass looks only at the cells solved
// since the last one. Solved cells never change, so this gives the same
// answer as checking every house afresh.
struct PlacedDigits {
  unsigned house[kHouseKinds][9] = {};

  // Gathers every solved cell; false when two share a house and a digit.
  template <class Store>
  bool AddAll(const Store& s) {
    bool consistent = true;
    for (int x = 0; x < 81; ++x) {
      if (s.Single(x)) consistent = Add(s, x) && consistent;
    }
    return consistent;
  }

  // Adds solved cell x; false when its digit is already placed in one of
  // its houses.
  template <class Store>
  bool Add(const Store& s, int x) {
    const unsigned bit = s.Bits(x);
    bool clash = false;
    for (int kind = kRow; kind < kHouseKinds; ++kind) {
      unsigned& placed = house[kind][kUnits.house[kind][x]];
      clash = clash || (placed & bit);
      placed |= bit;
    }
    return !clash;
  }
};

// The cells to visit: every cell that was unsolved when the pass (or the
// technique) began, in row-major order. A solved cell never changes again, so
// the cells left out are exactly those whose step would do nothing.
struct OpenCells {
  uint8_t cells[81];
  int count = 0;

  template <class Store>
  void Gather(const Store& s) {
    count = 0;
    for (int x = 0; x < 81; ++x) {
      if (!s.Single(x)) cells[count++] = uint8_t(x);
    }
  }
};

// Value elimination: every solved peer's digit leaves the cell. The walk
// goes on once the cell is down to one digit, so a further peer with that
// digit is a refused removal.
template <class Store>
bool EliminateValuesIn(Store& s, const OpenCells& open, int kind, PlacedDigits& placed) {
  const int length = HouseLength(kind);
  // `placed` holds the digits placed in every house. A cell's step changes
  // only that cell, so its solved peers are the solved cells of its house;
  // a cell that ends its step solved joins its three houses at once.
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    if (s.Single(x)) continue;
    const unsigned inHouse = placed.house[kind][kUnits.house[kind][x]];
    const unsigned bits = s.Bits(x);
    if (!(bits & inHouse)) continue;
    if (bits & ~inHouse) {
      // Removing every placed digit leaves what the walk would leave.
      for (unsigned gone = bits & inHouse; gone; gone &= gone - 1) s.Remove(x, LowestBit(gone));
    } else {
      // Nothing would be left: the walk meets a refused removal. Replay it
      // step by step for the exact state it stops in.
      const uint8_t* list = kHouses.lists[kind][x];
      for (int k = 0; k < length; ++k) {
        const int y = list[k];
        if (s.Single(y) && !s.Remove(x, s.First(y))) return false;
      }
    }
    if (s.Single(x)) placed.Add(s, x);
  }
  return true;
}

// Hidden single: the smallest candidate that no peer holds is placed. A
// house holds the digits of its cells solved before the pass (`fixed`) and
// of its open cells: those visited before the cell as they are now, those
// after it as they were when the technique began (only the visited cell
// changes in a step).
template <class Store>
bool HiddenSingleIn(Store& s, const OpenCells& open, int kind, const PlacedDigits& fixed) {
  unsigned after[81];
  unsigned gathered[9] = {};
  for (int i = open.count - 1; i >= 0; --i) {
    const int x = open.cells[i];
    const int h = kUnits.house[kind][x];
    after[i] = gathered[h];
    gathered[h] |= s.Bits(x);
  }
  unsigned before[9] = {};
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    const int h = kUnits.house[kind][x];
    if (!s.Single(x)) {
      const unsigned held = fixed.house[kind][h] | before[h] | after[i];
      const unsigned alone = s.Bits(x) & ~held;
      if (alone) s.SetSingle(x, LowestBit(alone));
    }
    before[h] |= s.Bits(x);
  }
  return true;
}

// Pointing and claiming: each candidate that no cell of `mustLack` holds is
// removed from the unsolved cells of `clear`. The two lists are disjoint and
// neither holds the visited cell, so what `mustLack` holds stays fixed while
// one cell is handled.
template <class Store>
bool ConfineIn(Store& s, const OpenCells& open, int mustLack, int clear) {
  const int clearLength = HouseLength(clear);
  // Both lists are two segments of one kind: row segments for the row
  // members, column segments for the column members (the checked list and
  // the cleared list alike). What each segment
  // holds is gathered once and gathered again when a removal touches it.
  const bool rows = mustLack == kRowOutsideBox || mustLack == kBoxOutsideRow;
  const uint8_t(*segmentCells)[3] = rows ? kSegments.rowCells : kSegments.columnCells;
  const uint8_t* segmentOf = rows ? kSegments.rowOf : kSegments.columnOf;
  unsigned held[27];
  for (int g = 0; g < 27; ++g) {
    held[g] = s.Bits(segmentCells[g][0]) | s.Bits(segmentCells[g][1]) | s.Bits(segmentCells[g][2]);
  }
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    if (s.Single(x)) continue;
    const uint8_t* lack = kSegments.of[mustLack][x];
    const uint8_t* reach = kSegments.of[clear][x];
    const uint8_t* target = kHouses.lists[clear][x];
    // Confined digits that the cleared list does not hold leave nothing to
    // remove there; only the others are walked.
    unsigned confined = s.Bits(x) & ~(held[lack[0]] | held[lack[1]]) &
                        (held[reach[0]] | held[reach[1]]);
    for (; confined; confined &= confined - 1) {
      const int d = LowestBit(confined);
      for (int k = 0; k < clearLength; ++k) {
        const int y = target[k];
        if (s.Single(y) || !(s.Bits(y) & (1u << d))) continue;
        if (!s.Remove(y, d)) return false;
        const int g = segmentOf[y];
        held[g] = s.Bits(segmentCells[g][0]) | s.Bits(segmentCells[g][1]) | s.Bits(segmentCells[g][2]);
      }
    }
  }
  return true;
}

// Naked pair: a cell {a, b} and its first partner {a, b} in the list take a
// and b from every other cell of the list, solved ones included.
template <class Store>
bool NakedPairIn(Store& s, const OpenCells& open, int kind) {
  const int length = HouseLength(kind);
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    if (s.Single(x)) continue;
    const unsigned bits = s.Bits(x);
    if (!TwoBits(bits)) continue;
    const int a = LowestBit(bits);
    const int b = LowestBit(WithoutLowestBit(bits));
    const uint8_t* list = kHouses.lists[kind][x];
    int partner = -1;
    for (int k = 0; k < length; ++k) {
      if (s.Bits(list[k]) == bits) {
        partner = k;
        break;
      }
    }
    if (partner < 0) continue;
    for (int k = 0; k < length; ++k) {
      if (k == partner) continue;
      const int y = list[k];
      if (!s.Remove(y, a) || !s.Remove(y, b)) return false;
    }
  }
  return true;
}

// Hidden pair: the first two candidates d1 < d2 of the cell that are placed
// nowhere in the house and open in exactly one other cell, the same one,
// become the cell's only candidates.
template <class Store>
bool HiddenPairIn(Store& s, const OpenCells& open, int kind) {
  const int length = HouseLength(kind);
  // Per house, the digits placed nowhere in it and open in exactly two of
  // its cells: the digits whose place count is 2, the same for every cell
  // of the house. Counted bit-parallel (once, twice, three times or more)
  // and counted again for a house whose cell was reduced.
  unsigned two[9];
  auto count = [&](int h) {
    unsigned once = 0, twice = 0, more = 0, placed = 0;
    for (int p = 0; p < 9; ++p) {
      const int y = kUnits.cells[kind][h][p];
      const unsigned m = s.Bits(y);
      if (s.Single(y)) {
        placed |= m;
      } else {
        more |= twice & m;
        twice |= once & m;
        once |= m;
      }
    }
    two[h] = twice & ~more & ~placed;
  };
  for (int h = 0; h < 9; ++h) count(h);
  for (int i = 0; i < open.count; ++i) {
    const int x = open.cells[i];
    if (s.Single(x)) continue;
    const int h = kUnits.house[kind][x];
    const unsigned bits = s.Bits(x);
    const unsigned candidates = bits & two[h];
    if (AtMostOneBit(candidates)) continue;  // a pair needs two such digits
    const uint8_t* list = kHouses.lists[kind][x];
    bool done = false;
    for (unsigned first = candidates; first && !done; first &= first - 1) {
      const int d1 = LowestBit(first);
      const unsigned later = candidates & ~((2u << d1) - 1);
      // The one other cell where d1 is open (it is placed nowhere).
      for (int k = 0; k < length; ++k) {
        const unsigned m = s.Bits(list[k]);
        if (!(m & (1u << d1))) continue;
        const unsigned match = later & m;
        if (match) {
          s.SetPair(x, d1, LowestBit(match));
          count(h);
          done = true;
        }
        break;
      }
    }
  }
  return true;
}

// Runs technique t (0..kTechniqueCount - 1) on the store's open cells, as
// the table describes it. `fixed` holds the digits placed in every house
// before the technique (hidden singles read it); `working` starts as a copy
// of it, and value elimination adds the cells it leaves solved.
template <class Store>
bool RunTechnique(int t, Store& s, const OpenCells& open, const PlacedDigits& fixed, PlacedDigits& working) {
  const TechniqueInfo& info = kTechniqueTable[t];
  switch (info.family) {
    case DeductionFamily::kValueElimination:
      return EliminateValuesIn(s, open, info.walked, working);
    case DeductionFamily::kHiddenSingle:
      return HiddenSingleIn(s, open, info.walked, fixed);
    case DeductionFamily::kPointing:
    case DeductionFamily::kClaiming:
      return ConfineIn(s, open, info.walked, info.cleared);
    case DeductionFamily::kNakedPair:
      return NakedPairIn(s, open, info.walked);
    case DeductionFamily::kHiddenPair:
      return HiddenPairIn(s, open, info.walked);
    default:  // the patterns above level 3 run apart (patterns.h)
      return true;
  }
}

}  // namespace solver_detail
