// The main window without a device: creation, the message handling order,
// input state, pause bookkeeping, hot keys and close.
#include "framework/window.h"

#include <string>

#include "framework/test_recorder.h"

namespace fwtest {
namespace {

class WindowTest : public FrameworkTest {};

LPARAM AltBit() { return static_cast<LPARAM>(1) << 29; }

TEST_F(WindowTest, CreatesHiddenWindowOfItsClassWithoutSizingBorderAtDefaultClientSize) {
  InitAndWindow();
  FrameworkState& state = FrameworkGetState();
  HWND window = state.GetFocusWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(window, state.GetFullScreenWindow());
  EXPECT_EQ(window, state.GetWindowedWindow());
  EXPECT_TRUE(state.GetWindowCreated());
  EXPECT_TRUE(state.GetWindowCreatedWithDefaultPositions());
  EXPECT_FALSE(IsWindowVisible(window));

  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  EXPECT_STREQ(L"Direct3DWindowClass", className);
  EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS), GetClassLongPtrW(window, GCL_STYLE));
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(0x00CA0000, style & 0x00FF0000);
  EXPECT_EQ(0, style & WS_THICKFRAME);
  EXPECT_EQ(0, style & WS_MAXIMIZEBOX);
  EXPECT_EQ(0, GetWindowLongPtrW(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE);

  const SIZE client = ClientSize(window);
  EXPECT_EQ(640, client.cx);
  EXPECT_EQ(480, client.cy);
  EXPECT_STREQ(L"Test", state.GetWindowTitle());
}

TEST_F(WindowTest, CommandLinePositionAndSizeReplaceTheArguments) {
  Init();
  FrameworkState& state = FrameworkGetState();
  state.SetOverrideStartX(40);
  state.SetOverrideStartY(30);
  state.SetOverrideWidth(300);
  state.SetOverrideHeight(200);
  ASSERT_EQ(S_OK, FrameworkCreateWindow(L"Test", nullptr, nullptr, nullptr, 5, 5));
  HWND window = state.GetFocusWindow();
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(40, rect.left);
  EXPECT_EQ(30, rect.top);
  EXPECT_EQ(300, ClientSize(window).cx);
  EXPECT_EQ(200, ClientSize(window).cy);
  EXPECT_FALSE(state.GetWindowCreatedWithDefaultPositions());
}

TEST_F(WindowTest, CreateWindowRefusesAfterFailedInitAndInsideDeviceCallback) {
  FrameworkState& state = FrameworkGetState();
  state.SetInsideDeviceCallback(true);
  EXPECT_EQ(E_FAIL, FrameworkCreateWindow(L"Test", nullptr, nullptr, nullptr, 0, 0));
  EXPECT_FALSE(state.GetInitCalled());
  state.SetInsideDeviceCallback(false);

  // An initialisation that was tried and failed is not retried.
  state.SetInitCalled(true);
  EXPECT_EQ(E_FAIL, FrameworkCreateWindow(L"Test", nullptr, nullptr, nullptr, 0, 0));
  EXPECT_EQ(nullptr, state.GetFocusWindow());
  EXPECT_FALSE(state.GetInited());
}

TEST_F(WindowTest, CreateWindowInitialisesTheFrameworkWhenNothingDidAndKeepsAnExistingWindow) {
  ASSERT_EQ(S_OK, FrameworkCreateWindow(L"First", nullptr, nullptr, nullptr, CW_USEDEFAULT,
                                        CW_USEDEFAULT));
  FrameworkState& state = FrameworkGetState();
  EXPECT_TRUE(state.GetInited());
  HWND first = state.GetFocusWindow();
  ASSERT_EQ(S_OK, FrameworkCreateWindow(L"Second", nullptr, nullptr, nullptr, 0, 0));
  EXPECT_EQ(first, state.GetFocusWindow());
  EXPECT_STREQ(L"First", state.GetWindowTitle());
}

TEST_F(WindowTest, LongTitleIsCutToTheTitleBuffer) {
  Init();
  const std::wstring title(400, L'x');
  ASSERT_EQ(S_OK, FrameworkCreateWindow(title.c_str(), nullptr, nullptr, nullptr, 0, 0));
  EXPECT_EQ(255u, wcslen(FrameworkGetState().GetWindowTitle()));
}

TEST_F(WindowTest, SystemErrorsBecomeFailureResults) {
  EXPECT_EQ(static_cast<HRESULT>(0x80070005), FrameworkHresultFromSystemError(5));
  EXPECT_EQ(static_cast<HRESULT>(0x8007058A), FrameworkHresultFromSystemError(0x1058A));
  EXPECT_EQ(E_FAIL, FrameworkHresultFromSystemError(0));
}

TEST_F(WindowTest, KeysAreTrackedAndReportedWithTheirAltState) {
  RegisterAll();
  InitAndWindow();
  HWND window = FrameworkGetWindow();
  BYTE* keys = FrameworkGetState().GetKeys();
  SendMessageW(window, WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(1, keys['A']);
  SendMessageW(window, WM_SYSKEYDOWN, 'B', AltBit());
  EXPECT_EQ(1, keys['B']);
  SendMessageW(window, WM_KEYUP, 'A', 0);
  EXPECT_EQ(0, keys['A']);
  // Only the low byte of the key code counts.
  SendMessageW(window, WM_KEYDOWN, 0x143, 0);
  EXPECT_EQ(1, keys[0x43]);

  const std::vector<const Call*> calls = Rec().Of("keyboard");
  ASSERT_EQ(4u, calls.size());
  EXPECT_EQ(static_cast<WPARAM>('A'), calls[0]->wParam);
  EXPECT_TRUE(calls[0]->flag);
  EXPECT_FALSE(calls[0]->alt);
  EXPECT_TRUE(calls[1]->alt);
  EXPECT_FALSE(calls[2]->flag);
}

TEST_F(WindowTest, KeyboardAndMouseCallbacksComeBeforeOnMessage) {
  RegisterAll();
  InitAndWindow();
  Rec().calls.clear();
  SendMessageW(FrameworkGetWindow(), WM_KEYDOWN, 'Q', 0);
  SendMessageW(FrameworkGetWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  const std::vector<std::string> names = Rec().Names(true, true);
  ASSERT_EQ(4u, names.size());
  EXPECT_EQ("keyboard", names[0]);
  EXPECT_EQ("message", names[1]);
  EXPECT_EQ("mouse", names[2]);
  EXPECT_EQ("message", names[3]);
}

TEST_F(WindowTest, MouseButtonsAreStoredLeftMiddleRightX1X2) {
  RegisterAll();
  InitAndWindow();
  HWND window = FrameworkGetWindow();
  const BYTE* buttons = FrameworkGetState().GetMouseButtons();
  SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON | MK_XBUTTON2, MAKELPARAM(10, 20));
  EXPECT_EQ(0, buttons[0]);
  EXPECT_EQ(0, buttons[1]);
  EXPECT_EQ(1, buttons[2]);
  EXPECT_EQ(0, buttons[3]);
  EXPECT_EQ(1, buttons[4]);
  SendMessageW(window, WM_MBUTTONDBLCLK, MK_MBUTTON | MK_LBUTTON, MAKELPARAM(-5, 7));
  EXPECT_EQ(1, buttons[0]);
  EXPECT_EQ(1, buttons[1]);
  EXPECT_EQ(0, buttons[2]);

  const std::vector<const Call*> calls = Rec().Of("mouse");
  ASSERT_EQ(2u, calls.size());
  // OnMouse takes left, right, middle, X1, X2.
  EXPECT_FALSE(calls[0]->buttons[0]);
  EXPECT_TRUE(calls[0]->buttons[1]);
  EXPECT_FALSE(calls[0]->buttons[2]);
  EXPECT_TRUE(calls[0]->buttons[4]);
  EXPECT_EQ(10, calls[0]->x);
  EXPECT_EQ(20, calls[0]->y);
  EXPECT_EQ(0, calls[0]->wheel);
  // Coordinates are signed.
  EXPECT_EQ(-5, calls[1]->x);
  EXPECT_TRUE(calls[1]->buttons[2]);
}

TEST_F(WindowTest, WheelReportsSignedDeltaAtClientCoordinates) {
  RegisterAll();
  InitAndWindow();
  HWND window = FrameworkGetWindow();
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)),
               MAKELPARAM(origin.x + 15, origin.y + 25));
  const std::vector<const Call*> calls = Rec().Of("mouse");
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ(-120, calls[0]->wheel);
  EXPECT_EQ(15, calls[0]->x);
  EXPECT_EQ(25, calls[0]->y);
}

