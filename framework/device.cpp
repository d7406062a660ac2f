// The device's life: creation from a request, change of mode, size, adapter
// or device type, reset, loss and release, with the game's four device
// callbacks paired exactly (every reset with one lost, every create with one
// destroy).
//
// One of the three units that call one another. The device calls the window
// because a device needs one (created when missing) and a device change
// restyles, sizes and shows it, and sets the shortcut keys and cursor for
// the new mode. It calls the main loop to pause time and rendering for the
// length of a change and to rebuild the statistics texts of the new device.
// It shuts the framework down on fatal failures only through the state's
// relay.
#include "framework/device.h"

#include <optional>

#include "framework/command_line.h"
#include "framework/enumeration.h"
#include "framework/errors.h"
#include "framework/framework_state.h"
#include "framework/main_loop.h"
#include "framework/matching.h"
#include "framework/window.h"

namespace {

// Marks the span of a device callback, so that framework calls that must not
// run inside one can refuse.
class InsideDeviceCallback {
 public:
  InsideDeviceCallback() { FrameworkGetState().SetInsideDeviceCallback(true); }
  ~InsideDeviceCallback() { FrameworkGetState().SetInsideDeviceCallback(false); }
  InsideDeviceCallback(const InsideDeviceCallback&) = delete;
  InsideDeviceCallback& operator=(const InsideDeviceCallback&) = delete;
};

void CallOnDeviceLost() {
  FrameworkState& state = FrameworkGetState();
  FrameworkOnDeviceLostFn onDeviceLost = state.GetOnDeviceLost();
  if (onDeviceLost == nullptr) return;
  InsideDeviceCallback inside;
  onDeviceLost(state.GetOnDeviceLostContext());
}

void CallOnDeviceDestroyed() {
  FrameworkState& state = FrameworkGetState();
  FrameworkOnDeviceDestroyedFn onDeviceDestroyed = state.GetOnDeviceDestroyed();
  if (onDeviceDestroyed == nullptr) return;
  InsideDeviceCallback inside;
  onDeviceDestroyed(state.GetOnDeviceDestroyedContext());
}

// No callback counts as success.
HRESULT CallOnDeviceCreated(IDirect3DDevice9* device) {
  FrameworkState& state = FrameworkGetState();
  FrameworkOnDeviceCreatedFn onDeviceCreated = state.GetOnDeviceCreated();
  if (onDeviceCreated == nullptr) return S_OK;
  const D3DSURFACE_DESC desc = state.GetBackBufferDesc();
  InsideDeviceCallback inside;
  return onDeviceCreated(device, desc, state.GetOnDeviceCreatedContext());
}

HRESULT CallOnDeviceReset(IDirect3DDevice9* device) {
  FrameworkState& state = FrameworkGetState();
  FrameworkOnDeviceResetFn onDeviceReset = state.GetOnDeviceReset();
  if (onDeviceReset == nullptr) return S_OK;
  const D3DSURFACE_DESC desc = state.GetBackBufferDesc();
  InsideDeviceCallback inside;
  return onDeviceReset(device, desc, state.GetOnDeviceResetContext());
}

void DiscardCurrentSettings() { FrameworkGetState().SetCurrentSettings(std::nullopt); }

// Undoes a device change's pause and size-change suppression when it ends,
// whichever way it ends.
class ChangeScope {
 public:
  ChangeScope() {
    FrameworkPause(true, true);
    FrameworkGetState().SetIgnoreSizeChange(true);
  }
  ~ChangeScope() {
    if (armed_) Finish();
  }
  // Ends the change now (clears the size suppression, then unpauses).
  void Finish() {
    armed_ = false;
    FrameworkGetState().SetIgnoreSizeChange(false);
    FrameworkPause(false, false);
  }
  ChangeScope(const ChangeScope&) = delete;
  ChangeScope& operator=(const ChangeScope&) = delete;

 private:
  bool armed_ = true;
};

MatchOptions AllMatch(MatchType type) {
  MatchOptions options{};
  options.adapterOrdinal = type;
  options.deviceType = type;
  options.windowed = type;
  options.adapterFormat = type;
  options.vertexProcessing = type;
  options.resolution = type;
  options.backBufferFormat = type;
  options.backBufferCount = type;
  options.multiSample = type;
  options.swapEffect = type;
  options.depthFormat = type;
  options.stencilFormat = type;
  options.presentFlags = type;
  options.refreshRate = type;
  options.presentInterval = type;
  return options;
}

bool IsInside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

RECT WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
    RECT none{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return none;
  }
  return info.rcWork;
}

