// The framework's own failure codes and the one place fatal errors are shown.
#pragma once

#include <windows.h>

// Failure HRESULTs of facility FACILITY_ITF, codes 0x901 to 0x909.
constexpr HRESULT FW_E_NODIRECT3D = static_cast<HRESULT>(0x80040901L);
constexpr HRESULT FW_E_NOCOMPATIBLEDEVICES = static_cast<HRESULT>(0x80040902L);
constexpr HRESULT FW_E_MEDIANOTFOUND = static_cast<HRESULT>(0x80040903L);
constexpr HRESULT FW_E_NONZEROREFCOUNT = static_cast<HRESULT>(0x80040904L);
constexpr HRESULT FW_E_CREATINGDEVICE = static_cast<HRESULT>(0x80040905L);
constexpr HRESULT FW_E_RESETTINGDEVICE = static_cast<HRESULT>(0x80040906L);
constexpr HRESULT FW_E_CREATINGDEVICEOBJECTS = static_cast<HRESULT>(0x80040907L);
constexpr HRESULT FW_E_RESETTINGDEVICEOBJECTS = static_cast<HRESULT>(0x80040908L);
constexpr HRESULT FW_E_INCORRECTVERSION = static_cast<HRESULT>(0x80040909L);
// The D3DX runtime (d3dx9_31.dll) cannot be loaded: what the calls made
// through it return then. Never reported; the game reads its texture itself.
constexpr HRESULT FW_E_NOD3DXRUNTIME = static_cast<HRESULT>(0x80040910L);

// Exit code of a run that ended on the reference device; not an error.
constexpr int kFrameworkExitCodeReference = 11;

// The process exit code for an error code: 2 to 10 for the FW_E_ codes,
// 1 for anything else.
int FrameworkExitCodeForError(HRESULT code);

// The English message for an error code, or null when the code has none.
// `remoteSession` selects the remote-session text of FW_E_NOCOMPATIBLEDEVICES.
const wchar_t* FrameworkErrorMessage(HRESULT code, bool remoteSession);

// Sets the exit code for `code` and, for a known code and unless message
// boxes are off, shows a modal error box owned by the main window (if any),
// captioned with the window title or "DirectX Application". Returns the box's
// result, or 0 when no box was shown. Main thread only.
int FrameworkReportError(HRESULT code);

// Stands in for MessageBoxW inside FrameworkReportError, so that the box can
// be checked without blocking. Null restores the real MessageBoxW.
typedef int (*FrameworkMessageBoxFn)(HWND owner, const wchar_t* text,
                                     const wchar_t* caption, UINT style);
void FrameworkSetMessageBoxHook(FrameworkMessageBoxFn hook);
