// Puzzle files as kubri-puzzle reads them: puzzles one to a line, or boards
// of nine lines, told apart by their contents. A puzzle line holds 81
// characters, row-major, a digit '1'..'9' for a given and '.' or '0' for an
// empty cell ('.' when written); any other character makes it a bad line. A
// board line holds at most 9 of the characters '0'..'9', '.' and space. A
// board may be followed at once by candidate lines, as a puzzle file and
// the tool's own solve output have them. Lines that begin with '#' are passed
// over in both formats, blank lines in a file of puzzle lines.
#pragma once

#include <cstddef>
#include <cstdio>
#include <deque>
#include <string>

#include "puzzle/board.h"

enum PuzzleLineResult {
  kPuzzleLineEnd,        // the stream has no further line
  kPuzzleLineRead,       // the board holds the puzzle of the line
  kPuzzleLineMalformed,  // not 81 characters, or one that is no cell; the board is untouched
};

// Reads on to the next puzzle line or malformed line. *lineNumber counts the
// lines read so far (start it at 0) and so names the line just returned. Each
// line is read whole, however long, and counts once; the line end (LF or
// CR LF) is not part of it. A NUL byte is a character like any other, and
// so makes the line malformed.
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
// need not be seekable: the lines read to recognise the format are kept,
// comments dropped and each run of blank lines held as one entry, so that
// the memory kept stays small whatever the file holds.
// The format is that of the first nine lines that are neither blank nor
// comments: puzzle lines when one of them is 81 characters long, else board
// lines when one of them is a board line, else neither. A file of puzzle
// lines answers a bad line and goes on; a file of board lines ends at its
// first bad line, and a file of neither kind answers its first line that is
// not blank or a comment as bad, then ends.
//
// In a file of board lines, the lines that follow a board's nine lines at
// once (no blank line or comment between) and name an empty cell of it are
// its candidate lines: the row and column as digits 0..8, then one to nine
// marked digits in ascending order, as Board::Write writes them. The first
// line that is not one begins the next board. So a puzzle file, a file of
// boards one after another and the tool's own solve output (boards, their
// candidate lines, a verdict comment after each) all read as the boards they
// hold.
class PuzzleFileReader {
 public:
  explicit PuzzleFileReader(FILE* stream);
  PuzzleFileKind Kind() const { return kind; }
  // Reads the next puzzle into *board (cleared first), with the marks of its
  // candidate lines.
  PuzzleReadResult Next(Board* board);
  // The line of the last answer: the puzzle line, a board's first line, or
  // the bad line.
  int Line() const { return line; }
  // What a bad line was taken for: "not a line of 81 characters", a puzzle
  // line's first character that is no cell, "not a board line" or "neither
  // a puzzle line nor a board line".
  const char* BadLineText() const { return badText.c_str(); }

 private:
  // A line read ahead; a run of `repeat` blank lines is held as one.
  struct AheadLine {
    PuzzleTextLine text;
    int repeat;
  };
  bool NextLine(PuzzleTextLine* out);
  PuzzleReadResult NextPuzzleLine(Board* board);
  PuzzleReadResult NextBoard(Board* board);
  void ReadCandidates(Board* board);
  PuzzleReadResult Bad(const PuzzleTextLine& bad, const std::string& text, bool ends);

  FILE* stream;
  std::deque<AheadLine> ahead;  // read to recognise the format, not yet answered
  PuzzleTextLine held;          // read past the end of a board's candidate lines
  bool holding = false;
  int lineCount = 0;
  PuzzleFileKind kind = kPuzzleFileEmpty;
  bool ended = false;
  int line = 0;
  std::string badText;
};
