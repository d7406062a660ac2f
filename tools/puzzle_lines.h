// Puzzle files as kubri-puzzle reads them: puzzles one to a line, or boards
// of nine lines, told apart by their contents. A puzzle line holds 81
// characters, row-major, a digit '1'..'9' for a given and any other character
// for an empty cell ('.' when written). A board line holds at most 9 of the
// characters '0'..'9', '.' and space. Lines that begin with '#' are passed
// over in both formats, blank lines in a file of puzzle lines.
#pragma once

#include <cstddef>
#include <cstdio>
#include <deque>

#include "puzzle/board.h"

enum PuzzleLineResult {
  kPuzzleLineEnd,        // the stream has no further line
  kPuzzleLineRead,       // the board holds the puzzle of the line
  kPuzzleLineMalformed,  // a line that is not 81 characters; the board is untouched
};

// Reads on to the next puzzle line or malformed line. *lineNumber counts the
// lines read so far (start it at 0) and so names the line just returned. Each
// line is read whole, however long, and counts once; the line end (LF or
// CR LF) is not part of it, and a NUL byte in it is an empty cell like any
// other character that is not a digit.
PuzzleLineResult ReadPuzzleLine(FILE* stream, Board* board, int* lineNumber);

// The board's values as one line: 81 characters, '.' for an empty cell, then
// '\n' and a terminating NUL.
void FormatPuzzleLine(const Board& board, char (&line)[83]);

enum PuzzleFileKind {
  kPuzzleFileLines,    // puzzles one to a line
  kPuzzleFileBoards,   // nine board lines per puzzle
  kPuzzleFileNeither,  // lines of neither kind
  kPuzzleFileEmpty,    // nothing but blank lines and comments
};

enum PuzzleReadResult {
  kPuzzleEnd,       // no further puzzle
  kPuzzleRead,      // the board holds the next puzzle
  kPuzzleBadLine,   // Line() fits the file's format nowhere (see BadLineText)
  kPuzzleCutShort,  // the file ended within a board; Line() is its first line
};

// One line as read: its first characters, and its whole length.
struct PuzzleTextLine {
  static constexpr size_t kKept = 82;  // enough to tell 81 characters from more
  char kept[kKept];
  size_t length = 0;
  int number = 0;  // counting from 1
};

// Reads the puzzles of one stream (borrowed; the caller closes it), which
// need not be seekable: the lines read to recognise the format are kept.
// The format is that of the first nine lines that are neither blank nor
// comments: puzzle lines when one of them is 81 characters long, else board
// lines when one of them is a board line, else neither. A file of puzzle
// lines answers a bad line and goes on; a file of board lines ends at its
// first bad line, and a file of neither kind answers its first line that is
// not blank or a comment as bad, then ends.
class PuzzleFileReader {
 public:
  explicit PuzzleFileReader(FILE* stream);
  PuzzleFileKind Kind() const { return kind; }
  // Reads the next puzzle into *board (cleared first). In a file of board
  // lines, `oneWithCandidates` reads the first board as a puzzle file does:
  // the lines after its nine board lines are candidate lines ("RC" then the
  // marked digits, row and column 0..8), blank lines or comments.
  PuzzleReadResult Next(Board* board, bool oneWithCandidates);
  // The line of the last answer: the puzzle line, a board's first line, or
  // the bad line.
  int Line() const { return line; }
  // What a bad line was taken for: "not a line of 81 characters", "not a
  // board line", "not a candidate line" or "neither a puzzle line nor a
  // board line".
  const char* BadLineText() const { return badText; }

 private:
  bool NextLine(PuzzleTextLine* out);
  PuzzleReadResult NextPuzzleLine(Board* board);
  PuzzleReadResult NextBoard(Board* board, bool withCandidates);
  PuzzleReadResult ReadCandidates(Board* board);
  PuzzleReadResult Bad(const PuzzleTextLine& bad, const char* text, bool ends);

  FILE* stream;
  std::deque<PuzzleTextLine> ahead;  // read to recognise the format, not yet answered
  int lineCount = 0;
  PuzzleFileKind kind = kPuzzleFileEmpty;
  bool ended = false;
  int line = 0;
  const char* badText = "";
};
