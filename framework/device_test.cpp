// The device's life on the real Direct3D under Wine: the callbacks' pairing,
// sizing of the first device, resets on resize, error paths and exit codes,
// the switch to full screen and back.
#include "framework/device.h"

#include "framework/enumeration.h"
#include "framework/matching.h"
#include "framework/test_recorder.h"

namespace fwtest {
namespace {

class DeviceTest : public FrameworkTest {
 protected:
  // Every "reset" followed by exactly one "lost" before the next reset or the
  // end, and every "created" by one "destroyed".
  // With `ended`, nothing may be left open at the end.
  static void ExpectPaired(const std::vector<std::string>& names, bool ended = true) {
    int resetsOpen = 0;
    int createsOpen = 0;
    for (const std::string& name : names) {
      if (name == "reset") {
        EXPECT_EQ(0, resetsOpen) << "reset without a lost before it";
        ++resetsOpen;
      } else if (name == "lost") {
        EXPECT_EQ(1, resetsOpen) << "lost without a reset";
        --resetsOpen;
      } else if (name == "created") {
        EXPECT_EQ(0, createsOpen);
        ++createsOpen;
      } else if (name == "destroyed") {
        EXPECT_EQ(1, createsOpen);
        EXPECT_EQ(0, resetsOpen) << "destroyed while reset objects were alive";
        --createsOpen;
      }
    }
    if (ended) {
      EXPECT_EQ(0, resetsOpen);
      EXPECT_EQ(0, createsOpen);
    }
  }
};

TEST_F(DeviceTest, CreateThenResetOnStartAndLostThenDestroyedAtShutdown) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  FrameworkState& state = FrameworkGetState();
  ASSERT_NE(nullptr, state.GetDevice());
  EXPECT_TRUE(state.GetDeviceCreated());
  EXPECT_TRUE(state.GetDeviceObjectsCreated());
  EXPECT_TRUE(state.GetDeviceObjectsReset());
  EXPECT_TRUE(FrameworkIsWindowed());
  EXPECT_TRUE(IsWindowVisible(FrameworkGetWindow()));
  EXPECT_EQ(0, state.GetPauseTimeCount());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_FALSE(state.GetIgnoreSizeChange());
  EXPECT_FALSE(state.GetInsideDeviceCallback());
  EXPECT_EQ(0, FrameworkGetExitCode());

  const std::vector<std::string> start = Rec().Names();
  ASSERT_GE(start.size(), 2u);
  EXPECT_EQ("created", start[0]);
  EXPECT_EQ("reset", start[1]);
  const std::vector<const Call*> created = Rec().Of("created");
  EXPECT_EQ(320u, created[0]->width);
  EXPECT_EQ(240u, created[0]->height);

  FrameworkShutdown(0);
  const std::vector<std::string> names = Rec().Names();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ("lost", names[names.size() - 2]);
  EXPECT_EQ("destroyed", names[names.size() - 1]);
  ExpectPaired(names);
  EXPECT_EQ(nullptr, state.GetDevice());
  EXPECT_FALSE(state.GetCurrentSettings().has_value());
  EXPECT_FALSE(state.GetDeviceCreated());
  EXPECT_TRUE(Rec().boxes.empty()) << "the device was released with references left";
  // A second shutdown finds nothing to do.
  FrameworkShutdown(0);
  EXPECT_EQ(1, Rec().Count("destroyed"));
}

TEST_F(DeviceTest, FirstDeviceTakesTheClientAreaLeftByTheMenuBar) {
  RegisterAll();
  InitWindowAndDevice(320, 320, MakeMenu());
  HWND window = FrameworkGetWindow();
  const SIZE client = ClientSize(window);
  const int menuBar = GetSystemMetrics(SM_CYMENU);
  // The window was sized without the menu, so the menu bar took its height
  // from the client area, and the back buffer followed the client area.
  EXPECT_EQ(320, client.cx);
  EXPECT_LT(client.cy, 320);
  EXPECT_GE(client.cy, 320 - 2 * menuBar);
  const D3DSURFACE_DESC desc = FrameworkGetState().GetBackBufferDesc();
  EXPECT_EQ(static_cast<UINT>(client.cx), desc.Width);
  EXPECT_EQ(static_cast<UINT>(client.cy), desc.Height);

  const std::vector<const Call*> resets = Rec().Of("reset");
  ASSERT_EQ(2u, resets.size());
  EXPECT_EQ(320u, resets[0]->height);
  EXPECT_EQ(static_cast<UINT>(client.cy), resets[1]->height);
  const std::vector<std::string> names = Rec().Names();
  ASSERT_EQ(4u, names.size());
  EXPECT_EQ("lost", names[2]);
  EXPECT_EQ(0, FrameworkGetState().GetPauseTimeCount());
  EXPECT_FALSE(FrameworkGetState().GetIgnoreSizeChange());
}

TEST_F(DeviceTest, FirstDeviceIsCentredInTheWorkArea) {
  InitWindowAndDevice(320, 240);
  RECT rect{};
  GetWindowRect(FrameworkGetWindow(), &rect);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((rect.left - work.left) - (work.right - rect.right)), 1);
  EXPECT_LE(std::abs((rect.top - work.top) - (work.bottom - rect.bottom)), 1);
}

