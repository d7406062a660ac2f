// The program icon file: a directory Windows reads, every size present, the
// largest as a PNG whose chunks check out, and a drawing that shows a board.
#include "resources/app_icon.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

unsigned Le16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return Le16(b, at) | (std::uint32_t{Le16(b, at + 2)} << 16);
}
std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

TEST(AppIconTest, DirectoryListsEverySizeWithImagesBackToBack) {
  const std::vector<std::uint8_t> file = BuildAppIconFile();
  ASSERT_GE(file.size(), 6u);
  EXPECT_EQ(0u, Le16(file, 0));
  EXPECT_EQ(1u, Le16(file, 2));
  ASSERT_EQ(static_cast<unsigned>(kAppIconSizeCount), Le16(file, 4));
  std::uint32_t expectedOffset = 6 + 16 * kAppIconSizeCount;
  for (int i = 0; i < kAppIconSizeCount; ++i) {
    const std::size_t entry = 6 + 16 * i;
    const int size = kAppIconSizes[i];
    EXPECT_EQ(size % 256, file[entry]) << size;
    EXPECT_EQ(size % 256, file[entry + 1]) << size;
    EXPECT_EQ(32u, Le16(file, entry + 6));
    const std::uint32_t bytes = Le32(file, entry + 8), offset = Le32(file, entry + 12);
    EXPECT_EQ(expectedOffset, offset) << size;
    ASSERT_LE(std::size_t{offset} + bytes, file.size()) << size;
    expectedOffset = offset + bytes;
    if (size < 256) {
      // A bitmap header twice as tall (colour and mask), 32 bits, uncompressed.
      EXPECT_EQ(40u, Le32(file, offset));
      EXPECT_EQ(static_cast<std::uint32_t>(size), Le32(file, offset + 4));
      EXPECT_EQ(static_cast<std::uint32_t>(2 * size), Le32(file, offset + 8));
      EXPECT_EQ(32u, Le16(file, offset + 14));
      const std::uint32_t maskRow = ((size + 31) / 32) * 4;
      EXPECT_EQ(40 + 4u * size * size + maskRow * size, bytes) << size;
    }
  }
  EXPECT_EQ(expectedOffset, file.size());
}

TEST(AppIconTest, LargestSizeIsAPngWithSoundChunks) {
  const std::vector<std::uint8_t> file = BuildAppIconFile();
  const std::size_t last = 6 + 16 * (kAppIconSizeCount - 1);
  const std::size_t start = Le32(file, last + 12), end = start + Le32(file, last + 8);
  const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  ASSERT_EQ(0, std::memcmp(&file[start], signature, 8));
  std::size_t at = start + 8;
  std::string types;
  while (at + 12 <= end) {
    const std::uint32_t length = Be32(file, at);
    ASSERT_LE(at + 12 + length, end);
    types += std::string(reinterpret_cast<const char*>(&file[at + 4]), 4) + " ";
    EXPECT_EQ(Be32(file, at + 8 + length), Crc32(&file[at + 4], 4 + length)) << types;
    if (types == "IHDR ") {
      EXPECT_EQ(256u, Be32(file, at + 8));
      EXPECT_EQ(256u, Be32(file, at + 12));
      EXPECT_EQ(8, file[at + 16]);  // bits per channel
      EXPECT_EQ(6, file[at + 17]);  // RGBA
    }
    at += 12 + length;
  }
  EXPECT_EQ("IHDR IDAT IEND ", types);
  EXPECT_EQ(end, at);
}

TEST(AppIconTest, Crc32MatchesTheKnownCheckValue) {
  const char* text = "123456789";
  EXPECT_EQ(0xCBF43926u, Crc32(reinterpret_cast<const std::uint8_t*>(text), 9));
}

TEST(AppIconTest, DrawsAnOpaqueBoxOnATransparentSurroundAtEverySize) {
  for (int size : kAppIconSizes) {
    const std::vector<std::uint8_t> rgba = DrawAppIcon(size);
    auto pixel = [&](int x, int y) { return &rgba[(y * size + x) * 4]; };
    EXPECT_EQ(0, pixel(0, 0)[3]) << size;
    EXPECT_EQ(0, pixel(size - 1, size - 1)[3]) << size;
    if (size < 48) continue;
    // Just inside the top-left corner of the middle cell: the selection's yellow.
    const int inside = static_cast<int>(size / 16.0 + size * 7 / 8.0 * 0.37);
    const std::uint8_t* selected = pixel(inside, inside);
    EXPECT_EQ(255, selected[3]) << size;
    EXPECT_GT(selected[0], 240) << size;
    EXPECT_GT(selected[1], 240) << size;
    EXPECT_LT(selected[2], 16) << size;
  }
  EXPECT_EQ(BuildAppIconFile(), BuildAppIconFile());
}

}  // namespace
