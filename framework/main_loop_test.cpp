// The main loop and rendering pass under Wine: ending after a number of
// frames, the fixed time step, the pause and its counts, the sleeps while
// nothing should be drawn, the loop's refusals, and the statistics texts.
#include "framework/main_loop.h"

#include <string>

#include "framework/command_line.h"
#include "framework/enumeration.h"
#include "framework/test_recorder.h"

namespace fwtest {
namespace {

class MainLoopTest : public FrameworkTest {};

void CloseWindowAtFrame(int index) {
  if (index == 3) SendMessageW(FrameworkGetWindow(), WM_CLOSE, 0, 0);
}

TEST_F(MainLoopTest, QuitAfterFrameOneEndsAfterTheSecondPass) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  FrameworkParseCommandLineText(L"kubri.exe -quitafterframe:1");
  EXPECT_EQ(S_OK, FrameworkMainLoop(nullptr));
  EXPECT_EQ(2, Rec().Count("render"));
  EXPECT_EQ(2, Rec().Count("move"));
  EXPECT_EQ(0, FrameworkGetExitCode());
  EXPECT_EQ(nullptr, FrameworkGetWindow());
  EXPECT_FALSE(FrameworkGetState().GetInsideMainLoop());
}

TEST_F(MainLoopTest, LoopEndsWhenTheWindowIsDestroyed) {
  RegisterAll();
  Rec().onRender = CloseWindowAtFrame;
  InitWindowAndDevice(320, 240);
  EXPECT_EQ(S_OK, FrameworkMainLoop(nullptr));
  EXPECT_EQ(4, Rec().Count("render"));
  EXPECT_EQ(0, FrameworkGetExitCode());
}

TEST_F(MainLoopTest, EscapeEndsTheMainLoop) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  PostMessageW(FrameworkGetWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(S_OK, FrameworkMainLoop(nullptr));
  EXPECT_EQ(nullptr, FrameworkGetWindow());
  EXPECT_EQ(0, FrameworkGetExitCode());
}

TEST_F(MainLoopTest, ConstantFrameTimeAdvancesExactlyOneStepAPass) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  FrameworkState& state = FrameworkGetState();
  FrameworkParseCommandLineText(L"kubri.exe -constantframetime:0.01");
  FrameworkSetConstantFrameTime(false, 1.0f);  // the command line wins
  EXPECT_TRUE(state.GetConstantFrameTime());
  EXPECT_EQ(0.01f, state.GetTimePerFrame());
  state.SetOverrideQuitAfterFrame(6);
  ASSERT_EQ(S_OK, FrameworkMainLoop(nullptr));
  const std::vector<const Call*> moves = Rec().Of("move");
  ASSERT_EQ(7u, moves.size());
  double expected = 0.0;
  for (const Call* move : moves) {
    expected += 0.01f;
    EXPECT_EQ(expected, move->time);
    EXPECT_EQ(0.01f, move->elapsed);
  }
}

// Pause pressed in pass 2 and again in pass 5, with a long wait in between.
void PauseAndResume(int index) {
  HWND window = FrameworkGetWindow();
  if (index == 2 || index == 5) SendMessageW(window, WM_KEYDOWN, VK_PAUSE, 0);
  if (index == 3 || index == 4) Sleep(400);
  if (index == 8) SendMessageW(window, WM_CLOSE, 0, 0);
}

TEST_F(MainLoopTest, PauseKeyStopsTimeWithoutAJumpWhenResumed) {
  RegisterAll();
  Rec().onRender = PauseAndResume;
  InitWindowAndDevice(320, 240);
  ASSERT_EQ(S_OK, FrameworkMainLoop(nullptr));
  const std::vector<const Call*> moves = Rec().Of("move");
  ASSERT_EQ(9u, moves.size());
  // Frozen from pass 3 to pass 5, still rendering.
  for (int pass = 4; pass <= 5; ++pass) {
    EXPECT_EQ(moves[3]->time, moves[pass]->time) << "pass " << pass;
    EXPECT_EQ(0.0f, moves[pass]->elapsed) << "pass " << pass;
  }
  EXPECT_EQ(9, Rec().Count("render"));
  // 800 ms went by while paused; none of it counts (what remains is one
  // slow software-rendered pass).
  EXPECT_LT(moves[6]->time - moves[3]->time, 0.4);
  EXPECT_LT(moves[6]->elapsed, 0.4f);
  EXPECT_GT(moves[8]->time, moves[6]->time);
}