TEST_F(DeviceTest, ClientSizeChangeResetsTheDeviceToTheNewSize) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  HWND window = FrameworkGetWindow();
  Rec().calls.clear();
  RECT outer{0, 0, 400, 300};
  AdjustWindowRect(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  const std::vector<std::string> names = Rec().Names();
  ASSERT_EQ(2u, names.size());
  EXPECT_EQ("lost", names[0]);
  EXPECT_EQ("reset", names[1]);
  EXPECT_EQ(400u, Rec().Of("reset")[0]->width);
  EXPECT_EQ(300u, Rec().Of("reset")[0]->height);
  EXPECT_EQ(400u, FrameworkGetState().GetBackBufferDesc().Width);
  EXPECT_EQ(0, Rec().Count("created")) << "a size change must reset, not re-create";
}

// As Kubri starts with "-width:800 -height:600": the window is made at that
// size, the device asks for it, and the game corrects the window to its own
// size when it is first shown. The back buffer follows the client area.
TEST_F(DeviceTest, BackBufferFollowsTheGamesCorrectionOfAFirstSizeOfItsOwn) {
  RegisterAll();
  FrameworkSetOnMessage(HoldClientAt320, nullptr);
  Init();
  FrameworkGetState().SetOverrideWidth(800);
  FrameworkGetState().SetOverrideHeight(600);
  ASSERT_EQ(S_OK, FrameworkCreateWindow(L"Test", nullptr, nullptr, MakeMenu(), CW_USEDEFAULT,
                                        CW_USEDEFAULT));
  ASSERT_EQ(S_OK, FrameworkCreateDevice(0, true, 320, 320, nullptr, OnModify, nullptr));
  Pump();
  HWND window = FrameworkGetWindow();
  const SIZE client = ClientSize(window);
  EXPECT_EQ(320, client.cx);
  EXPECT_EQ(320, client.cy);
  const D3DSURFACE_DESC desc = FrameworkGetState().GetBackBufferDesc();
  EXPECT_EQ(320u, desc.Width);
  EXPECT_EQ(320u, desc.Height);
  EXPECT_EQ(320u, Rec().Of("reset").back()->width);
  ExpectPaired(Rec().Names(), false);
}

TEST_F(DeviceTest, SizeChangesDuringSizeMoveWaitForExitSizeMove) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  HWND window = FrameworkGetWindow();
  Rec().calls.clear();
  SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
  RECT outer{0, 0, 360, 280};
  AdjustWindowRect(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  EXPECT_EQ(0, Rec().Count("reset"));
  SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(1, Rec().Count("reset"));
  EXPECT_EQ(360u, FrameworkGetState().GetBackBufferDesc().Width);
  EXPECT_EQ(0, FrameworkGetState().GetPauseTimeCount());
}

TEST_F(DeviceTest, RestoreAfterMinimiseChecksTheSize) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(1, state.GetPauseRenderingCount());
  // While minimised the window got another size; the restore must notice.
  state.SetIgnoreSizeChange(true);
  RECT outer{0, 0, 300, 200};
  AdjustWindowRect(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  state.SetIgnoreSizeChange(false);
  Rec().calls.clear();
  SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
  EXPECT_FALSE(state.GetMinimized());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_EQ(1, Rec().Count("reset"));
  EXPECT_EQ(300u, state.GetBackBufferDesc().Width);
}

