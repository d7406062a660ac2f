// The main window: its creation, its window procedure, the keyboard hook that
// keeps the Windows keys quiet in full screen, and the full-screen cursor.
//
// One of the three units that call one another. The window calls the device
// because its messages change it: a new client size or monitor, Alt+Enter
// and F3 each become a device change. It calls the main loop to pause time
// and rendering while it is minimised, moved, in a menu or inactive. It runs
// start-up and shutdown only through the state's relays.
#include "framework/window.h"

#include <shellapi.h>

#include <memory>
#include <new>
#include <optional>

#include "framework/device.h"
#include "framework/enumeration.h"
#include "framework/frame_timer.h"
#include "framework/framework_state.h"
#include "framework/main_loop.h"
#include "framework/matching.h"

namespace {

// Full screen, as the window procedure means it: no current settings (before
// the first device) count as full screen.
bool IsFullScreen() { return !FrameworkIsWindowed(); }

bool HasCurrentSettingsWindowed() {
  const std::optional<DeviceSettings> settings = FrameworkGetState().GetCurrentSettings();
  return settings && settings->presentParams.Windowed != FALSE;
}

// The system's own version, from GetVersionExW.
bool IsNtAboveVersion4() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&version)) return false;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}

// Hot-key bits shared by the three accessibility structures.
constexpr DWORD kFeatureOn = 0x1;
constexpr DWORD kHotKeyBits = 0x4 | 0x8;  // hot key active, confirm hot key

void HandleKeys(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  FrameworkState& state = FrameworkGetState();
  BYTE* keys = state.GetKeys();
  keys[wParam & 0xFF] = down ? 1 : 0;
  FrameworkOnKeyboardFn onKeyboard = state.GetOnKeyboard();
  if (onKeyboard != nullptr) {
    onKeyboard(static_cast<UINT>(wParam), down, (lParam & (1 << 29)) != 0,
               state.GetOnKeyboardContext());
  }
}

bool IsMouseMessage(UINT message) {
  if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) return true;
  if (message == WM_MOUSEWHEEL) return true;
  if (message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK) return true;
  return message == WM_MOUSEMOVE && FrameworkGetState().GetNotifyOnMouseMove();
}

void HandleMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FrameworkState& state = FrameworkGetState();
  int x = static_cast<short>(LOWORD(lParam));
  int y = static_cast<short>(HIWORD(lParam));
  int wheelDelta = 0;
  if (message == WM_MOUSEWHEEL) {
    // The wheel reports screen coordinates.
    POINT point{x, y};
    ScreenToClient(window, &point);
    x = point.x;
    y = point.y;
    wheelDelta = static_cast<short>(HIWORD(wParam));
  }
  const WORD flags = LOWORD(wParam);
  const bool left = (flags & MK_LBUTTON) != 0;
  const bool right = (flags & MK_RBUTTON) != 0;
  const bool middle = (flags & MK_MBUTTON) != 0;
  const bool x1 = (flags & MK_XBUTTON1) != 0;
  const bool x2 = (flags & MK_XBUTTON2) != 0;
  BYTE* buttons = state.GetMouseButtons();
  buttons[0] = left;
  buttons[1] = middle;
  buttons[2] = right;
  buttons[3] = x1;
  buttons[4] = x2;
  FrameworkOnMouseFn onMouse = state.GetOnMouse();
  if (onMouse != nullptr) {
    onMouse(left, right, middle, x1, x2, wheelDelta, x, y,
            state.GetOnMouseContext());
  }
}

