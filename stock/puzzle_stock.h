// The stock of ready puzzles: up to twenty per level in one fixed block,
// graded as they arrive, taken last-in first-out, with the lock that the UI
// thread and the generator thread share.
#pragma once

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "puzzle/board.h"
#include "solver/techniques.h"

class PuzzleStock {
 public:
  static constexpr int kLevelCount = kPlayLevelCount;
  static constexpr int kSlotsPerLevel = 20;

  // An empty stock; its lock exists from here on, so the first Lock of any
  // thread finds it ready.
  PuzzleStock() = default;
  PuzzleStock(const PuzzleStock&) = delete;
  PuzzleStock& operator=(const PuzzleStock&) = delete;

  // Waits without time-out until the calling thread owns the lock. The owner
  // may lock again (each Lock then needs its Unlock). True when the lock is
  // held; callers that get false must not touch the stock.
  bool Lock();
  // Releases one Lock of the calling thread. A thread that does not own the
  // lock is ignored, so an Unlock after a failed Lock is harmless.
  void Unlock();

  // The following need the lock whenever the generator thread runs.

  // Puzzles held at level 1..3; 0 for any other level.
  int Count(int level) const;
  // Grades the puzzle (levels 1, 2, 3 in turn) and appends it to the first
  // level that completes it when that level has room. A puzzle with
  // contradictory givens, one that level 3 cannot complete, or one whose
  // level is full is dropped silently; it is never filed under another
  // level. The puzzle is stored exactly as passed. Nothing with no board.
  void Add(const Board* board);
  // Copies the last puzzle of the level into target and, when remove is
  // true, drops it from the stock. Nothing with no target, a level outside
  // 1..3 or an empty level (the target is then left unchanged).
  void Take(Board* target, int level, bool remove);

  // Board-only text, for the settings file; both run without the lock, only
  // while no generator thread exists.

  // Reads boards one after another and passes each whole one to Add; stops
  // at the first board that is cut short. Nothing with no stream.
  void ReadFrom(FILE* stream);
  // Writes level 1's puzzles in slot order, then level 2's, then level 3's,
  // nine board lines each. Nothing with no stream; write errors are left in
  // the stream's error state.
  void WriteTo(FILE* stream) const;

 private:
  bool IsFull() const;

  // Slot j of level L is puzzles[L - kLowestLevel][j]; slots
  // 0..counts[L - kLowestLevel] - 1 are in use. Both guarded by mutex while
  // the generator thread runs.
  Board puzzles[kLevelCount][kSlotsPerLevel];
  int counts[kLevelCount] = {};

  std::mutex mutex;
  // The thread that holds mutex, or no thread. Written only by that thread
  // while it holds mutex; read by any thread to tell whether it is the owner.
  std::atomic<std::thread::id> owner{std::thread::id()};
  // How many Locks the owner has not yet undone; touched only by the owner.
  int lockDepth = 0;
};
