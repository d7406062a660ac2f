// The puzzle stock: grading on arrival, last-in first-out slots per level,
// and the owner-aware lock.
#include "stock/puzzle_stock.h"

#include "puzzle/grade.h"

bool PuzzleStock::Lock() {
  const std::thread::id self = std::this_thread::get_id();
  if (owner.load() == self) {
    // Re-entry by the owner: counted, so that the lock is freed only by the
    // matching last Unlock.
    ++lockDepth;
    return true;
  }
  mutex.lock();
  owner.store(self);
  lockDepth = 1;
  return true;
}

void PuzzleStock::Unlock() {
  if (owner.load() != std::this_thread::get_id()) return;
  if (--lockDepth > 0) return;
  owner.store(std::thread::id());
  mutex.unlock();
}

int PuzzleStock::Count(int level) const {
  if (!IsPlayLevel(level)) return 0;
  return counts[level - kLowestLevel];
}

namespace {

bool HasAnyValue(const Board& board) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (board.HasValue(row, col)) return true;
    }
  }
  return false;
}

}  // namespace

void PuzzleStock::Add(const Board* board) {
  if (board == nullptr) return;
  // No level completes a board without a single digit (the solver cannot
  // even begin), so it is dropped without three solver runs: a stock file
  // of blank lines then reads in moments.
  if (!HasAnyValue(*board)) return;
  const int level = GradePuzzle(*board);
  if (!IsPlayLevel(level)) return;
  int& count = counts[level - kLowestLevel];
  if (count >= kSlotsPerLevel) return;
  puzzles[level - kLowestLevel][count].CopyDroppingMarksUnderValues(board);
  ++count;
}

void PuzzleStock::Take(Board* target, int level, bool remove) {
  if (target == nullptr || !IsPlayLevel(level)) return;
  int& count = counts[level - kLowestLevel];
  if (count <= 0) return;
  target->CopyDroppingMarksUnderValues(&puzzles[level - kLowestLevel][count - 1]);
  if (remove) --count;
}

bool PuzzleStock::IsFull() const {
  for (int count : counts) {
    if (count < kSlotsPerLevel) return false;
  }
  return true;
}

void PuzzleStock::ReadFrom(FILE* stream) {
  if (stream == nullptr) return;
  Board board;
  while (board.Read(stream, true)) {
    // Once every level is full, Add would drop whatever comes; the rest of
    // the file is still read through so that the stream ends where it would.
    if (!IsFull()) Add(&board);
  }
}

void PuzzleStock::WriteTo(FILE* stream) const {
  if (stream == nullptr) return;
  for (int index = 0; index < kLevelCount; ++index) {
    for (int slot = 0; slot < counts[index]; ++slot) {
      puzzles[index][slot].Write(stream, true);
    }
  }
}
