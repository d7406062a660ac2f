// Reading and writing puzzles one to a line.
#include "tools/puzzle_lines.h"

#include <cstring>

namespace {

// Length of a line without its line end.
size_t Trimmed(const char* line) {
  size_t length = std::strlen(line);
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) --length;
  return length;
}

}  // namespace

bool HoldsPuzzleLines(FILE* stream) {
  char line[256];
  const bool lines = std::fgets(line, sizeof line, stream) && Trimmed(line) >= 81;
  std::rewind(stream);
  return lines;
}

PuzzleLineResult ReadPuzzleLine(FILE* stream, Board* board, int* lineNumber) {
  char line[256];
  while (std::fgets(line, sizeof line, stream)) {
    ++*lineNumber;
    const size_t length = Trimmed(line);
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
