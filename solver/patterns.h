// The techniques above level 3: patterns found over the whole grid of
// candidate words rather than stepped cell by cell. Each finder looks for the
// first instance (in a fixed order) that removes at least one candidate and
// describes it: the solve applies its removals, the explanation prints it.
//
// Every removal is sound: it takes only digits that no solution of the
// candidates can hold there. The finders never change the grid.
#pragma once

#include <cstdint>

#include "solver/techniques.h"

// A step clears at most this many cells (further cells are left for the next
// round, which finds the same pattern again), and a chain has at most this
// many nodes.
constexpr int kMaxPatternCells = 24;
constexpr int kMaxChainNodes = 16;

// How a chain node is joined to the next one.
enum ChainLink : uint8_t {
  kStrongInRow = kRow,        // the digit's only two places in a row
  kStrongInColumn = kColumn,  // ... in a column
  kStrongInBox = kBox,        // ... in a box
  kStrongInCell,              // the two digits of a two-digit cell
  kWeakLink,                  // the two cannot both be true: same cell, or same digit in one house
  kChainEnd,                  // the last node
};

struct ChainNode {
  uint8_t cell;   // row * 9 + col
  uint8_t digit;  // 1..9
  uint8_t link;   // ChainLink to the next node
};

struct PatternRemoval {
  uint8_t cell;
  uint16_t digits;  // bits 1..9
};

// One step of a pattern technique.
struct PatternStep {
  int technique = -1;   // a Technique from kFirstPatternTechnique on
  uint16_t digits = 0;  // the digits the pattern is about (bits 1..9)
  // Subsets: the house (kind and 0..8). Fish: the kind of the base lines
  // (kRow: rows are the base, columns the cover) and, bit i for line i, the
  // base and cover lines.
  uint8_t houseKind = 0;
  uint8_t houseIndex = 0;
  uint16_t base = 0;
  uint16_t cover = 0;
  // Subsets: the cells of the subset. XY-, XYZ-wing: the pivot, then the
  // two pincers. W-wing: the two two-digit cells, then the strong link's two
  // ends. Trial and error: the cell tried.
  uint8_t cellCount = 0;
  uint8_t cells[8] = {};
  uint16_t cellDigits[8] = {};  // the digits each of those cells held
  // Skyscraper, two-string kite and the chains: links alternate strong,
  // weak, strong, ... starting and ending with a strong link, so one of the
  // two ends holds (when both ends are one node, that node holds).
  uint8_t nodeCount = 0;
  ChainNode nodes[kMaxChainNodes] = {};
  uint8_t removalCount = 0;
  PatternRemoval removals[kMaxPatternCells] = {};
};

// Finds the first instance of `technique` (kFirstPatternTechnique up to
// kTrialAndError) on `cells` (bits 1..9 per cell, row-major; every cell
// non-zero) that removes a candidate. False when there is none.
bool FindPattern(int technique, const uint16_t cells[81], PatternStep* step);

// The first technique from `first` up to (not including) `end` in table
// order that finds a step: its step, true; false when none does.
bool FindFirstPattern(int first, int end, const uint16_t cells[81], PatternStep* step);
