// The player's switches for the aids (marks that follow entries, clashes
// shown), kept between runs in a small file of their own beside the
// settings file.
#pragma once

#include <cstdio>
#include <string>

#include "stock/saved_game.h"

// Both off unless the player turned them on.
struct PlayerOptions {
  bool marksFollowEntries = false;  // an entered digit takes its marks from its peers
  bool showClashes = false;         // digits repeated in a house drawn in the clash colour
};

// A version line, then one line per switch ("show clashes 1").
bool WritePlayerOptions(FILE* stream, const PlayerOptions& options);
// False for anything but the complete options of this version, each switch
// 0 or 1. `options` is unspecified after false.
bool ParsePlayerOptions(const std::string& text, PlayerOptions* options);

// The options' file name, beside the settings file (SiblingPath).
inline constexpr wchar_t kOptionsFileName[] = L"KubriOptions.dat";

// Reads the options file into `options` (both off unless kGameFileRead). A
// damaged or newer file is renamed aside (as SetFileAside) and reported
// kGameFileBad; kGameFileUnreadable when it could be neither read nor set
// aside, and the caller must then not write over it.
GameFileResult LoadOptionsFile(const wchar_t* path, PlayerOptions* options);
// Atomic, as SaveGameFile.
bool SaveOptionsFile(const wchar_t* path, const PlayerOptions& options);
