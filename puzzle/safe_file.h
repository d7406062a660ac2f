// Writing a file so that a failed write never destroys the old one: the new
// content goes to a temporary file beside the target, which replaces the
// target only once it was written, flushed and closed without an error. Also
// the encoding of wide paths and text as UTF-8.
#pragma once

#include <cstdio>
#include <string>

// Encodes a wide string as UTF-8: UTF-16 on Windows, UTF-32 elsewhere. A
// character that has no encoding (a lone surrogate, a value beyond U+10FFFF)
// becomes U+FFFD and makes the result false; *out is complete either way.
// The one conversion of wide text to UTF-8 in the program.
bool WideToUtf8(const wchar_t* text, std::string* out);

// Opens `path` for reading in text mode (wide path; converted to UTF-8 on
// POSIX systems). Null when it cannot be opened. The caller closes it.
FILE* OpenTextFileForReading(const wchar_t* path);

// Removes `<path>.tmp`, the temporary file of a SafeFileWriter for `path`
// that never finished (its process was ended mid-write). Only for a path no
// other process may be writing at the time. True when one was removed.
bool RemoveLeftoverTemporary(const wchar_t* path);

// Move-only. Usage: Open(path); write to Stream(); Commit(). Destroying a
// writer that was not committed removes its temporary file and leaves the
// target as it was.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  ~SafeFileWriter();
  SafeFileWriter(SafeFileWriter&& other) noexcept;
  SafeFileWriter& operator=(SafeFileWriter&& other) noexcept;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Creates the temporary file (text mode: CR LF line ends on Windows).
  // False when it cannot be created; false when already open.
  bool Open(const wchar_t* path);
  // The temporary file's stream; null unless open.
  FILE* Stream() const { return stream; }
  // Flushes and closes the temporary file and, when every write succeeded,
  // moves it over the target. False on any failure; the target is then
  // unchanged and the temporary file removed. The writer is closed after.
  bool Commit();

 private:
  void Discard();

  FILE* stream = nullptr;
  std::wstring target;
  std::wstring temporary;
};
