#include "platform/gdiplus/TGPFont.h"

#include <cmath>

namespace kestrel::platform {

namespace {

// Pixels per unit at 96 dots per inch; 0 for units a font cannot be sized in.
double PixelsPerUnit(Unit unit) {
  switch (unit) {
    case UnitWorld:
    case UnitPixel: return 1;
    case UnitPoint: return 96.0 / 72;
    case UnitInch: return 96;
    case UnitDocument: return 96.0 / 300;
    case UnitMillimeter: return 96 / 25.4;
    default: return 0;
  }
}

// Largest em size in pixels a font may have: beyond it glyph outlines overflow the rasteriser.
constexpr double kMaxEmPixels = 16384;

}  // namespace

TGPFont::TGPFont(const TGPFontFamily* family, REAL emSize, INT style, Unit unit)
    : size_(emSize), style_(style), unit_(unit) {
  if (!family) {
    state_ = InvalidParameter;
  } else {
    family_ = *family;
    family_.GetLastStatus();
    Validate();
  }
  Remember(state_);
}

TGPFont::TGPFont(const WCHAR* familyName, REAL emSize, INT style, Unit unit)
    : family_(familyName), size_(emSize), style_(style), unit_(unit) {
  Validate();
  Remember(state_);
}

void TGPFont::Validate() {
  const double pixels = size_ * PixelsPerUnit(unit_);
  if (!family_.IsAvailable()) state_ = FontFamilyNotFound;
  else if (PixelsPerUnit(unit_) == 0 || !(pixels > 0) || pixels > kMaxEmPixels || style_ < 0 || style_ > 15)
    state_ = InvalidParameter;
}

TStatus TGPFont::GetFamily(TGPFontFamily* family) const {
  if (!family) return Remember(InvalidParameter);
  *family = family_;
  return Ok;
}

REAL TGPFont::EmPixels() const { return static_cast<REAL>(size_ * PixelsPerUnit(unit_)); }

REAL TGPFont::GetHeight(REAL dpi) const {
  if (state_ != Ok || !(dpi > 0)) return 0;
  const double em = family_.GetEmHeight(style_);
  if (em <= 0) return 0;
  return static_cast<REAL>(EmPixels() * dpi / 96 * family_.GetLineSpacing(style_) / em);
}

}  // namespace kestrel::platform
