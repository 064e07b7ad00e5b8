#pragma once
// The glyph masks text is composited with, kept once per process: a glyph is rendered through
// cairo the first time a font draws it, and from then on runs of text are composited straight
// onto the target's pixels with pixman, as cairo's image backend does itself, without cairo's
// per-call state, font resolution and clip set-up. The masks are the ones cairo draws, and
// they are composited with the same operator at the same integer positions, so the pixels are
// the same.
//
// A font is known by a key that is never handed out twice, so that the masks of a font that
// is gone are never taken for those of a new one; they age out of the cache as it fills.

#include <pixman.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

namespace kestrel::platform {

struct PixmanImageRelease {
  void operator()(pixman_image_t* image) const noexcept { pixman_image_unref(image); }
};
using PixmanImage = std::unique_ptr<pixman_image_t, PixmanImageRelease>;

// A pixman region owned for its scope.
class PixmanRegion {
 public:
  PixmanRegion() { pixman_region32_init(&region_); }
  ~PixmanRegion() { pixman_region32_fini(&region_); }
  PixmanRegion(const PixmanRegion&) = delete;
  PixmanRegion& operator=(const PixmanRegion&) = delete;
  void Assign(std::span<const pixman_box32_t> boxes) {
    pixman_region32_fini(&region_);
    pixman_region32_init_rects(&region_, boxes.data(), static_cast<int>(boxes.size()));
  }
  pixman_region32_t* get() { return &region_; }

 private:
  pixman_region32_t region_;
};

// A glyph's mask (8-bit coverage) and where the glyph's origin lies in it; no image for a glyph
// that covers nothing.
struct GlyphMask {
  PixmanImage image;
  int originX = 0;
  int originY = 0;
};

// One glyph to composite: its index and its origin in target pixels.
struct GlyphAt {
  unsigned index = 0;
  int x = 0;
  int y = 0;
};

// Where a run may paint (target pixels; cairo paints nothing beyond its glyphs' boxes), and
// whether its glyphs are added up in one mask before compositing, as cairo does when they overlap.
struct GlyphRunBounds {
  pixman_box32_t box{0, 0, 0, 0};
  bool overlaps = false;
};

class GlyphMaskCache {
 public:
  static GlyphMaskCache& Shared();
  // A key for one face of one font, unique for the life of the process.
  static std::uintptr_t NewFontKey();

  GlyphMaskCache();
  ~GlyphMaskCache();
  GlyphMaskCache(const GlyphMaskCache&) = delete;
  GlyphMaskCache& operator=(const GlyphMaskCache&) = delete;

  using Renderer = std::function<GlyphMask(unsigned index)>;
  // Composites `glyphs` of the font `fontKey` in `source` over `target` within `clip` and the
  // run's bounds, rendering the masks not yet known with `render`. `inked` gets the box the masks cover in
  // target pixels (empty when nothing was drawn).
  void Composite(pixman_image_t* target, pixman_region32_t* clip, pixman_image_t* source, std::uintptr_t fontKey,
                 std::span<const GlyphAt> glyphs, const GlyphRunBounds& bounds, const Renderer& render,
                 pixman_box32_t& inked);

 private:
  const void* Find(std::uintptr_t fontKey, unsigned index, const Renderer& render);
  // Composites the run placed on this thread, with mutex_ held and the cache frozen.
  void CompositeLocked(pixman_image_t* target, pixman_region32_t* shown, pixman_image_t* source, bool throughMask,
                       pixman_box32_t& inked);

  std::mutex mutex_;  // pixman's cache is not thread-safe
  pixman_glyph_cache_t* cache_;
};

}  // namespace kestrel::platform
