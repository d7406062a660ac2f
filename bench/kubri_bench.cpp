// Benchmarks of the core: solving fixed puzzles at each level, grading them,
// finishing and grading hard puzzles past level 3, and generating puzzles of
// each level from fixed seeds (median time per puzzle and the share of
// generations that fail).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <time.h>

#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "puzzle/random.h"
#include "solver/search.h"

namespace {

// CPU time of the calling thread in milliseconds: the figure that does not
// depend on what else the machine runs.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The nearest-rank percentile: the smallest value that at least p percent
// of the values do not exceed.
double Percentile(std::vector<double> values, int p) {
  std::sort(values.begin(), values.end());
  const size_t rank = (values.size() * size_t(p) + 99) / 100;
  return values[rank > 0 ? rank - 1 : 0];
}

// The puzzles of bench/puzzles/NAME.txt: one per line, '.' for empty.
std::vector<Board> ReadPuzzles(const std::string& name) {
  std::vector<Board> set;
  const std::string path = std::string(KUBRI_BENCH_PUZZLES) + "/" + name + ".txt";
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

// bench/puzzles/levelL.txt.
const std::vector<Board>& Puzzles(int level) {
  static std::vector<Board> sets[4];
  std::vector<Board>& set = sets[level];
  if (set.empty()) set = ReadPuzzles("level" + std::to_string(level));
  return set;
}

// bench/puzzles/hard.txt: 600 puzzles of one solution past level 3 (Solo's
// Extreme and Unreasonable, qqwing's expert).
const std::vector<Board>& HardPuzzles() {
  static const std::vector<Board> set = ReadPuzzles("hard");
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
    work.CopyDroppingMarksUnderValues(&set[next]);
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

// What `kubri-puzzle solve` does without --level, per hard puzzle: level 3,
// then the search where level 3 stops short; and the search alone.
void BM_SolveHard(benchmark::State& state) {
  const bool searchOnly = state.range(0) != 0;
  const std::vector<Board>& set = HardPuzzles();
  if (set.empty()) {
    state.SkipWithError("no puzzles");
    return;
  }
  size_t next = 0;
  int solved = 0, solves = 0;
  for (auto _ : state) {
    Board work;
    work.CopyDroppingMarksUnderValues(&set[next]);
    uint8_t values[81];
    for (int i = 0; i < 81; ++i) values[i] = uint8_t(work.GetValue(i / 9, i % 9));
    if (!searchOnly && work.SolveAtLevel(3) && work.IsComplete()) {
      ++solved;
    } else {
      const SearchOutcome outcome = SearchSolutions(values, 2);
      benchmark::DoNotOptimize(outcome.solution);
      solved += outcome.solutions == 1;
    }
    ++solves;
    next = (next + 1) % set.size();
  }
  state.counters["solved_share"] = double(solved) / solves;
}
BENCHMARK(BM_SolveHard)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// `kubri-puzzle grade` per hard puzzle: GradeAtAnyLevel.
void BM_GradeHard(benchmark::State& state) {
  const std::vector<Board>& set = HardPuzzles();
  if (set.empty()) {
    state.SkipWithError("no puzzles");
    return;
  }
  size_t next = 0;
  int rated = 0, grades = 0;
  for (auto _ : state) {
    const int grade = GradeAtAnyLevel(set[next]);
    rated += grade >= 1;
    ++grades;
    next = (next + 1) % set.size();
  }
  state.counters["rated_share"] = double(rated) / grades;
}
BENCHMARK(BM_GradeHard)->Unit(benchmark::kMicrosecond);

// Board::Generate(L, L, Board::kWaitedForAttempts) once for each of the
// seeds 1..N: what a new puzzle costs when the stock has none of its level
// and the window waits. Reports the time per puzzle in thread CPU time
// (median, 95th percentile and the longest) and wall time (median), and the
// share that failed.
void BM_Generate(benchmark::State& state) {
  const int level = int(state.range(0));
  const int seeds = int(state.range(1));
  std::vector<double> wall, cpu;
  int failed = 0;
  for (auto _ : state) {
    wall.clear();
    cpu.clear();
    failed = 0;
    for (int seed = 1; seed <= seeds; ++seed) {
      SeedRand(unsigned(seed));
      Board board;
      const auto start = std::chrono::steady_clock::now();
      const double cpuStart = ThreadCpuMs();
      const bool made = board.Generate(level, level, Board::kWaitedForAttempts);
      cpu.push_back(ThreadCpuMs() - cpuStart);
      wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      failed += made ? 0 : 1;
    }
  }
  double total = 0;
  for (double t : cpu) total += t;
  state.counters["p50_cpu_ms"] = Median(cpu);
  state.counters["p95_cpu_ms"] = Percentile(cpu, 95);
  state.counters["max_cpu_ms"] = *std::max_element(cpu.begin(), cpu.end());
  state.counters["p50_wall_ms"] = Median(wall);
  state.counters["mean_cpu_ms"] = total / double(cpu.size());
  state.counters["fail_share"] = double(failed) / double(cpu.size());
}
BENCHMARK(BM_Generate)
    ->Args({1, 200})
    ->Args({2, 100})
    ->Args({3, 100})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
