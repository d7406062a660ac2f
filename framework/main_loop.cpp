// The main loop and its rendering pass, the counted pause of time and
// rendering, the fixed time step, and the statistics texts.
//
// One of the three units that call one another. The main loop calls the
// device because it creates a default device when none exists and restores
// a lost device at the start of every pass; the window and the device call
// back into it to pause. It never calls the window. A timed run's last
// frame shuts the framework down through the state's relay.
#include "framework/main_loop.h"

#include <cstdio>
#include <cwchar>
#include <optional>

#include "framework/device.h"
#include "framework/enumeration.h"
#include "framework/frame_timer.h"
#include "framework/framework_state.h"

namespace {

// A main loop that cannot run turns a clean (or reference-device) exit code
// into 1 and fails.
HRESULT RefuseMainLoop(HRESULT result) {
  FrameworkState& state = FrameworkGetState();
  const int exitCode = state.GetExitCode();
  if (exitCode == 0 || exitCode == 11) state.SetExitCode(1);
  return result;
}

// Copies `text` into `buffer`, cut to `capacity` characters with the
// terminator.
void CopyText(wchar_t* buffer, size_t capacity, const wchar_t* text) {
  if (capacity == 0) return;
  size_t i = 0;
  for (; text != nullptr && text[i] != L'\0' && i + 1 < capacity; ++i) buffer[i] = text[i];
  buffer[i] = L'\0';
}

// Formats into `buffer`, always terminated and cut to `capacity`.
template <typename... Args>
void Format(wchar_t* buffer, size_t capacity, const wchar_t* format, Args... args) {
  if (capacity == 0) return;
  const int written = _snwprintf(buffer, capacity, format, args...);
  if (written < 0 || static_cast<size_t>(written) >= capacity) buffer[capacity - 1] = L'\0';
}

// Counts every enabled timer down by `elapsed` and calls those that ran
// out, after storing the new countdowns (a callback sees the list as it is
// after this pass).
void FireDueTimers(float elapsed) {
  FrameworkState& state = FrameworkGetState();
  FrameworkTimerList timers = state.GetTimers();
  if (timers.empty()) return;
  FrameworkTimerList due;
  for (FrameworkTimer& timer : timers) {
    if (!timer.enabled) continue;
    timer.countdown -= elapsed;
    if (timer.countdown <= 0.0f) {
      timer.countdown += timer.timeoutInSeconds;
      if (timer.countdown < 0.0f) timer.countdown = timer.timeoutInSeconds;
      due.push_back(timer);
    }
  }
  state.SetTimers(timers);
  for (const FrameworkTimer& timer : due) {
    if (timer.callback != nullptr) timer.callback(timer.id, timer.userContext);
  }
}

// The enumerated combination of the current settings, or null.
const DeviceSettingsCombo* CurrentCombo() {
  FrameworkState& state = FrameworkGetState();
  const std::optional<DeviceSettings> settings = state.GetCurrentSettings();
  DeviceEnumeration* enumeration = state.GetEnumeration();
  if (!settings || enumeration == nullptr) return nullptr;
  return enumeration->GetDeviceSettingsCombo(settings->adapterOrdinal, settings->deviceType,
                                             settings->adapterFormat,
                                             settings->presentParams.BackBufferFormat,
                                             settings->presentParams.Windowed != FALSE);
}

struct FormatName {
  D3DFORMAT format;
  const wchar_t* name;
};

#define KUBRI_FORMAT(name) {D3DFMT_##name, L## #name}
const FormatName kFormatNames[] = {
    KUBRI_FORMAT(R8G8B8),      KUBRI_FORMAT(A8R8G8B8),     KUBRI_FORMAT(X8R8G8B8),
    KUBRI_FORMAT(R5G6B5),      KUBRI_FORMAT(X1R5G5B5),     KUBRI_FORMAT(A1R5G5B5),
    KUBRI_FORMAT(A4R4G4B4),    KUBRI_FORMAT(R3G3B2),       KUBRI_FORMAT(A8),
    KUBRI_FORMAT(A8R3G3B2),    KUBRI_FORMAT(X4R4G4B4),     KUBRI_FORMAT(A2B10G10R10),
    KUBRI_FORMAT(A8B8G8R8),    KUBRI_FORMAT(X8B8G8R8),     KUBRI_FORMAT(G16R16),
    KUBRI_FORMAT(A2R10G10B10), KUBRI_FORMAT(A16B16G16R16), KUBRI_FORMAT(A8P8),
    KUBRI_FORMAT(P8),          KUBRI_FORMAT(L8),           KUBRI_FORMAT(A8L8),
    KUBRI_FORMAT(A4L4),        KUBRI_FORMAT(V8U8),         KUBRI_FORMAT(L6V5U5),
    KUBRI_FORMAT(X8L8V8U8),    KUBRI_FORMAT(Q8W8V8U8),     KUBRI_FORMAT(V16U16),
    KUBRI_FORMAT(A2W10V10U10), KUBRI_FORMAT(UYVY),         KUBRI_FORMAT(YUY2),
    KUBRI_FORMAT(DXT1),        KUBRI_FORMAT(DXT2),         KUBRI_FORMAT(DXT3),
    KUBRI_FORMAT(DXT4),        KUBRI_FORMAT(DXT5),         KUBRI_FORMAT(D16_LOCKABLE),
    KUBRI_FORMAT(D32),         KUBRI_FORMAT(D15S1),        KUBRI_FORMAT(D24S8),
    KUBRI_FORMAT(D24X8),       KUBRI_FORMAT(D24X4S4),      KUBRI_FORMAT(D16),
    KUBRI_FORMAT(D32F_LOCKABLE), KUBRI_FORMAT(D24FS8),     KUBRI_FORMAT(L16),
    KUBRI_FORMAT(VERTEXDATA),  KUBRI_FORMAT(INDEX16),      KUBRI_FORMAT(INDEX32),
    KUBRI_FORMAT(Q16W16V16U16), KUBRI_FORMAT(MULTI2_ARGB8), KUBRI_FORMAT(R16F),
    KUBRI_FORMAT(G16R16F),     KUBRI_FORMAT(A16B16G16R16F), KUBRI_FORMAT(R32F),
    KUBRI_FORMAT(G32R32F),     KUBRI_FORMAT(A32B32G32R32F), KUBRI_FORMAT(CxV8U8),
};
#undef KUBRI_FORMAT

}  // namespace

