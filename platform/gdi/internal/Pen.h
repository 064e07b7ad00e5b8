#pragma once
// A pen: style, width and colour (cosmetic and geometric pens share one class).

#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/internal/GdiObject.h"

namespace kestrel::platform {

class Pen : public GdiObject {
 public:
  static constexpr GdiObjectKind kKind = GdiObjectKind::Pen;
  static constexpr bool Accepts(GdiObjectKind kind) {
    return kind == GdiObjectKind::Pen || kind == GdiObjectKind::ExtPen;
  }
  Pen(int style, int width, COLORREF color);
  // An extended pen (ExtCreatePen); `dashes` are the on/off run lengths of PS_USERSTYLE.
  Pen(int style, int width, COLORREF color, std::vector<int> dashes);

  int Style() const { return style_ & PS_STYLE_MASK; }
  int Width() const { return width_; }
  COLORREF Color() const { return color_; }
  bool IsNull() const { return Style() == PS_NULL; }
  const std::vector<int>& Dashes() const { return dashes_; }
  int GetObjectData(int size, void* buffer) const override;

 private:
  int style_;
  int width_;
  COLORREF color_;
  std::vector<int> dashes_;
};

}  // namespace kestrel::platform
