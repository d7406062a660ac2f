// Error reporting: exit codes, texts, owner and caption, without blocking.
#include "framework/errors.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/framework_state.h"
#include "framework/startup.h"

namespace {

struct Box {
  int shown = 0;
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT style = 0;
};
Box g_box;

int RecordBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
  ++g_box.shown;
  g_box.owner = owner;
  g_box.text = text;
  g_box.caption = caption;
  g_box.style = style;
  return IDOK;
}

const HWND kFullScreenWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x100));
const HWND kWindowedWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x200));

class ErrorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FrameworkGetState().ResetFieldsForTest();
    g_box = Box();
    FrameworkSetMessageBoxHook(RecordBox);
  }
  void TearDown() override {
    FrameworkSetMessageBoxHook(nullptr);
    FrameworkGetState().ResetFieldsForTest();
  }
};

TEST_F(ErrorsTest, EachCodeSetsItsExitCodeAndShowsItsText) {
  const struct {
    HRESULT code;
    int exitCode;
    const wchar_t* text;
  } table[] = {
      {FW_E_NODIRECT3D, 2,
       L"Could not initialize Direct3D. You may want to check that the latest version of "
       L"DirectX is correctly installed on your system.  Also make sure that this program "
       L"was compiled with header files that match the installed DirectX DLLs."},
      {FW_E_NOCOMPATIBLEDEVICES, 3, L"Could not find any compatible Direct3D devices."},
      {FW_E_MEDIANOTFOUND, 4,
       L"Could not find required media. Ensure that the DirectX SDK is correctly installed."},
      {FW_E_NONZEROREFCOUNT, 5,
       L"The D3D device has a non-zero reference count, meaning some objects were not "
       L"released."},
      {FW_E_CREATINGDEVICE, 6, L"Failed creating the Direct3D device."},
      {FW_E_RESETTINGDEVICE, 7, L"Failed resetting the Direct3D device."},
      {FW_E_CREATINGDEVICEOBJECTS, 8, L"Failed creating Direct3D device objects."},
      {FW_E_RESETTINGDEVICEOBJECTS, 9, L"Failed resetting Direct3D device objects."},
      {FW_E_INCORRECTVERSION, 10, L"Incorrect version of Direct3D and/or D3DX."},
  };
  int shown = 0;
  for (const auto& row : table) {
    SCOPED_TRACE(row.exitCode);
    EXPECT_EQ(IDOK, FrameworkReportError(row.code));
    EXPECT_EQ(row.exitCode, FrameworkGetExitCode());
    EXPECT_EQ(++shown, g_box.shown);
    EXPECT_EQ(row.text, g_box.text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR | MB_OK), g_box.style);
  }
  EXPECT_EQ(static_cast<HRESULT>(0x80040901L), FW_E_NODIRECT3D);
  EXPECT_EQ(static_cast<HRESULT>(0x80040909L), FW_E_INCORRECTVERSION);
}

TEST_F(ErrorsTest, UnknownCodeSetsExitCodeOneAndShowsNothing) {
  EXPECT_EQ(0, FrameworkReportError(E_FAIL));
  EXPECT_EQ(1, FrameworkGetExitCode());
  EXPECT_EQ(0, FrameworkReportError(static_cast<HRESULT>(0x8004090AL)));
  EXPECT_EQ(0, g_box.shown);
}

TEST_F(ErrorsTest, WithBoxesOffTheExitCodeIsStillSet) {
  FrameworkGetState().SetShowMsgBoxOnError(false);
  EXPECT_EQ(0, FrameworkReportError(FW_E_NOCOMPATIBLEDEVICES));
  EXPECT_EQ(3, FrameworkGetExitCode());
  EXPECT_EQ(0, g_box.shown);
}

TEST_F(ErrorsTest, ErrorBeforeTheWindowShowsAnUnownedBoxWithTheDefaultCaption) {
  FrameworkReportError(FW_E_NODIRECT3D);
  EXPECT_EQ(nullptr, g_box.owner);
  EXPECT_EQ(L"DirectX Application", g_box.caption);
}

TEST_F(ErrorsTest, ErrorAfterTheWindowIsOwnedByItAndCaptionedWithItsTitle) {
  FrameworkState& state = FrameworkGetState();
  state.SetWindowTitle(L"Kubri");
  state.SetFullScreenWindow(kFullScreenWindow);
  state.SetWindowedWindow(kWindowedWindow);
  FrameworkReportError(FW_E_CREATINGDEVICE);
  EXPECT_EQ(L"Kubri", g_box.caption);
  EXPECT_EQ(kFullScreenWindow, g_box.owner);  // no device yet counts as full screen

  DeviceSettings windowed;
  memset(&windowed, 0, sizeof(windowed));
  windowed.presentParams.Windowed = TRUE;
  state.SetCurrentSettings(windowed);
  FrameworkReportError(FW_E_CREATINGDEVICE);
  EXPECT_EQ(kWindowedWindow, g_box.owner);
  state.SetCurrentSettings(std::nullopt);
}

TEST_F(ErrorsTest, RemoteSessionNamesTheSessionInsteadOfTheDevices) {
  EXPECT_STREQ(L"Direct3D does not work over a remote session.",
               FrameworkErrorMessage(FW_E_NOCOMPATIBLEDEVICES, true));
  EXPECT_STREQ(L"Failed creating the Direct3D device.",
               FrameworkErrorMessage(FW_E_CREATINGDEVICE, true));
  EXPECT_EQ(nullptr, FrameworkErrorMessage(E_FAIL, false));
}

TEST_F(ErrorsTest, LaterSettingOfTheExitCodeWins) {
  FrameworkReportError(FW_E_RESETTINGDEVICEOBJECTS);
  EXPECT_EQ(9, FrameworkGetExitCode());
  FrameworkShutdown(0);
  EXPECT_EQ(0, FrameworkGetExitCode());
}

}  // namespace
