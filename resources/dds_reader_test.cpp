// The DDS reader: the digit texture as the game makes it, each format's row
// rule with and without a chain of levels, and headers that lie.
#include "resources/dds_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "resources/dds_test_files.h"
#include "resources/digit_texture.h"

namespace {

bool Reads(const std::vector<std::uint8_t>& bytes, DdsImage* image) {
  return DdsReadImage(bytes.data(), bytes.size(), image);
}

std::uint32_t Pixel32(const std::uint8_t* level, std::uint32_t rowBytes, std::uint32_t x,
                      std::uint32_t y) {
  std::uint32_t value;
  std::memcpy(&value, level + std::size_t(rowBytes) * y + 4 * x, 4);
  return value;
}

TEST(DdsReader, DigitTextureIsWidenedTo256WithAFullChainOfNearestPixels) {
  const std::vector<std::uint8_t> file = BuildDigitTextureFile();
  DdsImage image;
  ASSERT_TRUE(Reads(file, &image));
  EXPECT_EQ(kDdsFormatA8R8G8B8, image.format);
  EXPECT_EQ(192u, image.width);
  EXPECT_EQ(1, image.levelCount);

  DdsTexture texture;
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(kDdsFormatA8R8G8B8, texture.format);
  EXPECT_EQ(256u, texture.width);
  EXPECT_EQ(256u, texture.height);
  ASSERT_EQ(9, texture.levelCount);
  EXPECT_EQ(1u, texture.levels[8].width);
  EXPECT_EQ(texture.levels[8].offset + 4, texture.pixels.size());

  const std::uint8_t* top = texture.pixels.data();
  const std::uint8_t* source = file.data() + kDdsDataOffset;
  for (std::uint32_t y = 0; y < 256; y += 5) {
    for (std::uint32_t x = 0; x < 256; x += 3) {
      ASSERT_EQ(Pixel32(source, 768, x * 3 / 4, y * 3 / 4), Pixel32(top, 1024, x, y))
          << x << "," << y;
    }
  }
  // Each smaller level takes every other pixel of the one above.
  const std::uint8_t* second = top + texture.levels[1].offset;
  EXPECT_EQ(Pixel32(top, 1024, 90, 34), Pixel32(second, 512, 45, 17));
  const std::uint8_t* third = top + texture.levels[2].offset;
  EXPECT_EQ(Pixel32(second, 512, 62, 8), Pixel32(third, 256, 31, 4));
}

TEST(DdsReader, EveryFormatHasItsOwnRowRuleOnEveryLevel) {
  struct Case {
    const char* name;
    Spelling spelling;
    std::uint32_t format;
    std::uint32_t topRowBytes, topRows;  // for 10 x 6 pixels
    std::size_t chainBytes;              // 10x6, 5x3, 2x1, 1x1
  } cases[] = {
      {"A8R8G8B8", kA8R8G8B8, kDdsFormatA8R8G8B8, 40, 6, 4 * (60 + 15 + 2 + 1)},
      {"X8R8G8B8", kX8R8G8B8, kDdsFormatX8R8G8B8, 40, 6, 4 * 78},
      {"A4R4G4B4", kA4R4G4B4, kDdsFormatA4R4G4B4, 20, 6, 2 * 78},
      {"A1R5G5B5", kA1R5G5B5, kDdsFormatA1R5G5B5, 20, 6, 2 * 78},
      {"R5G6B5", kR5G6B5, kDdsFormatR5G6B5, 20, 6, 2 * 78},
      {"A8", kA8, kDdsFormatA8, 10, 6, 78},
      {"L8", kL8, kDdsFormatL8, 10, 6, 78},
      {"A8L8", kA8L8, kDdsFormatA8L8, 20, 6, 2 * 78},
      // Blocks: 3 x 2, 2 x 1, 1 x 1, 1 x 1.
      {"DXT1", FourCc(kDdsFormatDxt1), kDdsFormatDxt1, 24, 2, 8 * (6 + 2 + 1 + 1)},
      {"DXT2", FourCc(kDdsFormatDxt2), kDdsFormatDxt2, 48, 2, 16 * 10},
      {"DXT3", FourCc(kDdsFormatDxt3), kDdsFormatDxt3, 48, 2, 16 * 10},
      {"DXT4", FourCc(kDdsFormatDxt4), kDdsFormatDxt4, 48, 2, 16 * 10},
      {"DXT5", FourCc(kDdsFormatDxt5), kDdsFormatDxt5, 48, 2, 16 * 10},
      // A Direct3D format code in place of the four characters.
      {"code 21", FourCc(21), kDdsFormatA8R8G8B8, 40, 6, 4 * 78},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DdsImage image;
    ASSERT_TRUE(Reads(File(c.spelling, 10, 6, 4, c.chainBytes), &image));
    EXPECT_EQ(c.format, image.format);
    EXPECT_EQ(c.topRowBytes, image.levels[0].rowBytes);
    EXPECT_EQ(c.topRows, image.levels[0].rows);
    ASSERT_EQ(4, image.levelCount);
    EXPECT_EQ(2u, image.levels[2].width);
    EXPECT_EQ(1u, image.levels[2].height);
    EXPECT_FALSE(Reads(File(c.spelling, 10, 6, 4, c.chainBytes - 1), &image)) << "one byte short";

    // Without a chain only the top level must be there.
    const std::size_t top = std::size_t(c.topRowBytes) * c.topRows;
    ASSERT_TRUE(Reads(File(c.spelling, 10, 6, 0, top), &image));
    EXPECT_EQ(1, image.levelCount);
    EXPECT_FALSE(Reads(File(c.spelling, 10, 6, 0, top - 1), &image));
  }
}

TEST(DdsReader, CompressedImageKeepsItsSizeLevelsAndBlocks) {
  const std::vector<std::uint8_t> file = File(FourCc(kDdsFormatDxt5), 12, 8, 2, 16 * (6 + 2));
  DdsTexture texture;
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(12u, texture.width);
  EXPECT_EQ(8u, texture.height);
  EXPECT_EQ(2, texture.levelCount);
  ASSERT_EQ(16u * 8, texture.pixels.size());
  EXPECT_EQ(0, std::memcmp(texture.pixels.data(), file.data() + kDdsDataOffset, 16 * 8));
}

TEST(DdsReader, FileLevelsAreStretchedAndMissingOnesMadeFromTheLevelAbove) {
  // 3 x 2 L8 with its own second level (1 x 1) becomes 4 x 2 with 3 levels.
  std::vector<std::uint8_t> file = File(kL8, 3, 2, 2, 6 + 1);
  const std::uint8_t top[] = {10, 11, 12, 20, 21, 22};
  std::memcpy(file.data() + kDdsDataOffset, top, 6);
  file[kDdsDataOffset + 6] = 99;
  DdsTexture texture;
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(4u, texture.width);
  EXPECT_EQ(2u, texture.height);
  ASSERT_EQ(3, texture.levelCount);
  const std::vector<std::uint8_t> expected = {10, 10, 11, 12, 20, 20, 21, 22,  // x * 3 / 4
                                              99, 99,                          // the file's own
                                              99};                             // from above
  EXPECT_EQ(expected, texture.pixels);
}

TEST(DdsReader, UnusedByteOfX8R8G8B8IsClearedOnEveryLevel) {
  const std::vector<std::uint8_t> file = File(kX8R8G8B8, 2, 2, 0, 16);
  DdsTexture texture;
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  ASSERT_EQ(4u * (4 + 1), texture.pixels.size());
  for (std::size_t i = 0; i < texture.pixels.size(); ++i) {
    EXPECT_EQ(i % 4 == 3 ? 0 : file[kDdsDataOffset + i % 16], texture.pixels[i]) << i;
  }
}

TEST(DdsReader, LyingOrHostileHeadersReadNothing) {
  const std::vector<std::uint8_t> good = File(kA8R8G8B8, 4, 4, 0, 64);
  DdsImage image;
  ASSERT_TRUE(Reads(good, &image));
  // Bytes beyond the levels and a pitch that lies are both ignored.
  std::vector<std::uint8_t> longer = good;
  longer.resize(good.size() + 100);
  Put(longer, 20, 0xfffffff0);
  EXPECT_TRUE(Reads(longer, &image));

  auto broken = [&](std::size_t at, std::uint32_t value) {
    std::vector<std::uint8_t> bytes = good;
    Put(bytes, at, value);
    return bytes;
  };
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"no magic", broken(0, 0x20534444 + 1)},
      {"header size", broken(4, 128)},
      {"pixel format size", broken(76, 0)},
      {"zero width", broken(16, 0)},
      {"zero height", broken(12, 0)},
      {"huge width", broken(16, 0x40000000)},
      {"width past the limit", broken(16, kDdsMaxDimension + 1)},
      {"height that overflows the data", broken(12, 0xffffffff)},
      {"mip count beyond the size", File(kA8R8G8B8, 4, 4, 4, 4 * 21)},
      {"mip count beyond any size", File(kA8R8G8B8, 4, 4, 0xffffffff, 4 * 21)},
      {"cube map", broken(112, 0x200 | 0xfc00)},
      {"volume", broken(8, 0x1007 | 0x800000)},
      {"unknown four characters", File(FourCc(0x30315844), 4, 4, 0, 64)},
      {"24-bit colour with alpha", File({0x41, 0, 24, 0xff0000, 0xff00, 0xff, 0xff000000}, 4, 4, 0, 48)},
      {"ten-bit channels", File({0x41, 0, 32, 0x3ff00000, 0xffc00, 0x3ff, 0xc0000000}, 4, 4, 0, 64)},
      {"header cut short", std::vector<std::uint8_t>(good.begin(), good.begin() + 100)},
      {"nothing", {}},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Reads(c.bytes, &image)) << c.what;
    DdsTexture texture;
    EXPECT_FALSE(DdsBuildTexture(c.bytes.data(), c.bytes.size(), &texture)) << c.what;
  }
  EXPECT_FALSE(DdsReadImage(nullptr, 0, &image));
}

