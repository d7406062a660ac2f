// The framework's state object, callback registration, start-up, shutdown
// and the accessors the game uses.
#include "framework/framework_state.h"

#include <commctrl.h>
#include <string.h>
#include <wchar.h>

#include "framework/command_line.h"
#include "framework/d3dx_runtime.h"
#include "framework/device.h"
#include "framework/enumeration.h"
#include "framework/errors.h"
#include "framework/frame_timer.h"
#include "framework/window.h"

namespace {

typedef IDirect3D9*(WINAPI* Direct3DCreate9Fn)(UINT sdkVersion);
typedef UINT(WINAPI* TimeBeginPeriodFn)(UINT period);

// Converts an export's address to its real type.
template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// d3d9.dll stays loaded once loaded: the Direct3D object lives in it.
HMODULE g_d3d9Module = nullptr;
FrameworkVersionCheckFn g_versionCheckHook = nullptr;
FrameworkDirect3DCreateFn g_direct3DCreateHook = nullptr;

// Builds "<system directory>\<name>" in `path` (261 characters). False when
// the system directory cannot be read or the result would not fit in 260.
bool SystemLibraryPath(const wchar_t* name, wchar_t (&path)[MAX_PATH + 1]) {
  const UINT length = GetSystemDirectoryW(path, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) {
    return false;
  }
  if (length + 1 + wcslen(name) > MAX_PATH) {
    return false;
  }
  wcscat(path, L"\\");
  wcscat(path, name);
  return true;
}

void RaiseTimerResolution() {
  wchar_t path[MAX_PATH + 1];
  if (!SystemLibraryPath(L"winmm.dll", path)) {
    return;
  }
  HMODULE winmm = LoadLibraryW(path);
  if (!winmm) {
    return;
  }
  // A missing export is ignored. The period is never ended: the raised
  // resolution lasts for the life of the process.
  TimeBeginPeriodFn timeBeginPeriod = LookUp<TimeBeginPeriodFn>(winmm, "timeBeginPeriod");
  if (timeBeginPeriod) {
    timeBeginPeriod(1);
  }
  FreeLibrary(winmm);
}

IDirect3D9* CreateDirect3D() {
  if (g_direct3DCreateHook) {
    return g_direct3DCreateHook(D3D_SDK_VERSION);
  }
  if (!g_d3d9Module) {
    wchar_t path[MAX_PATH + 1];
    if (!SystemLibraryPath(L"d3d9.dll", path)) {
      return nullptr;
    }
    g_d3d9Module = LoadLibraryW(path);
    if (!g_d3d9Module) {
      return nullptr;
    }
  }
  Direct3DCreate9Fn create = LookUp<Direct3DCreate9Fn>(g_d3d9Module, "Direct3DCreate9");
  return create ? create(32) : nullptr;
}

// S_OK, FW_E_INCORRECTVERSION, or FW_E_NOD3DXRUNTIME when D3DX is missing.
HRESULT CheckVersions() {
  if (g_versionCheckHook) {
    return g_versionCheckHook(32, 31) != FALSE ? S_OK : FW_E_INCORRECTVERSION;
  }
  return FrameworkCheckD3DXVersion(32, 31);
}

}  // namespace

FrameworkState::LockScope::LockScope(const FrameworkState& state) : entered_(nullptr) {
  if (state.fields_.useStateLock) {
    EnterCriticalSection(&state.stateLock_);
    entered_ = &state.stateLock_;
  }
}

FrameworkState::LockScope::~LockScope() {
  if (entered_) {
    LeaveCriticalSection(entered_);
  }
}

FrameworkState::FrameworkState() {
  InitializeCriticalSection(&stateLock_);
  SetDefaults();
}

FrameworkState::~FrameworkState() {
  FrameworkShutdown(0);
  delete fields_.timers;
  fields_.timers = nullptr;
  delete fields_.currentSettings;
  fields_.currentSettings = nullptr;
  fields_.useStateLock = false;
  DeleteCriticalSection(&stateLock_);
}

