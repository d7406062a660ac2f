// The folder of the game's own files: the working folder while it can be
// written, the player's local application data when it cannot, and never a
// trace of the write probe left behind.
#include "view/game_home.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int FilesIn(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

class GameHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    root = std::wstring(base) + L"kubri-home-" + std::to_wstring(GetCurrentProcessId());
    game = root + L"\\game";
    local = root + L"\\local";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(game.c_str(), nullptr);
    CreateDirectoryW(local.c_str(), nullptr);
  }
  void TearDown() override {
    RemoveDirectoryW((local + L"\\Kubri").c_str());
    RemoveDirectoryW(local.c_str());
    RemoveDirectoryW(game.c_str());
    RemoveDirectoryW(root.c_str());
  }

  std::wstring root, game, local;
};

TEST_F(GameHomeTest, WritableWorkingFolderKeepsTheFilesThereAndLeavesNoProbe) {
  EXPECT_TRUE(FolderIsWritable(game));
  EXPECT_EQ(game + L"\\Kubri.dat", ChooseSettingsPath(game, local));
  EXPECT_EQ(game + L"\\Kubri.dat", ChooseSettingsPath(game + L"\\", local));
  EXPECT_EQ(0, FilesIn(game));
  EXPECT_FALSE(Exists(local + L"\\Kubri"));
}

TEST_F(GameHomeTest, TheStartFolderKeepsItsRelativePath) {
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(game.c_str()));
  const std::wstring chosen = ChooseSettingsPath(L".", local);
  SetCurrentDirectoryW(before);
  EXPECT_EQ(L".\\Kubri.dat", chosen);
}

TEST_F(GameHomeTest, FolderThatCannotBeWrittenSendsTheFilesToLocalAppData) {
  // A folder that does not exist stands for one that cannot be written.
  const std::wstring closed = root + L"\\missing";
  EXPECT_FALSE(FolderIsWritable(closed));
  EXPECT_EQ(local + L"\\Kubri\\Kubri.dat", ChooseSettingsPath(closed, local));
  EXPECT_TRUE(Exists(local + L"\\Kubri"));
  // The next start finds the same place, now that the folder exists.
  EXPECT_EQ(local + L"\\Kubri\\Kubri.dat", ChooseSettingsPath(closed, local + L"\\"));
  EXPECT_EQ(0, FilesIn(local + L"\\Kubri"));
}

TEST_F(GameHomeTest, NowhereToWriteKeepsTheWorkingFolder) {
  const std::wstring closed = root + L"\\missing";
  EXPECT_EQ(closed + L"\\Kubri.dat", ChooseSettingsPath(closed, root + L"\\also-missing\\deeper"));
  EXPECT_EQ(closed + L"\\Kubri.dat", ChooseSettingsPath(closed, L""));
  EXPECT_FALSE(Exists(root + L"\\also-missing"));
}

TEST(GameHomeEnvironmentTest, LocalAppDataComesFromTheEnvironmentFirst) {
  wchar_t saved[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", saved, MAX_PATH + 1);
  SetEnvironmentVariableW(L"LOCALAPPDATA", L"C:\\somewhere");
  EXPECT_EQ(L"C:\\somewhere", LocalAppDataFolder());
  SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
  EXPECT_FALSE(LocalAppDataFolder().empty());  // the shell's folder
  SetEnvironmentVariableW(L"LOCALAPPDATA", length > 0 && length <= MAX_PATH ? saved : nullptr);
}

}  // namespace
