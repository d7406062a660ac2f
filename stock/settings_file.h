// The settings file: the window size index and every stocked puzzle, read
// once at start-up and written once at close; and the start-up step that
// makes the first puzzle.
#pragma once

#include "puzzle/board.h"
#include "stock/puzzle_stock.h"

// The view's side of the size setting, implemented by the view.
class SizeSetting {
 public:
  virtual ~SizeSetting() = default;
  // 0 large, 1 medium, 2 small.
  virtual int GetSizeIndex() const = 0;
  // Ignores values outside 0..2.
  virtual void SetSizeIndex(int index) = 0;
  // Brings the window to the size the index asks for (the client rectangle
  // handed to the view's size handler).
  virtual void FitWindowToSize() = 0;
};

// Relative to the working directory.
#ifdef _WIN32
inline constexpr wchar_t kSettingsFileName[] = L".\\Kubri.dat";
#else
inline constexpr wchar_t kSettingsFileName[] = L"Kubri.dat";
#endif

// UI thread, before the window exists. Seeds the calling thread's Rand()
// with the calendar time in seconds, then generates a level-1 puzzle into
// `current` with up to Board::kWaitedForAttempts attempts; the board is left
// as the generation leaves it, success or not.
void StartFirstPuzzle(Board& current);

// UI thread, before the generator thread starts (the stock is used without
// its lock). When the file opens: the first line's leading integer goes to
// SetSizeIndex (nothing when the file has no line at all), the window is
// fitted to the size, and every whole board after that line is graded into
// the stock. A missing or unreadable file changes nothing.
void LoadSettingsFile(SizeSetting& view, PuzzleStock& stock,
                      const wchar_t* path = kSettingsFileName);

// UI thread, after the generator thread has been joined (the stock is used
// without its lock). Writes the size index as "%d\n" and then the stock,
// levels 1, 2, 3, into a new file beside the old one, which it replaces only
// once the new one is complete. False when anything failed; the old file is
// then left as it was.
bool SaveSettingsFile(const SizeSetting& view, const PuzzleStock& stock,
                      const wchar_t* path = kSettingsFileName);

// The size line's number as the C runtime's atoi reads it (leading white
// space, an optional sign, decimal digits; 0 when there are none), except
// that a number beyond the int range stops at INT_MAX or INT_MIN instead of
// being undefined.
int ParseSizeLine(const char* line);
