// The state object, its lock and accessors, start-up and shutdown.
#include "framework/framework_state.h"

#include <gtest/gtest.h>
#include <string.h>

#include <atomic>
#include <string>
#include <thread>

#include "framework/command_line.h"
#include "framework/enumeration.h"
#include "framework/errors.h"
#include "framework/fake_direct3d.h"
#include "framework/frame_timer.h"
#include "framework/test_window.h"
#include "framework/startup.h"
#include "framework/window.h"

namespace {

int g_boxes = 0;
std::wstring g_boxText;
int RecordBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
  ++g_boxes;
  g_boxText = text;
  return IDOK;
}
int g_versionChecks = 0;
BOOL RejectVersions(UINT, UINT) {
  ++g_versionChecks;
  return FALSE;
}
IDirect3D9* NoDirect3D(UINT) { return nullptr; }

class FrameworkStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FrameworkGetState().ResetFieldsForTest();
    g_boxes = 0;
    g_boxText.clear();
    FrameworkSetMessageBoxHook(RecordBox);
  }
  void TearDown() override {
    FrameworkShutdown(0);
    FrameworkSetMessageBoxHook(nullptr);
    FrameworkSetVersionCheckHook(nullptr);
    FrameworkSetDirect3DCreateHook(nullptr);
    FrameworkGetState().ResetFieldsForTest();
  }
  FrameworkState& state() { return FrameworkGetState(); }
};

TEST_F(FrameworkStateTest, NewStateHoldsItsDefaults) {
  EXPECT_TRUE(state().GetActive());
  EXPECT_TRUE(state().GetShowMsgBoxOnError());
  EXPECT_TRUE(state().GetCallDefWindowProc());
  EXPECT_TRUE(state().GetAutoChangeAdapter());
  EXPECT_TRUE(state().GetAllowShortcutKeysWhenWindowed());
  EXPECT_FALSE(state().GetAllowShortcutKeysWhenFullScreen());
  EXPECT_TRUE(state().GetUseStateLock());
  EXPECT_EQ(-1, state().GetOverrideAdapterOrdinal());
  EXPECT_EQ(-1, state().GetOverrideForceVsync());
  EXPECT_EQ(0, state().GetExitCode());
  EXPECT_FALSE(state().GetInited());
  EXPECT_EQ(nullptr, state().GetDirect3D());
  EXPECT_EQ(nullptr, state().GetOnFrameRender());
  EXPECT_EQ(L'\0', state().GetWindowTitle()[0]);
  EXPECT_EQ(0, state().GetKeys()[VK_ESCAPE]);
}

TEST_F(FrameworkStateTest, BeforeAnyDeviceTheWindowIsTheFullScreenOneAndSettingsAreZero) {
  const HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x42));
  state().SetFullScreenWindow(window);
  state().SetWindowedWindow(window);
  EXPECT_EQ(window, FrameworkGetWindow());
  EXPECT_FALSE(FrameworkIsWindowed());
  const DeviceSettings none = FrameworkGetDeviceSettings();
  DeviceSettings zero;
  memset(&zero, 0, sizeof(zero));
  EXPECT_EQ(0, memcmp(&zero, &none, sizeof(zero)));
}

TEST_F(FrameworkStateTest, WindowAndSettingsFollowTheCurrentSettings) {
  const HWND full = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x10));
  const HWND windowed = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x20));
  state().SetFullScreenWindow(full);
  state().SetWindowedWindow(windowed);
  DeviceSettings current;
  memset(&current, 0, sizeof(current));
  current.adapterOrdinal = 1;
  current.presentParams.Windowed = TRUE;
  current.presentParams.BackBufferWidth = 320;
  state().SetCurrentSettings(current);
  EXPECT_TRUE(FrameworkIsWindowed());
  EXPECT_EQ(windowed, FrameworkGetWindow());
  const DeviceSettings copy = FrameworkGetDeviceSettings();
  EXPECT_EQ(1u, copy.adapterOrdinal);
  EXPECT_EQ(320u, copy.presentParams.BackBufferWidth);
  current.presentParams.Windowed = FALSE;
  EXPECT_EQ(windowed, FrameworkGetWindow()) << "the state holds its own copy";
  state().SetCurrentSettings(current);
  EXPECT_EQ(full, FrameworkGetWindow());
  state().SetCurrentSettings(std::nullopt);
  EXPECT_FALSE(FrameworkIsWindowed());
}

