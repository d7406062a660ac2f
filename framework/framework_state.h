// The framework's single process-wide state object, the game's callback
// types, and the accessors the game uses.
//
// The framework is built in layers, each unit calling only the units below
// it. At the bottom lie the device settings record and the frame timer;
// above them this state; then the errors; enumeration; settings matching;
// the command line; then the window, the device and the main loop, which
// call one another (a device change sizes the window and pauses the loop,
// the window's messages change the device and pause, the loop restores lost
// devices); and on top start-up and shutdown (startup.h). The few places
// below that must start or shut down the framework do so through the two
// relays at the end of this file.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <optional>
#include <vector>

#include "framework/device_settings.h"

class DeviceEnumeration;

// Callbacks. Each is registered with an opaque userContext that the framework
// hands back unchanged as the last argument.

// Called once per candidate format combination during enumeration; false
// drops the combination.
typedef bool (*FrameworkOnDeviceAcceptableFn)(const D3DCAPS9& caps,
                                              D3DFORMAT adapterFormat,
                                              D3DFORMAT backBufferFormat,
                                              bool windowed, void* userContext);
// Called at the start of every device change with the requested settings,
// which it may edit, and the caps of the requested adapter and device type.
// False cancels the change.
typedef bool (*FrameworkOnModifyDeviceSettingsFn)(DeviceSettings& settings,
                                                  const D3DCAPS9& caps,
                                                  void* userContext);
// Right after a device is created.
typedef HRESULT (*FrameworkOnDeviceCreatedFn)(IDirect3DDevice9* device,
                                              const D3DSURFACE_DESC& backBufferDesc,
                                              void* userContext);
// After OnDeviceCreated and after every successful reset.
typedef HRESULT (*FrameworkOnDeviceResetFn)(IDirect3DDevice9* device,
                                            const D3DSURFACE_DESC& backBufferDesc,
                                            void* userContext);
// Before a reset and before destruction, for what OnDeviceReset set up.
typedef void (*FrameworkOnDeviceLostFn)(void* userContext);
// Before the device is released, for what OnDeviceCreated set up.
typedef void (*FrameworkOnDeviceDestroyedFn)(void* userContext);
// Once per render pass, also while rendering is paused.
typedef void (*FrameworkOnFrameMoveFn)(IDirect3DDevice9* device, double time,
                                       float elapsedTime, void* userContext);
// Once per render pass while rendering is not paused.
typedef void (*FrameworkOnFrameRenderFn)(IDirect3DDevice9* device, double time,
                                         float elapsedTime, void* userContext);
// On key down and key up messages.
typedef void (*FrameworkOnKeyboardFn)(UINT virtualKey, bool keyDown,
                                      bool altDown, void* userContext);
// On mouse button and wheel messages (and moves when asked for).
typedef void (*FrameworkOnMouseFn)(bool left, bool right, bool middle,
                                   bool x1, bool x2, int wheelDelta, int x,
                                   int y, void* userContext);
// For every message reaching the window procedure, before the framework
// handles it. Setting noFurtherProcessing returns the result at once.
typedef LRESULT (*FrameworkOnMessageFn)(HWND window, UINT message,
                                        WPARAM wParam, LPARAM lParam,
                                        bool& noFurtherProcessing,
                                        void* userContext);
// An interval timer's callback.
typedef void (*FrameworkOnTimerFn)(UINT id, void* userContext);

// One interval timer. The game registers none.
struct FrameworkTimer {
  FrameworkOnTimerFn callback;
  float timeoutInSeconds;
  float countdown;
  bool enabled;
  UINT id;
  void* userContext;
};
typedef std::vector<FrameworkTimer> FrameworkTimerList;

constexpr int kWindowTitleLength = 256;
constexpr int kStaticFrameStatsLength = 256;
constexpr int kFpsStatsLength = 64;
constexpr int kFrameStatsLength = 256;
constexpr int kDeviceStatsLength = 256;
constexpr int kKeyCount = 256;
constexpr int kMouseButtonCount = 5;  // left, middle, right, X1, X2

// Every field of the framework, zero (or empty) at construction except the
// defaults noted. Reached only through FrameworkState's accessors, which take the
// state lock while useStateLock is set.
struct FrameworkStateFields {
  // Direct3D objects. The state holds one reference to each COM object and
  // is its only owner: FrameworkInit creates the Direct3D object and
  // FrameworkShutdown releases it; a device creation stores the device and
  // FrameworkCleanupEnvironment releases it. Every other holder borrows.
  IDirect3D9* direct3d;
  IDirect3DDevice9* device;
  DeviceEnumeration* enumeration;  // borrowed: the one enumeration, which clears this as it ends
  // The device's settings, held by value: empty before the first device and
  // after a failed creation or a shutdown.
  std::optional<DeviceSettings> currentSettings;
  D3DSURFACE_DESC backBufferDesc;
  D3DCAPS9 caps;

