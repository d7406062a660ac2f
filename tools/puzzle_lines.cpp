// Reading and writing puzzles one to a line.
#include "tools/puzzle_lines.h"

namespace {

// Room for a puzzle line and one character more, which is enough to tell a
// line of 81 characters from a longer one.
constexpr size_t kKept = 82;

#ifdef _WIN32
void LockStream(FILE* stream) { _lock_file(stream); }
void UnlockStream(FILE* stream) { _unlock_file(stream); }
int ReadUnlocked(FILE* stream) { return _getc_nolock(stream); }
#else
void LockStream(FILE* stream) { flockfile(stream); }
void UnlockStream(FILE* stream) { funlockfile(stream); }
int ReadUnlocked(FILE* stream) { return getc_unlocked(stream); }
#endif

// Reads one whole line, however long: its first characters go to `kept` (at
// most kKept), *length counts all of them; the line feed and the carriage
// returns just before it are not part of the line. A NUL byte is an
// ordinary character. False at the end of the stream.
bool ReadWholeLine(FILE* stream, char (&kept)[kKept], size_t* length) {
  size_t count = 0;
  size_t pendingReturns = 0;  // CRs not yet known to be inside the line
  bool any = false;
  int ch;
  // Streams are read by one thread at a time, so the stream's lock is taken
  // once for the line instead of once per character.
  LockStream(stream);
  while ((ch = ReadUnlocked(stream)) != EOF) {
    any = true;
    if (ch == '\n') break;
    if (ch == '\r') {
      ++pendingReturns;
      continue;
    }
    for (; pendingReturns > 0; --pendingReturns) {
      if (count < kKept) kept[count] = '\r';
      ++count;
    }
    if (count < kKept) kept[count] = char(ch);
    ++count;
  }
  UnlockStream(stream);
  *length = count;
  return any;
}

}  // namespace

bool HoldsPuzzleLines(FILE* stream) {
  char line[kKept];
  size_t length = 0;
  bool lines = false;
  while (ReadWholeLine(stream, line, &length)) {
    if (length == 0 || line[0] == '#') continue;  // passed over in both formats
    lines = length >= 81;
    break;
  }
  std::rewind(stream);
  return lines;
}

PuzzleLineResult ReadPuzzleLine(FILE* stream, Board* board, int* lineNumber) {
  char line[kKept];
  size_t length = 0;
  while (ReadWholeLine(stream, line, &length)) {
    ++*lineNumber;
    if (length == 0 || line[0] == '#') continue;
    if (length != 81) return kPuzzleLineMalformed;
    board->Clear();
    for (int i = 0; i < 81; ++i) {
      if (line[i] >= '1' && line[i] <= '9') {
        board->SetValue(i / 9, i % 9, line[i] - '0');
        board->SetGiven(i / 9, i % 9);
      }
    }
    return kPuzzleLineRead;
  }
  return kPuzzleLineEnd;
}

void FormatPuzzleLine(const Board& board, char (&line)[83]) {
  for (int i = 0; i < 81; ++i) {
    const int value = board.GetValue(i / 9, i % 9);
    line[i] = value ? char('0' + value) : '.';
  }
  line[81] = '\n';
  line[82] = '\0';
}
