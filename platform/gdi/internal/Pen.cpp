#include "platform/gdi/internal/Pen.h"
#include "platform/gdi/internal/GdiObject.h"

#include <cstring>

namespace kestrel::platform {

Pen::Pen(int style, int width, COLORREF color)
    : GdiObject(kKind), style_(style), width_(width < 0 ? 0 : width), color_(color) {}

Pen::Pen(int style, int width, COLORREF color, std::vector<int> dashes)
    : GdiObject(GdiObjectKind::ExtPen),
      style_(style),
      width_(width < 0 ? 0 : width),
      color_(color),
      dashes_(std::move(dashes)) {}

int Pen::GetObjectData(int size, void* buffer) const {
  if (!buffer) return sizeof(LOGPEN);
  if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
  LOGPEN pen;
  pen.lopnStyle = static_cast<UINT>(style_);
  pen.lopnWidth.x = width_;
  pen.lopnColor = color_;
  std::memcpy(buffer, &pen, sizeof pen);
  return sizeof(LOGPEN);
}

}  // namespace kestrel::platform