  // Windows.
  HWND focusWindow;
  HWND fullScreenWindow;
  HWND windowedWindow;
  HINSTANCE instance;
  wchar_t windowTitle[kWindowTitleLength];
  HMONITOR adapterMonitor;
  HMENU savedMenu;
  UINT fullScreenWidthAtModeChange;
  UINT fullScreenHeightAtModeChange;
  UINT windowedWidthAtModeChange;
  UINT windowedHeightAtModeChange;
  DWORD windowedStyleAtModeChange;
  WINDOWPLACEMENT windowedPlacement;
  bool topmostWhileWindowed;
  bool minimized;
  bool maximized;
  bool minimizedWhileFullScreen;
  bool ignoreSizeChange;
  bool inSizeMove;
  bool active;  // default true
  bool windowCreatedWithDefaultPositions;

  // Time and statistics.
  double time;
  double absoluteTime;
  float elapsedTime;
  double lastStatsUpdateTime;
  UINT lastStatsUpdateFrames;
  float fps;
  int currentFrameNumber;
  bool constantFrameTime;
  float timePerFrame;
  bool noStats;
  wchar_t staticFrameStats[kStaticFrameStatsLength];
  wchar_t fpsStats[kFpsStatsLength];
  wchar_t frameStats[kFrameStatsLength];
  wchar_t deviceStats[kDeviceStatsLength];
  FrameworkTimerList timers;  // held by value, empty until a timer is added
  UINT timerLastId;

  // Input.
  BYTE keys[kKeyCount];
  BYTE mouseButtons[kMouseButtonCount];
  HHOOK keyboardHook;
  bool allowShortcutKeys;
  bool allowShortcutKeysWhenFullScreen;  // default false
  bool allowShortcutKeysWhenWindowed;    // default true
  STICKYKEYS savedStickyKeys;
  TOGGLEKEYS savedToggleKeys;
  FILTERKEYS savedFilterKeys;
  bool notifyOnMouseMove;

  // Behaviour switches.
  bool handleDefaultHotkeys;
  bool handleAltEnter;
  bool showMsgBoxOnError;  // default true
  bool callDefWindowProc;  // default true
  bool clipCursorWhenFullScreen;
  bool showCursorWhenFullScreen;
  bool wireframe;
  bool autoChangeAdapter;  // default true
  bool automation;

  // Lifecycle.
  bool initCalled;
  bool inited;
  bool windowCreateCalled;
  bool windowCreated;
  bool deviceCreateCalled;
  bool deviceCreated;
  bool deviceObjectsCreated;
  bool deviceObjectsReset;
  bool insideDeviceCallback;
  bool insideMainLoop;
  bool deviceLost;
  int exitCode;

  // Pause.
  int pauseTimeCount;       // never below 0
  int pauseRenderingCount;  // never below 0
  bool timePaused;
  bool renderingPaused;

  // Command-line overrides.
  int overrideAdapterOrdinal;  // default -1: not given
  bool overrideWindowed;
  bool overrideFullScreen;
  int overrideStartX;  // default -1
  int overrideStartY;  // default -1
  int overrideWidth;
  int overrideHeight;
  bool overrideForceHAL;
  bool overrideForceREF;
  bool overrideForcePureHWVP;
  bool overrideForceHWVP;
  bool overrideForceSWVP;
  bool overrideConstantFrameTime;
  float overrideTimePerFrame;
  int overrideQuitAfterFrame;
  int overrideForceVsync;  // default -1
  bool overrideRelaunchMCE;

