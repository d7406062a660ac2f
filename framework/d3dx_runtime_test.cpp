// The D3DX runtime loaded on first use: found, missing, or a library of its
// name without its entry points, and start-up without it, which goes on.
#include "framework/d3dx_runtime.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/command_line.h"
#include "framework/errors.h"
#include "framework/framework_state.h"
#include "framework/startup.h"

namespace {

int g_boxes = 0;
std::wstring g_boxText;
std::wstring g_boxCaption;
int RecordBox(HWND, const wchar_t* text, const wchar_t* caption, UINT) {
  ++g_boxes;
  g_boxText = text;
  g_boxCaption = caption;
  return IDOK;
}

class D3DXRuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FrameworkGetState().ResetFieldsForTest();
    g_boxes = 0;
    g_boxText.clear();
    g_boxCaption.clear();
    FrameworkSetMessageBoxHook(RecordBox);
  }
  void TearDown() override {
    FrameworkShutdown(0);
    FrameworkSetMessageBoxHook(nullptr);
    FrameworkSetCommandLineOverride(nullptr);
    FrameworkSetD3DXRuntimeName(nullptr);
    FrameworkGetState().ResetFieldsForTest();
  }
};

TEST_F(D3DXRuntimeTest, RuntimeIsLoadedOnlyWhenFirstNeededAndChecksTheVersions) {
  FrameworkSetD3DXRuntimeName(nullptr);
  // Nothing in the program imports it: until asked for, it is not there.
  EXPECT_EQ(nullptr, GetModuleHandleW(kD3DXRuntimeName));
  EXPECT_EQ(S_OK, FrameworkCheckD3DXVersion(32, 31));
  EXPECT_NE(nullptr, GetModuleHandleW(kD3DXRuntimeName));
  EXPECT_EQ(FW_E_INCORRECTVERSION, FrameworkCheckD3DXVersion(32, 43));
  EXPECT_EQ(FW_E_INCORRECTVERSION, FrameworkCheckD3DXVersion(31, 31));

  // Start-up with the runtime present goes on to Direct3D as before.
  ASSERT_EQ(S_OK, FrameworkInit(false, true, true, true));
  EXPECT_EQ(0, g_boxes);
  EXPECT_NE(nullptr, FrameworkGetDirect3D());
}

TEST_F(D3DXRuntimeTest, MissingRuntimeSkipsTheVersionCheckAndStartsWithoutABox) {
  FrameworkSetD3DXRuntimeName(L"kubri_no_such_d3dx.dll");
  EXPECT_EQ(S_OK, FrameworkCheckD3DXVersion(32, 31));
  ASSERT_EQ(S_OK, FrameworkInit(false, true, true, true));
  EXPECT_EQ(0, g_boxes);
  EXPECT_EQ(0, FrameworkGetExitCode());
  EXPECT_NE(nullptr, FrameworkGetDirect3D());
  // The texture call says the runtime is missing, for the caller to read
  // the file itself; the code has no message and no exit code of its own.
  IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
  EXPECT_EQ(FW_E_NOD3DXRUNTIME, FrameworkCreateTextureFromFile(nullptr, L"Number.dds", &texture));
  EXPECT_EQ(nullptr, texture);
  EXPECT_EQ(nullptr, FrameworkErrorMessage(FW_E_NOD3DXRUNTIME, false));
  EXPECT_EQ(1, FrameworkExitCodeForError(FW_E_NOD3DXRUNTIME));
}

TEST_F(D3DXRuntimeTest, LibraryWithoutTheEntryPointsCountsAsMissing) {
  // A real library of another kind stands in for a damaged runtime.
  FrameworkSetD3DXRuntimeName(L"winmm.dll");
  EXPECT_FALSE(FrameworkLoadD3DXRuntime());
  IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
  EXPECT_EQ(FW_E_NOD3DXRUNTIME, FrameworkCreateTextureFromFile(nullptr, L"Number.dds", &texture));
  EXPECT_EQ(nullptr, texture);
  EXPECT_EQ(S_OK, FrameworkCheckD3DXVersion(32, 31));

  // Once the right runtime is there, the next call finds it.
  FrameworkSetD3DXRuntimeName(nullptr);
  EXPECT_TRUE(FrameworkLoadD3DXRuntime());
}

}  // namespace
