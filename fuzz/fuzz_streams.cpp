// Memory-backed streams for the fuzz targets.
#include "fuzz/fuzz_streams.h"

#include <cstdlib>
#include <cstring>

FILE* OpenBytes(const uint8_t* data, size_t size) {
  // fmemopen refuses a buffer of size 0 on some systems: an empty input is
  // the empty device, which stays empty when rewound.
  FILE* stream = nullptr;
  if (size == 0) {
    stream = std::fopen("/dev/null", "r");
  } else {
    // Read mode never writes to the buffer; it outlives the stream, which
    // the caller closes before the input goes away.
    stream = fmemopen(const_cast<uint8_t*>(data), size, "r");
  }
  if (!stream) {
    std::fprintf(stderr, "cannot open a memory stream\n");
    std::abort();
  }
  return stream;
}

MemoryStream::MemoryStream() {
  stream = open_memstream(&buffer, &size);
  if (!stream) {
    std::fprintf(stderr, "cannot open a memory stream\n");
    std::abort();
  }
}

MemoryStream::~MemoryStream() {
  std::fclose(stream);
  std::free(buffer);
}

std::string MemoryStream::Contents() {
  std::fflush(stream);
  return std::string(buffer, size);
}
