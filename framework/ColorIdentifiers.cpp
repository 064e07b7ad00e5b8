#include "framework/ColorIdentifiers.h"

#include <array>
#include <mutex>

#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"

namespace kestrel {
namespace {

constexpr TColorValue SysColor(int index) {
  return static_cast<TColorValue>(0xFF000000u + static_cast<std::uint32_t>(index));
}

constexpr std::array kIdents{
    TColorIdent{u"clBlack", 0x000000},
    TColorIdent{u"clMaroon", 0x000080},
    TColorIdent{u"clGreen", 0x008000},
    TColorIdent{u"clOlive", 0x008080},
    TColorIdent{u"clNavy", 0x800000},
    TColorIdent{u"clPurple", 0x800080},
    TColorIdent{u"clTeal", 0x808000},
    TColorIdent{u"clGray", 0x808080},
    TColorIdent{u"clSilver", 0xC0C0C0},
    TColorIdent{u"clRed", 0x0000FF},
    TColorIdent{u"clLime", 0x00FF00},
    TColorIdent{u"clYellow", 0x00FFFF},
    TColorIdent{u"clBlue", 0xFF0000},
    TColorIdent{u"clFuchsia", 0xFF00FF},
    TColorIdent{u"clAqua", 0xFFFF00},
    TColorIdent{u"clWhite", 0xFFFFFF},
    TColorIdent{u"clMoneyGreen", 0xC0DCC0},
    TColorIdent{u"clSkyBlue", 0xF0CAA6},
    TColorIdent{u"clCream", 0xF0FBFF},
    TColorIdent{u"clMedGray", 0xA4A0A0},
    TColorIdent{u"clNone", 0x1FFFFFFF},
    TColorIdent{u"clDefault", 0x20000000},
    TColorIdent{u"clScrollBar", SysColor(0)},
    TColorIdent{u"clBackground", SysColor(1)},
    TColorIdent{u"clActiveCaption", SysColor(2)},
    TColorIdent{u"clInactiveCaption", SysColor(3)},
    TColorIdent{u"clMenu", SysColor(4)},
    TColorIdent{u"clWindow", SysColor(5)},
    TColorIdent{u"clWindowFrame", SysColor(6)},
    TColorIdent{u"clMenuText", SysColor(7)},
    TColorIdent{u"clWindowText", SysColor(8)},
    TColorIdent{u"clCaptionText", SysColor(9)},
    TColorIdent{u"clActiveBorder", SysColor(10)},
    TColorIdent{u"clInactiveBorder", SysColor(11)},
    TColorIdent{u"clAppWorkSpace", SysColor(12)},
    TColorIdent{u"clHighlight", SysColor(13)},
    TColorIdent{u"clHighlightText", SysColor(14)},
    TColorIdent{u"clBtnFace", SysColor(15)},
    TColorIdent{u"clBtnShadow", SysColor(16)},
    TColorIdent{u"clGrayText", SysColor(17)},
    TColorIdent{u"clBtnText", SysColor(18)},
    TColorIdent{u"clInactiveCaptionText", SysColor(19)},
    TColorIdent{u"clBtnHighlight", SysColor(20)},
    TColorIdent{u"cl3DDkShadow", SysColor(21)},
    TColorIdent{u"cl3DLight", SysColor(22)},
    TColorIdent{u"clInfoText", SysColor(23)},
    TColorIdent{u"clInfoBk", SysColor(24)},
    TColorIdent{u"clHotLight", SysColor(26)},
    TColorIdent{u"clGradientActiveCaption", SysColor(27)},
    TColorIdent{u"clGradientInactiveCaption", SysColor(28)},
    TColorIdent{u"clMenuHighlight", SysColor(29)},
    TColorIdent{u"clMenuBar", SysColor(30)},
};

bool SameAscii(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::span<const TColorIdent> ColorIdentifiers() { return kIdents; }

bool IdentToColor(std::u16string_view ident, TColorValue& color) {
  for (const TColorIdent& entry : kIdents) {
    if (SameAscii(ident, entry.Name)) {
      color = entry.Value;
      return true;
    }
  }
  return false;
}

bool ColorToIdent(TColorValue color, String& ident) {
  for (const TColorIdent& entry : kIdents) {
    if (entry.Value == color) {
      ident = entry.Name;
      return true;
    }
  }
  return false;
}

String ColorToString(TColorValue color) {
  String ident;
  if (ColorToIdent(color, ident)) return ident;
  return IntToStr(color);
}

bool TryStringToColor(std::u16string_view text, TColorValue& color) {
  if (IdentToColor(text, color)) return true;
  std::int64_t value = 0;
  if (!TryStrToInt64(text, value)) return false;
  // "$FF00000F" is the same colour as its signed 32-bit reading.
  if (value < INT32_MIN || value > static_cast<std::int64_t>(UINT32_MAX)) return false;
  color = static_cast<TColorValue>(static_cast<std::uint32_t>(value));
  return true;
}

void RegisterColorIdentifiers() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterIntegerConsts(
        u"TColor",
        [](std::u16string_view ident, std::int64_t& value) {
          TColorValue color = 0;
          if (!IdentToColor(ident, color)) return false;
          value = color;
          return true;
        },
        [](std::int64_t value, String& ident) {
          if (value < INT32_MIN || value > INT32_MAX) return false;
          return ColorToIdent(static_cast<TColorValue>(value), ident);
        });
  });
}

}  // namespace kestrel
