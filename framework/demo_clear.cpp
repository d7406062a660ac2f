// A small program on the framework alone: a window whose client area is
// cleared to a slowly changing colour. Run with -quitafterframe:N it ends
// by itself after N + 1 passes with exit code 0.
#include <windows.h>
#include <d3d9.h>

#include "framework/device.h"
#include "framework/framework_state.h"
#include "framework/main_loop.h"
#include "framework/startup.h"
#include "framework/window.h"

namespace {

void OnFrameRender(IDirect3DDevice9* device, double time, float elapsedTime, void* userContext) {
  // A blue that brightens and darkens once every two seconds.
  const double phase = time - 2.0 * static_cast<int>(time / 2.0);
  const int level = static_cast<int>(phase < 1.0 ? phase * 255.0 : (2.0 - phase) * 255.0);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                D3DCOLOR_XRGB(32, 48, level & 0xFF), 1.0f, 0);
  if (SUCCEEDED(device->BeginScene())) device->EndScene();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  FrameworkSetOnFrameRender(OnFrameRender, nullptr);
  FrameworkInit(true, true, true, true);
  FrameworkCreateWindow(L"Framework demo", nullptr, nullptr, nullptr, CW_USEDEFAULT,
                        CW_USEDEFAULT);
  FrameworkCreateDevice(0, true, 320, 240, nullptr, nullptr, nullptr);
  FrameworkMainLoop(nullptr);
  return FrameworkGetExitCode();
}