void FrameworkState::SetDefaults() {
  memset(&fields_, 0, sizeof(fields_));
  fields_.active = true;
  fields_.allowShortcutKeysWhenFullScreen = false;
  fields_.allowShortcutKeysWhenWindowed = true;
  fields_.showMsgBoxOnError = true;
  fields_.callDefWindowProc = true;
  fields_.autoChangeAdapter = true;
  fields_.overrideAdapterOrdinal = -1;
  fields_.overrideStartX = -1;
  fields_.overrideStartY = -1;
  fields_.overrideForceVsync = -1;
  fields_.useStateLock = true;
}

void FrameworkState::ResetFieldsForTest() {
  EnterCriticalSection(&stateLock_);
  SetDefaults();
  LeaveCriticalSection(&stateLock_);
}

void FrameworkState::CopyText(wchar_t* buffer, size_t capacity, const wchar_t* text) {
  if (capacity == 0) {
    return;
  }
  if (!text) {
    buffer[0] = L'\0';
    return;
  }
  wcsncpy(buffer, text, capacity - 1);
  buffer[capacity - 1] = L'\0';
}

FrameworkState& FrameworkGetState() {
  static FrameworkState state;
  return state;
}

void FrameworkSetOnDeviceCreated(FrameworkOnDeviceCreatedFn callback, void* userContext) {
  FrameworkGetState().SetOnDeviceCreated(callback, userContext);
}
void FrameworkSetOnDeviceReset(FrameworkOnDeviceResetFn callback, void* userContext) {
  FrameworkGetState().SetOnDeviceReset(callback, userContext);
}
void FrameworkSetOnDeviceLost(FrameworkOnDeviceLostFn callback, void* userContext) {
  FrameworkGetState().SetOnDeviceLost(callback, userContext);
}
void FrameworkSetOnDeviceDestroyed(FrameworkOnDeviceDestroyedFn callback, void* userContext) {
  FrameworkGetState().SetOnDeviceDestroyed(callback, userContext);
}
void FrameworkSetOnModifyDeviceSettings(FrameworkOnModifyDeviceSettingsFn callback,
                                        void* userContext) {
  FrameworkGetState().SetOnModifyDeviceSettings(callback, userContext);
}
void FrameworkSetOnFrameMove(FrameworkOnFrameMoveFn callback, void* userContext) {
  FrameworkGetState().SetOnFrameMove(callback, userContext);
}
void FrameworkSetOnFrameRender(FrameworkOnFrameRenderFn callback, void* userContext) {
  FrameworkGetState().SetOnFrameRender(callback, userContext);
}
void FrameworkSetOnKeyboard(FrameworkOnKeyboardFn callback, void* userContext) {
  FrameworkGetState().SetOnKeyboard(callback, userContext);
}
void FrameworkSetOnMouse(FrameworkOnMouseFn callback, void* userContext, bool notifyOnMouseMove) {
  FrameworkState& state = FrameworkGetState();
  state.SetOnMouse(callback, userContext);
  state.SetNotifyOnMouseMove(notifyOnMouseMove);
}
void FrameworkSetOnMessage(FrameworkOnMessageFn callback, void* userContext) {
  FrameworkGetState().SetOnMessage(callback, userContext);
}

void FrameworkSetVersionCheckHook(FrameworkVersionCheckFn hook) { g_versionCheckHook = hook; }
void FrameworkSetDirect3DCreateHook(FrameworkDirect3DCreateFn hook) { g_direct3DCreateHook = hook; }

