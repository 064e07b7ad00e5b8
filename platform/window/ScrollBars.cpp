#include "platform/window/ScrollBars.h"

#include <algorithm>
#include <atomic>

#include "platform/window/ScrollThumbGeometry.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/FrameLayout.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

constexpr int kMinThumb = 8;

std::atomic<bool> interceptionAllowed{true};
ScrollSetters installed;
bool isInstalled = false;

ScrollBarState* StateOf(Window& w, int bar) {
  if (bar < SB_HORZ || bar > SB_CTL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return &w.scroll[bar];
}

DWORD StyleBit(int bar) { return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

bool RangeIsEmpty(const ScrollBarState& s) { return s.min >= s.max - std::max<int>(static_cast<int>(s.page) - 1, 0); }

void Clamp(ScrollBarState& s) {
  UINT span = static_cast<UINT>(s.max - s.min) + 1;
  if (s.page > span) s.page = span;
  int top = s.max - std::max<int>(static_cast<int>(s.page) - 1, 0);
  s.pos = std::clamp(s.pos, s.min, std::max(top, s.min));
}

// Shows or hides a standard bar by its style bit and recomputes the frame.
void ShowBar(Window& w, int bar, bool show) {
  DWORD bits = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : StyleBit(bar);
  DWORD style = show ? (w.style | bits) : (w.style & ~bits);
  if (style == w.style) return;
  w.style = style;
  SetWindowPos(w.handle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void RedrawBar(Window& w, int bar) {
  if (bar == SB_CTL) InvalidateRect(w.handle, nullptr, TRUE);
  else RedrawWindow(w.handle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

}  // namespace

int RealSetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  auto w = ValidWindow(hwnd);
  if (!w || !info || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - 4)) return 0;
  ScrollBarState* s = StateOf(*w, bar);
  if (!s) return 0;
  bool changed = false;
  s->exists = true;
  if (info->fMask & SIF_PAGE) {
    changed |= s->page != info->nPage;
    s->page = info->nPage;
  }
  if (info->fMask & SIF_RANGE) {
    int min = info->nMin, max = info->nMax;
    // An inverted range, or one too wide to count, becomes empty.
    if (min > max || static_cast<unsigned>(max) - static_cast<unsigned>(min) >= 0x80000000u) min = max = 0;
    changed |= s->min != min || s->max != max;
    s->min = min;
    s->max = max;
  }
  if (info->fMask & SIF_POS) s->pos = info->nPos;
  Clamp(*s);
  if (bar != SB_CTL && (info->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL))) {
    if (RangeIsEmpty(*s)) {
      if (info->fMask & SIF_DISABLENOSCROLL) {
        s->disabledArrows = ESB_DISABLE_BOTH;
        ShowBar(*w, bar, true);
      } else if (changed) {
        ShowBar(*w, bar, false);
      }
    } else if ((info->fMask & ~SIF_DISABLENOSCROLL) != SIF_PAGE) {
      s->disabledArrows = ESB_ENABLE_BOTH;
      ShowBar(*w, bar, true);
    }
  }
  if (redraw) RedrawBar(*w, bar);
  return s->pos;
}

BOOL RealSetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw) {
  if (static_cast<long long>(max) - min > 0x7FFFFFFFLL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = min;
  si.nMax = max;
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  RealSetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

int RealSetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  auto w = ValidWindow(hwnd);
  if (!w) return 0;
  ScrollBarState* s = StateOf(*w, bar);
  if (!s) return 0;
  int previous = s->pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  RealSetScrollInfo(hwnd, bar, &si, redraw);
  return previous;
}

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  if (isInstalled) return installed.setScrollInfo(hwnd, bar, info, redraw);
  return RealSetScrollInfo(hwnd, bar, info, redraw);
}

BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw) {
  if (isInstalled) return installed.setScrollRange(hwnd, bar, min, max, redraw);
  return RealSetScrollRange(hwnd, bar, min, max, redraw);
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  if (isInstalled) return installed.setScrollPos(hwnd, bar, pos, redraw);
  return RealSetScrollPos(hwnd, bar, pos, redraw);
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  auto w = ValidWindow(hwnd);
  if (!w || !info) return FALSE;
  ScrollBarState* s = StateOf(*w, bar);
  if (!s) return FALSE;
  // A bar nobody described has no information, unless its style shows it (range 0..100).
  bool styled = bar != SB_CTL && (w->style & StyleBit(bar));
  if (!s->exists && !styled) return FALSE;
  if (!s->exists) {
    s->exists = true;
    s->max = 100;
  }
  if (info->fMask & SIF_RANGE) {
    info->nMin = s->min;
    info->nMax = s->max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s->page;
  if (info->fMask & SIF_POS) info->nPos = s->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->tracking ? s->trackPos : s->pos;
  return TRUE;
}

int GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO si;
  si.fMask = SIF_POS;
  return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  BOOL ok = GetScrollInfo(hwnd, bar, &si);
  if (min) *min = ok ? si.nMin : 0;
  if (max) *max = ok ? si.nMax : 0;
  return ok;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  if (bar == SB_CTL) return ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE), TRUE;
  if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) return FALSE;
  ShowBar(*w, bar, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  bool changed = false;
  for (int b : {SB_HORZ, SB_VERT, SB_CTL}) {
    bool selected = static_cast<int>(bar) == b || (bar == SB_BOTH && b != SB_CTL);
    if (!selected) continue;
    changed |= w->scroll[b].disabledArrows != (arrows & ESB_DISABLE_BOTH);
    w->scroll[b].disabledArrows = arrows & ESB_DISABLE_BOTH;
    RedrawBar(*w, b);
  }
  return changed ? TRUE : FALSE;
}

