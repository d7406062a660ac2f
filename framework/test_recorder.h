// Test helper: a stand-in game whose callbacks record every call with its
// arguments, a fixture that gives each test a fresh framework, and helpers
// to pump messages and build a window with a menu.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/device.h"
#include "framework/errors.h"
#include "framework/frame_timer.h"
#include "framework/framework_state.h"
#include "framework/main_loop.h"
#include "framework/matching.h"
#include "framework/startup.h"
#include "framework/window.h"

namespace fwtest {

// Valid windowed settings with a back buffer of width x height, matched the
// way the game asks for them: windowed kept, the closest resolution.
inline HRESULT FindWindowedSettings(UINT width, UINT height, DeviceSettings* found) {
  DeviceSettings request{};
  request.presentParams.Windowed = TRUE;
  request.presentParams.BackBufferWidth = width;
  request.presentParams.BackBufferHeight = height;
  MatchOptions options{};
  options.windowed = MatchType::PreserveInput;
  options.resolution = MatchType::ClosestToInput;
  return FrameworkFindValidDeviceSettings(found, &request, &options);
}

struct Call {
  std::string name;  // "created", "reset", "lost", "destroyed", "move", "render", ...
  UINT width = 0;    // back-buffer size for created and reset
  UINT height = 0;
  double time = 0.0;
  float elapsed = 0.0f;
  UINT message = 0;  // for "message" and "keyboard"
  WPARAM wParam = 0;
  bool flag = false;  // keyDown; for "message", whether the window still existed
  bool alt = false;
  bool buttons[5] = {};  // left, right, middle, X1, X2 as OnMouse passes them
  int wheel = 0;
  int x = 0;
  int y = 0;
};

// What the recorded game answers, and what it has seen. One per process.
struct Recorder {
  std::vector<Call> calls;
  HRESULT createdResult = S_OK;
  HRESULT resetResult = S_OK;
  // Fails every reset from this call number on (1 is the first reset).
  int failResetFrom = 0;
  int resetCount = 0;
  bool modifyAnswer = true;
  int modifyCalls = 0;
  DeviceSettings lastModified{};
  bool stopAfterNoFurther = false;   // OnMessage sets noFurtherProcessing
  LRESULT noFurtherResult = 0;
  UINT noFurtherMessage = 0;
  // Run from OnFrameRender with the frame's index (0 first); may end the loop.
  void (*onRender)(int index) = nullptr;
  int renders = 0;
  std::vector<std::wstring> boxes;  // texts of the error boxes asked for

  // Device callbacks in order; with `frames` also move and render, with
  // `input` also message, keyboard and mouse.
  std::vector<std::string> Names(bool frames = false, bool input = false) const {
    std::vector<std::string> names;
    for (const Call& call : calls) {
      const bool isInput =
          call.name == "message" || call.name == "keyboard" || call.name == "mouse";
      const bool isFrame = call.name == "move" || call.name == "render";
      if ((isInput && !input) || (isFrame && !frames)) continue;
      names.push_back(call.name);
    }
    return names;
  }
  int Count(const std::string& name) const {
    int count = 0;
    for (const Call& call : calls) count += call.name == name ? 1 : 0;
    return count;
  }
  std::vector<const Call*> Of(const std::string& name) const {
    std::vector<const Call*> found;
    for (const Call& call : calls) {
      if (call.name == name) found.push_back(&call);
    }
    return found;
  }
};

inline Recorder& Rec() {
  static Recorder recorder;
  return recorder;
}

inline HRESULT OnCreated(IDirect3DDevice9*, const D3DSURFACE_DESC& desc, void*) {
  Call call;
  call.name = "created";
  call.width = desc.Width;
  call.height = desc.Height;
  Rec().calls.push_back(call);
  return Rec().createdResult;
}
inline HRESULT OnReset(IDirect3DDevice9*, const D3DSURFACE_DESC& desc, void*) {
  Call call;
  call.name = "reset";
  call.width = desc.Width;
  call.height = desc.Height;
  Rec().calls.push_back(call);
  ++Rec().resetCount;
  if (Rec().failResetFrom != 0 && Rec().resetCount >= Rec().failResetFrom) return E_FAIL;
  return Rec().resetResult;
}
inline void OnLost(void*) { Rec().calls.push_back(Call{"lost"}); }
inline void OnDestroyed(void*) { Rec().calls.push_back(Call{"destroyed"}); }
inline void OnMove(IDirect3DDevice9*, double time, float elapsed, void*) {
  Call call;
  call.name = "move";
  call.time = time;
  call.elapsed = elapsed;
  Rec().calls.push_back(call);
}
inline void OnRender(IDirect3DDevice9* device, double time, float elapsed, void*) {
  Call call;
  call.name = "render";
  call.time = time;
  call.elapsed = elapsed;
  Rec().calls.push_back(call);
  if (device != nullptr) device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 64), 1.0f, 0);
  const int index = Rec().renders++;
  if (Rec().onRender != nullptr) Rec().onRender(index);
}
inline void OnKeyboard(UINT key, bool down, bool alt, void*) {
  Call call;
  call.name = "keyboard";
  call.wParam = key;
  call.flag = down;
  call.alt = alt;
  Rec().calls.push_back(call);
}
inline void OnMouse(bool left, bool right, bool middle, bool x1, bool x2, int wheel, int x, int y,
                    void*) {
  Call call;
  call.name = "mouse";
  call.buttons[0] = left;
  call.buttons[1] = right;
  call.buttons[2] = middle;
  call.buttons[3] = x1;
  call.buttons[4] = x2;
  call.wheel = wheel;
  call.x = x;
  call.y = y;
  Rec().calls.push_back(call);
}
inline LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM, bool& noFurther, void*) {
  Call call;
  call.name = "message";
  call.message = message;
  call.wParam = wParam;
  call.flag = IsWindow(window) != FALSE;
  Rec().calls.push_back(call);
  if (Rec().stopAfterNoFurther && message == Rec().noFurtherMessage) {
    noFurther = true;
    return Rec().noFurtherResult;
  }
  return 0;
}
inline bool OnModify(DeviceSettings& settings, const D3DCAPS9&, void*) {
  ++Rec().modifyCalls;
  Rec().lastModified = settings;
  return Rec().modifyAnswer;
}
inline int RecordBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
  Rec().boxes.push_back(text != nullptr ? text : L"");
  return IDOK;
}

