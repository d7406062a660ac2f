// Settings matching: ideal settings from a request, ranking of the
// enumerated combinations, and valid settings built from the best one.
#include "framework/matching.h"

#include <stdlib.h>
#include <string.h>

#include "framework/errors.h"
#include "framework/framework_state.h"

namespace {

constexpr DWORD kVertexProcessingFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                         D3DCREATE_MIXED_VERTEXPROCESSING |
                                         D3DCREATE_SOFTWARE_VERTEXPROCESSING;

bool HasHardwareTransform(const D3DCAPS9& caps) {
  return (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
}

UINT Difference(UINT a, UINT b) { return a > b ? a - b : b - a; }

// The score of a format against the wanted one: 1 if equal, otherwise less
// the further their bits per channel lie apart.
float FormatScore(D3DFORMAT format, D3DFORMAT wanted) {
  if (format == wanted) {
    return 1.0f;
  }
  const int bitsDifference = abs(static_cast<int>(ColorChannelBits(format)) -
                                 static_cast<int>(ColorChannelBits(wanted)));
  const float score = 0.9f - 0.2f * static_cast<float>(bitsDifference);
  return score > 0.0f ? score : 0.0f;
}

// Full screen runs in the desktop format unless that has fewer than eight
// bits per channel.
D3DFORMAT PreferredFullScreenFormat(D3DFORMAT desktopFormat) {
  return ColorChannelBits(desktopFormat) < 8 ? D3DFMT_X8R8G8B8 : desktopFormat;
}

bool HasModeOfSize(const DeviceSettingsCombo& combo, UINT width, UINT height) {
  for (const D3DDISPLAYMODE& mode : combo.adapterInfo->displayModes) {
    if (mode.Format == combo.adapterFormat && mode.Width == width && mode.Height == height) {
      return true;
    }
  }
  return false;
}

bool HasModeWithRefresh(const DeviceSettingsCombo& combo, UINT refreshRate) {
  for (const D3DDISPLAYMODE& mode : combo.adapterInfo->displayModes) {
    if (mode.Format == combo.adapterFormat && mode.RefreshRate == refreshRate) {
      return true;
    }
  }
  return false;
}

bool ListsMultiSample(const DeviceSettingsCombo& combo, D3DMULTISAMPLE_TYPE type, DWORD quality) {
  for (size_t i = 0; i < combo.multiSampleTypes.size(); ++i) {
    if (combo.multiSampleTypes[i] == type && combo.multiSampleQualities[i] >= quality) {
      return true;
    }
  }
  return false;
}

template <typename T>
bool Lists(const std::vector<T>& list, T value) {
  for (const T& item : list) {
    if (item == value) {
      return true;
    }
  }
  return false;
}

D3DDISPLAYMODE DesktopMode(IDirect3D9* direct3d, UINT adapterOrdinal) {
  D3DDISPLAYMODE desktop;
  memset(&desktop, 0, sizeof(desktop));
  if (direct3d) {
    direct3d->GetAdapterDisplayMode(adapterOrdinal, &desktop);
  }
  return desktop;
}

DWORD BuildBehaviorFlags(const DeviceSettingsCombo& combo, const DeviceSettings& request,
                         MatchType match) {
  const bool hardwareTransform = HasHardwareTransform(combo.deviceInfo->caps);
  if (match == MatchType::PreserveInput) {
    return request.behaviorFlags;
  }
  if (match == MatchType::ClosestToInput) {
    DWORD flags = request.behaviorFlags;
    if (!hardwareTransform &&
        (flags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING))) {
      // A pure device needs hardware vertex processing, so it goes too.
      flags &= ~(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING |
                 D3DCREATE_PUREDEVICE);
      flags |= D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    }
    if ((flags & kVertexProcessingFlags) == 0) {
      flags |= hardwareTransform ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                                 : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    }
    return flags;
  }
  return hardwareTransform ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                           : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
}

UINT DepthCost(D3DFORMAT format, const DeviceSettingsCombo& combo, const DeviceSettings& request,
               const MatchOptions& options) {
  const UINT depth = DepthBits(format);
  const UINT requestedDepth = DepthBits(request.presentParams.AutoDepthStencilFormat);
  UINT cost = 0;
  switch (options.depthFormat) {
    case MatchType::PreserveInput:
      cost += depth == requestedDepth ? 0 : 10000;
      break;
    case MatchType::ClosestToInput:
      cost += Difference(depth, requestedDepth);
      break;
    default:
      cost += Difference(depth, 4 * ColorChannelBits(combo.backBufferFormat));
      break;
  }
  const UINT stencil = StencilBits(format);
  const UINT requestedStencil = StencilBits(request.presentParams.AutoDepthStencilFormat);
  switch (options.stencilFormat) {
    case MatchType::PreserveInput:
      cost += stencil == requestedStencil ? 0 : 10000;
      break;
    case MatchType::ClosestToInput:
      cost += Difference(stencil, requestedStencil);
      break;
    default:
      cost += stencil;
      break;
  }
  return cost;
}

// Size: the request's when preserved; otherwise the wanted size (the
// request's, or 640 x 480 windowed and the desktop's in full screen when
// ignored), taken as is in a window and as the nearest mode in full screen.
void ValidSize(const DeviceSettingsCombo& combo, const D3DPRESENT_PARAMETERS& asked,
               MatchType match, const D3DDISPLAYMODE& desktop, D3DPRESENT_PARAMETERS& pp) {
  if (match == MatchType::PreserveInput) {
    pp.BackBufferWidth = asked.BackBufferWidth;
    pp.BackBufferHeight = asked.BackBufferHeight;
    return;
  }
  UINT wantedWidth = asked.BackBufferWidth;
  UINT wantedHeight = asked.BackBufferHeight;
  if (match == MatchType::IgnoreInput) {
    wantedWidth = combo.windowed ? 640 : desktop.Width;
    wantedHeight = combo.windowed ? 480 : desktop.Height;
  }
  if (combo.windowed) {
    pp.BackBufferWidth = wantedWidth;
    pp.BackBufferHeight = wantedHeight;
  } else {
    FindClosestDisplayMode(combo, wantedWidth, wantedHeight, &pp.BackBufferWidth,
                           &pp.BackBufferHeight);
  }
}

UINT ValidBackBufferCount(UINT asked, MatchType match) {
  switch (match) {
    case MatchType::PreserveInput:
      return asked;
    case MatchType::ClosestToInput:
      if (asked > 3) {
        return 3;
      }
      return asked == 0 ? 1 : asked;
    default:
      return 2;
  }
}

// Multisampling, only with a discarding swap effect: the request's when
// preserved; when closest, the first listed type strictly nearer to the
// requested one than the ones before, at the highest quality it allows.
void ValidMultiSample(const DeviceSettingsCombo& combo, const D3DPRESENT_PARAMETERS& asked,
                      MatchType match, D3DPRESENT_PARAMETERS& pp) {
  pp.MultiSampleType = D3DMULTISAMPLE_NONE;
  pp.MultiSampleQuality = 0;
  if (asked.SwapEffect != D3DSWAPEFFECT_DISCARD) {
    return;
  }
  if (match == MatchType::PreserveInput) {
    pp.MultiSampleType = asked.MultiSampleType;
    pp.MultiSampleQuality = asked.MultiSampleQuality;
  } else if (match == MatchType::ClosestToInput) {
    const int wanted = static_cast<int>(asked.MultiSampleType);
    int bestDistance = abs(wanted - static_cast<int>(D3DMULTISAMPLE_NONE));
    for (size_t i = 0; i < combo.multiSampleTypes.size(); ++i) {
      const int distance = abs(wanted - static_cast<int>(combo.multiSampleTypes[i]));
      if (distance < bestDistance) {
        bestDistance = distance;
        pp.MultiSampleType = combo.multiSampleTypes[i];
        // A type reporting no quality levels can only be used at quality 0.
        const DWORD count = combo.multiSampleQualities[i];
        const DWORD highest = count > 0 ? count - 1 : 0;
        pp.MultiSampleQuality =
            asked.MultiSampleQuality < highest ? asked.MultiSampleQuality : highest;
      }
    }
  }
}

D3DSWAPEFFECT ValidSwapEffect(D3DSWAPEFFECT asked, MatchType match) {
  switch (match) {
    case MatchType::PreserveInput:
      return asked;
    case MatchType::ClosestToInput:
      return (asked == D3DSWAPEFFECT_DISCARD || asked == D3DSWAPEFFECT_FLIP ||
              asked == D3DSWAPEFFECT_COPY)
                 ? asked
                 : D3DSWAPEFFECT_DISCARD;
    default:
      return D3DSWAPEFFECT_DISCARD;
  }
}

// Depth/stencil: the cheapest listed format; none when nothing is listed.
void ValidDepthStencil(const DeviceSettingsCombo& combo, const DeviceSettings& request,
                       const MatchOptions& options, D3DPRESENT_PARAMETERS& pp) {
  D3DFORMAT bestDepth = D3DFMT_UNKNOWN;
  UINT bestCost = 100000;
  for (D3DFORMAT format : combo.depthStencilFormats) {
    const UINT cost = DepthCost(format, combo, request, options);
    if (cost < bestCost) {
      bestCost = cost;
      bestDepth = format;
    }
  }
  pp.EnableAutoDepthStencil = bestDepth != D3DFMT_UNKNOWN ? TRUE : FALSE;
  pp.AutoDepthStencilFormat = bestDepth;
}

DWORD ValidPresentFlags(DWORD asked, MatchType match, bool depthBuffer) {
  const DWORD discardDepth = depthBuffer ? D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL : 0;
  switch (match) {
    case MatchType::PreserveInput:
      return asked;
    case MatchType::ClosestToInput:
      return asked | discardDepth;
    default:
      return discardDepth;
  }
}

// Refresh rate: always 0 in a window. In full screen the request's when
// preserved; otherwise the rate nearest the wanted one (the request's, or
// the desktop's when ignored) among the modes of the chosen size and format,
// 0 when none wanted or no such mode.
UINT ValidRefreshRate(const DeviceSettingsCombo& combo, const D3DPRESENT_PARAMETERS& asked,
                      MatchType match, const D3DDISPLAYMODE& desktop,
                      const D3DPRESENT_PARAMETERS& pp) {
  if (combo.windowed) {
    return 0;
  }
  if (match == MatchType::PreserveInput) {
    return asked.FullScreen_RefreshRateInHz;
  }
  const UINT wanted =
      match == MatchType::ClosestToInput ? asked.FullScreen_RefreshRateInHz : desktop.RefreshRate;
  UINT rate = 0;
  if (wanted != 0) {
    bool found = false;
    UINT bestDifference = 0;
    for (const D3DDISPLAYMODE& mode : combo.adapterInfo->displayModes) {
      if (mode.Format != combo.adapterFormat || mode.Width != pp.BackBufferWidth ||
          mode.Height != pp.BackBufferHeight) {
        continue;
      }
      const UINT difference = Difference(mode.RefreshRate, wanted);
      if (!found || difference < bestDifference) {
        found = true;
        bestDifference = difference;
        rate = mode.RefreshRate;
        if (difference == 0) {
          break;
        }
      }
    }
  }
  return rate;
}

UINT ValidPresentInterval(const DeviceSettingsCombo& combo, UINT asked, MatchType match) {
  switch (match) {
    case MatchType::PreserveInput:
      return asked;
    case MatchType::ClosestToInput:
      return Lists(combo.presentIntervals, asked) ? asked : D3DPRESENT_INTERVAL_DEFAULT;
    default:
      return D3DPRESENT_INTERVAL_DEFAULT;
  }
}

// The ideal adapter format: the request's, or the desktop's (full screen:
// at least eight bits per channel).
D3DFORMAT OptimalAdapterFormat(const DeviceSettings& request, const MatchOptions& options,
                               bool windowed, const D3DDISPLAYMODE& desktop) {
  if (options.adapterFormat != MatchType::IgnoreInput) return request.adapterFormat;
  return windowed ? desktop.Format : PreferredFullScreenFormat(desktop.Format);
}

// The ideal size: the request's, or 640 x 480 windowed and the desktop's
// size in full screen.
void OptimalSize(const D3DPRESENT_PARAMETERS& asked, MatchType match,
                 const D3DDISPLAYMODE& desktop, D3DPRESENT_PARAMETERS& pp) {
  if (match != MatchType::IgnoreInput) {
    pp.BackBufferWidth = asked.BackBufferWidth;
    pp.BackBufferHeight = asked.BackBufferHeight;
  } else if (pp.Windowed) {
    pp.BackBufferWidth = 640;
    pp.BackBufferHeight = 480;
  } else {
    pp.BackBufferWidth = desktop.Width;
    pp.BackBufferHeight = desktop.Height;
  }
}

// The ideal depth buffer: the request's when depth or stencil counts,
// otherwise D16 for a back buffer of fewer than eight bits per channel and
// D32 for the others.
void OptimalDepthStencil(const D3DPRESENT_PARAMETERS& asked, const MatchOptions& options,
                         D3DPRESENT_PARAMETERS& pp) {
  if (options.depthFormat != MatchType::IgnoreInput ||
      options.stencilFormat != MatchType::IgnoreInput) {
    pp.EnableAutoDepthStencil = asked.EnableAutoDepthStencil;
    pp.AutoDepthStencilFormat = asked.AutoDepthStencilFormat;
  } else {
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat =
        ColorChannelBits(pp.BackBufferFormat) < 8 ? D3DFMT_D16 : D3DFMT_D32;
  }
}

// The ideal presentation parameters after the window mode: each the
// request's unless ignored, else its default.
void OptimalPresentParams(const D3DPRESENT_PARAMETERS& asked, const MatchOptions& options,
                          D3DFORMAT adapterFormat, const D3DDISPLAYMODE& desktop,
                          D3DPRESENT_PARAMETERS& pp) {
  OptimalSize(asked, options.resolution, desktop, pp);
  pp.BackBufferFormat =
      options.backBufferFormat == MatchType::IgnoreInput ? adapterFormat : asked.BackBufferFormat;
  pp.BackBufferCount =
      options.backBufferCount == MatchType::IgnoreInput ? 2 : asked.BackBufferCount;
  if (options.multiSample == MatchType::IgnoreInput) {
    pp.MultiSampleType = D3DMULTISAMPLE_NONE;
    pp.MultiSampleQuality = 0;
  } else {
    pp.MultiSampleType = asked.MultiSampleType;
    pp.MultiSampleQuality = asked.MultiSampleQuality;
  }
  pp.SwapEffect =
      options.swapEffect == MatchType::IgnoreInput ? D3DSWAPEFFECT_DISCARD : asked.SwapEffect;
  OptimalDepthStencil(asked, options, pp);
  pp.Flags = options.presentFlags == MatchType::IgnoreInput ? D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL
                                                            : asked.Flags;
  pp.FullScreen_RefreshRateInHz =
      options.refreshRate == MatchType::IgnoreInput ? 0 : asked.FullScreen_RefreshRateInHz;
  pp.PresentationInterval = options.presentInterval == MatchType::IgnoreInput
                                ? D3DPRESENT_INTERVAL_DEFAULT
                                : asked.PresentationInterval;
  pp.hDeviceWindow = asked.hDeviceWindow;
}

// Whether the combo lists a depth/stencil format that keeps what the
// request preserves of its format: the format itself, its depth bits or its
// stencil bits. Anything goes when neither is preserved or none was asked.
bool KeepsPreservedDepthStencil(const DeviceSettingsCombo& combo, D3DFORMAT asked,
                                const MatchOptions& options) {
  const bool depth = options.depthFormat == MatchType::PreserveInput;
  const bool stencil = options.stencilFormat == MatchType::PreserveInput;
  if (asked == D3DFMT_UNKNOWN || (!depth && !stencil)) return true;
  if (depth && stencil) return Lists(combo.depthStencilFormats, asked);
  for (D3DFORMAT format : combo.depthStencilFormats) {
    if (depth && DepthBits(format) == DepthBits(asked)) return true;
    if (!depth && StencilBits(format) == StencilBits(asked)) return true;
  }
  return false;
}

}  // namespace