TEST_F(DeviceTest, ZeroSizeRequestKeepsTheWindowsClientSize) {
  InitWindowAndDevice(320, 240);
  DeviceSettings settings = FrameworkGetDeviceSettings();
  settings.presentParams.BackBufferWidth = 0;
  settings.presentParams.BackBufferHeight = 0;
  ASSERT_EQ(S_OK, FrameworkChangeDevice(&settings, nullptr, false, false));
  EXPECT_EQ(320, ClientSize(FrameworkGetWindow()).cx);
  EXPECT_EQ(320u, FrameworkGetState().GetBackBufferDesc().Width);
  EXPECT_EQ(240u, FrameworkGetState().GetBackBufferDesc().Height);
}

TEST_F(DeviceTest, FailingOnDeviceCreatedGivesExitCode8AndNoDestroy) {
  RegisterAll();
  Rec().createdResult = E_FAIL;
  InitAndWindow();
  FrameworkGetState().SetShowMsgBoxOnError(false);
  EXPECT_EQ(FW_E_CREATINGDEVICEOBJECTS,
            FrameworkCreateDevice(0, true, 320, 240, nullptr, nullptr, nullptr));
  EXPECT_EQ(8, FrameworkGetExitCode());
  EXPECT_TRUE(Rec().boxes.empty());
  const std::vector<std::string> names = Rec().Names();
  ASSERT_EQ(1u, names.size());
  EXPECT_EQ("created", names[0]);
  FrameworkState& state = FrameworkGetState();
  EXPECT_EQ(nullptr, state.GetDevice());
  EXPECT_FALSE(state.GetCurrentSettings().has_value());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  // The main loop then refuses to start and keeps the code.
  EXPECT_EQ(E_FAIL, FrameworkMainLoop(nullptr));
  EXPECT_EQ(8, FrameworkGetExitCode());
}

TEST_F(DeviceTest, FailingOnDeviceResetAtCreationGivesExitCode9WithoutLost) {
  RegisterAll();
  Rec().resetResult = E_FAIL;
  InitAndWindow();
  FrameworkGetState().SetShowMsgBoxOnError(false);
  EXPECT_EQ(FW_E_RESETTINGDEVICEOBJECTS,
            FrameworkCreateDevice(0, true, 320, 240, nullptr, nullptr, nullptr));
  EXPECT_EQ(9, FrameworkGetExitCode());
  const std::vector<std::string> names = Rec().Names();
  ASSERT_EQ(3u, names.size());
  EXPECT_EQ("created", names[0]);
  EXPECT_EQ("reset", names[1]);
  EXPECT_EQ("destroyed", names[2]);
  EXPECT_EQ(nullptr, FrameworkGetState().GetDevice());
}

TEST_F(DeviceTest, MediaNotFoundFromACallbackIsPassedThrough) {
  RegisterAll();
  Rec().createdResult = FW_E_MEDIANOTFOUND;
  InitAndWindow();
  EXPECT_EQ(FW_E_MEDIANOTFOUND, FrameworkCreateDevice(0, true, 320, 240, nullptr, nullptr, nullptr));
  EXPECT_EQ(4, FrameworkGetExitCode());
  ASSERT_EQ(1u, Rec().boxes.size());
  EXPECT_EQ(L"Could not find required media. Ensure that the DirectX SDK is correctly installed.",
            Rec().boxes[0]);
}

TEST_F(DeviceTest, RefusedFirstDeviceGivesExitCode3AndTheCompatibleDevicesBox) {
  RegisterAll();
  Rec().modifyAnswer = false;
  InitAndWindow();
  EXPECT_EQ(E_ABORT, FrameworkCreateDevice(0, true, 320, 240, nullptr, OnModify, nullptr));
  EXPECT_EQ(3, FrameworkGetExitCode());
  ASSERT_EQ(1u, Rec().boxes.size());
  EXPECT_EQ(L"Could not find any compatible Direct3D devices.", Rec().boxes[0]);
  EXPECT_TRUE(Rec().Names().empty());
  EXPECT_EQ(nullptr, FrameworkGetState().GetDevice());
  EXPECT_EQ(0, FrameworkGetState().GetPauseRenderingCount());
}