// The request for switching between windowed and full screen, towards
// `toWindowed`, from `base`.
void BuildToggleRequest(const DeviceSettings& base, bool toWindowed, DeviceSettings* request,
                        MatchOptions* options) {
  FrameworkState& state = FrameworkGetState();
  *request = base;
  request->presentParams.Windowed = toWindowed ? TRUE : FALSE;
  const UINT width = toWindowed ? state.GetWindowedWidthAtModeChange()
                                : state.GetFullScreenWidthAtModeChange();
  const UINT height = toWindowed ? state.GetWindowedHeightAtModeChange()
                                 : state.GetFullScreenHeightAtModeChange();
  *options = AllMatch(MatchType::ClosestToInput);
  options->adapterOrdinal = MatchType::PreserveInput;
  options->windowed = MatchType::PreserveInput;
  options->adapterFormat = MatchType::IgnoreInput;
  options->backBufferFormat = MatchType::IgnoreInput;
  options->refreshRate = MatchType::IgnoreInput;
  if (width != 0 && height != 0) {
    request->presentParams.BackBufferWidth = width;
    request->presentParams.BackBufferHeight = height;
    options->resolution = MatchType::ClosestToInput;
  } else {
    options->resolution = MatchType::IgnoreInput;
  }
}

void BuildReferenceRequest(const DeviceSettings& base, D3DDEVTYPE type, DeviceSettings* request,
                           MatchOptions* options) {
  *request = base;
  request->deviceType = type;
  *options = AllMatch(MatchType::ClosestToInput);
  options->adapterOrdinal = MatchType::PreserveInput;
  options->deviceType = MatchType::PreserveInput;
}

D3DDEVTYPE FlippedDeviceType(D3DDEVTYPE type) {
  if (type == D3DDEVTYPE_HAL) return D3DDEVTYPE_REF;
  if (type == D3DDEVTYPE_REF) return D3DDEVTYPE_HAL;
  return type;
}

HRESULT ChangeToRequest(const DeviceSettings& request, const MatchOptions& options) {
  DeviceSettings found{};
  HRESULT hr = FrameworkFindValidDeviceSettings(&found, &request, &options);
  if (FAILED(hr)) return hr;
  return FrameworkChangeDevice(&found, nullptr, false, false);
}

// Measures the windowed window's client size for fitting it to the back
// buffer, also while it is minimised.
void MeasureClientSize(HWND window, LONG* width, LONG* height) {
  FrameworkState& state = FrameworkGetState();
  RECT client{};
  if (IsIconic(window)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    if ((placement.flags & WPF_RESTORETOMAXIMIZED) != 0 &&
        placement.showCmd == SW_SHOWMINIMIZED) {
      ShowWindow(window, SW_RESTORE);
      GetClientRect(window, &client);
      ShowWindow(window, SW_MINIMIZE);
    } else {
      RECT frame{0, 0, 0, 0};
      AdjustWindowRect(&frame, state.GetWindowedStyleAtModeChange(), FALSE);
      const RECT& normal = placement.rcNormalPosition;
      client.right = (normal.right - normal.left) - (frame.right - frame.left);
      client.bottom = (normal.bottom - normal.top) - (frame.bottom - frame.top);
    }
  } else {
    GetClientRect(window, &client);
  }
  *width = client.right - client.left;
  *height = client.bottom - client.top;
}


// One device change in progress: what was asked for, the new settings and
// the ones they replace, and the facts about the switch taken before the
// device is touched.
struct DeviceChange {
  DeviceSettings requested;
  // The new settings, as the game modified them; once the device is created
  // or reset, as it filled them in (a 0 x 0 windowed request gets the
  // client size).
  DeviceSettings fresh;
  std::optional<DeviceSettings> old;  // empty for the first device
  IDirect3D9* direct3d;                 // borrowed from the state
  IDirect3DDevice9* applicationDevice;  // borrowed; the state adds its own reference
  bool forceRecreate;
  bool clipWindowToSingleAdapter;
  bool windowed;
  bool oldWindowed;
  bool keepCurrentWindowSize;  // a 0 x 0 request keeps the client size
  HWND windowedWindow;
  HWND fullScreenWindow;
};

// Copies the request into change.fresh and lets OnModifyDeviceSettings edit
// it. S_OK to go on; otherwise the change's result (E_ABORT when the game
// refuses, S_FALSE when the Direct3D object went away).
HRESULT TakeModifiedSettings(DeviceChange& change) {
  FrameworkState& state = FrameworkGetState();
  change.fresh = change.requested;
  FrameworkOnModifyDeviceSettingsFn onModify = state.GetOnModifyDeviceSettings();
  if (onModify == nullptr) return S_OK;
  D3DCAPS9 caps{};
  change.direct3d->GetDeviceCaps(change.fresh.adapterOrdinal, change.fresh.deviceType, &caps);
  if (!onModify(change.fresh, caps, state.GetOnModifyDeviceSettingsContext())) {
    if (!change.old) FrameworkReportError(FW_E_NOCOMPATIBLEDEVICES);
    return E_ABORT;
  }
  return state.GetDirect3D() == nullptr ? S_FALSE : S_OK;
}