DeviceSettings BuildOptimalDeviceSettings(IDirect3D9* direct3d, const DeviceSettings& request,
                                          const MatchOptions& options) {
  DeviceSettings optimal;
  memset(&optimal, 0, sizeof(optimal));
  optimal.adapterOrdinal =
      options.adapterOrdinal == MatchType::IgnoreInput ? 0 : request.adapterOrdinal;
  const D3DDISPLAYMODE desktop = DesktopMode(direct3d, optimal.adapterOrdinal);
  optimal.deviceType =
      options.deviceType == MatchType::IgnoreInput ? D3DDEVTYPE_HAL : request.deviceType;
  D3DPRESENT_PARAMETERS& pp = optimal.presentParams;
  pp.Windowed =
      options.windowed == MatchType::IgnoreInput ? TRUE : request.presentParams.Windowed;
  optimal.adapterFormat = OptimalAdapterFormat(request, options, pp.Windowed != FALSE, desktop);
  optimal.behaviorFlags = options.vertexProcessing == MatchType::IgnoreInput
                              ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                              : request.behaviorFlags;
  OptimalPresentParams(request.presentParams, options, optimal.adapterFormat, desktop, pp);
  return optimal;
}

bool ComboMatchesPreserveOptions(const DeviceSettingsCombo& combo, const DeviceSettings& request,
                                 const MatchOptions& options) {
  const D3DPRESENT_PARAMETERS& asked = request.presentParams;
  if (options.adapterOrdinal == MatchType::PreserveInput &&
      combo.adapterOrdinal != request.adapterOrdinal) {
    return false;
  }
  if (options.deviceType == MatchType::PreserveInput && combo.deviceType != request.deviceType) {
    return false;
  }
  if (options.windowed == MatchType::PreserveInput && combo.windowed != (asked.Windowed != FALSE)) {
    return false;
  }
  if (options.adapterFormat == MatchType::PreserveInput &&
      combo.adapterFormat != request.adapterFormat) {
    return false;
  }
  if (options.vertexProcessing == MatchType::PreserveInput &&
      (request.behaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) != 0 &&
      !HasHardwareTransform(combo.deviceInfo->caps)) {
    return false;
  }
  if (options.resolution == MatchType::PreserveInput &&
      !HasModeOfSize(combo, asked.BackBufferWidth, asked.BackBufferHeight)) {
    return false;
  }
  if (options.backBufferFormat == MatchType::PreserveInput &&
      combo.backBufferFormat != asked.BackBufferFormat) {
    return false;
  }
  if (options.multiSample == MatchType::PreserveInput &&
      !ListsMultiSample(combo, asked.MultiSampleType, asked.MultiSampleQuality)) {
    return false;
  }

  if (!KeepsPreservedDepthStencil(combo, asked.AutoDepthStencilFormat, options)) {
    return false;
  }
  if (options.refreshRate == MatchType::PreserveInput &&
      !HasModeWithRefresh(combo, asked.FullScreen_RefreshRateInHz)) {
    return false;
  }
  if (options.presentInterval == MatchType::PreserveInput &&
      !Lists(combo.presentIntervals, asked.PresentationInterval)) {
    return false;
  }
  return true;
}

