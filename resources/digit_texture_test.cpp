// Checks the digit texture's file format, its keypad layout and that the
// committed Number.dds is exactly what the drawing code produces.
#include "resources/digit_texture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
         std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

std::uint32_t Pixel(const std::vector<std::uint8_t>& bytes, int x, int y) {
  return Read32(bytes, kDdsHeaderBytes + 4u * (static_cast<std::size_t>(y) * kDigitTexturePixels + x));
}

// Sum of alpha over keypad cell `digit` (1..9).
long InkOf(int digit) {
  int left = ((digit - 1) % 3) * kDigitCellPixels;
  int top = ((digit - 1) / 3) * kDigitCellPixels;
  long sum = 0;
  for (int y = top; y < top + kDigitCellPixels; ++y)
    for (int x = left; x < left + kDigitCellPixels; ++x) sum += DigitTextureAlpha(x, y);
  return sum;
}

TEST(DigitTexture, RegeneratingGivesTheCommittedFileByteForByte) {
  std::vector<std::uint8_t> built = BuildDigitTextureFile();
  std::FILE* f = std::fopen(KUBRI_NUMBER_DDS, "rb");
  ASSERT_NE(f, nullptr) << KUBRI_NUMBER_DDS;
  std::vector<std::uint8_t> committed(kDigitTextureFileBytes + 1);
  std::size_t n = std::fread(committed.data(), 1, committed.size(), f);
  std::fclose(f);
  committed.resize(n);
  ASSERT_EQ(committed.size(), built.size());
  EXPECT_TRUE(committed == built) << "run the regenerate-number-dds target and commit the result";
}

TEST(DigitTexture, HeaderDescribesAnUncompressedA8R8G8B8Texture) {
  std::vector<std::uint8_t> f = BuildDigitTextureFile();
  ASSERT_EQ(f.size(), kDigitTextureFileBytes);
  EXPECT_EQ(Read32(f, 0), 0x20534444u);                 // "DDS "
  EXPECT_EQ(Read32(f, 4), 124u);                        // header size
  EXPECT_EQ(Read32(f, 8) & 0x100Fu, 0x100Fu);           // caps, height, width, pixel format, pitch
  EXPECT_EQ(Read32(f, 12), std::uint32_t(kDigitTexturePixels));
  EXPECT_EQ(Read32(f, 16), std::uint32_t(kDigitTexturePixels));
  EXPECT_EQ(Read32(f, 20), std::uint32_t(kDigitTexturePixels * 4));
  EXPECT_EQ(Read32(f, 76), 32u);                        // pixel format size
  EXPECT_EQ(Read32(f, 80), 0x41u);                      // RGB with alpha, no four-character code
  EXPECT_EQ(Read32(f, 84), 0u);
  EXPECT_EQ(Read32(f, 88), 32u);
  EXPECT_EQ(Read32(f, 92), 0x00FF0000u);
  EXPECT_EQ(Read32(f, 96), 0x0000FF00u);
  EXPECT_EQ(Read32(f, 100), 0x000000FFu);
  EXPECT_EQ(Read32(f, 104), 0xFF000000u);
  EXPECT_EQ(Read32(f, 108), 0x1000u);
  EXPECT_EQ(kDigitTexturePixels % 3, 0);
}

TEST(DigitTexture, PixelsAreWhiteWithCoverageInAlphaAndSomeEdgesAntiAliased) {
  std::vector<std::uint8_t> f = BuildDigitTextureFile();
  int partial = 0;
  for (int y = 0; y < kDigitTexturePixels; ++y) {
    for (int x = 0; x < kDigitTexturePixels; ++x) {
      std::uint32_t p = Pixel(f, x, y);
      ASSERT_EQ(p & 0x00FFFFFFu, 0x00FFFFFFu) << x << "," << y;
      ASSERT_EQ(p >> 24, DigitTextureAlpha(x, y));
      std::uint32_t a = p >> 24;
      if (a != 0 && a != 255) ++partial;
    }
  }
  EXPECT_GT(partial, 9 * 50);
}

TEST(DigitTexture, EveryKeypadCellHasInkInsideAndATransparentBorder) {
  for (int digit = 1; digit <= 9; ++digit) {
    int left = ((digit - 1) % 3) * kDigitCellPixels;
    int top = ((digit - 1) / 3) * kDigitCellPixels;
    EXPECT_GT(InkOf(digit), 255L * 150) << "digit " << digit;
    // Four pixels all round each cell stay clear, so filtering never pulls
    // a neighbour's stroke into a digit.
    for (int i = 0; i < kDigitCellPixels; ++i) {
      for (int edge = 0; edge < 4; ++edge) {
        EXPECT_EQ(DigitTextureAlpha(left + i, top + edge), 0) << digit;
        EXPECT_EQ(DigitTextureAlpha(left + i, top + kDigitCellPixels - 1 - edge), 0) << digit;
        EXPECT_EQ(DigitTextureAlpha(left + edge, top + i), 0) << digit;
        EXPECT_EQ(DigitTextureAlpha(left + kDigitCellPixels - 1 - edge, top + i), 0) << digit;
      }
    }
  }
}

TEST(DigitTexture, DigitsSitInKeypadOrderAndAllDiffer) {
  // A one is the lightest glyph and an eight (two rings) the heaviest.
  for (int d = 2; d <= 9; ++d) EXPECT_LT(InkOf(1), InkOf(d)) << d;
  for (int d = 1; d <= 9; ++d) {
    if (d != 8) {
      EXPECT_GT(InkOf(8), InkOf(d)) << d;
    }
  }
  // No two cells hold the same picture (a six is no nine upside down here
  // either, but it has the same ink, so compare pixel by pixel).
  for (int a = 1; a <= 9; ++a) {
    for (int b = a + 1; b <= 9; ++b) {
      int differing = 0;
      for (int y = 0; y < kDigitCellPixels; ++y) {
        for (int x = 0; x < kDigitCellPixels; ++x) {
          int ax = ((a - 1) % 3) * kDigitCellPixels + x, ay = ((a - 1) / 3) * kDigitCellPixels + y;
          int bx = ((b - 1) % 3) * kDigitCellPixels + x, by = ((b - 1) / 3) * kDigitCellPixels + y;
          if (DigitTextureAlpha(ax, ay) != DigitTextureAlpha(bx, by)) ++differing;
        }
      }
      EXPECT_GT(differing, 100) << a << " " << b;
    }
  }
}

TEST(DigitTexture, PixelsOutsideTheTextureAreTransparent) {
  EXPECT_EQ(DigitTextureAlpha(-1, 10), 0);
  EXPECT_EQ(DigitTextureAlpha(10, kDigitTexturePixels), 0);
}

}  // namespace
