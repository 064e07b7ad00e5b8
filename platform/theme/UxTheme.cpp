// The themed-drawing interface: argument checks and the protocol around the drawings.

#include "platform/theme/UxTheme.h"

#include <string_view>

#include "platform/gdi/DcState.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SystemColors.h"
#include "platform/text/DrawText.h"
#include "platform/theme/ThemeRecorder.h"
#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/NonClientTheme.h"
#include "platform/theme/internal/ThemeDrawing.h"
#include "platform/theme/internal/ThemeEdge.h"
#include "platform/theme/internal/ThemeHandles.h"
#include "platform/theme/internal/ThemeMetrics.h"
#include "platform/theme/internal/ThemeSwitch.h"

namespace kestrel::platform {

namespace {
std::u16string_view TerminatedView(const WCHAR* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

RECT Grow(const RECT& r, const RECT& margins) {
  return {r.left - margins.left, r.top - margins.top, r.right + margins.right, r.bottom + margins.bottom};
}

RECT Shrink(const RECT& r, const RECT& margins) {
  return {r.left + margins.left, r.top + margins.top, r.right - margins.right, r.bottom - margins.bottom};
}

HRESULT DrawClipped(const ThemeData& theme, HDC hdc, int partId, int stateId, const RECT& rect, const RECT* clip) {
  if (!IsPartDefined(theme.themeClass, partId, stateId)) return E_PROP_ID_UNSUPPORTED;
  NotifyThemeDraw({theme.themeClass, partId, stateId, rect});
  const int saved = SaveDC(hdc);
  if (!saved) return E_HANDLE;
  if (clip) IntersectClipRect(hdc, clip->left, clip->top, clip->right, clip->bottom);
  DrawPart(theme.themeClass, hdc, partId, stateId, rect);
  RestoreDC(hdc, saved);
  return S_OK;
}

// Opens `classList` for `hwnd` when themes are on and the application allows `allowFlag`.
HTHEME OpenFor(HWND hwnd, const WCHAR* classList, DWORD allowFlag) {
  if (!classList) {
    SetLastError(static_cast<DWORD>(E_POINTER));
    return nullptr;
  }
  const ThemeSwitch& themeSwitch = ThemeSwitch::Get();
  if (!themeSwitch.Active() || !(themeSwitch.AppProperties() & allowFlag)) return nullptr;
  if (hwnd && themeSwitch.WindowOptedOut(hwnd)) return nullptr;
  const auto themeClass = ParseThemeClassList(TerminatedView(classList));
  if (!themeClass) {
    SetLastError(static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
    return nullptr;
  }
  return InsertThemeData({*themeClass, hwnd});
}
}  // namespace

HTHEME OpenThemeData(HWND hwnd, const WCHAR* classList) { return OpenFor(hwnd, classList, STAP_ALLOW_CONTROLS); }

HTHEME OpenNonClientThemeData(HWND hwnd, const WCHAR* classList) {
  return OpenFor(hwnd, classList, STAP_ALLOW_NONCLIENT);
}

HRESULT CloseThemeData(HTHEME theme) { return RemoveThemeData(theme) ? S_OK : E_HANDLE; }

HRESULT DrawThemeBackground(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* rect, const RECT* clipRect) {
  auto data = LookupThemeData(theme);
  if (!data) return E_HANDLE;
  if (!rect) return E_POINTER;
  return DrawClipped(*data, hdc, partId, stateId, *rect, clipRect);
}

HRESULT DrawThemeBackgroundEx(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* rect,
                              const DTBGOPTS* options) {
  auto data = LookupThemeData(theme);
  if (!data) return E_HANDLE;
  if (!rect) return E_POINTER;
  const bool clipped = options && (options->dwFlags & DTBG_CLIPRECT);
  return DrawClipped(*data, hdc, partId, stateId, *rect, clipped ? &options->rcClip : nullptr);
}

HRESULT DrawThemeEdge(HTHEME theme, HDC hdc, int partId, int stateId, const RECT* destRect, UINT edge, UINT flags,
                      RECT* contentRect) {
  auto data = LookupThemeData(theme);
  if (!data) return E_HANDLE;
  if (!destRect) return E_POINTER;
  const COLORREF face =
      PartColor(data->themeClass, partId, stateId, TMT_FILLCOLOR).value_or(GetSysColor(COLOR_BTNFACE));
  const RECT inside = DrawFlatEdge(hdc, *destRect, edge, flags, face);
  if (contentRect) *contentRect = inside;
  return S_OK;
}

HRESULT DrawThemeText(HTHEME theme, HDC hdc, int partId, int stateId, const WCHAR* text, int count, DWORD textFlags,
                      DWORD textFlags2, const RECT* rect) {
  auto data = LookupThemeData(theme);
  if (!data) return E_HANDLE;
  if (!text || !rect) return E_POINTER;
  const COLORREF color =
      (textFlags2 & DTT_GRAYED) ? GetSysColor(COLOR_GRAYTEXT) : PartTextColor(data->themeClass, partId, stateId);
  const COLORREF oldColor = SetTextColor(hdc, color);
  if (oldColor == CLR_INVALID) return E_HANDLE;
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  RECT box = *rect;
  DrawTextW(hdc, text, count, &box, textFlags);
  SetBkMode(hdc, oldMode);
  SetTextColor(hdc, oldColor);
  return S_OK;
}

HRESULT GetThemeColor(HTHEME theme, int partId, int stateId, int propId, COLORREF* color) {
  auto data = LookupThemeData(theme);
  if (!data) return E_HANDLE;
  if (!color) return E_POINTER;
  const auto value = PartColor(data->themeClass, partId, stateId, propId);
  if (!value) return E_PROP_ID_UNSUPPORTED;
  *color = *value;
  return S_OK;
}

COLORREF GetThemeSysColor(HTHEME /*theme*/, int colorId) { return GetSysColor(colorId); }

HRESULT GetThemeFont(HTHEME theme, HDC /*hdc*/, int /*partId*/, int /*stateId*/, int propId, LOGFONTW* font) {
  if (!LookupThemeData(theme)) return E_HANDLE;
  if (!font) return E_POINTER;
  switch (propId) {
    case TMT_CAPTIONFONT: *font = MakeLogFont(u"Tahoma", -11, FW_BOLD); return S_OK;
    case TMT_SMALLCAPTIONFONT:
    case TMT_MENUFONT:
    case TMT_STATUSFONT:
    case TMT_MSGBOXFONT:
    case TMT_ICONTITLEFONT:
    case TMT_FONT: *font = MakeLogFont(u"Tahoma", -11); return S_OK;
    default: return E_PROP_ID_UNSUPPORTED;
  }
}

HRESULT GetThemeTextExtent(HTHEME theme, HDC hdc, int /*partId*/, int /*stateId*/, const WCHAR* text, int count,
                           DWORD textFlags, const RECT* boundingRect, RECT* extentRect) {
  if (!LookupThemeData(theme)) return E_HANDLE;
  if (!text || !extentRect) return E_POINTER;
  RECT box = boundingRect ? *boundingRect : RECT{0, 0, 0, 0};
  if (!DrawTextW(hdc, text, count, &box, textFlags | DT_CALCRECT)) return E_FAIL;
  *extentRect = box;
  return S_OK;
}

HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC /*hdc*/, int partId, int /*stateId*/, const RECT* contentRect,
                                 RECT* extentRect) {
  auto data = LookupThemeData(theme);
  if (!data) return E_HANDLE;
  if (!contentRect || !extentRect) return E_POINTER;
  *extentRect = Grow(*contentRect, ContentMargins(data->themeClass, partId));
  return S_OK;
}

HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC /*hdc*/, int partId, int /*stateId*/, const RECT* boundingRect,
                                      RECT* contentRect) {
  auto data = LookupThemeData(theme);
  if (!data) return E_HANDLE;
  if (!boundingRect || !contentRect) return E_POINTER;
  *contentRect = Shrink(*boundingRect, ContentMargins(data->themeClass, partId));
  return S_OK;
}

HRESULT GetThemePartSize(HTHEME theme, HDC /*hdc*/, int partId, int stateId, const RECT* rect, THEMESIZE sizeKind,
                         SIZE* size) {
  auto data = LookupThemeData(theme);
  if (!data) return E_HANDLE;
  if (!size) return E_POINTER;
  if (sizeKind < TS_MIN || sizeKind > TS_DRAW) return E_INVALIDARG;
  if (!IsPartDefined(data->themeClass, partId, stateId)) return E_PROP_ID_UNSUPPORTED;
  *size = *PartSize(data->themeClass, partId, stateId, sizeKind, rect);
  return S_OK;
}

int GetThemeSysSize(HTHEME /*theme*/, int sizeId) {
  switch (sizeId) {
    case TMT_SIZINGBORDERWIDTH: return GetSystemMetrics(SM_CXFRAME);
    case TMT_SCROLLBARWIDTH: return GetSystemMetrics(SM_CXVSCROLL);
    case TMT_SCROLLBARHEIGHT: return GetSystemMetrics(SM_CYHSCROLL);
    case TMT_CAPTIONBARWIDTH: return GetSystemMetrics(SM_CXSIZE);
    case TMT_CAPTIONBARHEIGHT: return GetSystemMetrics(SM_CYCAPTION);
    case TMT_SMCAPTIONBARWIDTH: return GetSystemMetrics(SM_CXSMSIZE);
    case TMT_SMCAPTIONBARHEIGHT: return GetSystemMetrics(SM_CYSMCAPTION);
    case TMT_MENUBARWIDTH: return GetSystemMetrics(SM_CXMENUSIZE);
    case TMT_MENUBARHEIGHT: return GetSystemMetrics(SM_CYMENUSIZE);
    default: return GetSystemMetrics(sizeId);
  }
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int partId, int stateId) {
  auto data = LookupThemeData(theme);
  return data && PartiallyTransparent(data->themeClass, partId, stateId) ? TRUE : FALSE;
}

BOOL IsThemePartDefined(HTHEME theme, int partId, int stateId) {
  auto data = LookupThemeData(theme);
  return data && IsPartDefined(data->themeClass, partId, stateId) ? TRUE : FALSE;
}

BOOL IsThemeActive() { return ThemeSwitch::Get().Active() ? TRUE : FALSE; }

BOOL IsAppThemed() {
  return IsThemeActive() && (ThemeSwitch::Get().AppProperties() & STAP_ALLOW_CONTROLS) ? TRUE : FALSE;
}

void SetThemeAppProperties(DWORD flags) { ThemeSwitch::Get().SetAppProperties(flags); }

DWORD GetThemeAppProperties() { return ThemeSwitch::Get().AppProperties(); }

}  // namespace kestrel::platform
