#pragma once
// A font: a family, a size in a unit and a style. Sizes in points, inches, documents and
// millimetres become pixels at 96 dots per inch; pixel and world sizes are taken as they are.

#include <memory>

#include "platform/gdiplus/GdiPlusTypes.h"
#include "platform/gdiplus/TGPFontFamily.h"

namespace kestrel::platform {

class TGPFont : public StatusKeeper {
 public:
  TGPFont(const TGPFontFamily* family, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);
  TGPFont(const WCHAR* familyName, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);

  std::unique_ptr<TGPFont> Clone() const { return std::make_unique<TGPFont>(*this); }
  BOOL IsAvailable() const { return state_ == Ok ? TRUE : FALSE; }
  // Ok, or why the font cannot draw (unknown family, bad size, style or unit).
  TStatus State() const { return state_; }

  REAL GetSize() const { return size_; }
  INT GetStyle() const { return style_; }
  Unit GetUnit() const { return unit_; }
  TStatus GetFamily(TGPFontFamily* family) const;
  const TGPFontFamily& Family() const { return family_; }
  // The em size in pixels at 96 dots per inch.
  REAL EmPixels() const;
  // Line spacing in pixels: the family's line spacing scaled to the em size.
  REAL GetHeight(REAL dpi = 96) const;

 private:
  void Validate();

  TGPFontFamily family_;
  REAL size_ = 0;
  INT style_ = FontStyleRegular;
  Unit unit_ = UnitPoint;
  TStatus state_ = Ok;
};

}  // namespace kestrel::platform
