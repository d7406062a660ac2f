// The game's framework callbacks (the device-acceptance check lives in
// view/device_callbacks.h), each forwarding to the game's view.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "framework/device_settings.h"

class BoardView;

// Forces software vertex processing without hardware transform and
// lighting or vertex shaders 1.1; on the first call of the process only,
// shows the reference-device warning when the reference device is chosen.
// Always true.
bool OnModifyDeviceSettings(DeviceSettings& settings, const D3DCAPS9& caps, void* userContext);
HRESULT OnDeviceCreated(IDirect3DDevice9* device, const D3DSURFACE_DESC& backBufferDesc, void* userContext);
// The view's device objects; E_FAIL when they cannot be made.
HRESULT OnDeviceReset(IDirect3DDevice9* device, const D3DSURFACE_DESC& backBufferDesc, void* userContext);
void OnDeviceLost(void* userContext);
void OnDeviceDestroyed(void* userContext);
void OnFrameMove(IDirect3DDevice9* device, double time, float elapsedTime, void* userContext);
void OnFrameRender(IDirect3DDevice9* device, double time, float elapsedTime, void* userContext);
void OnKeyboard(UINT virtualKey, bool keyDown, bool altDown, void* userContext);
// Hands the message to the view; never stops the framework's own handling.
LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& noFurtherProcessing,
                  void* userContext);

// The modify-settings rule without the warning: the behaviour flags to use.
DWORD VertexProcessingFlagsFor(DWORD behaviorFlags, const D3DCAPS9& caps);