TEST_F(WindowTest, MouseMovesReachOnMouseOnlyWhenAskedFor) {
  RegisterAll();
  InitAndWindow();
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(0, Rec().Count("mouse"));
  FrameworkSetOnMouse(OnMouse, nullptr, true);
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(1, Rec().Count("mouse"));
}

TEST_F(WindowTest, OnMessageCanStopTheFrameworksHandling) {
  RegisterAll();
  InitAndWindow();
  Rec().stopAfterNoFurther = true;
  Rec().noFurtherMessage = WM_CLOSE;
  Rec().noFurtherResult = 1234;
  HWND window = FrameworkGetWindow();
  EXPECT_EQ(1234, SendMessageW(window, WM_CLOSE, 0, 0));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(window, FrameworkGetState().GetFocusWindow());
}

TEST_F(WindowTest, EscapeClosesTheWindowAfterOnMessageSawWmClose) {
  RegisterAll();
  InitAndWindow(MakeMenu());
  HWND window = FrameworkGetWindow();
  HMENU menu = GetMenu(window);
  ASSERT_NE(nullptr, menu);
  SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);

  bool sawClose = false;
  for (const Call* call : Rec().Of("message")) {
    if (call->message == WM_CLOSE) {
      sawClose = true;
      EXPECT_TRUE(call->flag) << "OnMessage must see WM_CLOSE while the window exists";
    }
  }
  EXPECT_TRUE(sawClose);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsMenu(menu));
  FrameworkState& state = FrameworkGetState();
  EXPECT_EQ(nullptr, state.GetFocusWindow());
  EXPECT_EQ(nullptr, state.GetFullScreenWindow());
  EXPECT_EQ(nullptr, state.GetWindowedWindow());
  WNDCLASSW unused{};
  EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), L"Direct3DWindowClass", &unused));
  // WM_DESTROY posted the quit message that ends the main loop.
  EXPECT_TRUE(QuitPosted());
}

