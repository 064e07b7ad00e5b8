#include "platform/window/WindowThemes.h"

#include <vector>

#include "platform/gdi/DcState.h"
#include "platform/gdi/Regions.h"
#include "platform/theme/internal/ThemeSwitch.h"
#include "platform/window/WindowApi.h"

namespace kestrel::platform {

namespace {

BOOL Collect(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> EveryWindow() {
  std::vector<HWND> tops, all;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&tops));
  EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&tops));
  for (HWND top : tops) {
    bool seen = false;
    for (HWND known : all) seen = seen || known == top;
    if (seen) continue;
    all.push_back(top);
    EnumChildWindows(top, Collect, reinterpret_cast<LPARAM>(&all));
  }
  return all;
}

}  // namespace

void SetThemeActive(bool active) {
  if (!ThemeSwitch::Get().SetActive(active)) return;
  SendToEveryWindow(WM_SYSCOLORCHANGE, 0, 0);
  SendToEveryWindow(WM_THEMECHANGED, 0, 0);
  RepaintEveryWindow();
}

HRESULT SetWindowTheme(HWND hwnd, const WCHAR* subAppName, const WCHAR* idList) {
  if (!IsWindow(hwnd)) return E_HANDLE;
  const bool optOut = subAppName && idList && !*subAppName && !*idList;
  ThemeSwitch::Get().SetWindowOptedOut(hwnd, optOut, IsWindow);
  SendMessageW(hwnd, WM_THEMECHANGED, 0, 0);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  return S_OK;
}

HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* rect) {
  HWND parent = GetParent(hwnd);
  if (!parent) return IsWindow(hwnd) ? S_FALSE : E_HANDLE;
  POINT origin{0, 0};
  MapWindowPoints(hwnd, parent, &origin, 1);
  const int saved = SaveDC(hdc);
  if (!saved) return E_HANDLE;
  if (rect) IntersectClipRect(hdc, rect->left, rect->top, rect->right, rect->bottom);
  OffsetWindowOrgEx(hdc, origin.x, origin.y, nullptr);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
  RestoreDC(hdc, saved);
  return S_OK;
}

void SendToEveryWindow(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (HWND hwnd : EveryWindow())
    if (IsWindow(hwnd)) SendMessageW(hwnd, msg, wParam, lParam);
}

void RepaintEveryWindow() {
  std::vector<HWND> tops;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&tops));
  for (HWND top : tops) RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace kestrel::platform
