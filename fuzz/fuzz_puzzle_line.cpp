// Fuzzes the tool's reader of puzzles one to a line on arbitrary bytes. Every
// line of the input, whatever its length or content, must be answered once,
// in order and under its own number: passed over (blank or '#'), malformed
// (not 81 characters, or one of them neither a digit nor '.') or read as the
// puzzle its digits spell; and a puzzle read must come back the same through
// the line writer. The reader of either format must answer in order, end,
// and keep the marks of a board's candidate lines on its empty cells only.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_streams.h"
#include "puzzle/board.h"
#include "tools/puzzle_lines.h"

namespace {

// The input's lines: split at each line feed, a last line without one kept
// when it is not empty, and carriage returns before the line end dropped.
std::vector<std::string> Lines(const uint8_t* data, size_t size) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += char(data[i]);
    }
  }
  if (!line.empty()) lines.push_back(line);
  for (std::string& l : lines) {
    while (!l.empty() && l.back() == '\r') l.pop_back();
  }
  return lines;
}

// Each of the 81 characters is a digit or '.'.
bool AllCells(const std::string& line) {
  for (char ch : line) {
    if (!((ch >= '0' && ch <= '9') || ch == '.')) return false;
  }
  return true;
}

void CheckPuzzle(const Board& board, const std::string& line) {
  for (int i = 0; i < 81; ++i) {
    const int row = i / 9, col = i % 9;
    const char ch = line[i];
    const int want = (ch >= '1' && ch <= '9') ? ch - '0' : 0;
    FUZZ_CHECK(board.GetValue(row, col) == want, "a digit of the line is a given");
    FUZZ_CHECK(board.IsGiven(row, col) == (want != 0), "only digits are given");
    FUZZ_CHECK(board.CandidateCount(row, col) == 0, "a line holds no marks");
  }
  char written[83];
  FormatPuzzleLine(board, written);
  FUZZ_CHECK(written[81] == '\n' && written[82] == '\0', "the written line ends once");
  for (int i = 0; i < 81; ++i) {
    const char ch = line[i];
    FUZZ_CHECK(written[i] == ((ch >= '1' && ch <= '9') ? ch : '.'), "written as read");
  }
  // The written line reads back as the same puzzle.
  FILE* stream = OpenBytes(reinterpret_cast<const uint8_t*>(written), 82);
  Board again;
  int number = 0;
  FUZZ_CHECK(ReadPuzzleLine(stream, &again, &number) == kPuzzleLineRead, "written line reads");
  FUZZ_CHECK(number == 1, "one line written");
  for (int i = 0; i < 81; ++i) {
    FUZZ_CHECK(again.GetValue(i / 9, i % 9) == board.GetValue(i / 9, i % 9), "round trip");
  }
  FUZZ_CHECK(ReadPuzzleLine(stream, &again, &number) == kPuzzleLineEnd, "nothing more");
  std::fclose(stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> lines = Lines(data, size);

  // A line of 81 characters among the first nine that are neither blank nor
  // comments tells a file of puzzle lines.
  bool holdsLines = false;
  int counted = 0;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == '#') continue;
    if (++counted > 9) break;
    if (line.size() == 81) {
      holdsLines = true;
      break;
    }
  }
  FILE* stream = OpenBytes(data, size);
  FUZZ_CHECK((PuzzleFileReader(stream).Kind() == kPuzzleFileLines) == holdsLines,
             "a puzzle line among the first nine lines marks a file of puzzle lines");
  std::rewind(stream);

  Board board;
  int number = 0;
  size_t next = 0;  // index of the next line the reader must answer
  for (;;) {
    const PuzzleLineResult result = ReadPuzzleLine(stream, &board, &number);
    while (next < lines.size() && (lines[next].empty() || lines[next][0] == '#')) ++next;
    if (next == lines.size()) {
      FUZZ_CHECK(result == kPuzzleLineEnd, "the end comes after the last line");
      break;
    }
    FUZZ_CHECK(result != kPuzzleLineEnd, "every line is answered");
    FUZZ_CHECK(number == int(next) + 1, "each answer names its own line");
    const std::string& line = lines[next];
    if (line.size() != 81) {
      FUZZ_CHECK(result == kPuzzleLineMalformed, "a line of another length is malformed");
    } else if (!AllCells(line)) {
      FUZZ_CHECK(result == kPuzzleLineMalformed, "a character that is no cell is malformed");
    } else {
      FUZZ_CHECK(result == kPuzzleLineRead, "a line of 81 characters is a puzzle");
      CheckPuzzle(board, line);
    }
    ++next;
  }
  FUZZ_CHECK(ReadPuzzleLine(stream, &board, &number) == kPuzzleLineEnd, "the end stays the end");

  // The reader of either format answers in the order of the lines, and ends.
  std::rewind(stream);
  PuzzleFileReader reader(stream);
  int last = 0;
  PuzzleReadResult result;
  while ((result = reader.Next(&board)) != kPuzzleEnd) {
    FUZZ_CHECK(reader.Line() > last && reader.Line() <= int(lines.size()), "answers in order");
    last = reader.Line();
    if (result != kPuzzleRead) continue;
    for (int i = 0; i < 81; ++i) {
      const int row = i / 9, col = i % 9;
      FUZZ_CHECK(board.HasValue(row, col) == board.IsGiven(row, col), "every value read is given");
      FUZZ_CHECK(!board.HasValue(row, col) || board.CandidateCount(row, col) == 0,
                 "candidate lines mark empty cells only");
    }
  }
  FUZZ_CHECK(reader.Next(&board) == kPuzzleEnd, "the reader's end stays");
  std::fclose(stream);
  return 0;
}
