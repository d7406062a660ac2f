// Explanations: the solve replayed one cell step at a time, the same
// techniques in the same order and the same passes as SolverGrid::Solve,
// recording every step that changed a cell, what each step relied on, and
// the first cell a solve decides for the game's hint. A separate, literal
// rendering: the fast solve has no hook for it and pays nothing for it.
#pragma once

#include <cstdint>

#include "solver/patterns.h"
#include "solver/techniques.h"

enum ExplainVerdict : int {
  kExplainComplete,       // no contradiction, every cell solved
  kExplainIncomplete,     // no contradiction, cells left with several digits
  kExplainContradiction,  // the solve returned false
};

// One cell a step changed: its digits (bits 1..9) before and after.
struct ExplainChange {
  uint8_t cell;  // row * 9 + col
  uint16_t before;
  uint16_t after;
};

// One cell step that changed something.
struct ExplainStep {
  uint16_t pass;           // counting from 0
  uint8_t technique;       // Technique: its row of kTechniqueTable
  uint8_t cell;            // the visited cell
  DeductionFamily family;  // the technique's family
  uint8_t house;           // HouseKind of the house it looked at; kAnyHouse
                           // for a pattern that has no one house
  uint8_t houseIndex;  // 0..8; boxes left to right, then top to bottom
  // The digits (bits 1..9) the step is about: the digits that pointed or
  // claimed, the two digits of a naked or hidden pair, the digit a hidden
  // single placed, the digits value elimination removed.
  uint16_t digits;
  // Naked and hidden pair: the pair's other cell; 255 otherwise.
  uint8_t partner;
  // The highest level among this step and, transitively, the steps whose
  // removals and placements it relied on; neededFamily is a family of that
  // level and neededStep the step of that family it came from (this step's
  // own index when its own level is the highest).
  uint8_t neededLevel;
  DeductionFamily neededFamily;
  int16_t neededStep;
  // Patterns (levels 4 to 6): the index of the pattern's description in
  // Explanation::patterns; -1 for the per-cell techniques.
  int16_t pattern;
  uint8_t changeCount;
  ExplainChange changes[kMaxPatternCells];  // in the order the step made them
};

// Every recorded step removes at least one of at most 729 - 81 candidates.
constexpr int kMaxExplainSteps = 729;
constexpr int kMaxExplainPatterns = 729 - 81;

struct Explanation {
  int level = kHighestPlayLevel;
  uint16_t start[81] = {};  // the digits of every cell as loaded
  uint16_t cells[81] = {};  // and as the solve left them
  bool solveResult = true;  // what SolverGrid::Solve returns
  ExplainVerdict verdict = kExplainIncomplete;
  int passes = 0;  // passes begun
  // Where the contradiction showed: the technique (a Technique) and visited
  // cell of the refused removal, or technique -1 for the consistency check
  // with the first cell (row-major) whose digit a house holds twice; cell -1
  // after kPassLimit passes.
  int contradictionTechnique = -1;
  int contradictionCell = -1;
  // What clashed. After the consistency check: clashWith is the first cell
  // of contradictionCell's row, column or box (in that order) that holds
  // the same digit, clashDigit. After a refused removal: clashCell would be
  // left with no digit, clashDigit being its last one, and for value
  // elimination clashWith is the solved cell of the house holding it.
  // -1 and 0 where they do not apply.
  int clashCell = -1;
  int clashWith = -1;
  int clashDigit = 0;
  // After a refused removal: the step that asked for it, as far as it went
  // (recorded in steps too when it had changed a cell before).
  ExplainStep clashStep = {};
  int stepCount = 0;
  ExplainStep steps[kMaxExplainSteps];
  int patternCount = 0;
  PatternStep patterns[kMaxExplainPatterns];
};

// The step that met the contradiction, when it had changed cells before
// (and so was recorded too): its index in steps, else -1. Its changes are
// the clash, not placements.
int ClashStepIndex(const Explanation& e);

