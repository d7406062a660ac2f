// Reading and writing the settings file, and the first puzzle at start-up.
#include "stock/settings_file.h"

#include <climits>
#include <ctime>

#include "puzzle/random.h"
#include "puzzle/safe_file.h"

namespace {

constexpr int kSizeLineBuffer = 256;

}  // namespace

void StartFirstPuzzle(Board& current) {
  SeedRand(static_cast<unsigned>(std::time(nullptr)));
  current.Generate(1, 1, Board::kWaitedForAttempts);
}

int ParseSizeLine(const char* line) {
  if (line == nullptr) return 0;
  const char* p = line;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' ||
         *p == '\r') {
    ++p;
  }
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Accumulated as a negative number, whose range reaches INT_MIN.
  int value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    const int digit = *p - '0';
    if (value < (INT_MIN + digit) / 10) return negative ? INT_MIN : INT_MAX;
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == INT_MIN ? INT_MAX : -value;
}

void LoadSettingsFile(SizeSetting& view, PuzzleStock& stock, const wchar_t* path) {
  FILE* stream = OpenTextFileForReading(path);
  if (stream == nullptr) return;
  char line[kSizeLineBuffer];
  if (std::fgets(line, sizeof line, stream) != nullptr) {
    view.SetSizeIndex(ParseSizeLine(line));
  }
  view.FitWindowToSize();
  stock.ReadFrom(stream);
  std::fclose(stream);
}

bool SaveSettingsFile(const SizeSetting& view, const PuzzleStock& stock,
                      const wchar_t* path) {
  SafeFileWriter writer;
  if (!writer.Open(path)) return false;
  std::fprintf(writer.Stream(), "%d\n", view.GetSizeIndex());
  stock.WriteTo(writer.Stream());
  return writer.Commit();
}
