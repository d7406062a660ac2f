// The game's own DDS reader against the D3DX runtime's default file loader
// on a real device: the same texture for the digit texture and for every
// format the reader takes, and no texture from a file it refuses.
#include "resources/dds_texture.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
#include <string>

#include "framework/d3dx_runtime.h"
#include "framework/fake_device.h"
#include "framework/fake_direct3d.h"
#include "framework/test_window.h"
#include "resources/dds_test_files.h"

namespace {

class DdsTextureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    window_ = CreateTestWindow(L"KubriDdsTextureTest", DefWindowProcW, WS_OVERLAPPEDWINDOW, 200);
    direct3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3d_) return;
    D3DPRESENT_PARAMETERS present = {};
    present.Windowed = TRUE;
    present.SwapEffect = D3DSWAPEFFECT_DISCARD;
    present.hDeviceWindow = window_;
    direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                            D3DCREATE_SOFTWARE_VERTEXPROCESSING, &present, &device_);
  }
  static void TearDownTestSuite() {
    if (device_) device_->Release();
    if (direct3d_) direct3d_->Release();
    DestroyWindow(window_);
  }
  void SetUp() override { ASSERT_NE(nullptr, device_); }
  void TearDown() override {
    FrameworkSetD3DXRuntimeName(nullptr);
    DeleteFileW(ScratchName());
  }

  static void Write(const std::vector<std::uint8_t>& bytes) {
    FILE* file = _wfopen(ScratchName(), L"wb");
    ASSERT_NE(nullptr, file);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
  }

  // One file per process: ctest runs the cases side by side in one folder.
  static const wchar_t* ScratchName() {
    static wchar_t name[64];
    if (!name[0]) swprintf(name, 64, L"kubri_dds_texture_test_%lu.dds", GetCurrentProcessId());
    return name;
  }
  static HWND window_;
  static IDirect3D9* direct3d_;
  static IDirect3DDevice9* device_;
};

HWND DdsTextureTest::window_ = nullptr;
IDirect3D9* DdsTextureTest::direct3d_ = nullptr;
IDirect3DDevice9* DdsTextureTest::device_ = nullptr;

// Bytes of one row and the number of rows of a level (block rows for DXT).
void RowsOf(const D3DSURFACE_DESC& desc, UINT* rowBytes, UINT* rows) {
  const bool dxt1 = desc.Format == D3DFMT_DXT1;
  if (dxt1 || (desc.Format >= D3DFMT_DXT2 && desc.Format <= D3DFMT_DXT5)) {
    *rowBytes = (desc.Width + 3) / 4 * (dxt1 ? 8 : 16);
    *rows = (desc.Height + 3) / 4;
    return;
  }
  const UINT bytes = desc.Format == D3DFMT_A8 || desc.Format == D3DFMT_L8 ? 1
                     : desc.Format == D3DFMT_R8G8B8                           ? 3
                     : desc.Format == D3DFMT_A8R8G8B8 || desc.Format == D3DFMT_X8R8G8B8 ||
                             desc.Format == D3DFMT_A8B8G8R8 || desc.Format == D3DFMT_X8B8G8R8
                         ? 4
                         : 2;
  *rowBytes = desc.Width * bytes;
  *rows = desc.Height;
}

// Where the first row of two levels' bytes that differs, differs.
std::string FirstDifference(const BYTE* a, const BYTE* b, UINT bytes, UINT row) {
  UINT at = 0;
  while (at < bytes && a[at] == b[at]) ++at;
  if (at == bytes) return "";
  return " row " + std::to_string(row) + " byte " + std::to_string(at) + ": " +
         std::to_string(a[at]) + " and " + std::to_string(b[at]) + ";";
}

// Every difference between the levels two textures both have; empty when
// none.
std::string Differences(IDirect3DTexture9* runtime, IDirect3DTexture9* reader) {
  std::string found;
  const UINT levels = std::min(runtime->GetLevelCount(), reader->GetLevelCount());
  for (UINT i = 0; i < levels; ++i) {
    D3DSURFACE_DESC a, b;
    runtime->GetLevelDesc(i, &a);
    reader->GetLevelDesc(i, &b);
    if (a.Width != b.Width || a.Height != b.Height || a.Format != b.Format || a.Pool != b.Pool ||
        a.Usage != b.Usage) {
      found += " level " + std::to_string(i) + " described differently;";
      continue;
    }
    UINT rowBytes, rows;
    RowsOf(a, &rowBytes, &rows);
    D3DLOCKED_RECT la, lb;
    if (FAILED(runtime->LockRect(i, &la, nullptr, D3DLOCK_READONLY))) return "no lock";
    if (FAILED(reader->LockRect(i, &lb, nullptr, D3DLOCK_READONLY))) {
      runtime->UnlockRect(i);
      return "no lock";
    }
    for (UINT row = 0; row < rows; ++row) {
      const std::string difference =
          FirstDifference(static_cast<BYTE*>(la.pBits) + la.Pitch * row,
                          static_cast<BYTE*>(lb.pBits) + lb.Pitch * row, rowBytes, row);
      if (!difference.empty()) {
        found += " level " + std::to_string(i) + difference;
        break;
      }
    }
    runtime->UnlockRect(i);
    reader->UnlockRect(i);
  }
  return found;
}

