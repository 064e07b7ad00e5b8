#include "framework/Colors.h"

#include <array>
#include <limits>

#include "framework/Exceptions.h"
#include "framework/SysUtils.h"
#include "platform/gdi/SystemColors.h"

namespace kestrel {

namespace {

struct ColorName {
  TColor value;
  const char16_t* name;
};

constexpr std::array<ColorName, 52> kColorNames{{
    {clBlack, u"clBlack"}, {clMaroon, u"clMaroon"}, {clGreen, u"clGreen"}, {clOlive, u"clOlive"},
    {clNavy, u"clNavy"}, {clPurple, u"clPurple"}, {clTeal, u"clTeal"}, {clGray, u"clGray"},
    {clSilver, u"clSilver"}, {clRed, u"clRed"}, {clLime, u"clLime"}, {clYellow, u"clYellow"},
    {clBlue, u"clBlue"}, {clFuchsia, u"clFuchsia"}, {clAqua, u"clAqua"}, {clWhite, u"clWhite"},
    {clMoneyGreen, u"clMoneyGreen"}, {clSkyBlue, u"clSkyBlue"}, {clCream, u"clCream"},
    {clMedGray, u"clMedGray"}, {clNone, u"clNone"}, {clDefault, u"clDefault"},
    {clScrollBar, u"clScrollBar"}, {clBackground, u"clBackground"},
    {clActiveCaption, u"clActiveCaption"}, {clInactiveCaption, u"clInactiveCaption"},
    {clMenu, u"clMenu"}, {clWindow, u"clWindow"}, {clWindowFrame, u"clWindowFrame"},
    {clMenuText, u"clMenuText"}, {clWindowText, u"clWindowText"}, {clCaptionText, u"clCaptionText"},
    {clActiveBorder, u"clActiveBorder"}, {clInactiveBorder, u"clInactiveBorder"},
    {clAppWorkSpace, u"clAppWorkSpace"}, {clHighlight, u"clHighlight"},
    {clHighlightText, u"clHighlightText"}, {clBtnFace, u"clBtnFace"}, {clBtnShadow, u"clBtnShadow"},
    {clGrayText, u"clGrayText"}, {clBtnText, u"clBtnText"},
    {clInactiveCaptionText, u"clInactiveCaptionText"}, {clBtnHighlight, u"clBtnHighlight"},
    {cl3DDkShadow, u"cl3DDkShadow"}, {cl3DLight, u"cl3DLight"}, {clInfoText, u"clInfoText"},
    {clInfoBk, u"clInfoBk"}, {clHotLight, u"clHotLight"},
    {clGradientActiveCaption, u"clGradientActiveCaption"},
    {clGradientInactiveCaption, u"clGradientInactiveCaption"},
    {clMenuHighlight, u"clMenuHighlight"}, {clMenuBar, u"clMenuBar"},
}};

}  // namespace

platform::COLORREF ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return platform::GetSysColor(static_cast<int>(color & 0xFF));
  if (color == clNone || color == clDefault) return 0;
  return static_cast<platform::COLORREF>(color) & 0x00FFFFFF;
}

String ColorToString(TColor color) {
  for (const auto& entry : kColorNames)
    if (entry.value == color) return entry.name;
  return u"$" + IntToHex(static_cast<std::uint32_t>(color), 8);
}

bool IdentToColor(std::u16string_view name, TColor& color) {
  for (const auto& entry : kColorNames) {
    if (SameText(name, entry.name)) {
      color = entry.value;
      return true;
    }
  }
  return false;
}

bool TryStringToColor(std::u16string_view text, TColor& color) {
  if (IdentToColor(text, color)) return true;
  std::int64_t value = 0;
  if (!TryStrToInt64(text, value)) return false;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::uint32_t>::max())
    return false;
  color = static_cast<TColor>(static_cast<std::uint32_t>(value));
  return true;
}

TColor StringToColor(std::u16string_view text) {
  TColor color = clBlack;
  if (!TryStringToColor(text, color)) throw EConvertError(u"'%s' is not a valid integer value", {String(text)});
  return color;
}

}  // namespace kestrel
