#pragma once
// Scroll information of standard scroll bars and scroll-bar controls with the Windows rules
// for clamping, showing, hiding and disabling bars, plus the interception point through which
// a component can take over the three setters process-wide while the originals stay callable.

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;

// WM_HSCROLL / WM_VSCROLL request codes.
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_ENDSCROLL = 8;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// An owner-drawn bar dragging its thumb to `pos`: while set, GetScrollInfo answers SIF_TRACKPOS
// with it, as during a drag of a standard bar, so the window reads positions beyond the 16 bits
// of WM_HSCROLL/WM_VSCROLL. False for a bar without information.
BOOL SetScrollTrackPos(HWND hwnd, int bar, int pos);
void EndScrollTrack(HWND hwnd, int bar);

// The interception point. While installed, the three setters above call the replacement; the
// Real… functions always run the platform's own implementation.
struct ScrollSetters {
  int (*setScrollInfo)(HWND, int, const SCROLLINFO*, BOOL) = nullptr;
  BOOL (*setScrollRange)(HWND, int, int, int, BOOL) = nullptr;
  int (*setScrollPos)(HWND, int, int, BOOL) = nullptr;
};
// Installs the replacements (a second call replaces them); false when interception is
// switched off (see AllowScrollInterception) or a replacement is missing.
bool InstallScrollInterception(const ScrollSetters& setters);
void RemoveScrollInterception();
bool IsScrollInterceptionInstalled();
// The installed replacements (all null while none are).
ScrollSetters InstalledScrollSetters();
// Tests switch interception off to run components without it.
void AllowScrollInterception(bool allowed);
int RealSetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL RealSetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw);
int RealSetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);

}  // namespace kestrel::platform
