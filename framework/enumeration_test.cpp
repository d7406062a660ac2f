// Enumeration and settings matching against a scripted Direct3D object.
#include "framework/enumeration.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/device.h"
#include "framework/errors.h"
#include "framework/fake_direct3d.h"
#include "framework/framework_state.h"
#include "framework/matching.h"
#include "framework/startup.h"
#include "view/device_callbacks.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));

// The game's start-up request: adapter 0, windowed, its client size.
void GameRequest(UINT width, UINT height, bool windowed, DeviceSettings* request,
                 MatchOptions* options) {
  memset(request, 0, sizeof(*request));
  request->adapterOrdinal = 0;
  request->presentParams.Windowed = windowed;
  request->presentParams.BackBufferWidth = width;
  request->presentParams.BackBufferHeight = height;
  *options = MatchOptions{};
  options->adapterOrdinal = MatchType::PreserveInput;
  options->windowed = MatchType::PreserveInput;
  options->resolution = (windowed || (width != 0 && height != 0)) ? MatchType::ClosestToInput
                                                                  : MatchType::IgnoreInput;
}

class EnumerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FrameworkState& state = FrameworkGetState();
    state.ResetFieldsForTest();
    state.SetDirect3D(&fake_);
    state.SetWindowedWindow(kWindow);
    state.SetOnDeviceAcceptable(OnDeviceAcceptable, nullptr);
  }

  void TearDown() override {
    FrameworkState& state = FrameworkGetState();
    DeviceEnumeration* enumeration = state.GetEnumeration();
    if (enumeration) {
      enumeration->SetRequirePostPixelShaderBlending(true);
      enumeration->SetMultisampleQualityMax(0xFFFF);
      enumeration->Clear();
    }
    state.ResetFieldsForTest();
  }

  DeviceEnumeration& Enumerate() { return *FrameworkGetEnumeration(true); }

  // Finds settings for the game's request against the current fake.
  HRESULT FindForGame(UINT width, UINT height, bool windowed, DeviceSettings* found) {
    Enumerate();
    DeviceSettings request;
    MatchOptions options;
    GameRequest(width, height, windowed, &request, &options);
    return FrameworkFindValidDeviceSettings(found, &request, &options);
  }

  FakeDirect3D fake_;
};

TEST_F(EnumerationTest, IdenticalCardsGetTheirOrdinalAppended) {
  fake_.adapters.resize(2);
  fake_.adapters[0].description = "Fake Card";
  fake_.adapters[1].description = "FAKE card";
  DeviceEnumeration& enumeration = Enumerate();
  ASSERT_EQ(2u, enumeration.GetAdapterInfoList().size());
  EXPECT_STREQ(L"Fake Card (#0)", enumeration.GetAdapterInfo(0)->uniqueDescription);
  EXPECT_STREQ(L"FAKE card (#1)", enumeration.GetAdapterInfo(1)->uniqueDescription);
}

TEST_F(EnumerationTest, DistinctCardsKeepTheirPlainDescriptions) {
  fake_.adapters.resize(2);
  fake_.adapters[0].description = "First Card";
  fake_.adapters[1].description = std::string(200, 'x');  // longer than ever shown
  DeviceEnumeration& enumeration = Enumerate();
  EXPECT_STREQ(L"First Card", enumeration.GetAdapterInfo(0)->uniqueDescription);
  EXPECT_EQ(100u, wcslen(enumeration.GetAdapterInfo(1)->uniqueDescription));
}

TEST_F(EnumerationTest, AdapterWithoutBlendingYieldsNoCandidate) {
  fake_.adapters[0].blendingFormats.clear();
  DeviceSettings found;
  EXPECT_EQ(FW_E_NOCOMPATIBLEDEVICES, FindForGame(320, 320, true, &found));
  EXPECT_TRUE(FrameworkGetEnumeration(false)->GetAdapterInfoList().empty());

  // The game's own callback vetoes the same combinations when the
  // enumeration does not ask for blending itself.
  DeviceEnumeration& enumeration = *FrameworkGetEnumeration(false);
  enumeration.SetRequirePostPixelShaderBlending(false);
  EXPECT_EQ(FW_E_NOCOMPATIBLEDEVICES, FindForGame(320, 320, true, &found));
  FrameworkGetState().SetOnDeviceAcceptable(nullptr, nullptr);
  EXPECT_EQ(S_OK, FindForGame(320, 320, true, &found));
}

std::wstring g_boxText;
int RecordBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
  g_boxText = text;
  return IDOK;
}

