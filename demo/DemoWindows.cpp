#include "demo/DemoWindows.h"

#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/text/Text.h"

namespace kestrel::demo {

namespace {

constexpr int kButtonId = 10;
constexpr int kKeysId = 11;
constexpr int kStateIndex = 0;  // extra bytes: the button's clicked flag, the keys pane's state

struct KeysState {
  String lastKey = u"(none)";
  String typed;
};

HFONT DemoFont() {
  static HFONT font = CreateFontW(-13, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  return font;
}

void FillClient(HWND hwnd, HDC hdc, COLORREF color) {
  RECT r;
  GetClientRect(hwnd, &r);
  FillRect(hdc, &r, OwnedBrush(CreateSolidBrush(color)).get());
}

void DrawLabel(HDC hdc, const String& text, RECT r, UINT format) {
  const SelectedObject font(hdc, DemoFont());
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, RGB(0, 0, 0));
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

LRESULT PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    FillClient(hwnd, hdc, static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      bool clicked = GetWindowLongPtrW(hwnd, kStateIndex) != 0;
      FillClient(hwnd, hdc, clicked ? kButtonClicked : kButtonNormal);
      RECT r;
      GetClientRect(hwnd, &r);
      DrawLabel(hdc, clicked ? u"Clicked!" : u"Click me", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: SetCapture(hwnd); return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != hwnd) return 0;
      ReleaseCapture();
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT r;
      GetClientRect(hwnd, &r);
      if (p.x >= 0 && p.y >= 0 && p.x < r.right && p.y < r.bottom) {
        SetWindowLongPtrW(hwnd, kStateIndex, !GetWindowLongPtrW(hwnd, kStateIndex));
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

KeysState* StateOf(HWND hwnd) { return reinterpret_cast<KeysState*>(GetWindowLongPtrW(hwnd, kStateIndex)); }

String KeyName(WPARAM vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return String(1, static_cast<char16_t>(vk));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "VK 0x%02X", static_cast<unsigned>(vk));
  return Utf8ToUtf16(buffer);
}

LRESULT KeysProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: SetWindowLongPtrW(hwnd, kStateIndex, reinterpret_cast<LONG_PTR>(new KeysState)); return 0;
    case WM_NCDESTROY:
      delete StateOf(hwnd);
      SetWindowLongPtrW(hwnd, kStateIndex, 0);
      return 0;
    case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
    case WM_GETDLGCODE: return DLGC_WANTCHARS;
    case WM_KEYDOWN:
      if (auto* s = StateOf(hwnd)) s->lastKey = KeyName(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_CHAR:
      if (auto* s = StateOf(hwnd); s && wParam >= 0x20) s->typed += static_cast<char16_t>(wParam);
      if (auto* s = StateOf(hwnd); s && wParam == VK_BACK && !s->typed.empty()) s->typed.pop_back();
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      FillClient(hwnd, hdc, GetFocus() == hwnd ? RGB(255, 255, 230) : RGB(255, 255, 255));
      RECT r;
      GetClientRect(hwnd, &r);
      r.left += 6;
      r.top += 4;
      KeysState* s = StateOf(hwnd);
      String text = u"Last key: " + (s ? s->lastKey : u"") + u"\nTyped: " + (s ? s->typed : u"");
      DrawLabel(hdc, text, r, DT_LEFT | DT_TOP | DT_NOPREFIX);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (msg == WM_SETFOCUS) {
    SetFocus(GetDlgItem(hwnd, kKeysId));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Register(const char16_t* name, WNDPROC proc, HBRUSH background, int extra) {
  WNDCLASSEXW wc;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  wc.hbrBackground = background;
  wc.cbWndExtra = extra;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassExW(&wc);
}

HWND Child(const char16_t* cls, HWND parent, int x, int y, int w, int h, int id, DWORD ex = 0) {
  return CreateWindowExW(ex, cls, u"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<LONG_PTR>(id)), nullptr, nullptr);
}

}  // namespace

void RegisterDemoClasses() {
  Register(u"KestrelDemoFrame", FrameProc, reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(COLOR_BTNFACE + 1)), 0);
  Register(u"KestrelDemoPanel", PanelProc, nullptr, 0);
  Register(u"KestrelDemoButton", ButtonProc, nullptr, sizeof(LONG_PTR));
  Register(u"KestrelDemoKeys", KeysProc, nullptr, sizeof(LONG_PTR));
}

DemoWindows CreateDemoWindows() {
  DemoWindows d;
  RECT r{0, 0, 480, 300};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
  RECT screen;
  GetWindowRect(GetDesktopWindow(), &screen);
  int w = r.right - r.left, h = r.bottom - r.top;
  d.frame = CreateWindowExW(0, u"KestrelDemoFrame", u"Kestrel demo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            std::max<int>(0, (screen.right - w) / 2), std::max<int>(0, (screen.bottom - h) / 2), w, h,
                            nullptr, nullptr, nullptr, nullptr);
  const COLORREF colors[] = {RGB(0xE0, 0x60, 0x50), RGB(0x50, 0x90, 0xE0), RGB(0xF0, 0xC0, 0x40)};
  for (int i = 0; i < 3; ++i) {
    HWND panel = Child(u"KestrelDemoPanel", d.frame, 12 + i * 156, 12, 144, 90, 1 + i);
    SetWindowLongPtrW(panel, GWLP_USERDATA, static_cast<LONG_PTR>(colors[i]));
  }
  d.button = Child(u"KestrelDemoButton", d.frame, 12, 120, 144, 40, kButtonId);
  d.keys = Child(u"KestrelDemoKeys", d.frame, 168, 120, 300, 168, kKeysId, WS_EX_CLIENTEDGE);
  return d;
}

void ShapeDemoFrame(HWND frame) {
  RECT r;
  GetWindowRect(frame, &r);
  SetWindowRgn(frame, CreateRoundRectRgn(0, 0, r.right - r.left, r.bottom - r.top, 40, 40), TRUE);
}

bool ButtonWasClicked(HWND button) { return GetWindowLongPtrW(button, kStateIndex) != 0; }

String KeysText(HWND keys) {
  KeysState* s = StateOf(keys);
  return s ? s->lastKey + u"|" + s->typed : String();
}

}  // namespace kestrel::demo
