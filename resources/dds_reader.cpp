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
    // What image tools write by default: 24-bit without alpha, 5-5-5
    // without alpha, and red in the low byte.
    {kDdsFormatR8G8B8, kRgb, 24, 0xff0000, 0xff00, 0xff, 0},
    {kDdsFormatX1R5G5B5, kRgb, 16, 0x7c00, 0x3e0, 0x1f, 0},
    {kDdsFormatA8B8G8R8, kRgb, 32, 0xff, 0xff00, 0xff0000, 0xff000000},
    {kDdsFormatX8B8G8R8, kRgb, 32, 0xff, 0xff00, 0xff0000, 0},
};

const MaskedFormat* MaskedFormatOf(std::uint32_t format) {
  for (const MaskedFormat& f : kMaskedFormats) {
    if (f.format == format) return &f;
  }
  return nullptr;
}

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

// A compressed image that no texture can hold as it is: Direct3D 9 makes
// compressed textures only with sides that are multiples of 4.
bool MustDecode(const DdsImage& image) {
  return image.compressed && (image.width % 4 != 0 || image.height % 4 != 0);
}

// The format the image's pixels are laid out in before any conversion.
std::uint32_t NaturalFormat(const DdsImage& image) {
  return MustDecode(image) ? kDdsFormatA8R8G8B8 : image.format;
}

// One channel of a pixel widened to 8 bits, rounded; `absent` without a mask.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask, std::uint8_t absent) {
  if (mask == 0) return absent;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const std::uint32_t max = mask >> shift;
  const std::uint32_t value = (pixel & mask) >> shift;
  return std::uint8_t((std::uint64_t(value) * 255 + max / 2) / max);
}

// Writes one pixel of `from` (unit bytes at `in`) as A8R8G8B8 bytes B, G, R, A.
void ToArgb(const MaskedFormat& from, const std::uint8_t* in, std::uint8_t* out) {
  std::uint32_t pixel = 0;
  for (std::uint32_t i = 0; i < from.bits / 8; ++i) pixel |= std::uint32_t(in[i]) << (8 * i);
  out[0] = Channel(pixel, from.blue, 0);
  out[1] = Channel(pixel, from.green, 0);
  out[2] = Channel(pixel, from.red, 0);
  out[3] = Channel(pixel, from.alpha, 255);
}

// 5-6-5 colour to B, G, R.
void Colour565(std::uint32_t c, std::uint8_t* bgr) {
  bgr[0] = Channel(c, 0x1f, 0);
  bgr[1] = Channel(c, 0x7e0, 0);
  bgr[2] = Channel(c, 0xf800, 0);
}

// Decodes one 4 x 4 block into 16 B, G, R, A pixels, row by row.
void DecodeBlock(std::uint32_t format, const std::uint8_t* block, std::uint8_t* out) {
  std::uint8_t alpha[16];
  for (int i = 0; i < 16; ++i) alpha[i] = 255;
  if (format == kDdsFormatDxt2 || format == kDdsFormatDxt3) {
    for (int i = 0; i < 16; ++i) alpha[i] = std::uint8_t(((block[i / 2] >> (4 * (i % 2))) & 0xf) * 17);
  } else if (format == kDdsFormatDxt4 || format == kDdsFormatDxt5) {
    std::uint8_t table[8] = {block[0], block[1]};
    if (table[0] > table[1]) {
      for (int i = 1; i < 7; ++i) table[i + 1] = std::uint8_t(((7 - i) * table[0] + i * table[1] + 3) / 7);
    } else {
      for (int i = 1; i < 5; ++i) table[i + 1] = std::uint8_t(((5 - i) * table[0] + i * table[1] + 2) / 5);
      table[6] = 0;
      table[7] = 255;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= std::uint64_t(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i) alpha[i] = table[(bits >> (3 * i)) & 7];
  }
  const std::uint8_t* colour = format == kDdsFormatDxt1 ? block : block + 8;
  const std::uint32_t c0 = colour[0] | colour[1] << 8, c1 = colour[2] | colour[3] << 8;
  std::uint8_t palette[4][4];
  Colour565(c0, palette[0]);
  Colour565(c1, palette[1]);
  const bool fourColours = format != kDdsFormatDxt1 || c0 > c1;
  for (int k = 0; k < 3; ++k) {
    const int a = palette[0][k], b = palette[1][k];
    palette[2][k] = std::uint8_t(fourColours ? (2 * a + b + 1) / 3 : (a + b) / 2);
    palette[3][k] = std::uint8_t(fourColours ? (a + 2 * b + 1) / 3 : 0);
  }
  palette[0][3] = palette[1][3] = palette[2][3] = 255;
  palette[3][3] = fourColours ? 255 : 0;  // DXT1's transparent black
  const std::uint32_t indices = colour[4] | colour[5] << 8 | colour[6] << 16 | std::uint32_t(colour[7]) << 24;
  for (int i = 0; i < 16; ++i) {
    const std::uint8_t* p = palette[(indices >> (2 * i)) & 3];
    out[4 * i] = p[0];
    out[4 * i + 1] = p[1];
    out[4 * i + 2] = p[2];
    out[4 * i + 3] = std::uint8_t(p[3] * alpha[i] / 255);
  }
}

// A compressed level decoded into A8R8G8B8 rows of `level.width` pixels.
void DecodeLevel(std::uint32_t format, const std::uint8_t* blocks, const DdsLevel& level,
                 std::uint32_t blockBytes, std::uint8_t* out) {
  std::uint8_t pixels[64];
  for (std::uint32_t by = 0; by < level.rows; ++by) {
    for (std::uint32_t bx = 0; bx * 4 < level.width; ++bx) {
      DecodeBlock(format, blocks + std::size_t(by) * level.rowBytes + std::size_t(bx) * blockBytes, pixels);
      for (std::uint32_t i = 0; i < 16; ++i) {
        const std::uint32_t x = bx * 4 + i % 4, y = by * 4 + i / 4;
        if (x < level.width && y < level.height) {
          std::memcpy(out + (std::size_t(y) * level.width + x) * 4, pixels + 4 * i, 4);
        }
      }
    }
  }
}

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
  return DdsReadHeader(file, size, image);
}