float RankDeviceCombo(const DeviceSettingsCombo& combo, const DeviceSettings& optimal,
                      const D3DDISPLAYMODE& desktop) {
  const D3DPRESENT_PARAMETERS& pp = optimal.presentParams;
  float rank = 0.0f;

  if (combo.adapterOrdinal == optimal.adapterOrdinal) {
    rank += 1000.0f;
  }
  if (combo.deviceType == optimal.deviceType) {
    rank += 100.0f;
  }
  if (combo.deviceType == D3DDEVTYPE_HAL) {
    rank += 0.1f;
  }
  if (combo.windowed == (pp.Windowed != FALSE)) {
    rank += 10.0f;
  }

  rank += FormatScore(combo.adapterFormat, optimal.adapterFormat);
  if (!combo.windowed && combo.adapterFormat == PreferredFullScreenFormat(desktop.Format)) {
    rank += 0.1f;
  }

  const bool hardwareTransform = HasHardwareTransform(combo.deviceInfo->caps);
  if ((optimal.behaviorFlags &
       (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING)) != 0 &&
      hardwareTransform) {
    rank += 1.0f;
  }
  if (hardwareTransform) {
    rank += 0.1f;
  }

  if (HasModeOfSize(combo, pp.BackBufferWidth, pp.BackBufferHeight)) {
    rank += 1.0f;
  }

  rank += FormatScore(combo.backBufferFormat, pp.BackBufferFormat);
  if (combo.backBufferFormat == combo.adapterFormat) {
    rank += 0.1f;
  }

  if (ListsMultiSample(combo, pp.MultiSampleType, pp.MultiSampleQuality)) {
    rank += 1.0f;
  }
  if (Lists(combo.depthStencilFormats, pp.AutoDepthStencilFormat)) {
    rank += 1.0f;
  }
  if (HasModeWithRefresh(combo, pp.FullScreen_RefreshRateInHz)) {
    rank += 1.0f;
  }
  if (Lists(combo.presentIntervals, pp.PresentationInterval)) {
    rank += 1.0f;
  }
  return rank;
}