void OnLost(void*) {}
void OnMouse(bool, bool, bool, bool, bool, int, int, int, void*) {}
LRESULT OnMessage(HWND, UINT, WPARAM, LPARAM, bool&, void*) { return 0; }

TEST_F(FrameworkStateTest, CallbackSettersStoreCallbackAndContext) {
  int context = 0;
  FrameworkSetOnDeviceLost(OnLost, &context);
  EXPECT_EQ(&OnLost, state().GetOnDeviceLost());
  EXPECT_EQ(&context, state().GetOnDeviceLostContext());
  FrameworkSetOnMessage(OnMessage, nullptr);
  EXPECT_EQ(&OnMessage, state().GetOnMessage());
  EXPECT_EQ(nullptr, state().GetOnMessageContext());
  FrameworkSetOnMouse(OnMouse, &context, true);
  EXPECT_EQ(&OnMouse, state().GetOnMouse());
  EXPECT_TRUE(state().GetNotifyOnMouseMove());
  FrameworkSetOnMouse(nullptr, nullptr, false);
  EXPECT_FALSE(state().GetNotifyOnMouseMove());
}

TEST_F(FrameworkStateTest, TextsAreCutToTheirBuffers) {
  const std::wstring longTitle(400, L't');
  state().SetWindowTitle(longTitle.c_str());
  EXPECT_EQ(255u, wcslen(state().GetWindowTitle()));
  state().SetFpsStats(longTitle.c_str());
  EXPECT_EQ(63u, wcslen(state().GetFpsStats()));
  state().SetWindowTitle(nullptr);
  EXPECT_EQ(0u, wcslen(state().GetWindowTitle()));
}

// While the lock is in use a structure is never seen half written by
// another thread.
TEST_F(FrameworkStateTest, LockedStructureIsNeverSeenHalfWritten) {
  D3DCAPS9 ones, twos;
  memset(&ones, 0x11, sizeof(ones));
  memset(&twos, 0x22, sizeof(twos));
  std::atomic<bool> stop(false);
  std::thread writer([&] {
    for (int i = 0; !stop.load(); ++i) {
      state().SetCaps((i & 1) ? ones : twos);
    }
  });
  int torn = 0;
  for (int i = 0; i < 20000; ++i) {
    const D3DCAPS9 seen = state().GetCaps();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&seen);
    for (size_t b = 1; b < sizeof(seen); ++b) {
      if (bytes[b] != bytes[0]) {
        ++torn;
        break;
      }
    }
  }
  stop = true;
  writer.join();
  EXPECT_EQ(0, torn);
}

TEST_F(FrameworkStateTest, AccessorsStillWorkWithTheLockOff) {
  state().SetUseStateLock(false);
  state().SetExitCode(7);
  EXPECT_EQ(7, state().GetExitCode());
  state().SetUseStateLock(true);
  EXPECT_TRUE(state().GetUseStateLock());
}

TEST_F(FrameworkStateTest, InitLoadsTheSystemDirect3DAndStartsTheClock) {
  ASSERT_EQ(S_OK, FrameworkInit(false, true, true, false));
  EXPECT_TRUE(state().GetInitCalled());
  EXPECT_TRUE(state().GetInited());
  EXPECT_TRUE(state().GetHandleDefaultHotkeys());
  EXPECT_FALSE(state().GetHandleAltEnter());
  EXPECT_NE(nullptr, FrameworkGetDirect3D());
  EXPECT_FALSE(FrameworkGetTimer().IsStopped());
  EXPECT_EQ(static_cast<UINT>(sizeof(STICKYKEYS)), state().GetSavedStickyKeys().cbSize);
  EXPECT_EQ(static_cast<UINT>(sizeof(FILTERKEYS)), state().GetSavedFilterKeys().cbSize);
  EXPECT_EQ(0, g_boxes);

  // A second start-up keeps the object it already has.
  IDirect3D9* first = FrameworkGetDirect3D();
  ASSERT_EQ(S_OK, FrameworkInit(false, true, true, true));
  EXPECT_EQ(first, FrameworkGetDirect3D());
}

