#include "platform/text/internal/GlyphMaskCache.h"

#include <algorithm>
#include <atomic>

#include "platform/text/internal/CoverageBlend.h"

namespace kestrel::platform {

namespace {

// Masks kept at most; a program draws a few hundred glyphs in a handful of fonts.
constexpr std::size_t kMostMasks = 16384;

}  // namespace

GlyphMaskCache& GlyphMaskCache::Shared() {
  static GlyphMaskCache& shared = *new GlyphMaskCache();  // used until the very end of the process
  return shared;
}

std::uintptr_t GlyphMaskCache::NewFontKey() {
  static std::atomic<std::uintptr_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

const GlyphMask& GlyphMaskCache::Find(std::uintptr_t fontKey, unsigned index, const Renderer& render) {
  const Key key{fontKey, index};
  if (auto known = masks_.find(key); known != masks_.end()) return known->second;
  return masks_.emplace(key, render(index)).first->second;
}

void GlyphMaskCache::Composite(const GlyphTarget& target, std::uint32_t color, std::uintptr_t fontKey,
                               std::span<const GlyphAt> glyphs, const GlyphRunBounds& bounds, const Renderer& render,
                               GlyphBox& inked) {
  inked = {};
  const GlyphBox limit = bounds.box.Intersection(GlyphBox{0, 0, target.width, target.height});
  if (glyphs.empty() || limit.Empty() || !target.pixels) return;
  std::lock_guard lock(mutex_);
  if (masks_.size() > kMostMasks) masks_.clear();  // no mask of an earlier run is held any more
  placed_.clear();
  GlyphBox masks;
  for (const GlyphAt& g : glyphs) {
    const GlyphMask& mask = Find(fontKey, g.index, render);
    if (mask.coverage.empty()) continue;
    const GlyphBox box{g.x - mask.originX, g.y - mask.originY, g.x - mask.originX + mask.width,
                       g.y - mask.originY + mask.height};
    placed_.push_back({&mask, box});
    masks = masks.Union(box);
  }
  const GlyphBox reach = masks.Intersection(limit);
  if (placed_.empty() || reach.Empty()) return;
  for (const GlyphBox& part : target.clip) {
    const GlyphBox area = reach.Intersection(part);
    if (area.Empty()) continue;
    inked = inked.Union(area);
    if (bounds.overlaps) {
      BlendSummed(target, area, color);
      continue;
    }
    for (const Placed& glyph : placed_) BlendOne(target, area, glyph, color);
  }
  if (placed_.capacity() > 4096) std::vector<Placed>().swap(placed_);
}

void GlyphMaskCache::BlendOne(const GlyphTarget& target, const GlyphBox& area, const Placed& glyph,
                              std::uint32_t color) {
  const GlyphBox r = glyph.box.Intersection(area);
  if (r.Empty()) return;
  const GlyphMask& mask = *glyph.mask;
  const std::uint8_t* coverage =
      mask.coverage.data() + static_cast<std::ptrdiff_t>(r.y1 - glyph.box.y1) * mask.width + (r.x1 - glyph.box.x1);
  BlendCoverage(target.pixels + r.y1 * target.stride + r.x1, target.stride, coverage, mask.width, r.x2 - r.x1,
                r.y2 - r.y1, color);
}

void GlyphMaskCache::BlendSummed(const GlyphTarget& target, const GlyphBox& area, std::uint32_t color) {
  // Overlapping glyphs are added up first and laid over the pixels once, as cairo does.
  const int width = area.x2 - area.x1;
  sum_.assign(static_cast<std::size_t>(width) * (area.y2 - area.y1) + kCoverageSlack, 0);
  for (const Placed& glyph : placed_) {
    const GlyphBox r = glyph.box.Intersection(area);
    if (r.Empty()) continue;
    for (int y = r.y1; y < r.y2; ++y)
      AddCoverage(sum_.data() + static_cast<std::ptrdiff_t>(y - area.y1) * width + (r.x1 - area.x1),
                  glyph.mask->coverage.data() + static_cast<std::ptrdiff_t>(y - glyph.box.y1) * glyph.mask->width +
                      (r.x1 - glyph.box.x1),
                  r.x2 - r.x1);
  }
  BlendCoverage(target.pixels + area.y1 * target.stride + area.x1, target.stride, sum_.data(), width, width,
                area.y2 - area.y1, color);
  if (sum_.capacity() > (1u << 20)) std::vector<std::uint8_t>().swap(sum_);
}

}  // namespace kestrel::platform
