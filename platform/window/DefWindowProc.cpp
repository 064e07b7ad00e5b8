// The default window procedure.

#include <algorithm>
#include <mutex>

#include "platform/gdi/DcState.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/AccessEvents.h"
#include "platform/window/Backend.h"
#include "platform/window/BorrowedDC.h"
#include "platform/window/Ime.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/FrameLayout.h"
#include "platform/window/internal/WindowClass.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

LRESULT Send(Window& w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return CallWindow(w, msg, wParam, lParam); }

// Child windows pass some questions up to their parent first.
LRESULT AskParent(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!w.IsChildStyle() || !w.parent || w.parent->IsRoot()) return 0;
  return SendMessageW(w.parent->handle, msg, wParam, lParam);
}

void StoreText(Window& w, LPCWSTR text) {
  {
    String value = FromWide(text);
    std::lock_guard lock(w.textMutex);
    w.text = std::move(value);
  }
  if (w.IsTopLevel() && w.parent == &Wm().Desktop() && Wm().HasBackend())
    Wm().GetBackend().SetNativeTitle(w.handle, w.text);
}

LRESULT CopyText(Window& w, WPARAM max, LPARAM buffer) {
  return CopyToBuffer(w.text, reinterpret_cast<WCHAR*>(buffer), static_cast<int>(std::min<WPARAM>(max, 0x7FFFFFFF)));
}

HBRUSH ClassBrush(Window& w) {
  HBRUSH brush = w.windowClass ? w.windowClass->background : nullptr;
  auto value = reinterpret_cast<ULONG_PTR>(brush);
  // (HBRUSH)(COLOR_x + 1) names a system colour.
  if (value > 0 && value <= static_cast<ULONG_PTR>(COLOR_COUNT)) return GetSysColorBrush(static_cast<int>(value - 1));
  return brush;
}

LRESULT EraseBackground(Window& w, HDC hdc) {
  HBRUSH brush = ClassBrush(w);
  if (!brush || !hdc) return 0;
  RECT client;
  GetClientRect(w.handle, &client);
  FillRect(hdc, &client, brush);
  return 1;
}

void NcPaint(Window& w) {
  if (!w.IsReallyVisible()) return;
  BorrowedDC dc(w.handle, GetDCEx(w.handle, nullptr, DCX_WINDOW | DCX_CLIPSIBLINGS));
  RECT client = w.ClientInWindow();
  ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  detail::PaintFrame(w, dc.get());
}

void Print(Window& w, HDC hdc, LPARAM flags) {
  if ((flags & PRF_CHECKVISIBLE) && !w.IsVisible()) return;
  RECT client = w.ClientInWindow();
  int saved = SaveDC(hdc);
  if (flags & PRF_NONCLIENT) {
    int inner = SaveDC(hdc);
    ExcludeClipRect(hdc, client.left, client.top, client.right, client.bottom);
    detail::PaintFrame(w, hdc);
    RestoreDC(hdc, inner);
  }
  // Client painting and children work in client coordinates.
  POINT org{};
  GetViewportOrgEx(hdc, &org);
  SetViewportOrgEx(hdc, org.x + client.left, org.y + client.top, nullptr);
  IntersectClipRect(hdc, 0, 0, client.right - client.left, client.bottom - client.top);
  if (flags & PRF_ERASEBKGND) Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc));
  if (flags & PRF_CLIENT) Send(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), flags);
  if (flags & PRF_CHILDREN) {
    auto children = w.children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      Window& c = **it;
      if (!c.IsVisible() || c.destroyed) continue;
      int childSaved = SaveDC(hdc);
      SetViewportOrgEx(hdc, org.x + client.left + c.window.left, org.y + client.top + c.window.top, nullptr);
      IntersectClipRect(hdc, 0, 0, c.Width(), c.Height());
      Send(c, WM_PRINT, reinterpret_cast<WPARAM>(hdc), flags & ~PRF_CHECKVISIBLE);
      RestoreDC(hdc, childSaved);
    }
  }
  RestoreDC(hdc, saved);
}

