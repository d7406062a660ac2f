// The reference-device warning: when it is shown, its in-memory dialog with
// the five controls, the registry value that silences it, and the No answer.
#include "framework/device.h"

#include "framework/test_recorder.h"

namespace fwtest {
namespace {

void DeleteSkipValue() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kFrameworkReferenceWarningKey, 0, KEY_SET_VALUE, &key) ==
      ERROR_SUCCESS) {
    RegDeleteValueW(key, kFrameworkReferenceWarningValue);
    RegCloseKey(key);
  }
}

DWORD ReadSkipValue() {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, kFrameworkReferenceWarningKey,
                   kFrameworkReferenceWarningValue, RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS) {
    return 0xFFFFFFFF;
  }
  return value;
}

void WriteSkipValue(DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kFrameworkReferenceWarningKey, 0,
                                           nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
  RegSetValueExW(key, kFrameworkReferenceWarningValue, 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
}

int g_dialogCalls = 0;
INT_PTR g_dialogAnswer = 6;
std::wstring g_dialogCaption;

INT_PTR FakeDialog(HWND, const wchar_t* caption) {
  ++g_dialogCalls;
  g_dialogCaption = caption;
  return g_dialogAnswer;
}

class ReferenceWarningTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    DeleteSkipValue();
    g_dialogCalls = 0;
    g_dialogAnswer = 6;
    FrameworkSetReferenceDialogHook(FakeDialog);
  }
  void TearDown() override {
    DeleteSkipValue();
    FrameworkTest::TearDown();
  }
};

TEST_F(ReferenceWarningTest, NothingIsShownWhenMessageBoxesAreOff) {
  InitAndWindow();
  FrameworkGetState().SetShowMsgBoxOnError(false);
  FrameworkShowReferenceWarning();
  EXPECT_EQ(0, g_dialogCalls);
}

TEST_F(ReferenceWarningTest, SkipValueInTheRegistrySilencesTheWarning) {
  InitAndWindow();
  WriteSkipValue(1);
  FrameworkShowReferenceWarning();
  EXPECT_EQ(0, g_dialogCalls);
  WriteSkipValue(0);
  FrameworkShowReferenceWarning();
  EXPECT_EQ(1, g_dialogCalls);
  EXPECT_EQ(L"Test", g_dialogCaption);
}

TEST_F(ReferenceWarningTest, YesGoesOnAndDontShowAgainIsRemembered) {
  InitAndWindow();
  g_dialogAnswer = 6;
  FrameworkShowReferenceWarning();
  EXPECT_EQ(0xFFFFFFFFu, ReadSkipValue()) << "written without the mark";
  g_dialogAnswer = 6 | 0x80;
  FrameworkShowReferenceWarning();
  EXPECT_EQ(1u, ReadSkipValue());
  EXPECT_NE(nullptr, FrameworkGetWindow());
  EXPECT_EQ(0, FrameworkGetExitCode());
  FrameworkShowReferenceWarning();
  EXPECT_EQ(2, g_dialogCalls);
}

TEST_F(ReferenceWarningTest, NoShutsDownWithExitCode1) {
  InitAndWindow();
  g_dialogAnswer = 7;
  FrameworkShowReferenceWarning();
  EXPECT_EQ(1, FrameworkGetExitCode());
  EXPECT_EQ(nullptr, FrameworkGetWindow());
}

TEST_F(ReferenceWarningTest, TemplateHoldsTheDialogsStyleSizeAndFiveControls) {
  WORD buffer[1024] = {};
  EXPECT_EQ(0u, FrameworkBuildReferenceDialogTemplate(L"Kubri", buffer, 20))
      << "a template that does not fit must not be used";
  const size_t bytes = FrameworkBuildReferenceDialogTemplate(L"Kubri", buffer, 1024);
  ASSERT_GT(bytes, 0u);
  const DLGTEMPLATE* header = reinterpret_cast<const DLGTEMPLATE*>(buffer);
  EXPECT_EQ(0x90C808C5u, header->style);
  EXPECT_EQ(5, header->cdit);
  EXPECT_EQ(269, header->cx);
  EXPECT_EQ(82, header->cy);
}

