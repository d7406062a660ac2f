// The Direct3D device's life: creation, change of mode, size or adapter,
// reset, loss and release, and the reference-device warning.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "framework/device_settings.h"
#include "framework/framework_state.h"

// Enumerates afresh and creates the device that best fits the request (and
// the command-line overrides), creating a window titled "Direct3D Window"
// first when none exists. Stores both callbacks with `userContext`. Reports
// and returns the error when no valid settings exist. Main thread only.
HRESULT FrameworkCreateDevice(UINT adapterOrdinal, bool windowed, int width,
                              int height,
                              FrameworkOnDeviceAcceptableFn onDeviceAcceptable,
                              FrameworkOnModifyDeviceSettingsFn onModifyDeviceSettings,
                              void* userContext);

// Changes the device to `settings` (copied): resets it when only the
// presentation changes, otherwise re-creates it; prepares and sizes the
// window for the new mode. Width and height 0 keep the window's client size.
// A windowed window shown for the first time here gets a back buffer of the
// client size it has once shown (the game may resize it on that first
// WM_SIZE, which comes while the change ignores size messages).
// Returns E_ABORT when OnModifyDeviceSettings refuses, S_FALSE without a
// Direct3D object, or the framework error of a failed step.
HRESULT FrameworkChangeDevice(const DeviceSettings* settings,
                              IDirect3DDevice9* applicationDevice,
                              bool forceRecreate, bool clipWindowToSingleAdapter);

// Switches between windowed and full screen, remembering each mode's size;
// goes back to the previous mode if the switch fails, and shuts down when
// that fails as well. Returns the first failure's code.
HRESULT FrameworkToggleFullScreen();

// Switches between the HAL and the reference device, in the same way.
HRESULT FrameworkToggleReference();

// Creates the device of the current settings (or adopts `applicationDevice`,
// adding a reference) and runs OnDeviceCreated then OnDeviceReset.
HRESULT FrameworkCreateEnvironment(IDirect3DDevice9* applicationDevice);

// Resets the device with the current presentation parameters, calling
// OnDeviceLost before and OnDeviceReset after (and OnDeviceLost again at
// once when that fails).
HRESULT FrameworkResetEnvironment();

// Runs OnDeviceLost and OnDeviceDestroyed for what is set up, releases the
// device (the state's reference) and, with `releaseSettings`, empties the
// current settings.
void FrameworkCleanupEnvironment(bool releaseSettings);

// Reads back buffer 0's description into the state; zero when that fails.
void FrameworkUpdateBackBufferDesc();

// The lost-device steps at the start of a rendering pass. Returns true when
// the pass may go on (a device exists and is usable).
bool FrameworkRestoreLostDevice();

// Asks, once per user unless "Skip Warning On REF" is set, whether to go on
// with the slow reference device; No shuts the framework down with exit
// code 1. Does nothing when error message boxes are off.
void FrameworkShowReferenceWarning();

// Registry key and value that silence the reference-device warning.
constexpr const wchar_t* kFrameworkReferenceWarningKey =
    L"Software\\Microsoft\\DirectX 9.0 SDK";
constexpr const wchar_t* kFrameworkReferenceWarningValue = L"Skip Warning On REF";

// Stands in for the reference warning's dialog so that its handling can be
// tested without a modal loop: returns what the dialog would (6 or 7, plus
// 0x80 when "Don't show again" is marked). Null restores the dialog.
typedef INT_PTR (*FrameworkReferenceDialogFn)(HWND owner, const wchar_t* caption);
void FrameworkSetReferenceDialogHook(FrameworkReferenceDialogFn hook);

// Builds the warning dialog's template in memory into `buffer`; returns the
// bytes used, 0 when it does not fit. Exposed for tests.
size_t FrameworkBuildReferenceDialogTemplate(const wchar_t* caption, WORD* buffer,
                                             size_t bufferWords);