TEST_F(MainLoopTest, PausedRenderingStillMovesButDoesNotRenderAndSleeps) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  FrameworkPause(true, true);
  Rec().calls.clear();
  const double start = NowMs();
  FrameworkRenderFrame();
  EXPECT_GE(NowMs() - start, 45.0);
  EXPECT_EQ(1, Rec().Count("move"));
  EXPECT_EQ(0, Rec().Count("render"));
  EXPECT_EQ(1, FrameworkGetState().GetCurrentFrameNumber());
}

TEST_F(MainLoopTest, InactiveProgramStillRendersAfterASleep) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  FrameworkGetState().SetActive(false);
  Rec().calls.clear();
  const double start = NowMs();
  FrameworkRenderFrame();
  EXPECT_GE(NowMs() - start, 45.0);
  EXPECT_EQ(1, Rec().Count("render"));
}

TEST_F(MainLoopTest, MainLoopMakesADefaultDeviceWhenNoneWasAskedFor) {
  RegisterAll();
  InitAndWindow();
  FrameworkGetState().SetOverrideQuitAfterFrame(1);
  EXPECT_EQ(S_OK, FrameworkMainLoop(nullptr));
  EXPECT_EQ(1, Rec().Count("created"));
  const std::vector<const Call*> created = Rec().Of("created");
  EXPECT_EQ(640u, created[0]->width);
  EXPECT_EQ(480u, created[0]->height);
  EXPECT_EQ(2, Rec().Count("render"));
}

TEST_F(MainLoopTest, RefusedLoopTurnsCleanAndReferenceCodesIntoOne) {
  InitWindowAndDevice(320, 240);
  FrameworkState& state = FrameworkGetState();
  state.SetInsideDeviceCallback(true);
  EXPECT_EQ(E_FAIL, FrameworkMainLoop(nullptr));
  EXPECT_EQ(1, FrameworkGetExitCode());
  state.SetExitCode(11);
  EXPECT_EQ(E_FAIL, FrameworkMainLoop(nullptr));
  EXPECT_EQ(1, FrameworkGetExitCode());
  state.SetExitCode(6);
  EXPECT_EQ(E_FAIL, FrameworkMainLoop(nullptr));
  EXPECT_EQ(6, FrameworkGetExitCode());
  state.SetInsideDeviceCallback(false);

  state.SetExitCode(0);
  state.SetInsideMainLoop(true);
  EXPECT_EQ(E_FAIL, FrameworkMainLoop(nullptr));
  EXPECT_TRUE(state.GetInsideMainLoop()) << "a refused second loop ended the running one";
  state.SetInsideMainLoop(false);
}

TEST_F(MainLoopTest, LoopRefusesAfterAFailedDeviceCreation) {
  InitAndWindow();
  FrameworkState& state = FrameworkGetState();
  state.SetDeviceCreateCalled(true);
  EXPECT_EQ(E_FAIL, FrameworkMainLoop(nullptr));
  EXPECT_EQ(1, FrameworkGetExitCode());
  EXPECT_FALSE(state.GetInsideMainLoop());
  EXPECT_EQ(nullptr, state.GetDevice());
}

TEST_F(MainLoopTest, AcceleratorsTranslateKeysIntoCommands) {
  RegisterAll();
  InitWindowAndDevice(320, 240);
  ACCEL accel{FVIRTKEY, 'K', 777};
  HACCEL table = CreateAcceleratorTableW(&accel, 1);
  ASSERT_NE(nullptr, table);
  PostMessageW(FrameworkGetWindow(), WM_KEYDOWN, 'K', 0);
  FrameworkGetState().SetOverrideQuitAfterFrame(2);
  EXPECT_EQ(S_OK, FrameworkMainLoop(table));
  bool sawCommand = false;
  for (const Call* call : Rec().Of("message")) {
    if (call->message == WM_COMMAND && LOWORD(call->wParam) == 777) sawCommand = true;
  }
  EXPECT_TRUE(sawCommand);
}

