// Looks GetDpiForWindow up at run time: Windows 7 and 8 lack it, and a
// program that imported it would not start there.
#include "view/window_dpi.h"

int WindowDpi(HWND window) {
  if (!window) return 96;
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(window);
  if (!screen) return 96;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(window, screen);
  return dpi > 0 ? dpi : 96;
}
