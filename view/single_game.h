// One game per folder: the folder that holds the game's files is claimed
// with a named mutex for as long as a copy of the game runs there, and that
// copy's window carries the folder's mark, so that a second copy started in
// the same folder can bring it to the front instead of playing beside it
// (two copies would each overwrite the other's saved game).
#pragma once

#include <windows.h>

#include <string>

// The name of the folder's mutex: "Local\Kubri-" and a hash of the folder's
// full path in capitals, since a mutex name holds no backslash and may be
// shorter than a path. The same for every spelling of one folder (relative,
// other case, trailing separator); empty when the path cannot be resolved.
std::wstring GameFolderMutexName(const wchar_t* settingsPath);

class GameFolderClaim {
 public:
  // Borrows nothing; owns the mutex handle from Claim on.
  explicit GameFolderClaim(const wchar_t* settingsPath);
  ~GameFolderClaim();
  GameFolderClaim(const GameFolderClaim&) = delete;
  GameFolderClaim& operator=(const GameFolderClaim&) = delete;

  // Claims the folder for the calling thread. True when this copy may play
  // there: nobody else holds it, the copy that held it ends within
  // `waitMilliseconds`, or the mutex cannot be had at all (a copy is then
  // not kept from playing). False when another copy holds it: its window,
  // once it has one, was brought to the front (restored if minimised), and
  // this copy should end without writing anything.
  bool Claim(DWORD waitMilliseconds);

  // Marks the main window as the folder's game, for later copies to find.
  void MarkWindow(HWND window) const;
  // Takes the mark away again, as the window closes: a copy started while
  // this one shuts down then waits for it to end instead of finding it.
  static void UnmarkWindow(HWND window);
  // The top-level window marked for this folder (by any process), or null.
  HWND FindMarkedWindow() const;

 private:
  std::wstring name;
  ULONG_PTR mark = 0;  // the folder's hash, never 0
  HANDLE mutex = nullptr;
  bool owned = false;
};

// Brings `window` (or the box it shows) to the front, restoring it when
// minimised.
void BringGameToFront(HWND window);