std::string Describe(IDirect3DTexture9* texture) {
  D3DSURFACE_DESC desc;
  texture->GetLevelDesc(0, &desc);
  char text[160];
  snprintf(text, sizeof text, "%ux%u format %d, %lu levels, pool %d", desc.Width, desc.Height,
           int(desc.Format), texture->GetLevelCount(), int(desc.Pool));
  return text;
}

TEST_F(DdsTextureTest, DigitTextureIsTheRuntimesLevelForLevel) {
  IDirect3DTexture9* runtime = nullptr;
  ASSERT_EQ(S_OK, FrameworkCreateTextureFromFile(device_, KUBRI_NUMBER_DDS, &runtime));
  IDirect3DTexture9* reader = nullptr;
  ASSERT_EQ(S_OK, DdsCreateTextureFromFile(device_, KUBRI_NUMBER_DDS, &reader));
  printf("runtime: %s\nreader:  %s\n", Describe(runtime).c_str(), Describe(reader).c_str());
  EXPECT_EQ("", Differences(runtime, reader));
  D3DSURFACE_DESC desc;
  reader->GetLevelDesc(0, &desc);
  EXPECT_EQ(256u, desc.Width);
  EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
  EXPECT_EQ(9u, reader->GetLevelCount());
  runtime->Release();
  reader->Release();
}

// Uncompressed images 12 x 8, widened to 16 x 8, with 4 levels of their own
// or none; compressed ones 16 x 8 with their full chain of 5 or none, which
// the reader leaves at one level where the runtime completes the chain.
TEST_F(DdsTextureTest, EveryFormatGivesTheRuntimesTexture) {
  const struct {
    const char* name;
    Spelling spelling;
  } cases[] = {
      {"A8R8G8B8", kA8R8G8B8}, {"X8R8G8B8", kX8R8G8B8},           {"A4R4G4B4", kA4R4G4B4},
      {"A1R5G5B5", kA1R5G5B5}, {"R5G6B5", kR5G6B5},               {"A8", kA8},
      {"L8", kL8},             {"A8L8", kA8L8},                   {"DXT1", FourCc(kDdsFormatDxt1)},
      {"DXT2", FourCc(kDdsFormatDxt2)}, {"DXT3", FourCc(kDdsFormatDxt3)},
      {"DXT4", FourCc(kDdsFormatDxt4)}, {"DXT5", FourCc(kDdsFormatDxt5)},
  };
  for (const auto& c : cases) {
    const bool compressed = c.spelling.fourCc != 0;
    for (std::uint32_t mips : {0u, compressed ? 5u : 4u}) {
      SCOPED_TRACE(std::string(c.name) + (mips ? " with levels" : " without"));
      Write(File(c.spelling, compressed ? 16 : 12, 8, mips, 2048));
      IDirect3DTexture9* runtime = nullptr;
      const HRESULT byRuntime = FrameworkCreateTextureFromFile(device_, ScratchName(), &runtime);
      IDirect3DTexture9* reader = nullptr;
      const HRESULT byReader = DdsCreateTextureFromFile(device_, ScratchName(), &reader);
      EXPECT_EQ(SUCCEEDED(byRuntime), SUCCEEDED(byReader));
      if (runtime && reader) {
        EXPECT_EQ("", Differences(runtime, reader));
        const DWORD expected = compressed && !mips ? 1 : runtime->GetLevelCount();
        EXPECT_EQ(expected, reader->GetLevelCount())
            << Describe(runtime) << " / " << Describe(reader);
      }
      if (runtime) runtime->Release();
      if (reader) reader->Release();
    }
  }
}

// What image tools write by default: 24-bit and 5-5-5 without alpha, red in
// the low byte; each is the runtime's texture (on a device that makes no
// 24-bit texture, the 32-bit one it falls back to).
TEST_F(DdsTextureTest, FormatsOfImageToolsGiveTheRuntimesTexture) {
  const struct {
    const char* name;
    Spelling spelling;
  } cases[] = {{"R8G8B8", kR8G8B8}, {"X1R5G5B5", kX1R5G5B5}, {"A8B8G8R8", kA8B8G8R8}, {"X8B8G8R8", kX8B8G8R8}};
  for (const auto& c : cases) {
    for (std::uint32_t mips : {0u, 4u}) {
      SCOPED_TRACE(std::string(c.name) + (mips ? " with levels" : " without"));
      Write(File(c.spelling, 12, 8, mips, 2048));
      IDirect3DTexture9* runtime = nullptr;
      const HRESULT byRuntime = FrameworkCreateTextureFromFile(device_, ScratchName(), &runtime);
      IDirect3DTexture9* reader = nullptr;
      const HRESULT byReader = DdsCreateTextureFromFile(device_, ScratchName(), &reader);
      EXPECT_EQ(S_OK, byReader);
      EXPECT_EQ(SUCCEEDED(byRuntime), SUCCEEDED(byReader));
      if (runtime && reader) {
        printf("%s: runtime %s, reader %s\n", c.name, Describe(runtime).c_str(), Describe(reader).c_str());
        EXPECT_EQ("", Differences(runtime, reader));
        EXPECT_EQ(runtime->GetLevelCount(), reader->GetLevelCount());
      }
      if (runtime) runtime->Release();
      if (reader) reader->Release();
    }
  }
}

