#pragma once
// A pen: style, width and colour (cosmetic and geometric pens share one class).

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

class Pen : public GdiObject {
 public:
  static constexpr GdiObjectKind kKind = GdiObjectKind::Pen;
  Pen(int style, int width, COLORREF color);

  int Style() const { return style_ & PS_STYLE_MASK; }
  int Width() const { return width_; }
  COLORREF Color() const { return color_; }
  bool IsNull() const { return Style() == PS_NULL; }
  int GetObjectData(int size, void* buffer) const override;

 private:
  int style_;
  int width_;
  COLORREF color_;
};

}  // namespace kestrel::platform
