// The dots per inch of a window, on every Windows the game runs on.
#pragma once

#include <windows.h>

// GetDpiForWindow where the system has it (Windows 10 1607 and later),
// else the screen's LOGPIXELSX; 96 when neither answers (no window).
int WindowDpi(HWND window);
