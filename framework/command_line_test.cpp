// Command-line options: matching rules, values and where the overrides act.
#include "framework/command_line.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "framework/framework_state.h"

namespace {

std::wstring g_lastTrace;
int g_traceCount = 0;

void RecordTrace(const wchar_t* text) {
  g_lastTrace = text;
  ++g_traceCount;
}

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FrameworkGetState().ResetFieldsForTest();
    g_lastTrace.clear();
    g_traceCount = 0;
    FrameworkSetTraceHook(RecordTrace);
  }
  void TearDown() override {
    FrameworkSetTraceHook(nullptr);
    FrameworkGetState().ResetFieldsForTest();
  }

  FrameworkState& state() { return FrameworkGetState(); }

  // A windowed request as the game makes it, after the overrides.
  void OverriddenRequest(DeviceSettings* request, MatchOptions* options) {
    memset(request, 0, sizeof(*request));
    request->presentParams.Windowed = TRUE;
    request->presentParams.BackBufferWidth = 320;
    request->presentParams.BackBufferHeight = 320;
    *options = MatchOptions{};
    options->adapterOrdinal = MatchType::PreserveInput;
    options->windowed = MatchType::PreserveInput;
    options->resolution = MatchType::ClosestToInput;
    FrameworkApplyRequestOverrides(*request, *options);
  }
};

TEST_F(CommandLineTest, EveryOptionSetsItsField) {
  const wchar_t* arguments[] = {
      L"-adapter:3",       L"-windowed",      L"-fullscreen",      L"-forcehal",
      L"-forceref",        L"-forcepurehwvp", L"-forcehwvp",       L"-forceswvp",
      L"-forcevsync:0",    L"-width:800",     L"-height:600",      L"-startx:10",
      L"-starty:-20",      L"-quitafterframe:5", L"-noerrormsgboxes", L"-nostats",
      L"-relaunchmce",     L"-automation"};
  for (const wchar_t* argument : arguments) {
    EXPECT_TRUE(FrameworkParseArgument(argument)) << "argument " << argument - arguments[0];
  }
  EXPECT_EQ(3, state().GetOverrideAdapterOrdinal());
  EXPECT_TRUE(state().GetOverrideWindowed());
  EXPECT_TRUE(state().GetOverrideFullScreen());
  EXPECT_TRUE(state().GetOverrideForceHAL());
  EXPECT_TRUE(state().GetOverrideForceREF());
  EXPECT_TRUE(state().GetOverrideForcePureHWVP());
  EXPECT_TRUE(state().GetOverrideForceHWVP());
  EXPECT_TRUE(state().GetOverrideForceSWVP());
  EXPECT_EQ(0, state().GetOverrideForceVsync());
  EXPECT_EQ(800, state().GetOverrideWidth());
  EXPECT_EQ(600, state().GetOverrideHeight());
  EXPECT_EQ(10, state().GetOverrideStartX());
  EXPECT_EQ(-20, state().GetOverrideStartY());
  EXPECT_EQ(5, state().GetOverrideQuitAfterFrame());
  EXPECT_FALSE(state().GetShowMsgBoxOnError());
  EXPECT_TRUE(state().GetNoStats());
  EXPECT_TRUE(state().GetOverrideRelaunchMCE());
  EXPECT_TRUE(state().GetAutomation());
  EXPECT_EQ(0, g_traceCount);
}

TEST_F(CommandLineTest, DefaultsMeanNoOptionWasGiven) {
  EXPECT_EQ(-1, state().GetOverrideAdapterOrdinal());
  EXPECT_EQ(-1, state().GetOverrideStartX());
  EXPECT_EQ(-1, state().GetOverrideStartY());
  EXPECT_EQ(-1, state().GetOverrideForceVsync());
  EXPECT_EQ(0, state().GetOverrideWidth());
  EXPECT_FALSE(state().GetOverrideConstantFrameTime());
  DeviceSettings request;
  MatchOptions options;
  OverriddenRequest(&request, &options);
  EXPECT_EQ(320u, request.presentParams.BackBufferWidth);
  EXPECT_EQ(MatchType::IgnoreInput, options.deviceType);
  EXPECT_EQ(MatchType::IgnoreInput, options.vertexProcessing);
  EXPECT_EQ(MatchType::IgnoreInput, options.presentInterval);
}

