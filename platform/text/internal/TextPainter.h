#pragma once
// Paints runs of text on a DC's surface: background cell, glyphs at integer positions, underline
// and strike-out, prefix underlines. TextOut, ExtTextOut and DrawText all paint through here, so
// they place glyphs exactly where the measuring calls say.

#include <span>
#include <string_view>
#include <vector>

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/text/internal/FontInstance.h"
#include "platform/text/internal/GlyphMaskCache.h"

namespace kestrel::platform {

struct TextRun {
  std::u16string_view text;
  std::span<const int> advances;  // per UTF-16 unit, in logical units (the caller's storage)
  int left = 0;                   // logical position of the cell's top-left corner
  int top = 0;
  bool glyphs = true;           // false: paint only the prefix underlines (DT_PREFIXONLY)
  std::vector<int> underlined;  // units to underline as prefixes
  // The glyphs of `text` when the caller has them already (else they are looked up again).
  const std::vector<PlacedGlyph>* placed = nullptr;
};

class TextPainter {
 public:
  TextPainter(DeviceContext& dc, const FontInstance& font);
  ~TextPainter();
  TextPainter(const TextPainter&) = delete;
  TextPainter& operator=(const TextPainter&) = delete;

  // Clip every following paint to `rect` (logical); null clears it.
  void SetClip(const RECT* rect);
  // Fills `rect` (logical) with the DC's background colour.
  void FillBackground(const RECT& rect);
  // Paints a run; its cell is filled first when the DC's background mode is OPAQUE.
  void Paint(const TextRun& run);
  // Whether glyphs may be composited straight onto the pixels (the default) rather than always
  // through cairo; both give the same pixels, which is what switching it off lets one check.
  static void SetDirectGlyphs(bool enabled);

 private:
  void FillRect(long long left, long long top, long long right, long long bottom, COLORREF color);
  void ClipToRect(cairo_t* cr);
  void Damage(long long left, long long top, long long right, long long bottom);
  // Whether ink of a cell (logical) could land inside the clip: glyphs far outside are skipped.
  bool MayShow(long long left, long long top, long long right, long long bottom);
  // Glyphs placed (logical) straight onto the target's pixels; false when only cairo can draw
  // them here (a scaling or mirroring mapping, a surface of another format, colour glyphs).
  bool CompositeGlyphs(const std::vector<PlacedGlyph>& glyphs, std::span<const cairo_glyph_t> placed);
  // Sets up the target's pixels and clip for compositing, as cairo's context would clip;
  // false where they cannot be used.
  bool DirectTarget();
  void ClipDirectTarget();

  DeviceContext& dc_;
  const FontInstance& font_;
  DrawingScope scope_;
  bool clipped_ = false;
  RECT clip_{};
  bool clipApplied_ = false;
  bool directTried_ = false;
  GlyphTarget target_;
  std::vector<GlyphBox> targetClip_;
};

// Per-thread scratch storage grown for an unusually long run is given back rather than kept.
template <class T>
void ReleaseIfLarge(std::vector<T>& scratch) {
  constexpr std::size_t kKeep = 4096;
  if (scratch.capacity() > kKeep) std::vector<T>().swap(scratch);
}

// Sum of advances, widened so that huge inputs never overflow.
long long TotalAdvance(std::span<const int> advances);

}  // namespace kestrel::platform
