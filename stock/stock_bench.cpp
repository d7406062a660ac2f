// Measures the background generator: how long the real thread (with its
// 100 ms pauses) takes to fill an empty stock to sixty puzzles, and how many
// puzzles per second one step's work stocks for each level.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "puzzle/random.h"
#include "stock/generator_thread.h"
#include "stock/puzzle_stock.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLevels = PuzzleStock::kLevelCount;

int LockedTotal(PuzzleStock& stock, int (&counts)[kLevels]) {
  int total = 0;
  if (!stock.Lock()) return -1;
  for (int i = 0; i < kLevels; ++i) {
    counts[i] = stock.Count(kLowestLevel + i);
    total += counts[i];
  }
  stock.Unlock();
  return total;
}

// The real thread from an empty stock until all three levels hold twenty (or
// the time limit passes). Reports the seconds to reach 60 and, per level, the
// seconds at which it reached five (the refill mark) and twenty; progress
// goes to stderr.
void BM_FillEmptyStock(benchmark::State& state) {
  const double limitSeconds = 1800.0;
  for (auto _ : state) {
    PuzzleStock stock;
    GeneratorThread generator(stock);
    const Clock::time_point start = Clock::now();
    double fiveAt[kLevels] = {};
    double fullAt[kLevels] = {};
    int shown[kLevels] = {};
    int total = 0;
    generator.Start();
    for (;;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      int counts[kLevels];
      total = LockedTotal(stock, counts);
      const double now = std::chrono::duration<double>(Clock::now() - start).count();
      for (int level = 0; level < kLevels; ++level) {
        if (counts[level] >= 5 && fiveAt[level] == 0) fiveAt[level] = now;
        if (counts[level] == PuzzleStock::kSlotsPerLevel && fullAt[level] == 0) fullAt[level] = now;
      }
      bool changed = false;
      for (int level = 0; level < kLevels; ++level) {
        changed = changed || counts[level] != shown[level];
        shown[level] = counts[level];
      }
      if (changed) {
        std::fprintf(stderr, "%8.2f s ", now);
        for (int level = 0; level < kLevels; ++level) std::fprintf(stderr, " %2d", counts[level]);
        std::fprintf(stderr, "\n");
      }
      if (total == kLevels * PuzzleStock::kSlotsPerLevel || now > limitSeconds) break;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    generator.RequestStop();
    generator.Join();
    state.SetIterationTime(seconds);
    state.counters["stocked"] = total;
    for (int level = 0; level < kLevels; ++level) {
      const std::string name = "level" + std::to_string(kLowestLevel + level);
      state.counters[name + "_at5_s"] = fiveAt[level];
      state.counters[name + "_at20_s"] = fullAt[level];
    }
  }
}
BENCHMARK(BM_FillEmptyStock)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// One step's work without the pause: generate exactly the level with 1000
// attempts and add it under the lock. The stock is emptied when the level
// fills. Counts puzzles stocked per second and the share of failed steps.
void BM_StepPerLevel(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  SeedRand(1);
  PuzzleStock stock;
  int64_t stocked = 0;
  int64_t failed = 0;
  for (auto _ : state) {
    Board puzzle;
    if (!puzzle.Generate(level, level, GeneratorThread::kAttemptsPerStep)) {
      ++failed;
      continue;
    }
    if (stock.Lock()) {
      const int before = stock.Count(level);
      stock.Add(&puzzle);
      if (stock.Count(level) > before) ++stocked;
      if (stock.Count(level) == PuzzleStock::kSlotsPerLevel) {
        Board drop;
        while (stock.Count(level) > 0) stock.Take(&drop, level, true);
      }
      stock.Unlock();
    }
  }
  state.counters["stocked_per_s"] = benchmark::Counter(static_cast<double>(stocked),
                                                       benchmark::Counter::kIsRate);
  state.counters["failed_steps"] = static_cast<double>(failed);
}
BENCHMARK(BM_StepPerLevel)->DenseRange(kLowestLevel, kHighestPlayLevel)->MinTime(5.0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
