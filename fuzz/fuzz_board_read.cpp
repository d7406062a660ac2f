// Fuzzes the puzzle text reader on arbitrary bytes: one puzzle with its
// candidate lines, and a stream of board-only puzzles as the stock file holds
// them. Each outcome is held against a reference reading of the same bytes,
// and whatever was read must come back unchanged through the writer.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_streams.h"
#include "puzzle/board.h"

namespace {

// The lines a 256-byte line buffer yields: pieces of at most 255 bytes, each
// ending after a line feed or where the piece is full, and a last piece at
// the end of the input. A NUL byte ends what the reader sees of a piece.
std::vector<std::string> Pieces(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces;
  std::string piece;
  for (size_t i = 0; i < size; ++i) {
    piece += char(data[i]);
    if (data[i] == '\n' || piece.size() == 255) {
      pieces.push_back(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  for (std::string& p : pieces) p = std::string(p.c_str());
  return pieces;
}

struct Expected {
  int values[81] = {};
  bool marks[81][9] = {};
};

void ExpectBoardLine(const std::string& line, int row, Expected& e) {
  for (int col = 0; col < 9 && size_t(col) < line.size(); ++col) {
    if (line[col] >= '1' && line[col] <= '9') e.values[row * 9 + col] = line[col] - '0';
  }
}

void ExpectCandidateLine(const std::string& line, Expected& e) {
  if (line.size() < 2 || line[0] < '0' || line[0] > '8' || line[1] < '0' || line[1] > '8') return;
  const int cell = (line[0] - '0') * 9 + (line[1] - '0');
  if (e.values[cell] != 0) return;  // a given keeps no marks
  for (size_t i = 2; i < line.size() && i < 11 && line[i] >= '1' && line[i] <= '9'; ++i) {
    e.marks[cell][line[i] - '1'] = true;
  }
}

void CheckMatches(const Board& board, const Expected& e, const char* what) {
  for (int i = 0; i < 81; ++i) {
    const int row = i / 9, col = i % 9;
    FUZZ_CHECK(board.GetValue(row, col) == e.values[i], what);
    FUZZ_CHECK(board.IsGiven(row, col) == (e.values[i] != 0), what);
    for (int d = 1; d <= 9; ++d) {
      FUZZ_CHECK(board.HasCandidate(row, col, d) == e.marks[i][d - 1], what);
    }
  }
}

bool SameCells(const Board& a, const Board& b) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (a.GetValue(row, col) != b.GetValue(row, col)) return false;
      if (a.IsGiven(row, col) != b.IsGiven(row, col)) return false;
      for (int d = 1; d <= 9; ++d) {
        if (a.HasCandidate(row, col, d) != b.HasCandidate(row, col, d)) return false;
      }
    }
  }
  return true;
}

bool IsEmpty(const Board& board) {
  Board empty;
  return SameCells(board, empty);
}

// Reads text back from what the writer produced.
bool ReadText(const std::string& text, Board* board, bool boardOnly) {
  FILE* stream = OpenBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  const bool read = board->Read(stream, boardOnly);
  std::fclose(stream);
  return read;
}

void FuzzOnePuzzle(const uint8_t* data, size_t size, const std::vector<std::string>& pieces) {
  Expected e;
  for (size_t row = 0; row < 9 && row < pieces.size(); ++row) ExpectBoardLine(pieces[row], int(row), e);
  if (pieces.size() >= 9) {
    for (size_t i = 9; i < pieces.size(); ++i) ExpectCandidateLine(pieces[i], e);
  }

  Board board;
  board.SetValue(4, 4, 5);  // the reader must start from an empty board
  FILE* stream = OpenBytes(data, size);
  const bool read = board.Read(stream, false);
  std::fclose(stream);
  FUZZ_CHECK(read == (pieces.size() >= 9), "result says whether nine lines were read");
  CheckMatches(board, e, "puzzle read as the format defines");

  // Written and read again, a board that was read whole comes back the same:
  // values as givens, marks of the empty cells.
  MemoryStream out;
  FUZZ_CHECK(board.Write(out.Stream(), false), "write to an open stream");
  const std::string text = out.Contents();
  Board again;
  FUZZ_CHECK(ReadText(text, &again, false), "written puzzle reads whole");
  FUZZ_CHECK(SameCells(board, again), "puzzle survives a write and a read");

  // The board-only variant keeps the values and drops the marks.
  MemoryStream boardOnly;
  board.Write(boardOnly.Stream(), true);
  Board valuesOnly;
  FUZZ_CHECK(ReadText(boardOnly.Contents(), &valuesOnly, false), "board-only text reads whole");
  Expected plain;
  std::memcpy(plain.values, e.values, sizeof plain.values);
  CheckMatches(valuesOnly, plain, "board-only text keeps the values alone");
}

void FuzzStream(const uint8_t* data, size_t size, const std::vector<std::string>& pieces) {
  // Board-only reads consume nine lines each; the last read may be short.
  std::vector<Board> boards;
  FILE* stream = OpenBytes(data, size);
  Board board;
  size_t next = 0;
  for (;;) {
    const bool read = board.Read(stream, true);
    Expected e;
    for (int row = 0; row < 9 && next + row < pieces.size(); ++row) {
      ExpectBoardLine(pieces[next + row], row, e);
    }
    CheckMatches(board, e, "stream board read as the format defines");
    FUZZ_CHECK(read == (next + 9 <= pieces.size()), "whole boards read true, a cut one false");
    if (!read) break;
    boards.push_back(board);
    next += 9;
  }
  std::fclose(stream);

  // The boards written one after another read back one after another, and a
  // further read at the end gives false and an empty board.
  MemoryStream out;
  for (const Board& b : boards) b.Write(out.Stream(), true);
  const std::string text = out.Contents();
  FUZZ_CHECK(text.size() == boards.size() * 90, "nine lines of nine cells per board");
  stream = OpenBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  for (const Board& b : boards) {
    FUZZ_CHECK(board.Read(stream, true), "written board reads whole");
    FUZZ_CHECK(SameCells(board, b), "stream board survives a write and a read");
  }
  FUZZ_CHECK(!board.Read(stream, true), "nothing after the last board");
  FUZZ_CHECK(IsEmpty(board), "a read at the end leaves an empty board");
  std::fclose(stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> pieces = Pieces(data, size);
  FuzzOnePuzzle(data, size, pieces);
  FuzzStream(data, size, pieces);
  return 0;
}