// Inspects the real dialog from a timer inside its modal loop, then answers.
struct DialogSeen {
  bool found = false;
  std::wstring caption;
  std::wstring texts[5];
  std::wstring classes[5];
  LONG_PTR styles[5] = {};
  bool noEnabledAfterMark = true;
  bool noEnabledAfterUnmark = false;
  bool iconSet = false;
  WORD answer = 6;
  bool markFirst = false;
};
DialogSeen g_seen;
const int kIds[5] = {256, 257, 6, 7, 5};

void CALLBACK InspectDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", nullptr);
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  g_seen.found = true;
  wchar_t text[512] = {};
  GetWindowTextW(dialog, text, 512);
  g_seen.caption = text;
  for (int i = 0; i < 5; ++i) {
    HWND control = GetDlgItem(dialog, kIds[i]);
    if (control == nullptr) continue;
    GetWindowTextW(control, text, 512);
    g_seen.texts[i] = text;
    GetClassNameW(control, text, 512);
    g_seen.classes[i] = text;
    g_seen.styles[i] = GetWindowLongPtrW(control, GWL_STYLE);
  }
  g_seen.iconSet = SendDlgItemMessageW(dialog, 256, STM_GETICON, 0, 0) != 0;
  HWND box = GetDlgItem(dialog, 5);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), reinterpret_cast<LPARAM>(box));
  g_seen.noEnabledAfterMark = IsWindowEnabled(GetDlgItem(dialog, 7)) != FALSE;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), reinterpret_cast<LPARAM>(box));
  g_seen.noEnabledAfterUnmark = IsWindowEnabled(GetDlgItem(dialog, 7)) != FALSE;
  if (g_seen.markFirst) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), reinterpret_cast<LPARAM>(box));
  }
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(g_seen.answer, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, g_seen.answer)));
}

TEST_F(ReferenceWarningTest, RealDialogShowsItsControlsAndRemembersTheMarkOnYes) {
  FrameworkSetReferenceDialogHook(nullptr);
  InitAndWindow();
  g_seen = DialogSeen{};
  g_seen.answer = 6;
  g_seen.markFirst = true;
  SetTimer(nullptr, 0, 50, InspectDialog);
  FrameworkShowReferenceWarning();
  ASSERT_TRUE(g_seen.found);
  EXPECT_EQ(L"Test", g_seen.caption);
  EXPECT_EQ(L"Switching to the Direct3D reference rasterizer, a software device\n"
            L"that implements the entire Direct3D feature set, but runs very slowly.\n"
            L"Do you wish to continue?",
            g_seen.texts[1]);
  EXPECT_EQ(L"&Yes", g_seen.texts[2]);
  EXPECT_EQ(L"&No", g_seen.texts[3]);
  EXPECT_EQ(L"&Don't show again", g_seen.texts[4]);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(0, _wcsicmp(L"Static", g_seen.classes[i].c_str()));
  for (int i = 2; i < 5; ++i) EXPECT_EQ(0, _wcsicmp(L"Button", g_seen.classes[i].c_str()));
  EXPECT_EQ(SS_ICON, g_seen.styles[0] & SS_TYPEMASK);
  EXPECT_EQ(BS_DEFPUSHBUTTON, g_seen.styles[2] & BS_TYPEMASK);
  EXPECT_EQ(BS_PUSHBUTTON, g_seen.styles[3] & BS_TYPEMASK);
  EXPECT_EQ(BS_CHECKBOX, g_seen.styles[4] & BS_TYPEMASK);
  EXPECT_TRUE(g_seen.iconSet);
  EXPECT_FALSE(g_seen.noEnabledAfterMark);
  EXPECT_TRUE(g_seen.noEnabledAfterUnmark);
  EXPECT_EQ(1u, ReadSkipValue());
  EXPECT_EQ(0, FrameworkGetExitCode());
  EXPECT_NE(nullptr, FrameworkGetWindow());
}

TEST_F(ReferenceWarningTest, RealDialogNoEndsTheProgram) {
  FrameworkSetReferenceDialogHook(nullptr);
  InitAndWindow();
  g_seen = DialogSeen{};
  g_seen.answer = 7;
  SetTimer(nullptr, 0, 50, InspectDialog);
  FrameworkShowReferenceWarning();
  ASSERT_TRUE(g_seen.found);
  EXPECT_EQ(1, FrameworkGetExitCode());
  EXPECT_EQ(0xFFFFFFFFu, ReadSkipValue());
}

}  // namespace
}  // namespace fwtest
