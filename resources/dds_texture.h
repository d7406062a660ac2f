// The digit texture made without the D3DX runtime: a DDS file read by the
// game's own reader and uploaded to the device.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Reads the DDS file at `path` and creates from it, in the managed pool, the
// texture that the runtime's default file loader makes of it (size, format,
// level count; see DdsBuildTexture for the pixels). S_OK with a new
// reference in *texture, which the caller releases. Otherwise a null
// *texture and E_INVALIDARG for a null argument, E_FAIL for a file that
// cannot be read or that the reader does not take, D3DERR_NOTAVAILABLE for a
// format the device cannot make into a texture, or the device's own failure.
// Holds nothing afterwards. The device's thread only.
HRESULT DdsCreateTextureFromFile(IDirect3DDevice9* device, const wchar_t* path,
                                 IDirect3DTexture9** texture);
