// The game's framework callbacks (the device-acceptance check lives in
// view/device_callbacks.h), each forwarding to the game's view.
#pragma once

#include <windows.h>
#include <d3d9.h>

class BoardView;

HRESULT OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC& backBufferDesc, void* userContext);
// The view's device objects; E_FAIL when they cannot be made.
HRESULT OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC& backBufferDesc, void* userContext);
void OnDeviceLost(void* userContext);
void OnDeviceDestroyed(void* userContext);
// Advances the view's play clock.
void OnFrameMove(IDirect3DDevice9* device, double time, float elapsedTime, void* userContext);
void OnFrameRender(IDirect3DDevice9* device, double time, float elapsedTime, void* userContext);
void OnKeyboard(UINT virtualKey, bool keyDown, bool altDown, void* userContext);
// Hands the message to the view; never stops the framework's own handling.
LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& noFurtherProcessing,
                  void* userContext);
