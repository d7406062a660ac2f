// A small random sequence of the tests' own, so that the grids they make do
// not depend on the puzzle code's random draws.
#pragma once

#include <cstdint>

struct Lcg {
  uint32_t state;
  int Below(int n) {
    state = state * 1103515245u + 12345u;
    return int((state >> 16) % uint32_t(n));
  }
};
