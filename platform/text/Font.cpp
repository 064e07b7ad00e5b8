#include "platform/text/Font.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/gdi/StockObjects.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/text/internal/FontObject.h"

namespace kestrel::platform {

HFONT CreateFontIndirectW(const LOGFONTW* logFont) {
  if (!logFont) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return static_cast<HFONT>(RegisterGdiObject(std::make_shared<Font>(*logFont)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, const WCHAR* faceName) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  for (int i = 0; faceName && i < LF_FACESIZE - 1 && faceName[i]; ++i) lf.lfFaceName[i] = faceName[i];
  return CreateFontIndirectW(&lf);
}

namespace {

struct StockFontSpec {
  int index;
  const char16_t* face;
  LONG height;
  LONG weight;
  BYTE charSet;
  BYTE pitchAndFamily;
};

// The classic desktop's stock fonts.
constexpr std::array<StockFontSpec, 7> kStockFonts{{
    {OEM_FIXED_FONT, u"Terminal", 12, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN},
    {ANSI_FIXED_FONT, u"Courier", 12, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN},
    {ANSI_VAR_FONT, u"MS Sans Serif", 12, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {SYSTEM_FONT, u"System", 16, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {DEVICE_DEFAULT_FONT, u"System", 16, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {SYSTEM_FIXED_FONT, u"Fixedsys", 15, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN},
    {DEFAULT_GUI_FONT, u"MS Shell Dlg", -11, FW_NORMAL, DEFAULT_CHARSET, DEFAULT_PITCH | FF_DONTCARE},
}};

// Hands the stock fonts to GetStockObject; safe to call any number of times.
bool RegisterStockFonts() {
  for (const StockFontSpec& stock : kStockFonts) {
    if (GetStockObject(stock.index)) continue;
    LOGFONTW lf = MakeLogFont(stock.face, stock.height, stock.weight);
    lf.lfCharSet = stock.charSet;
    lf.lfPitchAndFamily = stock.pitchAndFamily;
    SetStockObject(stock.index, std::make_shared<Font>(lf));
  }
  return true;
}

// Registered at start-up, so that GetStockObject and new DCs see them before any text call.
[[maybe_unused]] const bool kStockFontsRegistered = RegisterStockFonts();

}  // namespace

HFONT GetStockFont(int index) {
  bool known = std::any_of(kStockFonts.begin(), kStockFonts.end(),
                           [index](const StockFontSpec& stock) { return stock.index == index; });
  if (!known) return nullptr;
  static const bool registered = RegisterStockFonts();
  (void)registered;
  return static_cast<HFONT>(GetStockObject(index));
}

}  // namespace kestrel::platform
