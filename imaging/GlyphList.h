#pragma once
// An image list of button glyphs with reusable slots: deleting a glyph frees its slot, and the
// next glyph added takes the first free slot instead of growing the list.

#include <vector>

#include "framework/ImageList.h"

namespace kestrel {

class TVnGlyphList : public TCustomImageList {
  KESTREL_CLASS(TVnGlyphList)
  TVnGlyphList(int width, int height);

  // Puts `image` with `maskColor` transparent into the first free slot (a new one when none is
  // free) and returns the slot. `maskUsage` 0 draws the glyph without its mask (opaque), 1 with
  // it, 2 with it when the list is Masked.
  int AddMasked(TBitmap* image, TColor maskColor, int maskUsage);
  // Frees a used slot; the image stays until the slot is reused.
  void Delete(int index);
  bool Used(int index) const {
    return index >= 0 && index < static_cast<int>(used_.size()) && used_[static_cast<std::size_t>(index)];
  }
  // The number of slots in use.
  int GlyphCount() const { return FCount; }

  bool Masked() const { return masked_; }
  void SetMasked(bool value) { masked_ = value; }

 private:
  std::vector<bool> used_;
  int FCount = 0;
  bool masked_ = true;
};

}  // namespace kestrel