  // Callbacks, each with its context.
  FrameworkOnDeviceAcceptableFn onDeviceAcceptable;
  void* onDeviceAcceptableContext;
  FrameworkOnModifyDeviceSettingsFn onModifyDeviceSettings;
  void* onModifyDeviceSettingsContext;
  FrameworkOnDeviceCreatedFn onDeviceCreated;
  void* onDeviceCreatedContext;
  FrameworkOnDeviceResetFn onDeviceReset;
  void* onDeviceResetContext;
  FrameworkOnDeviceLostFn onDeviceLost;
  void* onDeviceLostContext;
  FrameworkOnDeviceDestroyedFn onDeviceDestroyed;
  void* onDeviceDestroyedContext;
  FrameworkOnFrameMoveFn onFrameMove;
  void* onFrameMoveContext;
  FrameworkOnFrameRenderFn onFrameRender;
  void* onFrameRenderContext;
  FrameworkOnKeyboardFn onKeyboard;
  void* onKeyboardContext;
  FrameworkOnMouseFn onMouse;
  void* onMouseContext;
  FrameworkOnMessageFn onMessage;
  void* onMessageContext;

  // Whether accessors take stateLock. Default true; each device change sets
  // it to whether the device was asked for with D3DCREATE_MULTITHREADED.
  bool useStateLock;
};

// The framework's state. Every accessor enters the state lock while
// useStateLock is set, touches its one field (or group of fields) and leaves.
// Accessors returning the address of a text or array leave the lock before
// returning: the caller works on that memory unguarded. Read-modify-write
// sequences are not atomic. Main thread only in the game.
class FrameworkState {
 public:
  FrameworkState();
  // Runs FrameworkShutdown(0) (through its relay), then deletes the lock.
  ~FrameworkState();
  FrameworkState(const FrameworkState&) = delete;
  FrameworkState& operator=(const FrameworkState&) = delete;

#define KUBRI_FW_VALUE(Type, field, Name)                  \
  Type Get##Name() const {                                 \
    LockScope scope(*this);                                \
    return fields_.field;                                  \
  }                                                        \
  void Set##Name(Type value) {                             \
    LockScope scope(*this);                                \
    fields_.field = value;                                 \
  }
// Structures are read and written whole under one lock.
#define KUBRI_FW_STRUCT(Type, field, Name)                 \
  Type Get##Name() const {                                 \
    LockScope scope(*this);                                \
    return fields_.field;                                  \
  }                                                        \
  void Set##Name(const Type& value) {                      \
    LockScope scope(*this);                                \
    fields_.field = value;                                 \
  }
// Texts: Get returns the buffer; Set copies, cut to the buffer's size.
#define KUBRI_FW_TEXT(field, Name)                         \
  wchar_t* Get##Name() {                                   \
    LockScope scope(*this);                                \
    return fields_.field;                                  \
  }                                                        \
  void Set##Name(const wchar_t* text) {                    \
    LockScope scope(*this);                                \
    CopyText(fields_.field, sizeof(fields_.field) / sizeof(wchar_t), text); \
  }