void NoteModeOfChange(DeviceChange& change) {
  FrameworkState& state = FrameworkGetState();
  const D3DPRESENT_PARAMETERS& params = change.fresh.presentParams;
  change.keepCurrentWindowSize = params.BackBufferWidth == 0 && params.BackBufferHeight == 0;
  change.windowed = params.Windowed != FALSE;
  change.oldWindowed = change.old && change.old->presentParams.Windowed != FALSE;
  change.windowedWindow = state.GetWindowedWindow();
  change.fullScreenWindow = state.GetFullScreenWindow();
}

// Back from full screen: remembers the full-screen size, gives the window
// its windowed style and menu again.
void PrepareWindowsForWindowed(const DeviceChange& change) {
  FrameworkState& state = FrameworkGetState();
  if (change.old && !change.oldWindowed) {
    state.SetFullScreenWidthAtModeChange(change.old->presentParams.BackBufferWidth);
    state.SetFullScreenHeightAtModeChange(change.old->presentParams.BackBufferHeight);
    SetWindowLongPtrW(change.windowedWindow, GWL_STYLE,
                      static_cast<LONG_PTR>(state.GetWindowedStyleAtModeChange()));
  }
  if (change.fullScreenWindow != change.windowedWindow) {
    ShowWindow(change.fullScreenWindow, SW_HIDE);
  } else if (state.GetSavedMenu() != nullptr) {
    SetMenu(change.windowedWindow, state.GetSavedMenu());
  }
}