// DXT files 6 x 6 and 150 x 150 (what an image tool writes after a resize):
// the device makes no compressed texture of such sides, so the reader
// decodes them and, as the runtime does, widens them to powers of two with
// a full chain.
TEST_F(DdsTextureTest, CompressedFilesWithOddSidesAreWidenedToPowersOfTwo) {
  for (std::uint32_t code : {kDdsFormatDxt1, kDdsFormatDxt3, kDdsFormatDxt5}) {
    for (std::uint32_t side : {6u, 150u}) {
      SCOPED_TRACE(std::to_string(code - kDdsFormatDxt1 + 1) + " " + std::to_string(side));
      const std::uint32_t blocks = (side + 3) / 4;
      Write(File(FourCc(code), side, side, 0, blocks * blocks * 16));
      IDirect3DTexture9* runtime = nullptr;
      const HRESULT byRuntime = FrameworkCreateTextureFromFile(device_, ScratchName(), &runtime);
      IDirect3DTexture9* reader = nullptr;
      ASSERT_EQ(S_OK, DdsCreateTextureFromFile(device_, ScratchName(), &reader));
      D3DSURFACE_DESC desc;
      reader->GetLevelDesc(0, &desc);
      const UINT expected = side == 6 ? 8 : 256;
      EXPECT_EQ(expected, desc.Width);
      EXPECT_EQ(expected, desc.Height);
      if (SUCCEEDED(byRuntime) && runtime) {
        printf("runtime %s, reader %s\n", Describe(runtime).c_str(), Describe(reader).c_str());
        EXPECT_EQ(runtime->GetLevelCount(), reader->GetLevelCount());
        D3DSURFACE_DESC made;
        runtime->GetLevelDesc(0, &made);
        EXPECT_EQ(made.Width, desc.Width);
        runtime->Release();
      }
      reader->Release();
    }
  }
}

// An adapter that makes no L8 textures.
class NoL8Direct3D : public FakeDirect3D {
 public:
  HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE,
                                              D3DFORMAT format) override {
    return format == D3DFMT_L8 ? D3DERR_NOTAVAILABLE : D3D_OK;
  }
};

// The real device behind that adapter: it answers what the reader asks and
// makes the textures, counting them.
class LendingDevice : public FakeDevice {
 public:
  LendingDevice(IDirect3D9* direct3d, IDirect3DDevice9* real) : direct3d_(direct3d), real_(real) {}
  HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** direct3d) override {
    direct3d_->AddRef();
    *direct3d = direct3d_;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* p) override {
    return real_->GetCreationParameters(p);
  }
  HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT chain, D3DDISPLAYMODE* mode) override {
    return real_->GetDisplayMode(chain, mode);
  }
  HRESULT STDMETHODCALLTYPE CreateTexture(UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT f,
                                          D3DPOOL pool, IDirect3DTexture9** t, HANDLE* s) override {
    ++textures;
    return real_->CreateTexture(w, h, levels, usage, f, pool, t, s);
  }
  int textures = 0;

 private:
  IDirect3D9* direct3d_;
  IDirect3DDevice9* real_;
};

TEST_F(DdsTextureTest, FormatTheDeviceCannotMakeLeavesNoTexture) {
  NoL8Direct3D direct3d;
  LendingDevice device(&direct3d, device_);
  Write(File(kL8, 4, 4, 0, 16));
  IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
  EXPECT_EQ(D3DERR_NOTAVAILABLE, DdsCreateTextureFromFile(&device, ScratchName(), &texture));
  EXPECT_EQ(nullptr, texture);
  EXPECT_EQ(0, device.textures);

  Write(File(kA8L8, 4, 4, 0, 32));
  ASSERT_EQ(S_OK, DdsCreateTextureFromFile(&device, ScratchName(), &texture));
  EXPECT_EQ(1, device.textures);
  texture->Release();
}

TEST_F(DdsTextureTest, RefusedFileLeavesNoTexture) {
  IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
  EXPECT_EQ(E_FAIL, DdsCreateTextureFromFile(device_, L"kubri_no_such_file.dds", &texture));
  EXPECT_EQ(nullptr, texture);
  std::vector<std::uint8_t> cut = File(kA8R8G8B8, 192, 192, 0, 1000);
  Write(cut);
  texture = reinterpret_cast<IDirect3DTexture9*>(1);
  EXPECT_EQ(E_FAIL, DdsCreateTextureFromFile(device_, ScratchName(), &texture));
  EXPECT_EQ(nullptr, texture);
  EXPECT_EQ(E_INVALIDARG, DdsCreateTextureFromFile(nullptr, ScratchName(), &texture));
}

}  // namespace
