// Device enumeration: adapters, sorted display modes, device types that can
// really be created, and every usable format combination with its depth
// buffers, multisample types and presentation intervals.
#include "framework/enumeration.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <algorithm>

#include "framework/errors.h"

namespace {

const D3DFORMAT kAdapterFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5,
                                     D3DFMT_A2R10G10B10};
const D3DDEVTYPE kDeviceTypes[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF};
const D3DFORMAT kBackBufferFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10,
                                        D3DFMT_R5G6B5,   D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5};

// At most this many characters of an adapter's description are used.
constexpr int kDescriptionCharacters = 100;

bool ModeLess(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
  if (a.Width != b.Width) return a.Width < b.Width;
  if (a.Height != b.Height) return a.Height < b.Height;
  if (a.Format != b.Format) return a.Format < b.Format;
  return a.RefreshRate < b.RefreshRate;
}

template <typename T>
bool Contains(const std::vector<T>& list, const T& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// The adapter's description as wide text, from the ANSI code page, at most
// 100 characters.
void DescriptionText(const D3DADAPTER_IDENTIFIER9& identifier, wchar_t* out, int capacity) {
  char description[kDescriptionCharacters + 1];
  // The identifier's text need not be terminated; copy and terminate.
  strncpy(description, identifier.Description, kDescriptionCharacters);
  description[kDescriptionCharacters] = '\0';
  const int written = MultiByteToWideChar(CP_ACP, 0, description, -1, out, capacity);
  if (written <= 0) {
    out[0] = L'\0';
  }
  out[capacity - 1] = L'\0';
}

}  // namespace

UINT ColorChannelBits(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8:
      return 8;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
      return 5;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
      return 4;
    case D3DFMT_R3G3B2:
    case D3DFMT_A8R3G3B2:
      return 2;
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10:
      return 10;
    case D3DFMT_A16B16G16R16:
      return 16;
    default:
      return 0;
  }
}

UINT DepthBits(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D16_LOCKABLE:
    case D3DFMT_D16:
      return 16;
    case D3DFMT_D32:
    case D3DFMT_D32F_LOCKABLE:
      return 32;
    case D3DFMT_D15S1:
      return 15;
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
    case D3DFMT_D24X4S4:
    case D3DFMT_D24FS8:
      return 24;
    default:
      return 0;
  }
}

UINT StencilBits(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D15S1:
      return 1;
    case D3DFMT_D24S8:
    case D3DFMT_D24FS8:
      return 8;
    case D3DFMT_D24X4S4:
      return 4;
    default:
      return 0;
  }
}

DeviceEnumeration::DeviceEnumeration()
    : direct3d_(nullptr),
      onDeviceAcceptable_(nullptr),
      userContext_(nullptr),
      requirePostPixelShaderBlending_(true),
      minWidth_(640),
      maxWidth_(0xFFFFFFFF),
      minHeight_(480),
      maxHeight_(0xFFFFFFFF),
      minRefresh_(0),
      maxRefresh_(0xFFFFFFFF),
      multisampleQualityMax_(0xFFFF),
      allowedDepthStencilFormats_{D3DFMT_D16,   D3DFMT_D15S1,   D3DFMT_D24X8,
                                  D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32},
      allowedPresentIntervals_{D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                               D3DPRESENT_INTERVAL_ONE,       D3DPRESENT_INTERVAL_TWO,
                               D3DPRESENT_INTERVAL_THREE,     D3DPRESENT_INTERVAL_FOUR} {
  for (int type = D3DMULTISAMPLE_NONE; type <= D3DMULTISAMPLE_16_SAMPLES; ++type) {
    allowedMultiSampleTypes_.push_back(static_cast<D3DMULTISAMPLE_TYPE>(type));
  }
}

void DeviceEnumeration::SetResolutionMinMax(UINT minWidth, UINT minHeight, UINT maxWidth,
                                            UINT maxHeight) {
  minWidth_ = minWidth;
  minHeight_ = minHeight;
  maxWidth_ = maxWidth;
  maxHeight_ = maxHeight;
}

void DeviceEnumeration::SetRefreshMinMax(UINT minRefresh, UINT maxRefresh) {
  minRefresh_ = minRefresh;
  maxRefresh_ = maxRefresh;
}

void DeviceEnumeration::SetMultisampleQualityMax(UINT max) {
  multisampleQualityMax_ = max > 0xFFFF ? 0xFFFF : max;
}