void FindClosestDisplayMode(const DeviceSettingsCombo& combo, UINT wantedWidth,
                            UINT wantedHeight, UINT* width, UINT* height) {
  if (!width || !height) {
    return;
  }
  UINT bestWidth = wantedWidth;
  UINT bestHeight = wantedHeight;
  bool found = false;
  UINT bestDistance = 0;
  for (const D3DDISPLAYMODE& mode : combo.adapterInfo->displayModes) {
    if (mode.Format != combo.adapterFormat) {
      continue;
    }
    const UINT distance =
        Difference(mode.Width, wantedWidth) + Difference(mode.Height, wantedHeight);
    if (!found || distance < bestDistance) {
      found = true;
      bestDistance = distance;
      bestWidth = mode.Width;
      bestHeight = mode.Height;
      if (distance == 0) {
        break;
      }
    }
  }
  *width = bestWidth;
  *height = bestHeight;
}

DeviceSettings BuildValidDeviceSettings(const DeviceSettingsCombo& combo,
                                        const DeviceSettings& request,
                                        const MatchOptions& options,
                                        const D3DDISPLAYMODE& desktop) {
  DeviceSettings valid;
  memset(&valid, 0, sizeof(valid));
  const D3DPRESENT_PARAMETERS& asked = request.presentParams;
  D3DPRESENT_PARAMETERS& pp = valid.presentParams;

  valid.adapterOrdinal = combo.adapterOrdinal;
  valid.deviceType = combo.deviceType;
  valid.adapterFormat = combo.adapterFormat;
  pp.BackBufferFormat = combo.backBufferFormat;
  pp.Windowed = combo.windowed ? TRUE : FALSE;

  valid.behaviorFlags = BuildBehaviorFlags(combo, request, options.vertexProcessing);
  ValidSize(combo, asked, options.resolution, desktop, pp);
  pp.BackBufferCount = ValidBackBufferCount(asked.BackBufferCount, options.backBufferCount);
  ValidMultiSample(combo, asked, options.multiSample, pp);
  pp.SwapEffect = ValidSwapEffect(asked.SwapEffect, options.swapEffect);
  ValidDepthStencil(combo, request, options, pp);
  pp.Flags =
      ValidPresentFlags(asked.Flags, options.presentFlags, pp.EnableAutoDepthStencil != FALSE);
  pp.FullScreen_RefreshRateInHz = ValidRefreshRate(combo, asked, options.refreshRate, desktop, pp);
  pp.PresentationInterval =
      ValidPresentInterval(combo, asked.PresentationInterval, options.presentInterval);

  FrameworkState& state = FrameworkGetState();
  pp.hDeviceWindow = combo.windowed ? state.GetWindowedWindow() : state.GetFullScreenWindow();
  return valid;
}

