// The player's records per level (puzzles solved, best and total time,
// hints used), the file that keeps them, their text for the records box,
// and the clock that times the current puzzle.
#pragma once

#include <cstdio>
#include <string>

#include "stock/saved_game.h"

struct LevelRecord {
  long long solved = 0;
  long long bestSeconds = 0;   // 0 while nothing is solved
  long long totalSeconds = 0;  // of all solved puzzles, for the average
  long long hints = 0;         // used on the solved puzzles, in total
};

struct PlayRecords {
  LevelRecord levels[3];  // levels 1, 2, 3
};

// Largest number a records file may hold.
constexpr long long kMaxRecordNumber = 999999999999LL;

// Whether solving the puzzle of `progress` now adds to the records: it
// comes from level 1 to 3, the answer was not shown on it, and it is not
// in the records yet. Hints do not matter.
bool CountsAsSolved(const GameProgress& progress);
// One more solved puzzle at `level` (1..3; others ignored) that took
// `seconds` with `hints` hints.
void AddSolved(PlayRecords* records, int level, long long seconds, int hints);

// A version line, then one line per level.
bool WriteRecords(FILE* stream, const PlayRecords& records);
// False for anything but complete records of this version with possible
// numbers (a best time above the average, times without a solved puzzle).
bool ParseRecords(const std::string& text, PlayRecords* records);

// Reads the records file into `records` (all zero unless kGameFileRead).
// A damaged, newer or impossible file is renamed aside (as SetFileAside)
// and reported kGameFileBad.
GameFileResult LoadRecordsFile(const wchar_t* path, PlayRecords* records);
// Atomic, as SaveGameFile.
bool SaveRecordsFile(const wchar_t* path, const PlayRecords& records);

// The records box: per level the solved count and, once there is one, the
// best and average times and the hints; then the current puzzle's time.
// Times as m:ss, or h:mm:ss from an hour on.
std::wstring FormatRecords(const PlayRecords& records, long long currentSeconds);
std::wstring FormatDuration(long long seconds);

// Time played: counts the milliseconds between two updates only when the
// game was being played at the first of them.
class PlayClock {
 public:
  // `now` in milliseconds of any steady clock; `playing` whether the time
  // from now on counts. A clock going backwards counts nothing.
  void Update(unsigned long long now, bool playing);
  // Starts again from `seconds`, not playing.
  void Reset(long long seconds);
  long long Seconds() const { return static_cast<long long>(elapsed / 1000); }

 private:
  unsigned long long elapsed = 0;
  unsigned long long last = 0;
  bool running = false;
};
