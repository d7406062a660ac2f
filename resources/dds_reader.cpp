// The DDS header, the row rules of each format, and the nearest-pixel
// stretch that lays a file's levels onto the texture's.
#include "resources/dds_reader.h"

#include <cstring>

namespace {

// Header fields, as offsets from the start of the file ("DDS " included).
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kFlags = 8;
constexpr std::size_t kHeight = 12;
constexpr std::size_t kWidth = 16;
constexpr std::size_t kMipCount = 28;
constexpr std::size_t kFormatSize = 76;
constexpr std::size_t kFormatFlags = 80;
constexpr std::size_t kFourCc = 84;
constexpr std::size_t kBitCount = 88;
constexpr std::size_t kRedMask = 92;
constexpr std::size_t kGreenMask = 96;
constexpr std::size_t kBlueMask = 100;
constexpr std::size_t kAlphaMask = 104;
constexpr std::size_t kCaps2 = 112;

constexpr std::uint32_t kMipCountFlag = 0x20000;
constexpr std::uint32_t kDepthFlag = 0x800000;
constexpr std::uint32_t kCubeOrVolume = 0x200 | 0x200000;
constexpr std::uint32_t kAlphaPixels = 0x1;
constexpr std::uint32_t kAlphaOnly = 0x2;
constexpr std::uint32_t kFourCcFlag = 0x4;
constexpr std::uint32_t kRgb = 0x40;
constexpr std::uint32_t kLuminance = 0x20000;

std::uint32_t Field(const std::uint8_t* file, std::size_t at) {
  return std::uint32_t(file[at]) | std::uint32_t(file[at + 1]) << 8 |
         std::uint32_t(file[at + 2]) << 16 | std::uint32_t(file[at + 3]) << 24;
}

// An uncompressed format as the header's bit masks describe it.
struct MaskedFormat {
  std::uint32_t format;
  std::uint32_t kind;  // kRgb, kLuminance or kAlphaOnly
  std::uint32_t bits;
  std::uint32_t red, green, blue, alpha;
};

const MaskedFormat kMaskedFormats[] = {
    {kDdsFormatA8R8G8B8, kRgb, 32, 0xff0000, 0xff00, 0xff, 0xff000000},
    {kDdsFormatX8R8G8B8, kRgb, 32, 0xff0000, 0xff00, 0xff, 0},
    {kDdsFormatA4R4G4B4, kRgb, 16, 0xf00, 0xf0, 0xf, 0xf000},
    {kDdsFormatA1R5G5B5, kRgb, 16, 0x7c00, 0x3e0, 0x1f, 0x8000},
    {kDdsFormatR5G6B5, kRgb, 16, 0xf800, 0x7e0, 0x1f, 0},
    {kDdsFormatA8, kAlphaOnly, 8, 0, 0, 0, 0xff},
    {kDdsFormatL8, kLuminance, 8, 0xff, 0, 0, 0},
    {kDdsFormatA8L8, kLuminance, 16, 0xff, 0, 0, 0xff00},
};

std::uint32_t BytesPerPixel(std::uint32_t format) {
  for (const MaskedFormat& f : kMaskedFormats) {
    if (f.format == format) return f.bits / 8;
  }
  return 0;
}

// Bytes per 4 x 4 block of a DXT format, 0 for any other code.
std::uint32_t BytesPerBlock(std::uint32_t format) {
  if (format == kDdsFormatDxt1) return 8;
  if (format >= kDdsFormatDxt2 && format <= kDdsFormatDxt5) return 16;
  return 0;
}

// The format named by the header's pixel format, or 0.
std::uint32_t FormatOf(const std::uint8_t* file) {
  const std::uint32_t flags = Field(file, kFormatFlags);
  if (flags & kFourCcFlag) {
    // Some writers put a Direct3D format code where the four characters go.
    const std::uint32_t code = Field(file, kFourCc);
    return BytesPerBlock(code) || BytesPerPixel(code) ? code : 0;
  }
  const std::uint32_t kind = flags & (kRgb | kLuminance | kAlphaOnly);
  const std::uint32_t alpha = flags & (kAlphaPixels | kAlphaOnly) ? Field(file, kAlphaMask) : 0;
  for (const MaskedFormat& f : kMaskedFormats) {
    if (f.kind == kind && f.bits == Field(file, kBitCount) && f.alpha == alpha &&
        f.red == (kind == kAlphaOnly ? 0 : Field(file, kRedMask)) &&
        f.green == (kind == kRgb ? Field(file, kGreenMask) : 0) &&
        f.blue == (kind == kRgb ? Field(file, kBlueMask) : 0)) {
      return f.format;
    }
  }
  return 0;
}

// Levels in a full chain for a width and height of at least 1.
int FullChain(std::uint32_t width, std::uint32_t height) {
  std::uint32_t largest = width > height ? width : height;
  int levels = 1;
  while (largest > 1) {
    largest /= 2;
    ++levels;
  }
  return levels;
}

// Level `index` of an image in `format` whose top level is width x height,
// laid out from `offset`: the format's rows (pixels, or 4 x 4 blocks rounded
// up), with no padding.
DdsLevel LevelOf(const DdsImage& image, std::uint32_t width, std::uint32_t height, int index,
                 std::size_t offset) {
  DdsLevel level;
  level.width = width >> index ? width >> index : 1;
  level.height = height >> index ? height >> index : 1;
  if (image.compressed) {
    level.rowBytes = (level.width + 3) / 4 * image.unitBytes;
    level.rows = (level.height + 3) / 4;
  } else {
    level.rowBytes = level.width * image.unitBytes;
    level.rows = level.height;
  }
  level.offset = offset;
  return level;
}

std::size_t LevelBytes(const DdsLevel& level) { return std::size_t(level.rowBytes) * level.rows; }

std::uint32_t NextPowerOfTwo(std::uint32_t n) {
  std::uint32_t p = 1;
  while (p < n) p *= 2;
  return p;
}

// Fills `to` from `from` (both of `unit` bytes per pixel) with, for each
// pixel, the one at the same place scaled down to `from`'s size.
void StretchNearest(const std::uint8_t* from, const DdsLevel& source, std::uint8_t* to,
                    const DdsLevel& target, std::uint32_t unit) {
  for (std::uint32_t y = 0; y < target.height; ++y) {
    const std::uint8_t* row =
        from + std::size_t(source.rowBytes) * (std::uint64_t(y) * source.height / target.height);
    std::uint8_t* out = to + std::size_t(target.rowBytes) * y;
    for (std::uint32_t x = 0; x < target.width; ++x) {
      const std::uint64_t sx = std::uint64_t(x) * source.width / target.width;
      std::memcpy(out + std::size_t(x) * unit, row + sx * unit, unit);
    }
  }
}

}  // namespace