TEST_F(FrameworkStateTest, InitReportsAnIncorrectVersion) {
  FrameworkSetVersionCheckHook(RejectVersions);
  EXPECT_EQ(FW_E_INCORRECTVERSION, FrameworkInit(false, true, true, true));
  EXPECT_EQ(10, FrameworkGetExitCode());
  EXPECT_EQ(1, g_boxes);
  EXPECT_EQ(L"Incorrect version of Direct3D and/or D3DX.", g_boxText);
  EXPECT_TRUE(state().GetInitCalled());
  EXPECT_FALSE(state().GetInited());
  EXPECT_EQ(nullptr, FrameworkGetDirect3D());

  // Window creation does not try the failed start-up again.
  g_versionChecks = 0;
  EXPECT_EQ(E_FAIL, FrameworkCreateWindow(L"Kubri", nullptr, nullptr, nullptr, CW_USEDEFAULT,
                                          CW_USEDEFAULT));
  EXPECT_EQ(0, g_versionChecks);
  EXPECT_EQ(nullptr, state().GetFocusWindow());
}

TEST_F(FrameworkStateTest, InitWithoutDirect3DFailsSilentlyWhenBoxesAreOff) {
  FrameworkSetDirect3DCreateHook(NoDirect3D);
  EXPECT_EQ(FW_E_NODIRECT3D, FrameworkInit(false, true, false, true));
  EXPECT_EQ(2, FrameworkGetExitCode());
  EXPECT_EQ(0, g_boxes);
  EXPECT_FALSE(state().GetInited());
}

TEST_F(FrameworkStateTest, NoErrorBoxesOptionWinsOverTheInitArgument) {
  // Parsed the way start-up parses the process command line.
  FrameworkSetDirect3DCreateHook(NoDirect3D);
  ASSERT_EQ(FW_E_NODIRECT3D, FrameworkInit(false, true, true, true));
  EXPECT_EQ(1, g_boxes);
  FrameworkGetState().ResetFieldsForTest();
  FrameworkSetCommandLineOverride(L"kubri.exe -noerrormsgboxes");
  EXPECT_EQ(FW_E_NODIRECT3D, FrameworkInit(true, true, true, true));
  EXPECT_EQ(2, FrameworkGetExitCode());
  EXPECT_EQ(1, g_boxes);
  FrameworkSetCommandLineOverride(nullptr);
}

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    SetWindowLongPtrW(window, GWLP_USERDATA, GetWindowLongPtrW(window, GWLP_USERDATA) + 1);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(FrameworkStateTest, ShutdownClosesTheWindowAndReleasesDirect3D) {
  const HWND window = CreateTestWindow(L"KubriStateTestWindow", RecordingWindowProc, WS_OVERLAPPED, 100);
  ASSERT_NE(nullptr, window);
  state().SetFullScreenWindow(window);
  state().SetWindowedWindow(window);

  FakeDirect3D fake;
  fake.AddRef();  // the state's reference
  state().SetDirect3D(&fake);
  ASSERT_NE(nullptr, FrameworkGetEnumeration(false));
  EXPECT_FALSE(FrameworkGetEnumeration(false)->GetAdapterInfoList().empty());

  FrameworkShutdown(4);
  EXPECT_EQ(1, GetWindowLongPtrW(window, GWLP_USERDATA));  // sent, not posted
  EXPECT_EQ(4, FrameworkGetExitCode());
  EXPECT_EQ(nullptr, FrameworkGetDirect3D());
  EXPECT_EQ(0u, fake.Release());  // only the fake's own reference was left
  EXPECT_EQ(nullptr, state().GetEnumeration());

  state().SetFullScreenWindow(nullptr);
  state().SetWindowedWindow(nullptr);
  FrameworkShutdown(0);  // a second shutdown finds nothing left to do
  EXPECT_EQ(0, FrameworkGetExitCode());
  EXPECT_EQ(1, GetWindowLongPtrW(window, GWLP_USERDATA));
  DestroyWindow(window);
}

}  // namespace
