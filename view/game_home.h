// Where Kubri keeps Kubri.dat and the files beside it (the saved game, the
// records, the player's options): the folder it starts in, or the player's
// own local application data when that folder cannot be written (a zip
// unpacked under C:\Program Files).
#pragma once

#include <string>

// Whether a new file can be made in `folder` (a probe file is created and
// deleted at once). False for a folder that does not exist.
bool FolderIsWritable(const std::wstring& folder);

// The settings file's path. `workingFolder` is the folder the game starts in
// ("." in the game); `localAppData` the player's local application data
// folder (empty when unknown). A writable working folder gives
// "<workingFolder>\Kubri.dat", as always. Otherwise the file lives in
// "<localAppData>\Kubri", made when missing, as long as that can be written;
// when neither can, the working folder's path is kept.
std::wstring ChooseSettingsPath(const std::wstring& workingFolder, const std::wstring& localAppData);

// %LOCALAPPDATA%, or the shell's local application data folder when the
// variable is not set; empty when neither is known.
std::wstring LocalAppDataFolder();
