#include "imaging/internal/GlyphCache.h"

#include <algorithm>

namespace kestrel {

TVnGlyphList* TVnGlyphCache::GetList(int width, int height) {
  for (auto it = GlyphLists.rbegin(); it != GlyphLists.rend(); ++it)
    if ((*it)->Width() == width && (*it)->Height() == height) return it->get();
  GlyphLists.push_back(std::make_unique<TVnGlyphList>(width, height));
  return GlyphLists.back().get();
}

void TVnGlyphCache::ReturnList(TVnGlyphList* list) {
  if (!list || list->GlyphCount() != 0) return;
  auto it = std::find_if(GlyphLists.begin(), GlyphLists.end(), [list](const auto& p) { return p.get() == list; });
  if (it != GlyphLists.end()) GlyphLists.erase(it);
}

}  // namespace kestrel
