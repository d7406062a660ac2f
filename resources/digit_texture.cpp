// Rasterises the nine digits from stroke outlines: each digit is a few
// polylines in a 6 x 10 unit box, drawn with round-capped strokes.
#include "resources/digit_texture.h"

#include <cmath>

namespace {

struct Point {
  double x;
  double y;
};

struct Segment {
  Point a;
  Point b;
};

// Enough for the two circles of an eight at 24 steps each.
constexpr int kMaxSegments = 64;

struct Glyph {
  Segment segments[kMaxSegments];
  int count = 0;

  void Line(Point a, Point b) {
    if (count < kMaxSegments) segments[count++] = Segment{a, b};
  }
  void Polyline(const Point* points, int n) {
    for (int i = 0; i + 1 < n; ++i) Line(points[i], points[i + 1]);
  }
  // Arc around (cx, cy) from angle `from` to `to` in degrees, counted
  // anticlockwise on the screen (y grows downwards).
  void Arc(double cx, double cy, double r, double from, double to, int steps) {
    const double kPi = 3.14159265358979323846;
    Point previous{};
    for (int i = 0; i <= steps; ++i) {
      double a = (from + (to - from) * i / steps) * kPi / 180.0;
      Point p{cx + r * std::cos(a), cy - r * std::sin(a)};
      if (i > 0) Line(previous, p);
      previous = p;
    }
  }
};

Glyph MakeGlyph(int digit) {
  Glyph g;
  switch (digit) {
    case 1: {
      const Point p[] = {{1.4, 2.0}, {3.4, 0.0}, {3.4, 10.0}};
      g.Polyline(p, 3);
      g.Line({1.6, 10.0}, {5.2, 10.0});
      break;
    }
    case 2:
      g.Arc(3.0, 3.0, 3.0, 160.0, -35.0, 16);
      g.Line({3.0 + 3.0 * 0.8191520, 3.0 + 3.0 * 0.5735764}, {0.0, 10.0});
      g.Line({0.0, 10.0}, {6.0, 10.0});
      break;
    case 3:
      g.Arc(3.0, 2.6, 2.6, 150.0, -90.0, 16);
      g.Arc(3.0, 7.4, 2.6, 90.0, -150.0, 16);
      break;
    case 4: {
      const Point p[] = {{4.4, 10.0}, {4.4, 0.0}, {0.0, 7.0}, {6.0, 7.0}};
      g.Polyline(p, 4);
      break;
    }
    case 5: {
      const Point p[] = {{5.6, 0.0}, {1.0, 0.0}, {0.6, 4.6}};
      g.Polyline(p, 3);
      g.Arc(3.0, 6.8, 3.2, 135.0, -150.0, 20);
      break;
    }
    case 6:
      g.Arc(3.0, 7.0, 3.0, 0.0, 360.0, 24);
      g.Arc(6.4, 7.0, 6.4, 180.0, 105.0, 8);
      break;
    case 7: {
      const Point p[] = {{0.0, 0.0}, {6.0, 0.0}, {2.2, 10.0}};
      g.Polyline(p, 3);
      break;
    }
    case 8:
      g.Arc(3.0, 2.5, 2.5, 0.0, 360.0, 24);
      g.Arc(3.0, 7.3, 2.7, 0.0, 360.0, 24);
      break;
    case 9:
      g.Arc(3.0, 3.0, 3.0, 0.0, 360.0, 24);
      g.Arc(-0.4, 3.0, 6.4, 0.0, -75.0, 8);
      break;
    default:
      break;
  }
  return g;
}

// Squared distance from p to the segment s.
double DistanceSquared(Point p, const Segment& s) {
  double dx = s.b.x - s.a.x;
  double dy = s.b.y - s.a.y;
  double px = p.x - s.a.x;
  double py = p.y - s.a.y;
  double length2 = dx * dx + dy * dy;
  double t = length2 > 0.0 ? (px * dx + py * dy) / length2 : 0.0;
  if (t < 0.0) t = 0.0;
  if (t > 1.0) t = 1.0;
  double ex = px - t * dx;
  double ey = py - t * dy;
  return ex * ex + ey * ey;
}

// Glyph units to pixels: the 10-unit height fills 44 of the cell's 64
// pixels, centred, which leaves a transparent border around every digit.
constexpr double kScale = 4.4;
constexpr double kStrokeRadius = 0.75;

void PutLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 24));
}

}  // namespace

std::uint8_t DigitTextureAlpha(int x, int y) {
  if (x < 0 || y < 0 || x >= kDigitTexturePixels || y >= kDigitTexturePixels) return 0;
  int digit = (y / kDigitCellPixels) * 3 + (x / kDigitCellPixels) + 1;
  // One glyph cache per digit; built on first use.
  static Glyph glyphs[10];
  static bool built[10] = {};
  if (!built[digit]) {
    glyphs[digit] = MakeGlyph(digit);
    built[digit] = true;
  }
  const Glyph& g = glyphs[digit];
  double originX = (x / kDigitCellPixels) * kDigitCellPixels + (kDigitCellPixels - 6.0 * kScale) / 2.0;
  double originY = (y / kDigitCellPixels) * kDigitCellPixels + (kDigitCellPixels - 10.0 * kScale) / 2.0;
  const double r2 = kStrokeRadius * kStrokeRadius;
  int covered = 0;
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      Point p{(x + (sx + 0.5) / 4.0 - originX) / kScale, (y + (sy + 0.5) / 4.0 - originY) / kScale};
      for (int i = 0; i < g.count; ++i) {
        if (DistanceSquared(p, g.segments[i]) <= r2) {
          ++covered;
          break;
        }
      }
    }
  }
  return static_cast<std::uint8_t>((covered * 255 + 8) / 16);
}

std::vector<std::uint8_t> BuildDigitTextureFile() {
  std::vector<std::uint8_t> out;
  out.reserve(kDigitTextureFileBytes);
  const std::uint32_t size = kDigitTexturePixels;
  out.push_back('D');
  out.push_back('D');
  out.push_back('S');
  out.push_back(' ');
  PutLittleEndian32(out, 124);         // header size
  PutLittleEndian32(out, 0x100F);      // caps, height, width, pitch, pixel format
  PutLittleEndian32(out, size);        // height
  PutLittleEndian32(out, size);        // width
  PutLittleEndian32(out, size * 4);    // pitch
  PutLittleEndian32(out, 0);           // depth
  PutLittleEndian32(out, 0);           // mip levels
  for (int i = 0; i < 11; ++i) PutLittleEndian32(out, 0);
  PutLittleEndian32(out, 32);          // pixel format size
  PutLittleEndian32(out, 0x41);        // RGB with alpha
  PutLittleEndian32(out, 0);           // no four-character code
  PutLittleEndian32(out, 32);          // bits per pixel
  PutLittleEndian32(out, 0x00FF0000);  // red mask
  PutLittleEndian32(out, 0x0000FF00);  // green mask
  PutLittleEndian32(out, 0x000000FF);  // blue mask
  PutLittleEndian32(out, 0xFF000000);  // alpha mask
  PutLittleEndian32(out, 0x1000);      // a plain texture
  for (int i = 0; i < 4; ++i) PutLittleEndian32(out, 0);  // caps 2..4, reserved
  for (int y = 0; y < kDigitTexturePixels; ++y) {
    for (int x = 0; x < kDigitTexturePixels; ++x) {
      PutLittleEndian32(out, (std::uint32_t{DigitTextureAlpha(x, y)} << 24) | 0x00FFFFFF);
    }
  }
  return out;
}

