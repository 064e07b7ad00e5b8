#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel::platform {

ARGB MakeColor(BYTE alpha, std::int32_t colour) {
  COLORREF rgb = static_cast<COLORREF>(colour) & 0x00FFFFFF;
  return (ARGB{alpha} << 24) | (ARGB{GetRValue(rgb)} << 16) | (ARGB{GetGValue(rgb)} << 8) |
         ARGB{GetBValue(rgb)};
}

}  // namespace kestrel::platform
