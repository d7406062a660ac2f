// Device loss and the failure paths Wine cannot produce on its own, driven
// through a fake device: restoring a lost device, a failing reset, a changed
// desktop format, references left at release, the reference device's exit
// code, painting while paused and the device cursor's image.
#include "framework/device.h"

#include "framework/enumeration.h"
#include "framework/fake_device.h"
#include "framework/matching.h"
#include "framework/test_recorder.h"

namespace fwtest {
namespace {

class DeviceLossTest : public FrameworkTest {
 protected:
  // A window and valid windowed settings, with `fake` as the device.
  void InstallFake(D3DDEVTYPE type = D3DDEVTYPE_HAL) {
    InitAndWindow();
    ASSERT_NE(nullptr, FrameworkGetEnumeration(true));
    DeviceSettings found{};
    ASSERT_EQ(S_OK, fwtest::FindWindowedSettings(320, 240, &found));
    found.deviceType = type;
    ASSERT_EQ(S_OK, FrameworkChangeDevice(&found, &fake, false, true));
    ASSERT_EQ(&fake, FrameworkGetDevice());
    // The framework now holds the only reference.
    fake.Release();
    Rec().calls.clear();
  }

  void TearDown() override {
    // The fake lives in the fixture: release it before the fixture goes.
    FrameworkTest::TearDown();
  }