TEST_F(CommandLineTest, NamesIgnoreCaseAndTakeEitherPrefix) {
  EXPECT_TRUE(FrameworkParseArgument(L"/ADAPTER:1"));
  EXPECT_EQ(1, state().GetOverrideAdapterOrdinal());
  EXPECT_TRUE(FrameworkParseArgument(L"-Width:800"));
  EXPECT_EQ(800, state().GetOverrideWidth());
  EXPECT_TRUE(FrameworkParseArgument(L"/NoStats"));
  EXPECT_TRUE(state().GetNoStats());
}

TEST_F(CommandLineTest, NamesMustEndAtTheArgumentOrAColon) {
  EXPECT_FALSE(FrameworkParseArgument(L"-widthx:5"));
  EXPECT_FALSE(FrameworkParseArgument(L"-wid:5"));
  EXPECT_FALSE(FrameworkParseArgument(L"+width:5"));
  EXPECT_FALSE(FrameworkParseArgument(L"-"));
  EXPECT_FALSE(FrameworkParseArgument(L""));
  EXPECT_FALSE(FrameworkParseArgument(nullptr));
  EXPECT_EQ(0, state().GetOverrideWidth());
  // A flag ignores what follows its name.
  EXPECT_TRUE(FrameworkParseArgument(L"-windowed:yes"));
  EXPECT_TRUE(state().GetOverrideWindowed());
}

TEST_F(CommandLineTest, ValueOptionWithoutColonIsDroppedWithEmptyText) {
  EXPECT_FALSE(FrameworkParseArgument(L"-width"));
  EXPECT_EQ(0, state().GetOverrideWidth());
  EXPECT_EQ(1, g_traceCount);
  EXPECT_EQ(L"Unrecognized flag: ", g_lastTrace);
}

TEST_F(CommandLineTest, UnrecognisedArgumentsAreTracedAndIgnored) {
  EXPECT_FALSE(FrameworkParseArgument(L"puzzle.kbr"));
  EXPECT_EQ(L"Unrecognized flag: puzzle.kbr", g_lastTrace);
  EXPECT_FALSE(FrameworkParseArgument(L"/foo bar"));
  EXPECT_EQ(L"Unrecognized flag: foo", g_lastTrace);
  std::wstring huge = L"-" + std::wstring(1000, L'z');
  EXPECT_FALSE(FrameworkParseArgument(huge.c_str()));
  EXPECT_EQ(L"Unrecognized flag: " + std::wstring(255, L'z'), g_lastTrace);
}

TEST_F(CommandLineTest, IntegerValuesReadLikeWtoi) {
  FrameworkParseArgument(L"-width:abc");
  EXPECT_EQ(0, state().GetOverrideWidth());
  FrameworkParseArgument(L"-startx:-5x");
  EXPECT_EQ(-5, state().GetOverrideStartX());
  FrameworkParseArgument(L"-startx:+42");
  EXPECT_EQ(42, state().GetOverrideStartX());
  FrameworkParseArgument(L"-adapter:");
  EXPECT_EQ(0, state().GetOverrideAdapterOrdinal());
}

TEST_F(CommandLineTest, SizesOfZeroOrLessCountAsNotGiven) {
  FrameworkParseArgument(L"-width:-100");
  FrameworkParseArgument(L"-height:-1");
  EXPECT_EQ(0, state().GetOverrideWidth());
  EXPECT_EQ(0, state().GetOverrideHeight());
  // An earlier valid size stays; the window and the device keep the request.
  FrameworkParseArgument(L"-width:800");
  FrameworkParseArgument(L"-width:-100");
  FrameworkParseArgument(L"-width:0");
  EXPECT_EQ(800, state().GetOverrideWidth());
  FrameworkParseArgument(L"-height:-4");
  DeviceSettings request;
  MatchOptions options;
  OverriddenRequest(&request, &options);
  EXPECT_EQ(800u, request.presentParams.BackBufferWidth);
  EXPECT_EQ(320u, request.presentParams.BackBufferHeight);
}

