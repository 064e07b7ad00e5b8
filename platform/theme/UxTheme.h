#pragma once
// The themed-drawing interface: theme handles per window class, the drawing of classes, parts and
// states (VsStyle.h) in the desktop's one modern look, the metrics and colours of that look, and
// the switch between the themed and the classic look.
//
// Themes are on unless the environment says KESTREL_THEME=classic or SetThemeActive(false) is
// called. While they are off, OpenThemeData answers null and callers draw the classic look. The
// calls that act on windows (switching the look for every window, a window's opt-out, painting a
// parent's background) are the window manager's: platform/window/WindowThemes.h.

#include <cstdint>

#include "platform/core/WinTypes.h"
#include "platform/text/Font.h"

namespace kestrel::platform {

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
// A part, state or property the theme does not define (HRESULT_FROM_WIN32(ERROR_NOT_FOUND)).
constexpr HRESULT E_PROP_ID_UNSUPPORTED = static_cast<HRESULT>(0x80070490u);
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// DrawThemeBackgroundEx options.
constexpr DWORD DTBG_CLIPRECT = 0x0001;
constexpr DWORD DTBG_DRAWSOLID = 0x0002;
constexpr DWORD DTBG_OMITBORDER = 0x0004;
constexpr DWORD DTBG_OMITCONTENT = 0x0008;
struct DTBGOPTS {
  DWORD dwSize = sizeof(DTBGOPTS);
  DWORD dwFlags = 0;
  RECT rcClip{};
};

// DrawThemeText's second flag word.
constexpr DWORD DTT_GRAYED = 0x0001;

// GetThemePartSize's size kinds.
enum THEMESIZE { TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2 };

// SetThemeAppProperties' flags.
constexpr DWORD STAP_ALLOW_NONCLIENT = 0x0001;
constexpr DWORD STAP_ALLOW_CONTROLS = 0x0002;
constexpr DWORD STAP_ALLOW_WEBCONTENT = 0x0004;

// `classList` is a semicolon-separated list of class names ("EDIT;BUTTON"), matched without
// regard to case; the first one the theme knows is opened. Null while themes are off, for an
// unknown class, or for a window whose theme SetWindowTheme(hwnd, u"", u"") removed.
HTHEME OpenThemeData(HWND hwnd, const WCHAR* classList);
HRESULT CloseThemeData(HTHEME theme);

HRESULT DrawThemeBackground(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* rect, const RECT* clipRect);
HRESULT DrawThemeBackgroundEx(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* rect,
                              const DTBGOPTS* options);
// Draws an edge of the part's colours with DrawEdge's `edge` and `flags` encoding; `contentRect`
// (optional) receives the rectangle inside the drawn edge.
HRESULT DrawThemeEdge(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* destRect, UINT edge, UINT flags,
                      RECT* contentRect);
// DrawText with the part's text colour (DTT_GRAYED in textFlags2: the disabled colour) in the
// DC's font; count -1 means a terminated string.
HRESULT DrawThemeText(HTHEME theme, HDC hdc, int partId, int stateId, const WCHAR* text, int count, DWORD textFlags,
                      DWORD textFlags2, const RECT* rect);

HRESULT GetThemeColor(HTHEME theme, int partId, int stateId, int propId, COLORREF* color);
// The theme's value of a system colour (COLOR_*).
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
HRESULT GetThemeFont(HTHEME theme, HDC hdc, int partId, int stateId, int propId, LOGFONTW* font);
HRESULT GetThemeTextExtent(HTHEME theme, HDC hdc, int partId, int stateId, const WCHAR* text, int count,
                           DWORD textFlags, const RECT* boundingRect, RECT* extentRect);
// The rectangle a background needs around `contentRect`, and the content inside `boundingRect`.
HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* contentRect,
                                 RECT* extentRect);
HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* boundingRect,
                                      RECT* contentRect);
HRESULT GetThemePartSize(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* rect, THEMESIZE sizeKind,
                         SIZE* size);
// SM_* metrics (and the TMT_ sizes of VsStyle.h): the classic numbers, the same in both looks.
int GetThemeSysSize(HTHEME theme, int sizeId);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int partId, int stateId);
BOOL IsThemePartDefined(HTHEME theme, int partId, int stateId);

BOOL IsThemeActive();
// Themes are active and the application allows themed controls.
BOOL IsAppThemed();
void SetThemeAppProperties(DWORD flags);
DWORD GetThemeAppProperties();

}  // namespace kestrel::platform