TEST_F(EnumerationTest, CreatingADeviceWithoutBlendingReportsNoCompatibleDevices) {
  fake_.adapters[0].blendingFormats.clear();
  fake_.AddRef();  // the reference the framework releases at shutdown
  FrameworkSetMessageBoxHook(RecordBox);
  g_boxText.clear();
  EXPECT_EQ(FW_E_NOCOMPATIBLEDEVICES,
            FrameworkCreateDevice(0, true, 320, 320, OnDeviceAcceptable, nullptr, nullptr));
  EXPECT_EQ(L"Could not find any compatible Direct3D devices.", g_boxText);
  EXPECT_EQ(3, FrameworkGetExitCode());
  EXPECT_EQ(nullptr, FrameworkGetDevice());
  FrameworkShutdown(0);  // closes the window made on the way
  FrameworkSetMessageBoxHook(nullptr);
  EXPECT_EQ(nullptr, FrameworkGetState().GetFocusWindow());
}

TEST_F(EnumerationTest, GameCallbackKeepsOnlyBlendableBackBuffers) {
  fake_.adapters[0].blendingFormats = {D3DFMT_X8R8G8B8};
  DeviceEnumeration& enumeration = Enumerate();
  const DeviceInfo* hal = enumeration.GetDeviceInfo(0, D3DDEVTYPE_HAL);
  ASSERT_NE(nullptr, hal);
  for (const auto& combo : hal->combos) {
    EXPECT_EQ(D3DFMT_X8R8G8B8, combo.backBufferFormat);
  }
  EXPECT_EQ(2u, hal->combos.size());  // full screen and windowed
}

TEST_F(EnumerationTest, AcceptableCallbackWithoutDirect3DRejects) {
  FrameworkGetState().SetDirect3D(nullptr);
  D3DCAPS9 caps;
  memset(&caps, 0, sizeof(caps));
  EXPECT_FALSE(OnDeviceAcceptable(caps, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true, nullptr));
  EXPECT_EQ(FW_E_NODIRECT3D, FrameworkGetEnumeration(false)->Enumerate(nullptr, nullptr, nullptr));
}

TEST_F(EnumerationTest, DisplayModesAreFilteredAndSorted) {
  fake_.adapters[0].modes = {{1024, 768, 75, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_R5G6B5},
                             {320, 240, 60, D3DFMT_X8R8G8B8},  {800, 600, 60, D3DFMT_X8R8G8B8},
                             {1024, 768, 60, D3DFMT_X8R8G8B8}, {640, 400, 60, D3DFMT_X8R8G8B8}};
  const AdapterInfo& adapter = *Enumerate().GetAdapterInfo(0);
  ASSERT_EQ(4u, adapter.displayModes.size());
  EXPECT_EQ(800u, adapter.displayModes[0].Width);
  EXPECT_EQ(D3DFMT_X8R8G8B8, adapter.displayModes[0].Format);  // 22 sorts before 23
  EXPECT_EQ(D3DFMT_R5G6B5, adapter.displayModes[1].Format);
  EXPECT_EQ(60u, adapter.displayModes[2].RefreshRate);
  EXPECT_EQ(75u, adapter.displayModes[3].RefreshRate);
  // The 16-bit display format only appears through its modes.
  EXPECT_NE(nullptr, Enumerate().GetDeviceSettingsCombo(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5,
                                                         D3DFMT_R5G6B5, false));
}

TEST_F(EnumerationTest, FullScreenCombosNeedDisplayModes) {
  fake_.adapters[0].modes = {{320, 200, 60, D3DFMT_X8R8G8B8}};
  DeviceEnumeration& enumeration = Enumerate();
  const DeviceInfo* hal = enumeration.GetDeviceInfo(0, D3DDEVTYPE_HAL);
  ASSERT_NE(nullptr, hal);
  for (const auto& combo : hal->combos) {
    EXPECT_TRUE(combo.windowed);
  }
  // The desktop's format is listed even without a usable mode.
  EXPECT_NE(nullptr, enumeration.GetDeviceSettingsCombo(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                                        D3DFMT_X8R8G8B8, true));
}

TEST_F(EnumerationTest, OnlyUnavailableProbeOrMissingCapsDropADeviceType) {
  FakeAdapter& adapter = fake_.adapters[0];
  adapter.probeResult[D3DDEVTYPE_HAL] = D3DERR_NOTAVAILABLE;
  adapter.probeResult[D3DDEVTYPE_REF] = D3DERR_INVALIDCALL;
  adapter.capsFailures = {D3DDEVTYPE_SW};
  DeviceEnumeration& enumeration = Enumerate();
  EXPECT_EQ(nullptr, enumeration.GetDeviceInfo(0, D3DDEVTYPE_HAL));
  EXPECT_EQ(nullptr, enumeration.GetDeviceInfo(0, D3DDEVTYPE_SW));
  EXPECT_NE(nullptr, enumeration.GetDeviceInfo(0, D3DDEVTYPE_REF));
  EXPECT_EQ(2, fake_.createDeviceCalls);  // no probe without caps
}

