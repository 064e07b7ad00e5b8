#include "platform/gdi/Objects.h"

#include <algorithm>

#include "platform/gdi/internal/Bitmap.h"
#include "platform/gdi/internal/Brush.h"
#include "platform/gdi/internal/DibFormat.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Pen.h"

namespace kestrel::platform {

namespace {
template <class Handle>
Handle Register(std::shared_ptr<GdiObject> object) {
  if (!object) return nullptr;
  return static_cast<Handle>(RegisterGdiObject(std::move(object)));
}
}  // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
  int base = style & PS_STYLE_MASK;
  if (base > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Styled lines are one pixel wide: wider pens draw solid, as GDI does.
  if (width > 1 && base >= PS_DASH && base <= PS_DASHDOTDOT) style = PS_SOLID;
  return Register<HPEN>(std::make_shared<Pen>(style, width, color));
}

HPEN CreatePenIndirect(const LOGPEN* logPen) {
  if (!logPen) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
  int base = static_cast<int>(style & PS_STYLE_MASK);
  bool cosmetic = (style & PS_TYPE_MASK) == PS_COSMETIC;
  bool userStyle = base == PS_USERSTYLE;
  if (!brush || base > PS_ALTERNATE || (cosmetic && width != 1) || width > 0x7FFFFFFF ||
      (userStyle && (!styles || styleCount == 0 || styleCount > 16)) || (!userStyle && styleCount != 0) ||
      (base == PS_ALTERNATE && !cosmetic)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<int> dashes;
  for (DWORD i = 0; userStyle && i < styleCount; ++i)
    dashes.push_back(static_cast<int>(std::clamp<DWORD>(styles[i], 1, 1 << 16)));
  if (dashes.size() % 2) dashes.insert(dashes.end(), dashes.begin(), dashes.end());
  COLORREF color = brush->lbStyle == BS_SOLID ? brush->lbColor : 0;
  if (brush->lbStyle == BS_NULL) base = PS_NULL;
  return Register<HPEN>(std::make_shared<Pen>(base, static_cast<int>(width), color, std::move(dashes)));
}

HBRUSH CreateSolidBrush(COLORREF color) { return Register<HBRUSH>(Brush::Solid(color)); }

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Register<HBRUSH>(Brush::Hatch(hatch, color));
}

HBRUSH CreatePatternBrush(HBITMAP handle) {
  auto bitmap = LookupGdi<Bitmap>(handle);
  if (!bitmap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  bitmap->LoadFromBits();
  cairo_surface_t* surface = bitmap->Surface();
  cairo_surface_flush(surface);
  int w = bitmap->Width(), h = bitmap->Height();
  const unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    std::copy(row, row + w, pixels.begin() + static_cast<std::ptrdiff_t>(y) * w);
  }
  return Register<HBRUSH>(Brush::Pattern(std::move(pixels), w, h, bitmap->IsMonochrome()));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush) {
  if (!logBrush) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  switch (logBrush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(logBrush->lbColor);
    case BS_NULL: return Register<HBRUSH>(Brush::Null());
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(logBrush->lbHatch), logBrush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(logBrush->lbHatch));
    case BS_DIBPATTERNPT:
      return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(logBrush->lbHatch), LOWORD(logBrush->lbColor));
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage) {
  const auto* info = static_cast<const BITMAPINFO*>(packedDib);
  DibFormat format(info);
  if (!info || usage != DIB_RGB_COLORS || !format.Valid()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::size_t tableBytes = format.Colors().size() * sizeof(RGBQUAD);
  // Masks follow a 40-byte header; larger headers hold them inside.
  if (info->bmiHeader.biCompression == BI_BITFIELDS)
    tableBytes = info->bmiHeader.biSize >= sizeof(BITMAPINFOHEADER) + 12 ? 0 : 3 * sizeof(DWORD);
  const auto* bits = reinterpret_cast<const std::uint8_t*>(info) + info->bmiHeader.biSize + tableBytes;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(format.Width()) * format.Height());
  for (int y = 0; y < format.Height(); ++y)
    for (int x = 0; x < format.Width(); ++x)
      pixels[static_cast<std::size_t>(y) * format.Width() + x] = format.Read(format.Row(bits, y), x);
  return Register<HBRUSH>(Brush::Pattern(std::move(pixels), format.Width(), format.Height(), false));
}

}  // namespace kestrel::platform