TEST(DdsReader, LargestImageIsTakenAndLaidOutWithoutOverflow) {
  const std::size_t top = std::size_t(4) * kDdsMaxDimension * kDdsMaxDimension;
  DdsImage image;
  std::vector<std::uint8_t> file = File(kA8R8G8B8, kDdsMaxDimension, kDdsMaxDimension, 0, top);
  ASSERT_TRUE(Reads(file, &image));
  DdsTexture texture;
  DdsPlanTexture(image, &texture);
  EXPECT_EQ(kDdsMaxLevels, texture.levelCount);
  EXPECT_EQ(top + top / 4 + top / 16, texture.levels[3].offset);
  EXPECT_LE(file.size(), kDdsMaxFileBytes);
}

// --- Formats image tools write ---------------------------------------------

TEST(DdsReader, ImageToolFormatsComeOverOrConvertTo32Bits) {
  DdsImage image;
  std::uint32_t formats[4];
  // R8G8B8 2 x 1: (1, 8, 15) and (22, 29, 36) as B, G, R.
  std::vector<std::uint8_t> file = File(kR8G8B8, 2, 1, 0, 6);
  ASSERT_TRUE(Reads(file, &image));
  EXPECT_EQ(kDdsFormatR8G8B8, image.format);
  ASSERT_EQ(3, DdsTextureFormats(image, formats));
  EXPECT_EQ(kDdsFormatX8R8G8B8, formats[1]);
  EXPECT_EQ(kDdsFormatA8R8G8B8, formats[2]);
  DdsTexture texture;
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture, kDdsFormatX8R8G8B8));
  EXPECT_EQ(kDdsFormatX8R8G8B8, texture.format);
  EXPECT_EQ(2u, texture.width);
  EXPECT_EQ(8u, texture.levels[0].rowBytes);
  EXPECT_EQ(0x000f0801u, Pixel32(texture.pixels.data(), 8, 0, 0));
  EXPECT_EQ(0x00241d16u, Pixel32(texture.pixels.data(), 8, 1, 0));
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture, kDdsFormatA8R8G8B8));
  EXPECT_EQ(0xff0f0801u, Pixel32(texture.pixels.data(), 8, 0, 0));
  // A format it cannot convert to is refused.
  EXPECT_FALSE(DdsBuildTexture(file.data(), file.size(), &texture, kDdsFormatR5G6B5));

  // X1R5G5B5 stays itself with its unused bit cleared; widened to 8 bits
  // each channel is v * 255 / 31, rounded.
  file = File(kX1R5G5B5, 2, 1, 0, 4);
  file[128] = 0xff;  // 0xffff: all channels 31, the unused bit set
  file[129] = 0xff;
  file[130] = 0x21;  // 0x0421: red 1, green 1, blue 1
  file[131] = 0x04;
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(kDdsFormatX1R5G5B5, texture.format);
  EXPECT_EQ(0x7f, texture.pixels[1]);
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture, kDdsFormatA8R8G8B8));
  EXPECT_EQ(0xffffffffu, Pixel32(texture.pixels.data(), 8, 0, 0));
  EXPECT_EQ(0xff080808u, Pixel32(texture.pixels.data(), 8, 1, 0));

  // A8B8G8R8 keeps its bytes; X8B8G8R8 clears its unused byte.
  file = File(kA8B8G8R8, 1, 1, 0, 4);
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(kDdsFormatA8B8G8R8, texture.format);
  EXPECT_EQ(0, std::memcmp(texture.pixels.data(), file.data() + kDdsDataOffset, 4));
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture, kDdsFormatA8R8G8B8));
  EXPECT_EQ(0x1601080fu, Pixel32(texture.pixels.data(), 4, 0, 0));  // R 1, G 8, B 15, A 22
  file = File(kX8B8G8R8, 1, 1, 0, 4);
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(0, texture.pixels[3]);
}