TEST_F(EnumerationTest, CombosListMultisamplingConflictsAndIntervals) {
  FakeAdapter& adapter = fake_.adapters[0];
  adapter.multiSampleTypes = {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_2_SAMPLES,
                              D3DMULTISAMPLE_4_SAMPLES};
  adapter.multiSampleLevels = 5;
  adapter.conflictingDepthFormat = D3DFMT_D24S8;
  adapter.presentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_TWO;
  DeviceEnumeration& enumeration = *FrameworkGetEnumeration(false);
  enumeration.SetMultisampleQualityMax(0x12345);
  EXPECT_EQ(0xFFFFu, enumeration.GetMultisampleQualityMax());
  enumeration.SetMultisampleQualityMax(2);
  Enumerate();

  const DeviceSettingsCombo* full = enumeration.GetDeviceSettingsCombo(
      0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false);
  const DeviceSettingsCombo* windowed = enumeration.GetDeviceSettingsCombo(
      0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true);
  ASSERT_NE(nullptr, full);
  ASSERT_NE(nullptr, windowed);

  EXPECT_EQ((std::vector<D3DFORMAT>{D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32}),
            full->depthStencilFormats);
  ASSERT_EQ(3u, full->multiSampleTypes.size());
  EXPECT_EQ((std::vector<DWORD>{3, 3, 3}), full->multiSampleQualities);  // max 2, plus 1
  ASSERT_EQ(2u, full->depthStencilConflicts.size());
  EXPECT_EQ(D3DFMT_D24S8, full->depthStencilConflicts[0].depthStencilFormat);
  EXPECT_EQ(D3DMULTISAMPLE_2_SAMPLES, full->depthStencilConflicts[0].multiSampleType);
  EXPECT_EQ(D3DMULTISAMPLE_4_SAMPLES, full->depthStencilConflicts[1].multiSampleType);

  EXPECT_EQ((std::vector<UINT>{D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE,
                               D3DPRESENT_INTERVAL_TWO}),
            full->presentIntervals);
  EXPECT_EQ((std::vector<UINT>{D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE}),
            windowed->presentIntervals);
  EXPECT_EQ(full->adapterInfo, enumeration.GetAdapterInfo(0));
  EXPECT_EQ(full->deviceInfo, enumeration.GetDeviceInfo(0, D3DDEVTYPE_HAL));
}

TEST_F(EnumerationTest, WithoutAnyMultisampleTypeNothingIsUsable) {
  fake_.adapters[0].multiSampleTypes.clear();
  EXPECT_TRUE(Enumerate().GetAdapterInfoList().empty());
}

TEST_F(EnumerationTest, WindowedRequestKeepsItsSizeAndGetsTheGameDefaults) {
  DeviceSettings found;
  ASSERT_EQ(S_OK, FindForGame(480, 480, true, &found));
  const D3DPRESENT_PARAMETERS& pp = found.presentParams;
  EXPECT_EQ(0u, found.adapterOrdinal);
  EXPECT_EQ(D3DDEVTYPE_HAL, found.deviceType);
  EXPECT_EQ(D3DFMT_X8R8G8B8, found.adapterFormat);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING), found.behaviorFlags);
  EXPECT_TRUE(pp.Windowed);
  EXPECT_EQ(480u, pp.BackBufferWidth);
  EXPECT_EQ(480u, pp.BackBufferHeight);
  EXPECT_EQ(D3DFMT_X8R8G8B8, pp.BackBufferFormat);
  EXPECT_EQ(2u, pp.BackBufferCount);
  EXPECT_EQ(D3DMULTISAMPLE_NONE, pp.MultiSampleType);
  EXPECT_EQ(D3DSWAPEFFECT_DISCARD, pp.SwapEffect);
  EXPECT_TRUE(pp.EnableAutoDepthStencil);
  EXPECT_EQ(D3DFMT_D32, pp.AutoDepthStencilFormat);
  EXPECT_EQ(static_cast<DWORD>(D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL), pp.Flags);
  EXPECT_EQ(0u, pp.FullScreen_RefreshRateInHz);
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT), pp.PresentationInterval);
  EXPECT_EQ(kWindow, pp.hDeviceWindow);
}

TEST_F(EnumerationTest, FullScreenRequestGetsTheNearestModeNeverBelow640x480) {
  fake_.adapters[0].modes = {{320, 240, 60, D3DFMT_X8R8G8B8},  {640, 480, 60, D3DFMT_X8R8G8B8},
                             {800, 600, 75, D3DFMT_X8R8G8B8},  {800, 600, 60, D3DFMT_X8R8G8B8},
                             {1024, 768, 60, D3DFMT_X8R8G8B8}};
  DeviceSettings found;
  ASSERT_EQ(S_OK, FindForGame(480, 480, false, &found));
  EXPECT_FALSE(found.presentParams.Windowed);
  EXPECT_EQ(640u, found.presentParams.BackBufferWidth);
  EXPECT_EQ(480u, found.presentParams.BackBufferHeight);

  ASSERT_EQ(S_OK, FindForGame(790, 610, false, &found));
  EXPECT_EQ(800u, found.presentParams.BackBufferWidth);
  EXPECT_EQ(600u, found.presentParams.BackBufferHeight);
  EXPECT_EQ(60u, found.presentParams.FullScreen_RefreshRateInHz);  // the desktop's rate

  // Without a size the desktop's is used.
  ASSERT_EQ(S_OK, FindForGame(0, 0, false, &found));
  EXPECT_EQ(1024u, found.presentParams.BackBufferWidth);
  EXPECT_EQ(768u, found.presentParams.BackBufferHeight);
}

