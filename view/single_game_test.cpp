// One game per folder: the claim on a folder, the mark on the window that a
// second copy looks for, and the wait for a copy that is closing.
#include "view/single_game.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <thread>

#include "view/view_test_support.h"

namespace {

std::wstring TempFolder(const wchar_t* leaf) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + leaf + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// A claim made and held on a thread of its own: the mutex belongs to the
// thread that waited for it, as it belongs to the second process.
bool ClaimElsewhere(const std::wstring& settings, DWORD wait, HWND* found = nullptr) {
  return std::async(std::launch::async, [&] {
           GameFolderClaim claim(settings.c_str());
           const bool claimed = claim.Claim(wait);
           if (found) *found = claim.FindMarkedWindow();
           return claimed;
         })
      .get();
}

TEST(SingleGameTest, EverySpellingOfAFolderNamesOneMutexAndOtherFoldersAnother) {
  const std::wstring folder = TempFolder(L"kubri-single-a-");
  const std::wstring name = GameFolderMutexName((folder + L"\\Kubri.dat").c_str());
  ASSERT_EQ(name.rfind(L"Local\\Kubri-", 0), 0u);
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
  std::wstring upper = folder;
  CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
  EXPECT_EQ(GameFolderMutexName((upper + L"\\Kubri.dat").c_str()), name);
  EXPECT_EQ(GameFolderMutexName((folder + L"\\sub\\..\\Kubri.dat").c_str()), name);
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  SetCurrentDirectoryW(folder.c_str());
  EXPECT_EQ(GameFolderMutexName(L".\\Kubri.dat"), name);
  SetCurrentDirectoryW(current);
  const std::wstring other = TempFolder(L"kubri-single-b-");
  EXPECT_NE(GameFolderMutexName((other + L"\\Kubri.dat").c_str()), name);
  EXPECT_EQ(GameFolderMutexName(L""), L"");
  RemoveDirectoryW(folder.c_str());
  RemoveDirectoryW(other.c_str());
}

TEST(SingleGameTest, SecondCopyFindsTheMarkedWindowAndAnotherFolderStillPlays) {
  const std::wstring settings = TempFolder(L"kubri-single-c-") + L"\\Kubri.dat";
  const std::wstring elsewhere = TempFolder(L"kubri-single-d-") + L"\\Kubri.dat";
  GameFolderClaim first(settings.c_str());
  ASSERT_TRUE(first.Claim(0));
  EXPECT_TRUE(first.Claim(0));  // claiming again changes nothing

  // No window yet: the second copy waits out its time, then gives up.
  DWORD start = GetTickCount();
  EXPECT_FALSE(ClaimElsewhere(settings, 300));
  EXPECT_GE(GetTickCount() - start, 250u);

  // With the window marked it stops waiting at once and finds it.
  TestWindow window(nullptr);
  first.MarkWindow(window.Handle());
  HWND found = nullptr;
  start = GetTickCount();
  EXPECT_FALSE(ClaimElsewhere(settings, 10000, &found));
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(found, window.Handle());
  EXPECT_TRUE(ClaimElsewhere(elsewhere, 0));

  // A closing window carries no mark.
  GameFolderClaim::UnmarkWindow(window.Handle());
  EXPECT_EQ(first.FindMarkedWindow(), nullptr);
}

TEST(SingleGameTest, CopyStartedWhileTheFirstClosesPlaysOnceItHasEnded) {
  const std::wstring settings = TempFolder(L"kubri-single-e-") + L"\\Kubri.dat";
  auto first = std::make_unique<GameFolderClaim>(settings.c_str());
  ASSERT_TRUE(first->Claim(0));
  std::future<bool> second = std::async(std::launch::async, [&] {
    GameFolderClaim claim(settings.c_str());
    return claim.Claim(10000);
  });
  Sleep(300);
  first.reset();  // the first copy ends
  EXPECT_TRUE(second.get());
}

}  // namespace
