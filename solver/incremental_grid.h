// A candidate grid held at the fixpoint of a level's techniques and narrowed
// one digit at a time: after a change only the houses and digits it touched
// are looked at again, instead of whole passes over the grid.
//
// Where the from-scratch solve (SolverGrid::Solve) meets no contradiction and
// leaves every digit placed or open in every house, its outcome is the one
// state from which no admitted technique removes anything more, whatever the
// order of the work: each removal a technique makes from some state it also
// makes from every narrower state (the rule every technique keeps; see
// techniques.h, where new techniques are added). So a grid kept at that
// fixpoint and then given one more digit reaches the very state, and verdict,
// that a fresh solve of all the digits reaches.
//
// The only order-dependent outcomes are contradictions and a hidden single
// that places one digit in a cell that was also the last place of another
// (the other then silently loses its last place in the house). Both leave a
// digit with no place somewhere or empty a cell, and this grid gives up the
// moment either shows: its operations then return false and the caller must
// solve from scratch. A true result is therefore always the from-scratch one.
//
// The techniques re-checked after a change, per level:
//   1  a solved cell's digit leaves its 20 peers; a digit with one place left
//      in a house goes there
//   2  a digit confined within a box to one row or column leaves the rest of
//      that row or column, and one confined within a row or column to one box
//      leaves the rest of the box
//   3  two cells of a house holding the same two digits take them from the
//      other cells; two digits confined to the same two cells of a house
//      become those cells' only candidates
#pragma once

#include <cstdint>

#include "solver/bits.h"

class IncrementalGrid {
 public:
  // As Clear: a new grid is at the fixpoint of every level.
  IncrementalGrid();

  // Every cell {1..9}: what a solve of an empty board leaves, at any level.
  void Clear();
  // Takes the candidates (bits 1..9 per cell, row-major) that a solve at some
  // level reached without contradiction. False when some house has a digit
  // neither placed nor open: the grid then still holds the candidates, but
  // nothing derived from them by Place or Settle is trusted.
  bool Load(const uint16_t masks[81]);
  // Narrows cell x to {d} and brings the grid back to the fixpoint of
  // `level`, assuming it was at that fixpoint before. True when the result
  // is what a solve from scratch gives; false when the caller must solve
  // from scratch (the grid is then left in no useful state). A cell that
  // does not hold d is such a case, and so is every level above 3: the
  // patterns of those levels are not kept incrementally.
  bool Place(int x, int d, int level);
  // Brings a grid from the fixpoint of a lower level to that of `level`,
  // looking at every house and cell once more. Same result as Place.
  bool Settle(int level);

  uint16_t Mask(int x) const { return cells[x]; }
  const uint16_t* Masks() const { return cells; }
  bool IsSolved(int x) const { return AtMostOneBit(cells[x]); }
  bool IsComplete() const { return open == 0; }

 private:
  struct Work;

  uint16_t cells[81];      // bits 1..9: the candidates of each cell
  uint16_t places[27][10]; // per house (rows, columns, boxes) and digit: the
                           // positions 0..8 of the cells holding it
  int open = 81;           // unsolved cells
};
