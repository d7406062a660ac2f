// Turns a device request into concrete valid settings: ideal settings, the
// best-scoring enumerated combination, then every component filled by its
// match type.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "framework/device_settings.h"
#include "framework/enumeration.h"

// Finds valid settings for `request` (null: all zero) under `options` (null:
// all IgnoreInput) among the enumerated combinations. E_INVALIDARG when `out`
// is null, FW_E_NOCOMPATIBLEDEVICES when nothing fits, S_OK otherwise.
// The caller reports failures.
HRESULT FrameworkFindValidDeviceSettings(DeviceSettings* out, const DeviceSettings* request,
                                         const MatchOptions* options);

// The ideal settings: each component from the request unless it is ignored,
// then a default. `desktop` is the current display mode of the chosen
// adapter (read from `direct3d`; zero if that fails).
DeviceSettings BuildOptimalDeviceSettings(IDirect3D9* direct3d, const DeviceSettings& request,
                                          const MatchOptions& options);

// Whether `combo` honours every PreserveInput component of the request.
bool ComboMatchesPreserveOptions(const DeviceSettingsCombo& combo, const DeviceSettings& request,
                                 const MatchOptions& options);

// How well `combo` fits the optimal settings; higher is better.
float RankDeviceCombo(const DeviceSettingsCombo& combo, const DeviceSettings& optimal,
                      const D3DDISPLAYMODE& desktop);

// Fills every component from `combo` by its match type. `desktop` is the
// current display mode of the combo's adapter.
DeviceSettings BuildValidDeviceSettings(const DeviceSettingsCombo& combo,
                                        const DeviceSettings& request,
                                        const MatchOptions& options,
                                        const D3DDISPLAYMODE& desktop);

// Among the adapter's modes of the combo's adapter format, the size nearest
// (in summed width and height difference) to the wanted one; the wanted size
// itself when there is no mode. Writes the result to *width and *height.
void FindClosestDisplayMode(const DeviceSettingsCombo& combo, UINT wantedWidth,
                            UINT wantedHeight, UINT* width, UINT* height);