void HandleDefaultHotkey(HWND window, WPARAM key) {
  FrameworkState& state = FrameworkGetState();
  switch (key) {
    case VK_ESCAPE:
      SendMessageW(window, WM_CLOSE, 0, 0);
      break;
    case VK_PAUSE:
      FrameworkPause(!state.GetTimePaused(), false);
      break;
    case VK_F3:
      FrameworkPause(true, true);
      FrameworkToggleReference();
      FrameworkPause(false, false);
      break;
    case VK_F8: {
      const bool wireframe = !state.GetWireframe();
      state.SetWireframe(wireframe);
      IDirect3DDevice9* device = state.GetDevice();
      if (device != nullptr) {
        device->SetRenderState(D3DRS_FILLMODE,
                               wireframe ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
      }
      break;
    }
    default:
      break;
  }
}

void CheckSizeAndMonitor() {
  FrameworkCheckWindowSize();
  FrameworkCheckMonitorChange();
}

void HandleSize(WPARAM kind) {
  FrameworkState& state = FrameworkGetState();
  if (kind == SIZE_MINIMIZED) {
    FrameworkPause(true, true);
    state.SetMinimized(true);
    state.SetMaximized(false);
    return;
  }
  RECT client{};
  HWND window = FrameworkGetWindow();
  if (window == nullptr || !GetClientRect(window, &client)) return;
  // Minimised again in the meantime.
  if (client.top == 0 && client.bottom == 0) return;
  if (kind == SIZE_MAXIMIZED) {
    if (state.GetMinimized()) FrameworkPause(false, false);
    state.SetMinimized(false);
    state.SetMaximized(true);
    CheckSizeAndMonitor();
  } else if (kind == SIZE_RESTORED) {
    if (state.GetMaximized()) {
      state.SetMaximized(false);
      CheckSizeAndMonitor();
    } else if (state.GetMinimized()) {
      FrameworkPause(false, false);
      state.SetMinimized(false);
      CheckSizeAndMonitor();
    } else if (state.GetInSizeMove()) {
      // WM_EXITSIZEMOVE checks once the drag is over.
    } else {
      CheckSizeAndMonitor();
    }
  }
}

void HandleActivateApp(bool activating) {
  FrameworkState& state = FrameworkGetState();
  if (activating && !state.GetActive()) {
    state.SetActive(true);
    if (state.GetMinimizedWhileFullScreen()) {
      FrameworkPause(false, false);
      state.SetMinimizedWhileFullScreen(false);
    }
    FrameworkAllowShortcutKeys(FrameworkIsWindowed()
                                   ? state.GetAllowShortcutKeysWhenWindowed()
                                   : state.GetAllowShortcutKeysWhenFullScreen());
  } else if (!activating && state.GetActive()) {
    state.SetActive(false);
    if (IsFullScreen()) {
      ClipCursor(nullptr);
      FrameworkPause(true, true);
      state.SetMinimizedWhileFullScreen(true);
    }
    FrameworkAllowShortcutKeys(true);
  }
}

void HandlePaint() {
  FrameworkState& state = FrameworkGetState();
  IDirect3DDevice9* device = state.GetDevice();
  if (device == nullptr || state.GetPauseRenderingCount() <= 0 ||
      !state.GetDeviceObjectsCreated() || !state.GetDeviceObjectsReset()) {
    return;
  }
  FrameworkOnFrameRenderFn onFrameRender = state.GetOnFrameRender();
  if (onFrameRender != nullptr) {
    onFrameRender(device, state.GetTime(), state.GetElapsedTime(),
                  state.GetOnFrameRenderContext());
  }
  // The callback may have ended the device (a shutdown from inside it).
  device = state.GetDevice();
  if (device == nullptr) return;
  const HRESULT hr = device->Present(nullptr, nullptr, nullptr, nullptr);
  if (hr == D3DERR_DEVICELOST || hr == D3DERR_DRIVERINTERNALERROR) {
    state.SetDeviceLost(true);
  }
}

void HandleClose(HWND window) {
  FrameworkState& state = FrameworkGetState();
  HMENU menu = GetMenu(window);
  if (menu != nullptr) DestroyMenu(menu);
  DestroyWindow(window);
  UnregisterClassW(kFrameworkWindowClass, state.GetInstance());
  state.SetFocusWindow(nullptr);
  state.SetFullScreenWindow(nullptr);
  state.SetWindowedWindow(nullptr);
}

FrameworkAccessibilityWriteFn g_accessibilityWrite = nullptr;

void WriteAccessibility(UINT action, UINT size, void* data, DWORD flags) {
  if (g_accessibilityWrite != nullptr) {
    g_accessibilityWrite(action, size, flags);
  } else {
    SystemParametersInfoW(action, size, data, 0);
  }
}

// Writes one saved accessibility structure back, only when start-up read it
// (a zero size means nothing was saved, and zeros would switch the user's
// features off).
template <typename T>
void RestoreAccessibility(UINT action, const T& saved) {
  if (saved.cbSize == 0) return;
  T copy = saved;
  WriteAccessibility(action, sizeof(T), &copy, copy.dwFlags);
}

template <typename T>
void DisableAccessibilityHotKey(UINT action, const T& saved) {
  if (saved.cbSize == 0 || (saved.dwFlags & kFeatureOn) != 0) return;
  T copy = saved;
  copy.dwFlags &= ~kHotKeyBits;
  WriteAccessibility(action, sizeof(T), &copy, copy.dwFlags);
}

// Owns a GDI object for the length of a scope.
struct GdiObject {
  HGDIOBJ handle = nullptr;
  ~GdiObject() {
    if (handle != nullptr) DeleteObject(handle);
  }
};

// A cursor's pixels as 32-bit bottom-up rows: the mask (for a monochrome
// cursor its AND half over its XOR half) and, for a colour cursor, the
// colour image.
struct CursorImage {
  int width = 0;
  int height = 0;      // of the cursor itself
  int maskHeight = 0;  // twice the height for a monochrome cursor
  bool monochrome = false;
  std::unique_ptr<DWORD[]> maskBits;
  std::unique_ptr<DWORD[]> colourBits;
};

// Reads `bitmap`'s `rows` rows as 32-bit pixels into `bits`.
bool ReadBitmapRows(HDC dc, HBITMAP bitmap, int width, int rows, DWORD* bits) {
  BITMAPINFO bitmapInfo{};
  bitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bitmapInfo.bmiHeader.biWidth = width;
  bitmapInfo.bmiHeader.biHeight = rows;
  bitmapInfo.bmiHeader.biPlanes = 1;
  bitmapInfo.bmiHeader.biBitCount = 32;
  bitmapInfo.bmiHeader.biCompression = BI_RGB;
  return GetDIBits(dc, bitmap, 0, rows, bits, &bitmapInfo, DIB_RGB_COLORS) == rows;
}

// Reads the cursor's mask and colour bitmaps. E_FAIL when a GDI step fails.
HRESULT ReadCursorImage(HBITMAP mask, HBITMAP colour, CursorImage& image) {
  BITMAP maskBitmap{};
  if (mask == nullptr || !GetObjectW(mask, sizeof(maskBitmap), &maskBitmap)) return E_FAIL;
  image.monochrome = colour == nullptr;
  image.width = maskBitmap.bmWidth;
  image.maskHeight = maskBitmap.bmHeight;
  image.height = image.monochrome ? image.maskHeight / 2 : image.maskHeight;
  if (image.width <= 0 || image.height <= 0) return E_FAIL;

  const size_t width = static_cast<size_t>(image.width);
  image.maskBits.reset(new (std::nothrow) DWORD[width * image.maskHeight]);
  if (!image.monochrome) image.colourBits.reset(new (std::nothrow) DWORD[width * image.height]);
  if (!image.maskBits || (!image.monochrome && !image.colourBits)) return E_OUTOFMEMORY;

  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return E_FAIL;
  bool ok = ReadBitmapRows(dc, mask, image.width, image.maskHeight, image.maskBits.get());
  if (ok && !image.monochrome) {
    ok = ReadBitmapRows(dc, colour, image.width, image.height, image.colourBits.get());
  }
  DeleteDC(dc);
  return ok ? S_OK : E_FAIL;
}

// Fills the surface from the top: transparent where the AND mask is set,
// otherwise the colour (or the XOR half) made opaque.
HRESULT FillCursorSurface(const CursorImage& image, IDirect3DSurface9* surface) {
  D3DLOCKED_RECT locked{};
  const HRESULT hr = surface->LockRect(&locked, nullptr, 0);
  if (FAILED(hr)) return hr;
  const int width = image.width;
  for (int row = 0; row < image.height; ++row) {
    // The DIBs are bottom-up.
    const DWORD* andRow =
        image.maskBits.get() + static_cast<size_t>(image.maskHeight - 1 - row) * width;
    const DWORD* colourSource = image.monochrome ? image.maskBits.get() : image.colourBits.get();
    const DWORD* xorRow = colourSource + static_cast<size_t>(image.height - 1 - row) * width;
    DWORD* out = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) +
                                          static_cast<size_t>(row) * locked.Pitch);
    for (int column = 0; column < width; ++column) {
      out[column] = (andRow[column] & 0x00FFFFFF) != 0
                        ? 0
                        : ((xorRow[column] & 0x00FFFFFF) | 0xFF000000);
    }
  }
  surface->UnlockRect();
  return S_OK;
}

