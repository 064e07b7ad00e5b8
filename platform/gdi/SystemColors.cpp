#include "platform/gdi/SystemColors.h"

#include <array>
#include <map>
#include <mutex>

#include "platform/gdi/internal/Brush.h"
#include "platform/gdi/internal/GdiObject.h"

namespace kestrel::platform {

namespace {
// The classic Windows scheme ("Windows Standard").
constexpr std::array<COLORREF, COLOR_COUNT> kClassic = {
    RGB(212, 208, 200),  // SCROLLBAR
    RGB(58, 110, 165),   // BACKGROUND
    RGB(10, 36, 106),    // ACTIVECAPTION
    RGB(128, 128, 128),  // INACTIVECAPTION
    RGB(212, 208, 200),  // MENU
    RGB(255, 255, 255),  // WINDOW
    RGB(0, 0, 0),        // WINDOWFRAME
    RGB(0, 0, 0),        // MENUTEXT
    RGB(0, 0, 0),        // WINDOWTEXT
    RGB(255, 255, 255),  // CAPTIONTEXT
    RGB(212, 208, 200),  // ACTIVEBORDER
    RGB(212, 208, 200),  // INACTIVEBORDER
    RGB(128, 128, 128),  // APPWORKSPACE
    RGB(10, 36, 106),    // HIGHLIGHT
    RGB(255, 255, 255),  // HIGHLIGHTTEXT
    RGB(212, 208, 200),  // BTNFACE
    RGB(128, 128, 128),  // BTNSHADOW
    RGB(128, 128, 128),  // GRAYTEXT
    RGB(0, 0, 0),        // BTNTEXT
    RGB(212, 208, 200),  // INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // BTNHIGHLIGHT
    RGB(64, 64, 64),     // 3DDKSHADOW
    RGB(212, 208, 200),  // 3DLIGHT
    RGB(0, 0, 0),        // INFOTEXT
    RGB(255, 255, 225),  // INFOBK
    RGB(181, 181, 181),  // (unused)
    RGB(0, 0, 128),      // HOTLIGHT
    RGB(166, 202, 240),  // GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // MENUHILIGHT
    RGB(212, 208, 200),  // MENUBAR
};

// The themed look's desktop scheme: the classic one with the faces, shadows and selection of
// the flat light look.
constexpr std::array<COLORREF, COLOR_COUNT> ThemedScheme() {
  std::array<COLORREF, COLOR_COUNT> scheme = kClassic;
  scheme[COLOR_BTNFACE] = RGB(0xF3, 0xF3, 0xF3);
  scheme[COLOR_HIGHLIGHT] = RGB(0x00, 0x67, 0xC0);
  scheme[COLOR_BTNSHADOW] = RGB(0x8A, 0x8A, 0x8A);
  scheme[COLOR_BTNHIGHLIGHT] = RGB(0xFF, 0xFF, 0xFF);
  return scheme;
}

struct Colors {
  std::mutex mutex;
  std::array<COLORREF, COLOR_COUNT> values = kClassic;
  std::array<HBRUSH, COLOR_COUNT> brushes{};
};

Colors& Instance() {
  static Colors* colors = new Colors();  // stock brushes live for the process
  return *colors;
}

HBRUSH MakeStockBrush(COLORREF color) {
  auto brush = Brush::Solid(color);
  brush->MarkStock();
  return static_cast<HBRUSH>(RegisterGdiObject(std::move(brush)));
}
}  // namespace

DWORD GetSysColor(int index) {
  if (index < 0 || index >= COLOR_COUNT) return 0;
  Colors& c = Instance();
  std::lock_guard lock(c.mutex);
  return c.values[index];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= COLOR_COUNT) return nullptr;
  Colors& c = Instance();
  std::lock_guard lock(c.mutex);
  if (!c.brushes[index]) c.brushes[index] = MakeStockBrush(c.values[index]);
  return c.brushes[index];
}

BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors) {
  if (count < 0 || (count > 0 && (!indexes || !colors))) return FALSE;
  Colors& c = Instance();
  std::lock_guard lock(c.mutex);
  for (int i = 0; i < count; ++i) {
    int index = indexes[i];
    if (index < 0 || index >= COLOR_COUNT) continue;
    c.values[index] = colors[i] & 0xFFFFFF;
    // The old brush stays valid (callers may hold it); new requests get the new colour.
    c.brushes[index] = nullptr;
  }
  return TRUE;
}

void UseThemedSystemColors(bool themed) {
  Colors& c = Instance();
  std::lock_guard lock(c.mutex);
  c.values = themed ? ThemedScheme() : kClassic;
  c.brushes.fill(nullptr);  // handed-out brushes stay valid; new requests get the new colours
}

namespace {
std::mutex metricsMutex;
std::map<int, int>& MetricOverrides() {
  static std::map<int, int> overrides;
  return overrides;
}

int FixedMetric(int index);
}  // namespace

void SetSystemMetric(int index, int value) {
  std::lock_guard lock(metricsMutex);
  if (value < 0) MetricOverrides().erase(index);
  else MetricOverrides()[index] = value;
}

int GetSystemMetrics(int index) {
  {
    std::lock_guard lock(metricsMutex);
    auto found = MetricOverrides().find(index);
    if (found != MetricOverrides().end()) return found->second;
  }
  return FixedMetric(index);
}

namespace {
int FixedMetric(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN: return 1024;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return 768;
    case SM_CXFULLSCREEN: return 1024;
    case SM_CYFULLSCREEN: return 768 - 19 - 30;  // minus caption and taskbar
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE: return 18;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXMAXTRACK: return 1024 + 12;
    case SM_CYMAXTRACK: return 768 + 12;
    case SM_CXMAXIMIZED: return 1024 + 8;
    case SM_CYMAXIMIZED: return 768 - 30 + 8;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_CMONITORS: return 1;
    case SM_SWAPBUTTON:
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN: return 0;
    default: return 0;
  }
}

}  // namespace

}  // namespace kestrel::platform
