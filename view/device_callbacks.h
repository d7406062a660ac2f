// The game's device callbacks: which device configurations it accepts and
// how it adjusts the settings of each device change.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "framework/device_settings.h"

// Accepts a format combination exactly when the back-buffer format can be
// alpha-blended after the pixel shader on that adapter and device type
// (asked of the framework's Direct3D object). The window mode plays no part.
// Without a Direct3D object nothing is accepted.
bool OnDeviceAcceptable(const D3DCAPS9& caps, D3DFORMAT adapterFormat,
                        D3DFORMAT backBufferFormat, bool windowed, void* userContext);

// Forces software vertex processing (and drops every other behaviour flag)
// when the device lacks hardware transform and lighting or vertex shaders
// 1.1; on the first call of the process only, shows the reference-device
// warning when the reference device is chosen. Never refuses: always true.
bool OnModifyDeviceSettings(DeviceSettings& settings, const D3DCAPS9& caps, void* userContext);

// The behaviour flags the rule above leaves for these caps.
DWORD VertexProcessingFlagsFor(DWORD behaviorFlags, const D3DCAPS9& caps);