// The first icon of the program file, or none.
HICON ProgramIcon(HINSTANCE instance) {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  HICON icon = ExtractIconW(instance, path, 0);
  // ExtractIconW answers 1 when the file is not an icon source at all.
  return icon == reinterpret_cast<HICON>(1) ? nullptr : icon;
}

// Registers the main window's class; a class already registered is fine.
HRESULT RegisterWindowClass(HINSTANCE instance, HICON icon) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = FrameworkWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kFrameworkWindowClass;
  if (RegisterClassW(&windowClass)) return S_OK;
  const DWORD error = GetLastError();
  return error == ERROR_CLASS_ALREADY_EXISTS ? S_OK : FrameworkHresultFromSystemError(error);
}

// Alt+Enter, when the framework handles it, switches between windowed and
// full screen.
std::optional<LRESULT> HandleSysKeyDown(WPARAM key, LPARAM lParam) {
  if (key != VK_RETURN || !FrameworkGetState().GetHandleAltEnter() ||
      (lParam & (1 << 29)) == 0) {
    return std::nullopt;
  }
  FrameworkPause(true, true);
  FrameworkToggleFullScreen();
  FrameworkPause(false, false);
  return 0;
}

std::optional<LRESULT> HandleKeyDown(HWND window, WPARAM key) {
  if (!FrameworkGetState().GetHandleDefaultHotkeys()) return std::nullopt;
  HandleDefaultHotkey(window, key);
  // Escape has destroyed the window; nothing is left to process.
  if (key == VK_ESCAPE && !IsWindow(window)) return 0;
  return std::nullopt;
}