TEST_F(WindowTest, EscapeIsOnlyAKeyWithoutDefaultHotkeys) {
  RegisterAll();
  InitAndWindow();
  FrameworkGetState().SetHandleDefaultHotkeys(false);
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(1, Rec().Count("keyboard"));
}

TEST_F(WindowTest, PauseKeyTogglesTimeButNotRendering) {
  InitAndWindow();
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_KEYDOWN, VK_PAUSE, 0);
  EXPECT_TRUE(state.GetTimePaused());
  EXPECT_FALSE(state.GetRenderingPaused());
  EXPECT_TRUE(FrameworkGetTimer().IsStopped());
  SendMessageW(window, WM_KEYDOWN, VK_PAUSE, 0);
  EXPECT_FALSE(state.GetTimePaused());
  EXPECT_EQ(0, state.GetPauseTimeCount());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_FALSE(FrameworkGetTimer().IsStopped());
}

TEST_F(WindowTest, F8FlipsWireframe) {
  InitAndWindow();
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_KEYDOWN, VK_F8, 0);
  EXPECT_TRUE(FrameworkGetState().GetWireframe());
  SendMessageW(window, WM_KEYDOWN, VK_F8, 0);
  EXPECT_FALSE(FrameworkGetState().GetWireframe());
}

TEST_F(WindowTest, MinimiseAndRestorePauseOnceAndUnpauseOnce) {
  InitAndWindow();
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  ShowWindow(window, SW_SHOW);
  Pump();
  ShowWindow(window, SW_MINIMIZE);
  Pump();
  EXPECT_TRUE(state.GetMinimized());
  EXPECT_EQ(1, state.GetPauseTimeCount());
  EXPECT_EQ(1, state.GetPauseRenderingCount());
  ShowWindow(window, SW_RESTORE);
  Pump();
  EXPECT_FALSE(state.GetMinimized());
  EXPECT_EQ(0, state.GetPauseTimeCount());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
}

