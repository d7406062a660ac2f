// The random state is per thread and the solver shares nothing: threads that
// generate at the same time get exactly what each would get alone.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "puzzle/board.h"
#include "puzzle/random.h"

namespace {

std::string Line(const Board& b) {
  std::string s;
  for (int i = 0; i < 81; ++i) s += char('0' + b.GetValue(i / 9, i % 9));
  return s;
}

std::string GenerateWithSeed(unsigned seed, int level) {
  SeedRand(seed);
  Board b;
  const bool made = b.Generate(level, level, Board::kWaitedForAttempts);
  return Line(b) + (made ? "+" : "-");
}

TEST(ThreadRandomTest, EveryThreadStartsFromStateOne) {
  SeedRand(12345);
  Rand();
  int first = -1;
  std::thread worker([&first] { first = Rand(); });
  worker.join();
  EXPECT_EQ(first, 41);
  SeedRand(1);
  EXPECT_EQ(Rand(), 41);
}

TEST(ThreadRandomTest, ConcurrentGenerationsMatchTheirRunsAlone) {
  const std::string alone1 = GenerateWithSeed(5, 1);
  const std::string alone2 = GenerateWithSeed(6, 2);
  std::string a, b, c;
  std::thread first([&a] { a = GenerateWithSeed(5, 1); });
  std::thread second([&b] { b = GenerateWithSeed(6, 2); });
  c = GenerateWithSeed(5, 1);
  first.join();
  second.join();
  EXPECT_EQ(a, alone1);
  EXPECT_EQ(b, alone2);
  EXPECT_EQ(c, alone1);
}

}  // namespace
