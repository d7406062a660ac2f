// Opening puzzle files by wide path, and replacing a file only once its new
// content has been written completely.
#include "puzzle/safe_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

FILE* OpenText(const wchar_t* path, bool write) {
  if (!path || !*path) return nullptr;
#ifdef _WIN32
  return _wfopen(path, write ? L"w" : L"r");
#else
  // POSIX file names are bytes; wide paths travel as UTF-8.
  std::string native;
  if (!WideToUtf8(path, &native)) return nullptr;
  return std::fopen(native.c_str(), write ? "w" : "r");
#endif
}

std::filesystem::path NativePath(const std::wstring& path) {
#ifdef _WIN32
  return std::filesystem::path(path);
#else
  std::string native;
  WideToUtf8(path.c_str(), &native);
  return std::filesystem::path(native);
#endif
}

// Appends the UTF-8 bytes of code point u (at most U+10FFFF).
void AppendUtf8(unsigned long u, std::string* out) {
  if (u < 0x80) {
    out->push_back(char(u));
  } else if (u < 0x800) {
    out->push_back(char(0xC0 | (u >> 6)));
    out->push_back(char(0x80 | (u & 0x3F)));
  } else if (u < 0x10000) {
    out->push_back(char(0xE0 | (u >> 12)));
    out->push_back(char(0x80 | ((u >> 6) & 0x3F)));
    out->push_back(char(0x80 | (u & 0x3F)));
  } else {
    out->push_back(char(0xF0 | (u >> 18)));
    out->push_back(char(0x80 | ((u >> 12) & 0x3F)));
    out->push_back(char(0x80 | ((u >> 6) & 0x3F)));
    out->push_back(char(0x80 | (u & 0x3F)));
  }
}

}  // namespace

bool WideToUtf8(const wchar_t* text, std::string* out) {
  out->clear();
  bool exact = true;
  for (; *text; ++text) {
    unsigned long u = static_cast<unsigned long>(*text);
    if (sizeof(wchar_t) == 2) u &= 0xFFFF;
    const unsigned long next = sizeof(wchar_t) == 2 ? static_cast<unsigned long>(text[1]) & 0xFFFF : 0;
    if (u >= 0xD800 && u <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (next - 0xDC00);  // a UTF-16 pair
      ++text;
    } else if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF) {
      u = 0xFFFD;
      exact = false;
    }
    AppendUtf8(u, out);
  }
  return exact;
}

FILE* OpenTextFileForReading(const wchar_t* path) { return OpenText(path, false); }

bool RemoveLeftoverTemporary(const wchar_t* path) {
  if (!path || !*path) return false;
  std::error_code error;
  return std::filesystem::remove(NativePath(std::wstring(path) + L".tmp"), error) && !error;
}

SafeFileWriter::~SafeFileWriter() { Discard(); }

SafeFileWriter::SafeFileWriter(SafeFileWriter&& other) noexcept
    : stream(other.stream),
      target(std::move(other.target)),
      temporary(std::move(other.temporary)) {
  other.stream = nullptr;
}

SafeFileWriter& SafeFileWriter::operator=(SafeFileWriter&& other) noexcept {
  if (this != &other) {
    Discard();
    stream = other.stream;
    target = std::move(other.target);
    temporary = std::move(other.temporary);
    other.stream = nullptr;
  }
  return *this;
}

bool SafeFileWriter::Open(const wchar_t* path) {
  if (stream || !path || !*path) return false;
  target = path;
  temporary = target + L".tmp";
  stream = OpenText(temporary.c_str(), true);
  return stream != nullptr;
}

bool SafeFileWriter::Commit() {
  if (!stream) return false;
  bool ok = std::fflush(stream) == 0;
  ok = !std::ferror(stream) && ok;
  ok = std::fclose(stream) == 0 && ok;
  stream = nullptr;
  std::error_code error;
  if (ok) {
    std::filesystem::rename(NativePath(temporary), NativePath(target), error);
    ok = !error;
  }
  if (!ok) std::filesystem::remove(NativePath(temporary), error);
  return ok;
}

void SafeFileWriter::Discard() {
  if (!stream) return;
  std::fclose(stream);
  stream = nullptr;
  std::error_code error;
  std::filesystem::remove(NativePath(temporary), error);
}
