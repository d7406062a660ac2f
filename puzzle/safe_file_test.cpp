// Replacing a file only once its new content is whole.
#include "puzzle/safe_file.h"

#include <gtest/gtest.h>

#include <utility>

#include "puzzle/test_files.h"

namespace {

TEST(SafeFileWriterTest, CommitReplacesTheTargetWithTextModeLineEnds) {
  ScratchFolder files;
  files.WriteBytes("target", "old content that is longer\n");
  SafeFileWriter writer;
  ASSERT_TRUE(writer.Open(files.Path("target").c_str()));
  EXPECT_FALSE(writer.Open(files.Path("target").c_str()));  // already open
  std::fputs("one\ntwo\n", writer.Stream());
  EXPECT_EQ(files.ReadBytes("target"), "old content that is longer\n");
  ASSERT_TRUE(writer.Commit());
#ifdef _WIN32
  EXPECT_EQ(files.ReadBytes("target"), "one\r\ntwo\r\n");
#else
  EXPECT_EQ(files.ReadBytes("target"), "one\ntwo\n");
#endif
  EXPECT_EQ(files.ReadBytes("target.tmp"), "<missing>");
  EXPECT_EQ(writer.Stream(), nullptr);
  EXPECT_FALSE(writer.Commit());
}

TEST(SafeFileWriterTest, WriterDroppedBeforeCommitLeavesTheTarget) {
  ScratchFolder files;
  files.WriteBytes("target", "keep me");
  {
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(files.Path("target").c_str()));
    std::fputs("half", writer.Stream());
  }
  EXPECT_EQ(files.ReadBytes("target"), "keep me");
  EXPECT_EQ(files.ReadBytes("target.tmp"), "<missing>");
}

TEST(SafeFileWriterTest, MovedWriterCommitsOnce) {
  ScratchFolder files;
  SafeFileWriter first;
  ASSERT_TRUE(first.Open(files.Path("new").c_str()));
  std::fputs("moved", first.Stream());
  SafeFileWriter second(std::move(first));
  EXPECT_EQ(first.Stream(), nullptr);
  EXPECT_FALSE(first.Commit());
  SafeFileWriter third;
  third = std::move(second);
  ASSERT_TRUE(third.Commit());
  EXPECT_EQ(files.ReadBytes("new"), "moved");
}

TEST(SafeFileWriterTest, UnopenableFilesAreRefused) {
  ScratchFolder files;
  SafeFileWriter writer;
  EXPECT_FALSE(writer.Open(nullptr));
  EXPECT_FALSE(writer.Open(L""));
  EXPECT_FALSE(writer.Open(files.Path("missing-folder/file").c_str()));
  EXPECT_EQ(writer.Stream(), nullptr);
  EXPECT_EQ(OpenTextFileForReading(files.Path("absent").c_str()), nullptr);
  EXPECT_EQ(OpenTextFileForReading(nullptr), nullptr);
}

#ifndef _WIN32
TEST(SafeFileWriterTest, FailedWriteIsReportedAndKeepsTheTarget) {
  // /dev/full accepts the open and fails every flush: a full disk.
  ScratchFolder files;
  std::error_code error;
  std::filesystem::create_symlink("/dev/full", files.NativePath("target.tmp"), error);
  if (error) GTEST_SKIP() << "no /dev/full";
  files.WriteBytes("target", "precious");
  SafeFileWriter writer;
  ASSERT_TRUE(writer.Open(files.Path("target").c_str()));
  std::fputs("new content", writer.Stream());
  EXPECT_FALSE(writer.Commit());
  EXPECT_EQ(files.ReadBytes("target"), "precious");
}
#endif

// One, two, three and four UTF-8 bytes; a character beyond the basic plane
// comes from a surrogate pair where wide characters are 16 bits.
TEST(SafeFileWriterTest, LeftoverTemporaryIsRemovedAndTheTargetKept) {
  ScratchFolder files;
  files.WriteBytes("target", "whole");
  files.WriteBytes("target.tmp", "half of a killed wri");
  EXPECT_TRUE(RemoveLeftoverTemporary(files.Path("target").c_str()));
  EXPECT_EQ(files.ReadBytes("target.tmp"), "<missing>");
  EXPECT_EQ(files.ReadBytes("target"), "whole");
  EXPECT_FALSE(RemoveLeftoverTemporary(files.Path("target").c_str()));  // none left
  EXPECT_FALSE(RemoveLeftoverTemporary(L""));
}

TEST(WideToUtf8Test, EncodesEveryPlaneAndMarksWhatHasNoEncoding) {
  std::string out;
  const std::wstring text = std::wstring(L"a\u00e9\u6b63") +
                            (sizeof(wchar_t) == 2 ? std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}
                                                  : std::wstring{wchar_t(0x1F600)});
  EXPECT_TRUE(WideToUtf8(text.c_str(), &out));
  EXPECT_EQ(out, "a\xC3\xA9\xE6\xAD\xA3\xF0\x9F\x98\x80");
  const std::wstring lone{L'x', wchar_t(0xDC00), L'y'};
  EXPECT_FALSE(WideToUtf8(lone.c_str(), &out));
  EXPECT_EQ(out, "x\xEF\xBF\xBDy");
  EXPECT_TRUE(WideToUtf8(L"", &out));
  EXPECT_EQ(out, "");
}

}  // namespace
