// Command-line options: each sets one override or switch in the state; the
// overrides act later, at window creation, device requests and in the loop.
#include "framework/command_line.h"

#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include "framework/framework_state.h"

namespace {

constexpr size_t kValueLength = 256;
// The default fixed time step, 0.0333 s in single precision.
constexpr float kDefaultTimePerFrame = 0.0333f;

FrameworkTraceFn g_traceHook = nullptr;
const wchar_t* g_commandLineOverride = nullptr;

void Trace(const wchar_t* text) {
  if (g_traceHook) {
    g_traceHook(text);
  }
}

enum class ValueKind { None, Required, Optional };

enum class Option {
  Adapter,
  Windowed,
  FullScreen,
  ForceHAL,
  ForceREF,
  ForcePureHWVP,
  ForceHWVP,
  ForceSWVP,
  ForceVsync,
  Width,
  Height,
  StartX,
  StartY,
  ConstantFrameTime,
  QuitAfterFrame,
  NoErrorMsgBoxes,
  NoStats,
  RelaunchMCE,
  Automation,
};

struct OptionEntry {
  const wchar_t* name;
  ValueKind value;
  Option option;
};

// Tried in this order against every argument.
const OptionEntry kOptions[] = {
    {L"adapter", ValueKind::Required, Option::Adapter},
    {L"windowed", ValueKind::None, Option::Windowed},
    {L"fullscreen", ValueKind::None, Option::FullScreen},
    {L"forcehal", ValueKind::None, Option::ForceHAL},
    {L"forceref", ValueKind::None, Option::ForceREF},
    {L"forcepurehwvp", ValueKind::None, Option::ForcePureHWVP},
    {L"forcehwvp", ValueKind::None, Option::ForceHWVP},
    {L"forceswvp", ValueKind::None, Option::ForceSWVP},
    {L"forcevsync", ValueKind::Required, Option::ForceVsync},
    {L"width", ValueKind::Required, Option::Width},
    {L"height", ValueKind::Required, Option::Height},
    {L"startx", ValueKind::Required, Option::StartX},
    {L"starty", ValueKind::Required, Option::StartY},
    {L"constantframetime", ValueKind::Optional, Option::ConstantFrameTime},
    {L"quitafterframe", ValueKind::Required, Option::QuitAfterFrame},
    {L"noerrormsgboxes", ValueKind::None, Option::NoErrorMsgBoxes},
    {L"nostats", ValueKind::None, Option::NoStats},
    {L"relaunchmce", ValueKind::None, Option::RelaunchMCE},
    {L"automation", ValueKind::None, Option::Automation},
};

// Matches `name` at *position, ignoring case, when it is followed by the end
// of the argument or ':'. On a match, moves *position past the name.
bool MatchName(const wchar_t* name, const wchar_t** position) {
  const size_t nameLength = wcslen(name);
  const wchar_t* text = *position;
  if (wcslen(text) < nameLength) {
    return false;
  }
  if (_wcsnicmp(text, name, nameLength) != 0) {
    return false;
  }
  const wchar_t next = text[nameLength];
  if (next != L'\0' && next != L':') {
    return false;
  }
  *position = text + nameLength;
  return true;
}

// Copies `text` into `buffer` (kValueLength), cut at the first character of
// code 32 or below.
void CopyValue(const wchar_t* text, wchar_t (&buffer)[kValueLength]) {
  size_t length = 0;
  while (length + 1 < kValueLength && text[length] > 32) {
    buffer[length] = text[length];
    ++length;
  }
  buffer[length] = L'\0';
}

// Reads the ':'-introduced value at `position`. False when there is no ':'.
bool ReadValue(const wchar_t* position, wchar_t (&buffer)[kValueLength]) {
  if (*position != L':') {
    return false;
  }
  CopyValue(position + 1, buffer);
  return true;
}

void ApplyFlag(FrameworkState& state, Option option) {
  switch (option) {
    case Option::Windowed: state.SetOverrideWindowed(true); break;
    case Option::FullScreen: state.SetOverrideFullScreen(true); break;
    case Option::ForceHAL: state.SetOverrideForceHAL(true); break;
    case Option::ForceREF: state.SetOverrideForceREF(true); break;
    case Option::ForcePureHWVP: state.SetOverrideForcePureHWVP(true); break;
    case Option::ForceHWVP: state.SetOverrideForceHWVP(true); break;
    case Option::ForceSWVP: state.SetOverrideForceSWVP(true); break;
    case Option::NoErrorMsgBoxes: state.SetShowMsgBoxOnError(false); break;
    case Option::NoStats: state.SetNoStats(true); break;
    case Option::RelaunchMCE: state.SetOverrideRelaunchMCE(true); break;
    case Option::Automation: state.SetAutomation(true); break;
    default: break;
  }
}

void ApplyInteger(FrameworkState& state, Option option, int value) {
  switch (option) {
    case Option::Adapter: state.SetOverrideAdapterOrdinal(value); break;
    case Option::ForceVsync: state.SetOverrideForceVsync(value); break;
    // A size of zero or less counts as not given: a negative one would put
    // the window off the screen and ask for a back buffer of 4 billion pixels.
    case Option::Width:
      if (value > 0) state.SetOverrideWidth(value);
      break;
    case Option::Height:
      if (value > 0) state.SetOverrideHeight(value);
      break;
    case Option::StartX: state.SetOverrideStartX(value); break;
    case Option::StartY: state.SetOverrideStartY(value); break;
    case Option::QuitAfterFrame: state.SetOverrideQuitAfterFrame(value); break;
    default: break;
  }
}

// The fixed step takes effect at once, as FrameworkSetConstantFrameTime
// (main loop) would set it now that the override is given; the main loop's
// own setter keeps the override from then on.
void ApplyConstantFrameTime(FrameworkState& state, float seconds) {
  state.SetOverrideConstantFrameTime(true);
  state.SetOverrideTimePerFrame(seconds);
  state.SetConstantFrameTime(true);
  state.SetTimePerFrame(seconds);
}

void TraceUnrecognised(const wchar_t* position) {
  wchar_t flag[kValueLength];
  CopyValue(position, flag);
  wchar_t text[kValueLength + 32];
  _snwprintf(text, sizeof(text) / sizeof(text[0]) - 1, L"Unrecognized flag: %ls", flag);
  text[sizeof(text) / sizeof(text[0]) - 1] = L'\0';
  Trace(text);
}

}  // namespace

