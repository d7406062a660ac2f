// Fuzzes the settings file as start-up reads it: the size line, then boards
// graded into the stock, whatever the bytes. What is kept must be what the
// grading admits, in file order, at most twenty a level, and the file the
// stock then writes must load back into the same stock and size.
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_streams.h"
#include "puzzle/board.h"
#include "puzzle/grade.h"
#include "stock/puzzle_stock.h"
#include "stock/settings_file.h"

namespace {

// The view's size setting as the view keeps it: 0..2, others ignored.
class FakeSize : public SizeSetting {
 public:
  int GetSizeIndex() const override { return index; }
  void SetSizeIndex(int value) override {
    ++sets;
    if (value >= 0 && value <= 2) index = value;
  }
  void FitWindowToSize() override { ++fits; }

  int index = 1;
  int sets = 0;
  int fits = 0;
};

std::wstring Widen(const std::string& narrow) { return std::wstring(narrow.begin(), narrow.end()); }

// Per-process file names, so that parallel fuzzing jobs do not share them.
const std::wstring& InputPath() {
  static const std::wstring path =
      Widen("/tmp/kubri-fuzz-stock-in-" + std::to_string(getpid()) + ".dat");
  return path;
}
const std::wstring& SavedPath() {
  static const std::wstring path =
      Widen("/tmp/kubri-fuzz-stock-out-" + std::to_string(getpid()) + ".dat");
  return path;
}

void WriteFile(const std::wstring& path, const uint8_t* data, size_t size) {
  const std::string narrow(path.begin(), path.end());
  FILE* file = std::fopen(narrow.c_str(), "wb");
  FUZZ_CHECK(file != nullptr, "temporary input file");
  if (size > 0) FUZZ_CHECK(std::fwrite(data, 1, size, file) == size, "temporary input file");
  std::fclose(file);
}

// The first line as a 256-byte buffer holds it, read the way atoi reads a
// number, with values beyond int saturated.
long long ReferenceSize(const std::string& line) {
  const long long value = std::strtoll(line.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return value;
}

bool GivensOnly(const Board& board) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (board.HasValue(row, col) != board.IsGiven(row, col)) return false;
      if (board.CandidateCount(row, col) != 0) return false;
    }
  }
  return true;
}

bool SameValues(const Board& a, const Board& b) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (a.GetValue(row, col) != b.GetValue(row, col)) return false;
      if (a.IsGiven(row, col) != b.IsGiven(row, col)) return false;
    }
  }
  return true;
}

// Takes every puzzle out of the stock: per level, in slot order.
std::vector<std::vector<Board>> TakeAll(PuzzleStock& stock) {
  std::vector<std::vector<Board>> levels(3);
  for (int level = 1; level <= 3; ++level) {
    const int count = stock.Count(level);
    FUZZ_CHECK(count >= 0 && count <= 20, "at most twenty puzzles a level");
    for (int i = 0; i < count; ++i) {
      Board board;
      stock.Take(&board, level, true);
      levels[level - 1].insert(levels[level - 1].begin(), board);
    }
  }
  return levels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFile(InputPath(), data, size);

  // The reference: the first piece of at most 255 bytes is the size line;
  // the rest are board lines, nine to a board, graded in file order.
  FILE* reference = OpenBytes(data, size);
  char line[256];
  const bool hasSizeLine = std::fgets(line, sizeof line, reference) != nullptr;
  std::vector<std::vector<Board>> expected(3);
  Board board;
  while (board.Read(reference, true)) {
    const int grade = GradePuzzle(board);
    if (grade >= 1 && grade <= 3 && expected[grade - 1].size() < 20) {
      expected[grade - 1].push_back(board);
    }
  }
  std::fclose(reference);

  FakeSize view;
  PuzzleStock stock;
  LoadSettingsFile(view, stock, InputPath().c_str());
  FUZZ_CHECK(view.fits == 1, "the window is fitted once the file is open");
  FUZZ_CHECK(view.sets == (hasSizeLine ? 1 : 0), "the size line is passed on when there is one");
  if (hasSizeLine) {
    const long long sizeIndex = ReferenceSize(line);
    const int want = (sizeIndex >= 0 && sizeIndex <= 2) ? int(sizeIndex) : 1;
    FUZZ_CHECK(view.index == want, "the size line is read as atoi reads it");
  } else {
    FUZZ_CHECK(view.index == 1, "no size line keeps the default size");
  }

  // Saved and loaded again: the same size and the same stock.
  FUZZ_CHECK(SaveSettingsFile(view, stock, SavedPath().c_str()), "the stock is saved");
  FakeSize reloadedView;
  reloadedView.index = 0;
  PuzzleStock reloaded;
  LoadSettingsFile(reloadedView, reloaded, SavedPath().c_str());
  FUZZ_CHECK(reloadedView.index == view.index, "the size comes back");

  const std::vector<std::vector<Board>> kept = TakeAll(stock);
  const std::vector<std::vector<Board>> back = TakeAll(reloaded);
  for (int level = 0; level < 3; ++level) {
    FUZZ_CHECK(kept[level].size() == expected[level].size(), "every admitted puzzle is kept");
    FUZZ_CHECK(back[level].size() == kept[level].size(), "every kept puzzle comes back");
    for (size_t i = 0; i < kept[level].size(); ++i) {
      FUZZ_CHECK(GivensOnly(kept[level][i]), "a stocked puzzle holds givens only");
      FUZZ_CHECK(SameValues(kept[level][i], expected[level][i]),
                 "filed under its grade, in file order");
      FUZZ_CHECK(SameValues(back[level][i], kept[level][i]), "the saved stock loads the same");
    }
  }
  return 0;
}