DeviceEnumeration::~DeviceEnumeration() {
  FrameworkState& state = FrameworkGetState();
  if (state.GetEnumeration() == this) state.SetEnumeration(nullptr);
}

void DeviceEnumeration::Clear() {
  adapters_.clear();
  direct3d_ = nullptr;
}

const AdapterInfo* DeviceEnumeration::GetAdapterInfo(UINT adapterOrdinal) const {
  for (const AdapterInfo& adapter : adapters_) {
    if (adapter.adapterOrdinal == adapterOrdinal) {
      return &adapter;
    }
  }
  return nullptr;
}

const DeviceInfo* DeviceEnumeration::GetDeviceInfo(UINT adapterOrdinal,
                                                   D3DDEVTYPE deviceType) const {
  const AdapterInfo* adapter = GetAdapterInfo(adapterOrdinal);
  if (!adapter) {
    return nullptr;
  }
  for (const DeviceInfo& device : adapter->deviceInfos) {
    if (device.deviceType == deviceType) {
      return &device;
    }
  }
  return nullptr;
}

const DeviceSettingsCombo* DeviceEnumeration::GetDeviceSettingsCombo(
    UINT adapterOrdinal, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
    D3DFORMAT backBufferFormat, bool windowed) const {
  const DeviceInfo* device = GetDeviceInfo(adapterOrdinal, deviceType);
  if (!device) {
    return nullptr;
  }
  for (const DeviceSettingsCombo& combo : device->combos) {
    if (combo.adapterFormat == adapterFormat && combo.backBufferFormat == backBufferFormat &&
        combo.windowed == windowed) {
      return &combo;
    }
  }
  return nullptr;
}

HRESULT DeviceEnumeration::Enumerate(IDirect3D9* direct3d,
                                     FrameworkOnDeviceAcceptableFn onDeviceAcceptable,
                                     void* userContext) {
  if (!direct3d) {
    direct3d = FrameworkGetDirect3D();
  }
  adapters_.clear();
  direct3d_ = direct3d;
  onDeviceAcceptable_ = onDeviceAcceptable;
  userContext_ = userContext;
  if (!direct3d) {
    return FW_E_NODIRECT3D;
  }

  const UINT adapterCount = direct3d->GetAdapterCount();
  for (UINT ordinal = 0; ordinal < adapterCount; ++ordinal) {
    AdapterInfo adapter{};
    adapter.adapterOrdinal = ordinal;
    direct3d->GetAdapterIdentifier(ordinal, 0, &adapter.identifier);
    const std::vector<D3DFORMAT> adapterFormats = ListDisplayModes(adapter);

    const HRESULT result = EnumerateDevices(adapter, adapterFormats);
    if (result == E_OUTOFMEMORY) {
      LinkCombos();
      return result;
    }
    if (FAILED(result) || adapter.deviceInfos.empty()) {
      continue;
    }
    adapters_.push_back(std::move(adapter));
  }
  LinkCombos();
  NameAdapters();
  return S_OK;
}

std::vector<D3DFORMAT> DeviceEnumeration::ListDisplayModes(AdapterInfo& adapter) {
  const UINT ordinal = adapter.adapterOrdinal;
  std::vector<D3DFORMAT> adapterFormats;
  for (D3DFORMAT format : kAdapterFormats) {
    const UINT modeCount = direct3d_->GetAdapterModeCount(ordinal, format);
    for (UINT mode = 0; mode < modeCount; ++mode) {
      D3DDISPLAYMODE displayMode;
      memset(&displayMode, 0, sizeof(displayMode));
      if (FAILED(direct3d_->EnumAdapterModes(ordinal, format, mode, &displayMode))) {
        continue;
      }
      if (displayMode.Width < minWidth_ || displayMode.Width > maxWidth_ ||
          displayMode.Height < minHeight_ || displayMode.Height > maxHeight_ ||
          displayMode.RefreshRate < minRefresh_ || displayMode.RefreshRate > maxRefresh_) {
        continue;
      }
      adapter.displayModes.push_back(displayMode);
      if (!Contains(adapterFormats, displayMode.Format)) {
        adapterFormats.push_back(displayMode.Format);
      }
    }
  }
  D3DDISPLAYMODE desktop;
  memset(&desktop, 0, sizeof(desktop));
  if (SUCCEEDED(direct3d_->GetAdapterDisplayMode(ordinal, &desktop)) &&
      !Contains(adapterFormats, desktop.Format)) {
    adapterFormats.push_back(desktop.Format);
  }
  std::sort(adapter.displayModes.begin(), adapter.displayModes.end(), ModeLess);
  return adapterFormats;
}