  FakeDevice fake;
};

TEST_F(DeviceLossTest, LostDeviceIsResetOnceItCanBeAndThePassGoesOn) {
  RegisterAll();
  InstallFake();
  fake.cooperativeLevel = D3DERR_DEVICENOTRESET;
  FrameworkGetState().SetDeviceLost(true);
  FrameworkRenderFrame();
  const std::vector<std::string> names = Rec().Names(true);
  ASSERT_EQ(4u, names.size());
  EXPECT_EQ("lost", names[0]);
  EXPECT_EQ("reset", names[1]);
  EXPECT_EQ("move", names[2]);
  EXPECT_EQ("render", names[3]);
  EXPECT_EQ(1, fake.resetCalls);
  EXPECT_FALSE(FrameworkGetState().GetDeviceLost());
}

// The first showing of the window brings the game's first WM_SIZE, and the
// game corrects the window to its own size while the change still ignores
// size messages: the back buffer must follow the corrected client area.
TEST_F(DeviceLossTest, BackBufferFollowsAClientTheGameCorrectsWhenTheWindowIsFirstShown) {
  FrameworkSetOnMessage(HoldClientAt320, nullptr);
  InitAndWindow();
  HWND window = FrameworkGetWindow();
  ASSERT_FALSE(IsWindowVisible(window));
  ASSERT_NE(nullptr, FrameworkGetEnumeration(true));
  DeviceSettings found{};
  ASSERT_EQ(S_OK, fwtest::FindWindowedSettings(640, 480, &found));
  fake.clientSizeSource = window;
  ASSERT_EQ(S_OK, FrameworkChangeDevice(&found, &fake, false, true));
  fake.Release();

  EXPECT_TRUE(IsWindowVisible(window));
  const SIZE client = ClientSize(window);
  EXPECT_EQ(320, client.cx);
  EXPECT_EQ(320, client.cy);
  EXPECT_EQ(1, fake.resetCalls) << "the back buffer was not changed after the correction";
  EXPECT_EQ(0u, fake.lastReset.BackBufferWidth) << "the reset must keep the client size";
  const D3DPRESENT_PARAMETERS params = FrameworkGetDeviceSettings().presentParams;
  EXPECT_EQ(320u, params.BackBufferWidth);
  EXPECT_EQ(320u, params.BackBufferHeight);
  FrameworkState& state = FrameworkGetState();
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_FALSE(state.GetIgnoreSizeChange());

  // Later changes of a window already shown are the size messages' business.
  const DeviceSettings same = FrameworkGetDeviceSettings();
  fake.resetCalls = 0;
  ASSERT_EQ(S_OK, FrameworkChangeDevice(&same, nullptr, false, false));
  EXPECT_EQ(1, fake.resetCalls) << "a change of a shown window resets once";
}

TEST_F(DeviceLossTest, DeviceThatStaysLostEndsEachPassAfterASleep) {
  RegisterAll();
  InstallFake();
  fake.cooperativeLevel = D3DERR_DEVICELOST;
  FrameworkGetState().SetDeviceLost(true);
  const double start = NowMs();
  FrameworkRenderFrame();
  EXPECT_GE(NowMs() - start, 45.0);
  EXPECT_TRUE(Rec().calls.empty());
  EXPECT_EQ(0, fake.resetCalls);
  EXPECT_EQ(1, fake.cooperativeCalls);
  EXPECT_TRUE(FrameworkGetState().GetDeviceLost());
  EXPECT_EQ(0, FrameworkGetState().GetCurrentFrameNumber());
}

TEST_F(DeviceLossTest, LostDeviceIsNotPolledWhileRenderingIsPaused) {
  RegisterAll();
  InstallFake();
  fake.cooperativeLevel = D3DERR_DEVICENOTRESET;
  FrameworkGetState().SetDeviceLost(true);
  FrameworkPause(true, true);
  FrameworkRenderFrame();
  EXPECT_EQ(0, fake.cooperativeCalls);
  EXPECT_TRUE(FrameworkGetState().GetDeviceLost());
  FrameworkPause(false, false);
  FrameworkRenderFrame();
  EXPECT_FALSE(FrameworkGetState().GetDeviceLost());
}

TEST_F(DeviceLossTest, PresentReportingLossMarksTheDeviceLostOtherFailuresDoNot) {
  InstallFake();
  FrameworkState& state = FrameworkGetState();
  fake.presentResult = E_FAIL;
  FrameworkRenderFrame();
  EXPECT_FALSE(state.GetDeviceLost());
  fake.presentResult = D3DERR_DRIVERINTERNALERROR;
  FrameworkRenderFrame();
  EXPECT_TRUE(state.GetDeviceLost());
  state.SetDeviceLost(false);
  fake.presentResult = D3DERR_DEVICELOST;
  FrameworkRenderFrame();
  EXPECT_TRUE(state.GetDeviceLost());
  EXPECT_EQ(3, fake.presentCalls);
}

TEST_F(DeviceLossTest, FailingOnDeviceResetWhileRestoringReportsAndShutsDown) {
  RegisterAll();
  InstallFake();
  HWND window = FrameworkGetWindow();
  Rec().resetResult = E_FAIL;
  fake.cooperativeLevel = D3DERR_DEVICENOTRESET;
  FrameworkGetState().SetDeviceLost(true);
  FrameworkRenderFrame();
  // The failed reset is followed at once by its lost; the shutdown then
  // destroys what creation set up.
  const std::vector<std::string> names = Rec().Names();
  ASSERT_EQ(4u, names.size());
  EXPECT_EQ("lost", names[0]);
  EXPECT_EQ("reset", names[1]);
  EXPECT_EQ("lost", names[2]);
  EXPECT_EQ("destroyed", names[3]);
  ASSERT_EQ(1u, Rec().boxes.size());
  EXPECT_EQ(L"Failed resetting Direct3D device objects.", Rec().boxes[0]);
  EXPECT_EQ(0, FrameworkGetExitCode());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(nullptr, FrameworkGetDevice());
}

TEST_F(DeviceLossTest, FailingDeviceResetIsRepairedWithANewDevice) {
  RegisterAll();
  InstallFake();
  fake.cooperativeLevel = D3DERR_DEVICENOTRESET;
  fake.resetResult = D3DERR_INVALIDCALL;
  FrameworkGetState().SetDeviceLost(true);
  FrameworkRenderFrame();
  const std::vector<std::string> names = Rec().Names();
  ASSERT_EQ(4u, names.size());
  EXPECT_EQ("lost", names[0]);
  EXPECT_EQ("destroyed", names[1]);
  EXPECT_EQ("created", names[2]);
  EXPECT_EQ("reset", names[3]);
  EXPECT_NE(nullptr, FrameworkGetDevice());
  EXPECT_NE(static_cast<IDirect3DDevice9*>(&fake), FrameworkGetDevice());
  EXPECT_EQ(0u, fake.references);
  EXPECT_FALSE(FrameworkGetState().GetDeviceLost());
  EXPECT_EQ(0, FrameworkGetState().GetPauseRenderingCount());
}

TEST_F(DeviceLossTest, DesktopFormatChangeLeadsToADeviceInTheNewFormat) {
  InstallFake();
  FrameworkState& state = FrameworkGetState();
  const D3DFORMAT desktop = state.GetCurrentSettings()->adapterFormat;
  // As if the device had been made for a 16-bit desktop that is now 32-bit.
  DeviceSettings sixteenBit = *state.GetCurrentSettings();
  sixteenBit.adapterFormat = D3DFMT_R5G6B5;
  state.SetCurrentSettings(sixteenBit);
  fake.cooperativeLevel = D3DERR_DEVICENOTRESET;
  state.SetDeviceLost(true);
  FrameworkRenderFrame();
  ASSERT_TRUE(state.GetCurrentSettings().has_value());
  EXPECT_EQ(desktop, state.GetCurrentSettings()->adapterFormat);
  EXPECT_NE(nullptr, FrameworkGetWindow()) << "the format change shut the framework down";
  EXPECT_TRUE(Rec().boxes.empty());
  EXPECT_EQ(0, state.GetCurrentFrameNumber()) << "the pass must end after the change";
}

TEST_F(DeviceLossTest, DeviceLostDuringAChangeIsLeftToTheRenderingPass) {
  RegisterAll();
  InstallFake();
  fake.resetResult = D3DERR_DEVICELOST;
  DeviceSettings settings = FrameworkGetDeviceSettings();
  settings.presentParams.BackBufferWidth = 200;
  settings.presentParams.BackBufferHeight = 0;
  EXPECT_EQ(S_OK, FrameworkChangeDevice(&settings, nullptr, false, false));
  FrameworkState& state = FrameworkGetState();
  EXPECT_TRUE(state.GetDeviceLost());
  EXPECT_TRUE(state.GetDeviceCreated());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_FALSE(state.GetIgnoreSizeChange());
}

TEST_F(DeviceLossTest, FailingOnDeviceResetDuringAChangeShutsDownAndUnpauses) {
  RegisterAll();
  InstallFake();
  Rec().resetResult = E_FAIL;
  DeviceSettings settings = FrameworkGetDeviceSettings();
  settings.presentParams.BackBufferWidth = 0;
  settings.presentParams.BackBufferHeight = 0;
  EXPECT_EQ(FW_E_RESETTINGDEVICEOBJECTS, FrameworkChangeDevice(&settings, nullptr, false, false));
  FrameworkState& state = FrameworkGetState();
  EXPECT_EQ(nullptr, state.GetDevice());
  EXPECT_EQ(nullptr, FrameworkGetWindow());
  EXPECT_EQ(0, FrameworkGetExitCode());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_EQ(0, state.GetPauseTimeCount());
  EXPECT_FALSE(state.GetIgnoreSizeChange());
}

TEST_F(DeviceLossTest, NoDeviceButLostCreatesTheDeviceAgain) {
  RegisterAll();
  InstallFake();
  FrameworkCleanupEnvironment(false);
  ASSERT_EQ(nullptr, FrameworkGetDevice());
  FrameworkGetState().SetDeviceLost(true);
  Rec().calls.clear();
  FrameworkRenderFrame();
  EXPECT_NE(nullptr, FrameworkGetDevice());
  const std::vector<std::string> names = Rec().Names(true);
  ASSERT_EQ(2u, names.size()) << "the pass must end after the re-creation";
  EXPECT_EQ("created", names[0]);
  EXPECT_EQ("reset", names[1]);
}

TEST_F(DeviceLossTest, LostWithoutDeviceOrSettingsIsNotRetriedEveryPass) {
  RegisterAll();
  InstallFake();
  FrameworkCleanupEnvironment(true);
  FrameworkGetState().SetDeviceLost(true);
  Rec().calls.clear();
  const double start = NowMs();
  FrameworkRenderFrame();
  EXPECT_GE(NowMs() - start, 45.0) << "a pass without a device must not spin";
  EXPECT_TRUE(Rec().calls.empty());
  EXPECT_TRUE(Rec().boxes.empty());
  EXPECT_EQ(nullptr, FrameworkGetDevice());
}

TEST_F(DeviceLossTest, ReferencesLeftAtReleaseAreReportedAndCleanupCarriesOn) {
  RegisterAll();
  InstallFake();
  fake.extraReferences = 1;
  FrameworkCleanupEnvironment(true);
  ASSERT_EQ(1u, Rec().boxes.size());
  EXPECT_EQ(L"The D3D device has a non-zero reference count, meaning some objects were not "
            L"released.",
            Rec().boxes[0]);
  EXPECT_EQ(5, FrameworkGetExitCode());
  EXPECT_EQ(nullptr, FrameworkGetDevice());
  EXPECT_FALSE(FrameworkGetState().GetCurrentSettings().has_value());
  EXPECT_EQ(1, Rec().Count("destroyed"));
  fake.extraReferences = 0;
}

TEST_F(DeviceLossTest, ReferenceDeviceSetsExitCode11AndHalClearsIt) {
  InstallFake(D3DDEVTYPE_REF);
  EXPECT_EQ(11, FrameworkGetExitCode());
  FakeDevice hal;
  DeviceSettings settings = FrameworkGetDeviceSettings();
  settings.deviceType = D3DDEVTYPE_HAL;
  ASSERT_EQ(S_OK, FrameworkChangeDevice(&settings, &hal, false, false));
  hal.Release();
  EXPECT_EQ(0, FrameworkGetExitCode());
  FrameworkCleanupEnvironment(true);
}

TEST_F(DeviceLossTest, ReferenceDeviceKeepsAnEarlierErrorCode) {
  Init();
  FrameworkGetState().SetExitCode(8);
  InstallFake(D3DDEVTYPE_REF);
  EXPECT_EQ(8, FrameworkGetExitCode());
}

TEST_F(DeviceLossTest, F8SetsTheFillModeOnTheDevice) {
  InstallFake();
  SendMessageW(FrameworkGetWindow(), WM_KEYDOWN, VK_F8, 0);
  SendMessageW(FrameworkGetWindow(), WM_KEYDOWN, VK_F8, 0);
  ASSERT_EQ(2u, fake.renderStates.size());
  EXPECT_EQ(D3DRS_FILLMODE, fake.renderStates[0].first);
  EXPECT_EQ(static_cast<DWORD>(D3DFILL_WIREFRAME), fake.renderStates[0].second);
  EXPECT_EQ(static_cast<DWORD>(D3DFILL_SOLID), fake.renderStates[1].second);
}

TEST_F(DeviceLossTest, PaintWhileRenderingIsPausedDrawsTheStoredFrame) {
  RegisterAll();
  InstallFake();
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  state.SetTime(3.5);
  state.SetElapsedTime(0.25f);
  SendMessageW(window, WM_PAINT, 0, 0);
  EXPECT_EQ(0, Rec().Count("render")) << "painting while rendering runs is the pass's job";
  FrameworkPause(true, true);
  fake.presentResult = D3DERR_DEVICELOST;
  SendMessageW(window, WM_PAINT, 0, 0);
  const std::vector<const Call*> renders = Rec().Of("render");
  ASSERT_EQ(1u, renders.size());
  EXPECT_EQ(3.5, renders[0]->time);
  EXPECT_EQ(0.25f, renders[0]->elapsed);
  EXPECT_EQ(1, fake.presentCalls);
  EXPECT_TRUE(state.GetDeviceLost());
  FrameworkPause(false, false);
}

// A 32 x 32 cursor: the left half transparent, the right half opaque; in the
// opaque half the top rows white and the rest black.
HCURSOR MakeMonochromeCursor() {
  BYTE andPlane[32 * 4];
  BYTE xorPlane[32 * 4];
  for (int row = 0; row < 32; ++row) {
    for (int byte = 0; byte < 4; ++byte) {
      andPlane[row * 4 + byte] = byte < 2 ? 0xFF : 0x00;
      xorPlane[row * 4 + byte] = (byte >= 2 && row < 4) ? 0xFF : 0x00;
    }
  }
  return CreateCursor(GetModuleHandleW(nullptr), 3, 5, 32, 32, andPlane, xorPlane);
}

TEST_F(DeviceLossTest, MonochromeCursorBecomesTransparentWhereItsMaskIsSet) {
  InitWindowAndDevice(320, 240);
  FakeDevice recorder;
  recorder.surfaceSource = FrameworkGetDevice();
  HCURSOR cursor = MakeMonochromeCursor();
  ASSERT_NE(nullptr, cursor);
  ASSERT_EQ(S_OK, FrameworkSetDeviceCursor(&recorder, cursor));
  ASSERT_EQ(32u, recorder.cursorWidth);
  ASSERT_EQ(32u, recorder.cursorHeight);
  EXPECT_EQ(3u, recorder.cursorHotSpotX);
  EXPECT_EQ(5u, recorder.cursorHotSpotY);
  const std::vector<DWORD>& pixels = recorder.cursorPixels;
  ASSERT_EQ(32u * 32u, pixels.size());
  EXPECT_EQ(0u, pixels[0]);                      // top left: transparent
  EXPECT_EQ(0xFFFFFFFFu, pixels[0 * 32 + 20]);   // top right: white, opaque
  EXPECT_EQ(0xFF000000u, pixels[31 * 32 + 20]);  // bottom right: black, opaque
  EXPECT_EQ(0u, pixels[31 * 32 + 3]);
  DestroyCursor(cursor);
}

TEST_F(DeviceLossTest, ColourCursorKeepsItsColoursWithFullAlpha) {
  InitWindowAndDevice(320, 240);
  FakeDevice recorder;
  recorder.surfaceSource = FrameworkGetDevice();
  // 16 x 16: red on top, blue below; the mask hides the bottom four rows.
  DWORD colours[16 * 16];
  for (int i = 0; i < 16 * 16; ++i) colours[i] = i < 8 * 16 ? 0x00FF0000 : 0x000000FF;
  BYTE mask[16 * 2];
  for (int row = 0; row < 16; ++row) {
    mask[row * 2] = mask[row * 2 + 1] = row >= 12 ? 0xFF : 0x00;
  }
  HBITMAP colour = CreateBitmap(16, 16, 1, 32, colours);
  HBITMAP monochrome = CreateBitmap(16, 16, 1, 1, mask);
  ICONINFO info{};
  info.fIcon = FALSE;
  info.xHotspot = 1;
  info.yHotspot = 2;
  info.hbmMask = monochrome;
  info.hbmColor = colour;
  HCURSOR cursor = CreateIconIndirect(&info);
  ASSERT_NE(nullptr, cursor);
  ASSERT_EQ(S_OK, FrameworkSetDeviceCursor(&recorder, cursor));
  ASSERT_EQ(16u, recorder.cursorHeight);
  const std::vector<DWORD>& pixels = recorder.cursorPixels;
  ASSERT_EQ(16u * 16u, pixels.size());
  EXPECT_EQ(0xFFFF0000u, pixels[0]);
  EXPECT_EQ(0xFF0000FFu, pixels[10 * 16]);
  EXPECT_EQ(0u, pixels[13 * 16]);
  DestroyCursor(cursor);
  DeleteObject(colour);
  DeleteObject(monochrome);
}

}  // namespace
}  // namespace fwtest
