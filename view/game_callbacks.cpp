// The game's framework callbacks: device objects, drawing, messages and the
// play clock go to the game's view; everything else the game leaves alone.
#include "view/game_callbacks.h"

#include "view/board_view.h"
#include "view/game_objects.h"
#include "view/single_game.h"

HRESULT OnDeviceCreated(IDirect3DDevice9*, const D3DSURFACE_DESC&, void*) { return S_OK; }

HRESULT OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC&, void*) {
  return FAILED(GameView().CreateDeviceObjects(device)) ? E_FAIL : S_OK;
}

void OnDeviceLost(void*) { GameView().ReleaseDeviceObjects(); }

void OnDeviceDestroyed(void*) {}

void OnFrameMove(IDirect3DDevice9*, double, float, void*) { GameView().TickClock(); }

void OnFrameRender(IDirect3DDevice9* device, double, float, void*) { RenderBoardFrame(GameView(), device); }

void OnKeyboard(UINT, bool, bool, void*) {}

LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool&, void*) {
  // Activation and minimising come as messages: the time up to them counts
  // as it was before.
  GameView().TickClock();
  // A copy started from now on waits for this one to end.
  if (message == WM_CLOSE) GameFolderClaim::UnmarkWindow(window);
  GameView().HandleMessage(window, message, wParam, lParam);
  return 0;
}
