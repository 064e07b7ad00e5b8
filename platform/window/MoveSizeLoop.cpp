// The modal loop that moves or sizes a window with the mouse (DefWindowProc's answer to a
// press on the caption or a sizing border, and to SC_MOVE / SC_SIZE).

#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform::detail {

namespace {

RECT Resized(RECT r, LRESULT hit, int dx, int dy) {
  switch (hit) {
    case HTCAPTION: return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    case HTLEFT: r.left += dx; break;
    case HTRIGHT: r.right += dx; break;
    case HTTOP: r.top += dy; break;
    case HTBOTTOM: r.bottom += dy; break;
    case HTTOPLEFT:
      r.left += dx;
      r.top += dy;
      break;
    case HTTOPRIGHT:
      r.right += dx;
      r.top += dy;
      break;
    case HTBOTTOMLEFT:
      r.left += dx;
      r.bottom += dy;
      break;
    case HTBOTTOMRIGHT:
      r.right += dx;
      r.bottom += dy;
      break;
    default: break;
  }
  // Sizing never turns the window inside out.
  if (r.right < r.left)
    (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT) ? r.left = r.right : r.right = r.left;
  if (r.bottom < r.top) (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT) ? r.top = r.bottom : r.bottom = r.top;
  return r;
}

bool IsKeyboard(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

}  // namespace

void MoveSizeLoop(Window& window, LRESULT hit, POINT screen) {
  // The loop follows a held button; without one there is nothing to follow.
  if (GetKeyState(VK_LBUTTON) >= 0) return;
  HWND hwnd = window.handle;
  RECT start = window.window;
  SendMessageW(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(hwnd);
  MSG m{};
  bool cancelled = false;
  while (GetCapture() == hwnd && GetMessageW(&m, nullptr, 0, 0)) {
    // Input queued before the capture began may still be addressed as non-client input.
    if (m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP) break;
    if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
      RECT r = Resized(start, hit, m.pt.x - screen.x, m.pt.y - screen.y);
      UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
      if (hit == HTCAPTION) flags |= SWP_NOSIZE;
      SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
      if (!IsWindow(hwnd)) return;
      continue;
    }
    if (IsKeyboard(m.message)) {
      // Keys belong to the loop: Escape cancels, Enter ends, the rest are swallowed.
      if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
        cancelled = true;
        break;
      }
      if (m.message == WM_KEYDOWN && m.wParam == VK_RETURN) break;
      continue;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (m.message == WM_QUIT) PostQuitMessage(static_cast<int>(m.wParam));
  if (!IsWindow(hwnd)) return;
  if (cancelled)
    SetWindowPos(hwnd, nullptr, start.left, start.top, start.right - start.left, start.bottom - start.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (GetCapture() == hwnd) ReleaseCapture();
  SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace kestrel::platform::detail
