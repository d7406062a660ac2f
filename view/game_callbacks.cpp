// The game's framework callbacks: device objects, drawing and messages go to
// the game's view; everything else the game leaves alone.
#include "view/game_callbacks.h"

#include "view/board_view.h"
#include "view/game_objects.h"

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
