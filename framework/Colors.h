#pragma once
// Colours of the framework: 32-bit values in the platform's 0x00BBGGRR order. A value with the
// high bit set names a system colour (0xFF000000 + COLOR_ index); clNone and clDefault are
// markers that callers treat as "no colour" and "the control's own default".

#include <cstdint>
#include <string_view>

#include "framework/Strings.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

using TColor = std::int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

// True for values naming a system colour (any value with the high bit set).
constexpr bool IsSystemColor(TColor c) { return c < 0; }

// The RGB value to draw with: system colours through GetSysColor (low byte is the index),
// everything else unchanged. clNone and clDefault have no RGB of their own; they come back as
// black so that a caller that forgot to test for them still draws something defined.
platform::COLORREF ColorToRGB(TColor color);

// Names: "clBtnFace" <-> clBtnFace; unknown values print as "$00BBGGRR" hex (8 digits).
String ColorToString(TColor color);
// A colour name alone (case-insensitive); false when the name is unknown.
bool IdentToColor(std::u16string_view name, TColor& color);
// A colour name, "$hex", "0x…" or a decimal integer (32-bit, signed or unsigned). False when
// the text is none of these.
bool TryStringToColor(std::u16string_view text, TColor& color);
// Same; throws EConvertError "'%s' is not a valid integer value" on invalid text.
TColor StringToColor(std::u16string_view text);

}  // namespace kestrel
