// The vertex lists built from chosen boards and view states, and pixels
// read back from frames rendered by a real Direct3D 9 device.
#include <gtest/gtest.h>

#include <d3d9.h>

#include <memory>

#include "view/board_view.h"
#include "view/view_test_support.h"

namespace {

class VertexListTest : public ::testing::Test {
 protected:
  void SetUp() override { view = std::make_unique<BoardView>(TestLinks(&board)); }
  void Build() {
    view->ResetTriangles();
    view->ResetQuads();
    view->BuildGrid();
    view->BuildCells();
  }
  // Rectangle i of the triangle list as (left, top, width, height).
  void Rect(int i, float* out) const {
    const ColoredVertex* v = view->TriangleVertices() + 6 * i;
    out[0] = v[0].x;
    out[1] = v[0].y;
    out[2] = v[1].x - v[0].x;
    out[3] = v[1].y - v[0].y;
  }
  const ColoredVertex& RectCorner(int i) const { return view->TriangleVertices()[6 * i]; }
  const TexturedVertex& QuadCorner(int i) const { return view->QuadVertices()[6 * i]; }
  const TexturedVertex& QuadFarCorner(int i) const { return view->QuadVertices()[6 * i + 1]; }

  Board board;
  std::unique_ptr<BoardView> view;
};

TEST_F(VertexListTest, EmptyBoardDrawsBackgroundAndTwentyGridLinesOnly) {
  Build();
  EXPECT_EQ(view->TriangleCount(), 42);
  EXPECT_EQ(view->QuadCount(), 0);
  float r[4];
  Rect(0, r);
  EXPECT_EQ(r[0], 16);
  EXPECT_EQ(r[1], 16);
  EXPECT_EQ(r[2], 288);
  EXPECT_EQ(r[3], 288);
  EXPECT_EQ(RectCorner(0).z, 1.0f);
  EXPECT_EQ(RectCorner(0).colour, 0xFFF0F0F0u);
  for (int i = 0; i <= 9; ++i) {
    const float g = i % 3 == 0 ? 2.0f : 1.0f;
    float vertical[4], horizontal[4];
    Rect(1 + 2 * i, vertical);
    Rect(2 + 2 * i, horizontal);
    EXPECT_EQ(vertical[0], 16 + 32 * i - g) << i;
    EXPECT_EQ(vertical[1], 16 - g) << i;
    EXPECT_EQ(vertical[2], 2 * g) << i;
    EXPECT_EQ(vertical[3], 288 + 2 * g) << i;
    EXPECT_EQ(horizontal[0], 16 - g) << i;
    EXPECT_EQ(horizontal[1], 16 + 32 * i - g) << i;
    EXPECT_EQ(horizontal[2], 288 + 2 * g) << i;
    EXPECT_EQ(horizontal[3], 2 * g) << i;
    EXPECT_EQ(RectCorner(1 + 2 * i).z, 0.6f);
    EXPECT_EQ(RectCorner(2 + 2 * i).colour, 0xFF404040u);
  }
}

TEST_F(VertexListTest, ThickLinesAreFourPixelsWideInEverySize) {
  for (int size = 0; size < 3; ++size) {
    view->SetSizeIndex(size);
    Build();
    for (int i = 0; i <= 9; ++i) {
      float vertical[4];
      Rect(1 + 2 * i, vertical);
      EXPECT_EQ(vertical[2], i % 3 == 0 ? 4.0f : 2.0f) << size << " " << i;
      EXPECT_EQ(vertical[0], view->ColumnX(i) - vertical[2] / 2) << size << " " << i;
    }
  }
}

TEST_F(VertexListTest, LinesAndDigitsScaleWithTheDpi) {
  view->SetDpi(144);
  view->SetSizeIndex(0);
  board.SetValue(8, 8, 3);
  view->Select(0, 0);
  Build();
  float r[4];
  Rect(0, r);
  EXPECT_EQ(r[0], 36);
  EXPECT_EQ(r[2], 9 * 72);
  for (int i = 0; i <= 9; ++i) {
    float vertical[4];
    Rect(1 + 2 * i, vertical);
    // 6 and 3 pixels wide, centred on the grid coordinate.
    EXPECT_EQ(vertical[2], i % 3 == 0 ? 6.0f : 3.0f) << i;
    EXPECT_EQ(vertical[0], 36 + 72 * i - vertical[2] / 2) << i;
  }
  // The big 3 fills r9c9; the selected empty r1c1 shows its keypad in thirds.
  bool bigDigit = false;
  for (int q = 0; q < view->QuadCount(); ++q) {
    if (QuadCorner(q).x == 36 + 8 * 72 && QuadCorner(q).y == 36 + 8 * 72) {
      EXPECT_EQ(QuadFarCorner(q).x, 36 + 9 * 72);
      bigDigit = true;
    }
  }
  EXPECT_TRUE(bigDigit);
  EXPECT_EQ(QuadCorner(0).x, 36);
  EXPECT_EQ(QuadFarCorner(0).x, 36 + 24);
}

TEST_F(VertexListTest, SelectedEmptyCellShowsItsWholeKeypadOnYellow) {
  board.SetCandidate(3, 4, 2, true);
  board.SetCandidate(3, 4, 7, true);
  view->Select(3, 4);
  Build();
  ASSERT_EQ(view->TriangleCount(), 44);
  float r[4];
  Rect(21, r);
  EXPECT_EQ(r[0], view->ColumnX(4));
  EXPECT_EQ(r[1], view->RowY(3));
  EXPECT_EQ(r[2], 32);
  EXPECT_EQ(RectCorner(21).colour, 0xFFFFFF00u);
  EXPECT_EQ(RectCorner(21).z, 0.8f);
  ASSERT_EQ(view->QuadCount(), 9);
  for (int d = 1; d <= 9; ++d) {
    const TexturedVertex& q = QuadCorner(d - 1);
    EXPECT_EQ(q.colour, (d == 2 || d == 7) ? 0xFFC000C0u : 0xFFC0C0C0u) << d;
    EXPECT_EQ(q.z, 0.5f);
  }
}

TEST_F(VertexListTest, UnselectedMarksShowAtAThirdOfTheCellInKeypadPlaces) {
  board.SetCandidate(0, 0, 7, true);
  board.SetCandidate(0, 0, 2, true);
  Build();
  ASSERT_EQ(view->QuadCount(), 2);
  const float third = 32.0f / 3.0f;
  const TexturedVertex& two = QuadCorner(0);  // increasing digit order
  EXPECT_FLOAT_EQ(two.x, 16 + 32 * (1.0f / 3.0f));
  EXPECT_FLOAT_EQ(two.y, 16);
  EXPECT_EQ(two.u, 1.0f / 3.0f);
  EXPECT_EQ(two.v, 0.0f);
  EXPECT_FLOAT_EQ(QuadFarCorner(0).x - two.x, third);
  EXPECT_EQ(two.colour, 0xFFC000C0u);
  const TexturedVertex& seven = QuadCorner(1);
  EXPECT_FLOAT_EQ(seven.x, 16);
  EXPECT_FLOAT_EQ(seven.y, 16 + 32 * (2.0f / 3.0f));
  EXPECT_EQ(seven.u, 0.0f);
  EXPECT_EQ(seven.v, 2.0f / 3.0f);
  EXPECT_FLOAT_EQ(QuadFarCorner(1).v, 2.0f / 3.0f + 1.0f / 3.0f);
  EXPECT_FLOAT_EQ(QuadFarCorner(1).y - seven.y, third);
}

TEST_F(VertexListTest, ValuesAreBigDigitsTintedByWhoEnteredThem) {
  board.SetValue(8, 8, 9);
  board.SetGiven(8, 8);
  board.SetValue(8, 7, 6);
  board.SetCandidate(8, 7, 1, true);  // hidden under the value
  Build();
  ASSERT_EQ(view->QuadCount(), 2);
  const TexturedVertex& six = QuadCorner(0);
  EXPECT_EQ(six.x, view->ColumnX(7));
  EXPECT_EQ(six.y, view->RowY(8));
  EXPECT_EQ(QuadFarCorner(0).x, view->ColumnX(8));
  EXPECT_EQ(six.u, 2.0f / 3.0f);
  EXPECT_EQ(six.v, 1.0f / 3.0f);
  EXPECT_EQ(six.colour, 0xFF404040u);
  const TexturedVertex& nine = QuadCorner(1);
  EXPECT_EQ(nine.colour, 0xFF0000C0u);
  EXPECT_EQ(nine.u, 2.0f / 3.0f);
  EXPECT_EQ(nine.v, 2.0f / 3.0f);
  EXPECT_FLOAT_EQ(QuadFarCorner(1).u, 1.0f);
}

TEST_F(VertexListTest, SameDigitHighlightCoversEveryCellWithThatValue) {
  board.SetValue(0, 0, 4);
  board.SetGiven(0, 0);
  board.SetValue(5, 5, 4);
  board.SetValue(6, 6, 3);
  view->SetHighlight(4);
  view->Select(5, 5);
  Build();
  // Background and lines, then (0, 0) orange, then (5, 5) orange and yellow.
  ASSERT_EQ(view->TriangleCount(), 42 + 2 + 4);
  EXPECT_EQ(RectCorner(21).colour, 0xFFFFC000u);
  EXPECT_EQ(RectCorner(21).z, 0.9f);
  EXPECT_EQ(RectCorner(21).x, 16);
  EXPECT_EQ(RectCorner(22).colour, 0xFFFFC000u);
  EXPECT_EQ(RectCorner(22).x, view->ColumnX(5));
  EXPECT_EQ(RectCorner(23).colour, 0xFFFFFF00u);
  EXPECT_EQ(RectCorner(23).z, 0.8f);
  EXPECT_EQ(view->QuadCount(), 3);
}

TEST_F(VertexListTest, EditModeSelectionShowsThePurpleKeypadAndHidesTheValue) {
  board.SetValue(2, 2, 5);
  view->SetEditMode(true);
  view->Select(2, 2);
  Build();
  ASSERT_EQ(view->QuadCount(), 9);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(QuadCorner(i).colour, 0xFFC000C0u);
    EXPECT_LT(QuadFarCorner(i).x - QuadCorner(i).x, 11.0f);  // all small
  }
}

