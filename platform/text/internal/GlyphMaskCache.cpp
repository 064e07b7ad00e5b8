#include "platform/text/internal/GlyphMaskCache.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace kestrel::platform {

namespace {

// A glyph that covers nothing is kept as one transparent pixel, so that it is not rendered again.
// The glyphs of the run being composited, kept per thread between runs.
std::vector<pixman_glyph_t>& Placed() {
  static thread_local std::vector<pixman_glyph_t> placed;
  return placed;
}

PixmanImage EmptyMask() { return PixmanImage(pixman_image_create_bits(PIXMAN_a8, 1, 1, nullptr, 0)); }

}  // namespace

GlyphMaskCache& GlyphMaskCache::Shared() {
  static GlyphMaskCache& shared = *new GlyphMaskCache();  // used until the very end of the process
  return shared;
}

std::uintptr_t GlyphMaskCache::NewFontKey() {
  static std::atomic<std::uintptr_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

GlyphMaskCache::GlyphMaskCache() : cache_(pixman_glyph_cache_create()) {}

GlyphMaskCache::~GlyphMaskCache() { pixman_glyph_cache_destroy(cache_); }

const void* GlyphMaskCache::Find(std::uintptr_t fontKey, unsigned index, const Renderer& render) {
  // pixman keys glyphs by two pointers; a font key and a glyph index stand in for them.
  const void* font = reinterpret_cast<const void*>(fontKey);
  const void* glyph = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(index));
  if (const void* known = pixman_glyph_cache_lookup(cache_, const_cast<void*>(font), const_cast<void*>(glyph)))
    return known;
  GlyphMask mask = render(index);
  if (!mask.image) mask = GlyphMask{EmptyMask(), 0, 0};
  // The cache keeps a copy of the image.
  return pixman_glyph_cache_insert(cache_, const_cast<void*>(font), const_cast<void*>(glyph), mask.originX,
                                   mask.originY, mask.image.get());
}

void GlyphMaskCache::Composite(pixman_image_t* target, pixman_region32_t* clip, pixman_image_t* source,
                               std::uintptr_t fontKey, std::span<const GlyphAt> glyphs, const GlyphRunBounds& bounds,
                               const Renderer& render, pixman_box32_t& inked) {
  inked = pixman_box32_t{0, 0, 0, 0};
  if (glyphs.empty() || bounds.box.x1 >= bounds.box.x2 || bounds.box.y1 >= bounds.box.y2) return;
  PixmanRegion shown;
  pixman_region32_intersect_rect(shown.get(), clip, bounds.box.x1, bounds.box.y1, bounds.box.x2 - bounds.box.x1,
                                 bounds.box.y2 - bounds.box.y1);
  if (!pixman_region32_not_empty(shown.get())) return;
  std::vector<pixman_glyph_t>& placed = Placed();
  placed.clear();
  std::lock_guard lock(mutex_);
  // Frozen, the cache keeps every glyph looked up until the composite is done.
  pixman_glyph_cache_freeze(cache_);
  for (const GlyphAt& g : glyphs)
    if (const void* mask = Find(fontKey, g.index, render)) placed.push_back(pixman_glyph_t{g.x, g.y, mask});
  if (!placed.empty()) CompositeLocked(target, shown.get(), source, bounds.overlaps, inked);
  pixman_glyph_cache_thaw(cache_);
  if (placed.capacity() > 4096) std::vector<pixman_glyph_t>().swap(placed);
}

void GlyphMaskCache::CompositeLocked(pixman_image_t* target, pixman_region32_t* shown, pixman_image_t* source,
                                     bool throughMask, pixman_box32_t& inked) {
  std::vector<pixman_glyph_t>& placed = Placed();
  const int count = static_cast<int>(placed.size());
  pixman_box32_t masks;
  pixman_glyph_get_extents(cache_, count, placed.data(), &masks);
  const pixman_box32_t* limits = pixman_region32_extents(shown);
  inked = {std::max(masks.x1, limits->x1), std::max(masks.y1, limits->y1), std::min(masks.x2, limits->x2),
           std::min(masks.y2, limits->y2)};
  if (inked.x1 >= inked.x2 || inked.y1 >= inked.y2) {
    inked = pixman_box32_t{0, 0, 0, 0};
    return;
  }
  // Clipping costs pixman a region intersection for every glyph: a run inside one rectangle of
  // what may be painted goes unclipped.
  const bool inside = pixman_region32_contains_rectangle(shown, &masks) == PIXMAN_REGION_IN;
  pixman_image_set_clip_region32(target, inside ? nullptr : shown);
  if (throughMask) {
    const pixman_format_code_t format = pixman_glyph_get_mask_format(cache_, count, placed.data());
    pixman_composite_glyphs(PIXMAN_OP_OVER, source, target, format, 0, 0, inked.x1, inked.y1, inked.x1, inked.y1,
                            inked.x2 - inked.x1, inked.y2 - inked.y1, cache_, count, placed.data());
  } else {
    pixman_composite_glyphs_no_mask(PIXMAN_OP_OVER, source, target, 0, 0, 0, 0, cache_, count, placed.data());
  }
  pixman_image_set_clip_region32(target, nullptr);
}

}  // namespace kestrel::platform
