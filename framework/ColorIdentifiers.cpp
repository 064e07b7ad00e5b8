#include "framework/ColorIdentifiers.h"

#include <array>
#include <mutex>

#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"

namespace kestrel {
namespace {

constexpr std::array kIdents{
    TColorIdent{u"clBlack", clBlack},
    TColorIdent{u"clMaroon", clMaroon},
    TColorIdent{u"clGreen", clGreen},
    TColorIdent{u"clOlive", clOlive},
    TColorIdent{u"clNavy", clNavy},
    TColorIdent{u"clPurple", clPurple},
    TColorIdent{u"clTeal", clTeal},
    TColorIdent{u"clGray", clGray},
    TColorIdent{u"clSilver", clSilver},
    TColorIdent{u"clRed", clRed},
    TColorIdent{u"clLime", clLime},
    TColorIdent{u"clYellow", clYellow},
    TColorIdent{u"clBlue", clBlue},
    TColorIdent{u"clFuchsia", clFuchsia},
    TColorIdent{u"clAqua", clAqua},
    TColorIdent{u"clWhite", clWhite},
    TColorIdent{u"clMoneyGreen", clMoneyGreen},
    TColorIdent{u"clSkyBlue", clSkyBlue},
    TColorIdent{u"clCream", clCream},
    TColorIdent{u"clMedGray", clMedGray},
    TColorIdent{u"clNone", clNone},
    TColorIdent{u"clDefault", clDefault},
    TColorIdent{u"clScrollBar", clScrollBar},
    TColorIdent{u"clBackground", clBackground},
    TColorIdent{u"clActiveCaption", clActiveCaption},
    TColorIdent{u"clInactiveCaption", clInactiveCaption},
    TColorIdent{u"clMenu", clMenu},
    TColorIdent{u"clWindow", clWindow},
    TColorIdent{u"clWindowFrame", clWindowFrame},
    TColorIdent{u"clMenuText", clMenuText},
    TColorIdent{u"clWindowText", clWindowText},
    TColorIdent{u"clCaptionText", clCaptionText},
    TColorIdent{u"clActiveBorder", clActiveBorder},
    TColorIdent{u"clInactiveBorder", clInactiveBorder},
    TColorIdent{u"clAppWorkSpace", clAppWorkSpace},
    TColorIdent{u"clHighlight", clHighlight},
    TColorIdent{u"clHighlightText", clHighlightText},
    TColorIdent{u"clBtnFace", clBtnFace},
    TColorIdent{u"clBtnShadow", clBtnShadow},
    TColorIdent{u"clGrayText", clGrayText},
    TColorIdent{u"clBtnText", clBtnText},
    TColorIdent{u"clInactiveCaptionText", clInactiveCaptionText},
    TColorIdent{u"clBtnHighlight", clBtnHighlight},
    TColorIdent{u"cl3DDkShadow", cl3DDkShadow},
    TColorIdent{u"cl3DLight", cl3DLight},
    TColorIdent{u"clInfoText", clInfoText},
    TColorIdent{u"clInfoBk", clInfoBk},
    TColorIdent{u"clHotLight", clHotLight},
    TColorIdent{u"clGradientActiveCaption", clGradientActiveCaption},
    TColorIdent{u"clGradientInactiveCaption", clGradientInactiveCaption},
    TColorIdent{u"clMenuHighlight", clMenuHighlight},
    TColorIdent{u"clMenuBar", clMenuBar},
};

}  // namespace

std::span<const TColorIdent> ColorIdentifiers() { return kIdents; }

bool ColorToIdent(TColor color, String& ident) {
  for (const TColorIdent& entry : kIdents) {
    if (entry.Value == color) {
      ident = entry.Name;
      return true;
    }
  }
  return false;
}

String ColorToIdentOrDecimal(TColor color) {
  String ident;
  if (ColorToIdent(color, ident)) return ident;
  return IntToStr(color);
}

void RegisterColorIdentifiers() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterIntegerConsts(
        u"TColor",
        [](std::u16string_view ident, std::int64_t& value) {
          TColor color = 0;
          if (!IdentToColor(ident, color)) return false;
          value = color;
          return true;
        },
        [](std::int64_t value, String& ident) {
          if (value < INT32_MIN || value > INT32_MAX) return false;
          return ColorToIdent(static_cast<TColor>(value), ident);
        });
  });
}

}  // namespace kestrel