BOOL SetScrollTrackPos(HWND hwnd, int bar, int pos) {
  auto w = ValidWindow(hwnd);
  ScrollBarState* s = w && bar != SB_BOTH ? StateOf(*w, bar) : nullptr;
  if (!s || !s->exists) return FALSE;
  s->tracking = true;
  s->trackPos = pos;
  return TRUE;
}

void EndScrollTrack(HWND hwnd, int bar) {
  auto w = ValidWindow(hwnd);
  ScrollBarState* s = w && bar != SB_BOTH ? StateOf(*w, bar) : nullptr;
  if (s) s->tracking = false;
}

bool InstallScrollInterception(const ScrollSetters& setters) {
  if (!interceptionAllowed || !setters.setScrollInfo || !setters.setScrollRange || !setters.setScrollPos) return false;
  installed = setters;
  isInstalled = true;
  return true;
}

void RemoveScrollInterception() {
  isInstalled = false;
  installed = {};
}

bool IsScrollInterceptionInstalled() { return isInstalled; }

ScrollSetters InstalledScrollSetters() { return isInstalled ? installed : ScrollSetters{}; }

void AllowScrollInterception(bool allowed) {
  interceptionAllowed = allowed;
  if (!allowed) RemoveScrollInterception();
}

namespace detail {

namespace {

// The thumb of a standard bar: never shorter than kMinThumb unless the track itself is, and as
// thick as the bar when the page is 0.
ScrollThumbInput ThumbInputOf(const ScrollBarState& s, int track, int thickness) {
  ScrollThumbInput in;
  in.min = s.min;
  in.max = s.max;
  in.page = static_cast<int>(s.page);
  in.pos = s.tracking ? s.trackPos : s.pos;
  in.track = track;
  in.minThumb = std::min(kMinThumb, track);
  in.pageZeroThumb = std::min(thickness, track);
  return in;
}

}  // namespace

ScrollParts ComputeScrollParts(const RECT& bar, bool vertical, const ScrollBarState& s) {
  ScrollParts p;
  int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
  int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  int arrow = std::min(thickness, length / 2);
  auto span = [&](int from, int to) {
    return vertical ? RECT{bar.left, bar.top + from, bar.right, bar.top + to}
                    : RECT{bar.left + from, bar.top, bar.left + to, bar.bottom};
  };
  p.first = span(0, arrow);
  p.second = span(length - arrow, length);
  int track = length - 2 * arrow;
  if (track <= 0 || s.disabledArrows == ESB_DISABLE_BOTH || RangeIsEmpty(s)) return p;
  ScrollThumbInput in = ThumbInputOf(s, track, thickness);
  int thumb = ProportionalThumbLength(in);
  int offset = ThumbOffsetForPos(in, thumb);
  p.thumb = span(arrow + offset, arrow + offset + thumb);
  return p;
}

int ScrollPosAt(const RECT& bar, bool vertical, const ScrollBarState& s, int thumbStart) {
  ScrollParts p = ComputeScrollParts(bar, vertical, s);
  int track = vertical ? p.second.top - p.first.bottom : p.second.left - p.first.right;
  int thumb = vertical ? p.thumb.bottom - p.thumb.top : p.thumb.right - p.thumb.left;
  int offset = thumbStart - (vertical ? p.first.bottom : p.first.right);
  int top = s.max - std::max<int>(static_cast<int>(s.page) - 1, 0);
  if (track <= thumb) return s.min;
  long long pos =
      PosForThumbOffset(ThumbInputOf(s, track, vertical ? bar.right - bar.left : bar.bottom - bar.top), thumb, offset);
  return static_cast<int>(std::clamp<long long>(pos, s.min, top));
}

namespace {

constexpr WORD kNoScroll = 0xFFFF;
// Holding the mouse on an arrow or the track repeats: first after 200 ms, then every 50 ms.
constexpr UINT_PTR kRepeatTimer = 0xFFFA;
constexpr UINT kFirstRepeatDelay = 200;
constexpr UINT kRepeatInterval = 50;

// The scroll request for a click at `p` (window coordinates) outside the thumb.
WORD ScrollCodeAt(const RECT& rect, bool vertical, const ScrollBarState& s, POINT p) {
  ScrollParts parts = ComputeScrollParts(rect, vertical, s);
  if (PointInRect(parts.first, p)) return SB_LINEUP;
  if (PointInRect(parts.second, p)) return SB_LINEDOWN;
  if (!PointInRect(rect, p) || RectEmpty(parts.thumb) || PointInRect(parts.thumb, p)) return kNoScroll;
  return (vertical ? p.y < parts.thumb.top : p.x < parts.thumb.left) ? SB_PAGEUP : SB_PAGEDOWN;
}

// What the repeat timer of the thread's scroll-bar tracking loop repeats.
struct RepeatingScroll {
  HWND hwnd = nullptr;
  int bar = SB_VERT;
  RECT rect{};
  WORD code = kNoScroll;
  bool first = true;
};
thread_local RepeatingScroll repeating;

void RepeatScroll(HWND hwnd, UINT, UINT_PTR, DWORD) {
  auto w = Wm().Lookup(hwnd);
  if (!w || hwnd != repeating.hwnd) return;
  if (repeating.first) {
    repeating.first = false;
    SetTimer(hwnd, kRepeatTimer, kRepeatInterval, RepeatScroll);
  }
  // Only while the mouse stays on the part first pressed: off an arrow, or once the thumb has
  // reached the mouse in the track, the repeat pauses.
  POINT origin = w->ScreenOrigin();
  POINT at = Wm().MousePosition();
  POINT p{at.x - origin.x, at.y - origin.y};
  bool vertical = repeating.bar == SB_VERT;
  if (ScrollCodeAt(repeating.rect, vertical, w->scroll[repeating.bar], p) != repeating.code) return;
  SendMessageW(hwnd, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(repeating.code, 0), 0);
}

}  // namespace

void TrackScrollBar(Window& w, int bar, POINT screen) {
  FrameLayout l = FrameLayout::Of(w);
  bool vertical = bar == SB_VERT;
  RECT rect = vertical ? l.vscroll : l.hscroll;
  ScrollBarState& s = w.scroll[bar];
  POINT origin = w.ScreenOrigin();
  POINT p{screen.x - origin.x, screen.y - origin.y};
  ScrollParts parts = ComputeScrollParts(rect, vertical, s);
  UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
  HWND hwnd = w.handle;
  bool drag = PointInRect(parts.thumb, p);
  int grab = vertical ? p.y - parts.thumb.top : p.x - parts.thumb.left;
  bool held = GetKeyState(VK_LBUTTON) < 0;
  WORD code = kNoScroll;
  RepeatingScroll outer = repeating;  // a nested loop (another window) restores ours
  if (!drag) {
    code = ScrollCodeAt(rect, vertical, s, p);
    if (code == kNoScroll || s.disabledArrows == ESB_DISABLE_BOTH) return;
    // The repeat's clock starts with the press, not when the program has handled it.
    if (held) {
      repeating = {hwnd, bar, rect, code, true};
      SetTimer(hwnd, kRepeatTimer, kFirstRepeatDelay, RepeatScroll);
    }
    SendMessageW(hwnd, msg, MAKEWPARAM(code, 0), 0);
  } else {
    s.tracking = true;
    s.trackPos = s.pos;
  }
  // Follow the mouse until the button goes up.
  if (!held || !Wm().Lookup(hwnd)) {
    if (drag) s.tracking = false;
    repeating = outer;
    return;
  }
  SetCapture(hwnd);
  MSG m;
  while (GetCapture() == hwnd && GetMessageW(&m, nullptr, 0, 0)) {
    // Input queued before the capture began may still be addressed as non-client input.
    if (m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP) break;
    if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
      auto self = Wm().Lookup(hwnd);
      if (!self) break;
      if (drag) {
        POINT o = self->ScreenOrigin();
        int start = (vertical ? m.pt.y - o.y : m.pt.x - o.x) - grab;
        self->scroll[bar].trackPos = ScrollPosAt(rect, vertical, self->scroll[bar], start);
        SendMessageW(hwnd, msg, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(self->scroll[bar].trackPos)), 0);
      }
      continue;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (!drag) {
    repeating = outer;
    if (Wm().Lookup(hwnd)) KillTimer(hwnd, kRepeatTimer);
  }
  if (m.message == WM_QUIT) PostQuitMessage(static_cast<int>(m.wParam));
  if (GetCapture() == hwnd) ReleaseCapture();
  auto self = Wm().Lookup(hwnd);
  if (!self) return;
  if (drag) {
    self->scroll[bar].tracking = false;
    SendMessageW(hwnd, msg, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(self->scroll[bar].trackPos)), 0);
  }
  SendMessageW(hwnd, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

}  // namespace detail

}  // namespace kestrel::platform
