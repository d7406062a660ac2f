// Scratch folders for the file tests.
#include "puzzle/test_files.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

ScratchFolder::ScratchFolder() {
  std::random_device entropy;
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return;
  for (int tries = 0; tries < 100; ++tries) {
    const std::filesystem::path candidate = base / ("kubri-test-" + std::to_string(entropy()));
    if (std::filesystem::create_directory(candidate, error)) {
      root = candidate;
      return;
    }
  }
}

ScratchFolder::~ScratchFolder() {
  if (root.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(root, error);
}

std::filesystem::path ScratchFolder::NativePath(const std::string& name) const {
  return root / std::filesystem::u8path(name);
}

std::wstring ScratchFolder::Path(const std::string& name) const {
#ifdef _WIN32
  return NativePath(name).wstring();
#else
  // POSIX names are UTF-8 bytes; decode them to UTF-32 here, since the
  // library's own conversion depends on the locale.
  const std::string bytes = NativePath(name).string();
  std::wstring wide;
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    unsigned long u = extra == 0 ? b : (b & (0x3F >> extra));
    for (int k = 1; k <= extra && i + k < bytes.size(); ++k) {
      u = (u << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    }
    wide.push_back(wchar_t(u));
    i += size_t(extra) + 1;
  }
  return wide;
#endif
}

bool ScratchFolder::WriteBytes(const std::string& name, const std::string& bytes) const {
  std::ofstream out(NativePath(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

std::string ScratchFolder::ReadBytes(const std::string& name) const {
  std::ifstream in(NativePath(name), std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ScratchFolder::ReadText(const std::string& name) const {
  std::ifstream in(NativePath(name));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int ScratchFolder::FileCount() const {
  std::error_code error;
  int count = 0;
  for (std::filesystem::directory_iterator it(root, error), end; !error && it != end;
       it.increment(error)) {
    ++count;
  }
  return count;
}

FILE* ScratchFolder::StreamOf(const std::string& bytes) {
  const std::string name = "stream-" + std::to_string(streams++);
  WriteBytes(name, bytes);
  return std::fopen(NativePath(name).string().c_str(), "r");
}

FILE* ScratchFolder::WriteStream(const std::string& name) {
  return std::fopen(NativePath(name).string().c_str(), "w");
}

Board BoardFromLine(const std::string& line) {
  Board board;
  for (int i = 0; i < 81 && i < int(line.size()); ++i) {
    if (line[i] >= '1' && line[i] <= '9') {
      board.SetValue(i / 9, i % 9, line[i] - '0');
      board.SetGiven(i / 9, i % 9);
    }
  }
  return board;
}

std::string BoardLine(const Board& board) {
  std::string line;
  for (int i = 0; i < 81; ++i) {
    line += board.HasValue(i / 9, i % 9) ? char('0' + board.GetValue(i / 9, i % 9)) : '.';
  }
  return line;
}

std::string BoardSnapshot(const Board& board) {
  std::string s;
  for (int r = 0; r < 9; ++r) {
    for (int c = 0; c < 9; ++c) {
      s += char('0' + board.GetValue(r, c));
      s += board.IsGiven(r, c) ? 'g' : '-';
      for (int d = 1; d <= 9; ++d) s += board.HasCandidate(r, c, d) ? char('0' + d) : '.';
    }
  }
  return s;
}

std::string CellMarks(const Board& board, int row, int col) {
  std::string marks;
  for (int d = 1; d <= 9; ++d) {
    if (board.HasCandidate(row, col, d)) marks += char('0' + d);
  }
  return marks;
}
