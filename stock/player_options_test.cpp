// The options file: what it keeps, what it refuses, and where a bad one goes.
#include "stock/player_options.h"

#include <gtest/gtest.h>

#include "puzzle/test_files.h"

namespace {

TEST(PlayerOptionsTest, EachCombinationOfSwitchesComesBackFromTheFile) {
  ScratchFolder folder;
  const std::wstring path = folder.Path("KubriOptions.dat");
  PlayerOptions back;
  EXPECT_EQ(LoadOptionsFile(path.c_str(), &back), kGameFileMissing);
  EXPECT_FALSE(back.marksFollowEntries || back.showClashes);
  for (int bits = 0; bits < 4; ++bits) {
    PlayerOptions options;
    options.marksFollowEntries = (bits & 1) != 0;
    options.showClashes = (bits & 2) != 0;
    ASSERT_TRUE(SaveOptionsFile(path.c_str(), options));
    back = PlayerOptions();
    back.marksFollowEntries = !options.marksFollowEntries;
    ASSERT_EQ(LoadOptionsFile(path.c_str(), &back), kGameFileRead) << bits;
    EXPECT_EQ(back.marksFollowEntries, options.marksFollowEntries) << bits;
    EXPECT_EQ(back.showClashes, options.showClashes) << bits;
  }
  EXPECT_EQ(folder.ReadText("KubriOptions.dat"), "Kubri options 1\nmarks follow entries 1\nshow clashes 1\n");
  EXPECT_EQ(folder.FileCount(), 1) << "no temporary file left behind";
}

TEST(PlayerOptionsTest, OnlyCompleteOptionsOfThisVersionAreRead) {
  PlayerOptions options;
  EXPECT_TRUE(ParsePlayerOptions("Kubri options 1\r\nmarks follow entries 0\r\nshow clashes 1\r\n", &options));
  EXPECT_TRUE(options.showClashes);
  const char* const refused[] = {
      "",
      "Kubri options 2\nmarks follow entries 0\nshow clashes 0\n",  // newer
      "Kubri options 1\nmarks follow entries 0\n",                  // cut short
      "Kubri options 1\nmarks follow entries 0\nshow clashes 0",    // no last line end
      "Kubri options 1\nmarks follow entries 2\nshow clashes 0\n",  // not a switch
      "Kubri options 1\nmarks follow entries -1\nshow clashes 0\n",
      "Kubri options 1\nshow clashes 0\nmarks follow entries 0\n",  // out of order
      "Kubri options 1\nmarks follow entries 0\nshow clashes 0\nmore 1\n",
      "Kubri options 1\nmarks follow entries  1\nshow clashes 0\n",
  };
  for (const char* text : refused) EXPECT_FALSE(ParsePlayerOptions(text, &options)) << text;
}

TEST(PlayerOptionsTest, BadFileIsSetAsideAndReadAsBothOff) {
  ScratchFolder folder;
  const std::wstring path = folder.Path("KubriOptions.dat");
  ASSERT_TRUE(folder.WriteBytes("KubriOptions.dat", "Kubri options 1\nshow clashes 1\n"));
  ASSERT_TRUE(folder.WriteBytes("KubriOptions.dat.bad", "older\n"));
  PlayerOptions options;
  options.showClashes = true;
  EXPECT_EQ(LoadOptionsFile(path.c_str(), &options), kGameFileBad);
  EXPECT_FALSE(options.showClashes || options.marksFollowEntries);
  EXPECT_EQ(folder.ReadBytes("KubriOptions.dat"), "<missing>");
  EXPECT_EQ(folder.ReadBytes("KubriOptions.dat.bad"), "older\n");
  EXPECT_EQ(folder.ReadBytes("KubriOptions.dat.bad2"), "Kubri options 1\nshow clashes 1\n");
  // An oversized file is never read whole.
  ASSERT_TRUE(folder.WriteBytes("KubriOptions.dat", std::string(100000, '1')));
  EXPECT_EQ(LoadOptionsFile(path.c_str(), &options), kGameFileBad);
}

TEST(PlayerOptionsTest, FailedSaveIsReportedAndTheFileBeforeStays) {
  ScratchFolder folder;
  const std::wstring path = folder.Path("KubriOptions.dat");
  PlayerOptions options;
  options.showClashes = true;
  ASSERT_TRUE(SaveOptionsFile(path.c_str(), options));
  EXPECT_FALSE(SaveOptionsFile(folder.Path("missing/KubriOptions.dat").c_str(), options));
  EXPECT_FALSE(WritePlayerOptions(nullptr, options));
  PlayerOptions back;
  ASSERT_EQ(LoadOptionsFile(path.c_str(), &back), kGameFileRead);
  EXPECT_TRUE(back.showClashes);
}

}  // namespace