TEST_F(DeviceTest, RefusedLaterChangeOnlyCancelsIt) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  Rec().modifyAnswer = false;
  Rec().calls.clear();
  DeviceSettings settings = FrameworkGetDeviceSettings();
  settings.presentParams.BackBufferWidth = 200;
  EXPECT_EQ(E_ABORT, FrameworkChangeDevice(&settings, nullptr, false, false));
  EXPECT_TRUE(Rec().boxes.empty());
  EXPECT_TRUE(Rec().Names().empty());
  EXPECT_EQ(320u, FrameworkGetState().GetBackBufferDesc().Width);
  EXPECT_EQ(0, FrameworkGetExitCode());
}

TEST_F(DeviceTest, ModifiedSettingsAreTheOnesUsed) {
  InitAndWindow();
  ASSERT_EQ(S_OK, FrameworkCreateDevice(0, true, 320, 240, nullptr, OnModify, nullptr));
  EXPECT_EQ(1, Rec().modifyCalls);
  EXPECT_TRUE(Rec().lastModified.presentParams.Windowed);
  EXPECT_EQ(320u, Rec().lastModified.presentParams.BackBufferWidth);
}

TEST_F(DeviceTest, DeviceStatisticsDescribeTheHalDevice) {
  InitWindowAndDevice(320, 240);
  const std::wstring stats = FrameworkGetDeviceStats();
  EXPECT_EQ(0u, stats.find(L"HAL (")) << std::string(stats.begin(), stats.end());
  EXPECT_NE(std::wstring::npos, stats.find(L"vp): "));
}

