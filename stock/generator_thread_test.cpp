// Tests of the threads: the stock's lock between threads, the worker thread's
// start and join, the generator's choice of level, its step, its stop, and a
// stress run of the generator against a thread that keeps taking.
#include "stock/generator_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "puzzle/grade.h"
#include "puzzle/random.h"
#include "stock/stock_test_boards.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Polls until the predicate holds or the time is up; the predicate's last answer.
template <typename Predicate>
bool WaitUntil(Predicate predicate, milliseconds limit) {
  const Clock::time_point end = Clock::now() + limit;
  while (!predicate()) {
    if (Clock::now() >= end) return predicate();
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

int LockedCount(PuzzleStock& stock, int level) {
  if (!stock.Lock()) return -1;
  const int count = stock.Count(level);
  stock.Unlock();
  return count;
}

// --- The stock's lock ------------------------------------------------------

// Another thread that asks for the lock; tells whether it has it yet.
class Contender {
 public:
  explicit Contender(PuzzleStock& stock)
      : thread([this, &stock] {
          if (stock.Lock()) {
            acquired = true;
            stock.Unlock();
          }
        }) {}
  ~Contender() {
    if (thread.joinable()) thread.join();
  }
  bool AcquiredWithin(milliseconds wait) {
    std::this_thread::sleep_for(wait);
    return acquired.load();
  }
  bool AcquiredAfterJoin() {
    thread.join();
    return acquired.load();
  }

 private:
  std::atomic<bool> acquired{false};
  std::thread thread;
};

TEST(PuzzleStockLock, HoldsOffOtherThreadsUntilReleased) {
  PuzzleStock stock;
  ASSERT_TRUE(stock.Lock());
  Contender other(stock);
  EXPECT_FALSE(other.AcquiredWithin(milliseconds(50)));
  stock.Unlock();
  EXPECT_TRUE(other.AcquiredAfterJoin());
}

TEST(PuzzleStockLock, OwnerMayLockAgainAndNeedsAnUnlockForEach) {
  PuzzleStock stock;
  ASSERT_TRUE(stock.Lock());
  ASSERT_TRUE(stock.Lock());
  stock.Unlock();
  Contender other(stock);
  EXPECT_FALSE(other.AcquiredWithin(milliseconds(50))) << "freed by the first of two unlocks";
  stock.Unlock();
  EXPECT_TRUE(other.AcquiredAfterJoin());
}

TEST(PuzzleStockLock, UnlockByAThreadThatDoesNotOwnItIsIgnored) {
  PuzzleStock stock;
  stock.Unlock();  // never locked
  ASSERT_TRUE(stock.Lock());
  std::thread intruder([&] { stock.Unlock(); });
  intruder.join();
  Contender other(stock);
  EXPECT_FALSE(other.AcquiredWithin(milliseconds(50))) << "released by a thread that never held it";
  stock.Unlock();
  EXPECT_TRUE(other.AcquiredAfterJoin());
}

// --- The worker thread -----------------------------------------------------

class CountingThread : public WorkerThread {
 public:
  unsigned Run() override {
    runs.fetch_add(1);
    return 42;
  }
  std::atomic<int> runs{0};
};

TEST(WorkerThread, JoinWithoutStartReturnsAtOnce) {
  CountingThread worker;
  EXPECT_FALSE(worker.HasThread());
  worker.Join();
  worker.CloseThreadHandle();
  EXPECT_EQ(worker.runs.load(), 0);
}

TEST(WorkerThread, EntryFunctionRunsTheObjectOrReturnsZeroWithout) {
  CountingThread worker;
  EXPECT_EQ(WorkerThreadEntry(nullptr), 0u);
  EXPECT_EQ(WorkerThreadEntry(&worker), 42u);
  EXPECT_EQ(worker.runs.load(), 1);
}

TEST(WorkerThread, CanBeStartedAgainAfterAJoin) {
  CountingThread worker;
  ASSERT_TRUE(worker.Start());
  EXPECT_TRUE(worker.HasThread());
  worker.Join();
  EXPECT_FALSE(worker.HasThread());
  worker.Join();  // a second join returns at once
  ASSERT_TRUE(worker.Start());
  worker.Join();
  EXPECT_EQ(worker.runs.load(), 2);
}

// --- The choice of level ---------------------------------------------------

struct Choice {
  int counts[PuzzleStock::kLevelCount];
  bool generates;
  int minLevel, maxLevel;
};

TEST(GeneratorChoice, RefillsLowLevelsFirstThenFillsTheHighestWithRoom) {
  const Choice choices[] = {
      {{0, 0, 0}, true, 1, 1},    {{3, 20, 20}, true, 1, 1},  {{20, 4, 0}, true, 2, 2},
      {{4, 3, 0}, true, 1, 1},    {{5, 5, 4}, true, 3, 3},    {{7, 20, 12}, true, 1, 3},
      {{5, 5, 5}, true, 1, 3},    {{20, 19, 20}, true, 1, 2}, {{19, 20, 20}, true, 1, 1},
      {{20, 20, 19}, true, 1, 3}, {{20, 20, 20}, false, 0, 0},
  };
  for (const Choice& choice : choices) {
    int minLevel = -7;
    int maxLevel = -7;
    const bool generates = ChooseGenerationLevels(choice.counts, &minLevel, &maxLevel);
    SCOPED_TRACE(::testing::Message() << "counts " << choice.counts[0] << ", " << choice.counts[1]
                                      << ", " << choice.counts[2]);
    EXPECT_EQ(generates, choice.generates);
    if (choice.generates) {
      EXPECT_EQ(minLevel, choice.minLevel);
      EXPECT_EQ(maxLevel, choice.maxLevel);
    } else {
      EXPECT_EQ(minLevel, -7);
      EXPECT_EQ(maxLevel, -7);
    }
  }
  EXPECT_TRUE(ChooseGenerationLevels({0, 0, 0}, nullptr, nullptr));
}

// --- One step --------------------------------------------------------------

// Runs steps on a fresh thread until the stock's total grows or the number of
// steps is used up; the number of steps made.
int StepUntilSomethingIsAdded(GeneratorThread& generator, PuzzleStock& stock, int steps) {
  const int before = TotalCount(stock);
  int made = 0;
  std::thread worker([&] {
    while (made < steps) {
      generator.GenerateStep();
      ++made;
      if (LockedCount(stock, 1) + LockedCount(stock, 2) + LockedCount(stock, 3) > before) break;
    }
  });
  worker.join();
  return made;
}

TEST(GeneratorStep, RefillsALevelBelowFiveWithExactlyThatLevel) {
  PuzzleStock stock;
  AddFixtures(stock, 1, 20);
  AddFixtures(stock, 2, 4);
  AddFixtures(stock, 3, 20);
  GeneratorThread generator(stock);
  StepUntilSomethingIsAdded(generator, stock, 50);
  EXPECT_EQ(stock.Count(1), 20);
  EXPECT_EQ(stock.Count(2), 5);
  EXPECT_EQ(stock.Count(3), 20);
}

TEST(GeneratorStep, RefillsTheLowestOfSeveralLowLevelsFirst) {
  PuzzleStock stock;
  AddFixtures(stock, 2, 3);
  GeneratorThread generator(stock);
  StepUntilSomethingIsAdded(generator, stock, 50);
  EXPECT_EQ(stock.Count(1), 1);
  EXPECT_EQ(stock.Count(2), 3);
  EXPECT_EQ(stock.Count(3), 0);
}

TEST(GeneratorStep, FullStockGeneratesNothing) {
  PuzzleStock stock;
  for (int level = 1; level <= 3; ++level) AddFixtures(stock, level, 20);
  GeneratorThread generator(stock);
  std::thread worker([&] { generator.GenerateStep(); });
  worker.join();
  for (int level = 1; level <= 3; ++level) {
    Board last;
    stock.Take(&last, level, false);
    EXPECT_EQ(stock.Count(level), 20);
    EXPECT_TRUE(SameGivens(last, FixturePuzzle(level, 19)));
  }
}

// The first puzzle a thread stocks comes from the unseeded sequence, the same
// on every run and whatever the starting thread's own sequence is.
TEST(GeneratorThread, FirstStockedPuzzleComesFromTheUnseededSequence) {
  Board expected;
  std::thread fresh([&] {
    for (int step = 0; step < 100; ++step) {
      if (expected.Generate(1, 1, GeneratorThread::kAttemptsPerStep)) return;
    }
  });
  fresh.join();
  ASSERT_EQ(GradePuzzle(expected), 1);

  SeedRand(12345);
  PuzzleStock stock;
  GeneratorThread generator(stock);
  ASSERT_TRUE(generator.Start());
  EXPECT_TRUE(WaitUntil([&] { return LockedCount(stock, 1) >= 1; }, milliseconds(60000)));
  generator.RequestStop();
  generator.Join();
  ASSERT_GE(stock.Count(1), 1);
  while (stock.Count(1) > 1) {
    Board later;
    stock.Take(&later, 1, true);
  }
  Board first;
  stock.Take(&first, 1, false);
  EXPECT_TRUE(SameGivens(first, expected));
}

// --- Stopping --------------------------------------------------------------

// Joins the thread; false when that took longer than the limit, in which case
// the thread is stopped once more so that the test ends instead of hanging.
bool JoinsWithin(GeneratorThread& generator, milliseconds limit) {
  std::atomic<bool> joined{false};
  std::thread joiner([&] {
    generator.Join();
    joined = true;
  });
  const bool inTime = WaitUntil([&] { return joined.load(); }, limit);
  if (!inTime) generator.RequestStop();
  joiner.join();
  return inTime;
}

TEST(GeneratorThread, StopRequestedBeforeStartEndsTheRunAtItsFirstWait) {
  PuzzleStock stock;
  GeneratorThread generator(stock);
  generator.RequestStop();
  ASSERT_TRUE(generator.Start());
  EXPECT_TRUE(JoinsWithin(generator, milliseconds(5000))) << "the early stop was lost";
  EXPECT_FALSE(generator.HasThread());
  EXPECT_EQ(stock.Count(1), 0);
}

TEST(GeneratorThread, StopRequestedRightAfterStartIsNotLost) {
  for (int round = 0; round < 20; ++round) {
    PuzzleStock stock;
    GeneratorThread generator(stock);
    ASSERT_TRUE(generator.Start());
    generator.RequestStop();
    ASSERT_TRUE(JoinsWithin(generator, milliseconds(5000))) << "round " << round;
    EXPECT_FALSE(generator.HasThread());
  }
}

TEST(GeneratorThread, ConsumedStopLetsTheNextRunGoOn) {
  PuzzleStock stock;
  GeneratorThread generator(stock);
  generator.RequestStop();
  ASSERT_TRUE(generator.Start());
  generator.Join();
  ASSERT_TRUE(generator.Start());
  EXPECT_TRUE(WaitUntil([&] { return LockedCount(stock, 1) >= 1; }, milliseconds(60000)));
  generator.RequestStop();
  generator.Join();
}

TEST(GeneratorThread, StopDuringAStepTakesEffectWhenTheStepEnds) {
  PuzzleStock stock;
  GeneratorThread generator(stock);
  // Holding the stock's lock keeps the first step waiting inside itself.
  ASSERT_TRUE(stock.Lock());
  ASSERT_TRUE(generator.Start());
  std::this_thread::sleep_for(milliseconds(300));
  generator.RequestStop();
  std::atomic<bool> joined{false};
  std::thread joiner([&] {
    generator.Join();
    joined = true;
  });
  std::this_thread::sleep_for(milliseconds(200));
  EXPECT_FALSE(joined.load()) << "the join returned while a step was still under way";
  stock.Unlock();
  joiner.join();
  EXPECT_TRUE(joined.load());
  EXPECT_LE(stock.Count(1), 1);
  EXPECT_EQ(stock.Count(2) + stock.Count(3), 0);
}

TEST(GeneratorThread, StopWhileGeneratingWaitsForTheGeneration) {
  PuzzleStock stock;
  GeneratorThread generator(stock);
  ASSERT_TRUE(generator.Start());
  // The first step starts after 100 ms and generates with the lock free.
  std::this_thread::sleep_for(milliseconds(130));
  generator.RequestStop();
  generator.Join();
  EXPECT_FALSE(generator.HasThread());
  const int total = TotalCount(stock);
  EXPECT_LE(total, 2);
}

TEST(GeneratorThread, DestroyingARunningGeneratorStopsAndJoinsIt) {
  PuzzleStock stock;
  {
    GeneratorThread generator(stock);
    ASSERT_TRUE(generator.Start());
    std::this_thread::sleep_for(milliseconds(150));
  }
  // The thread is gone: the stock is ours alone again.
  const int total = TotalCount(stock);
  EXPECT_LE(total, 2);
}

TEST(GeneratorThread, FullStockKeepsRunningWithoutGeneratingUntilStopped) {
  PuzzleStock stock;
  for (int level = 1; level <= 3; ++level) AddFixtures(stock, level, 20);
  GeneratorThread generator(stock);
  ASSERT_TRUE(generator.Start());
  std::this_thread::sleep_for(milliseconds(350));
  EXPECT_TRUE(generator.HasThread());
  generator.RequestStop();
  generator.Join();
  for (int level = 1; level <= 3; ++level) {
    Board last;
    stock.Take(&last, level, false);
    EXPECT_EQ(stock.Count(level), 20);
    EXPECT_TRUE(SameGivens(last, FixturePuzzle(level, 19)));
  }
}

// --- Stress ----------------------------------------------------------------

TEST(GeneratorThread, FillsWhileAnotherThreadKeepsTaking) {
  PuzzleStock stock;
  GeneratorThread generator(stock);
  ASSERT_TRUE(generator.Start());

  std::atomic<int> taken{0};
  std::atomic<int> misfiled{0};
  std::atomic<int> outOfRange{0};
  std::thread taker([&] {
    const Clock::time_point end = Clock::now() + milliseconds(3000);
    int level = 1;
    while (Clock::now() < end) {
      Board puzzle;
      bool got = false;
      if (stock.Lock()) {
        for (int l = 1; l <= 3; ++l) {
          const int count = stock.Count(l);
          if (count < 0 || count > PuzzleStock::kSlotsPerLevel) outOfRange.fetch_add(1);
        }
        if (stock.Count(level) > 0) {
          stock.Take(&puzzle, level, true);
          got = true;
        }
        stock.Unlock();
      }
      if (got) {
        taken.fetch_add(1);
        if (GradePuzzle(puzzle) != level) misfiled.fetch_add(1);
      }
      level = level % 3 + 1;
      std::this_thread::sleep_for(milliseconds(20));
    }
  });
  taker.join();
  generator.RequestStop();
  generator.Join();

  EXPECT_GT(taken.load(), 0);
  EXPECT_EQ(misfiled.load(), 0);
  EXPECT_EQ(outOfRange.load(), 0);
  for (int level = 1; level <= 3; ++level) {
    EXPECT_GE(stock.Count(level), 0);
    EXPECT_LE(stock.Count(level), PuzzleStock::kSlotsPerLevel);
  }
}

}  // namespace