TEST_F(MainLoopTest, PauseCountsNestAndNeverGoBelowZero) {
  Init();
  FrameworkState& state = FrameworkGetState();
  FrameworkPause(false, false);
  EXPECT_EQ(0, state.GetPauseTimeCount());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  FrameworkPause(true, true);
  FrameworkPause(true, true);
  FrameworkPause(false, false);
  EXPECT_EQ(1, state.GetPauseTimeCount());
  EXPECT_EQ(1, state.GetPauseRenderingCount());
  EXPECT_TRUE(state.GetTimePaused());
  EXPECT_TRUE(state.GetRenderingPaused());
  EXPECT_TRUE(FrameworkGetTimer().IsStopped());
  FrameworkPause(false, false);
  EXPECT_FALSE(state.GetTimePaused());
  EXPECT_FALSE(state.GetRenderingPaused());
  EXPECT_FALSE(FrameworkGetTimer().IsStopped());
  // The Pause key's (true, false) pauses time alone.
  FrameworkPause(true, false);
  EXPECT_TRUE(state.GetTimePaused());
  EXPECT_FALSE(state.GetRenderingPaused());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  FrameworkPause(false, false);
}

TEST_F(MainLoopTest, ConstantFrameTimeTakesItsArgumentsWithoutAnOverride) {
  FrameworkSetConstantFrameTime(true, 0.5f);
  EXPECT_TRUE(FrameworkGetState().GetConstantFrameTime());
  EXPECT_EQ(0.5f, FrameworkGetState().GetTimePerFrame());
  FrameworkSetConstantFrameTime(false, 0.25f);
  EXPECT_FALSE(FrameworkGetState().GetConstantFrameTime());
}

TEST_F(MainLoopTest, FirstFpsFigureComesAfterMoreThanOneSecond) {
  FrameworkState& state = FrameworkGetState();
  state.SetAbsoluteTime(5000.0);
  FrameworkUpdateFrameStats();
  EXPECT_STREQ(L"", state.GetFpsStats());
  state.SetAbsoluteTime(5000.5);
  FrameworkUpdateFrameStats();
  state.SetAbsoluteTime(5001.0);
  FrameworkUpdateFrameStats();
  EXPECT_STREQ(L"", state.GetFpsStats()) << "exactly one second is not more than one";
  state.SetAbsoluteTime(5002.0);
  FrameworkUpdateFrameStats();
  EXPECT_STREQ(L"2.00 fps ", state.GetFpsStats());
  EXPECT_EQ(2.0f, state.GetFps());
  EXPECT_EQ(0u, state.GetLastStatsUpdateFrames());
  EXPECT_EQ(5002.0, state.GetLastStatsUpdateTime());
}

TEST_F(MainLoopTest, NoStatsLeavesEveryTextAlone) {
  FrameworkState& state = FrameworkGetState();
  state.SetNoStats(true);
  state.SetAbsoluteTime(10.0);
  FrameworkUpdateFrameStats();
  state.SetAbsoluteTime(20.0);
  FrameworkUpdateFrameStats();
  EXPECT_STREQ(L"", state.GetFpsStats());
  EXPECT_EQ(0u, state.GetLastStatsUpdateFrames());
  FrameworkUpdateDeviceStats(D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING, nullptr);
  EXPECT_STREQ(L"", state.GetDeviceStats());
}

TEST_F(MainLoopTest, DeviceStatsNameTypeAndVertexProcessing) {
  FrameworkUpdateDeviceStats(D3DDEVTYPE_REF,
                             D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE, nullptr);
  EXPECT_STREQ(L"REF (simulated pure hw vp)", FrameworkGetDeviceStats());
  FrameworkUpdateDeviceStats(D3DDEVTYPE_SW, D3DCREATE_MIXED_VERTEXPROCESSING, nullptr);
  EXPECT_STREQ(L"SW (simulated mixed vp)", FrameworkGetDeviceStats());
  FrameworkUpdateDeviceStats(D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING, nullptr);
  EXPECT_STREQ(L"REF (sw vp)", FrameworkGetDeviceStats());
  D3DADAPTER_IDENTIFIER9 identifier{};
  lstrcpynA(identifier.Description, "Test Adapter 9", MAX_DEVICE_IDENTIFIER_STRING);
  FrameworkUpdateDeviceStats(D3DDEVTYPE_HAL,
                             D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE,
                             &identifier);
  EXPECT_STREQ(L"HAL (pure hw vp): Test Adapter 9", FrameworkGetDeviceStats());
  FrameworkUpdateDeviceStats(D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING, &identifier);
  EXPECT_STREQ(L"HAL (hw vp): Test Adapter 9", FrameworkGetDeviceStats());
}

