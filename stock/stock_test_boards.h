// Shared helpers of the stock's tests: puzzles of known level, board
// comparison and text.
#pragma once

#include <string>

#include "puzzle/board.h"
#include "puzzle/test_files.h"
#include "stock/puzzle_stock.h"

// Puzzles per level held by the fixtures: more than a level's twenty slots.
constexpr int kFixturePuzzlesPerLevel = 25;

// The index-th fixture puzzle of level 1..3 (index 0..24): givens only, each
// one different, graded to exactly that level.
Board FixturePuzzle(int level, int index);
// A board whose givens are the digits of nine row strings ('1'..'9'; any
// other character leaves the cell empty).
Board BoardFromRows(const char* const rows[9]);
// Adds the first `count` fixtures of the level to the stock.
void AddFixtures(PuzzleStock& stock, int level, int count);
// Puzzles held at all three levels together.
int TotalCount(const PuzzleStock& stock);

// Givens that contradict each other: two 5s in row 0.
Board ContradictoryPuzzle();
// A consistent board that level 3 cannot complete: a single given.
Board UnfinishablePuzzle();

// The nine board lines of the board, each ending in '\n'.
std::string BoardText(const Board& board);
// Same values and same given flags in every cell.
bool SameGivens(const Board& a, const Board& b);