bool DdsReadHeader(const std::uint8_t* file, std::size_t size, DdsImage* image) {
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

void DdsPlanTexture(const DdsImage& image, DdsTexture* texture, std::uint32_t format) {
  texture->format = format ? format : NaturalFormat(image);
  // The texture's rows follow its own format.
  DdsImage layout = image;
  layout.compressed = BytesPerBlock(texture->format) != 0;
  layout.unitBytes = layout.compressed ? BytesPerBlock(texture->format) : BytesPerPixel(texture->format);
  if (layout.compressed) {
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
    texture->levels[i] = LevelOf(layout, texture->width, texture->height, i, offset);
    offset += LevelBytes(texture->levels[i]);
  }
}

int DdsTextureFormats(const DdsImage& image, std::uint32_t* formats) {
  int count = 0;
  formats[count++] = NaturalFormat(image);
  switch (image.format) {
    case kDdsFormatR8G8B8:
    case kDdsFormatX1R5G5B5:
    case kDdsFormatX8B8G8R8:
      formats[count++] = kDdsFormatX8R8G8B8;
      formats[count++] = kDdsFormatA8R8G8B8;
      break;
    case kDdsFormatA8B8G8R8:
      formats[count++] = kDdsFormatA8R8G8B8;
      break;
    default:
      break;
  }
  return count;
}

bool DdsBuildTexture(const std::uint8_t* file, std::size_t size, DdsTexture* texture,
                     std::uint32_t format) {
  DdsImage image;
  if (!texture || !DdsReadImage(file, size, &image)) return false;
  std::uint32_t allowed[4];
  const int allowedCount = DdsTextureFormats(image, allowed);
  if (format == 0) format = allowed[0];
  bool known = false;
  for (int i = 0; i < allowedCount; ++i) known = known || allowed[i] == format;
  if (!known) return false;

  // A compressed image that must be decoded becomes an A8R8G8B8 one, level
  // for level, and goes on as such.
  std::vector<std::uint8_t> decoded;
  const std::uint8_t* source = file;
  if (MustDecode(image)) {
    DdsImage plain = image;
    plain.compressed = false;
    plain.unitBytes = 4;
    plain.format = kDdsFormatA8R8G8B8;
    std::size_t offset = 0;
    for (int i = 0; i < image.levelCount; ++i) {
      plain.levels[i] = LevelOf(plain, image.width, image.height, i, offset);
      offset += LevelBytes(plain.levels[i]);
    }
    decoded.assign(offset, 0);
    for (int i = 0; i < image.levelCount; ++i) {
      DecodeLevel(image.format, file + image.levels[i].offset, image.levels[i], image.unitBytes,
                  decoded.data() + plain.levels[i].offset);
    }
    image = plain;
    source = decoded.data();
  }

  // The pixels in the image's own format, then converted when asked.
  DdsTexture natural;
  DdsTexture* built = format == image.format ? texture : &natural;
  DdsPlanTexture(image, built, image.format);
  const DdsLevel& last = built->levels[built->levelCount - 1];
  built->pixels.assign(last.offset + LevelBytes(last), 0);
  std::uint8_t* pixels = built->pixels.data();
  for (int i = 0; i < built->levelCount; ++i) {
    const DdsLevel& level = built->levels[i];
    if (image.compressed) {
      // The same size level for level: the blocks go over as they are.
      std::memcpy(pixels + level.offset, source + image.levels[i].offset, LevelBytes(level));
    } else if (i < image.levelCount) {
      StretchNearest(source + image.levels[i].offset, image.levels[i], pixels + level.offset, level,
                     image.unitBytes);
    } else {
      const DdsLevel& above = built->levels[i - 1];
      StretchNearest(pixels + above.offset, above, pixels + level.offset, level, image.unitBytes);
    }
  }
  if (built != texture) {
    const MaskedFormat* from = MaskedFormatOf(image.format);
    if (!from) return false;
    DdsPlanTexture(image, texture, format);
    const DdsLevel& end = texture->levels[texture->levelCount - 1];
    texture->pixels.assign(end.offset + LevelBytes(end), 0);
    const std::size_t count = built->pixels.size() / image.unitBytes;
    for (std::size_t i = 0; i < count; ++i) {
      ToArgb(*from, built->pixels.data() + i * image.unitBytes, texture->pixels.data() + i * 4);
    }
  }
  // The runtime leaves the unused bits of X8R8G8B8, X8B8G8R8 and X1R5G5B5
  // at zero, whatever the file holds.
  const MaskedFormat* made = MaskedFormatOf(texture->format);
  if (made && !BytesPerBlock(texture->format)) {
    const std::uint32_t unit = made->bits / 8;
    const std::uint64_t all = (std::uint64_t(1) << made->bits) - 1;
    const std::uint32_t unused = std::uint32_t(all & ~std::uint64_t(made->red | made->green | made->blue | made->alpha));
    if (unused) {
      for (std::size_t at = 0; at + unit <= texture->pixels.size(); at += unit) {
        for (std::uint32_t b = 0; b < unit; ++b) texture->pixels[at + b] &= std::uint8_t(~(unused >> (8 * b)));
      }
    }
  }
  return true;
}
