// The game's device callbacks.
#include "view/device_callbacks.h"

#include "framework/device.h"
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

namespace {

// Cleared by the first settings change of the process, whatever it chose.
bool gFirstDeviceSettings = true;

}  // namespace

DWORD VertexProcessingFlagsFor(DWORD behaviorFlags, const D3DCAPS9& caps) {
  if ((caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) == 0 ||
      caps.VertexShaderVersion < D3DVS_VERSION(1, 1)) {
    return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  }
  return behaviorFlags;
}

bool OnModifyDeviceSettings(DeviceSettings& settings, const D3DCAPS9& caps, void* userContext) {
  settings.behaviorFlags = VertexProcessingFlagsFor(settings.behaviorFlags, caps);
  if (gFirstDeviceSettings) {
    gFirstDeviceSettings = false;
    if (settings.deviceType == D3DDEVTYPE_REF) {
      FrameworkShowReferenceWarning();
    }
  }
  return true;
}
