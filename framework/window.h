// The main window: creation, the window procedure, shortcut-key suppression
// and the full-screen cursor.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Window class of the main window.
constexpr const wchar_t* kFrameworkWindowClass = L"Direct3DWindowClass";
// Caption, system menu and minimise box: no sizing border, no maximise box.
constexpr DWORD kFrameworkWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Creates the main window (hidden; the first device change shows it) with a
// client area of 640 x 480, or the command-line size, and makes it the focus,
// full-screen and windowed window. Runs FrameworkInit (through the state's
// relay) first when nothing has initialised the framework yet. Returns S_OK
// when a window already exists, E_FAIL inside a device callback or after a
// failed initialisation, the initialisation's error, or the system error as
// an HRESULT. Main thread only.
HRESULT FrameworkCreateWindow(const wchar_t* title, HINSTANCE instance,
                              HICON icon, HMENU menu, int x, int y);

// The class's window procedure: keeps the key and button state, calls
// OnKeyboard, OnMouse and OnMessage, then applies the framework's own rules.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam);

// Stores the full-screen cursor options and applies them at once.
void FrameworkSetCursorSettings(bool showCursorWhenFullScreen,
                                bool clipCursorWhenFullScreen);

// Changes the device to the window's client size when that differs from the
// back buffer (windowed, with a device, and while size changes count).
void FrameworkCheckWindowSize();

// Moves the device to the adapter of the monitor the window is now on.
void FrameworkCheckMonitorChange();

// true: restores the user's accessibility hot keys (as saved at start-up) and
// removes the keyboard hook. false: installs a low-level hook that swallows
// the Windows keys and switches off the StickyKeys, ToggleKeys and FilterKeys
// activation shortcuts of features that are off.
void FrameworkAllowShortcutKeys(bool allow);

// The low-level keyboard hook: swallows key presses and releases of the
// Windows keys while shortcut keys are disallowed, passes everything else on.
LRESULT CALLBACK FrameworkShortcutKeyHook(int code, WPARAM wParam, LPARAM lParam);

// Stands in for the system when FrameworkAllowShortcutKeys writes an
// accessibility setting (SPI_SETSTICKYKEYS, SPI_SETTOGGLEKEYS or
// SPI_SETFILTERKEYS, the structure's size and the flags written), so tests
// can see the writes. Null restores the system call.
typedef void (*FrameworkAccessibilityWriteFn)(UINT action, UINT size, DWORD flags);
void FrameworkSetAccessibilityWriteHook(FrameworkAccessibilityWriteFn hook);

// Hides the system cursor in full screen and shows the device's cursor
// instead (or none), and confines the cursor to the window when asked to.
void FrameworkSetupCursor();

// Copies `cursor` into the device's hardware cursor. E_FAIL when a GDI step
// fails, E_INVALIDARG without a device or cursor. Every object made on the
// way is released on every path.
HRESULT FrameworkSetDeviceCursor(IDirect3DDevice9* device, HCURSOR cursor);

// The system error `code` as an HRESULT; E_FAIL when the system gave none,
// so that a failure never reads as success.
HRESULT FrameworkHresultFromSystemError(DWORD code);
