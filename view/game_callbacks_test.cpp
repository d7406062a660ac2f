// The game's framework callbacks and its process-wide objects.
#include <gtest/gtest.h>

#include "framework/device.h"
#include "framework/framework_state.h"
#include "resources/resource_ids.h"
#include "view/device_callbacks.h"
#include "view/game_callbacks.h"
#include "view/game_objects.h"

namespace {

int gWarnings = 0;

INT_PTR CountingWarningDialog(HWND, const wchar_t*) {
  ++gWarnings;
  return IDYES;
}

D3DCAPS9 Caps(DWORD devCaps, DWORD vertexShaderVersion) {
  D3DCAPS9 caps{};
  caps.DevCaps = devCaps;
  caps.VertexShaderVersion = vertexShaderVersion;
  return caps;
}

TEST(GameCallbacks, WeakHardwareGetsSoftwareVertexProcessingAlone) {
  const DWORD asked = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE | D3DCREATE_MULTITHREADED;
  EXPECT_EQ(VertexProcessingFlagsFor(asked, Caps(0, D3DVS_VERSION(3, 0))),
            static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING));
  EXPECT_EQ(VertexProcessingFlagsFor(asked, Caps(D3DDEVCAPS_HWTRANSFORMANDLIGHT, D3DVS_VERSION(1, 0))),
            static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING));
  EXPECT_EQ(VertexProcessingFlagsFor(asked, Caps(D3DDEVCAPS_HWTRANSFORMANDLIGHT, D3DVS_VERSION(1, 1))), asked);
  EXPECT_EQ(D3DVS_VERSION(1, 1), 0xFFFE0101u);
}

TEST(GameCallbacks, ReferenceWarningComesOnlyWithTheFirstSettingsChange) {
  FrameworkSetReferenceDialogHook(CountingWarningDialog);
  DeviceSettings settings{};
  settings.deviceType = D3DDEVTYPE_REF;
  settings.behaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
  EXPECT_TRUE(OnModifyDeviceSettings(settings, Caps(0, 0), nullptr));
  EXPECT_EQ(settings.behaviorFlags, static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING));
  const int afterFirst = gWarnings;
  EXPECT_EQ(afterFirst, 1);
  EXPECT_TRUE(OnModifyDeviceSettings(settings, Caps(0, 0), nullptr));
  settings.deviceType = D3DDEVTYPE_HAL;
  EXPECT_TRUE(OnModifyDeviceSettings(settings, Caps(0, 0), nullptr));
  EXPECT_EQ(gWarnings, afterFirst);
  FrameworkSetReferenceDialogHook(nullptr);
}

TEST(GameObjects, TheViewIsLinkedToTheOtherProcessWideObjects) {
  const ViewLinks& links = GameView().Links();
  EXPECT_EQ(links.board, &GameBoard());
  EXPECT_EQ(links.stock, &GameStock());
  EXPECT_EQ(links.generator, &GameGenerator());
  EXPECT_EQ(links.mainWindow, &FrameworkGetWindow);
  EXPECT_EQ(GameView().GetSizeIndex(), 1);
  EXPECT_FALSE(GameGenerator().HasThread());
}

TEST(GameCallbacks, MessagesReachTheViewAndNeverStopTheFramework) {
  GameBoard().SetValue(0, 0, 5);
  bool noFurtherProcessing = false;
  EXPECT_EQ(OnMessage(nullptr, WM_COMMAND, IDM_EDIT_CLEAR, 0, noFurtherProcessing, nullptr), 0);
  EXPECT_FALSE(noFurtherProcessing);
  EXPECT_FALSE(GameBoard().HasValue(0, 0));
  EXPECT_EQ(OnMessage(nullptr, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20), noFurtherProcessing, nullptr), 0);
  EXPECT_TRUE(GameView().IsSelected(0, 0));
  EXPECT_FALSE(noFurtherProcessing);
}

TEST(GameCallbacks, DeviceCallbacksWithoutADeviceFailOrDoNothing) {
  D3DSURFACE_DESC desc{};
  EXPECT_EQ(OnDeviceCreated(nullptr, desc, nullptr), S_OK);
  EXPECT_EQ(OnDeviceReset(nullptr, desc, nullptr), E_FAIL);
  OnDeviceLost(nullptr);
  OnDeviceLost(nullptr);
  OnDeviceDestroyed(nullptr);
  OnFrameMove(nullptr, 0.0, 0.0f, nullptr);
  OnFrameRender(nullptr, 0.0, 0.0f, nullptr);
  OnKeyboard(VK_ESCAPE, true, false, nullptr);
  EXPECT_FALSE(GameView().HasDeviceObjects());
}

}  // namespace
