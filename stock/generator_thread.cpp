// The background generator: its stop signal, its loop and its step.
#include "stock/generator_thread.h"

#include <chrono>

namespace {

constexpr int kRefillBelow = 5;

}  // namespace

bool ChooseGenerationLevels(const int (&counts)[PuzzleStock::kLevelCount], int* minLevel, int* maxLevel) {
  int chosenMin = 0;
  int chosenMax = 0;
  for (int level = kLowestLevel; level <= kHighestPlayLevel && chosenMax == 0; ++level) {
    if (counts[level - kLowestLevel] < kRefillBelow) chosenMin = chosenMax = level;
  }
  for (int level = kHighestPlayLevel; level >= kLowestLevel && chosenMax == 0; --level) {
    if (counts[level - kLowestLevel] < PuzzleStock::kSlotsPerLevel) {
      chosenMin = kLowestLevel;
      chosenMax = level;
    }
  }
  if (chosenMax == 0) return false;
  if (minLevel != nullptr) *minLevel = chosenMin;
  if (maxLevel != nullptr) *maxLevel = chosenMax;
  return true;
}

GeneratorThread::GeneratorThread(PuzzleStock& target) : stock(target) {}

GeneratorThread::~GeneratorThread() {
  RequestStop();
  Join();
}

void GeneratorThread::RequestStop() {
  {
    std::lock_guard<std::mutex> hold(stopMutex);
    stopSignalled = true;
  }
  stopChanged.notify_all();
}

bool GeneratorThread::WaitForStop() {
  std::unique_lock<std::mutex> hold(stopMutex);
  const bool signalled =
      stopChanged.wait_for(hold, std::chrono::milliseconds(kStepPauseMilliseconds),
                           [this] { return stopSignalled; });
  if (signalled) stopSignalled = false;
  return signalled;
}

unsigned GeneratorThread::Run() {
  while (!WaitForStop()) GenerateStep();
  return 0;
}

void GeneratorThread::GenerateStep() {
  if (!stock.Lock()) return;
  int counts[PuzzleStock::kLevelCount];
  for (int level = kLowestLevel; level <= kHighestPlayLevel; ++level) {
    counts[level - kLowestLevel] = stock.Count(level);
  }
  stock.Unlock();

  int minLevel = 0;
  int maxLevel = 0;
  if (!ChooseGenerationLevels(counts, &minLevel, &maxLevel)) return;

  Board puzzle;
  if (!puzzle.Generate(minLevel, maxLevel, kAttemptsPerStep)) return;

  if (!stock.Lock()) return;
  stock.Add(&puzzle);
  stock.Unlock();
}