TEST_F(EnumerationTest, SixteenBitDesktopRunsWindowedInSixteenBits) {
  FakeAdapter& adapter = fake_.adapters[0];
  adapter.desktop = {1024, 768, 60, D3DFMT_R5G6B5};
  adapter.modes = {{1024, 768, 60, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_R5G6B5}};
  DeviceSettings found;
  ASSERT_EQ(S_OK, FindForGame(320, 320, true, &found));
  EXPECT_EQ(D3DFMT_R5G6B5, found.adapterFormat);
  EXPECT_EQ(D3DFMT_R5G6B5, found.presentParams.BackBufferFormat);
  // 20 bits wanted: D16 and D24X8 are equally near; the first listed wins.
  EXPECT_EQ(D3DFMT_D16, found.presentParams.AutoDepthStencilFormat);

  // Full screen prefers eight bits per channel over the 16-bit desktop.
  ASSERT_EQ(S_OK, FindForGame(1024, 768, false, &found));
  EXPECT_EQ(D3DFMT_X8R8G8B8, found.adapterFormat);
}

TEST_F(EnumerationTest, EqualScoresKeepTheFirstDeviceType) {
  fake_.adapters[0].probeResult[D3DDEVTYPE_HAL] = D3DERR_NOTAVAILABLE;
  DeviceSettings found;
  ASSERT_EQ(S_OK, FindForGame(320, 320, true, &found));
  EXPECT_EQ(D3DDEVTYPE_SW, found.deviceType);  // SW is tried before REF

  fake_.adapters[0].probeResult[D3DDEVTYPE_HAL] = E_FAIL;
  ASSERT_EQ(S_OK, FindForGame(320, 320, true, &found));
  EXPECT_EQ(D3DDEVTYPE_HAL, found.deviceType);
}

TEST_F(EnumerationTest, FindingRejectsAMissingOutputAndDefaultsMissingOptions) {
  Enumerate();
  EXPECT_EQ(E_INVALIDARG, FrameworkFindValidDeviceSettings(nullptr, nullptr, nullptr));
  DeviceSettings found;
  ASSERT_EQ(S_OK, FrameworkFindValidDeviceSettings(&found, nullptr, nullptr));
  EXPECT_TRUE(found.presentParams.Windowed);
  EXPECT_EQ(640u, found.presentParams.BackBufferWidth);
  EXPECT_EQ(480u, found.presentParams.BackBufferHeight);
}