void FrameworkSetTraceHook(FrameworkTraceFn hook) { g_traceHook = hook; }

bool FrameworkParseArgument(const wchar_t* argument) {
  if (!argument) {
    return false;
  }
  if (argument[0] != L'/' && argument[0] != L'-') {
    TraceUnrecognised(argument);
    return false;
  }
  FrameworkState& state = FrameworkGetState();
  // The reading position moves past every name that matches, even when the
  // option then lacks its value; later names are tried from there.
  const wchar_t* position = argument + 1;
  wchar_t value[kValueLength];
  for (const OptionEntry& entry : kOptions) {
    if (!MatchName(entry.name, &position)) {
      continue;
    }
    switch (entry.value) {
      case ValueKind::None:
        ApplyFlag(state, entry.option);
        return true;
      case ValueKind::Required:
        if (ReadValue(position, value)) {
          ApplyInteger(state, entry.option, _wtoi(value));
          return true;
        }
        break;  // dropped: no later name can match the rest
      case ValueKind::Optional:
        if (ReadValue(position, value)) {
          ApplyConstantFrameTime(state, static_cast<float>(wcstod(value, nullptr)));
        } else {
          ApplyConstantFrameTime(state, kDefaultTimePerFrame);
        }
        return true;
    }
  }
  TraceUnrecognised(position);
  return false;
}

void FrameworkParseCommandLineText(const wchar_t* commandLine) {
  if (!commandLine || commandLine[0] == L'\0') {
    return;
  }
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
  if (!arguments) {
    return;
  }
  for (int i = 1; i < count; ++i) {
    FrameworkParseArgument(arguments[i]);
  }
  LocalFree(arguments);
}