HRESULT FrameworkInit(bool parseCommandLine, bool handleDefaultHotkeys, bool showMsgBoxOnError,
                      bool handleAltEnter) {
  FrameworkState& state = FrameworkGetState();
  state.SetInitCalled(true);

  InitCommonControls();

  // The user's accessibility settings as found now; restored whenever the
  // shortcut keys are allowed again.
  STICKYKEYS stickyKeys = {sizeof(STICKYKEYS), 0};
  SystemParametersInfoW(SPI_GETSTICKYKEYS, sizeof(STICKYKEYS), &stickyKeys, 0);
  state.SetSavedStickyKeys(stickyKeys);
  TOGGLEKEYS toggleKeys = {sizeof(TOGGLEKEYS), 0};
  SystemParametersInfoW(SPI_GETTOGGLEKEYS, sizeof(TOGGLEKEYS), &toggleKeys, 0);
  state.SetSavedToggleKeys(toggleKeys);
  FILTERKEYS filterKeys = {sizeof(FILTERKEYS), 0, 0, 0, 0, 0};
  SystemParametersInfoW(SPI_GETFILTERKEYS, sizeof(FILTERKEYS), &filterKeys, 0);
  state.SetSavedFilterKeys(filterKeys);

  RaiseTimerResolution();

  state.SetShowMsgBoxOnError(showMsgBoxOnError);
  state.SetHandleDefaultHotkeys(handleDefaultHotkeys);
  state.SetHandleAltEnter(handleAltEnter);

  // Options parsed here win over the arguments above.
  if (parseCommandLine) {
    FrameworkParseCommandLine();
  }

  const HRESULT versions = CheckVersions();
  if (FAILED(versions)) {
    FrameworkReportError(versions);
    return versions;
  }

  if (!state.GetDirect3D()) {
    IDirect3D9* direct3d = CreateDirect3D();
    if (!direct3d) {
      FrameworkReportError(FW_E_NODIRECT3D);
      return FW_E_NODIRECT3D;
    }
    state.SetDirect3D(direct3d);
  }

  FrameworkGetTimer().Reset();
  state.SetInited(true);
  return S_OK;
}

void FrameworkShutdown(int exitCode) {
  FrameworkState& state = FrameworkGetState();

  // The window procedure destroys the window on WM_CLOSE.
  const HWND window = FrameworkGetWindow();
  if (window) {
    SendMessageW(window, WM_CLOSE, 0, 0);
  }

  state.SetExitCode(exitCode);
  FrameworkCleanupEnvironment(true);
  FrameworkAllowShortcutKeys(true);

  // The enumeration borrows the Direct3D object released below, so its
  // records go with it; the next use enumerates afresh.
  DeviceEnumeration* enumeration = state.GetEnumeration();
  if (enumeration) {
    enumeration->Clear();
  }
  state.SetEnumeration(nullptr);

  IDirect3D9* direct3d = state.GetDirect3D();
  state.SetDirect3D(nullptr);
  if (direct3d) {
    direct3d->Release();
  }
  // "relaunchmce" is recorded in overrideRelaunchMCE, but relaunching a
  // media-centre shell belongs to extras this program does not carry.
}

int FrameworkGetExitCode() { return FrameworkGetState().GetExitCode(); }

HWND FrameworkGetWindow() {
  FrameworkState& state = FrameworkGetState();
  return FrameworkIsWindowed() ? state.GetWindowedWindow() : state.GetFullScreenWindow();
}

IDirect3DDevice9* FrameworkGetDevice() { return FrameworkGetState().GetDevice(); }

IDirect3D9* FrameworkGetDirect3D() { return FrameworkGetState().GetDirect3D(); }

bool FrameworkIsWindowed() {
  const DeviceSettings* settings = FrameworkGetState().GetCurrentSettings();
  return settings && settings->presentParams.Windowed;
}

DeviceSettings FrameworkGetDeviceSettings() {
  DeviceSettings copy;
  memset(&copy, 0, sizeof(copy));
  const DeviceSettings* settings = FrameworkGetState().GetCurrentSettings();
  if (settings) {
    copy = *settings;
  }
  return copy;
}