TEST_F(CommandLineTest, ValuesAreCutTo255Characters) {
  // The 256th character of a value no longer fits the buffer.
  std::wstring kept = L"-width:" + std::wstring(254, L'0') + L"7";
  FrameworkParseArgument(kept.c_str());
  EXPECT_EQ(7, state().GetOverrideWidth());
  std::wstring cut = L"-height:" + std::wstring(255, L'0') + L"7";
  FrameworkParseArgument(cut.c_str());
  EXPECT_EQ(0, state().GetOverrideHeight());
}

TEST_F(CommandLineTest, ConstantFrameTimeDefaultsToOneThirtiethOfASecond) {
  EXPECT_TRUE(FrameworkParseArgument(L"-constantframetime"));
  EXPECT_TRUE(state().GetOverrideConstantFrameTime());
  const float step = state().GetOverrideTimePerFrame();
  UINT32 bits;
  memcpy(&bits, &step, sizeof(bits));
  EXPECT_EQ(0x3D086595u, bits);
  // The override reaches the clock's fixed step at once.
  EXPECT_TRUE(state().GetConstantFrameTime());
  EXPECT_EQ(step, state().GetTimePerFrame());
}

TEST_F(CommandLineTest, ConstantFrameTimeTakesADecimalValue) {
  EXPECT_TRUE(FrameworkParseArgument(L"-constantframetime:0.01"));
  EXPECT_FLOAT_EQ(0.01f, state().GetOverrideTimePerFrame());
  EXPECT_FLOAT_EQ(0.01f, state().GetTimePerFrame());
}

TEST_F(CommandLineTest, CommandLineTextSkipsTheProgramAndSplitsQuotes) {
  FrameworkParseCommandLineText(
      L"-windowed \"-width:640\" puzzle.kbr \"/adapter:2\" -nostats");
  EXPECT_FALSE(state().GetOverrideWindowed());  // the program path
  EXPECT_EQ(640, state().GetOverrideWidth());
  EXPECT_EQ(2, state().GetOverrideAdapterOrdinal());
  EXPECT_TRUE(state().GetNoStats());
  FrameworkParseCommandLineText(nullptr);
  FrameworkParseCommandLineText(L"");
}

TEST_F(CommandLineTest, FullScreenThenWindowedStartsWindowed) {
  FrameworkParseCommandLineText(L"kubri.exe -fullscreen -windowed");
  DeviceSettings request;
  MatchOptions options;
  OverriddenRequest(&request, &options);
  EXPECT_TRUE(request.presentParams.Windowed);

  DeviceSettings first;
  memset(&first, 0, sizeof(first));
  FrameworkApplyOverrides(first);
  EXPECT_TRUE(first.presentParams.Windowed);
}

TEST_F(CommandLineTest, FullScreenWithoutSizeLetsTheResolutionGo) {
  FrameworkParseArgument(L"-fullscreen");
  DeviceSettings request;
  MatchOptions options;
  OverriddenRequest(&request, &options);
  EXPECT_FALSE(request.presentParams.Windowed);
  EXPECT_EQ(MatchType::IgnoreInput, options.resolution);

  FrameworkParseArgument(L"-height:600");
  OverriddenRequest(&request, &options);
  EXPECT_EQ(MatchType::ClosestToInput, options.resolution);
  EXPECT_EQ(320u, request.presentParams.BackBufferWidth);
  EXPECT_EQ(600u, request.presentParams.BackBufferHeight);
}

