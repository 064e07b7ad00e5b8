#pragma once
// MessageBoxW as our own modal dialog: a window with the text and a row of buttons, run in a
// nested message loop that keeps dispatching (timers, posted calls) while the owner is
// disabled. Tests either script the answer or drive the real dialog.

#include <functional>

#include "platform/core/Unicode.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_CANCELTRYCONTINUE = 0x00000006;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// Whether `hwnd` is an open message box; its text then goes to `text`.
bool IsMessageBox(HWND hwnd, String* text = nullptr);

struct MessageBoxRequest {
  HWND owner;
  String text;
  String caption;
  UINT type;
};
// With a script set, MessageBoxW shows nothing: it returns the script's answer.
using MessageBoxScript = std::function<int(const MessageBoxRequest&)>;
void SetMessageBoxScript(MessageBoxScript script);
// Called with the dialog once it is shown and its loop runs (tests inject input from here).
using MessageBoxShownHook = std::function<void(HWND dialog)>;
void SetMessageBoxShownHook(MessageBoxShownHook hook);

}  // namespace kestrel::platform
