// The two vertex formats the view draws with (pre-transformed screen
// coordinates), the list capacities, and the colours and depths of the board.
#pragma once

#include <windows.h>
#include <d3d9.h>

// An untextured vertex: screen x, y in pixels, depth, rhw 1, diffuse colour.
struct ColoredVertex {
  float x;
  float y;
  float z;
  float rhw;
  D3DCOLOR colour;
};

// A textured vertex: as ColoredVertex, then texture coordinates.
struct TexturedVertex {
  float x;
  float y;
  float z;
  float rhw;
  D3DCOLOR colour;
  float u;
  float v;
};

static_assert(sizeof(ColoredVertex) == 20, "vertex layout must match its FVF");
static_assert(sizeof(TexturedVertex) == 28, "vertex layout must match its FVF");

constexpr DWORD kColoredVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;                  // 0x44
constexpr DWORD kTexturedVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;  // 0x144

// Capacities of the two fixed lists: 512 triangles, 1024 quads.
constexpr int kMaxTriangles = 512;
constexpr int kMaxQuads = 1024;
constexpr UINT kTriangleBufferBytes = kMaxTriangles * 3 * sizeof(ColoredVertex);  // 30720
constexpr UINT kQuadBufferBytes = kMaxQuads * 6 * sizeof(TexturedVertex);         // 172032

// Colours, 32-bit ARGB.
constexpr D3DCOLOR kMarginColour = 0x00E0E0E0;       // the back buffer's clear colour
constexpr D3DCOLOR kBoardColour = 0xFFF0F0F0;
constexpr D3DCOLOR kGridColour = 0xFF404040;
constexpr D3DCOLOR kSameDigitColour = 0xFFFFC000;
constexpr D3DCOLOR kSelectedColour = 0xFFFFFF00;
constexpr D3DCOLOR kGivenDigitColour = 0xFF0000C0;
constexpr D3DCOLOR kPlayerDigitColour = 0xFF404040;
constexpr D3DCOLOR kMarkColour = 0xFFC000C0;         // marks, and the keypad in edit mode
constexpr D3DCOLOR kOpenPositionColour = 0xFFC0C0C0;  // unmarked keypad positions
// A digit that repeats in its row, column or box, while clashes are shown: a
// dark red that stays readable on the board, the selection and the
// same-digit highlight alike.
constexpr D3DCOLOR kClashColour = 0xFFC00000;

// Depths: the smaller is in front whatever the drawing order.
constexpr float kBoardDepth = 1.0f;
constexpr float kSameDigitDepth = 0.9f;
constexpr float kSelectedDepth = 0.8f;
constexpr float kGridDepth = 0.6f;
constexpr float kDigitDepth = 0.5f;

// A third of a cell or of the texture, as a single-precision float.
constexpr float kThird = 1.0f / 3.0f;

// Keypad place of digit d (index d - 1) inside a cell and inside the digit
// texture: 1 2 3 on top, 4 5 6 in the middle, 7 8 9 at the bottom.
struct DigitUV {
  float u;
  float v;
};
extern const DigitUV kDigitUV[9];