TEST_F(VertexListTest, AFullBoardFitsTheListsAndOutOfRangeCellsAddNothing) {
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c) board.SetValue(r, c, 1);
  view->SetHighlight(1);
  view->Select(0, 0);
  Build();
  EXPECT_EQ(view->TriangleCount(), 42 + 2 * 81 + 2);
  EXPECT_EQ(view->QuadCount(), 81);
  view->ResetTriangles();
  view->ResetQuads();
  view->AddCellHighlight(9, 0, 0.8f, 1);
  view->AddBigDigit(0, -1, 5, 1);
  view->AddSmallDigit(0, 0, 0, 1);
  view->AddSmallDigit(0, 0, 10, 1);
  EXPECT_EQ(view->TriangleCount(), 0);
  EXPECT_EQ(view->QuadCount(), 0);
}

TEST_F(VertexListTest, RenderWithoutADeviceBuildsNothing) {
  view->Render(nullptr);
  EXPECT_EQ(view->TriangleCount(), 0);
  EXPECT_EQ(view->CreateDeviceObjects(nullptr), E_FAIL);
}

// --- A real device ----------------------------------------------------------------

class RenderedFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view = std::make_unique<BoardView>(TestLinks(&board));
    window = std::make_unique<TestWindow>(view.get(), 320, true);
    direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(direct3d, nullptr);
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferWidth = 320;
    pp.BackBufferHeight = 320;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D24X8;
    pp.hDeviceWindow = window->Handle();
    HRESULT hr = direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window->Handle(),
                                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device);
    ASSERT_TRUE(SUCCEEDED(hr)) << std::hex << hr;
  }
  void TearDown() override {
    view->ReleaseDeviceObjects();
    if (device) device->Release();
    if (direct3d) direct3d->Release();
    window.reset();
  }
  // Renders one frame and copies the back buffer into `pixels`.
  void RenderAndRead() {
    RenderBoardFrame(*view, device);
    IDirect3DSurface9* target = nullptr;
    ASSERT_TRUE(SUCCEEDED(device->GetRenderTarget(0, &target)));
    D3DSURFACE_DESC desc;
    target->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    ASSERT_TRUE(SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                               D3DPOOL_SYSTEMMEM, &copy, nullptr)));
    ASSERT_TRUE(SUCCEEDED(device->GetRenderTargetData(target, copy)));
    D3DLOCKED_RECT locked;
    ASSERT_TRUE(SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY)));
    for (int y = 0; y < 320; ++y) {
      const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
      for (int x = 0; x < 320; ++x) pixels[y][x] = row[x] & 0x00FFFFFF;
    }
    copy->UnlockRect();
    copy->Release();
    target->Release();
  }
  // Whether the inside of cell (row, col), clear of the grid lines, holds a
  // pixel within `tolerance` of `rgb`.
  bool CellHasColour(int row, int col, DWORD rgb, int tolerance) const {
    for (int y = view->RowY(row) + 2; y < view->RowY(row + 1) - 2; ++y) {
      for (int x = view->ColumnX(col) + 2; x < view->ColumnX(col + 1) - 2; ++x) {
        DWORD p = pixels[y][x];
        int dr = static_cast<int>((p >> 16) & 0xFF) - static_cast<int>((rgb >> 16) & 0xFF);
        int dg = static_cast<int>((p >> 8) & 0xFF) - static_cast<int>((rgb >> 8) & 0xFF);
        int db = static_cast<int>(p & 0xFF) - static_cast<int>(rgb & 0xFF);
        if (dr * dr <= tolerance * tolerance && dg * dg <= tolerance * tolerance && db * db <= tolerance * tolerance)
          return true;
      }
    }
    return false;
  }

  Board board;
  std::unique_ptr<BoardView> view;
  std::unique_ptr<TestWindow> window;
  IDirect3D9* direct3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  DWORD pixels[320][320] = {};
};

