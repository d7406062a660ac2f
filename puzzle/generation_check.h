// A window on the generator for tests: every solve that Board::Generate
// settles without solving from scratch is shown, so that a test can solve
// the same digits from scratch and compare.
#pragma once

#include <cstdint>

class Board;

class GenerationObserver {
 public:
  virtual ~GenerationObserver() = default;
  // `values`: the digits a from-scratch solve would load (0 empty, row-major);
  // `masks`: the candidates the generator reached for them at `level` (bits
  // 1..9 per cell), with no contradiction.
  virtual void OnSolve(const uint8_t values[81], int level, const uint16_t masks[81]) = 0;
};

// Board::Generate, showing each such solve to `observer` (which may be null).
bool GenerateObserved(Board& board, int minLevel, int maxLevel, int attempts,
                      GenerationObserver* observer);
