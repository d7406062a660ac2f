// Start-up and shutdown: the top of the framework, above every other unit.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Start-up: common controls, the user's accessibility settings, 1 ms timer
// resolution, the command line (when parseCommandLine), the D3DX version
// check (skipped when the D3DX runtime is absent) and the Direct3D object,
// then the clock. Returns S_OK, or FW_E_INCORRECTVERSION / FW_E_NODIRECT3D
// after reporting it.
HRESULT FrameworkInit(bool parseCommandLine, bool handleDefaultHotkeys,
                      bool showMsgBoxOnError, bool handleAltEnter);
// Closes the window (synchronously), sets the exit code, releases the device
// and the Direct3D object and restores the shortcut keys. Harmless to repeat.
void FrameworkShutdown(int exitCode);

// Stand-ins for the D3DX version check and Direct3DCreate9, so that start-up
// failures can be exercised. Null restores the real calls.
typedef BOOL (*FrameworkVersionCheckFn)(UINT d3dVersion, UINT d3dxVersion);
typedef IDirect3D9* (*FrameworkDirect3DCreateFn)(UINT sdkVersion);
void FrameworkSetVersionCheckHook(FrameworkVersionCheckFn hook);
void FrameworkSetDirect3DCreateHook(FrameworkDirect3DCreateFn hook);
