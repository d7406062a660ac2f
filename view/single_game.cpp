// The claim on the game's folder and the mark on its window.
#include "view/single_game.h"

#include <cstdint>
#include <vector>

namespace {

const wchar_t kMarkProperty[] = L"Kubri.GameFolder";

// The folder of `settingsPath` as one spelling: full, long, capitals, no
// trailing separator.
std::wstring FolderOf(const wchar_t* settingsPath) {
  if (!settingsPath || !*settingsPath) return std::wstring();
  wchar_t* filePart = nullptr;
  DWORD length = GetFullPathNameW(settingsPath, 0, nullptr, nullptr);
  if (length == 0) return std::wstring();
  std::vector<wchar_t> full(length + 1);
  length = GetFullPathNameW(settingsPath, length + 1, full.data(), &filePart);
  if (length == 0 || length > full.size()) return std::wstring();
  std::wstring folder(full.data(), filePart ? filePart : full.data() + length);
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  // The short 8.3 spelling of a folder names the same folder.
  DWORD longLength = GetLongPathNameW(folder.c_str(), nullptr, 0);
  if (longLength > 0) {
    std::vector<wchar_t> longer(longLength + 1);
    longLength = GetLongPathNameW(folder.c_str(), longer.data(), longLength + 1);
    if (longLength > 0 && longLength < longer.size()) folder.assign(longer.data(), longLength);
  }
  if (!folder.empty()) CharUpperBuffW(&folder[0], static_cast<DWORD>(folder.size()));
  return folder;
}

std::uint64_t HashOf(const std::wstring& text) {
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a over the UTF-16 units
  for (wchar_t c : text) {
    hash ^= static_cast<std::uint16_t>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

struct Search {
  ULONG_PTR mark;
  HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  if (reinterpret_cast<ULONG_PTR>(GetPropW(window, kMarkProperty)) != search->mark) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::wstring GameFolderMutexName(const wchar_t* settingsPath) {
  const std::wstring folder = FolderOf(settingsPath);
  if (folder.empty()) return std::wstring();
  wchar_t hex[17];
  const std::uint64_t hash = HashOf(folder);
  for (int i = 0; i < 16; ++i) hex[i] = L"0123456789abcdef"[(hash >> (60 - 4 * i)) & 15];
  hex[16] = 0;
  return std::wstring(L"Local\\Kubri-") + hex;
}

GameFolderClaim::GameFolderClaim(const wchar_t* settingsPath) : name(GameFolderMutexName(settingsPath)) {
  mark = static_cast<ULONG_PTR>(HashOf(name)) | 1;
}

GameFolderClaim::~GameFolderClaim() {
  if (owned) ReleaseMutex(mutex);
  if (mutex) CloseHandle(mutex);
}

bool GameFolderClaim::Claim(DWORD waitMilliseconds) {
  if (owned) return true;
  if (!mutex && !name.empty()) mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  if (!mutex) return true;
  // In steps, so that the other copy's window is found as soon as it shows.
  const ULONGLONG deadline = GetTickCount64() + waitMilliseconds;
  for (;;) {
    const DWORD waited = WaitForSingleObject(mutex, 0);
    // An abandoned mutex is owned all the same: that copy ended.
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
      owned = true;
      return true;
    }
    if (waited == WAIT_FAILED) return true;
    if (HWND running = FindMarkedWindow()) {
      BringGameToFront(running);
      return false;
    }
    if (GetTickCount64() >= deadline) return false;
    const DWORD step = WaitForSingleObject(mutex, 100);
    if (step == WAIT_OBJECT_0 || step == WAIT_ABANDONED) {
      owned = true;
      return true;
    }
  }
}

void GameFolderClaim::MarkWindow(HWND window) const {
  if (window) SetPropW(window, kMarkProperty, reinterpret_cast<HANDLE>(mark));
}

void GameFolderClaim::UnmarkWindow(HWND window) {
  if (window) RemovePropW(window, kMarkProperty);
}

HWND GameFolderClaim::FindMarkedWindow() const {
  Search search{mark, nullptr};
  EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void BringGameToFront(HWND window) {
  if (!window) return;
  // Asynchronous: a copy busy with a long step must not hold this one up.
  if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
  HWND popup = GetLastActivePopup(window);
  SetForegroundWindow(popup ? popup : window);
}
