// The program icon, drawn with the board's own colours and the digit
// texture's strokes, and packed as an .ico with a PNG for the 256 size.
#include "resources/app_icon.h"

#include <cmath>

#include "resources/digit_texture.h"

namespace {

struct Rgba {
  double r, g, b, a;
};

constexpr Rgba Colour(std::uint32_t argb) {
  return Rgba{((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
              ((argb >> 24) & 0xFF) / 255.0};
}

const Rgba kBackground = Colour(0xFFF0F0F0);
const Rgba kLines = Colour(0xFF404040);
const Rgba kSelected = Colour(0xFFFFFF00);
const Rgba kGiven = Colour(0xFF0000C0);
const Rgba kEntered = Colour(0xFF404040);

// What each of the nine cells shows: a digit (0 none) and whether the
// puzzle gave it. The middle cell is the selected one.
struct IconCell {
  int digit;
  bool given;
};
const IconCell kCells[9] = {{5, true}, {0, false}, {3, true}, {0, false}, {7, false},
                            {0, false}, {8, true}, {0, false}, {1, true}};

// The digit texture's coverage, computed once: 192 x 192 values 0..1.
const std::vector<double>& DigitCoverage() {
  static const std::vector<double> coverage = [] {
    std::vector<double> c(kDigitTexturePixels * kDigitTexturePixels);
    for (int y = 0; y < kDigitTexturePixels; ++y) {
      for (int x = 0; x < kDigitTexturePixels; ++x) {
        c[y * kDigitTexturePixels + x] = DigitTextureAlpha(x, y) / 255.0;
      }
    }
    return c;
  }();
  return coverage;
}

// Coverage of digit d at (u, v) in 0..1 of its keypad cell, nearest texel.
double DigitAt(int digit, double u, double v) {
  if (u < 0 || u >= 1 || v < 0 || v >= 1) return 0;
  const int x = ((digit - 1) % 3) * kDigitCellPixels + static_cast<int>(u * kDigitCellPixels);
  const int y = ((digit - 1) / 3) * kDigitCellPixels + static_cast<int>(v * kDigitCellPixels);
  return DigitCoverage()[y * kDigitTexturePixels + x];
}

Rgba Over(Rgba below, Rgba above, double coverage) {
  return Rgba{below.r + (above.r - below.r) * coverage, below.g + (above.g - below.g) * coverage,
              below.b + (above.b - below.b) * coverage, below.a + (above.a - below.a) * coverage};
}

// The colour at point (x, y) of an icon `size` pixels square.
Rgba Sample(double x, double y, int size) {
  const double inset = size / 16.0;
  const double side = size - 2 * inset;
  const double bx = (x - inset) / side, by = (y - inset) / side;  // 0..1 on the box
  if (bx < 0 || bx >= 1 || by < 0 || by >= 1) return Rgba{0, 0, 0, 0};
  // Lines keep at least one pixel at the small sizes.
  const double outer = std::fmax(1.0, size / 24.0) / side;
  const double inner = std::fmax(1.0, size / 64.0) / side;
  if (bx < outer || bx >= 1 - outer || by < outer || by >= 1 - outer) return kLines;
  for (int i = 1; i < 3; ++i) {
    if (std::fabs(bx - i / 3.0) < inner / 2 || std::fabs(by - i / 3.0) < inner / 2) return kLines;
  }
  const int col = static_cast<int>(bx * 3), row = static_cast<int>(by * 3);
  const IconCell& cell = kCells[row * 3 + col];
  Rgba colour = row == 1 && col == 1 ? kSelected : kBackground;
  if (cell.digit == 0) return colour;
  // The digit fills the cell but for a small border, as on the board.
  const double u = (bx * 3 - col - 0.06) / 0.88, v = (by * 3 - row - 0.06) / 0.88;
  return Over(colour, cell.given ? kGiven : kEntered, DigitAt(cell.digit, u, v));
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put32BigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((v >> shift) & 0xFF);
}

// A 32-bit bottom-up DIB with its AND mask, as an icon directory entry holds it.
std::vector<std::uint8_t> IconBitmap(const std::vector<std::uint8_t>& rgba, int size) {
  std::vector<std::uint8_t> out;
  const int maskRow = ((size + 31) / 32) * 4;
  Put32(out, 40);
  Put32(out, size);
  Put32(out, 2 * size);  // colour and mask stacked
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, size * size * 4 + maskRow * size);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const std::uint8_t* p = &rgba[(y * size + x) * 4];
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
      out.push_back(p[3]);
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskRow, 0);
    for (int x = 0; x < size; ++x) {
      if (rgba[(y * size + x) * 4 + 3] == 0) row[x / 8] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

void PngChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  Put32BigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32BigEndian(out, Crc32(&out[start], out.size() - start));
}

// A PNG of 8-bit RGBA whose zlib stream holds stored (uncompressed) blocks:
// no compressor is needed, and every reader takes it.
std::vector<std::uint8_t> IconPng(const std::vector<std::uint8_t>& rgba, int size) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < size; ++y) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), rgba.begin() + y * size * 4, rgba.begin() + (y + 1) * size * 4);
  }
  std::vector<std::uint8_t> z = {0x78, 0x01};
  for (std::size_t at = 0; at < raw.size();) {
    const std::size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
    z.push_back(at + n == raw.size() ? 1 : 0);
    Put16(z, static_cast<unsigned>(n));
    Put16(z, static_cast<unsigned>(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  }
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  Put32BigEndian(z, (b << 16) | a);

  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<std::uint8_t> header;
  Put32BigEndian(header, size);
  Put32BigEndian(header, size);
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, no interlace
  PngChunk(out, "IHDR", header);
  PngChunk(out, "IDAT", z);
  PngChunk(out, "IEND", {});
  return out;
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::vector<std::uint8_t> DrawAppIcon(int size) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * size * 4);
  constexpr int kSub = 4;  // 4 x 4 samples a pixel
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          const Rgba c = Sample(x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub, size);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * size + x) * 4];
      const auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255.0)); };
      p[0] = a > 0 ? byte(r / a) : 0;
      p[1] = a > 0 ? byte(g / a) : 0;
      p[2] = a > 0 ? byte(b / a) : 0;
      p[3] = byte(a / (kSub * kSub));
    }
  }
  return rgba;
}

std::vector<std::uint8_t> BuildAppIconFile() {
  std::vector<std::vector<std::uint8_t>> images;
  for (int size : kAppIconSizes) {
    const std::vector<std::uint8_t> rgba = DrawAppIcon(size);
    images.push_back(size >= 256 ? IconPng(rgba, size) : IconBitmap(rgba, size));
  }
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, kAppIconSizeCount);
  std::uint32_t offset = 6 + 16 * kAppIconSizeCount;
  for (int i = 0; i < kAppIconSizeCount; ++i) {
    const int size = kAppIconSizes[i];
    out.push_back(size >= 256 ? 0 : size);  // 0 stands for 256
    out.push_back(size >= 256 ? 0 : size);
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}
