// The D3DX 9 runtime, d3dx9_31.dll, loaded when first needed rather than by
// the system loader: used when the machine has it, done without otherwise.
#pragma once

#include <windows.h>
#include <d3d9.h>

// The runtime's file name.
extern const wchar_t kD3DXRuntimeName[];

// Loads the runtime (the usual DLL search, as the system loader would) and
// looks up every entry point the program uses. True when all are there; the
// library then stays loaded for the life of the process. A failed attempt
// keeps nothing and is made again at the next call. Main thread only.
bool FrameworkLoadD3DXRuntime();

// D3DXCheckVersion through the runtime: S_OK when it accepts the versions,
// FW_E_INCORRECTVERSION when it refuses them. S_OK as well when the runtime
// cannot be loaded: there is no runtime whose version could be wrong.
HRESULT FrameworkCheckD3DXVersion(UINT d3dVersion, UINT d3dxVersion);

// D3DXCreateTextureFromFileW through the runtime, with the loader's default
// options: the runtime's own result, or FW_E_NOD3DXRUNTIME (and a null
// texture) when the runtime cannot be loaded, for the caller to read the
// file some other way.
HRESULT FrameworkCreateTextureFromFile(IDirect3DDevice9* device, const wchar_t* path,
                                       IDirect3DTexture9** texture);

// Loads `name` in place of d3dx9_31.dll from now on, so that a missing or
// incomplete runtime can be tried; null goes back to the real name. `name`
// must stay valid until it is replaced. Frees a runtime loaded before.
void FrameworkSetD3DXRuntimeName(const wchar_t* name);