LRESULT SetCursorFor(Window& w, WPARAM wParam, LPARAM lParam) {
  if (AskParent(w, WM_SETCURSOR, wParam, lParam)) return TRUE;
  LRESULT hit = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)));
  LPCWSTR shape = IDC_ARROW;
  switch (hit) {
    case HTCLIENT: {
      HCURSOR c = w.windowClass ? w.windowClass->cursor : nullptr;
      if (!c) return FALSE;
      SetCursor(c);
      return TRUE;
    }
    case HTERROR: return FALSE;
    case HTLEFT:
    case HTRIGHT: shape = IDC_SIZEWE; break;
    case HTTOP:
    case HTBOTTOM: shape = IDC_SIZENS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: shape = IDC_SIZENWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: shape = IDC_SIZENESW; break;
    case HTSIZE: shape = IDC_SIZENWSE; break;
    default: break;
  }
  SetCursor(LoadCursorW(nullptr, shape));
  return TRUE;
}

void WindowPosChanging(Window& w, WINDOWPOS* wp) {
  if (wp && !(wp->flags & SWP_NOSIZE)) detail::ClampToMinMax(w, wp->cx, wp->cy);
}

void WindowPosChanged(Window& w, const WINDOWPOS* wp) {
  if (!wp) return;
  if (!(wp->flags & SWP_NOCLIENTMOVE))
    Send(w, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w.client.left), static_cast<WORD>(w.client.top)));
  if (!(wp->flags & SWP_NOCLIENTSIZE) || (wp->flags & SWP_STATECHANGED)) {
    WPARAM kind = w.minimized ? SIZE_MINIMIZED : w.maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    Send(w, WM_SIZE, kind,
         MAKELPARAM(static_cast<WORD>(w.client.right - w.client.left),
                    static_cast<WORD>(w.client.bottom - w.client.top)));
  }
}

LRESULT SysCommand(Window& w, WPARAM command, LPARAM lParam) {
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (!lParam) {
    // A posted command carries no position: start where the mouse was when it was queued.
    DWORD pos = GetMessagePos();
    at = {static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))};
  }
  switch (command & 0xFFF0) {
    case SC_MOVE: detail::MoveSizeLoop(w, HTCAPTION, at); break;
    case SC_SIZE:
      if ((command & 0xF) >= 1 && (command & 0xF) <= 8)
        detail::MoveSizeLoop(w, HTLEFT + static_cast<LRESULT>(command & 0xF) - 1, at);
      break;
    case SC_CLOSE: Send(w, WM_CLOSE); break;
    case SC_MINIMIZE: ShowWindow(w.handle, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(w.handle, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(w.handle, SW_RESTORE); break;
    default: break;
  }
  return 0;
}

// Caption buttons act when the button goes up over the one it went down on.
LRESULT NcButtonUp(Window& w, WPARAM hit) {
  WPARAM command = 0;
  if (hit == HTCLOSE && (w.style & WS_SYSMENU)) command = SC_CLOSE;
  if (hit == HTMINBUTTON && (w.style & WS_MINIMIZEBOX)) command = SC_MINIMIZE;
  if (hit == HTMAXBUTTON && (w.style & WS_MAXIMIZEBOX)) command = w.maximized ? SC_RESTORE : SC_MAXIMIZE;
  if (command) SendMessageW(w.handle, WM_SYSCOMMAND, command, 0);
  return 0;
}

LRESULT UniChar(Window& w, WPARAM code) {
  if (code == UNICODE_NOCHAR) return FALSE;
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return FALSE;
  if (code >= 0x10000) {
    code -= 0x10000;
    Send(w, WM_CHAR, 0xD800 + (code >> 10), 1);
    Send(w, WM_CHAR, 0xDC00 + (code & 0x3FF), 1);
  } else {
    Send(w, WM_CHAR, code, 1);
  }
  return FALSE;
}

void ImeResultToChars(Window& w) {
  HIMC context = ImmGetContext(w.handle);
  LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes <= 0) return;
  String result(static_cast<size_t>(bytes) / sizeof(char16_t), u'\0');
  ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
  ImmReleaseContext(w.handle, context);
  for (char16_t c : result) Send(w, WM_IME_CHAR, c, 1);
}

}  // namespace