// In full screen the device draws the cursor.
std::optional<LRESULT> HandleSetCursor() {
  FrameworkState& state = FrameworkGetState();
  if (!state.GetActive() || !IsFullScreen()) return std::nullopt;
  IDirect3DDevice9* device = state.GetDevice();
  if (device != nullptr && state.GetShowCursorWhenFullScreen()) device->ShowCursor(TRUE);
  return TRUE;
}

// In full screen the window can be neither moved, sized nor maximised, and
// Alt does not open the system menu.
std::optional<LRESULT> HandleSysCommand(WPARAM wParam) {
  if (!IsFullScreen()) return std::nullopt;
  // The low four bits of the command are the system's own.
  const WPARAM command = wParam & 0xFFF0;
  if (command == SC_MOVE || command == SC_SIZE || command == SC_MAXIMIZE ||
      command == SC_KEYMENU) {
    return 0;
  }
  return std::nullopt;
}

// In full screen the device's cursor follows the system's.
void HandleMouseMove() {
  FrameworkState& state = FrameworkGetState();
  IDirect3DDevice9* device = state.GetDevice();
  if (!state.GetActive() || !IsFullScreen() || device == nullptr) return;
  POINT point{};
  GetCursorPos(&point);
  device->SetCursorPosition(point.x, point.y, 0);
}

void HandleExitSizeMove() {
  FrameworkPause(false, false);
  FrameworkCheckWindowSize();
  FrameworkCheckMonitorChange();
  FrameworkGetState().SetInSizeMove(false);
}

// A suspend may go ahead; after the resume the clock and the statistics
// start afresh.
std::optional<LRESULT> HandlePowerBroadcast(WPARAM event) {
  if (event == PBT_APMQUERYSUSPEND) return TRUE;
  if (event != PBT_APMRESUMESUSPEND) return std::nullopt;
  FrameworkGetTimer().Reset();
  FrameworkGetState().SetLastStatsUpdateTime(0.0);
  return TRUE;
}

