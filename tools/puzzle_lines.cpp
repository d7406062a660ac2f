// Reading puzzle files of either format, and writing puzzles one to a line.
#include "tools/puzzle_lines.h"

#include <cstdio>
#include <string>

namespace {

constexpr size_t kKept = PuzzleTextLine::kKept;

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

bool IsComment(const PuzzleTextLine& l) { return l.length > 0 && l.kept[0] == '#'; }
bool IsPuzzleLine(const PuzzleTextLine& l) { return l.length == 81; }

bool IsBoardLine(const PuzzleTextLine& l) {
  if (l.length > 9) return false;
  for (size_t i = 0; i < l.length; ++i) {
    const char ch = l.kept[i];
    if (!((ch >= '0' && ch <= '9') || ch == '.' || ch == ' ')) return false;
  }
  return true;
}

// "RC" then one to nine marked digits in ascending order, row and column
// 0..8, naming a cell that `board` leaves empty.
bool IsCandidateLineOf(const PuzzleTextLine& l, const Board& board) {
  if (l.length < 3 || l.length > 11) return false;
  if (l.kept[0] < '0' || l.kept[0] > '8' || l.kept[1] < '0' || l.kept[1] > '8') return false;
  char last = '0';
  for (size_t i = 2; i < l.length; ++i) {
    if (l.kept[i] <= last || l.kept[i] > '9') return false;
    last = l.kept[i];
  }
  return !board.HasValue(l.kept[0] - '0', l.kept[1] - '0');
}

// The index of the first of 81 characters that is no cell (a digit '1'..'9',
// '.' or '0'), or -1.
int FirstNonCell(const char* chars) {
  for (int i = 0; i < 81; ++i) {
    const char ch = chars[i];
    if (!((ch >= '0' && ch <= '9') || ch == '.')) return i;
  }
  return -1;
}

// What is wrong with a puzzle line whose character `at` is no cell.
std::string NonCellText(const char* chars, int at) {
  const unsigned char ch = static_cast<unsigned char>(chars[at]);
  char text[96];
  if (ch >= ' ' && ch < 127) {
    std::snprintf(text, sizeof text, "character %d is '%c', not a digit, '.' or '0'", at + 1, ch);
  } else {
    std::snprintf(text, sizeof text, "character %d is byte 0x%02X, not a digit, '.' or '0'", at + 1,
                  unsigned(ch));
  }
  return text;
}

// Every digit '1'..'9' among `count` characters becomes a given, from cell
// `first` (row-major) on.
void PlaceGivens(const char* chars, size_t count, int first, Board* board) {
  for (size_t i = 0; i < count; ++i) {
    const int cell = first + int(i);
    if (chars[i] >= '1' && chars[i] <= '9') {
      board->SetValue(cell / 9, cell % 9, chars[i] - '0');
      board->SetGiven(cell / 9, cell % 9);
    }
  }
}

// The format told by the first nine lines that are neither blank nor
// comments (see PuzzleFileReader).
template <class Ahead>
PuzzleFileKind KindOf(const std::deque<Ahead>& ahead) {
  bool anyLine = false, anyBoardLine = false;
  for (const Ahead& a : ahead) {
    const PuzzleTextLine& l = a.text;
    if (l.length == 0 || IsComment(l)) continue;
    if (IsPuzzleLine(l)) return kPuzzleFileLines;
    anyLine = true;
    anyBoardLine = anyBoardLine || IsBoardLine(l);
  }
  return anyBoardLine ? kPuzzleFileBoards : anyLine ? kPuzzleFileNeither : kPuzzleFileEmpty;
}

}  // namespace

