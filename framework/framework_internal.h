// Framework functions that the state, command-line and enumeration code call
// but that live with the window, device and main-loop code.
//
// To the owner of window.h, device.h and main_loop.h: once your headers
// declare these with exactly these signatures, move them there and make this
// file include your headers instead (or delete it and update its includes).
#pragma once

#include <windows.h>

// Releases the device through the game's lost/destroyed callbacks; with
// releaseSettings the current settings record is freed too.
void FrameworkCleanupEnvironment(bool releaseSettings);
// Restores (true) or suppresses (false) the Windows keys and the
// accessibility hot keys.
void FrameworkAllowShortcutKeys(bool allow);
// Switches the fixed time step; the command-line override wins over the
// arguments whenever it is set.
void FrameworkSetConstantFrameTime(bool enabled, float secondsPerFrame);
