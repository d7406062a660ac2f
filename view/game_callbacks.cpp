// The game's framework callbacks: device objects, drawing and messages go to
// the game's view; everything else the game leaves alone.
#include "view/game_callbacks.h"

#include "framework/device.h"
#include "view/board_view.h"
#include "view/game_objects.h"

namespace {

// Cleared by the first settings change of the process, whatever it chose.
bool gFirstDeviceSettings = true;

}  // namespace

DWORD VertexProcessingFlagsFor(DWORD behaviorFlags, const D3DCAPS9& caps) {
  if ((caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) == 0 || caps.VertexShaderVersion < D3DVS_VERSION(1, 1)) {
    return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  }
  return behaviorFlags;
}

bool OnModifyDeviceSettings(DeviceSettings& settings, const D3DCAPS9& caps, void*) {
  settings.behaviorFlags = VertexProcessingFlagsFor(settings.behaviorFlags, caps);
  if (gFirstDeviceSettings) {
    gFirstDeviceSettings = false;
    if (settings.deviceType == D3DDEVTYPE_REF) FrameworkShowReferenceWarning();
  }
  return true;
}

HRESULT OnDeviceCreated(IDirect3DDevice9*, const D3DSURFACE_DESC&, void*) { return S_OK; }

HRESULT OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC&, void*) {
  return FAILED(GameView().CreateDeviceObjects(device)) ? E_FAIL : S_OK;
}

void OnDeviceLost(void*) { GameView().ReleaseDeviceObjects(); }

void OnDeviceDestroyed(void*) {}

void OnFrameMove(IDirect3DDevice9*, double, float, void*) {}

void OnFrameRender(IDirect3DDevice9* device, double, float, void*) { RenderBoardFrame(GameView(), device); }

void OnKeyboard(UINT, bool, bool, void*) {}

LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool&, void*) {
  GameView().HandleMessage(window, message, wParam, lParam);
  return 0;
}