#define KUBRI_FW_CALLBACK(Type, field, Name)               \
  Type Get##Name() const {                                 \
    LockScope scope(*this);                                \
    return fields_.field;                                  \
  }                                                        \
  void* Get##Name##Context() const {                       \
    LockScope scope(*this);                                \
    return fields_.field##Context;                         \
  }                                                        \
  void Set##Name(Type callback, void* userContext) {       \
    LockScope scope(*this);                                \
    fields_.field = callback;                              \
    fields_.field##Context = userContext;                  \
  }

  // Direct3D objects.
  KUBRI_FW_VALUE(IDirect3D9*, direct3d, Direct3D)
  KUBRI_FW_VALUE(IDirect3DDevice9*, device, Device)
  KUBRI_FW_VALUE(DeviceEnumeration*, enumeration, Enumeration)
  // A copy of the settings (empty before the first device); setting stores a
  // copy, or empties them.
  KUBRI_FW_STRUCT(std::optional<DeviceSettings>, currentSettings, CurrentSettings)
  KUBRI_FW_STRUCT(D3DSURFACE_DESC, backBufferDesc, BackBufferDesc)
  KUBRI_FW_STRUCT(D3DCAPS9, caps, Caps)

  // Windows.
  KUBRI_FW_VALUE(HWND, focusWindow, FocusWindow)
  KUBRI_FW_VALUE(HWND, fullScreenWindow, FullScreenWindow)
  KUBRI_FW_VALUE(HWND, windowedWindow, WindowedWindow)
  KUBRI_FW_VALUE(HINSTANCE, instance, Instance)
  KUBRI_FW_TEXT(windowTitle, WindowTitle)
  KUBRI_FW_VALUE(HMONITOR, adapterMonitor, AdapterMonitor)
  KUBRI_FW_VALUE(HMENU, savedMenu, SavedMenu)
  KUBRI_FW_VALUE(UINT, fullScreenWidthAtModeChange, FullScreenWidthAtModeChange)
  KUBRI_FW_VALUE(UINT, fullScreenHeightAtModeChange, FullScreenHeightAtModeChange)
  KUBRI_FW_VALUE(UINT, windowedWidthAtModeChange, WindowedWidthAtModeChange)
  KUBRI_FW_VALUE(UINT, windowedHeightAtModeChange, WindowedHeightAtModeChange)
  KUBRI_FW_VALUE(DWORD, windowedStyleAtModeChange, WindowedStyleAtModeChange)
  KUBRI_FW_STRUCT(WINDOWPLACEMENT, windowedPlacement, WindowedPlacement)
  KUBRI_FW_VALUE(bool, topmostWhileWindowed, TopmostWhileWindowed)
  KUBRI_FW_VALUE(bool, minimized, Minimized)
  KUBRI_FW_VALUE(bool, maximized, Maximized)
  KUBRI_FW_VALUE(bool, minimizedWhileFullScreen, MinimizedWhileFullScreen)
  KUBRI_FW_VALUE(bool, ignoreSizeChange, IgnoreSizeChange)
  KUBRI_FW_VALUE(bool, inSizeMove, InSizeMove)
  KUBRI_FW_VALUE(bool, active, Active)
  KUBRI_FW_VALUE(bool, windowCreatedWithDefaultPositions, WindowCreatedWithDefaultPositions)

  // Time and statistics.
  KUBRI_FW_VALUE(double, time, Time)
  KUBRI_FW_VALUE(double, absoluteTime, AbsoluteTime)
  KUBRI_FW_VALUE(float, elapsedTime, ElapsedTime)
  KUBRI_FW_VALUE(double, lastStatsUpdateTime, LastStatsUpdateTime)
  KUBRI_FW_VALUE(UINT, lastStatsUpdateFrames, LastStatsUpdateFrames)
  KUBRI_FW_VALUE(float, fps, Fps)
  KUBRI_FW_VALUE(int, currentFrameNumber, CurrentFrameNumber)
  KUBRI_FW_VALUE(bool, constantFrameTime, ConstantFrameTime)
  KUBRI_FW_VALUE(float, timePerFrame, TimePerFrame)
  KUBRI_FW_VALUE(bool, noStats, NoStats)
  KUBRI_FW_TEXT(staticFrameStats, StaticFrameStats)
  KUBRI_FW_TEXT(fpsStats, FpsStats)
  KUBRI_FW_TEXT(frameStats, FrameStats)
  KUBRI_FW_TEXT(deviceStats, DeviceStats)
  // A copy of the timer list; setting replaces it whole.
  KUBRI_FW_STRUCT(FrameworkTimerList, timers, Timers)
  KUBRI_FW_VALUE(UINT, timerLastId, TimerLastId)

  // Input.
  BYTE* GetKeys() {
    LockScope scope(*this);
    return fields_.keys;
  }
  BYTE* GetMouseButtons() {
    LockScope scope(*this);
    return fields_.mouseButtons;
  }
  KUBRI_FW_VALUE(HHOOK, keyboardHook, KeyboardHook)
  KUBRI_FW_VALUE(bool, allowShortcutKeys, AllowShortcutKeys)
  KUBRI_FW_VALUE(bool, allowShortcutKeysWhenFullScreen, AllowShortcutKeysWhenFullScreen)
  KUBRI_FW_VALUE(bool, allowShortcutKeysWhenWindowed, AllowShortcutKeysWhenWindowed)
  KUBRI_FW_STRUCT(STICKYKEYS, savedStickyKeys, SavedStickyKeys)
  KUBRI_FW_STRUCT(TOGGLEKEYS, savedToggleKeys, SavedToggleKeys)
  KUBRI_FW_STRUCT(FILTERKEYS, savedFilterKeys, SavedFilterKeys)
  KUBRI_FW_VALUE(bool, notifyOnMouseMove, NotifyOnMouseMove)

  // Behaviour switches.
  KUBRI_FW_VALUE(bool, handleDefaultHotkeys, HandleDefaultHotkeys)
  KUBRI_FW_VALUE(bool, handleAltEnter, HandleAltEnter)
  KUBRI_FW_VALUE(bool, showMsgBoxOnError, ShowMsgBoxOnError)
  KUBRI_FW_VALUE(bool, callDefWindowProc, CallDefWindowProc)
  KUBRI_FW_VALUE(bool, clipCursorWhenFullScreen, ClipCursorWhenFullScreen)
  KUBRI_FW_VALUE(bool, showCursorWhenFullScreen, ShowCursorWhenFullScreen)
  KUBRI_FW_VALUE(bool, wireframe, Wireframe)
  KUBRI_FW_VALUE(bool, autoChangeAdapter, AutoChangeAdapter)
  KUBRI_FW_VALUE(bool, automation, Automation)

  // Lifecycle.
  KUBRI_FW_VALUE(bool, initCalled, InitCalled)
  KUBRI_FW_VALUE(bool, inited, Inited)
  KUBRI_FW_VALUE(bool, windowCreateCalled, WindowCreateCalled)
  KUBRI_FW_VALUE(bool, windowCreated, WindowCreated)
  KUBRI_FW_VALUE(bool, deviceCreateCalled, DeviceCreateCalled)
  KUBRI_FW_VALUE(bool, deviceCreated, DeviceCreated)
  KUBRI_FW_VALUE(bool, deviceObjectsCreated, DeviceObjectsCreated)
  KUBRI_FW_VALUE(bool, deviceObjectsReset, DeviceObjectsReset)
  KUBRI_FW_VALUE(bool, insideDeviceCallback, InsideDeviceCallback)
  KUBRI_FW_VALUE(bool, insideMainLoop, InsideMainLoop)
  KUBRI_FW_VALUE(bool, deviceLost, DeviceLost)
  KUBRI_FW_VALUE(int, exitCode, ExitCode)

  // Pause.
  KUBRI_FW_VALUE(int, pauseTimeCount, PauseTimeCount)
  KUBRI_FW_VALUE(int, pauseRenderingCount, PauseRenderingCount)
  KUBRI_FW_VALUE(bool, timePaused, TimePaused)
  KUBRI_FW_VALUE(bool, renderingPaused, RenderingPaused)

  // Command-line overrides.
  KUBRI_FW_VALUE(int, overrideAdapterOrdinal, OverrideAdapterOrdinal)
  KUBRI_FW_VALUE(bool, overrideWindowed, OverrideWindowed)
  KUBRI_FW_VALUE(bool, overrideFullScreen, OverrideFullScreen)
  KUBRI_FW_VALUE(int, overrideStartX, OverrideStartX)
  KUBRI_FW_VALUE(int, overrideStartY, OverrideStartY)
  KUBRI_FW_VALUE(int, overrideWidth, OverrideWidth)
  KUBRI_FW_VALUE(int, overrideHeight, OverrideHeight)
  KUBRI_FW_VALUE(bool, overrideForceHAL, OverrideForceHAL)
  KUBRI_FW_VALUE(bool, overrideForceREF, OverrideForceREF)
  KUBRI_FW_VALUE(bool, overrideForcePureHWVP, OverrideForcePureHWVP)
  KUBRI_FW_VALUE(bool, overrideForceHWVP, OverrideForceHWVP)
  KUBRI_FW_VALUE(bool, overrideForceSWVP, OverrideForceSWVP)
  KUBRI_FW_VALUE(bool, overrideConstantFrameTime, OverrideConstantFrameTime)
  KUBRI_FW_VALUE(float, overrideTimePerFrame, OverrideTimePerFrame)
  KUBRI_FW_VALUE(int, overrideQuitAfterFrame, OverrideQuitAfterFrame)
  KUBRI_FW_VALUE(int, overrideForceVsync, OverrideForceVsync)
  KUBRI_FW_VALUE(bool, overrideRelaunchMCE, OverrideRelaunchMCE)

  // Callbacks: Get<Name>, Get<Name>Context, Set<Name>(callback, context).
  KUBRI_FW_CALLBACK(FrameworkOnDeviceAcceptableFn, onDeviceAcceptable, OnDeviceAcceptable)
  KUBRI_FW_CALLBACK(FrameworkOnModifyDeviceSettingsFn, onModifyDeviceSettings, OnModifyDeviceSettings)
  KUBRI_FW_CALLBACK(FrameworkOnDeviceCreatedFn, onDeviceCreated, OnDeviceCreated)
  KUBRI_FW_CALLBACK(FrameworkOnDeviceResetFn, onDeviceReset, OnDeviceReset)
  KUBRI_FW_CALLBACK(FrameworkOnDeviceLostFn, onDeviceLost, OnDeviceLost)
  KUBRI_FW_CALLBACK(FrameworkOnDeviceDestroyedFn, onDeviceDestroyed, OnDeviceDestroyed)
  KUBRI_FW_CALLBACK(FrameworkOnFrameMoveFn, onFrameMove, OnFrameMove)
  KUBRI_FW_CALLBACK(FrameworkOnFrameRenderFn, onFrameRender, OnFrameRender)
  KUBRI_FW_CALLBACK(FrameworkOnKeyboardFn, onKeyboard, OnKeyboard)
  KUBRI_FW_CALLBACK(FrameworkOnMouseFn, onMouse, OnMouse)
  KUBRI_FW_CALLBACK(FrameworkOnMessageFn, onMessage, OnMessage)

  // The lock switch itself. Reading and writing it also go through the lock
  // while it is on; a scope remembers whether it entered.
  KUBRI_FW_VALUE(bool, useStateLock, UseStateLock)

