#include "framework/internal/PaintBuffer.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/Gdi.h"

namespace kestrel {

namespace pf = platform;

pf::MemoryCanvas& TPaintBuffer::Kept() {
  thread_local pf::MemoryCanvas kept;
  return kept;
}

TPaintBuffer::TPaintBuffer(pf::HDC target, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (TakeKept(width, height)) {
    // The kept picture holds the last paint: start on black again, as a new bitmap does.
    pf::PatBlt(picture_.Dc(), 0, 0, width, height, pf::BLACKNESS);
  } else {
    picture_ = pf::MemoryCanvas::Compatible(target, width, height);
    if (!picture_.Valid()) return;
  }
  savedState_ = pf::SaveDC(picture_.Dc());
}

bool TPaintBuffer::TakeKept(int width, int height) {
  pf::MemoryCanvas& kept = Kept();
  if (!kept.Valid() || kept.Width() < width || kept.Height() < height) return false;
  picture_ = std::move(kept);
  return true;
}

TPaintBuffer::~TPaintBuffer() {
  if (!picture_.Valid() || pf::RestoreDC(picture_.Dc(), savedState_) == pf::FALSE) return;
  if (Area(picture_) > kKeptPixels) return;
  pf::MemoryCanvas& kept = Kept();
  // A nested paint may have kept one meanwhile: keep the larger.
  if (kept.Valid() && Area(kept) >= Area(picture_)) return;
  kept = std::move(picture_);
}

}  // namespace kestrel