TEST_F(EnumerationTest, PreservedComponentsFilterCombos) {
  fake_.adapters[0].multiSampleTypes = {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES};
  fake_.adapters[0].multiSampleLevels = 2;
  fake_.adapters[0].depthFormats = {D3DFMT_D16, D3DFMT_D24X8};
  fake_.adapters[0].modes = {{800, 600, 75, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_X8R8G8B8}};
  fake_.adapters[0].hardwareTransform = false;
  DeviceEnumeration& enumeration = Enumerate();
  const DeviceSettingsCombo& combo = *enumeration.GetDeviceSettingsCombo(
      0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true);

  DeviceSettings base;
  memset(&base, 0, sizeof(base));
  base.deviceType = D3DDEVTYPE_HAL;
  base.adapterFormat = D3DFMT_X8R8G8B8;
  base.presentParams.Windowed = TRUE;
  base.presentParams.BackBufferFormat = D3DFMT_X8R8G8B8;
  base.presentParams.BackBufferWidth = 800;
  base.presentParams.BackBufferHeight = 600;
  base.presentParams.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
  base.presentParams.MultiSampleQuality = 2;
  base.presentParams.AutoDepthStencilFormat = D3DFMT_D24X8;
  base.presentParams.FullScreen_RefreshRateInHz = 75;
  base.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

  struct Case {
    const char* name;
    MatchType MatchOptions::*component;
    void (*spoil)(DeviceSettings&);
  };
  const Case cases[] = {
      {"adapter", &MatchOptions::adapterOrdinal, [](DeviceSettings& s) { s.adapterOrdinal = 1; }},
      {"device type", &MatchOptions::deviceType,
       [](DeviceSettings& s) { s.deviceType = D3DDEVTYPE_REF; }},
      {"windowed", &MatchOptions::windowed,
       [](DeviceSettings& s) { s.presentParams.Windowed = FALSE; }},
      {"adapter format", &MatchOptions::adapterFormat,
       [](DeviceSettings& s) { s.adapterFormat = D3DFMT_R5G6B5; }},
      {"vertex processing", &MatchOptions::vertexProcessing,
       [](DeviceSettings& s) { s.behaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING; }},
      {"resolution", &MatchOptions::resolution,
       [](DeviceSettings& s) { s.presentParams.BackBufferWidth = 801; }},
      {"back-buffer format", &MatchOptions::backBufferFormat,
       [](DeviceSettings& s) { s.presentParams.BackBufferFormat = D3DFMT_A8R8G8B8; }},
      {"multisample quality", &MatchOptions::multiSample,
       [](DeviceSettings& s) { s.presentParams.MultiSampleQuality = 3; }},
      {"depth bits", &MatchOptions::depthFormat,
       [](DeviceSettings& s) { s.presentParams.AutoDepthStencilFormat = D3DFMT_D32; }},
      {"stencil bits", &MatchOptions::stencilFormat,
       [](DeviceSettings& s) { s.presentParams.AutoDepthStencilFormat = D3DFMT_D24S8; }},
      {"refresh rate", &MatchOptions::refreshRate,
       [](DeviceSettings& s) { s.presentParams.FullScreen_RefreshRateInHz = 85; }},
      {"presentation interval", &MatchOptions::presentInterval,
       [](DeviceSettings& s) { s.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_TWO; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MatchOptions options{};
    options.*c.component = MatchType::PreserveInput;
    EXPECT_TRUE(ComboMatchesPreserveOptions(combo, base, options));
    DeviceSettings spoiled = base;
    c.spoil(spoiled);
    EXPECT_FALSE(ComboMatchesPreserveOptions(combo, spoiled, options));
    options.*c.component = MatchType::ClosestToInput;
    EXPECT_TRUE(ComboMatchesPreserveOptions(combo, spoiled, options));
  }

  // Depth and stencil both preserved need the very format; D15S1 has the
  // stencil bits of nothing listed and D16's depth bits of nothing else.
  MatchOptions both{};
  both.depthFormat = MatchType::PreserveInput;
  both.stencilFormat = MatchType::PreserveInput;
  EXPECT_TRUE(ComboMatchesPreserveOptions(combo, base, both));
  DeviceSettings other = base;
  other.presentParams.AutoDepthStencilFormat = D3DFMT_D24S8;
  EXPECT_FALSE(ComboMatchesPreserveOptions(combo, other, both));
  MatchOptions depthOnly{};
  depthOnly.depthFormat = MatchType::PreserveInput;
  EXPECT_TRUE(ComboMatchesPreserveOptions(combo, other, depthOnly));  // 24 bits listed
}

// A combo built by hand, for the fill rules.
struct HandCombo {
  HandCombo(bool windowed, bool hardwareTransform) {
    adapter.adapterOrdinal = 0;
    adapter.displayModes = {{640, 480, 60, D3DFMT_X8R8G8B8},
                            {800, 600, 60, D3DFMT_X8R8G8B8},
                            {800, 600, 75, D3DFMT_X8R8G8B8},
                            {1024, 768, 60, D3DFMT_X8R8G8B8},
                            {1280, 1024, 60, D3DFMT_R5G6B5}};
    device.adapterOrdinal = 0;
    device.deviceType = D3DDEVTYPE_HAL;
    memset(&device.caps, 0, sizeof(device.caps));
    device.caps.DevCaps = hardwareTransform ? D3DDEVCAPS_HWTRANSFORMANDLIGHT : 0;
    combo.adapterOrdinal = 0;
    combo.deviceType = D3DDEVTYPE_HAL;
    combo.adapterFormat = D3DFMT_X8R8G8B8;
    combo.backBufferFormat = D3DFMT_X8R8G8B8;
    combo.windowed = windowed;
    combo.depthStencilFormats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32};
    combo.multiSampleTypes = {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_2_SAMPLES,
                              D3DMULTISAMPLE_4_SAMPLES, D3DMULTISAMPLE_8_SAMPLES};
    combo.multiSampleQualities = {1, 4, 2, 0};
    combo.presentIntervals = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                              D3DPRESENT_INTERVAL_ONE};
    combo.adapterInfo = &adapter;
    combo.deviceInfo = &device;
    memset(&request, 0, sizeof(request));
    request.presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    desktop = {1024, 768, 60, D3DFMT_X8R8G8B8};
  }

  DeviceSettings Build(const MatchOptions& options) const {
    return BuildValidDeviceSettings(combo, request, options, desktop);
  }

  AdapterInfo adapter;
  DeviceInfo device;
  DeviceSettingsCombo combo;
  DeviceSettings request;
  D3DDISPLAYMODE desktop;
};

MatchOptions Only(MatchType MatchOptions::*component, MatchType type) {
  MatchOptions options{};
  options.*component = type;
  return options;
}

