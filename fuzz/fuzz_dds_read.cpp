// Fuzzes the DDS reader on arbitrary bytes: whatever it accepts lies within
// the input, and the texture it builds has the promised size, chain and top
// pixel.
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_streams.h"
#include "resources/dds_reader.h"

namespace {

bool IsPowerOfTwo(std::uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

std::size_t Bytes(const DdsLevel& level) { return std::size_t(level.rowBytes) * level.rows; }

void CheckImage(const DdsImage& image, std::size_t size) {
  FUZZ_CHECK(image.width >= 1 && image.width <= kDdsMaxDimension, "width within the limits");
  FUZZ_CHECK(image.height >= 1 && image.height <= kDdsMaxDimension, "height within the limits");
  FUZZ_CHECK(image.levelCount >= 1 && image.levelCount <= kDdsMaxLevels, "level count bounded");
  std::size_t next = kDdsDataOffset;
  for (int i = 0; i < image.levelCount; ++i) {
    const DdsLevel& level = image.levels[i];
    FUZZ_CHECK(level.offset == next, "levels follow one another");
    FUZZ_CHECK(Bytes(level) <= size - level.offset, "every level lies within the input");
    FUZZ_CHECK(level.width >= 1 && level.height >= 1, "no level is empty");
    next += Bytes(level);
  }
}

void CheckTexture(const DdsImage& image, const DdsTexture& texture, const std::uint8_t* data) {
  // A compressed image whose sides are not multiples of 4 is decoded.
  const bool decoded = image.compressed && (image.width % 4 != 0 || image.height % 4 != 0);
  FUZZ_CHECK(texture.format == (decoded ? kDdsFormatA8R8G8B8 : image.format), "the format is kept");
  if (image.compressed && !decoded) {
    FUZZ_CHECK(texture.width == image.width && texture.height == image.height, "size kept");
    FUZZ_CHECK(texture.levelCount == image.levelCount, "the file's levels kept");
  } else {
    FUZZ_CHECK(IsPowerOfTwo(texture.width) && IsPowerOfTwo(texture.height), "powers of two");
    FUZZ_CHECK(texture.width >= image.width && texture.width < 2 * image.width, "next width");
    FUZZ_CHECK(texture.height >= image.height && texture.height < 2 * image.height, "next height");
    const DdsLevel& last = texture.levels[texture.levelCount - 1];
    FUZZ_CHECK(last.width == 1 && last.height == 1, "a full chain");
  }
  const DdsLevel& last = texture.levels[texture.levelCount - 1];
  FUZZ_CHECK(texture.pixels.size() == last.offset + Bytes(last), "pixels hold every level");
  if (decoded || image.format == kDdsFormatX1R5G5B5 || image.format == kDdsFormatX8B8G8R8) return;
  // X8R8G8B8's unused byte is cleared; every other byte comes over.
  const std::size_t kept = image.format == kDdsFormatX8R8G8B8 ? 3 : image.unitBytes;
  FUZZ_CHECK(std::memcmp(texture.pixels.data(), data + kDdsDataOffset, kept) == 0,
             "the top left pixel or block comes over unchanged");
  FUZZ_CHECK(kept == image.unitBytes || texture.pixels[3] == 0, "the unused byte cleared");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DdsImage image;
  const bool read = DdsReadImage(data, size, &image);
  DdsTexture texture;
  const bool built = DdsBuildTexture(data, size, &texture);
  FUZZ_CHECK(read == built, "a texture is built exactly from what reads");
  if (read) {
    CheckImage(image, size);
    CheckTexture(image, texture, data);
  }
  return 0;
}
