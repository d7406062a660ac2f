// Streams for the fuzz targets: arbitrary bytes read as a text stream, and a
// stream written into memory, without touching the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A read-only stream over the bytes, which must outlive it; an empty input
// gives a stream at its end. Never null (the target aborts when the system
// cannot make one). Close it with fclose.
FILE* OpenBytes(const uint8_t* data, size_t size);

// A stream that collects what is written to it.
class MemoryStream {
 public:
  MemoryStream();
  ~MemoryStream();
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  FILE* Stream() const { return stream; }
  // Everything written so far.
  std::string Contents();

 private:
  FILE* stream = nullptr;
  char* buffer = nullptr;
  size_t size = 0;
};

// Aborts with the message when the condition is false: a finding.
#define FUZZ_CHECK(condition, message)                                   \
  do {                                                                   \
    if (!(condition)) {                                                  \
      std::fprintf(stderr, "property failed: %s (%s:%d): %s\n", #condition, \
                   __FILE__, __LINE__, message);                         \
      std::abort();                                                      \
    }                                                                    \
  } while (0)
