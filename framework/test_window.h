// A plain top-level window for tests that need a window handle: a device's
// window, or a window the framework closes.
#pragma once

#include <windows.h>

// Registers a window class named `className` with `windowProc` (a class
// already registered stays as it is) and creates a window of it with
// `style`, `size` pixels square at the origin. Null when it cannot be made.
inline HWND CreateTestWindow(const wchar_t* className, WNDPROC windowProc, DWORD style, int size) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, className, L"test", style, 0, 0, size, size, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}