void FrameworkSetCommandLineOverride(const wchar_t* commandLine) {
  g_commandLineOverride = commandLine;
}

void FrameworkParseCommandLine() {
  FrameworkParseCommandLineText(g_commandLineOverride ? g_commandLineOverride : GetCommandLineW());
}

void FrameworkApplyOverrides(DeviceSettings& settings) {
  FrameworkState& state = FrameworkGetState();

  const int adapter = state.GetOverrideAdapterOrdinal();
  if (adapter != -1) {
    settings.adapterOrdinal = static_cast<UINT>(adapter);
  }

  if (state.GetOverrideFullScreen()) {
    settings.presentParams.Windowed = FALSE;
  }
  if (state.GetOverrideWindowed()) {
    settings.presentParams.Windowed = TRUE;
  }

  if (state.GetOverrideForceREF()) {
    settings.deviceType = D3DDEVTYPE_REF;
  } else if (state.GetOverrideForceHAL()) {
    settings.deviceType = D3DDEVTYPE_HAL;
  }

  if (state.GetOverrideWidth() != 0) {
    settings.presentParams.BackBufferWidth = static_cast<UINT>(state.GetOverrideWidth());
  }
  if (state.GetOverrideHeight() != 0) {
    settings.presentParams.BackBufferHeight = static_cast<UINT>(state.GetOverrideHeight());
  }

  // Mixed vertex processing is cleared along with the others: Direct3D
  // refuses a device asked for with both hardware (or software) and mixed.
  DWORD& flags = settings.behaviorFlags;
  if (state.GetOverrideForcePureHWVP()) {
    flags &= ~(D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING);
    flags |= D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
  } else if (state.GetOverrideForceHWVP()) {
    flags &= ~(D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING |
               D3DCREATE_PUREDEVICE);
    flags |= D3DCREATE_HARDWARE_VERTEXPROCESSING;
  } else if (state.GetOverrideForceSWVP()) {
    flags &= ~(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING |
               D3DCREATE_PUREDEVICE);
    flags |= D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  }
}

void FrameworkApplyRequestOverrides(DeviceSettings& request, MatchOptions& options) {
  FrameworkState& state = FrameworkGetState();

  const int adapter = state.GetOverrideAdapterOrdinal();
  if (adapter != -1) {
    request.adapterOrdinal = static_cast<UINT>(adapter);
  }

  const int width = state.GetOverrideWidth();
  const int height = state.GetOverrideHeight();
  if (width != 0) {
    request.presentParams.BackBufferWidth = static_cast<UINT>(width);
  }
  if (height != 0) {
    request.presentParams.BackBufferHeight = static_cast<UINT>(height);
  }

  if (state.GetOverrideFullScreen()) {
    request.presentParams.Windowed = FALSE;
    if (width == 0 && height == 0) {
      options.resolution = MatchType::IgnoreInput;
    }
  }
  if (state.GetOverrideWindowed()) {
    request.presentParams.Windowed = TRUE;
  }

  if (state.GetOverrideForceHAL()) {
    request.deviceType = D3DDEVTYPE_HAL;
    options.deviceType = MatchType::PreserveInput;
  }
  if (state.GetOverrideForceREF()) {
    request.deviceType = D3DDEVTYPE_REF;
    options.deviceType = MatchType::PreserveInput;
  }

  if (state.GetOverrideForcePureHWVP()) {
    request.behaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
    options.vertexProcessing = MatchType::PreserveInput;
  } else if (state.GetOverrideForceHWVP()) {
    request.behaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    options.vertexProcessing = MatchType::PreserveInput;
  } else if (state.GetOverrideForceSWVP()) {
    request.behaviorFlags = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    options.vertexProcessing = MatchType::PreserveInput;
  }

  const int vsync = state.GetOverrideForceVsync();
  if (vsync == 0) {
    request.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    options.presentInterval = MatchType::PreserveInput;
  } else if (vsync == 1) {
    request.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    options.presentInterval = MatchType::PreserveInput;
  }
}