// The framework's own answer to each message, after the game's: the result
// to return, or nothing when the message goes on to default processing.
// The switch stays whole on purpose: it is the one place that says what the
// framework does with each message, in the order the messages are listed,
// and every case longer than a line or two lives in a handler of its own.
std::optional<LRESULT> HandleOwnMessage(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  switch (message) {
    case WM_SYSKEYDOWN:
      return HandleSysKeyDown(wParam, lParam);
    case WM_KEYDOWN:
      return HandleKeyDown(window, wParam);
    case WM_SIZE:
      HandleSize(wParam);
      return std::nullopt;
    case WM_PAINT:
      HandlePaint();
      return std::nullopt;
    case WM_CLOSE:
      HandleClose(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return std::nullopt;
    case WM_ACTIVATEAPP:
      HandleActivateApp(wParam != FALSE);
      return std::nullopt;
    case WM_SETCURSOR:
      return HandleSetCursor();
    case WM_GETMINMAXINFO:
      if (MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam)) {
        info->ptMinTrackSize.x = 200;
        info->ptMinTrackSize.y = 200;
      }
      return std::nullopt;
    case WM_NCHITTEST:
      if (IsFullScreen()) return HTCLIENT;
      return std::nullopt;
    case WM_SYSCOMMAND:
      return HandleSysCommand(wParam);
    case WM_MENUCHAR:
      // Closes the menu without the beep of an unmatched Alt+key.
      return MAKELRESULT(0, MNC_CLOSE);
    case WM_MOUSEMOVE:
      HandleMouseMove();
      return std::nullopt;
    case WM_ENTERMENULOOP:
      FrameworkPause(true, true);
      return std::nullopt;
    case WM_EXITMENULOOP:
      FrameworkPause(false, false);
      return std::nullopt;
    case WM_ENTERSIZEMOVE:
      FrameworkPause(true, true);
      FrameworkGetState().SetInSizeMove(true);
      return std::nullopt;
    case WM_EXITSIZEMOVE:
      HandleExitSizeMove();
      return std::nullopt;
    case WM_POWERBROADCAST:
      return HandlePowerBroadcast(wParam);
    default:
      return std::nullopt;
  }
}

}  // namespace

void FrameworkSetAccessibilityWriteHook(FrameworkAccessibilityWriteFn hook) {
  g_accessibilityWrite = hook;
}

LRESULT CALLBACK FrameworkShortcutKeyHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_KEYUP) &&
      !FrameworkGetState().GetAllowShortcutKeys()) {
    const KBDLLHOOKSTRUCT* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (key != nullptr && (key->vkCode == VK_LWIN || key->vkCode == VK_RWIN)) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

HRESULT FrameworkHresultFromSystemError(DWORD code) {
  if (code == 0) return E_FAIL;
  return static_cast<HRESULT>(0x80070000u | (code & 0xFFFFu));
}

HRESULT FrameworkCreateWindow(const wchar_t* title, HINSTANCE instance,
                              HICON icon, HMENU menu, int x, int y) {
  FrameworkState& state = FrameworkGetState();
  if (state.GetInsideDeviceCallback()) return E_FAIL;
  state.SetWindowCreateCalled(true);

  if (!state.GetInited()) {
    if (state.GetInitCalled()) return E_FAIL;
    const HRESULT hr = FrameworkRunInit(true, true, true, true);
    if (FAILED(hr)) return hr;
  }
  if (state.GetFocusWindow() != nullptr) return S_OK;

  if (instance == nullptr) instance = GetModuleHandleW(nullptr);
  state.SetInstance(instance);

  if (icon == nullptr) icon = ProgramIcon(instance);
  const HRESULT registered = RegisterWindowClass(instance, icon);
  if (FAILED(registered)) return registered;

  if (state.GetOverrideStartX() != -1) x = state.GetOverrideStartX();
  if (state.GetOverrideStartY() != -1) y = state.GetOverrideStartY();
  state.SetWindowCreatedWithDefaultPositions(x == CW_USEDEFAULT && y == CW_USEDEFAULT);

  int width = 640;
  int height = 480;
  if (state.GetOverrideWidth() != 0) width = state.GetOverrideWidth();
  if (state.GetOverrideHeight() != 0) height = state.GetOverrideHeight();
  RECT outer{0, 0, width, height};
  AdjustWindowRect(&outer, kFrameworkWindowStyle, menu != nullptr);

  wchar_t* windowTitle = state.GetWindowTitle();
  if (title == nullptr) title = L"";
  lstrcpynW(windowTitle, title, 256);

  HWND window = CreateWindowExW(0, kFrameworkWindowClass, windowTitle,
                                kFrameworkWindowStyle, x, y,
                                outer.right - outer.left, outer.bottom - outer.top,
                                nullptr, menu, instance, nullptr);
  if (window == nullptr) return FrameworkHresultFromSystemError(GetLastError());

  state.SetWindowCreated(true);
  state.SetFocusWindow(window);
  state.SetFullScreenWindow(window);
  state.SetWindowedWindow(window);
  return S_OK;
}

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
  FrameworkState& state = FrameworkGetState();

  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP ||
      message == WM_SYSKEYUP) {
    HandleKeys(message, wParam, lParam);
  }
  if (IsMouseMessage(message)) HandleMouse(window, message, wParam, lParam);

  FrameworkOnMessageFn onMessage = state.GetOnMessage();
  if (onMessage != nullptr) {
    bool noFurtherProcessing = false;
    const LRESULT result = onMessage(window, message, wParam, lParam,
                                     noFurtherProcessing,
                                     state.GetOnMessageContext());
    if (noFurtherProcessing) return result;
  }

  if (const std::optional<LRESULT> answer = HandleOwnMessage(window, message, wParam, lParam)) {
    return *answer;
  }

  // F10 would open the menu bar; only a menu saved by full screen lets it.
  if ((message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) && wParam == VK_F10 &&
      state.GetSavedMenu() == nullptr) {
    return 0;
  }
  if (state.GetCallDefWindowProc()) return DefWindowProcW(window, message, wParam, lParam);
  return 0;
}

