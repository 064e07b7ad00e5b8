#include "platform/window/MessageBox.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/Frames.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/text/Text.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/BorrowedDC.h"
#include "platform/window/internal/MessageBoxIcon.h"

namespace kestrel::platform {

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kMargin = 12;
constexpr int kGap = 6;
constexpr int kMaxTextWidth = 400;
// Extra bytes of the dialog: the answer (0 while open) and the MessageBox type.
constexpr int kResultIndex = 0;
constexpr int kTypeIndex = sizeof(LONG_PTR);

MessageBoxScript script;
MessageBoxShownHook shownHook;

const char16_t* const kDialogClass = u"KestrelMessageBox";
const char16_t* const kButtonClass = u"KestrelMessageBoxButton";

HFONT DialogFont() {
  static HFONT font = CreateFontW(-11, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  return font;
}

struct ButtonSpec {
  int id;
  const char16_t* label;
};

std::vector<ButtonSpec> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, u"&Abort"}, {IDRETRY, u"&Retry"}, {IDIGNORE, u"&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, u"&Yes"}, {IDNO, u"&No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO: return {{IDYES, u"&Yes"}, {IDNO, u"&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, u"&Retry"}, {IDCANCEL, u"Cancel"}};
    case MB_CANCELTRYCONTINUE: return {{IDCANCEL, u"Cancel"}, {IDTRYAGAIN, u"&Try Again"}, {IDCONTINUE, u"&Continue"}};
    default: return {{IDOK, u"OK"}};
  }
}

// Escape and the close button answer Cancel where there is one; a lone OK answers OK.
int EscapeAnswer(HWND dialog) {
  if (GetDlgItem(dialog, IDCANCEL)) return IDCANCEL;
  if (GetDlgItem(dialog, IDOK) && !GetDlgItem(dialog, IDNO)) return IDOK;
  return 0;
}

void DrawText(HDC hdc, const String& text, RECT r, UINT format, COLORREF color = GetSysColor(COLOR_BTNTEXT)) {
  HGDIOBJ old = SelectObject(hdc, DialogFont());
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, color);
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, format);
  SelectObject(hdc, old);
}

void Answer(HWND dialog, int id) {
  if (id && !GetWindowLongPtrW(dialog, kResultIndex)) SetWindowLongPtrW(dialog, kResultIndex, id);
}

void MoveFocus(HWND dialog, HWND from, bool backwards) {
  HWND next = GetWindow(from, backwards ? GW_HWNDPREV : GW_HWNDNEXT);
  if (!next) next = GetWindow(from, backwards ? GW_HWNDLAST : GW_HWNDFIRST);
  if (next && GetParent(next) == dialog) SetFocus(next);
}

