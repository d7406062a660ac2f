// Kubri's entry function: claims the game's folder, registers the game's
// callbacks, makes the first puzzle, brings up the window and the device,
// reads the settings file, starts the background generator and runs the
// main loop.
#include <windows.h>

#include "framework/device.h"
#include "framework/framework_state.h"
#include "framework/main_loop.h"
#include "framework/startup.h"
#include "framework/window.h"
#include "resources/resource_ids.h"
#include "stock/settings_file.h"
#include "view/device_callbacks.h"
#include "view/game_callbacks.h"
#include "view/game_home.h"
#include "view/game_objects.h"
#include "view/single_game.h"
#include "view/view_size_setting.h"
#include "view/window_dpi.h"

namespace {

// How long a second copy waits for the first one's window to show, or for
// a first copy that is closing to end.
constexpr DWORD kWaitForOtherCopy = 10000;

}  // namespace

// No step's result is looked at: the framework reports its own failures,
// and every step runs whatever the earlier ones returned.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  BoardView& view = GameView();
  // The game's own files are written where they are read from, all run:
  // beside the game, or in the home under the user's profile when that
  // folder cannot be written.
  static const std::wstring settingsPath = ChooseSettingsPath(L".", LocalAppDataFolder());
  ViewLinks links = view.Links();
  links.settingsPath = settingsPath.c_str();
  view.SetLinks(links);
  // A copy already playing with these files is brought to the front, and
  // this one ends at once, before it has written anything.
  GameFolderClaim folder(view.Links().settingsPath);
  if (!folder.Claim(kWaitForOtherCopy)) return 0;
  view.RemoveLeftoverSaves();

  FrameworkSetOnDeviceCreated(OnDeviceCreated, nullptr);
  FrameworkSetOnDeviceReset(OnDeviceReset, nullptr);
  FrameworkSetOnDeviceLost(OnDeviceLost, nullptr);
  FrameworkSetOnDeviceDestroyed(OnDeviceDestroyed, nullptr);
  FrameworkSetOnMessage(OnMessage, nullptr);
  FrameworkSetOnKeyboard(OnKeyboard, nullptr);
  FrameworkSetOnFrameRender(OnFrameRender, nullptr);
  FrameworkSetOnFrameMove(OnFrameMove, nullptr);

  FrameworkSetCursorSettings(true, true);
  StartFirstPuzzle(GameBoard());
  FrameworkInit(true, true, true, true);

  HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_KUBRI_MENU));
  FrameworkCreateWindow(L"Kubri", nullptr, nullptr, menu, CW_USEDEFAULT, CW_USEDEFAULT);
  folder.MarkWindow(FrameworkGetWindow());
  // The board is measured in the window's own pixels from the first frame.
  view.SetDpi(WindowDpi(FrameworkGetWindow()));
  FrameworkCreateDevice(0, true, view.ClientWidth(), view.ClientHeight(), OnDeviceAcceptable,
                        OnModifyDeviceSettings, nullptr);

  ReadViewSettings(view, GameStock());
  view.ResumeSavedGame();
  GameGenerator().Start();

  FrameworkMainLoop(nullptr);
  return FrameworkGetExitCode();
}
