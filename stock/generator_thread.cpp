// The background generator: its stop signal, its loop and its step.
#include "stock/generator_thread.h"

#include <chrono>

namespace {

constexpr int kRefillBelow = 5;

}  // namespace

bool ChooseGenerationLevels(int count1, int count2, int count3, int* minLevel,
                            int* maxLevel) {
  const int counts[3] = {count1, count2, count3};
  int chosenMin = 0;
  int chosenMax = 0;
  for (int level = 1; level <= 3 && chosenMax == 0; ++level) {
    if (counts[level - 1] < kRefillBelow) chosenMin = chosenMax = level;
  }
  for (int level = 3; level >= 1 && chosenMax == 0; --level) {
    if (counts[level - 1] < PuzzleStock::kSlotsPerLevel) {
      chosenMin = 1;
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
  const int count1 = stock.Count(1);
  const int count2 = stock.Count(2);
  const int count3 = stock.Count(3);
  stock.Unlock();

  int minLevel = 0;
  int maxLevel = 0;
  if (!ChooseGenerationLevels(count1, count2, count3, &minLevel, &maxLevel)) return;

  Board puzzle;
  if (!puzzle.Generate(minLevel, maxLevel, kAttemptsPerStep)) return;

  if (!stock.Lock()) return;
  stock.Add(&puzzle);
  stock.Unlock();
}