PuzzleLineResult ReadPuzzleLine(FILE* stream, Board* board, int* lineNumber) {
  char line[kKept];
  size_t length = 0;
  while (ReadWholeLine(stream, line, &length)) {
    ++*lineNumber;
    if (length == 0 || line[0] == '#') continue;
    if (length != 81 || FirstNonCell(line) >= 0) return kPuzzleLineMalformed;
    board->Clear();
    PlaceGivens(line, 81, 0, board);
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

PuzzleFileReader::PuzzleFileReader(FILE* source) : stream(source) {
  // Every reader of the lines passes over comments, so they are not kept;
  // blank lines are rows of a board, so a run of them is kept as one entry.
  int counted = 0;
  PuzzleTextLine l;
  while (counted < 9 && ReadWholeLine(stream, l.kept, &l.length)) {
    l.number = ++lineCount;
    if (IsComment(l)) continue;
    if (l.length == 0) {
      if (!ahead.empty() && ahead.back().text.length == 0) {
        ++ahead.back().repeat;
      } else {
        ahead.push_back({l, 1});
      }
      continue;
    }
    ahead.push_back({l, 1});
    ++counted;
    if (IsPuzzleLine(l)) break;
  }
  kind = KindOf(ahead);
}

bool PuzzleFileReader::NextLine(PuzzleTextLine* out) {
  if (holding) {
    holding = false;
    *out = held;
    return true;
  }
  if (!ahead.empty()) {
    AheadLine& first = ahead.front();
    *out = first.text;
    if (--first.repeat > 0) {
      ++first.text.number;
    } else {
      ahead.pop_front();
    }
    return true;
  }
  if (!ReadWholeLine(stream, out->kept, &out->length)) return false;
  out->number = ++lineCount;
  return true;
}

PuzzleReadResult PuzzleFileReader::Bad(const PuzzleTextLine& bad, const std::string& text, bool ends) {
  line = bad.number;
  badText = text;
  ended = ended || ends;
  return kPuzzleBadLine;
}

PuzzleReadResult PuzzleFileReader::Next(Board* board) {
  if (ended) return kPuzzleEnd;
  switch (kind) {
    case kPuzzleFileLines:
      return NextPuzzleLine(board);
    case kPuzzleFileBoards:
      return NextBoard(board);
    case kPuzzleFileNeither: {
      PuzzleTextLine l;
      while (NextLine(&l)) {
        if (l.length > 0 && !IsComment(l)) {
          return Bad(l, "neither a puzzle line nor a board line", true);
        }
      }
      break;
    }
    case kPuzzleFileEmpty:
      break;
  }
  ended = true;
  return kPuzzleEnd;
}

PuzzleReadResult PuzzleFileReader::NextPuzzleLine(Board* board) {
  PuzzleTextLine l;
  while (NextLine(&l)) {
    if (l.length == 0 || IsComment(l)) continue;
    if (!IsPuzzleLine(l)) return Bad(l, "not a line of 81 characters", false);
    const int nonCell = FirstNonCell(l.kept);
    if (nonCell >= 0) return Bad(l, NonCellText(l.kept, nonCell), false);
    board->Clear();
    PlaceGivens(l.kept, 81, 0, board);
    line = l.number;
    return kPuzzleRead;
  }
  ended = true;
  return kPuzzleEnd;
}

PuzzleReadResult PuzzleFileReader::NextBoard(Board* board) {
  board->Clear();
  int rows = 0;
  PuzzleTextLine l;
  while (rows < 9 && NextLine(&l)) {
    if (IsComment(l)) continue;
    if (!IsBoardLine(l)) return Bad(l, "not a board line", true);
    if (rows == 0) line = l.number;
    PlaceGivens(l.kept, l.length, rows * 9, board);
    ++rows;
  }
  if (rows < 9) {
    ended = true;
    return rows == 0 ? kPuzzleEnd : kPuzzleCutShort;
  }
  ReadCandidates(board);
  return kPuzzleRead;
}

void PuzzleFileReader::ReadCandidates(Board* board) {
  PuzzleTextLine l;
  while (NextLine(&l)) {
    if (!IsCandidateLineOf(l, *board)) {
      held = l;
      holding = true;
      return;
    }
    for (size_t i = 2; i < l.length; ++i) {
      board->SetCandidate(l.kept[0] - '0', l.kept[1] - '0', l.kept[i] - '0', true);
    }
  }
}
