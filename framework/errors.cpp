// Fatal-error reporting: exit codes and the English error box.
#include "framework/errors.h"

#include <wchar.h>

#include "framework/framework_state.h"

namespace {

constexpr size_t kMessageLength = 512;

struct ErrorEntry {
  HRESULT code;
  int exitCode;
  const wchar_t* message;
};

// Two blanks after "system." in the first text are intended.
const ErrorEntry kErrors[] = {
    {FW_E_NODIRECT3D, 2,
     L"Could not initialize Direct3D. You may want to check that the latest "
     L"version of DirectX is correctly installed on your system.  Also make "
     L"sure that this program was compiled with header files that match the "
     L"installed DirectX DLLs."},
    {FW_E_NOCOMPATIBLEDEVICES, 3, L"Could not find any compatible Direct3D devices."},
    {FW_E_MEDIANOTFOUND, 4,
     L"Could not find required media. Ensure that the DirectX SDK is correctly installed."},
    {FW_E_NONZEROREFCOUNT, 5,
     L"The D3D device has a non-zero reference count, meaning some objects were not released."},
    {FW_E_CREATINGDEVICE, 6, L"Failed creating the Direct3D device."},
    {FW_E_RESETTINGDEVICE, 7, L"Failed resetting the Direct3D device."},
    {FW_E_CREATINGDEVICEOBJECTS, 8, L"Failed creating Direct3D device objects."},
    {FW_E_RESETTINGDEVICEOBJECTS, 9, L"Failed resetting Direct3D device objects."},
    {FW_E_INCORRECTVERSION, 10, L"Incorrect version of Direct3D and/or D3DX."},
};

const wchar_t kRemoteSessionMessage[] = L"Direct3D does not work over a remote session.";
const wchar_t kDefaultCaption[] = L"DirectX Application";

FrameworkMessageBoxFn g_messageBoxHook = nullptr;

const ErrorEntry* FindError(HRESULT code) {
  for (const ErrorEntry& entry : kErrors) {
    if (entry.code == code) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace

int FrameworkExitCodeForError(HRESULT code) {
  const ErrorEntry* entry = FindError(code);
  return entry ? entry->exitCode : 1;
}

const wchar_t* FrameworkErrorMessage(HRESULT code, bool remoteSession) {
  if (code == FW_E_NOCOMPATIBLEDEVICES && remoteSession) {
    return kRemoteSessionMessage;
  }
  const ErrorEntry* entry = FindError(code);
  return entry ? entry->message : nullptr;
}

void FrameworkSetMessageBoxHook(FrameworkMessageBoxFn hook) { g_messageBoxHook = hook; }

int FrameworkReportError(HRESULT code) {
  FrameworkState& state = FrameworkGetState();
  state.SetExitCode(FrameworkExitCodeForError(code));
  const ErrorEntry* entry = FindError(code);
  if (!entry || !state.GetShowMsgBoxOnError()) {
    return 0;
  }

  wchar_t text[kMessageLength];
  const bool remote = GetSystemMetrics(SM_REMOTESESSION) != 0;
  wcsncpy(text, FrameworkErrorMessage(code, remote), kMessageLength - 1);
  text[kMessageLength - 1] = L'\0';

  // The caption is copied so that the box never reads the live title buffer.
  wchar_t caption[kWindowTitleLength];
  const wchar_t* title = state.GetWindowTitle();
  wcsncpy(caption, title[0] != L'\0' ? title : kDefaultCaption, kWindowTitleLength - 1);
  caption[kWindowTitleLength - 1] = L'\0';

  const HWND owner = FrameworkGetWindow();
  const UINT style = MB_ICONERROR | MB_OK;
  if (g_messageBoxHook) {
    return g_messageBoxHook(owner, text, caption, style);
  }
  // A failed box has nothing left to report to: its result is returned as is.
  return MessageBoxW(owner, text, caption, style);
}