void FrameworkSetCursorSettings(bool showCursorWhenFullScreen,
                                bool clipCursorWhenFullScreen) {
  FrameworkState& state = FrameworkGetState();
  state.SetShowCursorWhenFullScreen(showCursorWhenFullScreen);
  state.SetClipCursorWhenFullScreen(clipCursorWhenFullScreen);
  FrameworkSetupCursor();
}

void FrameworkCheckWindowSize() {
  FrameworkState& state = FrameworkGetState();
  if (state.GetIgnoreSizeChange() || !state.GetDeviceCreated() || IsFullScreen()) return;
  RECT client{};
  GetClientRect(FrameworkGetWindow(), &client);
  const D3DSURFACE_DESC desc = state.GetBackBufferDesc();
  if (static_cast<UINT>(client.right) == desc.Width &&
      static_cast<UINT>(client.bottom) == desc.Height) {
    return;
  }
  DeviceSettings settings = FrameworkGetDeviceSettings();
  settings.presentParams.BackBufferWidth = 0;
  settings.presentParams.BackBufferHeight = 0;
  FrameworkChangeDevice(&settings, nullptr, false, false);
}

void FrameworkCheckMonitorChange() {
  FrameworkState& state = FrameworkGetState();
  if (!state.GetAutoChangeAdapter() || state.GetIgnoreSizeChange() ||
      !state.GetDeviceCreated() || !HasCurrentSettingsWindowed()) {
    return;
  }
  HMONITOR monitor = MonitorFromWindow(FrameworkGetWindow(), MONITOR_DEFAULTTOPRIMARY);
  if (monitor == state.GetAdapterMonitor()) return;

  IDirect3D9* direct3d = state.GetDirect3D();
  DeviceEnumeration* enumeration = FrameworkGetEnumeration(false);
  if (direct3d == nullptr || enumeration == nullptr) return;
  bool found = false;
  UINT adapterOrdinal = 0;
  for (const AdapterInfo& adapter : enumeration->GetAdapterInfoList()) {
    if (direct3d->GetAdapterMonitor(adapter.adapterOrdinal) == monitor) {
      adapterOrdinal = adapter.adapterOrdinal;
      found = true;
      break;
    }
  }
  if (!found) return;

  DeviceSettings request = FrameworkGetDeviceSettings();
  request.adapterOrdinal = adapterOrdinal;
  MatchOptions options{};
  options.adapterOrdinal = MatchType::PreserveInput;
  options.deviceType = MatchType::ClosestToInput;
  options.windowed = MatchType::ClosestToInput;
  options.adapterFormat = MatchType::ClosestToInput;
  options.vertexProcessing = MatchType::ClosestToInput;
  options.resolution = MatchType::ClosestToInput;
  options.backBufferFormat = MatchType::ClosestToInput;
  options.backBufferCount = MatchType::ClosestToInput;
  options.multiSample = MatchType::ClosestToInput;
  options.swapEffect = MatchType::ClosestToInput;
  options.depthFormat = MatchType::ClosestToInput;
  options.stencilFormat = MatchType::ClosestToInput;
  options.presentFlags = MatchType::ClosestToInput;
  options.refreshRate = MatchType::ClosestToInput;
  options.presentInterval = MatchType::ClosestToInput;
  DeviceSettings validSettings{};
  if (FAILED(FrameworkFindValidDeviceSettings(&validSettings, &request, &options))) return;
  const HRESULT hr = FrameworkChangeDevice(&validSettings, nullptr, false, true);
  if (hr == E_ABORT) {
    // The game refused the move; do not ask again.
    state.SetAutoChangeAdapter(false);
  } else if (FAILED(hr)) {
    FrameworkRunShutdown(0);
    FrameworkPause(false, false);
  }
}

