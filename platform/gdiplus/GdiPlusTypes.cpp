#include "platform/gdiplus/GdiPlusTypes.h"

#include "platform/gdi/SystemColors.h"

namespace kestrel::platform {

ARGB MakeColor(BYTE alpha, std::int32_t colour) {
  // System colours are 0xFF000000 plus the index; they resolve through the colour table.
  const COLORREF rgb = colour < 0 ? GetSysColor(colour & 0xFF) : static_cast<COLORREF>(colour) & 0x00FFFFFF;
  return (ARGB{alpha} << 24) | (ARGB{GetRValue(rgb)} << 16) | (ARGB{GetGValue(rgb)} << 8) | ARGB{GetBValue(rgb)};
}

}  // namespace kestrel::platform
