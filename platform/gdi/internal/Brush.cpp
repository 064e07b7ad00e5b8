#include "platform/gdi/internal/Brush.h"

#include <cstring>

namespace kestrel::platform {

namespace {
int Wrap(int value, int period) {
  int r = value % period;
  return r < 0 ? r + period : r;
}
}  // namespace

std::shared_ptr<Brush> Brush::Solid(COLORREF color) {
  auto brush = std::shared_ptr<Brush>(new Brush(BS_SOLID));
  brush->color_ = color;
  return brush;
}

std::shared_ptr<Brush> Brush::Null() { return std::shared_ptr<Brush>(new Brush(BS_NULL)); }

std::shared_ptr<Brush> Brush::Hatch(int hatch, COLORREF color) {
  auto brush = std::shared_ptr<Brush>(new Brush(BS_HATCHED));
  brush->color_ = color;
  brush->hatch_ = hatch;
  return brush;
}

std::shared_ptr<Brush> Brush::Pattern(std::vector<std::uint32_t> pixels, int width, int height, bool monochrome) {
  if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * height) return nullptr;
  auto brush = std::shared_ptr<Brush>(new Brush(BS_PATTERN));
  brush->pattern_ = std::move(pixels);
  brush->patternWidth_ = width;
  brush->patternHeight_ = height;
  brush->monochrome_ = monochrome;
  return brush;
}

bool Brush::HatchBit(int x, int y) const {
  x = Wrap(x, 8);
  y = Wrap(y, 8);
  bool horizontal = y == 7;
  bool vertical = x == 7;
  bool forward = x == y;       // "\" from top left to bottom right
  bool backward = x + y == 7;  // "/"
  switch (hatch_) {
    case HS_HORIZONTAL: return horizontal;
    case HS_VERTICAL: return vertical;
    case HS_FDIAGONAL: return forward;
    case HS_BDIAGONAL: return backward;
    case HS_CROSS: return horizontal || vertical;
    case HS_DIAGCROSS: return forward || backward;
    default: return false;
  }
}

std::uint32_t Brush::PatternPixel(int x, int y) const {
  if (pattern_.empty()) return 0xFF000000u;
  return pattern_[static_cast<std::size_t>(Wrap(y, patternHeight_)) * patternWidth_ + Wrap(x, patternWidth_)];
}

int Brush::GetObjectData(int size, void* buffer) const {
  if (!buffer) return sizeof(LOGBRUSH);
  if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
  LOGBRUSH logBrush;
  logBrush.lbStyle = style_;
  logBrush.lbColor = color_;
  logBrush.lbHatch = static_cast<ULONG_PTR>(hatch_);
  std::memcpy(buffer, &logBrush, sizeof logBrush);
  return sizeof(LOGBRUSH);
}

}  // namespace kestrel::platform