TEST(FillRulesTest, VertexProcessingFollowsItsMatchTypeAndTheCaps) {
  const auto vp = &MatchOptions::vertexProcessing;
  HandCombo weak(true, false);
  weak.request.behaviorFlags = D3DCREATE_MIXED_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;
  EXPECT_EQ(weak.request.behaviorFlags, weak.Build(Only(vp, MatchType::PreserveInput)).behaviorFlags);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED),
            weak.Build(Only(vp, MatchType::ClosestToInput)).behaviorFlags);
  weak.request.behaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING),
            weak.Build(Only(vp, MatchType::ClosestToInput)).behaviorFlags);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING),
            weak.Build(Only(vp, MatchType::IgnoreInput)).behaviorFlags);

  HandCombo strong(true, true);
  strong.request.behaviorFlags = D3DCREATE_FPU_PRESERVE;
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_FPU_PRESERVE | D3DCREATE_HARDWARE_VERTEXPROCESSING),
            strong.Build(Only(vp, MatchType::ClosestToInput)).behaviorFlags);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING),
            strong.Build(Only(vp, MatchType::IgnoreInput)).behaviorFlags);
}

TEST(FillRulesTest, SizeFollowsItsMatchType) {
  const auto size = &MatchOptions::resolution;
  HandCombo windowed(true, true);
  windowed.request.presentParams.BackBufferWidth = 123;
  windowed.request.presentParams.BackBufferHeight = 45;
  DeviceSettings s = windowed.Build(Only(size, MatchType::ClosestToInput));
  EXPECT_EQ(123u, s.presentParams.BackBufferWidth);
  EXPECT_EQ(45u, s.presentParams.BackBufferHeight);
  s = windowed.Build(Only(size, MatchType::IgnoreInput));
  EXPECT_EQ(640u, s.presentParams.BackBufferWidth);
  EXPECT_EQ(480u, s.presentParams.BackBufferHeight);

  HandCombo full(false, true);
  full.request.presentParams.BackBufferWidth = 123;
  full.request.presentParams.BackBufferHeight = 45;
  s = full.Build(Only(size, MatchType::PreserveInput));
  EXPECT_EQ(123u, s.presentParams.BackBufferWidth);
  s = full.Build(Only(size, MatchType::ClosestToInput));
  EXPECT_EQ(640u, s.presentParams.BackBufferWidth);
  EXPECT_EQ(480u, s.presentParams.BackBufferHeight);
  full.request.presentParams.BackBufferWidth = 1300;  // 1280 × 1024 is of another format
  full.request.presentParams.BackBufferHeight = 1000;
  s = full.Build(Only(size, MatchType::ClosestToInput));
  EXPECT_EQ(1024u, s.presentParams.BackBufferWidth);
  s = full.Build(Only(size, MatchType::IgnoreInput));
  EXPECT_EQ(1024u, s.presentParams.BackBufferWidth);
  EXPECT_EQ(768u, s.presentParams.BackBufferHeight);

  UINT width = 0, height = 0;
  full.adapter.displayModes.clear();
  FindClosestDisplayMode(full.combo, 333, 222, &width, &height);
  EXPECT_EQ(333u, width);
  EXPECT_EQ(222u, height);
}

TEST(FillRulesTest, BackBufferCountAndSwapEffectFollowTheirMatchTypes) {
  HandCombo h(true, true);
  const auto count = &MatchOptions::backBufferCount;
  h.request.presentParams.BackBufferCount = 7;
  EXPECT_EQ(7u, h.Build(Only(count, MatchType::PreserveInput)).presentParams.BackBufferCount);
  EXPECT_EQ(3u, h.Build(Only(count, MatchType::ClosestToInput)).presentParams.BackBufferCount);
  EXPECT_EQ(2u, h.Build(Only(count, MatchType::IgnoreInput)).presentParams.BackBufferCount);
  h.request.presentParams.BackBufferCount = 0;
  EXPECT_EQ(1u, h.Build(Only(count, MatchType::ClosestToInput)).presentParams.BackBufferCount);

  const auto swap = &MatchOptions::swapEffect;
  h.request.presentParams.SwapEffect = D3DSWAPEFFECT_FLIP;
  EXPECT_EQ(D3DSWAPEFFECT_FLIP, h.Build(Only(swap, MatchType::PreserveInput)).presentParams.SwapEffect);
  EXPECT_EQ(D3DSWAPEFFECT_FLIP, h.Build(Only(swap, MatchType::ClosestToInput)).presentParams.SwapEffect);
  EXPECT_EQ(D3DSWAPEFFECT_DISCARD, h.Build(Only(swap, MatchType::IgnoreInput)).presentParams.SwapEffect);
  h.request.presentParams.SwapEffect = static_cast<D3DSWAPEFFECT>(99);
  EXPECT_EQ(D3DSWAPEFFECT_DISCARD, h.Build(Only(swap, MatchType::ClosestToInput)).presentParams.SwapEffect);
}

