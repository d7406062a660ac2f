// Writing and reading the saved game, and the small file helpers it shares
// with the records file.
#include "stock/saved_game.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "puzzle/safe_file.h"

namespace {

constexpr int kGameVersion = 1;
const char kGameHeader[] = "Kubri game ";
const char* const kSourceNames[] = {"", "level 1", "level 2", "level 3", "file", "typed"};
static_assert(sizeof kSourceNames / sizeof kSourceNames[0] == kSourceTyped + 1, "one name per source");
// Version line, seven progress lines, "cells", nine rows.
constexpr int kGameLines = 1 + 7 + 1 + 9;

int SourceFromName(const std::string& name) {
  for (int source = kSourceLevel1; source <= kSourceTyped; ++source) {
    if (name == kSourceNames[source]) return source;
  }
  return 0;
}

char HexDigit(int n) { return "0123456789abcdef"[n & 15]; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// One cell as five characters: value 0-9, 'g' for a given or '-', and the
// marks as three hex digits (bit d - 1 for digit d).
void WriteCell(FILE* stream, const Board& board, int row, int col) {
  int marks = 0;
  for (int d = 1; d <= 9; ++d) {
    if (board.HasCandidate(row, col, d)) marks |= 1 << (d - 1);
  }
  std::fprintf(stream, "%c%c%c%c%c", char('0' + board.GetValue(row, col)), board.IsGiven(row, col) ? 'g' : '-',
               HexDigit(marks >> 8), HexDigit(marks >> 4), HexDigit(marks));
}

bool ReadCell(const char* token, Board* board, int row, int col) {
  const int value = token[0] - '0';
  const bool given = token[1] == 'g';
  const int h0 = HexValue(token[2]), h1 = HexValue(token[3]), h2 = HexValue(token[4]);
  if (value < 0 || value > 9 || (!given && token[1] != '-') || h0 < 0 || h1 < 0 || h2 < 0) return false;
  const int marks = h0 << 8 | h1 << 4 | h2;
  if (marks > 0x1FF || (given && value == 0)) return false;
  if (value) board->SetValue(row, col, value);
  for (int d = 1; d <= 9; ++d) {
    if (marks & (1 << (d - 1))) board->SetCandidate(row, col, d, true);
  }
  if (given) board->SetGiven(row, col);
  return true;
}

// "d1 d2 ... d9" as five characters per cell, single spaces between.
bool ReadRow(const std::string& line, Board* board, int row) {
  if (line.size() != 9 * 5 + 8) return false;
  for (int col = 0; col < 9; ++col) {
    if (col > 0 && line[col * 6 - 1] != ' ') return false;
    if (!ReadCell(line.c_str() + col * 6, board, row, col)) return false;
  }
  return true;
}

bool ReadFlag(const std::string& line, const char* key, bool* flag) {
  long long n = 0;
  if (!ReadKeyNumber(line, key, 1, &n)) return false;
  *flag = n == 1;
  return true;
}

bool ReadProgress(const std::string* lines, SavedGame* game) {
  GameProgress& p = game->progress;
  const std::string sourcePrefix = "source ";
  if (lines[0].compare(0, sourcePrefix.size(), sourcePrefix) != 0) return false;
  p.source = SourceFromName(lines[0].substr(sourcePrefix.size()));
  long long hints = 0;
  return p.source != 0 && ReadFlag(lines[1], "editing", &game->editing) &&
         ReadKeyNumber(lines[2], "seconds", kMaxSavedSeconds, &p.seconds) &&
         ReadKeyNumber(lines[3], "hints", kMaxSavedHints, &hints) && (p.hints = int(hints), true) &&
         ReadFlag(lines[4], "answer", &p.answerUsed) && ReadFlag(lines[5], "counted", &p.counted) &&
         ReadFlag(lines[6], "finished", &p.finished);
}

bool HasGiven(const Board& board) {
  for (int i = 0; i < 81; ++i) {
    if (board.IsGiven(i / 9, i % 9)) return true;
  }
  return false;
}

}  // namespace

bool ReadKeyNumber(const std::string& line, const char* key, long long max, long long* number) {
  const size_t keyLength = std::strlen(key);
  if (line.size() <= keyLength + 1 || line.compare(0, keyLength, key) != 0 || line[keyLength] != ' ') return false;
  long long n = 0;
  for (size_t i = keyLength + 1; i < line.size(); ++i) {
    if (line[i] < '0' || line[i] > '9') return false;
    n = n * 10 + (line[i] - '0');
    if (n > max) return false;
  }
  *number = n;
  return true;
}

bool SplitLines(const std::string& text, std::string* lines, int capacity, int* count) {
  *count = 0;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos || *count == capacity) return false;
    size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines[(*count)++] = text.substr(start, stop - start);
    start = end + 1;
  }
  return true;
}

