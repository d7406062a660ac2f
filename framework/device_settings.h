// A device configuration, as requested and as found valid, and how closely
// each of its components has to be honoured when a valid one is sought.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Everything needed to create or reset a Direct3D 9 device. A plain record,
// copied by value. Windowed, width and height are the members Windowed,
// BackBufferWidth and BackBufferHeight of presentParams.
struct DeviceSettings {
  UINT adapterOrdinal;
  D3DDEVTYPE deviceType;     // HAL 1, REF 2, SW 3
  D3DFORMAT adapterFormat;   // the display format
  DWORD behaviorFlags;       // D3DCREATE_ flags
  D3DPRESENT_PARAMETERS presentParams;
};

// How one component of a request is treated when valid settings are sought.
enum class MatchType : int {
  IgnoreInput = 0,     // the requested value does not matter: use the default
  PreserveInput = 1,   // keep it exactly; only combinations supporting it count
  ClosestToInput = 2,  // use the supported value nearest to the request
};

// One match type per component of a request. Value-initialise
// (MatchOptions options{}) to get all fifteen IgnoreInput.
struct MatchOptions {
  MatchType adapterOrdinal;
  MatchType deviceType;
  MatchType windowed;
  MatchType adapterFormat;
  MatchType vertexProcessing;
  MatchType resolution;
  MatchType backBufferFormat;
  MatchType backBufferCount;
  MatchType multiSample;
  MatchType swapEffect;
  MatchType depthFormat;
  MatchType stencilFormat;
  MatchType presentFlags;
  MatchType refreshRate;
  MatchType presentInterval;
};
