// The warning shown before the program goes on with the slow reference
// device: a dialog built in memory, and the registry value that silences it.
// Part of the device unit (declared in device.h); answering No shuts the
// framework down through the state's relay.
#include <windows.h>

#include "framework/device.h"
#include "framework/framework_state.h"

namespace {

constexpr WORD kIconId = 256;
constexpr WORD kTextId = 257;
constexpr WORD kYesId = 6;
constexpr WORD kNoId = 7;
constexpr WORD kDontShowId = 5;
constexpr INT_PTR kDontShowBit = 0x80;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;

const wchar_t kWarningText[] =
    L"Switching to the Direct3D reference rasterizer, a software device\n"
    L"that implements the entire Direct3D feature set, but runs very slowly.\n"
    L"Do you wish to continue?";

FrameworkReferenceDialogFn g_dialogHook = nullptr;

// Writes words into a fixed buffer and remembers whether everything fitted.
class TemplateWriter {
 public:
  TemplateWriter(WORD* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}
  void Word(WORD value) {
    if (buffer_ != nullptr && used_ < capacity_) {
      buffer_[used_] = value;
    } else {
      overflow_ = true;
    }
    ++used_;
  }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(const wchar_t* text) {
    for (; text != nullptr && *text != L'\0'; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  // Items start on a four-byte boundary.
  void AlignDword() {
    if (used_ % 2 != 0) Word(0);
  }
  size_t Bytes() const { return overflow_ ? 0 : used_ * sizeof(WORD); }

 private:
  WORD* buffer_;
  size_t capacity_;
  size_t used_ = 0;
  bool overflow_ = false;
};

void Item(TemplateWriter& out, DWORD style, short x, short y, short cx, short cy, WORD id,
          WORD classAtom, const wchar_t* text) {
  out.AlignDword();
  out.Dword(WS_CHILD | WS_VISIBLE | style);
  out.Dword(0);  // extended style
  out.Word(static_cast<WORD>(x));
  out.Word(static_cast<WORD>(y));
  out.Word(static_cast<WORD>(cx));
  out.Word(static_cast<WORD>(cy));
  out.Word(id);
  out.Word(0xFFFF);
  out.Word(classAtom);
  out.Text(text);
  out.Word(0);  // no creation data
}

INT_PTR DontShowBit(HWND dialog) {
  return IsDlgButtonChecked(dialog, kDontShowId) == BST_CHECKED ? kDontShowBit : 0;
}

INT_PTR CALLBACK ReferenceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SendDlgItemMessageW(dialog, kIconId, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_QUESTION)), 0);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kDontShowId: {
          // A plain check box: it marks itself here, and "No" is not offered
          // together with "Don't show again".
          const bool mark = IsDlgButtonChecked(dialog, kDontShowId) != BST_CHECKED;
          CheckDlgButton(dialog, kDontShowId, mark ? BST_CHECKED : BST_UNCHECKED);
          EnableWindow(GetDlgItem(dialog, kNoId), !mark);
          return TRUE;
        }
        case kYesId:
        case IDCANCEL:  // the close box and Escape count as Yes
          EndDialog(dialog, kYesId | DontShowBit(dialog));
          return TRUE;
        case kNoId:
          EndDialog(dialog, kNoId | DontShowBit(dialog));
          return TRUE;
        default:
          break;
      }
      break;
    case WM_CLOSE:
      EndDialog(dialog, kYesId | DontShowBit(dialog));
      return TRUE;
    default:
      break;
  }
  return FALSE;
}

bool SkipWarningIsSet() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kFrameworkReferenceWarningKey, 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof(value);
  const LONG result = RegQueryValueExW(key, kFrameworkReferenceWarningValue, nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) && value != 0;
}

void SetSkipWarning() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kFrameworkReferenceWarningKey, 0, nullptr, 0,
                      KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const DWORD one = 1;
  RegSetValueExW(key, kFrameworkReferenceWarningValue, 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&one), sizeof(one));
  RegCloseKey(key);
}

INT_PTR RunDialog(HWND owner, const wchar_t* caption) {
  // Words, so the template is WORD-aligned; items are aligned inside it.
  alignas(4) static WORD buffer[1024];
  if (FrameworkBuildReferenceDialogTemplate(caption, buffer, 1024) == 0) return kYesId;
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(buffer), owner,
      ReferenceDialogProc, 0);
  // A dialog that could not be shown leaves the choice at Yes.
  return result <= 0 ? kYesId : result;
}

}  // namespace

void FrameworkSetReferenceDialogHook(FrameworkReferenceDialogFn hook) { g_dialogHook = hook; }

size_t FrameworkBuildReferenceDialogTemplate(const wchar_t* caption, WORD* buffer,
                                             size_t bufferWords) {
  TemplateWriter out(buffer, bufferWords);
  out.Dword(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME |
            DS_SETFONT | DS_3DLOOK | DS_ABSALIGN);
  out.Dword(0);  // extended style
  out.Word(5);   // controls
  out.Word(0);   // x, y: centred
  out.Word(0);
  out.Word(269);
  out.Word(82);
  out.Word(0);  // no menu
  out.Word(0);  // the standard dialog class
  out.Text(caption);
  out.Word(8);
  out.Text(L"MS Sans Serif");
  Item(out, SS_ICON | SS_CENTERIMAGE, 7, 7, 24, 24, kIconId, kStaticClass, L"");
  Item(out, 0, 40, 7, 230, 25, kTextId, kStaticClass, kWarningText);
  Item(out, BS_DEFPUSHBUTTON, 80, 39, 50, 14, kYesId, kButtonClass, L"&Yes");
  Item(out, BS_PUSHBUTTON, 133, 39, 50, 14, kNoId, kButtonClass, L"&No");
  Item(out, BS_CHECKBOX, 7, 59, 70, 16, kDontShowId, kButtonClass, L"&Don't show again");
  return out.Bytes();
}

void FrameworkShowReferenceWarning() {
  FrameworkState& state = FrameworkGetState();
  if (!state.GetShowMsgBoxOnError()) return;
  if (SkipWarningIsSet()) return;

  const wchar_t* caption = state.GetWindowTitle();
  HWND owner = FrameworkGetWindow();
  const INT_PTR result =
      g_dialogHook != nullptr ? g_dialogHook(owner, caption) : RunDialog(owner, caption);
  if ((result & kDontShowBit) != 0) SetSkipWarning();
  if ((result & ~kDontShowBit) == kNoId) FrameworkRunShutdown(1);
}
