#include "framework/ImageList.h"

#include <algorithm>

#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TCustomImageList, TComponent)

void TCustomImageList::PublishProperties(TClassBuilder<TCustomImageList>& b) {
  b.Property(u"Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
  b.Property(u"Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomImageList::SetSize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  images_.clear();
  Change();
}

std::vector<std::unique_ptr<TBitmap>> TCustomImageList::Split(TBitmap* image, TBitmap* mask, TColor maskColor,
                                                              bool useMaskColor) const {
  std::vector<std::unique_ptr<TBitmap>> parts;
  if (!image || image->Empty()) return parts;
  const int count = std::max(1, image->Width() / width_);
  const std::uint32_t key = ColorToRGB(maskColor);
  const bool ownAlpha = image->PixelFormat() == pf32bit && image->AlphaFormat() != afIgnored;
  for (int n = 0; n < count; ++n) {
    auto part = std::make_unique<TBitmap>(width_, height_);
    part->SetPixelFormat(pf32bit);
    part->SetAlphaFormat(afDefined);
    for (int y = 0; y < std::min(height_, image->Height()); ++y) {
      const std::uint8_t* src = image->ScanLine(y);
      const std::uint8_t* m = mask && y < mask->Height() ? mask->ScanLine(y) : nullptr;
      std::uint8_t* dst = part->ScanLine(y);
      for (int x = 0; x < width_; ++x) {
        const int sx = n * width_ + x;
        if (sx >= image->Width()) break;
        const std::uint8_t* p = src + sx * 4;
        std::uint8_t alpha = ownAlpha ? p[3] : 255;
        if (m && sx < mask->Width()) {
          const std::uint8_t* mp = m + sx * 4;
          if (mp[0] | mp[1] | mp[2]) alpha = 0;
        }
        if (useMaskColor && static_cast<std::uint32_t>(p[2] | (p[1] << 8) | (p[0] << 16)) == key) alpha = 0;
        dst[x * 4 + 0] = p[0];
        dst[x * 4 + 1] = p[1];
        dst[x * 4 + 2] = p[2];
        dst[x * 4 + 3] = alpha;
      }
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

int TCustomImageList::Insert(std::vector<std::unique_ptr<TBitmap>> parts) {
  if (parts.empty()) return -1;
  const int first = Count();
  for (auto& p : parts) images_.push_back(std::move(p));
  Change();
  return first;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) { return Insert(Split(image, mask, clNone, false)); }

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
  return Insert(Split(image, nullptr, maskColor, true));
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
  if (index < 0 || index >= Count()) return;
  auto parts = Split(image, mask, clNone, false);
  if (parts.empty()) return;
  images_[static_cast<size_t>(index)] = std::move(parts.front());
  Change();
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  images_.erase(images_.begin() + index);
  Change();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Change();
}

void TCustomImageList::Move(int curIndex, int newIndex) {
  if (curIndex < 0 || curIndex >= Count() || newIndex < 0 || newIndex >= Count() || curIndex == newIndex) return;
  auto image = std::move(images_[static_cast<size_t>(curIndex)]);
  images_.erase(images_.begin() + curIndex);
  images_.insert(images_.begin() + newIndex, std::move(image));
  Change();
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) const {
  if (!image || index < 0 || index >= Count()) return false;
  image->Assign(images_[static_cast<size_t>(index)].get());
  return true;
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
  if (!canvas || index < 0 || index >= Count()) return;
  const TBitmap* source = images_[static_cast<size_t>(index)].get();
  TBitmap copy;
  copy.Assign(source);
  if (!enabled) {
    // Greyed and half transparent.
    for (int row = 0; row < copy.Height(); ++row) {
      std::uint8_t* p = copy.ScanLine(row);
      for (int col = 0; col < copy.Width(); ++col, p += 4) {
        const auto grey = static_cast<std::uint8_t>((p[0] * 114 + p[1] * 587 + p[2] * 299) / 1000);
        p[0] = p[1] = p[2] = static_cast<std::uint8_t>(128 + grey / 2);
        p[3] = static_cast<std::uint8_t>(p[3] / 2);
      }
    }
  }
  canvas->Draw(x, y, &copy);
}

}  // namespace kestrel
