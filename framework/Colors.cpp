#include "framework/Colors.h"

#include <limits>

#include "framework/ColorIdentifiers.h"
#include "framework/Exceptions.h"
#include "framework/SysUtils.h"
#include "platform/gdi/SystemColors.h"

namespace kestrel {

platform::COLORREF ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return platform::GetSysColor(static_cast<int>(color & 0xFF));
  if (color == clNone || color == clDefault) return 0;
  return static_cast<platform::COLORREF>(color) & 0x00FFFFFF;
}

String ColorToString(TColor color) {
  String ident;
  if (ColorToIdent(color, ident)) return ident;
  return u"$" + IntToHex(static_cast<std::uint32_t>(color), 8);
}

bool IdentToColor(std::u16string_view name, TColor& color) {
  for (const TColorIdent& entry : ColorIdentifiers()) {
    if (SameText(name, entry.Name)) {
      color = entry.Value;
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