// The pattern a step applied, or null for a per-cell technique.
const PatternStep* StepPattern(const Explanation& e, const ExplainStep& s);

// The highest level among the explanation's steps above level 3, or 0 when
// it took none or left the grid open. For a puzzle that levels 1 to 3 leave
// open, an explanation at level 6 that completes it gives its level: a
// solve at level L >= 4 takes the very steps of a solve at level 4 <= K < L
// until K is stuck. (Below that the level-3 passes take pairs wherever
// they remove something, so a puzzle completed without patterns has its
// level from the level-1-to-3 grade instead.)
int ExplainedLevel(const Explanation& e);

// Loads values[81] (row-major, 0 for an empty cell, 1..9 a known digit,
// anything else empty) and solves at `level` as SolverGrid::Solve does,
// filling *out. Levels below 2 act as 1, above 6 as 6. Allocates nothing.
void Explain(const int values[81], int level, Explanation* out);

// A step of level 2 or above that a placement relied on directly, with the
// removals it relied on: `digits` taken from `cells`.
struct ExplainCitation {
  int step;  // index into Explanation::steps
  uint16_t digits;
  uint8_t cellCount;
  uint8_t cells[8];  // in the order the step changed them
};

// The citations of the placement of `cell` (which step `step` left with one
// digit), oldest first, into out; returns their number. For a placement by
// elimination: every step of level 2 or above before it that took a
// candidate of the cell (patterns included). For a hidden single: every such step that took the placed
// digit from another cell of the house. A cell has eight other candidates
// and a house eight other cells, so eight always suffice. Returns 0 for a
// step or cell out of range.
int PlacementCitations(const Explanation& e, int step, int cell, ExplainCitation (&out)[8]);

// The cells of house `index` (0..8) of kind `house` (a HouseKind), row-major.
void HouseCells(int house, int index, int (&cells)[9]);

// What the game's hint tells the player.
enum HintKind : int {
  kHintWrongValue,  // a player's value differs from the solution
  kHintDecided,     // the solve decides this cell next
  kHintNothing,     // every cell filled, and nothing to point at
  kHintClash,       // two values or givens of one house are the same digit
  kHintNoLogic,     // no clash, but logic decides no cell from here
  kHintSeveralSolutions,  // the givens have more than one solution
};

struct Hint {
  HintKind kind = kHintNothing;
  int row = -1;  // 0..8; -1 when no cell is named
  int col = -1;
  int digit = 0;  // the wrong, decided or clashing digit
  // For kHintDecided: the deciding step's family (DeductionFamily) and
  // house kind (HouseKind), and the family of a higher level that was
  // needed before it, or -1, with the house kind, the house (0..8) and the
  // digits (bits) of that step.
  int family = -1;
  int house = -1;
  int neededFamily = -1;
  int neededHouse = -1;
  int neededHouseIndex = -1;
  unsigned neededDigits = 0;
  // For kHintClash: the other cell and the HouseKind they share (row, else
  // column, else box).
  int otherRow = -1;
  int otherCol = -1;
  int clashHouse = -1;
};

// values[81] as for Explain; given[81] marks the puzzle's givens. In order:
// when the givens have exactly one solution (level 3 completes them, else a
// search finds it), the first player's value (row-major) that differs from
// it; otherwise a clash: the first player's value (row-major) that a house
// holds twice, else the first such given, with the first cell it clashes
// with; otherwise, when the givens have several solutions,
// kHintSeveralSolutions; otherwise the first cell a
// level-3 solve of all values decides, else the first that a level-6 solve
// decides (naming the technique above level 3 it needed first), unless the
// solve meets a contradiction; otherwise kHintNoLogic when a cell is empty,
// kHintNothing when none is. Allocates one Explanation while it runs (a
// command's worth, never per move).
Hint FindHint(const int values[81], const bool given[81]);
