// Command-line options: parsing into the state's overrides and switches, and
// applying the overrides to device requests and settings.
#pragma once

#include <windows.h>

#include "framework/device_settings.h"

// Reads the process command line (GetCommandLineW) and parses it.
void FrameworkParseCommandLine();

// Replaces the process command line that FrameworkParseCommandLine reads, so
// that start-up can be run with chosen options; null goes back to
// GetCommandLineW. The text is borrowed and must outlive its use.
void FrameworkSetCommandLineOverride(const wchar_t* commandLine);

// Splits `commandLine` as the system does (CommandLineToArgvW) and parses the
// arguments from the second on; the first is the program path. A null or
// empty text sets nothing.
void FrameworkParseCommandLineText(const wchar_t* commandLine);

// Parses one argument (without the program path) into the state. Returns
// true when it matched an option and took effect.
bool FrameworkParseArgument(const wchar_t* argument);

// Applies the overrides to the first device's settings, after the game's
// OnModifyDeviceSettings: adapter, windowed/full screen, device type, size,
// vertex processing. The vsync override is not applied here.
void FrameworkApplyOverrides(DeviceSettings& settings);

// Applies the overrides to a device request before valid settings are
// sought, making the overridden components binding where they force a
// choice: adapter, size, full screen, windowed, device type, vertex
// processing and presentation interval, in that order.
void FrameworkApplyRequestOverrides(DeviceSettings& request, MatchOptions& options);

// Receives the framework's debug trace (for instance "Unrecognized flag: x");
// without a hook the trace produces no output. Null removes the hook.
typedef void (*FrameworkTraceFn)(const wchar_t* text);
void FrameworkSetTraceHook(FrameworkTraceFn hook);