TEST(FillRulesTest, MultisamplingNeedsDiscardAndFollowsItsMatchType) {
  HandCombo h(true, true);
  const auto ms = &MatchOptions::multiSample;
  h.request.presentParams.MultiSampleType = D3DMULTISAMPLE_5_SAMPLES;
  h.request.presentParams.MultiSampleQuality = 3;

  DeviceSettings s = h.Build(Only(ms, MatchType::PreserveInput));
  EXPECT_EQ(D3DMULTISAMPLE_5_SAMPLES, s.presentParams.MultiSampleType);
  EXPECT_EQ(3u, s.presentParams.MultiSampleQuality);
  s = h.Build(Only(ms, MatchType::ClosestToInput));
  EXPECT_EQ(D3DMULTISAMPLE_4_SAMPLES, s.presentParams.MultiSampleType);  // nearest to 5
  EXPECT_EQ(1u, s.presentParams.MultiSampleQuality);  // only two levels
  s = h.Build(Only(ms, MatchType::IgnoreInput));
  EXPECT_EQ(D3DMULTISAMPLE_NONE, s.presentParams.MultiSampleType);

  // A type that reports no quality levels is used at quality 0.
  h.request.presentParams.MultiSampleType = D3DMULTISAMPLE_8_SAMPLES;
  s = h.Build(Only(ms, MatchType::ClosestToInput));
  EXPECT_EQ(D3DMULTISAMPLE_8_SAMPLES, s.presentParams.MultiSampleType);
  EXPECT_EQ(0u, s.presentParams.MultiSampleQuality);

  h.request.presentParams.SwapEffect = D3DSWAPEFFECT_COPY;
  s = h.Build(Only(ms, MatchType::PreserveInput));
  EXPECT_EQ(D3DMULTISAMPLE_NONE, s.presentParams.MultiSampleType);
  EXPECT_EQ(0u, s.presentParams.MultiSampleQuality);
}

TEST(FillRulesTest, DepthStencilTakesTheCheapestListedFormat) {
  HandCombo h(true, true);
  MatchOptions options{};
  DeviceSettings s = h.Build(options);
  EXPECT_EQ(D3DFMT_D32, s.presentParams.AutoDepthStencilFormat);  // 4 × 8 bits, no stencil
  EXPECT_EQ(static_cast<DWORD>(D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL), s.presentParams.Flags);

  h.combo.depthStencilFormats = {D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16};
  EXPECT_EQ(D3DFMT_D24X8, h.Build(options).presentParams.AutoDepthStencilFormat);

  h.request.presentParams.AutoDepthStencilFormat = D3DFMT_D24S8;
  options.depthFormat = MatchType::ClosestToInput;
  options.stencilFormat = MatchType::ClosestToInput;
  EXPECT_EQ(D3DFMT_D24S8, h.Build(options).presentParams.AutoDepthStencilFormat);

  h.request.presentParams.AutoDepthStencilFormat = D3DFMT_D16;
  options.depthFormat = MatchType::PreserveInput;
  options.stencilFormat = MatchType::PreserveInput;
  EXPECT_EQ(D3DFMT_D16, h.Build(options).presentParams.AutoDepthStencilFormat);

  h.combo.depthStencilFormats.clear();
  s = h.Build(MatchOptions{});
  EXPECT_FALSE(s.presentParams.EnableAutoDepthStencil);
  EXPECT_EQ(D3DFMT_UNKNOWN, s.presentParams.AutoDepthStencilFormat);
  EXPECT_EQ(0u, s.presentParams.Flags);
}

TEST(FillRulesTest, PresentFlagsFollowTheirMatchType) {
  HandCombo h(true, true);
  const auto flags = &MatchOptions::presentFlags;
  h.request.presentParams.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  EXPECT_EQ(static_cast<DWORD>(D3DPRESENTFLAG_LOCKABLE_BACKBUFFER),
            h.Build(Only(flags, MatchType::PreserveInput)).presentParams.Flags);
  EXPECT_EQ(static_cast<DWORD>(D3DPRESENTFLAG_LOCKABLE_BACKBUFFER |
                               D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL),
            h.Build(Only(flags, MatchType::ClosestToInput)).presentParams.Flags);
  EXPECT_EQ(static_cast<DWORD>(D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL),
            h.Build(Only(flags, MatchType::IgnoreInput)).presentParams.Flags);
}