bool WriteSavedGame(FILE* stream, const SavedGame& game) {
  if (!stream) return false;
  const GameProgress& p = game.progress;
  const int source = p.source >= kSourceLevel1 && p.source <= kSourceTyped ? p.source : kSourceTyped;
  std::fprintf(stream, "%s%d\nsource %s\nediting %d\nseconds %lld\nhints %d\n", kGameHeader, kGameVersion,
               kSourceNames[source], game.editing ? 1 : 0, p.seconds, p.hints);
  std::fprintf(stream, "answer %d\ncounted %d\nfinished %d\ncells\n", p.answerUsed ? 1 : 0, p.counted ? 1 : 0,
               p.finished ? 1 : 0);
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      if (col > 0) std::fputc(' ', stream);
      WriteCell(stream, game.board, row, col);
    }
    std::fputc('\n', stream);
  }
  return true;
}

bool ParseSavedGame(const std::string& text, SavedGame* game) {
  std::string lines[kGameLines];
  int count = 0;
  if (!SplitLines(text, lines, kGameLines, &count) || count != kGameLines) return false;
  long long version = 0;
  if (!ReadKeyNumber(lines[0], "Kubri game", 999, &version) || version != kGameVersion) return false;
  if (!ReadProgress(lines + 1, game) || lines[8] != "cells") return false;
  game->board.Clear();
  for (int row = 0; row < 9; ++row) {
    if (!ReadRow(lines[9 + row], &game->board, row)) return false;
  }
  // Typing a puzzle in drops every given flag, so no given exists then.
  return !(game->editing && HasGiven(game->board));
}

GameFileResult ReadSmallFile(const wchar_t* path, size_t limit, std::string* text) {
  text->clear();
  errno = 0;
  FILE* stream = OpenTextFileForReading(path);
  if (!stream) return errno == ENOENT ? kGameFileMissing : kGameFileUnreadable;
  char buffer[512];
  size_t n = 0;
  bool tooLong = false;
  while (!tooLong && (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
    text->append(buffer, n);
    tooLong = text->size() > limit;
  }
  const bool failed = std::ferror(stream) != 0;
  std::fclose(stream);
  if (failed) return kGameFileUnreadable;
  return tooLong ? kGameFileBad : kGameFileRead;
}

GameFileResult LoadGameFile(const wchar_t* path, SavedGame* game) {
  return LoadCheckedFile(path, kMaxGameFileBytes,
                         [game](const std::string& text) { return ParseSavedGame(text, game); });
}

bool SaveGameFile(const wchar_t* path, const SavedGame& game) {
  SafeFileWriter writer;
  if (!writer.Open(path)) return false;
  WriteSavedGame(writer.Stream(), game);
  return writer.Commit();
}

bool SetFileAside(const wchar_t* path) {
  if (!path || !*path) return false;
  const std::filesystem::path from{std::wstring(path)};
  std::error_code error;
  for (int n = 1; n <= 99; ++n) {
    std::wstring name = std::wstring(path) + L".bad";
    if (n > 1) name += std::to_wstring(n);
    const std::filesystem::path to{name};
    if (std::filesystem::exists(to, error) || error) continue;
    std::filesystem::rename(from, to, error);
    return !error;
  }
  return false;
}

std::wstring SiblingPath(const wchar_t* path, const wchar_t* name) {
  const std::wstring whole = path ? path : L"";
  const size_t slash = whole.find_last_of(L"\\/");
  return (slash == std::wstring::npos ? std::wstring() : whole.substr(0, slash + 1)) + name;
}