// One DXT1 block of red and blue, and DXT5 alpha from 255 down to 0.
std::vector<std::uint8_t> OddCompressedFile(std::uint32_t code, std::uint32_t side) {
  const std::uint32_t blocks = (side + 3) / 4;
  const std::uint32_t blockBytes = code == kDdsFormatDxt1 ? 8 : 16;
  std::vector<std::uint8_t> file = File(FourCc(code), side, side, 0, blocks * blocks * blockBytes);
  for (std::uint32_t b = 0; b < blocks * blocks; ++b) {
    std::uint8_t* block = &file[kDdsDataOffset + b * blockBytes];
    std::memset(block, 0, blockBytes);
    std::uint8_t* colour = block + blockBytes - 8;
    colour[0] = 0x00;  // c0 red 0xf800
    colour[1] = 0xf8;
    colour[2] = 0x1f;  // c1 blue 0x001f
    colour[3] = 0x00;
    colour[4] = 0x04;  // first row: c0, c1, c0, c0
    if (blockBytes == 16) {
      block[0] = 255;  // a0
      block[1] = 0;    // a1
      block[2] = 0x08;  // pixel 1: index 1 (a1 = 0); pixel 0: index 0
    }
  }
  return file;
}

TEST(DdsReader, CompressedImagesWithOddSidesAreDecodedAndWidened) {
  DdsImage image;
  std::vector<std::uint8_t> file = OddCompressedFile(kDdsFormatDxt1, 6);
  ASSERT_TRUE(Reads(file, &image));
  std::uint32_t formats[4];
  ASSERT_EQ(1, DdsTextureFormats(image, formats));
  EXPECT_EQ(kDdsFormatA8R8G8B8, formats[0]);
  DdsTexture texture;
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(kDdsFormatA8R8G8B8, texture.format);
  EXPECT_EQ(8u, texture.width);
  EXPECT_EQ(8u, texture.height);
  EXPECT_EQ(4, texture.levelCount);
  // Pixel x of the 8-wide level is pixel x * 6 / 8 of the image: 0, 0, 1, 2.
  EXPECT_EQ(0xffff0000u, Pixel32(texture.pixels.data(), 32, 1, 0));
  EXPECT_EQ(0xff0000ffu, Pixel32(texture.pixels.data(), 32, 2, 0));
  EXPECT_EQ(0xffff0000u, Pixel32(texture.pixels.data(), 32, 3, 0));

  file = OddCompressedFile(kDdsFormatDxt5, 6);
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(0xffff0000u, Pixel32(texture.pixels.data(), 32, 0, 0));
  EXPECT_EQ(0x000000ffu, Pixel32(texture.pixels.data(), 32, 2, 0));

  // Sides that are multiples of 4 keep their blocks, as before.
  file = OddCompressedFile(kDdsFormatDxt5, 8);
  ASSERT_TRUE(DdsBuildTexture(file.data(), file.size(), &texture));
  EXPECT_EQ(kDdsFormatDxt5, texture.format);
}

TEST(DdsReader, HeaderAloneDecidesWhetherAFileIsTaken) {
  // Only the 128 header bytes exist; the file's size says where the levels end.
  std::vector<std::uint8_t> header = File(kA8R8G8B8, 4096, 4096, 0, 0);
  DdsImage image;
  EXPECT_TRUE(DdsReadHeader(header.data(), kDdsDataOffset + 4u * 4096 * 4096, &image));
  EXPECT_FALSE(DdsReadHeader(header.data(), kDdsDataOffset + 4u * 4096 * 4096 - 1, &image));
  header[84] = 'X';  // a four-character code nobody writes
  header[80] = 0x4;
  EXPECT_FALSE(DdsReadHeader(header.data(), std::size_t(95) * 1024 * 1024, &image));
}

}  // namespace

