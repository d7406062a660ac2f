// Chooses the folder of the game's own files: the working folder when it can
// be written, the player's local application data otherwise.
#include "view/game_home.h"

#include <windows.h>
#include <shlobj.h>

#include "stock/settings_file.h"

namespace {

std::wstring Joined(const std::wstring& folder, const wchar_t* name) {
  if (folder.empty()) return name;
  const wchar_t last = folder.back();
  return folder + (last == L'\\' || last == L'/' ? L"" : L"\\") + name;
}

}  // namespace

bool FolderIsWritable(const std::wstring& folder) {
  // A name of our own, so that no player's file is touched; deleted when
  // the handle closes.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::wstring probe =
        Joined(folder, (L"Kubri-write-check-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(attempt) + L".tmp")
                           .c_str());
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

std::wstring ChooseSettingsPath(const std::wstring& workingFolder, const std::wstring& localAppData) {
  // The working folder's path keeps the ".\Kubri.dat" form it always had.
  const std::wstring here = workingFolder == L"." ? std::wstring(kSettingsFileName)
                                                  : Joined(workingFolder, L"Kubri.dat");
  if (FolderIsWritable(workingFolder) || localAppData.empty()) return here;
  const std::wstring home = Joined(localAppData, L"Kubri");
  // An existing folder makes CreateDirectoryW fail; the probe decides.
  CreateDirectoryW(home.c_str(), nullptr);
  if (!FolderIsWritable(home)) return here;
  return Joined(home, L"Kubri.dat");
}

std::wstring LocalAppDataFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH + 1);
  if (length > 0 && length <= MAX_PATH) return buffer;
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                 SHGFP_TYPE_CURRENT, buffer))) {
    return buffer;
  }
  return std::wstring();
}