void DeviceEnumeration::NameAdapters() {
  // Identical cards get their ordinal appended so the user can tell them apart.
  bool duplicates = false;
  for (size_t i = 0; i < adapters_.size() && !duplicates; ++i) {
    for (size_t j = i + 1; j < adapters_.size(); ++j) {
      if (_stricmp(adapters_[i].identifier.Description, adapters_[j].identifier.Description) ==
          0) {
        duplicates = true;
        break;
      }
    }
  }
  for (AdapterInfo& adapter : adapters_) {
    DescriptionText(adapter.identifier, adapter.uniqueDescription, kUniqueDescriptionLength);
    if (duplicates) {
      const size_t length = wcslen(adapter.uniqueDescription);
      _snwprintf(adapter.uniqueDescription + length, kUniqueDescriptionLength - 1 - length,
                 L" (#%d)", static_cast<int>(adapter.adapterOrdinal));
      adapter.uniqueDescription[kUniqueDescriptionLength - 1] = L'\0';
    }
  }
}

void DeviceEnumeration::LinkCombos() {
  for (AdapterInfo& adapter : adapters_) {
    for (DeviceInfo& device : adapter.deviceInfos) {
      for (DeviceSettingsCombo& combo : device.combos) {
        combo.adapterInfo = &adapter;
        combo.deviceInfo = &device;
      }
    }
  }
}

HRESULT DeviceEnumeration::EnumerateDevices(AdapterInfo& adapter,
                                            const std::vector<D3DFORMAT>& adapterFormats) {
  for (D3DDEVTYPE type : kDeviceTypes) {
    DeviceInfo device{};
    device.adapterOrdinal = adapter.adapterOrdinal;
    device.deviceType = type;
    if (FAILED(direct3d_->GetDeviceCaps(adapter.adapterOrdinal, type, &device.caps))) {
      continue;
    }

    // Only "not available" rules a type out: some drivers list caps for a
    // type they cannot create. Other probe failures are not held against it.
    D3DDISPLAYMODE primaryDesktop;
    memset(&primaryDesktop, 0, sizeof(primaryDesktop));
    direct3d_->GetAdapterDisplayMode(0, &primaryDesktop);
    D3DPRESENT_PARAMETERS probe;
    memset(&probe, 0, sizeof(probe));
    probe.BackBufferWidth = 1;
    probe.BackBufferHeight = 1;
    probe.BackBufferFormat = primaryDesktop.Format;
    probe.BackBufferCount = 1;
    probe.SwapEffect = D3DSWAPEFFECT_COPY;
    probe.Windowed = TRUE;
    const HWND focusWindow = FrameworkGetState().GetFocusWindow();
    probe.hDeviceWindow = focusWindow;
    IDirect3DDevice9* probeDevice = nullptr;  // this loop's own, released at once
    const HRESULT created = direct3d_->CreateDevice(adapter.adapterOrdinal, type, focusWindow,
                                                    D3DCREATE_HARDWARE_VERTEXPROCESSING, &probe,
                                                    &probeDevice);
    if (probeDevice) {
      probeDevice->Release();
    }
    if (created == D3DERR_NOTAVAILABLE) {
      continue;
    }

    const HRESULT result = EnumerateDeviceCombos(adapter, device, adapterFormats);
    if (result == E_OUTOFMEMORY) {
      return result;
    }
    if (FAILED(result) || device.combos.empty()) {
      continue;
    }
    adapter.deviceInfos.push_back(std::move(device));
  }
  return S_OK;
}