namespace detail {

void ClampToMinMax(Window& w, int& cx, int& cy) {
  if (!((w.style & WS_THICKFRAME) || !(w.style & (WS_POPUP | WS_CHILD)))) return;
  RECT screen = Wm().Desktop().client;
  MINMAXINFO mmi{};
  mmi.ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  mmi.ptMaxPosition = {-FrameLayout::Insets(w.style, w.exStyle).left, -FrameLayout::Insets(w.style, w.exStyle).left};
  mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  // The largest tracking size follows the screen the backend reports, frame included.
  mmi.ptMaxTrackSize = {screen.right - screen.left + 12, screen.bottom - screen.top + 12};
  Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  cx = std::clamp<int>(cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
  cy = std::clamp<int>(cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
}

}  // namespace detail

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto w = Wm().Lookup(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) StoreText(*w, cs->lpszName);
      return TRUE;
    }
    case WM_NCCALCSIZE:
      if (lParam) {
        RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        *r = detail::DefaultClientRect(*w, *r);
      }
      return 0;
    case WM_NCHITTEST: return detail::DefaultHitTest(*w, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: NcPaint(*w); return 0;
    case WM_NCACTIVATE:
      w->ncActive = wParam != 0;
      if ((w->style & WS_CAPTION) == WS_CAPTION) NcPaint(*w);
      return TRUE;
    case WM_SETTEXT:
      StoreText(*w, reinterpret_cast<LPCWSTR>(lParam));
      if ((w->style & WS_CAPTION) == WS_CAPTION) NcPaint(*w);
      NotifyAccessEvent(AccessEvent::NameChange, hwnd);
      return TRUE;
    case WM_GETTEXT: return CopyText(*w, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return EraseBackground(*w, reinterpret_cast<HDC>(wParam));
    case WM_PRINT: Print(*w, reinterpret_cast<HDC>(wParam), lParam); return 0;
    case WM_SETREDRAW: w->redraw = wParam != 0; return 0;
    case WM_WINDOWPOSCHANGING: WindowPosChanging(*w, reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_WINDOWPOSCHANGED: WindowPosChanged(*w, reinterpret_cast<const WINDOWPOS*>(lParam)); return 0;
    case WM_SETCURSOR: return SetCursorFor(*w, wParam, lParam);
    case WM_MOUSEACTIVATE: {
      LRESULT r = AskParent(*w, msg, wParam, lParam);
      return r ? r : MA_ACTIVATE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !w->minimized) SetFocus(hwnd);
      return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_CONTEXTMENU: return AskParent(*w, msg, wParam, lParam);
    case WM_RBUTTONUP: {
      // A right click asks for a context menu at the screen position.
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &p);
      SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                   MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
      return 0;
    }
    case WM_NCLBUTTONUP: return NcButtonUp(*w, wParam);
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
        SendMessageW(hwnd, WM_SYSCOMMAND, w->maximized ? SC_RESTORE : SC_MAXIMIZE, lParam);
      return 0;
    case WM_SYSCOMMAND: return SysCommand(*w, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
        detail::TrackScrollBar(*w, wParam == HTVSCROLL ? 1 : 0, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      } else if (wParam == HTCAPTION) {
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      } else if (wParam >= static_cast<WPARAM>(HTLEFT) && wParam <= static_cast<WPARAM>(HTBOTTOMRIGHT)) {
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE + (wParam - HTLEFT + 1), lParam);
      }
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (HIWORD(static_cast<DWORD_PTR>(lParam)) & 0x2000))
        SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_UNICHAR: return UniChar(*w, wParam);
    case WM_IME_COMPOSITION:
      // A result the window did not take itself becomes characters.
      if (lParam & GCS_RESULTSTR) ImeResultToChars(*w);
      return 0;
    case WM_IME_CHAR: PostMessageW(hwnd, WM_CHAR, wParam, lParam); return 0;
    case WM_INPUTLANGCHANGE:
      // Every window below hears of the new layout.
      for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, msg, wParam, lParam);
      return 1;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_GETDLGCODE: return 0;
    default: return 0;
  }
}

}  // namespace kestrel::platform
