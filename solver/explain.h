// Explanations: the solve replayed one cell step at a time, the same
// techniques in the same order and the same passes as SolverGrid::Solve,
// recording every step that changed a cell, what each step relied on, and
// the first cell a solve decides for the game's hint. A separate, literal
// rendering: the fast solve has no hook for it and pays nothing for it.
#pragma once

#include <cstdint>

// The six technique families, in the order a pass first runs them.
enum ExplainFamily : int {
  kFamilyValueElimination,
  kFamilyHiddenSingle,
  kFamilyPointing,
  kFamilyClaiming,
  kFamilyNakedPair,
  kFamilyHiddenPair,
  kFamilyCount
};

// The kind of house a step looked at.
enum ExplainHouse : int { kHouseRow, kHouseColumn, kHouseBox };

enum ExplainVerdict : int {
  kExplainComplete,       // no contradiction, every cell solved
  kExplainIncomplete,     // no contradiction, cells left with several digits
  kExplainContradiction,  // the solve returned false
};

// The 16 techniques of a pass in their fixed order (0..15), and levels.
int TechniqueFamily(int technique);
int TechniqueHouse(int technique);
// 1, 2 or 3: the level that admits the family.
int FamilyLevel(int family);
// "value elimination", "hidden single", "pointing", "claiming",
// "naked pair", "hidden pair".
const char* FamilyName(int family);

// One cell a step changed: its digits (bits 1..9) before and after.
struct ExplainChange {
  uint8_t cell;  // row * 9 + col
  uint16_t before;
  uint16_t after;
};

// One cell step that changed something.
struct ExplainStep {
  uint16_t pass;       // counting from 0
  uint8_t technique;   // 0..15
  uint8_t cell;        // the visited cell
  uint8_t family;      // ExplainFamily
  uint8_t house;       // ExplainHouse of the house it looked at
  uint8_t houseIndex;  // 0..8; boxes left to right, then top to bottom
  // The highest level among this step and, transitively, the steps whose
  // removals and placements it relied on; neededFamily is a family of that
  // level (this step's own when its level is the highest).
  uint8_t neededLevel;
  uint8_t neededFamily;
  // Steps of level 2 or 3 it relied on directly (indexes into the steps,
  // up to four, oldest first).
  uint8_t supportCount;
  int16_t support[4];
  uint8_t changeCount;
  ExplainChange changes[8];  // in the order the step made them
};

// Every recorded step removes at least one of at most 729 - 81 candidates.
constexpr int kMaxExplainSteps = 729;

struct Explanation {
  int level = 3;
  uint16_t start[81] = {};  // the digits of every cell as loaded
  uint16_t cells[81] = {};  // and as the solve left them
  bool solveResult = true;  // what SolverGrid::Solve returns
  ExplainVerdict verdict = kExplainIncomplete;
  int passes = 0;  // passes begun
  // Where the contradiction showed: the technique (0..15) and visited cell
  // of the refused removal, or technique -1 for the consistency check with
  // the first cell (row-major) whose digit a house holds twice; cell -1
  // after 10000 passes.
  int contradictionTechnique = -1;
  int contradictionCell = -1;
  int stepCount = 0;
  ExplainStep steps[kMaxExplainSteps];
};

// Loads values[81] (row-major, 0 for an empty cell, 1..9 a known digit,
// anything else empty) and solves at `level` as SolverGrid::Solve does,
// filling *out. Levels below 2 act as 1, above 3 as 3. Allocates nothing.
void Explain(const int values[81], int level, Explanation* out);

// What the game's hint tells the player.
enum HintKind : int {
  kHintWrongValue,  // a player's value differs from the solution
  kHintDecided,     // the solve decides this cell next
  kHintNothing,
};

struct Hint {
  HintKind kind = kHintNothing;
  int row = -1;  // 0..8
  int col = -1;
  int digit = 0;  // the wrong value, or the decided digit
  // For kHintDecided: the deciding step's family and house kind, and the
  // family of a higher level that was needed before it, or -1.
  int family = -1;
  int house = -1;
  int neededFamily = -1;
};

// values[81] as for Explain; given[81] marks the puzzle's givens. In order:
// when level 3 completes the givens alone, the first player's value
// (row-major) that differs from that solution; otherwise the first cell a
// level-3 solve of all values decides, unless that solve meets a
// contradiction; otherwise nothing. Allocates one Explanation while it
// runs (a command's worth, never per move).
Hint FindHint(const int values[81], const bool given[81]);
