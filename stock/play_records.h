// The player's records per level (puzzles solved, best and total time,
// hints used), the file that keeps them, their text for the records box,
// and the clock that times the current puzzle.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "stock/saved_game.h"

struct LevelRecord {
  long long solved = 0;
  long long bestSeconds = 0;   // 0 while nothing is solved
  long long totalSeconds = 0;  // of all solved puzzles, for the average
  long long hints = 0;         // used on the solved puzzles, in total
};

// Which puzzle a board belongs to: a hash of its given digits and their
// cells, so that a saved game names its puzzle without a field of its own.
using PuzzleKey = std::uint64_t;
PuzzleKey PuzzleKeyOf(const Board& board);

// How many counted puzzles the records remember. Only the puzzle of the
// saved game can come back after a crash, so a few are plenty.
constexpr int kRememberedPuzzles = 32;

struct PlayRecords {
  LevelRecord levels[kPlayLevelCount];  // level L at L - kLowestLevel
  // The last puzzles counted, oldest first: a solve is counted in the same
  // write that remembers its puzzle, so no crash can count it twice.
  PuzzleKey counted[kRememberedPuzzles] = {};
  int countedCount = 0;
};

// Largest number a records file may hold.
constexpr long long kMaxRecordNumber = 999999999999LL;

// Whether the records remember counting the puzzle `key`.
bool HasCounted(const PlayRecords& records, PuzzleKey key);
// Remembers `key` as counted; the oldest one makes room when all are taken.
void NoteCounted(PlayRecords* records, PuzzleKey key);

enum SolveCount {
  kSolveNotCounting,     // not a level puzzle, or the answer was shown
  kSolveCountedBefore,   // already in the records: nothing to write
  kSolveCountedNow,      // added to `records`, which must now be written
};
// A puzzle judged correct: adds it to `records` at its level with `seconds`
// and its hints, and remembers its key, unless it does not count or was
// counted already (by the progress or by the records' memory).
SolveCount CountSolve(PlayRecords* records, const GameProgress& progress, PuzzleKey key, long long seconds);

// Whether solving the puzzle of `progress` now adds to the records: it
// comes from a play level, the answer was not shown on it, and it is not
// in the records yet. Hints do not matter.
bool CountsAsSolved(const GameProgress& progress);
// One more solved puzzle at `level` (a play level; others ignored) that took
// `seconds` with `hints` hints.
void AddSolved(PlayRecords* records, int level, long long seconds, int hints);

// A version line, one line per level, then one "counted" line per puzzle
// remembered.
bool WriteRecords(FILE* stream, const PlayRecords& records);
// False for anything but complete records of this version (or of version 1,
// which remembers no puzzles) with possible numbers (a best time above the
// average, times without a solved puzzle) and well-formed puzzle keys.
bool ParseRecords(const std::string& text, PlayRecords* records);

// The records' file name, beside the settings file (SiblingPath).
inline constexpr wchar_t kRecordsFileName[] = L"KubriRecords.dat";

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
