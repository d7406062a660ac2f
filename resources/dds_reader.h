// Reads a DDS texture file and lays out the texture the game makes of it,
// level by level, without any platform call: the part of the digit texture's
// loading that needs no device.
#ifndef KUBRI_RESOURCES_DDS_READER_H
#define KUBRI_RESOURCES_DDS_READER_H

#include <cstddef>
#include <cstdint>
#include <vector>

// Direct3D 9 format codes (D3DFORMAT values) of the formats the reader takes.
constexpr std::uint32_t kDdsFormatR8G8B8 = 20;
constexpr std::uint32_t kDdsFormatA8R8G8B8 = 21;
constexpr std::uint32_t kDdsFormatX8R8G8B8 = 22;
constexpr std::uint32_t kDdsFormatR5G6B5 = 23;
constexpr std::uint32_t kDdsFormatX1R5G5B5 = 24;
constexpr std::uint32_t kDdsFormatA1R5G5B5 = 25;
constexpr std::uint32_t kDdsFormatA4R4G4B4 = 26;
constexpr std::uint32_t kDdsFormatA8 = 28;
constexpr std::uint32_t kDdsFormatA8B8G8R8 = 32;
constexpr std::uint32_t kDdsFormatX8B8G8R8 = 33;
constexpr std::uint32_t kDdsFormatL8 = 50;
constexpr std::uint32_t kDdsFormatA8L8 = 51;
// 'DXT1' to 'DXT5' as four little-endian characters.
constexpr std::uint32_t kDdsFormatDxt1 = 0x31545844;
constexpr std::uint32_t kDdsFormatDxt2 = 0x32545844;
constexpr std::uint32_t kDdsFormatDxt3 = 0x33545844;
constexpr std::uint32_t kDdsFormatDxt4 = 0x34545844;
constexpr std::uint32_t kDdsFormatDxt5 = 0x35545844;

// Widest and tallest image taken: every Direct3D 9 device of this century
// makes textures this large, and it bounds what a file can make us allocate.
constexpr std::uint32_t kDdsMaxDimension = 4096;
// Levels of a full chain at that size (4096 down to 1).
constexpr int kDdsMaxLevels = 13;
// The largest file read: a 4096 x 4096 32-bit image with its full chain,
// after the 128-byte header, with room to spare.
constexpr std::size_t kDdsMaxFileBytes = 96u * 1024 * 1024;
// "DDS " and the 124-byte header that precede the surface data.
constexpr std::size_t kDdsDataOffset = 128;

// One level of a surface: its size in pixels and the layout of its bytes.
// Rows are pixel rows, or rows of 4 x 4 blocks for the DXT formats.
struct DdsLevel {
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t rowBytes;
  std::uint32_t rows;
  std::size_t offset;  // of its first byte, in the file or in the texture's pixels
};

// What a DDS file holds: a plain 2-D image of one accepted format and its levels.
struct DdsImage {
  std::uint32_t format;
  bool compressed;
  std::uint32_t unitBytes;  // bytes per pixel, or per 4 x 4 block when compressed
  std::uint32_t width;
  std::uint32_t height;
  int levelCount;
  DdsLevel levels[kDdsMaxLevels];
};

// The texture to create: format, size, level count, and every level's bytes
// packed one after another in `pixels` (each level's rows without padding).
struct DdsTexture {
  std::uint32_t format;
  std::uint32_t width;
  std::uint32_t height;
  int levelCount;
  DdsLevel levels[kDdsMaxLevels];
  std::vector<std::uint8_t> pixels;
};

// Parses the 128-byte header at `header` of a file of `fileSize` bytes and
// places every level inside them, as DdsReadImage does: enough to refuse a
// file before reading more than its header.
bool DdsReadHeader(const std::uint8_t* header, std::size_t fileSize, DdsImage* image);

// Parses the header of `size` bytes at `file` and places every level inside
// them. False, with `image` unspecified, for anything but a plain 2-D texture
// of an accepted format, 1 to kDdsMaxDimension pixels on each side, whose
// levels (at most a full chain) all lie within the bytes; bytes beyond the
// last level are ignored, and so is the header's pitch, which the format's
// own row rule replaces. Reads nothing outside the bytes.
bool DdsReadImage(const std::uint8_t* file, std::size_t size, DdsImage* image);

// The size and level count of the texture made from an image, as the
// runtime's default file loader makes it: an uncompressed image is widened
// to the next powers of two and gets a full chain; a compressed one keeps its
// size and its own levels. A compressed image whose sides are not multiples
// of 4 cannot be a compressed texture: it is decoded into A8R8G8B8 and
// then laid out as an uncompressed image. `format`, when not 0, is the
// texture's format in place of the image's (see DdsTextureFormats).
void DdsPlanTexture(const DdsImage& image, DdsTexture* texture, std::uint32_t format = 0);

// The formats a texture of this image may take, best first, in `formats`
// (room for 4); their count. The image's own format comes first (A8R8G8B8
// for a decoded one); a device that cannot make it gets the 32-bit format
// with the same channels that the runtime falls back to: R8G8B8, X1R5G5B5
// and X8B8G8R8 give X8R8G8B8 and then A8R8G8B8, A8B8G8R8 gives A8R8G8B8.
int DdsTextureFormats(const DdsImage& image, std::uint32_t* formats);

// Reads the file and fills in the whole texture: the file's levels stretched
// onto the texture's, each by taking the nearest pixel towards the top left,
// and the levels the file lacks made from the level above them the same way.
// False for an unreadable file (see DdsReadImage); `texture` is then
// unspecified. Allocates at most the texture's own bytes.
// `format`, when not 0, is one of DdsTextureFormats; the pixels are
// converted to it (channels widened to 8 bits as v * 255 / max, rounded;
// a missing alpha is 255).
bool DdsBuildTexture(const std::uint8_t* file, std::size_t size, DdsTexture* texture,
                     std::uint32_t format = 0);

#endif
