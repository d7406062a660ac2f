// Puzzles one to a line, as kubri-puzzle reads and writes them: 81
// characters, row-major, a digit '1'..'9' for a given and any other character
// for an empty cell ('.' when written). Blank lines and lines that begin with
// '#' are passed over.
#pragma once

#include <cstdio>

#include "puzzle/board.h"

enum PuzzleLineResult {
  kPuzzleLineEnd,        // the stream has no further line
  kPuzzleLineRead,       // the board holds the puzzle of the line
  kPuzzleLineMalformed,  // a line that is not 81 characters; the board is untouched
};

// True when the stream's first line that is neither blank nor a '#' comment
// is at least 81 characters long (without its line end), i.e. the stream
// holds puzzles one to a line rather than nine board lines each. The stream
// is rewound afterwards.
bool HoldsPuzzleLines(FILE* stream);

// Reads on to the next puzzle line or malformed line. *lineNumber counts the
// lines read so far (start it at 0) and so names the line just returned. Each
// line is read whole, however long, and counts once; the line end (LF or
// CR LF) is not part of it, and a NUL byte in it is an empty cell like any
// other character that is not a digit.
PuzzleLineResult ReadPuzzleLine(FILE* stream, Board* board, int* lineNumber);

// The board's values as one line: 81 characters, '.' for an empty cell, then
// '\n' and a terminating NUL.
void FormatPuzzleLine(const Board& board, char (&line)[83]);
