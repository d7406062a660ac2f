// The boards the session's tests play on: one solved grid, and puzzles made
// of it with a few cells left open.
#pragma once

#include <initializer_list>
#include <string>

#include "puzzle/test_files.h"

inline constexpr char kGrid[] = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

inline int GridDigit(int row, int col) { return kGrid[row * 9 + col] - '0'; }

// The grid as givens but for the listed cells (row * 9 + col), left open.
inline Board GridExcept(std::initializer_list<int> open) {
  std::string line = kGrid;
  for (int i : open) line[i] = '.';
  return BoardFromLine(line);
}
