#include "platform/window/ScrollInfoInterception.h"

#include "platform/window/WindowApi.h"

namespace kestrel::platform {

namespace {

constexpr const char16_t* kScrollBarMessageName = u"{7DDF4ADB-4A01-4F4B-83AA-8D91C21E99D2}";

void NotifyController(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  ScrollSyncRecord record;
  record.bar = bar;
  record.info = info;
  record.redraw = redraw;
  SendMessageW(hwnd, ScrollBarMessage(), kScrollBarSync, reinterpret_cast<LPARAM>(&record));
}

int InterceptedSetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  if (!info || !QueryScrollController(hwnd)) return RealSetScrollInfo(hwnd, bar, info, redraw);
  int result = RealSetScrollInfo(hwnd, bar, info, FALSE);
  NotifyController(hwnd, bar, info, redraw);
  return result;
}

BOOL InterceptedSetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw) {
  if (!QueryScrollController(hwnd)) return RealSetScrollRange(hwnd, bar, min, max, redraw);
  BOOL result = RealSetScrollRange(hwnd, bar, min, max, FALSE);
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = min;
  si.nMax = max;
  NotifyController(hwnd, bar, &si, redraw);
  return result;
}

int InterceptedSetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  if (!QueryScrollController(hwnd)) return RealSetScrollPos(hwnd, bar, pos, redraw);
  int result = RealSetScrollPos(hwnd, bar, pos, FALSE);
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  NotifyController(hwnd, bar, &si, redraw);
  return result;
}

ScrollSetters Routines() {
  return ScrollSetters{InterceptedSetScrollInfo, InterceptedSetScrollRange, InterceptedSetScrollPos};
}

}  // namespace

UINT ScrollBarMessage() {
  static const UINT message = RegisterWindowMessageW(kScrollBarMessageName);
  return message;
}

bool InstallScrollInfoInterception() {
  if (IsScrollInfoInterceptionInstalled()) return true;
  ScrollBarMessage();
  return InstallScrollInterception(Routines());
}

bool IsScrollInfoInterceptionInstalled() {
  return IsScrollInterceptionInstalled() && InstalledScrollSetters().setScrollInfo == InterceptedSetScrollInfo;
}

LPARAM QueryScrollController(HWND hwnd) {
  if (!IsWindow(hwnd)) return 0;
  LPARAM slot = 0;
  LRESULT answer = SendMessageW(hwnd, ScrollBarMessage(), kScrollBarQuery, reinterpret_cast<LPARAM>(&slot));
  return answer != 0 && answer == slot ? slot : 0;
}

}  // namespace kestrel::platform