TEST_F(WindowTest, SizeMessagesFollowMinimisedMaximisedAndRestoredStates) {
  InitAndWindow();
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_SIZE, SIZE_MINIMIZED, 0);
  SendMessageW(window, WM_SIZE, SIZE_MAXIMIZED, 0);
  EXPECT_FALSE(state.GetMinimized());
  EXPECT_TRUE(state.GetMaximized());
  EXPECT_EQ(0, state.GetPauseTimeCount());
  SendMessageW(window, WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_FALSE(state.GetMaximized());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
}

TEST_F(WindowTest, MenuAndSizeMoveLoopsPauseAndResume) {
  InitAndWindow();
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_ENTERMENULOOP, FALSE, 0);
  EXPECT_EQ(1, state.GetPauseRenderingCount());
  SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
  EXPECT_TRUE(state.GetInSizeMove());
  EXPECT_EQ(2, state.GetPauseTimeCount());
  SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_FALSE(state.GetInSizeMove());
  SendMessageW(window, WM_EXITMENULOOP, FALSE, 0);
  EXPECT_EQ(0, state.GetPauseTimeCount());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  EXPECT_FALSE(state.GetTimePaused());
}

TEST_F(WindowTest, FullScreenOnlyAnswersBeforeTheFirstDevice) {
  // No settings yet counts as full screen.
  InitAndWindow();
  HWND window = FrameworkGetWindow();
  EXPECT_EQ(HTCLIENT, SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(-1000, -1000)));
  EXPECT_EQ(0, SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | 2, 0));
  EXPECT_EQ(0, SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0));
  EXPECT_TRUE(SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

TEST_F(WindowTest, MenuCharClosesWithoutBeepAndMinimumTrackSizeIs200) {
  InitAndWindow();
  HWND window = FrameworkGetWindow();
  EXPECT_EQ(0x10000, SendMessageW(window, WM_MENUCHAR, 'z', 0));
  MINMAXINFO info{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(200, info.ptMinTrackSize.x);
  EXPECT_EQ(200, info.ptMinTrackSize.y);
}

TEST_F(WindowTest, ResumeFromSuspendRestartsClockAndStatistics) {
  InitAndWindow();
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  state.SetLastStatsUpdateTime(55.0);
  EXPECT_EQ(TRUE, SendMessageW(window, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0));
  EXPECT_EQ(55.0, state.GetLastStatsUpdateTime());
  Sleep(20);
  EXPECT_EQ(TRUE, SendMessageW(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0));
  EXPECT_EQ(0.0, state.GetLastStatsUpdateTime());
  EXPECT_LT(FrameworkGetTimer().GetTime(), 0.015);
}

TEST_F(WindowTest, F10IsSwallowedWhileNoMenuIsSaved) {
  RegisterAll();
  InitAndWindow(MakeMenu());
  HWND window = FrameworkGetWindow();
  Rec().calls.clear();
  EXPECT_EQ(0, SendMessageW(window, WM_SYSKEYDOWN, VK_F10, 0));
  EXPECT_EQ(0, SendMessageW(window, WM_SYSKEYUP, VK_F10, 0));
  Pump();
  for (const Call* call : Rec().Of("message")) {
    EXPECT_NE(static_cast<UINT>(WM_SYSCOMMAND), call->message) << "F10 opened the menu";
  }
}

TEST_F(WindowTest, DeactivatingInFullScreenPausesUntilReactivated) {
  InitAndWindow();
  FrameworkState& state = FrameworkGetState();
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(state.GetActive());
  EXPECT_TRUE(state.GetMinimizedWhileFullScreen());
  EXPECT_EQ(1, state.GetPauseRenderingCount());
  EXPECT_TRUE(state.GetAllowShortcutKeys());
  // A second deactivation changes nothing.
  SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(1, state.GetPauseRenderingCount());

  SendMessageW(window, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_TRUE(state.GetActive());
  EXPECT_FALSE(state.GetMinimizedWhileFullScreen());
  EXPECT_EQ(0, state.GetPauseRenderingCount());
  // Full screen by default keeps the Windows keys away.
  EXPECT_FALSE(state.GetAllowShortcutKeys());
  EXPECT_NE(nullptr, state.GetKeyboardHook());
}

TEST_F(WindowTest, ShortcutKeyHookExistsOnlyWhileShortcutsAreDisallowed) {
  Init();
  FrameworkState& state = FrameworkGetState();
  FrameworkAllowShortcutKeys(false);
  HHOOK hook = state.GetKeyboardHook();
  EXPECT_NE(nullptr, hook);
  FrameworkAllowShortcutKeys(false);
  EXPECT_EQ(hook, state.GetKeyboardHook()) << "a second hook was installed";
  FrameworkAllowShortcutKeys(true);
  EXPECT_EQ(nullptr, state.GetKeyboardHook());
  EXPECT_TRUE(state.GetAllowShortcutKeys());
}

struct AccessibilityWrite {
  UINT action;
  UINT size;
  DWORD flags;
};
std::vector<AccessibilityWrite> g_writes;
void RecordWrite(UINT action, UINT size, DWORD flags) { g_writes.push_back({action, size, flags}); }

class ShortcutKeysTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    g_writes.clear();
    FrameworkSetAccessibilityWriteHook(RecordWrite);
  }
  void TearDown() override {
    WindowTest::TearDown();
    FrameworkSetAccessibilityWriteHook(nullptr);
  }
  // The user's settings as start-up found them: sticky keys off with its hot
  // key, toggle keys on, filter keys off with its hot key and confirmation.
  static void SaveUserSettings() {
    FrameworkState& state = FrameworkGetState();
    STICKYKEYS sticky{sizeof(STICKYKEYS), SKF_AVAILABLE | SKF_HOTKEYACTIVE};
    TOGGLEKEYS toggle{sizeof(TOGGLEKEYS), TKF_TOGGLEKEYSON | TKF_HOTKEYACTIVE};
    FILTERKEYS filter{sizeof(FILTERKEYS), FKF_HOTKEYACTIVE | FKF_CONFIRMHOTKEY | FKF_HOTKEYSOUND};
    state.SetSavedStickyKeys(sticky);
    state.SetSavedToggleKeys(toggle);
    state.SetSavedFilterKeys(filter);
  }
};

TEST_F(ShortcutKeysTest, DisallowingSwitchesOffTheHotKeysOfFeaturesThatAreOff) {
  SaveUserSettings();
  FrameworkAllowShortcutKeys(false);
  ASSERT_EQ(2u, g_writes.size()) << "toggle keys are on and must be left alone";
  EXPECT_EQ(static_cast<UINT>(SPI_SETSTICKYKEYS), g_writes[0].action);
  EXPECT_EQ(8u, g_writes[0].size);
  EXPECT_EQ(static_cast<DWORD>(SKF_AVAILABLE), g_writes[0].flags);
  EXPECT_EQ(static_cast<UINT>(SPI_SETFILTERKEYS), g_writes[1].action);
  EXPECT_EQ(24u, g_writes[1].size);
  EXPECT_EQ(static_cast<DWORD>(FKF_HOTKEYSOUND), g_writes[1].flags);
}

TEST_F(ShortcutKeysTest, AllowingRestoresAllThreeSettingsAsSaved) {
  SaveUserSettings();
  FrameworkAllowShortcutKeys(false);
  g_writes.clear();
  FrameworkAllowShortcutKeys(true);
  ASSERT_EQ(3u, g_writes.size());
  EXPECT_EQ(static_cast<UINT>(SPI_SETSTICKYKEYS), g_writes[0].action);
  EXPECT_EQ(static_cast<DWORD>(SKF_AVAILABLE | SKF_HOTKEYACTIVE), g_writes[0].flags);
  EXPECT_EQ(static_cast<UINT>(SPI_SETTOGGLEKEYS), g_writes[1].action);
  EXPECT_EQ(8u, g_writes[1].size);
  EXPECT_EQ(static_cast<DWORD>(TKF_TOGGLEKEYSON | TKF_HOTKEYACTIVE), g_writes[1].flags);
  EXPECT_EQ(static_cast<UINT>(SPI_SETFILTERKEYS), g_writes[2].action);
  EXPECT_EQ(static_cast<DWORD>(FKF_HOTKEYACTIVE | FKF_CONFIRMHOTKEY | FKF_HOTKEYSOUND),
            g_writes[2].flags);
}

TEST_F(ShortcutKeysTest, NothingIsWrittenWhenNothingWasSaved) {
  FrameworkAllowShortcutKeys(true);
  FrameworkAllowShortcutKeys(false);
  EXPECT_TRUE(g_writes.empty()) << "zeroed settings would switch the user's features off";
}

TEST_F(ShortcutKeysTest, SwitchingAwayFromFullScreenRestoresTheUsersSettings) {
  InitAndWindow();
  SaveUserSettings();
  HWND window = FrameworkGetWindow();
  SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
  SendMessageW(window, WM_ACTIVATEAPP, TRUE, 0);
  g_writes.clear();
  SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
  ASSERT_EQ(3u, g_writes.size());
  EXPECT_EQ(static_cast<DWORD>(SKF_AVAILABLE | SKF_HOTKEYACTIVE), g_writes[0].flags);
  EXPECT_EQ(nullptr, FrameworkGetState().GetKeyboardHook());
}

TEST_F(WindowTest, HookSwallowsOnlyTheWindowsKeysAndOnlyWhileDisallowed) {
  FrameworkState& state = FrameworkGetState();
  KBDLLHOOKSTRUCT key{};
  const LPARAM lParam = reinterpret_cast<LPARAM>(&key);
  state.SetAllowShortcutKeys(false);
  key.vkCode = VK_LWIN;
  EXPECT_EQ(1, FrameworkShortcutKeyHook(HC_ACTION, WM_KEYDOWN, lParam));
  key.vkCode = VK_RWIN;
  EXPECT_EQ(1, FrameworkShortcutKeyHook(HC_ACTION, WM_KEYUP, lParam));
  // Other keys, other messages and other codes pass.
  EXPECT_EQ(0, FrameworkShortcutKeyHook(HC_ACTION, WM_SYSKEYDOWN, lParam));
  EXPECT_EQ(0, FrameworkShortcutKeyHook(-1, WM_KEYDOWN, lParam));
  key.vkCode = 'A';
  EXPECT_EQ(0, FrameworkShortcutKeyHook(HC_ACTION, WM_KEYDOWN, lParam));
  state.SetAllowShortcutKeys(true);
  key.vkCode = VK_LWIN;
  EXPECT_EQ(0, FrameworkShortcutKeyHook(HC_ACTION, WM_KEYDOWN, lParam));
}

TEST_F(WindowTest, CursorFunctionsToleratesMissingDeviceAndCursor) {
  InitAndWindow();
  FrameworkSetCursorSettings(true, true);
  EXPECT_TRUE(FrameworkGetState().GetShowCursorWhenFullScreen());
  EXPECT_TRUE(FrameworkGetState().GetClipCursorWhenFullScreen());
  EXPECT_EQ(E_INVALIDARG, FrameworkSetDeviceCursor(nullptr, LoadCursorW(nullptr, IDC_ARROW)));
  ClipCursor(nullptr);
}

}  // namespace
}  // namespace fwtest
