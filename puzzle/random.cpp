// The per-thread random sequence of the C runtime's classic generator.
#include "puzzle/random.h"

namespace {

thread_local unsigned randState = 1;

}  // namespace

int Rand() {
  randState = randState * 214013u + 2531011u;
  return int((randState >> 16) & 0x7FFF);
}

void SeedRand(unsigned seed) { randState = seed; }

int RandomIndexBelow(int n) {
  if (n <= 0) return 0;
  return int(double(Rand()) * n / 32768.0);
}