// A game that holds its client area at 320 x 320, as Kubri does: each
// WM_SIZE of another size resizes the main window, one dimension at a time.
inline LRESULT HoldClientAt320(HWND, UINT message, WPARAM wParam, LPARAM lParam, bool&, void*) {
  HWND window = FrameworkGetWindow();
  if (message != WM_SIZE || wParam == SIZE_MINIMIZED || window == nullptr) return 0;
  const int width = LOWORD(lParam);
  const int height = HIWORD(lParam);
  const bool fixWidth = width != 0 && width != 320;
  const bool fixHeight = !fixWidth && height != 0 && height != 320;
  if (!fixWidth && !fixHeight) return 0;
  RECT outer{};
  GetWindowRect(window, &outer);
  const int outerWidth = outer.right - outer.left + (fixWidth ? 320 - width : 0);
  const int outerHeight = outer.bottom - outer.top + (fixHeight ? 320 - height : 0);
  SetWindowPos(window, nullptr, outer.left, outer.top, outerWidth, outerHeight, 0);
  return 0;
}

// Registers every recording callback.
inline void RegisterAll() {
  FrameworkSetOnDeviceCreated(OnCreated, nullptr);
  FrameworkSetOnDeviceReset(OnReset, nullptr);
  FrameworkSetOnDeviceLost(OnLost, nullptr);
  FrameworkSetOnDeviceDestroyed(OnDestroyed, nullptr);
  FrameworkSetOnFrameMove(OnMove, nullptr);
  FrameworkSetOnFrameRender(OnRender, nullptr);
  FrameworkSetOnKeyboard(OnKeyboard, nullptr);
  FrameworkSetOnMouse(OnMouse, nullptr, false);
  FrameworkSetOnMessage(OnMessage, nullptr);
}

// Dispatches whatever waits in the queue, WM_QUIT included.
inline int Pump() {
  int count = 0;
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ++count;
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return count;
}

// Whether WM_QUIT waits in the queue (removes everything up to it).
inline bool QuitPosted() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return true;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return false;
}

// Milliseconds on the performance counter (GetTickCount is too coarse here).
inline double NowMs() {
  LARGE_INTEGER counter{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline HMENU MakeMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 40001, L"&Quit");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_STRING, 40002, L"&Help");
  return bar;
}

inline SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

// A fresh framework for every test, message boxes recorded rather than shown.
class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Rec() = Recorder{};
    FrameworkSetMessageBoxHook(RecordBox);
  }
  void TearDown() override {
    Rec().stopAfterNoFurther = false;
    Rec().onRender = nullptr;
    FrameworkShutdown(0);
    Pump();
    FrameworkSetMessageBoxHook(nullptr);
    FrameworkSetReferenceDialogHook(nullptr);
    FrameworkGetState().ResetFieldsForTest();
  }
  // Initialises without reading the command line (the test runner's own
  // arguments are not the framework's).
  static void Init() { ASSERT_EQ(S_OK, FrameworkInit(false, true, true, true)); }
  static void InitAndWindow(HMENU menu = nullptr) {
    Init();
    ASSERT_EQ(S_OK, FrameworkCreateWindow(L"Test", nullptr, nullptr, menu, CW_USEDEFAULT,
                                          CW_USEDEFAULT));
  }
  static void InitWindowAndDevice(UINT width, UINT height, HMENU menu = nullptr) {
    InitAndWindow(menu);
    ASSERT_EQ(S_OK, FrameworkCreateDevice(0, true, static_cast<int>(width),
                                          static_cast<int>(height), nullptr, OnModify, nullptr));
  }
};

}  // namespace fwtest
