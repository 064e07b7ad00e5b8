#pragma once
// A brush: solid, hatched, patterned (a copy of the bitmap taken at creation) or null.

#include <cstdint>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/internal/GdiObject.h"

namespace kestrel::platform {

class Brush : public GdiObject {
 public:
  static constexpr GdiObjectKind kKind = GdiObjectKind::Brush;

  static std::shared_ptr<Brush> Solid(COLORREF color);
  static std::shared_ptr<Brush> Null();
  static std::shared_ptr<Brush> Hatch(int hatch, COLORREF color);
  // `pixels` are 0xAARRGGBB words, `width`×`height`, top-down. A monochrome pattern paints its
  // 0 (black) pixels in the DC's text colour and its 1 (white) pixels in the background colour.
  static std::shared_ptr<Brush> Pattern(std::vector<std::uint32_t> pixels, int width, int height, bool monochrome);

  UINT Style() const { return style_; }
  COLORREF Color() const { return color_; }
  int HatchStyle() const { return hatch_; }
  bool IsNull() const { return style_ == BS_NULL; }
  bool IsMonochromePattern() const { return monochrome_; }
  // Whether the hatch lines cover pattern cell (x, y) (any integers; the pattern repeats every 8).
  bool HatchBit(int x, int y) const;
  // Pattern pixel at (x, y), repeating.
  std::uint32_t PatternPixel(int x, int y) const;
  int GetObjectData(int size, void* buffer) const override;

 private:
  explicit Brush(UINT style) : GdiObject(kKind), style_(style) {}
  UINT style_;
  COLORREF color_ = 0;
  int hatch_ = 0;
  std::vector<std::uint32_t> pattern_;
  int patternWidth_ = 0;
  int patternHeight_ = 0;
  bool monochrome_ = false;
};

}  // namespace kestrel::platform