TEST_F(DeviceTest, AltEnterToFullScreenAndBackRestoresSizePositionAndMenu) {
  RegisterAll();
  InitAndWindow(MakeMenu());
  ASSERT_EQ(S_OK, FrameworkCreateDevice(0, true, 320, 240, nullptr, nullptr, nullptr));
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  HMENU menu = GetMenu(window);
  ASSERT_NE(nullptr, menu);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RECT before{};
  GetWindowRect(window, &before);
  const SIZE clientBefore = ClientSize(window);
  const LONG_PTR styleBefore = GetWindowLongPtrW(window, GWL_STYLE);

  SendMessageW(window, WM_SYSKEYDOWN, VK_RETURN, static_cast<LPARAM>(1) << 29);
  Pump();
  ASSERT_FALSE(FrameworkIsWindowed()) << "the switch to full screen failed";
  EXPECT_EQ(nullptr, GetMenu(window));
  EXPECT_EQ(menu, state.GetSavedMenu());
  EXPECT_EQ(static_cast<LONG_PTR>(WS_POPUP | WS_SYSMENU),
            GetWindowLongPtrW(window, GWL_STYLE) & (WS_POPUP | WS_SYSMENU | WS_CAPTION));
  EXPECT_EQ(static_cast<UINT>(GetSystemMetrics(SM_CXSCREEN)), state.GetBackBufferDesc().Width);
  EXPECT_EQ(0, state.GetPauseRenderingCount());

  SendMessageW(window, WM_SYSKEYDOWN, VK_RETURN, static_cast<LPARAM>(1) << 29);
  Pump();
  ASSERT_TRUE(FrameworkIsWindowed());
  EXPECT_EQ(menu, GetMenu(window));
  RECT after{};
  GetWindowRect(window, &after);
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
  EXPECT_EQ(clientBefore.cx, ClientSize(window).cx);
  EXPECT_EQ(clientBefore.cy, ClientSize(window).cy);
  EXPECT_EQ(styleBefore & ~WS_VISIBLE, GetWindowLongPtrW(window, GWL_STYLE) & ~WS_VISIBLE);
  EXPECT_NE(0, GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << "topmost state lost";
  EXPECT_EQ(static_cast<UINT>(clientBefore.cx), state.GetBackBufferDesc().Width);
  EXPECT_EQ(static_cast<UINT>(clientBefore.cy), state.GetBackBufferDesc().Height);
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_EQ(0, state.GetPauseTimeCount());
  ExpectPaired(Rec().Names(), false);
  FrameworkShutdown(0);
  ExpectPaired(Rec().Names());
}

TEST_F(DeviceTest, EnterWithoutAltOnlyReachesTheCallbacks) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  Rec().calls.clear();
  SendMessageW(FrameworkGetWindow(), WM_SYSKEYDOWN, VK_RETURN, 0);
  SendMessageW(FrameworkGetWindow(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(FrameworkIsWindowed());
  EXPECT_EQ(2, Rec().Count("keyboard"));
  EXPECT_TRUE(Rec().Names().empty());
}

TEST_F(DeviceTest, CreateDeviceMakesItsOwnWindowWhenNoneWasAskedFor) {
  Init();
  ASSERT_EQ(S_OK, FrameworkCreateDevice(0, true, 320, 240, nullptr, nullptr, nullptr));
  EXPECT_STREQ(L"Direct3D Window", FrameworkGetState().GetWindowTitle());
}

TEST_F(DeviceTest, CreateDeviceRefusesWhenTheAskedForWindowIsMissing) {
  Init();
  FrameworkGetState().SetWindowCreateCalled(true);
  EXPECT_EQ(E_FAIL, FrameworkCreateDevice(0, true, 320, 240, nullptr, nullptr, nullptr));
  FrameworkGetState().SetInsideDeviceCallback(true);
  EXPECT_EQ(E_FAIL, FrameworkCreateDevice(0, true, 320, 240, nullptr, nullptr, nullptr));
  FrameworkGetState().SetInsideDeviceCallback(false);
}

TEST_F(DeviceTest, F3WithoutAReferenceDeviceKeepsTheHalDevice) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  Rec().calls.clear();
  IDirect3DDevice9* device = FrameworkGetDevice();
  const bool referenceListed =
      FrameworkGetEnumeration(false)->GetDeviceInfo(0, D3DDEVTYPE_REF) != nullptr;
  SendMessageW(FrameworkGetWindow(), WM_KEYDOWN, VK_F3, 0);
  FrameworkState& state = FrameworkGetState();
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_EQ(0, state.GetPauseTimeCount());
  if (referenceListed) {
    EXPECT_EQ(D3DDEVTYPE_REF, state.GetCurrentSettings()->deviceType);
    EXPECT_EQ(11, FrameworkGetExitCode());
  } else {
    EXPECT_EQ(device, FrameworkGetDevice());
    EXPECT_EQ(D3DDEVTYPE_HAL, state.GetCurrentSettings()->deviceType);
    EXPECT_TRUE(Rec().Names().empty());
    EXPECT_NE(nullptr, FrameworkGetWindow());
  }
}

TEST_F(DeviceTest, MonitorChangeMovesTheDeviceToTheWindowsMonitor) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  FrameworkState& state = FrameworkGetState();
  HMONITOR monitor = MonitorFromWindow(FrameworkGetWindow(), MONITOR_DEFAULTTOPRIMARY);
  EXPECT_EQ(monitor, state.GetAdapterMonitor());
  // As if the device were on another monitor than the one the window is on.
  state.SetAdapterMonitor(reinterpret_cast<HMONITOR>(0x4321));
  Rec().calls.clear();
  FrameworkCheckMonitorChange();
  EXPECT_EQ(monitor, state.GetAdapterMonitor());
  const std::vector<std::string> names = Rec().Names();
  ASSERT_EQ(2u, names.size());
  EXPECT_EQ("lost", names[0]);
  EXPECT_EQ("reset", names[1]);
  EXPECT_TRUE(state.GetAutoChangeAdapter());
}

TEST_F(DeviceTest, RefusedMonitorChangeIsNotAskedAgain) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  FrameworkState& state = FrameworkGetState();
  Rec().modifyAnswer = false;
  state.SetAdapterMonitor(reinterpret_cast<HMONITOR>(0x4321));
  FrameworkCheckMonitorChange();
  EXPECT_FALSE(state.GetAutoChangeAdapter());
  EXPECT_NE(nullptr, FrameworkGetDevice());
  const int asked = Rec().modifyCalls;
  FrameworkCheckMonitorChange();
  EXPECT_EQ(asked, Rec().modifyCalls);
}

TEST_F(DeviceTest, DeviceCursorCopiesTheArrowIntoTheHardwareCursor) {
  InitWindowAndDevice(320, 240);
  IDirect3DDevice9* device = FrameworkGetDevice();
  EXPECT_EQ(S_OK, FrameworkSetDeviceCursor(device, LoadCursorW(nullptr, IDC_ARROW)));
  EXPECT_EQ(E_INVALIDARG, FrameworkSetDeviceCursor(device, nullptr));
}

}  // namespace
}  // namespace fwtest
