#pragma once
// The glyph masks text is composited with, kept once per process: a glyph is rendered through
// cairo the first time a font draws it, and from then on runs of text are composited straight
// onto the target's pixels, as cairo's image backend does itself (see CoverageBlend), without
// cairo's per-call state, font resolution and clip set-up. The masks are the ones cairo draws,
// composited at the same integer positions within the same bounds, so the pixels are the same.
//
// A font is known by a key that is never handed out twice, so that the masks of a font that
// is gone are never taken for those of a new one; the cache is emptied when it grows large.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <unordered_map>
#include <vector>

namespace kestrel::platform {

// A rectangle of target pixels, right and bottom exclusive.
struct GlyphBox {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool Empty() const { return x1 >= x2 || y1 >= y2; }
  GlyphBox Intersection(const GlyphBox& b) const {
    return {std::max(x1, b.x1), std::max(y1, b.y1), std::min(x2, b.x2), std::min(y2, b.y2)};
  }
  // The smallest box holding both; an empty box adds nothing.
  GlyphBox Union(const GlyphBox& b) const {
    if (Empty()) return b;
    if (b.Empty()) return *this;
    return {std::min(x1, b.x1), std::min(y1, b.y1), std::max(x2, b.x2), std::max(y2, b.y2)};
  }
};

// A glyph's coverage, rows of `width` bytes (plus slack at the end), and where the glyph's
// origin lies in it; no rows for a glyph that covers nothing.
struct GlyphMask {
  int originX = 0;
  int originY = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};

// One glyph to composite: its index and its origin in target pixels.
struct GlyphAt {
  unsigned index = 0;
  int x = 0;
  int y = 0;
};

// Where a run may paint (cairo paints nothing beyond its glyphs' boxes), and whether its glyphs
// are added up in one mask before compositing, as cairo does when their boxes overlap.
struct GlyphRunBounds {
  GlyphBox box;
  bool overlaps = false;
};

// 32-bit pixels to composite onto and the rectangles of them that may change.
struct GlyphTarget {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // in pixels
  std::span<const GlyphBox> clip;
};

class GlyphMaskCache {
 public:
  static GlyphMaskCache& Shared();
  // A key for one face of one font, unique for the life of the process.
  static std::uintptr_t NewFontKey();

  using Renderer = std::function<GlyphMask(unsigned index)>;
  // Composites `glyphs` of the font `fontKey` in `color` (0x00RRGGBB) onto `target` within its
  // clip and the run's bounds, rendering the masks not yet known with `render`. `inked` gets
  // the box the masks cover there (empty when nothing was drawn).
  void Composite(const GlyphTarget& target, std::uint32_t color, std::uintptr_t fontKey,
                 std::span<const GlyphAt> glyphs, const GlyphRunBounds& bounds, const Renderer& render,
                 GlyphBox& inked);

 private:
  struct Key {
    std::uintptr_t font;
    unsigned index;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const noexcept {
      return std::hash<std::uintptr_t>()(k.font * 0x9E3779B1u ^ k.index);
    }
  };
  // One glyph of the run, found and placed: its mask and its box in target pixels.
  struct Placed {
    const GlyphMask* mask;
    GlyphBox box;
  };

  const GlyphMask& Find(std::uintptr_t fontKey, unsigned index, const Renderer& render);
  static void BlendOne(const GlyphTarget& target, const GlyphBox& area, const Placed& glyph, std::uint32_t color);
  void BlendSummed(const GlyphTarget& target, const GlyphBox& area, std::uint32_t color);

  std::mutex mutex_;
  std::unordered_map<Key, GlyphMask, KeyHash> masks_;
  std::vector<Placed> placed_;     // the run being composited
  std::vector<std::uint8_t> sum_;  // overlapping glyphs added up
};

}  // namespace kestrel::platform