// Into full screen: remembers the windowed placement, style, Z order and
// size, makes the window a popup without menu, and never maximised.
void PrepareWindowsForFullScreen(const DeviceChange& change) {
  FrameworkState& state = FrameworkGetState();
  const HWND windowedWindow = change.windowedWindow;
  const HWND fullScreenWindow = change.fullScreenWindow;
  if (!change.old || change.oldWindowed) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(windowedWindow, &placement);
    state.SetWindowedPlacement(placement);
    state.SetTopmostWhileWindowed(
        (GetWindowLongPtrW(windowedWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    state.SetWindowedStyleAtModeChange(
        static_cast<DWORD>(GetWindowLongPtrW(windowedWindow, GWL_STYLE)) & 0xDEFFFFFFu);
    if (change.old) {
      state.SetWindowedWidthAtModeChange(change.old->presentParams.BackBufferWidth);
      state.SetWindowedHeightAtModeChange(change.old->presentParams.BackBufferHeight);
    }
  }
  ShowWindow(fullScreenWindow, SW_HIDE);
  SetWindowLongPtrW(fullScreenWindow, GWL_STYLE, WS_POPUP | WS_SYSMENU);
  if (fullScreenWindow == windowedWindow) {
    // A second full-screen change finds the menu already saved; keep it.
    HMENU menu = GetMenu(fullScreenWindow);
    if (menu != nullptr) {
      state.SetSavedMenu(menu);
      SetMenu(fullScreenWindow, nullptr);
    }
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (GetWindowPlacement(fullScreenWindow, &placement) &&
      (placement.flags & WPF_RESTORETOMAXIMIZED) != 0) {
    placement.flags &= ~static_cast<UINT>(WPF_RESTORETOMAXIMIZED);
    placement.showCmd = SW_RESTORE;
    SetWindowPlacement(fullScreenWindow, &placement);
  }
}

// A new device is needed when asked for, for another application device,
// without a device or settings, or for another adapter, device type or
// behaviour; otherwise a reset does.
bool NeedsNewDevice(const DeviceChange& change) {
  IDirect3DDevice9* device = FrameworkGetState().GetDevice();
  const std::optional<DeviceSettings>& old = change.old;
  const DeviceSettings& fresh = change.fresh;
  return change.forceRecreate ||
         (change.applicationDevice != nullptr && change.applicationDevice != device) ||
         device == nullptr || !old || old->adapterOrdinal != fresh.adapterOrdinal ||
         old->deviceType != fresh.deviceType || old->behaviorFlags != fresh.behaviorFlags;
}

// Releases the old device and creates the new one. Nothing to go on; or the
// change's failure, reported, with the settings released.
std::optional<HRESULT> RecreateDevice(DeviceChange& change) {
  if (change.old) FrameworkCleanupEnvironment(false);
  const HRESULT hr = FrameworkCreateEnvironment(change.applicationDevice);
  if (FAILED(hr)) {
    FrameworkCleanupEnvironment(true);
    FrameworkReportError(hr);
    return hr;
  }
  return std::nullopt;
}

// Resets the device for the new settings. Nothing to go on (also when the
// device is lost: the rendering pass restores it later); or the change's
// result when a failed reset ended it.
std::optional<HRESULT> ResetDevice(DeviceChange& change) {
  FrameworkState& state = FrameworkGetState();
  const HRESULT hr = FrameworkResetEnvironment();
  if (SUCCEEDED(hr)) return std::nullopt;
  if (hr == D3DERR_DEVICELOST) {
    state.SetDeviceLost(true);
    return std::nullopt;
  }
  if (hr == FW_E_RESETTINGDEVICEOBJECTS || hr == FW_E_MEDIANOTFOUND) {
    FrameworkReportError(hr);
    FrameworkRunShutdown(0);
    return hr;
  }
  // Back to the old settings, and try again with a new device; the nested
  // change finds them as the settings it replaces.
  state.SetCurrentSettings(change.old);
  const HRESULT retry = FrameworkChangeDevice(&change.requested, change.applicationDevice, true,
                                              change.clipWindowToSingleAdapter);
  if (SUCCEEDED(retry)) return S_OK;
  FrameworkRunShutdown(0);
  return FW_E_CREATINGDEVICE;
}

std::optional<HRESULT> CreateOrResetDevice(DeviceChange& change) {
  return NeedsNewDevice(change) ? RecreateDevice(change) : ResetDevice(change);
}

// With the device in place: shortcut keys and statistics for the new mode,
// the adapter's monitor, and, windowed, the placement and Z order back.
void SettleWindowsForMode(const DeviceChange& change) {
  FrameworkState& state = FrameworkGetState();
  FrameworkAllowShortcutKeys(change.windowed ? state.GetAllowShortcutKeysWhenWindowed()
                                             : state.GetAllowShortcutKeysWhenFullScreen());
  state.SetAdapterMonitor(change.direct3d->GetAdapterMonitor(change.fresh.adapterOrdinal));
  FrameworkUpdateStaticFrameStats();
  if (!change.windowed) return;
  if (change.old && !change.oldWindowed) {
    WINDOWPLACEMENT placement = state.GetWindowedPlacement();
    if (placement.length == sizeof(placement)) {
      SetWindowPlacement(change.windowedWindow, &placement);
    }
  }
  SetWindowPos(change.windowedWindow,
               state.GetTopmostWhileWindowed() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
}

// Whether a window clipped to its adapter has to move: it is not wholly
// inside the adapter's work area, and it is on another monitor or is not
// maximised.
bool OutsideAdapterWorkArea(HWND window, HMONITOR adapterMonitor) {
  const RECT work = WorkAreaOf(adapterMonitor);
  RECT windowRect{};
  GetWindowRect(window, &windowRect);
  if (IsInside(windowRect, work)) return false;
  HMONITOR windowMonitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
  return windowMonitor != adapterMonitor || !IsZoomed(window);
}

// Gives the window the outer size of the wanted client area (a menu counted
// only when one is saved). Clipped to one adapter, the size is held to its
// work area and the window centred there unless it already lies inside;
// otherwise only the size changes.
void ResizeWindowForClient(HWND window, LONG wantedWidth, LONG wantedHeight,
                           HMONITOR adapterMonitor, bool clipWindowToSingleAdapter) {
  if (IsIconic(window) || IsZoomed(window)) ShowWindow(window, SW_RESTORE);
  RECT adjusted{0, 0, wantedWidth, wantedHeight};
  AdjustWindowRect(&adjusted, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                   FrameworkGetState().GetSavedMenu() != nullptr);
  LONG outerWidth = adjusted.right - adjusted.left;
  LONG outerHeight = adjusted.bottom - adjusted.top;
  if (!clipWindowToSingleAdapter) {
    SetWindowPos(window, nullptr, 0, 0, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOMOVE);
    return;
  }
  const RECT work = WorkAreaOf(adapterMonitor);
  const LONG workWidth = work.right - work.left;
  const LONG workHeight = work.bottom - work.top;
  if (outerWidth > workWidth) outerWidth = workWidth;
  if (outerHeight > workHeight) outerHeight = workHeight;
  LONG left = adjusted.left;
  LONG top = adjusted.top;
  if (!IsInside(adjusted, work)) {
    left = work.left + (workWidth - outerWidth) / 2;
    top = work.top + (workHeight - outerHeight) / 2;
  }
  SetWindowPos(window, nullptr, left, top, outerWidth, outerHeight, SWP_NOZORDER);
}

// Gives the back buffer the client size the window really has, by a nested
// change of these settings with a 0 x 0 size. Nothing to go on; or that
// change's failure, with the device and its settings released.
std::optional<HRESULT> FollowClientSize(const DeviceChange& change) {
  DeviceSettings keepSize = change.fresh;
  keepSize.presentParams.BackBufferWidth = 0;
  keepSize.presentParams.BackBufferHeight = 0;
  const HRESULT hr =
      FrameworkChangeDevice(&keepSize, nullptr, false, change.clipWindowToSingleAdapter);
  if (FAILED(hr)) {
    FrameworkCleanupEnvironment(true);
    return hr;
  }
  return std::nullopt;
}

// Windowed: sizes the window to the back buffer when its client area
// differs (or it must move onto its adapter). Nothing to go on; or the
// failure of the follow-up change that gives the back buffer the client
// size the window really took, with the settings released.
std::optional<HRESULT> FitWindowToBackBuffer(DeviceChange& change) {
  const HWND window = change.windowedWindow;
  const LONG wantedWidth = static_cast<LONG>(change.fresh.presentParams.BackBufferWidth);
  const LONG wantedHeight = static_cast<LONG>(change.fresh.presentParams.BackBufferHeight);
  LONG clientWidth = 0;
  LONG clientHeight = 0;
  MeasureClientSize(window, &clientWidth, &clientHeight);
  bool resize = clientWidth != wantedWidth || clientHeight != wantedHeight;
  HMONITOR adapterMonitor = change.direct3d->GetAdapterMonitor(change.fresh.adapterOrdinal);
  if (change.clipWindowToSingleAdapter && !IsIconic(window) &&
      OutsideAdapterWorkArea(window, adapterMonitor)) {
    resize = true;
  }
  if (!resize) return std::nullopt;

  ResizeWindowForClient(window, wantedWidth, wantedHeight, adapterMonitor,
                        change.clipWindowToSingleAdapter);
  RECT client{};
  GetClientRect(window, &client);
  if (client.right == wantedWidth && client.bottom == wantedHeight) return std::nullopt;

  // The window did not take the size (the system clamps windows, and a menu
  // bar that was not counted takes client height).
  return FollowClientSize(change);
}

// Shows the window the first change leaves hidden, and keeps the display on
// in full screen. True when it showed the window now.
bool ShowWindowForMode(bool windowed) {
  HWND window = FrameworkGetWindow();
  const bool show = window != nullptr && !IsWindowVisible(window);
  if (show) ShowWindow(window, SW_SHOW);
  SetThreadExecutionState(windowed ? ES_CONTINUOUS : (ES_CONTINUOUS | ES_DISPLAY_REQUIRED));
  return show;
}

// Windowed, once the window is shown for the first time: the first WM_SIZE
// the game sees comes with the showing, and a game that holds its window at
// a size of its own corrects the window then. That arrives while this
// change ignores size messages, so the back buffer would keep the size it
// was made with; it follows the client area here instead. Nothing to go
// on, or the failure of that follow-up change.
std::optional<HRESULT> FollowClientAfterShow(DeviceChange& change) {
  RECT client{};
  if (change.windowedWindow == nullptr || IsIconic(change.windowedWindow) ||
      !GetClientRect(change.windowedWindow, &client) || client.right <= 0 ||
      client.bottom <= 0) {
    return std::nullopt;
  }
  // The size the device was last given (by this change or one it nested);
  // 0 x 0 when the runtime did not say what it chose.
  const D3DPRESENT_PARAMETERS params = FrameworkGetDeviceSettings().presentParams;
  const bool unknown = params.BackBufferWidth == 0 && params.BackBufferHeight == 0;
  if (unknown || (static_cast<UINT>(client.right) == params.BackBufferWidth &&
                  static_cast<UINT>(client.bottom) == params.BackBufferHeight)) {
    return std::nullopt;
  }
  return FollowClientSize(change);
}

// Windowed, when the user changed the desktop's colour depth: changes the
// device to the new format (or, failing that, to full screen), shutting
// down when nothing fits. False when the desktop's format is unchanged.
bool FollowDesktopFormat(const DeviceSettings& current) {
  IDirect3D9* direct3d = FrameworkGetState().GetDirect3D();
  D3DDISPLAYMODE mode{};
  if (!current.presentParams.Windowed || direct3d == nullptr ||
      FAILED(direct3d->GetAdapterDisplayMode(current.adapterOrdinal, &mode)) ||
      mode.Format == current.adapterFormat) {
    return false;
  }
  DeviceSettings request = current;
  request.adapterFormat = mode.Format;
  MatchOptions options = AllMatch(MatchType::ClosestToInput);
  options.adapterOrdinal = MatchType::PreserveInput;
  options.deviceType = MatchType::PreserveInput;
  options.windowed = MatchType::PreserveInput;
  options.adapterFormat = MatchType::PreserveInput;
  DeviceSettings found{};
  if (FAILED(FrameworkFindValidDeviceSettings(&found, &request, &options))) {
    FrameworkReportError(FW_E_NOCOMPATIBLEDEVICES);
    FrameworkRunShutdown(0);
  } else if (FAILED(FrameworkChangeDevice(&found, nullptr, false, false)) &&
             FAILED(FrameworkToggleFullScreen())) {
    FrameworkRunShutdown(0);
  }
  return true;
}

// Creates the device of the current settings, which the runtime fills in
// (a 0 x 0 windowed size becomes the client size) and which are stored back;
// or takes a reference to the application's device. The caller owns the
// reference in `device`. D3DERR_DEVICELOST, or FW_E_CREATINGDEVICE when
// there is no device.
HRESULT ObtainDevice(IDirect3DDevice9* applicationDevice, IDirect3DDevice9** device) {
  *device = nullptr;
  if (applicationDevice != nullptr) {
    applicationDevice->AddRef();
    *device = applicationDevice;
    return S_OK;
  }
  FrameworkState& state = FrameworkGetState();
  IDirect3D9* direct3d = state.GetDirect3D();
  std::optional<DeviceSettings> settings = state.GetCurrentSettings();
  if (direct3d == nullptr || !settings) return FW_E_CREATINGDEVICE;
  const HRESULT hr = direct3d->CreateDevice(settings->adapterOrdinal, settings->deviceType,
                                            state.GetFocusWindow(), settings->behaviorFlags,
                                            &settings->presentParams, device);
  state.SetCurrentSettings(settings);
  if (hr == D3DERR_DEVICELOST) return hr;
  if (FAILED(hr) || *device == nullptr) return FW_E_CREATINGDEVICE;
  return S_OK;
}

}  // namespace

HRESULT FrameworkCreateDevice(UINT adapterOrdinal, bool windowed, int width, int height,
                              FrameworkOnDeviceAcceptableFn onDeviceAcceptable,
                              FrameworkOnModifyDeviceSettingsFn onModifyDeviceSettings,
                              void* userContext) {
  FrameworkState& state = FrameworkGetState();
  if (state.GetInsideDeviceCallback()) return E_FAIL;
  state.SetOnDeviceAcceptable(onDeviceAcceptable, userContext);
  state.SetOnModifyDeviceSettings(onModifyDeviceSettings, userContext);
  state.SetDeviceCreateCalled(true);

  if (state.GetFocusWindow() == nullptr) {
    if (state.GetWindowCreateCalled()) return E_FAIL;
    const HRESULT hr = FrameworkCreateWindow(L"Direct3D Window", nullptr, nullptr, nullptr,
                                             CW_USEDEFAULT, CW_USEDEFAULT);
    if (FAILED(hr)) return hr;
  }

  FrameworkGetEnumeration(true);

  // A negative size cannot be asked for; it counts as "not given".
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  DeviceSettings request{};
  request.adapterOrdinal = adapterOrdinal;
  request.presentParams.Windowed = windowed ? TRUE : FALSE;
  request.presentParams.BackBufferWidth = static_cast<UINT>(width);
  request.presentParams.BackBufferHeight = static_cast<UINT>(height);
  MatchOptions options{};
  options.adapterOrdinal = MatchType::PreserveInput;
  options.windowed = MatchType::PreserveInput;
  options.resolution = (windowed || (width != 0 && height != 0)) ? MatchType::ClosestToInput
                                                                  : MatchType::IgnoreInput;
  FrameworkApplyRequestOverrides(request, options);

  DeviceSettings found{};
  const HRESULT hr = FrameworkFindValidDeviceSettings(&found, &request, &options);
  if (FAILED(hr)) {
    FrameworkReportError(hr);
    return hr;
  }
  return FrameworkChangeDevice(&found, nullptr, false, true);
}

HRESULT FrameworkChangeDevice(const DeviceSettings* settings, IDirect3DDevice9* applicationDevice,
                              bool forceRecreate, bool clipWindowToSingleAdapter) {
  FrameworkState& state = FrameworkGetState();
  if (settings == nullptr) return E_INVALIDARG;
  DeviceChange change{};
  change.old = state.GetCurrentSettings();
  change.direct3d = state.GetDirect3D();
  if (change.direct3d == nullptr) return S_FALSE;
  change.requested = *settings;
  change.applicationDevice = applicationDevice;
  change.forceRecreate = forceRecreate;
  change.clipWindowToSingleAdapter = clipWindowToSingleAdapter;
  const HRESULT accepted = TakeModifiedSettings(change);
  if (accepted != S_OK) return accepted;

  state.SetCurrentSettings(change.fresh);
  ChangeScope scope;
  state.SetUseStateLock((change.requested.behaviorFlags & D3DCREATE_MULTITHREADED) != 0);
  if (applicationDevice == nullptr && !change.old) {
    FrameworkApplyOverrides(change.fresh);
    state.SetCurrentSettings(change.fresh);
  }
  NoteModeOfChange(change);

  if (change.windowed) {
    PrepareWindowsForWindowed(change);
  } else {
    PrepareWindowsForFullScreen(change);
  }
  if (const std::optional<HRESULT> ended = CreateOrResetDevice(change)) return *ended;
  change.fresh = state.GetCurrentSettings().value_or(change.fresh);
  SettleWindowsForMode(change);
  if (change.windowed && !change.keepCurrentWindowSize && change.windowedWindow != nullptr) {
    if (const std::optional<HRESULT> ended = FitWindowToBackBuffer(change)) return *ended;
  }
  if (ShowWindowForMode(change.windowed) && change.windowed) {
    if (const std::optional<HRESULT> ended = FollowClientAfterShow(change)) return *ended;
  }

  scope.Finish();
  state.SetDeviceCreated(true);
  return S_OK;
}

HRESULT FrameworkToggleFullScreen() {
  const std::optional<DeviceSettings> current = FrameworkGetState().GetCurrentSettings();
  if (!current) return E_FAIL;
  const DeviceSettings previous = *current;
  const bool toWindowed = previous.presentParams.Windowed == FALSE;

  DeviceSettings request{};
  MatchOptions options{};
  BuildToggleRequest(previous, toWindowed, &request, &options);
  DeviceSettings found{};
  HRESULT hr = FrameworkFindValidDeviceSettings(&found, &request, &options);
  if (FAILED(hr)) return hr;
  hr = FrameworkChangeDevice(&found, nullptr, false, false);
  if (SUCCEEDED(hr) || hr == E_ABORT) return hr;

  BuildToggleRequest(previous, !toWindowed, &request, &options);
  if (FAILED(ChangeToRequest(request, options))) FrameworkRunShutdown(0);
  return hr;
}

HRESULT FrameworkToggleReference() {
  const std::optional<DeviceSettings> current = FrameworkGetState().GetCurrentSettings();
  if (!current) return E_FAIL;
  const DeviceSettings previous = *current;

  DeviceSettings request{};
  MatchOptions options{};
  BuildReferenceRequest(previous, FlippedDeviceType(previous.deviceType), &request, &options);
  DeviceSettings found{};
  HRESULT hr = FrameworkFindValidDeviceSettings(&found, &request, &options);
  if (FAILED(hr)) return hr;
  hr = FrameworkChangeDevice(&found, nullptr, false, false);
  if (SUCCEEDED(hr) || hr == E_ABORT) return hr;

  BuildReferenceRequest(previous, previous.deviceType, &request, &options);
  if (FAILED(ChangeToRequest(request, options))) FrameworkRunShutdown(0);
  return hr;
}

HRESULT FrameworkCreateEnvironment(IDirect3DDevice9* applicationDevice) {
  FrameworkState& state = FrameworkGetState();
  const std::optional<DeviceSettings> current = state.GetCurrentSettings();
  if (!current) return FW_E_CREATINGDEVICE;
  IDirect3D9* direct3d = state.GetDirect3D();
  const DeviceSettings* settings = &*current;

  IDirect3DDevice9* device = nullptr;
  const HRESULT obtained = ObtainDevice(applicationDevice, &device);
  if (obtained == D3DERR_DEVICELOST) {
    state.SetDeviceLost(true);
    return S_OK;
  }
  if (FAILED(obtained)) return obtained;
  // The state owns this reference from here on.
  state.SetDevice(device);

  const int exitCode = state.GetExitCode();
  if (settings->deviceType == D3DDEVTYPE_REF && exitCode == 0) {
    state.SetExitCode(kFrameworkExitCodeReference);
  } else if (settings->deviceType == D3DDEVTYPE_HAL && exitCode == kFrameworkExitCodeReference) {
    state.SetExitCode(0);
  }

  FrameworkUpdateBackBufferDesc();
  FrameworkSetupCursor();
  D3DCAPS9 caps{};
  device->GetDeviceCaps(&caps);
  state.SetCaps(caps);
  D3DADAPTER_IDENTIFIER9 identifier{};
  if (direct3d == nullptr ||
      FAILED(direct3d->GetAdapterIdentifier(settings->adapterOrdinal, 0, &identifier))) {
    identifier = D3DADAPTER_IDENTIFIER9{};
  }
  FrameworkUpdateDeviceStats(settings->deviceType, settings->behaviorFlags, &identifier);

  HRESULT result = CallOnDeviceCreated(device);
  if (state.GetDevice() == nullptr) return E_FAIL;
  if (FAILED(result)) {
    return result == FW_E_MEDIANOTFOUND ? FW_E_MEDIANOTFOUND : FW_E_CREATINGDEVICEOBJECTS;
  }
  state.SetDeviceObjectsCreated(true);

  result = CallOnDeviceReset(device);
  if (state.GetDevice() == nullptr) return E_FAIL;
  if (FAILED(result)) {
    return result == FW_E_MEDIANOTFOUND ? FW_E_MEDIANOTFOUND : FW_E_RESETTINGDEVICEOBJECTS;
  }
  state.SetDeviceObjectsReset(true);
  return S_OK;
}

HRESULT FrameworkResetEnvironment() {
  FrameworkState& state = FrameworkGetState();
  IDirect3DDevice9* device = state.GetDevice();
  std::optional<DeviceSettings> settings = state.GetCurrentSettings();
  if (device == nullptr || !settings) return FW_E_RESETTINGDEVICE;

  if (state.GetDeviceObjectsReset()) {
    CallOnDeviceLost();
    state.SetDeviceObjectsReset(false);
  }
  // Reset fills in the sizes it chose (for a 0 x 0 windowed request, the
  // client size); the current settings keep them.
  const HRESULT hr = device->Reset(&settings->presentParams);
  state.SetCurrentSettings(settings);
  if (FAILED(hr)) return hr == D3DERR_DEVICELOST ? D3DERR_DEVICELOST : FW_E_RESETTINGDEVICE;

  FrameworkUpdateBackBufferDesc();
  FrameworkSetupCursor();

  const HRESULT result = CallOnDeviceReset(device);
  if (SUCCEEDED(result)) {
    state.SetDeviceObjectsReset(true);
    return S_OK;
  }
  CallOnDeviceLost();
  return result == FW_E_MEDIANOTFOUND ? FW_E_MEDIANOTFOUND : FW_E_RESETTINGDEVICEOBJECTS;
}

void FrameworkCleanupEnvironment(bool releaseSettings) {
  FrameworkState& state = FrameworkGetState();
  IDirect3DDevice9* device = state.GetDevice();
  if (device == nullptr) {
    // A failed creation leaves no device, but its settings must still go.
    if (releaseSettings) DiscardCurrentSettings();
    return;
  }
  if (state.GetDeviceObjectsReset()) {
    CallOnDeviceLost();
    state.SetDeviceObjectsReset(false);
  }
  if (state.GetDeviceObjectsCreated()) {
    CallOnDeviceDestroyed();
    state.SetDeviceObjectsCreated(false);
  }
  const ULONG references = device->Release();
  // Cleared before the report: its message box runs a message loop, and a
  // paint must not reach the released device.
  state.SetDevice(nullptr);
  if (references > 0) FrameworkReportError(FW_E_NONZEROREFCOUNT);
  if (releaseSettings) DiscardCurrentSettings();
  state.SetBackBufferDesc(D3DSURFACE_DESC{});
  state.SetCaps(D3DCAPS9{});
  state.SetDeviceCreated(false);
}

void FrameworkUpdateBackBufferDesc() {
  FrameworkState& state = FrameworkGetState();
  D3DSURFACE_DESC desc{};
  IDirect3DDevice9* device = state.GetDevice();
  IDirect3DSurface9* backBuffer = nullptr;  // this function's own, released below
  if (device != nullptr &&
      SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) &&
      backBuffer != nullptr) {
    if (FAILED(backBuffer->GetDesc(&desc))) desc = D3DSURFACE_DESC{};
    backBuffer->Release();
  }
  state.SetBackBufferDesc(desc);
}

bool FrameworkRestoreLostDevice() {
  FrameworkState& state = FrameworkGetState();
  IDirect3DDevice9* device = state.GetDevice();
  if (device == nullptr) {
    // Without settings (a re-creation already failed and was reported)
    // there is nothing to create again; the pass keeps sleeping instead of
    // reporting the same failure every 50 ms.
    if (state.GetDeviceLost() && state.GetCurrentSettings()) {
      const DeviceSettings settings = FrameworkGetDeviceSettings();
      FrameworkChangeDevice(&settings, nullptr, false, true);
    }
    return false;
  }
  if (!state.GetDeviceLost()) return true;
  if (state.GetPauseRenderingCount() > 0) return false;

  const HRESULT cooperative = device->TestCooperativeLevel();
  if (FAILED(cooperative)) {
    if (cooperative == D3DERR_DEVICELOST) return false;

    const DeviceSettings current = FrameworkGetDeviceSettings();
    if (FollowDesktopFormat(current)) return false;

    const HRESULT hr = FrameworkResetEnvironment();
    if (FAILED(hr)) {
      if (hr == D3DERR_DEVICELOST) return false;
      if (hr == FW_E_RESETTINGDEVICEOBJECTS || hr == FW_E_MEDIANOTFOUND) {
        FrameworkReportError(hr);
        FrameworkRunShutdown(0);
        return false;
      }
      if (FAILED(FrameworkChangeDevice(&current, nullptr, true, false))) {
        FrameworkRunShutdown(0);
        return false;
      }
    }
  }
  state.SetDeviceLost(false);
  return state.GetDevice() != nullptr;
}