HRESULT FrameworkFindValidDeviceSettings(DeviceSettings* out, const DeviceSettings* request,
                                         const MatchOptions* options) {
  if (!out) {
    return E_INVALIDARG;
  }
  DeviceSettings noRequest;
  memset(&noRequest, 0, sizeof(noRequest));
  const DeviceSettings& asked = request ? *request : noRequest;
  MatchOptions ignoreAll{};
  const MatchOptions& match = options ? *options : ignoreAll;

  DeviceEnumeration* enumeration = FrameworkGetEnumeration(false);
  if (!enumeration) {
    return FW_E_NOCOMPATIBLEDEVICES;
  }
  IDirect3D9* direct3d = enumeration->GetDirect3D();
  const DeviceSettings optimal = BuildOptimalDeviceSettings(direct3d, asked, match);

  const DeviceSettingsCombo* best = nullptr;
  D3DDISPLAYMODE bestDesktop;
  memset(&bestDesktop, 0, sizeof(bestDesktop));
  float bestRank = -1.0f;
  for (const AdapterInfo& adapter : enumeration->GetAdapterInfoList()) {
    const D3DDISPLAYMODE desktop = DesktopMode(direct3d, adapter.adapterOrdinal);
    for (const DeviceInfo& device : adapter.deviceInfos) {
      for (const DeviceSettingsCombo& combo : device.combos) {
        // A window always shows in the desktop's current format.
        if (combo.windowed && combo.adapterFormat != desktop.Format) {
          continue;
        }
        if (!ComboMatchesPreserveOptions(combo, asked, match)) {
          continue;
        }
        const float rank = RankDeviceCombo(combo, optimal, desktop);
        if (rank > bestRank) {
          bestRank = rank;
          best = &combo;
          bestDesktop = desktop;
        }
      }
    }
  }
  if (!best) {
    return FW_E_NOCOMPATIBLEDEVICES;
  }
  *out = BuildValidDeviceSettings(*best, asked, match, bestDesktop);
  return S_OK;
}