#undef KUBRI_FW_VALUE
#undef KUBRI_FW_STRUCT
#undef KUBRI_FW_TEXT
#undef KUBRI_FW_CALLBACK

  // Sets every field back to its construction value, without releasing the
  // COM objects it points to. For tests that need a fresh state.
  void ResetFieldsForTest();

 private:
  // Enters stateLock for its lifetime when useStateLock is set.
  class LockScope {
   public:
    explicit LockScope(const FrameworkState& state);
    ~LockScope();
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;

   private:
    CRITICAL_SECTION* entered_;
  };

  static void CopyText(wchar_t* buffer, size_t capacity, const wchar_t* text);
  void SetDefaults();

  FrameworkStateFields fields_;
  mutable CRITICAL_SECTION stateLock_;
};

// The one state object, created on first use and destroyed at process exit.
FrameworkState& FrameworkGetState();

// Callback registration. Each stores the callback and its context under the
// lock. OnDeviceAcceptable and OnModifyDeviceSettings are stored by
// FrameworkCreateDevice from its arguments.
void FrameworkSetOnDeviceCreated(FrameworkOnDeviceCreatedFn callback, void* userContext);
void FrameworkSetOnDeviceReset(FrameworkOnDeviceResetFn callback, void* userContext);
void FrameworkSetOnDeviceLost(FrameworkOnDeviceLostFn callback, void* userContext);
void FrameworkSetOnDeviceDestroyed(FrameworkOnDeviceDestroyedFn callback, void* userContext);
void FrameworkSetOnModifyDeviceSettings(FrameworkOnModifyDeviceSettingsFn callback, void* userContext);
void FrameworkSetOnFrameMove(FrameworkOnFrameMoveFn callback, void* userContext);
void FrameworkSetOnFrameRender(FrameworkOnFrameRenderFn callback, void* userContext);
void FrameworkSetOnKeyboard(FrameworkOnKeyboardFn callback, void* userContext);
// Also sets whether mouse moves are reported.
void FrameworkSetOnMouse(FrameworkOnMouseFn callback, void* userContext,
                         bool notifyOnMouseMove);