TEST_F(MainLoopTest, FrameStatsPutTheFpsTextInFrontOnlyWhenAsked) {
  FrameworkState& state = FrameworkGetState();
  state.SetStaticFrameStats(L"%sVsync on (320x240), X8R8G8B8 (D24X8)");
  state.SetFpsStats(L"59.94 fps ");
  EXPECT_STREQ(L"59.94 fps Vsync on (320x240), X8R8G8B8 (D24X8)", FrameworkGetFrameStats(true));
  EXPECT_STREQ(L"Vsync on (320x240), X8R8G8B8 (D24X8)", FrameworkGetFrameStats(false));
}

TEST_F(MainLoopTest, StaticFrameStatsDescribeTheCurrentSettings) {
  InitWindowAndDevice(320, 240);
  FrameworkState& state = FrameworkGetState();
  ASSERT_TRUE(state.GetCurrentSettings().has_value());
  DeviceSettings settings = *state.GetCurrentSettings();
  // The statistics describe the settings the state holds.
  const auto update = [&state, &settings] {
    state.SetCurrentSettings(settings);
    FrameworkUpdateStaticFrameStats();
  };
  std::wstring format = FrameworkFormatName(settings.adapterFormat);
  std::wstring depth = settings.presentParams.EnableAutoDepthStencil
                           ? L" (" + std::wstring(FrameworkFormatName(
                                         settings.presentParams.AutoDepthStencilFormat)) + L")"
                           : L"";
  const std::wstring size = L"(" + std::to_wstring(settings.presentParams.BackBufferWidth) + L"x" +
                            std::to_wstring(settings.presentParams.BackBufferHeight) + L")";
  EXPECT_EQ(L"%sVsync on " + size + L", " + format + depth, std::wstring(state.GetStaticFrameStats()));

  settings.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  settings.presentParams.MultiSampleType = D3DMULTISAMPLE_NONMASKABLE;
  update();
  EXPECT_EQ(L"%sVsync off " + size + L", " + format + depth + L" (Nonmaskable Multisample)",
            std::wstring(state.GetStaticFrameStats()));
  settings.presentParams.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
  settings.presentParams.EnableAutoDepthStencil = FALSE;
  update();
  EXPECT_EQ(L"%sVsync off " + size + L", " + format + L" (4x Multisample)",
            std::wstring(state.GetStaticFrameStats()));
  settings.presentParams.MultiSampleType = D3DMULTISAMPLE_NONE;

  // A back buffer in another format than the display names both.
  if (settings.adapterFormat == D3DFMT_X8R8G8B8 &&
      state.GetEnumeration()->GetDeviceSettingsCombo(settings.adapterOrdinal,
                                                     settings.deviceType, D3DFMT_X8R8G8B8,
                                                     D3DFMT_A8R8G8B8, true) != nullptr) {
    settings.presentParams.BackBufferFormat = D3DFMT_A8R8G8B8;
    update();
    EXPECT_EQ(L"%sVsync off " + size + L", backbuf A8R8G8B8, adapter X8R8G8B8",
              std::wstring(state.GetStaticFrameStats()));
  }
  // Settings without an enumerated combination leave the text as it was.
  const std::wstring before = state.GetStaticFrameStats();
  settings.adapterFormat = D3DFMT_A2R10G10B10;
  update();
  EXPECT_EQ(before, std::wstring(state.GetStaticFrameStats()));
}

TEST_F(MainLoopTest, FormatNamesDropThePrefix) {
  EXPECT_STREQ(L"D24X8", FrameworkFormatName(D3DFMT_D24X8));
  EXPECT_STREQ(L"X8R8G8B8", FrameworkFormatName(D3DFMT_X8R8G8B8));
  EXPECT_STREQ(L"Unknown format", FrameworkFormatName(static_cast<D3DFORMAT>(12345)));
}

}  // namespace
}  // namespace fwtest
