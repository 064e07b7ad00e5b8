#pragma once
// Logical fonts as GDI objects: LOGFONTW, CreateFontIndirectW/CreateFontW and the stock fonts.
//
// Height semantics follow GDI: a negative lfHeight is the character (em) height in pixels, a
// positive one the cell height (ascent + descent), 0 the default of 12 pixels character height.
// The face is resolved through the private font configuration (FontConfiguration.h) the first
// time the font is measured or drawn.

#include "platform/core/Unicode.h"
#include "platform/core/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

constexpr int LF_FACESIZE = 32;

struct LOGFONTW {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  WCHAR lfFaceName[LF_FACESIZE] = {};
};
static_assert(sizeof(LOGFONTW) == 92, "LOGFONTW has the Win32 layout");

// Weights.
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_EXTRALIGHT = 200;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_EXTRABOLD = 800;
constexpr LONG FW_HEAVY = 900;

// Character sets (stored and reported; the stand-in draws everything from Unicode faces).
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE OEM_CHARSET = 255;

// Output precision, clip precision.
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;

// Quality: NONANTIALIASED_QUALITY draws aliased glyphs, everything else greyscale.
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;

// Pitch and family.
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

HFONT CreateFontIndirectW(const LOGFONTW* logFont);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, const WCHAR* faceName);

// The stock font for a GetStockObject index (OEM_FIXED_FONT … DEFAULT_GUI_FONT), null for
// other indexes. The stock fonts are handed to GetStockObject when this library starts (and at
// the latest on first use); they ignore DeleteObject.
HFONT GetStockFont(int index);

// Helpers for building LOGFONTs from code.
LOGFONTW MakeLogFont(const String& face, LONG height, LONG weight = FW_NORMAL, bool italic = false,
                     bool underline = false, bool strikeOut = false);
String FaceNameOf(const LOGFONTW& logFont);

}  // namespace kestrel::platform