void FrameworkSetOnMessage(FrameworkOnMessageFn callback, void* userContext);

// The exit code the program returns: set by start-up's and the device's
// reported errors, by shutdown and by the reference device.
int FrameworkGetExitCode();

// The main window: windowedWindow when windowed, otherwise fullScreenWindow.
HWND FrameworkGetWindow();
// Borrowed pointers: no reference is added.
IDirect3DDevice9* FrameworkGetDevice();
IDirect3D9* FrameworkGetDirect3D();
// True only once a device exists and its settings are windowed.
bool FrameworkIsWindowed();
// A copy of the current settings, all zero before the first device.
DeviceSettings FrameworkGetDeviceSettings();

// Start-up and shutdown live in the unit above all others (startup.h), yet
// the window runs start-up when it is created first, a device failure or
// the last frame of a timed run shuts the framework down, and so does the
// state's own end at process exit. Those places call these relays, which
// the start-up unit connects as the program loads: they run FrameworkInit
// and FrameworkShutdown. Unconnected, start-up fails with E_FAIL and
// shutdown does nothing.
typedef HRESULT (*FrameworkInitFn)(bool parseCommandLine, bool handleDefaultHotkeys,
                                   bool showMsgBoxOnError, bool handleAltEnter);
typedef void (*FrameworkShutdownFn)(int exitCode);
void FrameworkConnectLifecycle(FrameworkInitFn init, FrameworkShutdownFn shutdown);
HRESULT FrameworkRunInit(bool parseCommandLine, bool handleDefaultHotkeys,
                         bool showMsgBoxOnError, bool handleAltEnter);
void FrameworkRunShutdown(int exitCode);
