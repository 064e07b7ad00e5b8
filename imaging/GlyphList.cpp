#include "imaging/GlyphList.h"

#include <algorithm>

#include "framework/Bitmap.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TVnGlyphList, TCustomImageList)

TVnGlyphList::TVnGlyphList(int width, int height) : TCustomImageList(nullptr) { SetSize(width, height); }

int TVnGlyphList::AddMasked(TBitmap* image, TColor maskColor, int maskUsage) {
  auto slot = static_cast<int>(std::find(used_.begin(), used_.end(), false) - used_.begin());
  if (slot == static_cast<int>(used_.size())) {
    TBitmap blank(Width(), Height());
    TCustomImageList::Add(&blank, nullptr);
    used_.push_back(false);
    slot = Count() - 1;
  }
  const bool withMask = maskUsage == 1 || (maskUsage == 2 && masked_);
  // The underlying list takes a mask bitmap: black where the glyph shows, white where it does not.
  TBitmap mask(image ? image->Width() : 0, image ? image->Height() : 0);
  const std::uint32_t key = ColorToRGB(maskColor);
  for (int y = 0; image && y < image->Height(); ++y) {
    const std::uint8_t* from = image->ScanLine(y);
    std::uint8_t* to = mask.ScanLine(y);
    for (int x = 0; x < image->Width(); ++x, from += 4, to += 4) {
      const bool hidden = withMask && platform::RGB(from[2], from[1], from[0]) == key;
      to[0] = to[1] = to[2] = hidden ? 255 : 0;
      to[3] = 255;
    }
  }
  used_[static_cast<std::size_t>(slot)] = true;
  if (image) TCustomImageList::Replace(slot, image, &mask);
  ++FCount;
  return slot;
}

void TVnGlyphList::Delete(int index) {
  if (!Used(index)) return;
  used_[static_cast<std::size_t>(index)] = false;
  --FCount;
}

}  // namespace kestrel