const wchar_t* FrameworkFormatName(D3DFORMAT format) {
  for (const FormatName& entry : kFormatNames) {
    if (entry.format == format) return entry.name;
  }
  return L"Unknown format";
}

HRESULT FrameworkMainLoop(HACCEL accelerators) {
  FrameworkState& state = FrameworkGetState();
  if (state.GetInsideDeviceCallback() || state.GetInsideMainLoop()) return RefuseMainLoop(E_FAIL);
  state.SetInsideMainLoop(true);

  // A refused loop is not running: a later call may try again.
  if (!state.GetDeviceCreated()) {
    if (state.GetDeviceCreateCalled()) {
      state.SetInsideMainLoop(false);
      return RefuseMainLoop(E_FAIL);
    }
    const HRESULT hr = FrameworkCreateDevice(0, true, 0, 0, nullptr, nullptr, nullptr);
    if (FAILED(hr)) {
      state.SetInsideMainLoop(false);
      return RefuseMainLoop(hr);
    }
  }
  if (!state.GetInited() || !state.GetWindowCreated() || !state.GetDeviceCreated()) {
    state.SetInsideMainLoop(false);
    return RefuseMainLoop(E_FAIL);
  }

  HWND window = FrameworkGetWindow();
  MSG message{};
  // Makes sure the thread has a message queue.
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  message.message = WM_NULL;
  while (message.message != WM_QUIT) {
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (accelerators == nullptr || window == nullptr ||
          !TranslateAcceleratorW(window, accelerators, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    } else {
      FrameworkRenderFrame();
    }
  }

  if (accelerators != nullptr) DestroyAcceleratorTable(accelerators);
  state.SetInsideMainLoop(false);
  return S_OK;
}

void FrameworkRenderFrame() {
  FrameworkState& state = FrameworkGetState();
  // Yields the processor while nothing can or should be drawn.
  if (state.GetDeviceLost() || state.GetPauseRenderingCount() > 0 || !state.GetActive()) {
    Sleep(50);
  }
  if (!FrameworkRestoreLostDevice()) return;

  double time = 0.0;
  double absoluteTime = 0.0;
  float elapsedTime = 0.0f;
  FrameworkGetTimer().GetTimeValues(&time, &absoluteTime, &elapsedTime);
  if (state.GetConstantFrameTime()) {
    elapsedTime = state.GetTimePerFrame();
    time = state.GetTime() + elapsedTime;
  }
  state.SetTime(time);
  state.SetAbsoluteTime(absoluteTime);
  state.SetElapsedTime(elapsedTime);

  FrameworkUpdateFrameStats();
  FireDueTimers(elapsedTime);

  FrameworkOnFrameMoveFn onFrameMove = state.GetOnFrameMove();
  if (onFrameMove != nullptr) {
    onFrameMove(state.GetDevice(), time, elapsedTime, state.GetOnFrameMoveContext());
  }
  if (state.GetDevice() == nullptr) return;

  if (!state.GetRenderingPaused()) {
    FrameworkOnFrameRenderFn onFrameRender = state.GetOnFrameRender();
    if (onFrameRender != nullptr) {
      onFrameRender(state.GetDevice(), time, elapsedTime, state.GetOnFrameRenderContext());
    }
    IDirect3DDevice9* device = state.GetDevice();
    if (device == nullptr) return;
    const HRESULT hr = device->Present(nullptr, nullptr, nullptr, nullptr);
    if (hr == D3DERR_DEVICELOST || hr == D3DERR_DRIVERINTERNALERROR) state.SetDeviceLost(true);
  }

  const int frame = state.GetCurrentFrameNumber() + 1;
  state.SetCurrentFrameNumber(frame);
  const int quitAfter = state.GetOverrideQuitAfterFrame();
  if (quitAfter != 0 && frame > quitAfter) FrameworkRunShutdown(0);
}

void FrameworkPause(bool pauseTime, bool pauseRendering) {
  FrameworkState& state = FrameworkGetState();
  int timeCount = state.GetPauseTimeCount() + (pauseTime ? 1 : -1);
  if (timeCount < 0) timeCount = 0;
  state.SetPauseTimeCount(timeCount);
  int renderingCount = state.GetPauseRenderingCount() + (pauseRendering ? 1 : -1);
  if (renderingCount < 0) renderingCount = 0;
  state.SetPauseRenderingCount(renderingCount);

  if (timeCount == 0) {
    FrameworkGetTimer().Start();
  } else {
    FrameworkGetTimer().Stop();
  }
  state.SetRenderingPaused(renderingCount > 0);
  state.SetTimePaused(timeCount > 0);
}

void FrameworkSetConstantFrameTime(bool enabled, float secondsPerFrame) {
  FrameworkState& state = FrameworkGetState();
  if (state.GetOverrideConstantFrameTime()) {
    enabled = true;
    secondsPerFrame = state.GetOverrideTimePerFrame();
  }
  state.SetConstantFrameTime(enabled);
  state.SetTimePerFrame(secondsPerFrame);
}

void FrameworkUpdateFrameStats() {
  FrameworkState& state = FrameworkGetState();
  if (state.GetNoStats()) return;
  const UINT frames = state.GetLastStatsUpdateFrames() + 1;
  state.SetLastStatsUpdateFrames(frames);
  const double absoluteTime = state.GetAbsoluteTime();
  const double lastUpdate = state.GetLastStatsUpdateTime();
  if (lastUpdate == 0.0) {
    // The counter's time is measured from system start: the first interval
    // begins with the first pass, so the first figure is a real one.
    state.SetLastStatsUpdateTime(absoluteTime);
    return;
  }
  const double interval = absoluteTime - lastUpdate;
  if (interval > 1.0) {
    const float fps = static_cast<float>(frames / interval);
    state.SetFps(fps);
    state.SetLastStatsUpdateTime(absoluteTime);
    state.SetLastStatsUpdateFrames(0);
    Format(state.GetFpsStats(), kFpsStatsLength, L"%0.2f fps ", static_cast<double>(fps));
  }
}

void FrameworkUpdateStaticFrameStats() {
  FrameworkState& state = FrameworkGetState();
  if (state.GetNoStats()) return;
  const DeviceSettingsCombo* combo = CurrentCombo();
  const std::optional<DeviceSettings> settings = state.GetCurrentSettings();
  if (combo == nullptr || !settings) return;
  const D3DPRESENT_PARAMETERS& params = settings->presentParams;

  wchar_t formatPart[101];
  if (settings->adapterFormat == params.BackBufferFormat) {
    CopyText(formatPart, 101, FrameworkFormatName(settings->adapterFormat));
  } else {
    Format(formatPart, 101, L"backbuf %ls, adapter %ls",
           FrameworkFormatName(params.BackBufferFormat),
           FrameworkFormatName(settings->adapterFormat));
  }
  wchar_t depthPart[101] = L"";
  if (params.EnableAutoDepthStencil) {
    Format(depthPart, 101, L" (%ls)", FrameworkFormatName(params.AutoDepthStencilFormat));
  }
  wchar_t multisamplePart[101] = L"";
  if (params.MultiSampleType == D3DMULTISAMPLE_NONMASKABLE) {
    CopyText(multisamplePart, 101, L" (Nonmaskable Multisample)");
  } else if (params.MultiSampleType != D3DMULTISAMPLE_NONE) {
    Format(multisamplePart, 101, L" (%dx Multisample)", static_cast<int>(params.MultiSampleType));
  }
  // Keeps a "%s" at the front for the fps text.
  Format(state.GetStaticFrameStats(), kStaticFrameStatsLength, L"%%sVsync %ls (%dx%d), %ls%ls%ls",
         params.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? L"off" : L"on",
         static_cast<int>(params.BackBufferWidth), static_cast<int>(params.BackBufferHeight),
         formatPart, depthPart, multisamplePart);
}

const wchar_t* FrameworkGetFrameStats(bool includeFps) {
  FrameworkState& state = FrameworkGetState();
  const wchar_t* staticStats = state.GetStaticFrameStats();
  wchar_t* frameStats = state.GetFrameStats();
  // Fills the leading placeholder by hand rather than using the text as a
  // format, so nothing else in it can be read as a conversion.
  const wchar_t* rest = staticStats;
  const wchar_t* fps = L"";
  if (rest[0] == L'%' && rest[1] == L's') {
    rest += 2;
    if (includeFps) fps = state.GetFpsStats();
  }
  Format(frameStats, kFrameStatsLength, L"%ls%ls", fps, rest);
  return frameStats;
}

const wchar_t* FrameworkGetDeviceStats() { return FrameworkGetState().GetDeviceStats(); }

void FrameworkUpdateDeviceStats(D3DDEVTYPE deviceType, DWORD behaviorFlags,
                                const D3DADAPTER_IDENTIFIER9* adapterIdentifier) {
  FrameworkState& state = FrameworkGetState();
  if (state.GetNoStats()) return;
  const bool hal = deviceType == D3DDEVTYPE_HAL;
  const wchar_t* type = hal ? L"HAL" : (deviceType == D3DDEVTYPE_REF ? L"REF" : L"SW");

  const wchar_t* processing = L"";
  const bool hardware = (behaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) != 0;
  if (hardware && (behaviorFlags & D3DCREATE_PUREDEVICE) != 0) {
    processing = hal ? L" (pure hw vp)" : L" (simulated pure hw vp)";
  } else if (hardware) {
    processing = hal ? L" (hw vp)" : L" (simulated hw vp)";
  } else if ((behaviorFlags & D3DCREATE_MIXED_VERTEXPROCESSING) != 0) {
    processing = hal ? L" (mixed vp)" : L" (simulated mixed vp)";
  } else if ((behaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) != 0) {
    processing = L" (sw vp)";
  }

  wchar_t* stats = state.GetDeviceStats();
  if (!hal) {
    Format(stats, kDeviceStatsLength, L"%ls%ls", type, processing);
    return;
  }
  wchar_t description[kUniqueDescriptionLength] = L"";
  const DeviceSettingsCombo* combo = CurrentCombo();
  if (combo != nullptr && combo->adapterInfo != nullptr) {
    CopyText(description, kUniqueDescriptionLength, combo->adapterInfo->uniqueDescription);
  } else if (adapterIdentifier != nullptr) {
    char narrow[MAX_DEVICE_IDENTIFIER_STRING + 1] = {};
    memcpy(narrow, adapterIdentifier->Description, MAX_DEVICE_IDENTIFIER_STRING);
    if (MultiByteToWideChar(CP_ACP, 0, narrow, -1, description, kUniqueDescriptionLength) == 0) {
      description[0] = L'\0';
    }
  }
  Format(stats, kDeviceStatsLength, L"%ls%ls: %ls", type, processing, description);
}
