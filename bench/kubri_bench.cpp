// Benchmarks of the core: solving fixed puzzles at each level, grading them,
// and generating puzzles of each level from fixed seeds (median time per
// puzzle and the share of generations that fail).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "puzzle/random.h"

namespace {

// The puzzles of bench/puzzles/levelL.txt: one per line, '.' for empty.
const std::vector<Board>& Puzzles(int level) {
  static std::vector<Board> sets[4];
  std::vector<Board>& set = sets[level];
  if (!set.empty()) return set;
  const std::string path = std::string(KUBRI_BENCH_PUZZLES) + "/level" + std::to_string(level) + ".txt";
  FILE* stream = std::fopen(path.c_str(), "r");
  if (!stream) {
    std::fprintf(stderr, "kubri-bench: cannot open %s\n", path.c_str());
    return set;
  }
  char line[256];
  while (std::fgets(line, sizeof line, stream)) {
    if (std::strlen(line) < 81) continue;
    Board board;
    for (int i = 0; i < 81; ++i) {
      if (line[i] >= '1' && line[i] <= '9') {
        board.SetValue(i / 9, i % 9, line[i] - '0');
        board.SetGiven(i / 9, i % 9);
      }
    }
    set.push_back(board);
  }
  std::fclose(stream);
  return set;
}

// Board::SolveAtLevel(L) on the level-L puzzles, one puzzle per iteration.
void BM_SolveAtLevel(benchmark::State& state) {
  const int level = int(state.range(0));
  const std::vector<Board>& set = Puzzles(level);
  if (set.empty()) {
    state.SkipWithError("no puzzles");
    return;
  }
  size_t next = 0;
  int complete = 0, solves = 0;
  for (auto _ : state) {
    Board work;
    work.CopyFrom(&set[next]);
    benchmark::DoNotOptimize(work.SolveAtLevel(level));
    complete += work.IsComplete();
    ++solves;
    next = (next + 1) % set.size();
  }
  state.counters["complete_share"] = double(complete) / solves;
}
BENCHMARK(BM_SolveAtLevel)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);

// The stock's grading (levels 1, 2, 3 in turn) of all 300 puzzles.
void BM_GradePuzzle(benchmark::State& state) {
  std::vector<Board> all;
  for (int level = 1; level <= 3; ++level) {
    all.insert(all.end(), Puzzles(level).begin(), Puzzles(level).end());
  }
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GradePuzzle(all[next]));
    next = (next + 1) % all.size();
  }
}
BENCHMARK(BM_GradePuzzle)->Unit(benchmark::kMicrosecond);

// Board::Generate(L, L, 50000) once for each of a fixed list of seeds.
// Reports the median time per puzzle and the share that failed.
void BM_Generate(benchmark::State& state) {
  const int level = int(state.range(0));
  const int seeds = int(state.range(1));
  std::vector<double> times;
  int failed = 0;
  for (auto _ : state) {
    times.clear();
    failed = 0;
    for (int seed = 1; seed <= seeds; ++seed) {
      SeedRand(unsigned(seed));
      Board board;
      const auto start = std::chrono::steady_clock::now();
      const bool made = board.Generate(level, level, 50000);
      const auto stop = std::chrono::steady_clock::now();
      times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
      failed += made ? 0 : 1;
    }
  }
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  double total = 0;
  for (double t : times) total += t;
  state.counters["median_ms"] = median;
  state.counters["mean_ms"] = total / double(n);
  state.counters["max_ms"] = times.back();
  state.counters["fail_share"] = double(failed) / double(n);
  state.counters["puzzles"] = double(n);
}
BENCHMARK(BM_Generate)
    ->Args({1, 200})
    ->Args({2, 60})
    ->Args({3, 40})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