TEST_F(RenderedFrameTest, DeviceObjectsComeWithTheTextureAndRefreshTheMenu) {
  ASSERT_EQ(view->CreateDeviceObjects(device), S_OK);
  EXPECT_TRUE(view->HasDeviceObjects());
  HMENU menu = GetMenu(window->Handle());
  EXPECT_TRUE(GetMenuState(menu, 40065, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(menu, 40063, MF_BYCOMMAND) & MF_CHECKED);
  view->ReleaseDeviceObjects();
  view->ReleaseDeviceObjects();
  EXPECT_FALSE(view->HasDeviceObjects());
  // A second creation after a release (a device reset) works the same.
  EXPECT_EQ(view->CreateDeviceObjects(device), S_OK);
}

TEST_F(RenderedFrameTest, MissingDigitTextureFailsTheDeviceObjects) {
  wchar_t here[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, here);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  ASSERT_TRUE(SetCurrentDirectoryW(temp));
  HRESULT hr = view->CreateDeviceObjects(device);
  SetCurrentDirectoryW(here);
  EXPECT_EQ(hr, E_FAIL);
}

TEST_F(RenderedFrameTest, FrameShowsMarginBoardGridSelectionAndTintedDigits) {
  ASSERT_EQ(view->CreateDeviceObjects(device), S_OK);
  board.SetValue(0, 0, 5);
  board.SetGiven(0, 0);
  board.SetValue(0, 1, 8);  // the player's
  board.SetValue(6, 6, 3);
  board.SetGiven(6, 6);
  board.SetValue(7, 7, 3);
  view->Select(4, 4);       // an empty cell: yellow under its grey keypad
  view->SetHighlight(3);
  RenderAndRead();

  EXPECT_EQ(pixels[5][5], 0xE0E0E0u);       // margin
  EXPECT_EQ(pixels[310][160], 0xE0E0E0u);
  EXPECT_EQ(pixels[16 + 32 * 2 + 16][16 + 32 * 2 + 16], 0xF0F0F0u);  // empty cell (2, 2)
  EXPECT_EQ(pixels[16 + 32 * 2 + 16][16 + 32 * 3], 0x404040u);       // thick line 3
  EXPECT_EQ(pixels[16 + 32 * 2 + 16][16 + 32 * 3 - 2], 0x404040u);
  EXPECT_EQ(pixels[16 + 32 * 2 + 16][16 + 32 * 3 + 2], 0xF0F0F0u);
  EXPECT_EQ(pixels[16 + 32 * 2 + 16][16 + 32 * 1], 0x404040u);       // thin line 1
  EXPECT_EQ(pixels[16 + 32 * 2 + 16][16 + 32 * 1 + 1], 0xF0F0F0u);

  // The selected cell's corner is yellow; the grid stays over it.
  const int sx = view->ColumnX(4), sy = view->RowY(4);
  EXPECT_EQ(pixels[sy + 2][sx + 2], 0xFFFF00u);
  EXPECT_EQ(pixels[sy + 16][sx], 0x404040u);
  EXPECT_TRUE(CellHasColour(4, 4, 0xC0C0C0, 12));  // unmarked keypad digits

  // Same-digit highlight on both threes, orange under the lines.
  EXPECT_EQ(pixels[view->RowY(7) + 2][view->ColumnX(7) + 2], 0xFFC000u);
  EXPECT_EQ(pixels[view->RowY(6) + 2][view->ColumnX(6) + 2], 0xFFC000u);
  EXPECT_EQ(pixels[view->RowY(7)][view->ColumnX(7) + 16], 0x404040u);

  // Digits: the given five is blue, the player's eight dark grey.
  EXPECT_TRUE(CellHasColour(0, 0, 0x0000C0, 12));
  EXPECT_FALSE(CellHasColour(0, 0, 0x404040, 12));
  EXPECT_TRUE(CellHasColour(0, 1, 0x404040, 12));
  EXPECT_FALSE(CellHasColour(0, 1, 0x0000C0, 40));
}

TEST_F(RenderedFrameTest, MarkedCandidatesArePurpleAndOnlyWhereMarked) {
  ASSERT_EQ(view->CreateDeviceObjects(device), S_OK);
  board.SetCandidate(2, 5, 2, true);
  RenderAndRead();
  EXPECT_TRUE(CellHasColour(2, 5, 0xC000C0, 16));
  // Only the top-middle third of the cell holds ink.
  const int left = view->ColumnX(5), top = view->RowY(2);
  for (int y = top + 2; y < top + 30; ++y) {
    for (int x = left + 2; x < left + 30; ++x) {
      const bool inTwo = x >= left + 10 && x <= left + 22 && y < top + 12;
      if (!inTwo) {
        EXPECT_EQ(pixels[y][x], 0xF0F0F0u) << x - left << "," << y - top;
      }
    }
  }
}

}  // namespace
