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

// OnModifyDeviceSettings is declared here next to OnDeviceAcceptable.
