// The framework's state object, callback registration, the accessors the
// game uses and the relays to start-up and shutdown.
#include "framework/framework_state.h"

#include <string.h>
#include <wchar.h>

namespace {

// Connected by the start-up unit as the program loads.
FrameworkInitFn g_init = nullptr;
FrameworkShutdownFn g_shutdown = nullptr;

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
  FrameworkRunShutdown(0);
  fields_.useStateLock = false;
  DeleteCriticalSection(&stateLock_);
}

void FrameworkState::SetDefaults() {
  fields_ = FrameworkStateFields{};
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

int FrameworkGetExitCode() { return FrameworkGetState().GetExitCode(); }

HWND FrameworkGetWindow() {
  FrameworkState& state = FrameworkGetState();
  return FrameworkIsWindowed() ? state.GetWindowedWindow() : state.GetFullScreenWindow();
}

IDirect3DDevice9* FrameworkGetDevice() { return FrameworkGetState().GetDevice(); }

IDirect3D9* FrameworkGetDirect3D() { return FrameworkGetState().GetDirect3D(); }

bool FrameworkIsWindowed() {
  const std::optional<DeviceSettings> settings = FrameworkGetState().GetCurrentSettings();
  return settings && settings->presentParams.Windowed;
}

DeviceSettings FrameworkGetDeviceSettings() {
  DeviceSettings none;
  memset(&none, 0, sizeof(none));
  return FrameworkGetState().GetCurrentSettings().value_or(none);
}

void FrameworkConnectLifecycle(FrameworkInitFn init, FrameworkShutdownFn shutdown) {
  g_init = init;
  g_shutdown = shutdown;
}

HRESULT FrameworkRunInit(bool parseCommandLine, bool handleDefaultHotkeys, bool showMsgBoxOnError,
                         bool handleAltEnter) {
  if (!g_init) {
    return E_FAIL;
  }
  return g_init(parseCommandLine, handleDefaultHotkeys, showMsgBoxOnError, handleAltEnter);
}

void FrameworkRunShutdown(int exitCode) {
  if (g_shutdown) {
    g_shutdown(exitCode);
  }
}