bool DdsReadImage(const std::uint8_t* file, std::size_t size, DdsImage* image) {
  if (!file || !image || size < kDdsDataOffset || std::memcmp(file, "DDS ", 4) != 0) return false;
  if (Field(file, kHeaderSize) != 124 || Field(file, kFormatSize) != 32) return false;
  if ((Field(file, kFlags) & kDepthFlag) || (Field(file, kCaps2) & kCubeOrVolume)) return false;
  image->format = FormatOf(file);
  image->compressed = BytesPerBlock(image->format) != 0;
  image->unitBytes =
      image->compressed ? BytesPerBlock(image->format) : BytesPerPixel(image->format);
  image->width = Field(file, kWidth);
  image->height = Field(file, kHeight);
  if (image->unitBytes == 0 || image->width < 1 || image->height < 1 ||
      image->width > kDdsMaxDimension || image->height > kDdsMaxDimension) {
    return false;
  }
  std::uint32_t levels = Field(file, kFlags) & kMipCountFlag ? Field(file, kMipCount) : 1;
  if (levels == 0) levels = 1;
  if (levels > std::uint32_t(FullChain(image->width, image->height))) return false;
  image->levelCount = int(levels);

  std::size_t offset = kDdsDataOffset;
  for (int i = 0; i < image->levelCount; ++i) {
    image->levels[i] = LevelOf(*image, image->width, image->height, i, offset);
    // Both terms stay below the file's size, so the sum cannot wrap.
    const std::size_t bytes = LevelBytes(image->levels[i]);
    if (bytes > size - offset) return false;
    offset += bytes;
  }
  return true;
}

void DdsPlanTexture(const DdsImage& image, DdsTexture* texture) {
  texture->format = image.format;
  if (image.compressed) {
    texture->width = image.width;
    texture->height = image.height;
    texture->levelCount = image.levelCount;
  } else {
    texture->width = NextPowerOfTwo(image.width);
    texture->height = NextPowerOfTwo(image.height);
    texture->levelCount = FullChain(texture->width, texture->height);
  }
  std::size_t offset = 0;
  for (int i = 0; i < texture->levelCount; ++i) {
    texture->levels[i] = LevelOf(image, texture->width, texture->height, i, offset);
    offset += LevelBytes(texture->levels[i]);
  }
}

bool DdsBuildTexture(const std::uint8_t* file, std::size_t size, DdsTexture* texture) {
  DdsImage image;
  if (!texture || !DdsReadImage(file, size, &image)) return false;
  DdsPlanTexture(image, texture);
  const DdsLevel& last = texture->levels[texture->levelCount - 1];
  texture->pixels.assign(last.offset + LevelBytes(last), 0);
  std::uint8_t* pixels = texture->pixels.data();
  for (int i = 0; i < texture->levelCount; ++i) {
    const DdsLevel& level = texture->levels[i];
    if (image.compressed) {
      // The same size level for level: the blocks go over as they are.
      std::memcpy(pixels + level.offset, file + image.levels[i].offset, LevelBytes(level));
    } else if (i < image.levelCount) {
      StretchNearest(file + image.levels[i].offset, image.levels[i], pixels + level.offset, level,
                     image.unitBytes);
    } else {
      const DdsLevel& above = texture->levels[i - 1];
      StretchNearest(pixels + above.offset, above, pixels + level.offset, level, image.unitBytes);
    }
  }
  // The runtime leaves the unused byte of X8R8G8B8 at zero, whatever the file holds.
  if (texture->format == kDdsFormatX8R8G8B8) {
    for (std::size_t i = 3; i < texture->pixels.size(); i += 4) pixels[i] = 0;
  }
  return true;
}