TEST(FillRulesTest, RefreshRateFollowsItsMatchTypeAndIsZeroInAWindow) {
  const auto rate = &MatchOptions::refreshRate;
  HandCombo windowed(true, true);
  windowed.request.presentParams.FullScreen_RefreshRateInHz = 75;
  EXPECT_EQ(0u, windowed.Build(Only(rate, MatchType::PreserveInput))
                    .presentParams.FullScreen_RefreshRateInHz);

  HandCombo full(false, true);
  full.request.presentParams.BackBufferWidth = 800;
  full.request.presentParams.BackBufferHeight = 600;
  MatchOptions options = Only(rate, MatchType::ClosestToInput);
  options.resolution = MatchType::PreserveInput;
  full.request.presentParams.FullScreen_RefreshRateInHz = 72;
  EXPECT_EQ(75u, full.Build(options).presentParams.FullScreen_RefreshRateInHz);
  full.request.presentParams.FullScreen_RefreshRateInHz = 0;
  EXPECT_EQ(0u, full.Build(options).presentParams.FullScreen_RefreshRateInHz);
  options.refreshRate = MatchType::IgnoreInput;
  EXPECT_EQ(60u, full.Build(options).presentParams.FullScreen_RefreshRateInHz);
  options.refreshRate = MatchType::PreserveInput;
  full.request.presentParams.FullScreen_RefreshRateInHz = 85;
  EXPECT_EQ(85u, full.Build(options).presentParams.FullScreen_RefreshRateInHz);
}

TEST(FillRulesTest, PresentationIntervalFollowsItsMatchType) {
  HandCombo h(true, true);
  const auto interval = &MatchOptions::presentInterval;
  h.request.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_ONE),
            h.Build(Only(interval, MatchType::ClosestToInput)).presentParams.PresentationInterval);
  h.request.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_FOUR;
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_FOUR),
            h.Build(Only(interval, MatchType::PreserveInput)).presentParams.PresentationInterval);
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT),
            h.Build(Only(interval, MatchType::ClosestToInput)).presentParams.PresentationInterval);
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT),
            h.Build(Only(interval, MatchType::IgnoreInput)).presentParams.PresentationInterval);
}

TEST(RankTest, EachComponentAddsItsWeight) {
  HandCombo h(false, true);
  DeviceSettings optimal;
  memset(&optimal, 0, sizeof(optimal));
  optimal.deviceType = D3DDEVTYPE_HAL;
  optimal.adapterFormat = D3DFMT_X8R8G8B8;
  optimal.behaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
  optimal.presentParams.Windowed = FALSE;
  optimal.presentParams.BackBufferWidth = 800;
  optimal.presentParams.BackBufferHeight = 600;
  optimal.presentParams.BackBufferFormat = D3DFMT_X8R8G8B8;
  optimal.presentParams.AutoDepthStencilFormat = D3DFMT_D32;
  optimal.presentParams.FullScreen_RefreshRateInHz = 75;
  optimal.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
  // adapter 1000, type 100.1, windowed 10, adapter format 1.1, vertex
  // processing 1.1, size 1, back buffer 1.1, multisample 1, depth 1,
  // refresh 1, interval 1.
  EXPECT_NEAR(1118.4f, RankDeviceCombo(h.combo, optimal, h.desktop), 0.001f);

  optimal.adapterFormat = D3DFMT_R5G6B5;  // 3 bits apart: 0.9 − 0.6
  optimal.presentParams.BackBufferFormat = D3DFMT_A2R10G10B10;  // 2 apart: 0.9 − 0.4
  optimal.presentParams.Windowed = TRUE;
  optimal.deviceType = D3DDEVTYPE_REF;
  EXPECT_NEAR(1118.4f - 100.0f - 10.0f - 0.7f - 0.5f,
              RankDeviceCombo(h.combo, optimal, h.desktop), 0.001f);
}

TEST(FormatBitsTest, ChannelDepthAndStencilBitsByFormat) {
  EXPECT_EQ(8u, ColorChannelBits(D3DFMT_A8B8G8R8));
  EXPECT_EQ(5u, ColorChannelBits(D3DFMT_A1R5G5B5));
  EXPECT_EQ(4u, ColorChannelBits(D3DFMT_X4R4G4B4));
  EXPECT_EQ(2u, ColorChannelBits(D3DFMT_A8R3G3B2));
  EXPECT_EQ(10u, ColorChannelBits(D3DFMT_A2B10G10R10));
  EXPECT_EQ(16u, ColorChannelBits(D3DFMT_A16B16G16R16));
  EXPECT_EQ(0u, ColorChannelBits(D3DFMT_D16));
  EXPECT_EQ(16u, DepthBits(D3DFMT_D16_LOCKABLE));
  EXPECT_EQ(32u, DepthBits(D3DFMT_D32F_LOCKABLE));
  EXPECT_EQ(15u, DepthBits(D3DFMT_D15S1));
  EXPECT_EQ(24u, DepthBits(D3DFMT_D24FS8));
  EXPECT_EQ(0u, DepthBits(D3DFMT_X8R8G8B8));
  EXPECT_EQ(1u, StencilBits(D3DFMT_D15S1));
  EXPECT_EQ(8u, StencilBits(D3DFMT_D24FS8));
  EXPECT_EQ(4u, StencilBits(D3DFMT_D24X4S4));
  EXPECT_EQ(0u, StencilBits(D3DFMT_D24X8));
}

}  // namespace
