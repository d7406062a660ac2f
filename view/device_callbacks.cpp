// The game's device callbacks.
#include "view/device_callbacks.h"

#include "framework/framework_state.h"

bool OnDeviceAcceptable(const D3DCAPS9& caps, D3DFORMAT adapterFormat,
                        D3DFORMAT backBufferFormat, bool windowed, void* userContext) {
  IDirect3D9* direct3d = FrameworkGetDirect3D();
  if (!direct3d) {
    return false;
  }
  return SUCCEEDED(direct3d->CheckDeviceFormat(caps.AdapterOrdinal, caps.DeviceType,
                                               adapterFormat,
                                               D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                               D3DRTYPE_TEXTURE, backBufferFormat));
}

// OnModifyDeviceSettings is defined here next to OnDeviceAcceptable.
