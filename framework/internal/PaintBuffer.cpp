#include "framework/internal/PaintBuffer.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/Gdi.h"

namespace kestrel {

namespace pf = platform;

TPaintBuffer::Picture& TPaintBuffer::Kept() {
  thread_local Picture kept;
  return kept;
}

TPaintBuffer::TPaintBuffer(pf::HDC target, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (TakeKept(width, height)) {
    // The kept picture holds the last paint: start on black again, as a new bitmap does.
    pf::PatBlt(dc_.get(), 0, 0, width, height, pf::BLACKNESS);
  } else {
    bitmap_.reset(pf::CreateCompatibleBitmap(target, width, height));
    if (bitmap_) dc_.reset(pf::CreateCompatibleDC(target));
    if (!dc_) return;
    pf::SelectObject(dc_.get(), bitmap_.get());
    width_ = width;
    height_ = height;
  }
  savedState_ = pf::SaveDC(dc_.get());
}

bool TPaintBuffer::TakeKept(int width, int height) {
  Picture& kept = Kept();
  if (!kept.dc || kept.width < width || kept.height < height) return false;
  bitmap_ = std::move(kept.bitmap);
  dc_ = std::move(kept.dc);
  width_ = std::exchange(kept.width, 0);
  height_ = std::exchange(kept.height, 0);
  return true;
}

TPaintBuffer::~TPaintBuffer() {
  if (!dc_ || pf::RestoreDC(dc_.get(), savedState_) == pf::FALSE) return;
  if (width_ * height_ > kKeptPixels) return;
  Picture& kept = Kept();
  // A nested paint may have kept one meanwhile: keep the larger.
  if (kept.dc && kept.width * kept.height >= width_ * height_) return;
  kept.dc.reset();
  kept.bitmap = std::move(bitmap_);
  kept.dc = std::move(dc_);
  kept.width = width_;
  kept.height = height_;
}

}  // namespace kestrel