HRESULT DeviceEnumeration::EnumerateDeviceCombos(AdapterInfo& adapter, DeviceInfo& device,
                                                 const std::vector<D3DFORMAT>& adapterFormats) {
  const UINT ordinal = adapter.adapterOrdinal;
  for (D3DFORMAT adapterFormat : adapterFormats) {
    for (D3DFORMAT backBufferFormat : kBackBufferFormats) {
      for (int windowedIndex = 0; windowedIndex < 2; ++windowedIndex) {
        const bool windowed = windowedIndex == 1;
        if (!windowed && adapter.displayModes.empty()) {
          continue;
        }
        if (FAILED(direct3d_->CheckDeviceType(ordinal, device.deviceType, adapterFormat,
                                              backBufferFormat, windowed))) {
          continue;
        }
        if (requirePostPixelShaderBlending_ &&
            FAILED(direct3d_->CheckDeviceFormat(ordinal, device.deviceType, adapterFormat,
                                                D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                                D3DRTYPE_TEXTURE, backBufferFormat))) {
          continue;
        }
        if (onDeviceAcceptable_ &&
            !onDeviceAcceptable_(device.caps, adapterFormat, backBufferFormat, windowed,
                                 userContext_)) {
          continue;
        }

        DeviceSettingsCombo combo{};
        combo.adapterOrdinal = ordinal;
        combo.deviceType = device.deviceType;
        combo.adapterFormat = adapterFormat;
        combo.backBufferFormat = backBufferFormat;
        combo.windowed = windowed;
        BuildDepthStencilFormats(combo);
        BuildMultiSampleTypes(combo);
        if (combo.multiSampleTypes.empty()) {
          continue;
        }
        BuildDepthStencilConflicts(combo);
        BuildPresentIntervals(device, combo);
        // Linked to its adapter and device type once they lie where they
        // stay (LinkCombos).
        device.combos.push_back(std::move(combo));
      }
    }
  }
  return S_OK;
}

void DeviceEnumeration::BuildDepthStencilFormats(DeviceSettingsCombo& combo) {
  for (D3DFORMAT format : allowedDepthStencilFormats_) {
    if (SUCCEEDED(direct3d_->CheckDeviceFormat(combo.adapterOrdinal, combo.deviceType,
                                               combo.adapterFormat, D3DUSAGE_DEPTHSTENCIL,
                                               D3DRTYPE_SURFACE, format)) &&
        SUCCEEDED(direct3d_->CheckDepthStencilMatch(combo.adapterOrdinal, combo.deviceType,
                                                    combo.adapterFormat, combo.backBufferFormat,
                                                    format))) {
      combo.depthStencilFormats.push_back(format);
    }
  }
}

void DeviceEnumeration::BuildMultiSampleTypes(DeviceSettingsCombo& combo) {
  for (D3DMULTISAMPLE_TYPE type : allowedMultiSampleTypes_) {
    DWORD levels = 0;
    if (SUCCEEDED(direct3d_->CheckDeviceMultiSampleType(combo.adapterOrdinal, combo.deviceType,
                                                        combo.backBufferFormat, combo.windowed,
                                                        type, &levels))) {
      const DWORD limit = static_cast<DWORD>(multisampleQualityMax_) + 1;
      combo.multiSampleTypes.push_back(type);
      combo.multiSampleQualities.push_back(levels < limit ? levels : limit);
    }
  }
}

void DeviceEnumeration::BuildDepthStencilConflicts(DeviceSettingsCombo& combo) {
  for (D3DFORMAT format : combo.depthStencilFormats) {
    for (D3DMULTISAMPLE_TYPE type : combo.multiSampleTypes) {
      if (FAILED(direct3d_->CheckDeviceMultiSampleType(combo.adapterOrdinal, combo.deviceType,
                                                       format, combo.windowed, type, nullptr))) {
        combo.depthStencilConflicts.push_back(DepthStencilConflict{format, type});
      }
    }
  }
}

void DeviceEnumeration::BuildPresentIntervals(const DeviceInfo& device,
                                              DeviceSettingsCombo& combo) {
  for (UINT interval : allowedPresentIntervals_) {
    // Windowed presentation cannot wait for more than one refresh.
    if (combo.windowed &&
        (interval == D3DPRESENT_INTERVAL_TWO || interval == D3DPRESENT_INTERVAL_THREE ||
         interval == D3DPRESENT_INTERVAL_FOUR)) {
      continue;
    }
    if (interval == D3DPRESENT_INTERVAL_DEFAULT ||
        (device.caps.PresentationIntervals & interval) != 0) {
      combo.presentIntervals.push_back(interval);
    }
  }
}

DeviceEnumeration* FrameworkGetEnumeration(bool forceEnumerate) {
  // The state first: objects of this kind end in the reverse order of their
  // making, so the enumeration ends (and leaves the state) before the
  // state's shutdown runs at exit.
  FrameworkState& state = FrameworkGetState();
  static DeviceEnumeration theEnumeration;
  DeviceEnumeration* const enumeration = &theEnumeration;
  const bool isNew = state.GetEnumeration() != enumeration;
  if (isNew) {
    state.SetEnumeration(enumeration);
  }
  if (isNew || forceEnumerate) {
    enumeration->Enumerate(state.GetDirect3D(), state.GetOnDeviceAcceptable(),
                           state.GetOnDeviceAcceptableContext());
  }
  return enumeration;
}
