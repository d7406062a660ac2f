// Solving and generating use fixed-size storage only: no heap allocation.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "puzzle/board.h"
#include "puzzle/random.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  std::abort();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(AllocationTest, SolvingAndGeneratingNeverTouchTheHeap) {
  SeedRand(9);  // the thread's random state exists before counting
  Board board;
  const long before = allocations.load();
  bool made[3] = {};
  bool solved[3] = {};
  for (int level = 1; level <= 3; ++level) {
    made[level - 1] = board.Generate(level, level, Board::kWaitedForAttempts);
    Board work;
    work.CopyDroppingMarksUnderValues(&board);
    solved[level - 1] = work.SolveAtLevel(level);
    work.IsCorrect();
  }
  const long after = allocations.load();
  EXPECT_EQ(after - before, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(made[i]);
    EXPECT_TRUE(solved[i]);
  }
  int* probe = new int(3);  // the counter itself works
  EXPECT_GT(allocations.load(), after);
  delete probe;
}

}  // namespace
