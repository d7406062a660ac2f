// Start-up and shutdown. This unit sits on top: it runs the command line,
// the errors, the window, the device and the enumeration, and none of them
// names it. Those below that must start or shut down the framework reach it
// through the state's relays, which this unit connects as the program loads.
#include "framework/startup.h"

#include <commctrl.h>
#include <wchar.h>

#include "framework/command_line.h"
#include "framework/d3dx_runtime.h"
#include "framework/device.h"
#include "framework/enumeration.h"
#include "framework/errors.h"
#include "framework/frame_timer.h"
#include "framework/framework_state.h"
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

// The user's accessibility settings as found now; restored whenever the
// shortcut keys are allowed again.
void SaveAccessibilitySettings(FrameworkState& state) {
  STICKYKEYS stickyKeys = {sizeof(STICKYKEYS), 0};
  SystemParametersInfoW(SPI_GETSTICKYKEYS, sizeof(STICKYKEYS), &stickyKeys, 0);
  state.SetSavedStickyKeys(stickyKeys);
  TOGGLEKEYS toggleKeys = {sizeof(TOGGLEKEYS), 0};
  SystemParametersInfoW(SPI_GETTOGGLEKEYS, sizeof(TOGGLEKEYS), &toggleKeys, 0);
  state.SetSavedToggleKeys(toggleKeys);
  FILTERKEYS filterKeys = {sizeof(FILTERKEYS), 0, 0, 0, 0, 0};
  SystemParametersInfoW(SPI_GETFILTERKEYS, sizeof(FILTERKEYS), &filterKeys, 0);
  state.SetSavedFilterKeys(filterKeys);
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

// S_OK, or FW_E_INCORRECTVERSION; S_OK also when the D3DX runtime is absent,
// since there is then no version to check.
HRESULT CheckVersions() {
  if (g_versionCheckHook) {
    return g_versionCheckHook(32, 31) != FALSE ? S_OK : FW_E_INCORRECTVERSION;
  }
  return FrameworkCheckD3DXVersion(32, 31);
}

// Creates the Direct3D object unless one exists. FW_E_NODIRECT3D, reported,
// when none can be made.
HRESULT EnsureDirect3D(FrameworkState& state) {
  if (state.GetDirect3D()) {
    return S_OK;
  }
  // The state owns this reference from here on; FrameworkShutdown releases it.
  IDirect3D9* direct3d = CreateDirect3D();
  if (!direct3d) {
    FrameworkReportError(FW_E_NODIRECT3D);
    return FW_E_NODIRECT3D;
  }
  state.SetDirect3D(direct3d);
  return S_OK;
}

// Closes the main window, if any; its window procedure destroys it on
// WM_CLOSE.
void CloseMainWindow() {
  const HWND window = FrameworkGetWindow();
  if (window) {
    SendMessageW(window, WM_CLOSE, 0, 0);
  }
}

// The enumeration borrows the Direct3D object released with it, so its
// records go too; the next use enumerates afresh.
void ReleaseDirect3D(FrameworkState& state) {
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
}

// Lets the units below start and shut down the framework.
const bool g_lifecycleConnected =
    (FrameworkConnectLifecycle(FrameworkInit, FrameworkShutdown), true);

}  // namespace

void FrameworkSetVersionCheckHook(FrameworkVersionCheckFn hook) { g_versionCheckHook = hook; }
void FrameworkSetDirect3DCreateHook(FrameworkDirect3DCreateFn hook) { g_direct3DCreateHook = hook; }

HRESULT FrameworkInit(bool parseCommandLine, bool handleDefaultHotkeys, bool showMsgBoxOnError,
                      bool handleAltEnter) {
  FrameworkState& state = FrameworkGetState();
  state.SetInitCalled(true);

  InitCommonControls();
  SaveAccessibilitySettings(state);
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
  const HRESULT hr = EnsureDirect3D(state);
  if (FAILED(hr)) {
    return hr;
  }

  FrameworkGetTimer().Reset();
  state.SetInited(true);
  return S_OK;
}

void FrameworkShutdown(int exitCode) {
  FrameworkState& state = FrameworkGetState();
  CloseMainWindow();
  state.SetExitCode(exitCode);
  FrameworkCleanupEnvironment(true);
  FrameworkAllowShortcutKeys(true);
  ReleaseDirect3D(state);
  // "relaunchmce" is parsed and kept in overrideRelaunchMCE; nothing acts on
  // it, since the program starts no other shell when it ends.
}
