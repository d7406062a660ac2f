// The settings file at the edges of the game's life: a close that comes
// before the file was read (a start-up that ends early) leaves it byte for
// byte as it was, and a close after the reading writes it again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/device.h"
#include "framework/enumeration.h"
#include "framework/fake_device.h"
#include "framework/framework_state.h"
#include "framework/matching.h"
#include "framework/startup.h"
#include "framework/test_recorder.h"
#include "framework/window.h"
#include "stock/generator_thread.h"
#include "stock/puzzle_stock.h"
#include "stock/settings_file.h"
#include "view/board_view.h"
#include "view/device_callbacks.h"
#include "view/view_size_setting.h"
#include "view/view_test_support.h"

namespace {

// The file's bytes; empty when it cannot be read.
std::string ReadWhole(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A player's file: size 0 (large) and three level-1 puzzles.
class SettingsAtCloseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path = std::wstring(base) + L"kubri-close-" + std::to_wstring(GetCurrentProcessId()) + L".dat";
    BoardView writer(TestLinks(&board, &prepared));
    writer.SetSizeIndex(0);
    for (int i = 0; i < 3; ++i) {
      Board puzzle;
      ASSERT_TRUE(puzzle.Generate(1, 1, Board::kWaitedForAttempts));
      prepared.Add(&puzzle);
    }
    ViewSizeSetting setting(writer);
    ASSERT_TRUE(SaveSettingsFile(setting, prepared, path.c_str()));
    before = ReadWhole(path);
    ASSERT_FALSE(before.empty());
  }
  void TearDown() override { DeleteFileW(path.c_str()); }

  // A view of its own stock and generator, saving to the prepared file.
  ViewLinks Links() {
    ViewLinks links = TestLinks(&board, &stock);
    links.generator = &generator;
    links.settingsPath = path.c_str();
    return links;
  }

  Board board;
  PuzzleStock prepared;
  PuzzleStock stock;
  GeneratorThread generator{stock};
  std::wstring path;
  std::string before;
};

TEST_F(SettingsAtCloseTest, CloseBeforeTheFileIsReadLeavesItAsItWasThenCloseAfterSavesIt) {
  BoardView view(Links());
  EXPECT_FALSE(view.HasReadSettingsFile());
  EXPECT_EQ(view.HandleMessage(nullptr, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(ReadWhole(path), before) << "a close before the reading wrote the file";

  ReadViewSettings(view, stock);
  EXPECT_TRUE(view.HasReadSettingsFile());
  EXPECT_EQ(view.GetSizeIndex(), 0);
  EXPECT_EQ(stock.Count(1), 3);
  DeleteFileW(path.c_str());
  EXPECT_EQ(view.OnClose(), 0);
  EXPECT_EQ(ReadWhole(path), before) << "the close after the reading saves size and stock";
}

TEST_F(SettingsAtCloseTest, ReadingAMissingFileStillLetsTheCloseSave) {
  DeleteFileW(path.c_str());
  BoardView view(Links());
  ReadViewSettings(view, stock);
  EXPECT_EQ(view.GetSizeIndex(), 1);
  EXPECT_EQ(view.OnClose(), 0);
  EXPECT_EQ(ReadWhole(path).substr(0, 3), "1\r\n");
}

// The reference-device warning answered No shuts the framework down while
// the first device is still being made, before the game reads its file: the
// close that shutdown sends must not save.
LRESULT RouteToView(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool&,
                    void* view) {
  static_cast<BoardView*>(view)->HandleMessage(window, message, wParam, lParam);
  return 0;
}
INT_PTR AnswerNo(HWND, const wchar_t*) { return IDNO; }

TEST_F(SettingsAtCloseTest, RefusedReferenceDeviceLeavesTheFileAsItWas) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kFrameworkReferenceWarningKey, 0, KEY_SET_VALUE, &key) ==
      ERROR_SUCCESS) {
    RegDeleteValueW(key, kFrameworkReferenceWarningValue);
    RegCloseKey(key);
  }
  ViewLinks links = Links();
  links.mainWindow = FrameworkGetWindow;
  BoardView view(links);
  FrameworkSetOnMessage(RouteToView, &view);
  FrameworkSetReferenceDialogHook(AnswerNo);
  ASSERT_EQ(S_OK, FrameworkInit(false, true, true, true));
  ASSERT_EQ(S_OK, FrameworkCreateWindow(L"Kubri", nullptr, nullptr, nullptr, CW_USEDEFAULT,
                                        CW_USEDEFAULT));
  FrameworkSetOnModifyDeviceSettings(OnModifyDeviceSettings, nullptr);
  ASSERT_NE(nullptr, FrameworkGetEnumeration(true));
  DeviceSettings found{};
  ASSERT_EQ(S_OK, fwtest::FindWindowedSettings(320, 320, &found));
  found.deviceType = D3DDEVTYPE_REF;

  FakeDevice fake;
  FrameworkChangeDevice(&found, &fake, false, true);
  EXPECT_EQ(1, FrameworkGetExitCode());
  EXPECT_EQ(nullptr, FrameworkGetWindow()) << "No did not shut the framework down";
  EXPECT_EQ(ReadWhole(path), before) << "the shutdown's close wrote over the player's file";

  FrameworkShutdown(0);
  FrameworkSetReferenceDialogHook(nullptr);
  FrameworkSetOnMessage(nullptr, nullptr);
  FrameworkGetState().ResetFieldsForTest();
}

}  // namespace
