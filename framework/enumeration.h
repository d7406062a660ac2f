// What the machine's Direct3D 9 adapters can do: display modes, device types
// and every usable combination of formats and window mode.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "framework/framework_state.h"

struct AdapterInfo;
struct DeviceInfo;

// A depth/stencil format that cannot be used with a multisample type.
struct DepthStencilConflict {
  D3DFORMAT depthStencilFormat;
  D3DMULTISAMPLE_TYPE multiSampleType;
};

// One usable combination of adapter format, back-buffer format and window
// mode on one device type, with what it supports.
struct DeviceSettingsCombo {
  UINT adapterOrdinal;
  D3DDEVTYPE deviceType;
  D3DFORMAT adapterFormat;
  D3DFORMAT backBufferFormat;
  bool windowed;
  std::vector<D3DFORMAT> depthStencilFormats;
  std::vector<D3DMULTISAMPLE_TYPE> multiSampleTypes;
  std::vector<DWORD> multiSampleQualities;  // quality-level counts, parallel to multiSampleTypes
  std::vector<UINT> presentIntervals;
  std::vector<DepthStencilConflict> depthStencilConflicts;
  AdapterInfo* adapterInfo;  // back references into the owning enumeration
  DeviceInfo* deviceInfo;
};

// One device type of one adapter.
struct DeviceInfo {
  UINT adapterOrdinal;
  D3DDEVTYPE deviceType;
  D3DCAPS9 caps;
  std::vector<DeviceSettingsCombo> combos;
};

constexpr int kUniqueDescriptionLength = 256;

// One adapter with its display modes (sorted by width, height, format,
// refresh rate) and its usable device types.
struct AdapterInfo {
  UINT adapterOrdinal;
  D3DADAPTER_IDENTIFIER9 identifier;
  wchar_t uniqueDescription[kUniqueDescriptionLength];
  std::vector<D3DDISPLAYMODE> displayModes;
  std::vector<DeviceInfo> deviceInfos;
};

// The enumeration holds every record by value, adapters holding their
// device types and those their combinations; re-enumeration or Clear drops
// them, so pointers into it are valid only until then. Main thread only.
class DeviceEnumeration {
 public:
  DeviceEnumeration();
  // Forgets itself in the framework's state when it is the state's
  // enumeration, so that no later shutdown reaches it.
  ~DeviceEnumeration();
  DeviceEnumeration(const DeviceEnumeration&) = delete;
  DeviceEnumeration& operator=(const DeviceEnumeration&) = delete;

  // Lists adapters, modes, device types and combinations. Uses the
  // framework's Direct3D object when `direct3d` is null; FW_E_NODIRECT3D when
  // there is none. `onDeviceAcceptable` (may be null) vetoes combinations.
  // The Direct3D object is borrowed: no reference is added.
  HRESULT Enumerate(IDirect3D9* direct3d, FrameworkOnDeviceAcceptableFn onDeviceAcceptable,
                    void* userContext);
  // Deletes every record and forgets the Direct3D object.
  void Clear();

  IDirect3D9* GetDirect3D() const { return direct3d_; }
  const std::vector<AdapterInfo>& GetAdapterInfoList() const { return adapters_; }
  // Null when not enumerated (or dropped).
  const AdapterInfo* GetAdapterInfo(UINT adapterOrdinal) const;
  const DeviceInfo* GetDeviceInfo(UINT adapterOrdinal, D3DDEVTYPE deviceType) const;
  const DeviceSettingsCombo* GetDeviceSettingsCombo(UINT adapterOrdinal, D3DDEVTYPE deviceType,
                                                    D3DFORMAT adapterFormat,
                                                    D3DFORMAT backBufferFormat,
                                                    bool windowed) const;

  // Settings of the enumeration; the game keeps the defaults.
  void SetRequirePostPixelShaderBlending(bool require) { requirePostPixelShaderBlending_ = require; }
  bool GetRequirePostPixelShaderBlending() const { return requirePostPixelShaderBlending_; }
  void SetResolutionMinMax(UINT minWidth, UINT minHeight, UINT maxWidth, UINT maxHeight);
  void SetRefreshMinMax(UINT minRefresh, UINT maxRefresh);
  // Values above 0xFFFF are clamped to 0xFFFF.
  void SetMultisampleQualityMax(UINT max);
  UINT GetMultisampleQualityMax() const { return multisampleQualityMax_; }
  std::vector<D3DFORMAT>& AllowedDepthStencilFormats() { return allowedDepthStencilFormats_; }
  std::vector<D3DMULTISAMPLE_TYPE>& AllowedMultiSampleTypes() { return allowedMultiSampleTypes_; }
  std::vector<UINT>& AllowedPresentIntervals() { return allowedPresentIntervals_; }

 private:
  // Lists the adapter's display modes within the limits, sorted, and
  // returns the formats it can display, in the order first seen, with the
  // desktop's format last if no mode had it.
  std::vector<D3DFORMAT> ListDisplayModes(AdapterInfo& adapter);
  // Gives every listed adapter its unique description.
  void NameAdapters();
  // Points every combination at its adapter and device type where they
  // finally lie.
  void LinkCombos();
  HRESULT EnumerateDevices(AdapterInfo& adapter, const std::vector<D3DFORMAT>& adapterFormats);
  HRESULT EnumerateDeviceCombos(AdapterInfo& adapter, DeviceInfo& device,
                                const std::vector<D3DFORMAT>& adapterFormats);
  void BuildDepthStencilFormats(DeviceSettingsCombo& combo);
  void BuildMultiSampleTypes(DeviceSettingsCombo& combo);
  void BuildDepthStencilConflicts(DeviceSettingsCombo& combo);
  void BuildPresentIntervals(const DeviceInfo& device, DeviceSettingsCombo& combo);

  IDirect3D9* direct3d_;  // borrowed
  FrameworkOnDeviceAcceptableFn onDeviceAcceptable_;
  void* userContext_;

  bool requirePostPixelShaderBlending_;
  UINT minWidth_, maxWidth_, minHeight_, maxHeight_;
  UINT minRefresh_, maxRefresh_;
  UINT multisampleQualityMax_;
  std::vector<D3DFORMAT> allowedDepthStencilFormats_;
  std::vector<D3DMULTISAMPLE_TYPE> allowedMultiSampleTypes_;
  std::vector<UINT> allowedPresentIntervals_;
  std::vector<AdapterInfo> adapters_;
};

// The one enumeration, created on first use (after the state, so that it
// ends before the state's own shutdown at exit). Enumerates
// (with the framework's Direct3D object and its OnDeviceAcceptable) when
// the object is new to the state or when forced.
DeviceEnumeration* FrameworkGetEnumeration(bool forceEnumerate);

// Bits per colour channel of a back-buffer or display format, 0 if unknown.
UINT ColorChannelBits(D3DFORMAT format);
// Depth bits of a depth/stencil format, 0 if none.
UINT DepthBits(D3DFORMAT format);
// Stencil bits of a depth/stencil format, 0 if none.
UINT StencilBits(D3DFORMAT format);
