// Shared helpers of the stock's tests: puzzles of known level, board
// comparison and text, and scratch files in a folder of their own.
#pragma once

#include <filesystem>
#include <string>

#include "puzzle/board.h"
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

// A folder of its own under the system's temporary folder, removed with
// everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool IsReady() const { return !folder.empty(); }
  std::filesystem::path PathOf(const char* name) const { return folder / name; }
  // Creates or replaces the file with exactly these bytes (binary).
  bool WriteBytes(const char* name, const std::string& bytes) const;
  // The file's bytes as stored (binary); empty when it cannot be read.
  std::string ReadBytes(const char* name) const;
  // The file's content read in text mode, so line ends come back as '\n'.
  std::string ReadText(const char* name) const;
  // Names of the files in the folder.
  int FileCount() const;

 private:
  std::filesystem::path folder;
};
