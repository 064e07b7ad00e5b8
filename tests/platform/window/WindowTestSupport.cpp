#include "tests/platform/window/WindowTestSupport.h"

#include "platform/theme/UxTheme.h"
#include "platform/window/WindowThemes.h"
#include "platform/window/internal/WindowManager.h"

#include <map>
#include <sstream>

namespace kestrel::platform::testing {

bool IsNoise(UINT msg) {
  return msg == WM_GETMINMAXINFO || msg == WM_NCHITTEST || msg == WM_SETCURSOR || msg == WM_GETTEXT ||
         msg == WM_GETTEXTLENGTH || msg == WM_IME_SETCONTEXT || msg == WM_IME_NOTIFY || msg == WM_GETICON ||
         msg == WM_GETDLGCODE;  // asked of every new focus window: does the input method work there?
}

MessageLog& MessageLog::Get() {
  static MessageLog log;
  return log;
}

std::vector<UINT> MessageLog::Messages(HWND only) const {
  std::vector<UINT> out;
  for (auto& e : entries)
    if (!only || e.hwnd == only) out.push_back(e.msg);
  return out;
}

LRESULT CALLBACK_Recorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& log = MessageLog::Get();
  log.Add({hwnd, msg, wParam, lParam});
  LRESULT result = 0;
  if (log.handler && log.handler(hwnd, msg, wParam, lParam, result)) return result;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const char16_t* RecorderClass(bool dblclks) {
  static bool registered[2] = {false, false};
  const char16_t* name = dblclks ? u"KestrelTestRecorderDbl" : u"KestrelTestRecorder";
  if (!registered[dblclks]) {
    WNDCLASSEXW wc;
    wc.style = dblclks ? CS_DBLCLKS : 0;
    wc.lpfnWndProc = CALLBACK_Recorder;
    wc.cbWndExtra = 16;
    wc.lpszClassName = name;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    registered[dblclks] = RegisterClassExW(&wc) != 0;
  }
  return name;
}

HWND CreateTop(DWORD style, RECT r, DWORD exStyle, const char16_t* cls) {
  return CreateWindowExW(exStyle, cls ? cls : RecorderClass(), u"Top", style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

HWND CreateChild(HWND parent, RECT r, DWORD style, int id, const char16_t* cls, DWORD exStyle) {
  return CreateWindowExW(exStyle, cls ? cls : RecorderClass(), u"Child", style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<LONG_PTR>(id)), nullptr,
                         nullptr);
}

std::string MessageName(UINT msg) {
  static const std::map<UINT, const char*> names = {{WM_CREATE, "CREATE"},
                                                    {WM_DESTROY, "DESTROY"},
                                                    {WM_MOVE, "MOVE"},
                                                    {WM_SIZE, "SIZE"},
                                                    {WM_ACTIVATE, "ACTIVATE"},
                                                    {WM_ACTIVATEAPP, "ACTIVATEAPP"},
                                                    {WM_SETFOCUS, "SETFOCUS"},
                                                    {WM_KILLFOCUS, "KILLFOCUS"},
                                                    {WM_ENABLE, "ENABLE"},
                                                    {WM_SETTEXT, "SETTEXT"},
                                                    {WM_PAINT, "PAINT"},
                                                    {WM_CLOSE, "CLOSE"},
                                                    {WM_ERASEBKGND, "ERASEBKGND"},
                                                    {WM_SHOWWINDOW, "SHOWWINDOW"},
                                                    {WM_CANCELMODE, "CANCELMODE"},
                                                    {WM_MOUSEACTIVATE, "MOUSEACTIVATE"},
                                                    {WM_CHILDACTIVATE, "CHILDACTIVATE"},
                                                    {WM_WINDOWPOSCHANGING, "POSCHANGING"},
                                                    {WM_WINDOWPOSCHANGED, "POSCHANGED"},
                                                    {WM_STYLECHANGING, "STYLECHANGING"},
                                                    {WM_STYLECHANGED, "STYLECHANGED"},
                                                    {WM_NCCREATE, "NCCREATE"},
                                                    {WM_NCDESTROY, "NCDESTROY"},
                                                    {WM_NCCALCSIZE, "NCCALCSIZE"},
                                                    {WM_NCPAINT, "NCPAINT"},
                                                    {WM_NCACTIVATE, "NCACTIVATE"},
                                                    {WM_GETDLGCODE, "GETDLGCODE"},
                                                    {WM_NCMOUSEMOVE, "NCMOUSEMOVE"},
                                                    {WM_NCLBUTTONDOWN, "NCLBUTTONDOWN"},
                                                    {WM_NCLBUTTONUP, "NCLBUTTONUP"},
                                                    {WM_NCLBUTTONDBLCLK, "NCLBUTTONDBLCLK"},
                                                    {WM_KEYDOWN, "KEYDOWN"},
                                                    {WM_KEYUP, "KEYUP"},
                                                    {WM_CHAR, "CHAR"},
                                                    {WM_SYSKEYDOWN, "SYSKEYDOWN"},
                                                    {WM_SYSKEYUP, "SYSKEYUP"},
                                                    {WM_SYSCHAR, "SYSCHAR"},
                                                    {WM_TIMER, "TIMER"},
                                                    {WM_MOUSEMOVE, "MOUSEMOVE"},
                                                    {WM_LBUTTONDOWN, "LBUTTONDOWN"},
                                                    {WM_LBUTTONUP, "LBUTTONUP"},
                                                    {WM_LBUTTONDBLCLK, "LBUTTONDBLCLK"},
                                                    {WM_RBUTTONDOWN, "RBUTTONDOWN"},
                                                    {WM_RBUTTONUP, "RBUTTONUP"},
                                                    {WM_MOUSEWHEEL, "MOUSEWHEEL"},
                                                    {WM_PARENTNOTIFY, "PARENTNOTIFY"},
                                                    {WM_CAPTURECHANGED, "CAPTURECHANGED"},
                                                    {WM_MOUSELEAVE, "MOUSELEAVE"},
                                                    {WM_NCMOUSELEAVE, "NCMOUSELEAVE"},
                                                    {WM_CONTEXTMENU, "CONTEXTMENU"},
                                                    {WM_PRINT, "PRINT"},
                                                    {WM_PRINTCLIENT, "PRINTCLIENT"},
                                                    {WM_IME_STARTCOMPOSITION, "IME_START"},
                                                    {WM_IME_COMPOSITION, "IME_COMPOSITION"},
                                                    {WM_IME_ENDCOMPOSITION, "IME_END"},
                                                    {0x0286, "IME_CHAR"},
                                                    {WM_SYSCOMMAND, "SYSCOMMAND"},
                                                    {WM_USER, "USER"}};
  auto it = names.find(msg);
  if (it != names.end()) return it->second;
  std::ostringstream s;
  s << "0x" << std::hex << msg;
  return s.str();
}

std::string Describe(const std::vector<UINT>& messages) {
  std::string out = "[";
  for (size_t i = 0; i < messages.size(); ++i) out += (i ? " " : "") + MessageName(messages[i]);
  return out + "]";
}

void WindowTest::SetUp() {
  // Every test starts from the state a program starts with: no windows, focus, capture, keys
  // down or messages, the cursor at the origin and the clock at its start.
  ResetPlatformState();
  HeadlessBackend::Current();
  // These tests check the classic look pixel by pixel; the themed one has tests of its own.
  SetThemeActive(false);
  MessageLog::Get().enabled = true;
  MessageLog::Get().handler = nullptr;
  MessageLog::Get().Clear();
}

void WindowTest::TearDown() {
  auto& log = MessageLog::Get();
  log.handler = nullptr;
  log.enabled = false;
  ResetPlatformState();
  log.Clear();
  log.enabled = true;
}

}  // namespace kestrel::platform::testing