void FrameworkAllowShortcutKeys(bool allow) {
  FrameworkState& state = FrameworkGetState();
  state.SetAllowShortcutKeys(allow);
  const STICKYKEYS sticky = state.GetSavedStickyKeys();
  const TOGGLEKEYS toggle = state.GetSavedToggleKeys();
  const FILTERKEYS filter = state.GetSavedFilterKeys();
  if (allow) {
    RestoreAccessibility(SPI_SETSTICKYKEYS, sticky);
    RestoreAccessibility(SPI_SETTOGGLEKEYS, toggle);
    RestoreAccessibility(SPI_SETFILTERKEYS, filter);
    HHOOK hook = state.GetKeyboardHook();
    if (hook != nullptr) {
      UnhookWindowsHookEx(hook);
      state.SetKeyboardHook(nullptr);
    }
    return;
  }
  if (state.GetKeyboardHook() == nullptr && IsNtAboveVersion4()) {
    state.SetKeyboardHook(SetWindowsHookExW(WH_KEYBOARD_LL, FrameworkShortcutKeyHook,
                                            GetModuleHandleW(nullptr), 0));
  }
  DisableAccessibilityHotKey(SPI_SETSTICKYKEYS, sticky);
  DisableAccessibilityHotKey(SPI_SETTOGGLEKEYS, toggle);
  DisableAccessibilityHotKey(SPI_SETFILTERKEYS, filter);
}

void FrameworkSetupCursor() {
  FrameworkState& state = FrameworkGetState();
  IDirect3DDevice9* device = state.GetDevice();
  HWND fullScreenWindow = state.GetFullScreenWindow();
  if (IsFullScreen() && device != nullptr) {
    SetCursor(nullptr);
    if (state.GetShowCursorWhenFullScreen()) {
      HCURSOR cursor = nullptr;
      if (fullScreenWindow != nullptr) {
        cursor = reinterpret_cast<HCURSOR>(
            static_cast<ULONG_PTR>(GetClassLongPtrW(fullScreenWindow, GCLP_HCURSOR)));
      }
      FrameworkSetDeviceCursor(device, cursor);
      device->ShowCursor(TRUE);
    } else {
      device->ShowCursor(FALSE);
    }
  }
  if (IsFullScreen() && state.GetClipCursorWhenFullScreen() && fullScreenWindow != nullptr) {
    RECT rect{};
    GetWindowRect(fullScreenWindow, &rect);
    ClipCursor(&rect);
  } else {
    ClipCursor(nullptr);
  }
}

HRESULT FrameworkSetDeviceCursor(IDirect3DDevice9* device, HCURSOR cursor) {
  if (device == nullptr || cursor == nullptr) return E_INVALIDARG;
  ICONINFO info{};
  if (!GetIconInfo(cursor, &info)) return E_FAIL;
  GdiObject mask{info.hbmMask};
  GdiObject colour{info.hbmColor};
  CursorImage image;
  const HRESULT read = ReadCursorImage(static_cast<HBITMAP>(mask.handle),
                                       static_cast<HBITMAP>(colour.handle), image);
  if (FAILED(read)) return read;

  IDirect3DSurface9* surface = nullptr;  // this function's own, released below
  HRESULT hr = device->CreateOffscreenPlainSurface(image.width, image.height, D3DFMT_A8R8G8B8,
                                                   D3DPOOL_SCRATCH, &surface, nullptr);
  if (FAILED(hr) || surface == nullptr) return FAILED(hr) ? hr : E_FAIL;
  hr = FillCursorSurface(image, surface);
  if (SUCCEEDED(hr)) hr = device->SetCursorProperties(info.xHotspot, info.yHotspot, surface);
  surface->Release();
  return hr;
}
