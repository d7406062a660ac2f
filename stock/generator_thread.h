// The background thread that keeps the puzzle stock filled: one generation
// step every 100 ms until it is asked to stop.
#pragma once

#include <condition_variable>
#include <mutex>

#include "stock/puzzle_stock.h"
#include "stock/worker_thread.h"

// What one step generates for the stock's count at each level (counts[0]
// for level 1): the lowest level below 5 at exactly that level; otherwise
// any puzzle up to the highest level below 20 (minLevel 1); false, with the
// outputs untouched, when every level holds 20. Either output may be null.
bool ChooseGenerationLevels(const int (&counts)[PuzzleStock::kLevelCount], int* minLevel, int* maxLevel);

class GeneratorThread : public WorkerThread {
 public:
  static constexpr int kStepPauseMilliseconds = 100;
  static constexpr int kAttemptsPerStep = 1000;

  // Fills `stock`, which must outlive this object. The stop signal exists
  // from here on, so a stop requested before the thread runs is kept.
  explicit GeneratorThread(PuzzleStock& stock);
  // Stops the thread and waits for its current step, if it is still
  // running, since its body uses this object.
  ~GeneratorThread() override;

  // Any thread. Signals the stop. The signal is consumed by the thread's
  // next wait between steps (a step under way finishes first); a signal
  // given before Start ends the next run at its first wait.
  void RequestStop();
  // Generator thread (tests may call it on any one thread). Reads the counts
  // under the stock's lock, generates without the lock with the calling
  // thread's Rand(), and adds a successful result under the lock.
  void GenerateStep();
  // The loop: wait up to 100 ms for the stop; on time-out run one step and
  // wait again; on the stop return 0. Never seeds the thread's Rand().
  unsigned Run() override;

 private:
  // Waits up to the pause for the stop signal; true (and the signal
  // consumed) when it came.
  bool WaitForStop();

  PuzzleStock& stock;

  std::mutex stopMutex;
  std::condition_variable stopChanged;
  bool stopSignalled = false;  // guarded by stopMutex; a wait that sees it clears it
};
