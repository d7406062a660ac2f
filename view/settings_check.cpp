// kubri_settings_check FILE: reads a settings file the way the game does and
// grades every stocked puzzle. Prints the size index, the number of puzzles
// and each puzzle's level in file order; returns 0 when every puzzle grades
// at a play level (1 to 3), the levels never go down (level 1's puzzles come
// first, then level 2's, then level 3's) and no level holds more than the
// stock keeps (20).
#include <cstdio>
#include <cstdlib>

#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "stock/puzzle_stock.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kubri_settings_check FILE\n");
    return 2;
  }
  std::FILE* file = _wfopen(argv[1], L"r");
  if (!file) {
    std::fprintf(stderr, "kubri_settings_check: cannot open the file\n");
    return 2;
  }
  char line[256];
  if (!std::fgets(line, sizeof line, file)) {
    std::fclose(file);
    std::fprintf(stderr, "kubri_settings_check: no size line\n");
    return 1;
  }
  std::printf("size %d\n", std::atoi(line));
  int counts[PuzzleStock::kLevelCount] = {};
  int previous = kLowestLevel;
  int puzzles = 0;
  bool ordered = true;
  Board board;
  std::printf("levels");
  while (board.Read(file, true)) {
    int level = GradePuzzle(board);
    std::printf(" %d", level);
    ++puzzles;
    if (!IsPlayLevel(level) || level < previous) {
      ordered = false;
    } else {
      previous = level;
      ++counts[level - kLowestLevel];
    }
  }
  std::fclose(file);
  std::printf("\npuzzles %d\n", puzzles);
  bool ok = ordered;
  for (int count : counts) ok = ok && count <= PuzzleStock::kSlotsPerLevel;
  return ok ? 0 : 1;
}
