#pragma once
// Hands out one glyph list per glyph size, so buttons with glyphs of one size share a list.

#include <memory>
#include <vector>

#include "imaging/GlyphList.h"

namespace kestrel {

class TVnGlyphCache {
 public:
  // The list for that size, searched from the most recently made; made and kept when none fits.
  TVnGlyphList* GetList(int width, int height);
  // Frees the list when it holds no glyphs any more.
  void ReturnList(TVnGlyphList* list);
  bool Empty() const { return GlyphLists.empty(); }

  std::vector<std::unique_ptr<TVnGlyphList>> GlyphLists;
};

}  // namespace kestrel
