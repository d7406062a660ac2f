// A scripted stand-in for IDirect3D9 used by the enumeration and matching
// tests: adapters, display modes, formats, caps and failures of the test's
// choosing. Header-only so that it never joins the framework library.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

struct FakeAdapter {
  std::string description = "Fake Graphics Card";
  D3DDISPLAYMODE desktop = {1024, 768, 60, D3DFMT_X8R8G8B8};
  std::vector<D3DDISPLAYMODE> modes = {{1024, 768, 60, D3DFMT_X8R8G8B8}};
  // Back-buffer formats that post-pixel-shader blending works on.
  std::vector<D3DFORMAT> blendingFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8,
                                            D3DFMT_R5G6B5,   D3DFMT_A1R5G5B5,
                                            D3DFMT_X1R5G5B5, D3DFMT_A2R10G10B10};
  std::vector<D3DFORMAT> depthFormats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32};
  std::vector<D3DMULTISAMPLE_TYPE> multiSampleTypes = {D3DMULTISAMPLE_NONE};
  DWORD multiSampleLevels = 1;
  // A depth format that cannot be multisampled with any type but NONE.
  D3DFORMAT conflictingDepthFormat = D3DFMT_UNKNOWN;
  bool hardwareTransform = true;
  DWORD presentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
  // Result of the probe CreateDevice per device type (HAL, REF, SW); the
  // fake never hands out a device.
  HRESULT probeResult[4] = {E_FAIL, E_FAIL, E_FAIL, E_FAIL};
  // Device types whose caps cannot be read.
  std::vector<D3DDEVTYPE> capsFailures;
};

class FakeDirect3D : public IDirect3D9 {
 public:
  std::vector<FakeAdapter> adapters = {FakeAdapter()};
  int createDeviceCalls = 0;

  // IUnknown: the fake lives on the test's stack; counting is all it does.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return references_ > 0 ? --references_ : 0; }

  HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void*) override { return E_NOTIMPL; }
  UINT STDMETHODCALLTYPE GetAdapterCount() override { return static_cast<UINT>(adapters.size()); }

  HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD,
                                                 D3DADAPTER_IDENTIFIER9* identifier) override {
    if (!Valid(adapter) || !identifier) return D3DERR_INVALIDCALL;
    memset(identifier, 0, sizeof(*identifier));
    strncpy(identifier->Description, adapters[adapter].description.c_str(),
            sizeof(identifier->Description) - 1);
    return D3D_OK;
  }

  UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter, D3DFORMAT format) override {
    if (!Valid(adapter)) return 0;
    return static_cast<UINT>(std::count_if(
        adapters[adapter].modes.begin(), adapters[adapter].modes.end(),
        [format](const D3DDISPLAYMODE& mode) { return mode.Format == format; }));
  }

  HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index,
                                             D3DDISPLAYMODE* mode) override {
    if (!Valid(adapter) || !mode) return D3DERR_INVALIDCALL;
    UINT seen = 0;
    for (const D3DDISPLAYMODE& candidate : adapters[adapter].modes) {
      if (candidate.Format != format) continue;
      if (seen++ == index) {
        *mode = candidate;
        return D3D_OK;
      }
    }
    return D3DERR_INVALIDCALL;
  }

  HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
    if (!Valid(adapter) || !mode) return D3DERR_INVALIDCALL;
    *mode = adapters[adapter].desktop;
    return D3D_OK;
  }

  // Display and back-buffer formats go together when their channels are
  // equally deep.
  HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE, D3DFORMAT displayFormat,
                                            D3DFORMAT backBufferFormat, WINBOOL) override {
    if (!Valid(adapter)) return D3DERR_INVALIDCALL;
    return Depth(displayFormat) != 0 && Depth(displayFormat) == Depth(backBufferFormat)
               ? D3D_OK
               : D3DERR_NOTAVAILABLE;
  }

  HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE, D3DFORMAT, DWORD usage,
                                              D3DRESOURCETYPE, D3DFORMAT format) override {
    if (!Valid(adapter)) return D3DERR_INVALIDCALL;
    const FakeAdapter& a = adapters[adapter];
    if (usage & D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING) {
      return Has(a.blendingFormats, format) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    if (usage & D3DUSAGE_DEPTHSTENCIL) {
      return Has(a.depthFormats, format) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE,
                                                       D3DFORMAT surfaceFormat, WINBOOL,
                                                       D3DMULTISAMPLE_TYPE type,
                                                       DWORD* levels) override {
    if (!Valid(adapter)) return D3DERR_INVALIDCALL;
    const FakeAdapter& a = adapters[adapter];
    if (!Has(a.multiSampleTypes, type)) return D3DERR_NOTAVAILABLE;
    if (type != D3DMULTISAMPLE_NONE && surfaceFormat == a.conflictingDepthFormat) {
      return D3DERR_NOTAVAILABLE;
    }
    if (levels) *levels = a.multiSampleLevels;
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE, D3DFORMAT, D3DFORMAT,
                                                   D3DFORMAT depthFormat) override {
    if (!Valid(adapter)) return D3DERR_INVALIDCALL;
    return Has(adapters[adapter].depthFormats, depthFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
  }

  HRESULT STDMETHODCALLTYPE CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT,
                                                        D3DFORMAT) override {
    return D3D_OK;
  }

  HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override {
    if (!Valid(adapter) || !caps) return D3DERR_INVALIDCALL;
    const FakeAdapter& a = adapters[adapter];
    if (Has(a.capsFailures, type)) return D3DERR_NOTAVAILABLE;
    memset(caps, 0, sizeof(*caps));
    caps->DeviceType = type;
    caps->AdapterOrdinal = adapter;
    caps->DevCaps = a.hardwareTransform ? D3DDEVCAPS_HWTRANSFORMANDLIGHT : 0;
    caps->PresentationIntervals = a.presentationIntervals;
    caps->VertexShaderVersion = D3DVS_VERSION(3, 0);
    return D3D_OK;
  }

  HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT) override { return nullptr; }

  HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND, DWORD,
                                         D3DPRESENT_PARAMETERS*,
                                         IDirect3DDevice9** device) override {
    ++createDeviceCalls;
    if (device) *device = nullptr;
    if (!Valid(adapter) || type < D3DDEVTYPE_HAL || type > D3DDEVTYPE_SW) {
      return D3DERR_INVALIDCALL;
    }
    return adapters[adapter].probeResult[type];
  }

 private:
  bool Valid(UINT adapter) const { return adapter < adapters.size(); }

  template <typename T>
  static bool Has(const std::vector<T>& list, T value) {
    return std::find(list.begin(), list.end(), value) != list.end();
  }

  static int Depth(D3DFORMAT format) {
    switch (format) {
      case D3DFMT_X8R8G8B8:
      case D3DFMT_A8R8G8B8:
        return 8;
      case D3DFMT_R5G6B5:
      case D3DFMT_X1R5G5B5:
      case D3DFMT_A1R5G5B5:
        return 5;
      case D3DFMT_A2R10G10B10:
        return 10;
      default:
        return 0;
    }
  }

  ULONG references_ = 1;
};
