// The view's device objects when their creation fails part-way: nothing made
// before the failure stays held, so the device can be released cleanly and
// the user is told only that the device objects failed.
#include <gtest/gtest.h>

#include <stdio.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/device.h"
#include "framework/enumeration.h"
#include "framework/fake_device.h"
#include "framework/matching.h"
#include "framework/test_recorder.h"
#include "view/board_view.h"
#include "view/game_callbacks.h"
#include "view/view_test_support.h"

namespace {

// A vertex buffer that is no buffer: like a real one, it holds a reference
// on its device for as long as it lives.
class FakeVertexBuffer : public IDirect3DVertexBuffer9 {
 public:
  explicit FakeVertexBuffer(IDirect3DDevice9* owner) : device(owner) { device->AddRef(); }
  ULONG references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    if (references > 0 && --references == 0) device->Release();
    return references;
  }
  HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** owner) override {
    *owner = device;
    device->AddRef();
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, const void*, DWORD, DWORD) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, void*, DWORD*) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID) override { return E_FAIL; }
  DWORD STDMETHODCALLTYPE SetPriority(DWORD) override { return 0; }
  DWORD STDMETHODCALLTYPE GetPriority() override { return 0; }
  void STDMETHODCALLTYPE PreLoad() override {}
  D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
  HRESULT STDMETHODCALLTYPE Lock(UINT, UINT, void**, DWORD) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE Unlock() override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC*) override { return D3DERR_INVALIDCALL; }

 private:
  IDirect3DDevice9* device;  // borrowed, with one reference added
};

// The fake device, able to make vertex buffers; creation number
// `failBufferAt` (1 the first) fails.
class BufferDevice : public FakeDevice {
 public:
  int failBufferAt = 0;
  int bufferCalls = 0;
  std::vector<std::unique_ptr<FakeVertexBuffer>> buffers;

  HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL,
                                               IDirect3DVertexBuffer9** buffer, HANDLE*) override {
    *buffer = nullptr;
    if (++bufferCalls == failBufferAt) return D3DERR_OUTOFVIDEOMEMORY;
    buffers.push_back(std::make_unique<FakeVertexBuffer>(this));
    *buffer = buffers.back().get();
    return D3D_OK;
  }
  int LiveBuffers() const {
    int live = 0;
    for (const auto& buffer : buffers) live += buffer->references > 0 ? 1 : 0;
    return live;
  }
};

// Makes a fresh empty folder the working directory (where the game looks
// for Number.dds) and goes back, removing it, at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    GetCurrentDirectoryW(MAX_PATH, previous);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path = std::wstring(temp) + L"kubri-objects-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path.c_str(), nullptr);
    SetCurrentDirectoryW(path.c_str());
  }
  ~ScratchFolder() {
    SetCurrentDirectoryW(previous);
    DeleteFileW((path + L"\\Number.dds").c_str());
    RemoveDirectoryW(path.c_str());
  }
  void WriteDigitTexture(const char* bytes) {
    FILE* file = _wfopen(L"Number.dds", L"wb");
    ASSERT_NE(nullptr, file);
    fputs(bytes, file);
    fclose(file);
  }

 private:
  wchar_t previous[MAX_PATH];
  std::wstring path;
};

TEST(ViewDeviceObjects, FailedSecondBufferReleasesTheFirst) {
  // The device outlives the view, whose destructor releases what it holds.
  BufferDevice device;
  device.failBufferAt = 2;
  Board board;
  auto view = std::make_unique<BoardView>(TestLinks(&board));
  EXPECT_EQ(E_FAIL, view->CreateDeviceObjects(&device));
  EXPECT_FALSE(view->HasDeviceObjects());
  ASSERT_EQ(1u, device.buffers.size());
  EXPECT_EQ(0, device.LiveBuffers());
  EXPECT_EQ(1u, device.references);
}

TEST(ViewDeviceObjects, MissingOrUnreadableDigitTextureReleasesBothBuffers) {
  BufferDevice device;
  Board board;
  auto view = std::make_unique<BoardView>(TestLinks(&board));
  ScratchFolder folder;
  EXPECT_EQ(E_FAIL, view->CreateDeviceObjects(&device));
  EXPECT_FALSE(view->HasDeviceObjects());
  EXPECT_EQ(2u, device.buffers.size());
  EXPECT_EQ(0, device.LiveBuffers());

  folder.WriteDigitTexture("not a texture at all");
  EXPECT_EQ(E_FAIL, view->CreateDeviceObjects(&device));
  EXPECT_FALSE(view->HasDeviceObjects());
  EXPECT_EQ(4u, device.buffers.size());
  EXPECT_EQ(0, device.LiveBuffers());
  EXPECT_EQ(1u, device.references);
}

// The game's own device callbacks, driven by the framework's device change
// with the fake as the device, started where no Number.dds lies.
class GameDeviceObjectsTest : public fwtest::FrameworkTest {};

TEST_F(GameDeviceObjectsTest, StartWithoutTheDigitTextureReportsOnlyTheDeviceObjects) {
  FrameworkSetOnDeviceCreated(OnDeviceCreated, nullptr);
  FrameworkSetOnDeviceReset(OnDeviceReset, nullptr);
  FrameworkSetOnDeviceLost(OnDeviceLost, nullptr);
  FrameworkSetOnDeviceDestroyed(OnDeviceDestroyed, nullptr);
  InitAndWindow();
  ASSERT_NE(nullptr, FrameworkGetEnumeration(true));
  DeviceSettings found{};
  ASSERT_EQ(S_OK, fwtest::FindWindowedSettings(320, 320, &found));

  ScratchFolder folder;
  BufferDevice device;
  // The test keeps no reference of its own: the framework's is the only one,
  // so a buffer left behind would show as a reference left at release.
  device.references = 0;
  EXPECT_EQ(FW_E_RESETTINGDEVICEOBJECTS, FrameworkChangeDevice(&found, &device, false, true));
  ASSERT_EQ(1u, fwtest::Rec().boxes.size());
  EXPECT_EQ(L"Failed resetting Direct3D device objects.", fwtest::Rec().boxes[0]);
  EXPECT_EQ(9, FrameworkGetExitCode());
  EXPECT_EQ(2u, device.buffers.size());
  EXPECT_EQ(0, device.LiveBuffers());
  EXPECT_EQ(0u, device.references);
  EXPECT_EQ(nullptr, FrameworkGetDevice());
}

}  // namespace
