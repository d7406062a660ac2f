// Helpers for the tests: scratch files in a folder of their own under the
// system's temporary directory, removed again when the holder goes, and
// boards written as 81-character lines.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "puzzle/board.h"

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // False when no folder could be made.
  bool IsReady() const { return !root.empty(); }
  // The wide path of a file in the folder (name in ASCII or UTF-8).
  std::wstring Path(const std::string& name) const;
  std::filesystem::path NativePath(const std::string& name) const;
  // Writes bytes as they are (no line-end translation); false on failure.
  bool WriteBytes(const std::string& name, const std::string& bytes) const;
  // The bytes of a file, or "<missing>".
  std::string ReadBytes(const std::string& name) const;
  // The file read in text mode, so line ends come back as '\n'; empty when
  // it cannot be read.
  std::string ReadText(const std::string& name) const;
  // How many entries the folder holds.
  int FileCount() const;
  // A text-mode read stream over the given bytes; the caller closes it.
  FILE* StreamOf(const std::string& bytes);
  // Opens a fresh text-mode write stream; ReadBytes(name) later shows it.
  FILE* WriteStream(const std::string& name);

 private:
  std::filesystem::path root;
  int streams = 0;
};

// A board whose digits '1'..'9' of an 81-character line are givens (any
// other character an empty cell), and the line of a board's values ('.'
// for an empty cell).
Board BoardFromLine(const std::string& line);
std::string BoardLine(const Board& board);
// Everything a cell holds, cell by cell: its value, 'g' for a given or '-',
// and its marks ('.' for each digit not marked).
std::string BoardSnapshot(const Board& board);
// The marks of (row, col) as a string of digits, "" for none.
std::string CellMarks(const Board& board, int row, int col);
