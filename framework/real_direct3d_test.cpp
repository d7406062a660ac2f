// Enumeration and matching against the system's own Direct3D 9: the game's
// start-up request must come out as a creatable windowed HAL device.
#include <gtest/gtest.h>

#include <stdio.h>

#include "framework/enumeration.h"
#include "framework/framework_state.h"
#include "framework/matching.h"
#include "framework/startup.h"
#include "framework/test_window.h"
#include "view/device_callbacks.h"

namespace {

class RealDirect3DTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    window_ = CreateTestWindow(L"KubriRealDirect3DTest", DefWindowProcW, WS_OVERLAPPEDWINDOW, 400);
    initResult_ = FrameworkInit(false, true, false, true);
    FrameworkState& state = FrameworkGetState();
    state.SetFocusWindow(window_);
    state.SetFullScreenWindow(window_);
    state.SetWindowedWindow(window_);
    state.SetOnDeviceAcceptable(OnDeviceAcceptable, nullptr);
  }

  static void TearDownTestSuite() {
    FrameworkState& state = FrameworkGetState();
    state.SetFocusWindow(nullptr);
    state.SetFullScreenWindow(nullptr);
    state.SetWindowedWindow(nullptr);
    FrameworkShutdown(0);
    DestroyWindow(window_);
  }

  void SetUp() override {
    ASSERT_EQ(S_OK, initResult_);
    ASSERT_NE(nullptr, window_);
  }

  static HWND window_;
  static HRESULT initResult_;
};

HWND RealDirect3DTest::window_ = nullptr;
HRESULT RealDirect3DTest::initResult_ = E_FAIL;

TEST_F(RealDirect3DTest, EnumerationFindsTheDesktopFormatOnTheHalDevice) {
  IDirect3D9* direct3d = FrameworkGetDirect3D();
  D3DDISPLAYMODE desktop;
  ASSERT_EQ(D3D_OK, direct3d->GetAdapterDisplayMode(0, &desktop));
  DeviceEnumeration* enumeration = FrameworkGetEnumeration(true);
  ASSERT_NE(nullptr, enumeration);
  ASSERT_FALSE(enumeration->GetAdapterInfoList().empty());
  const AdapterInfo* adapter = enumeration->GetAdapterInfo(0);
  ASSERT_NE(nullptr, adapter);
  EXPECT_NE(L'\0', adapter->uniqueDescription[0]);
  EXPECT_NE(nullptr, enumeration->GetDeviceInfo(0, D3DDEVTYPE_HAL));
  EXPECT_NE(nullptr, enumeration->GetDeviceSettingsCombo(0, D3DDEVTYPE_HAL, desktop.Format,
                                                         desktop.Format, true));
  for (const D3DDISPLAYMODE& mode : adapter->displayModes) {
    EXPECT_GE(mode.Width, 640u);
    EXPECT_GE(mode.Height, 480u);
  }
}

TEST_F(RealDirect3DTest, GameRequestGivesACreatableWindowedHalDevice) {
  IDirect3D9* direct3d = FrameworkGetDirect3D();
  D3DDISPLAYMODE desktop;
  ASSERT_EQ(D3D_OK, direct3d->GetAdapterDisplayMode(0, &desktop));
  DeviceEnumeration* enumeration = FrameworkGetEnumeration(true);

  DeviceSettings request;
  memset(&request, 0, sizeof(request));
  request.presentParams.Windowed = TRUE;
  request.presentParams.BackBufferWidth = 320;
  request.presentParams.BackBufferHeight = 320;
  MatchOptions options{};
  options.adapterOrdinal = MatchType::PreserveInput;
  options.windowed = MatchType::PreserveInput;
  options.resolution = MatchType::ClosestToInput;

  DeviceSettings found;
  ASSERT_EQ(S_OK, FrameworkFindValidDeviceSettings(&found, &request, &options));
  const D3DPRESENT_PARAMETERS& pp = found.presentParams;
  EXPECT_EQ(0u, found.adapterOrdinal);
  EXPECT_EQ(D3DDEVTYPE_HAL, found.deviceType);
  EXPECT_TRUE(pp.Windowed);
  EXPECT_EQ(desktop.Format, found.adapterFormat);
  EXPECT_EQ(desktop.Format, pp.BackBufferFormat);
  EXPECT_EQ(320u, pp.BackBufferWidth);
  EXPECT_EQ(320u, pp.BackBufferHeight);
  EXPECT_EQ(2u, pp.BackBufferCount);
  EXPECT_EQ(D3DSWAPEFFECT_DISCARD, pp.SwapEffect);
  EXPECT_EQ(D3DMULTISAMPLE_NONE, pp.MultiSampleType);
  EXPECT_EQ(0u, pp.MultiSampleQuality);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING), found.behaviorFlags);
  EXPECT_EQ(0u, pp.FullScreen_RefreshRateInHz);
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT), pp.PresentationInterval);
  EXPECT_EQ(window_, pp.hDeviceWindow);

  // The depth buffer: the listed format nearest 32 bits, without stencil
  // where one of that depth has none.
  ASSERT_TRUE(pp.EnableAutoDepthStencil);
  EXPECT_EQ(static_cast<DWORD>(D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL), pp.Flags);
  const DeviceSettingsCombo* combo = enumeration->GetDeviceSettingsCombo(
      0, D3DDEVTYPE_HAL, found.adapterFormat, pp.BackBufferFormat, true);
  ASSERT_NE(nullptr, combo);
  const UINT wanted = 4 * ColorChannelBits(pp.BackBufferFormat);
  const UINT chosenDistance = DepthBits(pp.AutoDepthStencilFormat) > wanted
                                  ? DepthBits(pp.AutoDepthStencilFormat) - wanted
                                  : wanted - DepthBits(pp.AutoDepthStencilFormat);
  for (D3DFORMAT format : combo->depthStencilFormats) {
    const UINT distance =
        DepthBits(format) > wanted ? DepthBits(format) - wanted : wanted - DepthBits(format);
    EXPECT_GE(distance + StencilBits(format),
              chosenDistance + StencilBits(pp.AutoDepthStencilFormat));
  }
  printf("chosen depth format %d of %d listed\n", static_cast<int>(pp.AutoDepthStencilFormat),
         static_cast<int>(combo->depthStencilFormats.size()));

  // Direct3D takes these settings as they are.
  DeviceSettings create = found;
  IDirect3DDevice9* device = nullptr;
  ASSERT_EQ(D3D_OK, direct3d->CreateDevice(create.adapterOrdinal, create.deviceType, window_,
                                           create.behaviorFlags, &create.presentParams, &device));
  ASSERT_NE(nullptr, device);
  EXPECT_EQ(0u, device->Release());
}

}  // namespace