TEST_F(CommandLineTest, ForceHalThenForceRefGivesReference) {
  FrameworkParseCommandLineText(L"kubri.exe -forcehal -forceref");
  DeviceSettings request;
  MatchOptions options;
  OverriddenRequest(&request, &options);
  EXPECT_EQ(D3DDEVTYPE_REF, request.deviceType);
  EXPECT_EQ(MatchType::PreserveInput, options.deviceType);

  DeviceSettings first;
  memset(&first, 0, sizeof(first));
  first.deviceType = D3DDEVTYPE_HAL;
  FrameworkApplyOverrides(first);
  EXPECT_EQ(D3DDEVTYPE_REF, first.deviceType);
}

TEST_F(CommandLineTest, AdapterAndSizeOverridesReplaceTheRequest) {
  FrameworkParseCommandLineText(L"kubri.exe -adapter:1 -width:1024");
  DeviceSettings request;
  MatchOptions options;
  OverriddenRequest(&request, &options);
  EXPECT_EQ(1u, request.adapterOrdinal);
  EXPECT_EQ(1024u, request.presentParams.BackBufferWidth);
  EXPECT_EQ(320u, request.presentParams.BackBufferHeight);

  DeviceSettings first;
  memset(&first, 0, sizeof(first));
  first.presentParams.BackBufferHeight = 480;
  FrameworkApplyOverrides(first);
  EXPECT_EQ(1u, first.adapterOrdinal);
  EXPECT_EQ(1024u, first.presentParams.BackBufferWidth);
  EXPECT_EQ(480u, first.presentParams.BackBufferHeight);
}

TEST_F(CommandLineTest, VertexProcessingOverridesPreferPureThenHardwareThenSoftware) {
  FrameworkParseCommandLineText(L"kubri.exe -forceswvp -forcehwvp");
  DeviceSettings request;
  MatchOptions options;
  OverriddenRequest(&request, &options);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING), request.behaviorFlags);
  EXPECT_EQ(MatchType::PreserveInput, options.vertexProcessing);

  DeviceSettings first;
  memset(&first, 0, sizeof(first));
  first.behaviorFlags = D3DCREATE_MIXED_VERTEXPROCESSING | D3DCREATE_PUREDEVICE |
                        D3DCREATE_FPU_PRESERVE;
  FrameworkApplyOverrides(first);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_FPU_PRESERVE),
            first.behaviorFlags);

  FrameworkParseArgument(L"-forcepurehwvp");
  OverriddenRequest(&request, &options);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE),
            request.behaviorFlags);
  first.behaviorFlags = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  FrameworkApplyOverrides(first);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE),
            first.behaviorFlags);
}

TEST_F(CommandLineTest, SoftwareOverrideClearsHardwareAndPure) {
  FrameworkParseArgument(L"-forceswvp");
  DeviceSettings first;
  memset(&first, 0, sizeof(first));
  first.behaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
  FrameworkApplyOverrides(first);
  EXPECT_EQ(static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING), first.behaviorFlags);
}

TEST_F(CommandLineTest, VsyncOverrideActsOnlyOnTheRequestAndOnlyForZeroOrOne) {
  DeviceSettings request;
  MatchOptions options;
  FrameworkParseArgument(L"-forcevsync:0");
  OverriddenRequest(&request, &options);
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE), request.presentParams.PresentationInterval);
  EXPECT_EQ(MatchType::PreserveInput, options.presentInterval);

  DeviceSettings first;
  memset(&first, 0, sizeof(first));
  first.presentParams.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
  FrameworkApplyOverrides(first);
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_ONE), first.presentParams.PresentationInterval);

  FrameworkParseArgument(L"-forcevsync:1");
  OverriddenRequest(&request, &options);
  EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT), request.presentParams.PresentationInterval);

  FrameworkParseArgument(L"-forcevsync:2");
  OverriddenRequest(&request, &options);
  EXPECT_EQ(MatchType::IgnoreInput, options.presentInterval);
}

}  // namespace
