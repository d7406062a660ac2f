// An independent check of the logic solver: a plain backtracking search over
// the 81 cells that counts the completions of a set of digits, written apart
// from the solver so that the two can be held against each other.
#pragma once

#include <cstdint>

#include "puzzle/board.h"

class SolutionCounter {
 public:
  // Loads the values of the board (givens and the player's alike; marks are
  // not looked at). A board whose values already clash has no completion.
  explicit SolutionCounter(const Board& board) {
    for (int i = 0; i < 81; ++i) {
      const int v = board.GetValue(i / 9, i % 9);
      grid[i] = v;
      if (v != 0 && !Allowed(i, v)) clash = true;
      if (v != 0) Place(i, v);
    }
  }

  // Counts completions up to `most`, visiting at most `nodeBudget` search
  // nodes. The result is exact when Finished() is true afterwards; the first
  // completion found is kept in First().
  int Count(int most, long nodeBudget) {
    solutions = 0;
    limit = most;
    nodesLeft = nodeBudget;
    exhausted = false;
    if (!clash) Search();
    return solutions;
  }
  // False when the node budget ran out before the search could finish.
  bool Finished() const { return !exhausted; }
  // The digit of cell (row, col) in the first completion found.
  int First(int row, int col) const { return first[row * 9 + col]; }

 private:
  static int Box(int i) { return (i / 27) * 3 + (i % 9) / 3; }
  bool Allowed(int i, int d) const {
    const uint16_t bit = uint16_t(1u << d);
    return !(rows[i / 9] & bit) && !(columns[i % 9] & bit) && !(boxes[Box(i)] & bit);
  }
  void Place(int i, int d) {
    const uint16_t bit = uint16_t(1u << d);
    rows[i / 9] |= bit;
    columns[i % 9] |= bit;
    boxes[Box(i)] |= bit;
  }
  void Lift(int i, int d) {
    const uint16_t mask = uint16_t(~(1u << d));
    rows[i / 9] &= mask;
    columns[i % 9] &= mask;
    boxes[Box(i)] &= mask;
  }

  // Fills the empty cell with the fewest digits allowed, trying each in turn.
  void Search() {
    if (solutions >= limit) return;
    if (--nodesLeft < 0) {
      exhausted = true;
      return;
    }
    int best = -1, bestCount = 10;
    for (int i = 0; i < 81 && bestCount > 1; ++i) {
      if (grid[i] != 0) continue;
      int count = 0;
      for (int d = 1; d <= 9; ++d) count += Allowed(i, d) ? 1 : 0;
      if (count < bestCount) {
        best = i;
        bestCount = count;
      }
    }
    if (best < 0) {
      if (solutions == 0) {
        for (int i = 0; i < 81; ++i) first[i] = grid[i];
      }
      ++solutions;
      return;
    }
    for (int d = 1; d <= 9 && solutions < limit && !exhausted; ++d) {
      if (!Allowed(best, d)) continue;
      grid[best] = d;
      Place(best, d);
      Search();
      Lift(best, d);
      grid[best] = 0;
    }
  }

  int grid[81] = {};
  int first[81] = {};
  uint16_t rows[9] = {}, columns[9] = {}, boxes[9] = {};
  bool clash = false;
  int solutions = 0;
  int limit = 0;
  long nodesLeft = 0;
  bool exhausted = false;
};