// The themed push button: the focused button is the one Enter presses, so it shows as default.
bool PaintThemedButton(HWND hwnd, HDC hdc, const RECT& r, const String& text) {
  HTHEME theme = OpenThemeData(hwnd, u"BUTTON");
  if (!theme) return false;
  const int state = GetCapture() == hwnd ? PBS_PRESSED : GetFocus() == hwnd ? PBS_DEFAULTED : PBS_NORMAL;
  DrawThemeBackground(theme, hdc, BP_PUSHBUTTON, state, &r, nullptr);
  COLORREF color = GetSysColor(COLOR_BTNTEXT);
  GetThemeColor(theme, BP_PUSHBUTTON, state, TMT_TEXTCOLOR, &color);
  DrawText(hdc, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, color);
  CloseThemeData(theme);
  return true;
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND dialog = GetParent(hwnd);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
      WCHAR text[32];
      GetWindowTextW(hwnd, text, 32);
      if (PaintThemedButton(hwnd, hdc, r, text)) {
        EndPaint(hwnd, &ps);
        return 0;
      }
      DrawEdge(hdc, &r, EDGE_RAISED, BF_RECT);
      DrawText(hdc, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      if (GetFocus() == hwnd) {
        RECT f{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4};
        DrawFocusRect(hdc, &f);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, FALSE);  // the themed face shows the press
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != hwnd) return 0;
      ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      RECT r;
      GetClientRect(hwnd, &r);
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (p.x >= 0 && p.y >= 0 && p.x < r.right && p.y < r.bottom)
        SendMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(hwnd)), reinterpret_cast<LPARAM>(hwnd));
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE || wParam == VK_RETURN) {
        SendMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(hwnd)), reinterpret_cast<LPARAM>(hwnd));
      } else if (wParam == VK_ESCAPE) {
        Answer(dialog, EscapeAnswer(dialog));
      } else if (wParam == VK_TAB || wParam == VK_RIGHT || wParam == VK_LEFT) {
        MoveFocus(dialog, hwnd, wParam == VK_LEFT || (wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0));
      }
      return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      r = {kMargin, kMargin, r.right - kMargin, r.bottom - kMargin - kButtonHeight - kGap};
      auto type = static_cast<UINT>(GetWindowLongPtrW(hwnd, kTypeIndex));
      if (HasMessageBoxIcon(type)) {
        DrawMessageBoxIcon(hdc, r.left, r.top, type);
        r.left += kMessageBoxIconSize + kMargin;
      }
      String text(reinterpret_cast<const char16_t*>(GetPropW(hwnd, u"Kestrel.Text")));
      DrawText(hdc, text, r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_COMMAND: Answer(hwnd, static_cast<int>(LOWORD(wParam))); return 0;
    case WM_CLOSE: Answer(hwnd, EscapeAnswer(hwnd)); return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc;
  wc.lpfnWndProc = DialogProc;
  wc.lpszClassName = kDialogClass;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(COLOR_BTNFACE + 1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassExW(&wc);
  wc.lpfnWndProc = ButtonProc;
  wc.lpszClassName = kButtonClass;
  wc.cbWndExtra = 0;
  RegisterClassExW(&wc);
  done = true;
}

SIZE TextSize(const String& text) {
  BorrowedDC screen(nullptr, GetDC(nullptr));
  SelectedObject selection(screen.get(), DialogFont());
  RECT r{0, 0, kMaxTextWidth, 0};
  DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return {r.right - r.left, r.bottom - r.top};
}

HWND CreateDialog(HWND owner, const String& text, const String& caption, UINT type) {
  RegisterClasses();
  auto buttons = ButtonsFor(type);
  SIZE textSize = TextSize(text);
  if (HasMessageBoxIcon(type)) {
    // The icon stands left of the text; the text area is at least as tall as the icon.
    textSize.cx += kMessageBoxIconSize + kMargin;
    textSize.cy = std::max<LONG>(textSize.cy, kMessageBoxIconSize);
  }
  int buttonsWidth = static_cast<int>(buttons.size()) * (kButtonWidth + kGap) - kGap;
  RECT r{0, 0, std::max<int>(textSize.cx, buttonsWidth) + 2 * kMargin,
         textSize.cy + kButtonHeight + kGap + 2 * kMargin};
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
  int w = r.right - r.left, h = r.bottom - r.top;
  RECT around;
  GetWindowRect(owner && IsWindow(owner) ? owner : GetDesktopWindow(), &around);
  int x = around.left + ((around.right - around.left) - w) / 2, y = around.top + ((around.bottom - around.top) - h) / 2;
  HWND dialog =
      CreateWindowExW(WS_EX_DLGMODALFRAME | ((type & MB_TOPMOST) ? WS_EX_TOPMOST : 0), kDialogClass, caption.c_str(),
                      style, std::max(x, 0), std::max(y, 0), w, h, owner, nullptr, nullptr, nullptr);
  if (!dialog) return nullptr;
  SetWindowLongPtrW(dialog, kTypeIndex, static_cast<LONG_PTR>(type));
  // `text` outlives the dialog (the caller's); it is known before anyone sees the dialog.
  SetPropW(dialog, u"Kestrel.Text", const_cast<char16_t*>(text.c_str()));
  RECT client;
  GetClientRect(dialog, &client);
  int bx = (client.right - buttonsWidth) / 2, by = client.bottom - kMargin - kButtonHeight;
  size_t defaultIndex = std::min<size_t>(((type >> 8) & 0x3), buttons.size() - 1);
  HWND focus = nullptr;
  for (size_t i = 0; i < buttons.size(); ++i) {
    HWND b = CreateWindowExW(0, kButtonClass, buttons[i].label, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                             bx + static_cast<int>(i) * (kButtonWidth + kGap), by, kButtonWidth, kButtonHeight, dialog,
                             reinterpret_cast<HMENU>(static_cast<LONG_PTR>(buttons[i].id)), nullptr, nullptr);
    if (i == defaultIndex) focus = b;
  }
  ShowWindow(dialog, SW_SHOW);
  SetFocus(focus);
  return dialog;
}

}  // namespace

bool IsMessageBox(HWND hwnd, String* text) {
  WCHAR name[32] = {};
  if (!GetClassNameW(hwnd, name, 32) || String(name) != kDialogClass) return false;
  const auto* stored = reinterpret_cast<const char16_t*>(GetPropW(hwnd, u"Kestrel.Text"));
  if (text) *text = stored ? String(stored) : String();
  return true;
}

void SetMessageBoxScript(MessageBoxScript s) { script = std::move(s); }
void SetMessageBoxShownHook(MessageBoxShownHook hook) { shownHook = std::move(hook); }

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (owner && !IsWindow(owner)) owner = nullptr;
  String body = text ? String(text) : String();
  String title = caption ? String(caption) : String(u"Error");
  if (script) return script(MessageBoxRequest{owner, body, title, type});
  HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  bool ownerWasEnabled = top && IsWindowEnabled(top);
  if (ownerWasEnabled) EnableWindow(top, FALSE);
  HWND dialog = CreateDialog(top, body, title, type);
  if (!dialog) {
    if (ownerWasEnabled) EnableWindow(top, TRUE);
    return 0;
  }
  UpdateWindow(dialog);
  if (shownHook) shownHook(dialog);
  // The nested loop keeps every other window of the thread alive (timers, paints, posted calls).
  int answer = 0;
  MSG m{};
  bool quit = false;
  while (IsWindow(dialog) && !(answer = static_cast<int>(GetWindowLongPtrW(dialog, kResultIndex)))) {
    if (!GetMessageW(&m, nullptr, 0, 0)) {
      quit = true;
      break;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (ownerWasEnabled && IsWindow(top)) EnableWindow(top, TRUE);
  if (IsWindow(dialog)) {
    RemovePropW(dialog, u"Kestrel.Text");
    DestroyWindow(dialog);
  }
  if (top && IsWindow(top)) SetActiveWindow(top);
  if (quit) PostQuitMessage(static_cast<int>(m.wParam));  // the outer loop must see it too
  return answer;
}

}  // namespace kestrel::platform
