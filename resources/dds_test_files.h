// DDS files for the reader's tests: a header for any size, level count and
// pixel format, followed by made-up surface bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "resources/dds_reader.h"

// A pixel format as a header spells it.
struct Spelling {
  std::uint32_t flags, fourCc, bits, red, green, blue, alpha;
};

inline const Spelling kA8R8G8B8 = {0x41, 0, 32, 0xff0000, 0xff00, 0xff, 0xff000000};
inline const Spelling kX8R8G8B8 = {0x40, 0, 32, 0xff0000, 0xff00, 0xff, 0};
inline const Spelling kA4R4G4B4 = {0x41, 0, 16, 0xf00, 0xf0, 0xf, 0xf000};
inline const Spelling kA1R5G5B5 = {0x41, 0, 16, 0x7c00, 0x3e0, 0x1f, 0x8000};
inline const Spelling kR5G6B5 = {0x40, 0, 16, 0xf800, 0x7e0, 0x1f, 0};
inline const Spelling kA8 = {0x2, 0, 8, 0, 0, 0, 0xff};
inline const Spelling kL8 = {0x20000, 0, 8, 0xff, 0, 0, 0};
inline const Spelling kA8L8 = {0x20001, 0, 16, 0xff, 0, 0, 0xff00};
inline const Spelling kR8G8B8 = {0x40, 0, 24, 0xff0000, 0xff00, 0xff, 0};
inline const Spelling kX1R5G5B5 = {0x40, 0, 16, 0x7c00, 0x3e0, 0x1f, 0};
inline const Spelling kA8B8G8R8 = {0x41, 0, 32, 0xff, 0xff00, 0xff0000, 0xff000000};
inline const Spelling kX8B8G8R8 = {0x40, 0, 32, 0xff, 0xff00, 0xff0000, 0};
inline Spelling FourCc(std::uint32_t code) { return {0x4, code, 0, 0, 0, 0, 0}; }

inline void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(value >> (8 * i));
}

// A header for a width x height image with `mips` levels (0: no count given),
// followed by `dataBytes` bytes counting up from 0.
inline std::vector<std::uint8_t> File(const Spelling& s, std::uint32_t width, std::uint32_t height,
                               std::uint32_t mips, std::size_t dataBytes) {
  std::vector<std::uint8_t> bytes(kDdsDataOffset + dataBytes, 0);
  std::memcpy(bytes.data(), "DDS ", 4);
  Put(bytes, 4, 124);
  Put(bytes, 8, 0x1007 | (mips ? 0x20000 : 0));
  Put(bytes, 12, height);
  Put(bytes, 16, width);
  Put(bytes, 28, mips);
  Put(bytes, 76, 32);
  Put(bytes, 80, s.flags);
  Put(bytes, 84, s.fourCc);
  Put(bytes, 88, s.bits);
  Put(bytes, 92, s.red);
  Put(bytes, 96, s.green);
  Put(bytes, 100, s.blue);
  Put(bytes, 104, s.alpha);
  for (std::size_t i = 0; i < dataBytes; ++i) bytes[kDdsDataOffset + i] = std::uint8_t(i * 7 + 1);
  return bytes;
}

