// The game in progress as a file of its own beside the settings file: the
// board with its givens and marks, edit mode, where the puzzle came from,
// the time played and what the records need to know about it.
#pragma once

#include <cstdio>
#include <string>

#include "puzzle/board.h"
#include "solver/techniques.h"

// Where the current puzzle came from. A puzzle made at a play level has
// that level as its source.
enum PuzzleSource {
  kSourceLevel1 = kLowestLevel,
  kSourceLevel2,
  kSourceLevel3,
  kSourceFile,
  kSourceTyped,
};
static_assert(kSourceLevel3 == kHighestPlayLevel, "one source per play level, then the others");

// Whether `source` is a play level, so that the puzzle may count in the records.
constexpr bool IsLevelSource(int source) { return IsPlayLevel(source); }

// What the game knows about the puzzle it shows, besides the board.
struct GameProgress {
  int source = kSourceLevel1;
  long long seconds = 0;    // played on it, while the window was active
  int hints = 0;            // hints asked for on it
  bool answerUsed = false;  // the answer was shown on it
  bool counted = false;     // already in the records
  bool finished = false;    // judged correct and not changed since
};

struct SavedGame {
  Board board;
  bool editing = false;
  GameProgress progress;
};

// Largest time and hint count a file may hold; more is impossible content.
constexpr long long kMaxSavedSeconds = 999999999;
constexpr int kMaxSavedHints = 999999;
// Files longer than this are not read: no game is that long.
constexpr size_t kMaxGameFileBytes = 4096;

enum GameFileResult {
  kGameFileRead,        // a game was read
  kGameFileMissing,     // no file
  kGameFileUnreadable,  // a file that cannot be opened or set aside; left alone
  kGameFileBad,         // damaged, newer or impossible; now set aside
};

// Writes the game as text: a version line, the progress lines, then one
// line per row of nine cells. Never fails on a stream; false without one.
bool WriteSavedGame(FILE* stream, const SavedGame& game);
// The whole file's text (LF or CR LF line ends) into `game`. False for
// anything but a complete game of this version with possible contents:
// a value with marks is fine, a given without a value, a given in edit
// mode, a mark beyond 9 or an unknown source are not. `game` is
// unspecified after false.
bool ParseSavedGame(const std::string& text, SavedGame* game);

// The game's file name, beside the settings file (SiblingPath).
inline constexpr wchar_t kGameFileName[] = L"KubriGame.dat";

// Reads the file at `path`. A bad file is renamed to `<path>.bad` (or a
// numbered name beside it when that exists), never deleted; when it cannot
// be renamed the result is kGameFileUnreadable, and the caller must then
// not write over it.
GameFileResult LoadGameFile(const wchar_t* path, SavedGame* game);
// Atomic: a new file replaces the old only once written whole. False on
// any failure; the old file is then as it was.
bool SaveGameFile(const wchar_t* path, const SavedGame& game);

// Reads the file's bytes, at most `limit`. kGameFileRead with the text,
// kGameFileMissing, kGameFileUnreadable when it exists but cannot be
// opened, kGameFileBad when longer than `limit`.
GameFileResult ReadSmallFile(const wchar_t* path, size_t limit, std::string* text);
// Renames `path` to `<path>.bad`, or `<path>.bad2` ... `<path>.bad99` when
// those exist; never replaces a file. False when nothing could be renamed.
bool SetFileAside(const wchar_t* path);
// The file `name` in the folder of `path` (".\Kubri.dat" gives ".\name").
std::wstring SiblingPath(const wchar_t* path, const wchar_t* name);

// Reads the file with ReadSmallFile and hands its text to `parse`, which
// answers whether it is good; a bad file is set aside as LoadGameFile says.
template <typename Parse>
GameFileResult LoadCheckedFile(const wchar_t* path, size_t limit, Parse parse) {
  std::string text;
  GameFileResult result = ReadSmallFile(path, limit, &text);
  if (result == kGameFileRead && !parse(text)) result = kGameFileBad;
  if (result == kGameFileBad && !SetFileAside(path)) result = kGameFileUnreadable;
  return result;
}

// Reads "<key> <number>" from `line`: true with the number when the key
// matches and the number is decimal digits only, at most `max`.
bool ReadKeyNumber(const std::string& line, const char* key, long long max, long long* number);
// Splits text into lines at LF, dropping one CR before each LF. The text
// must end with a line end; false when it does not.
bool SplitLines(const std::string& text, std::string* lines, int capacity, int* count);
