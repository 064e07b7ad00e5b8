#include "controls/internal/BitmapStretch.h"

#include "platform/gdi/MemoryCanvas.h"

namespace kestrel {

using namespace platform;

void StretchBitmapInto(HDC dest, const TRect& at, TBitmap& source) {
  if (!dest || source.Empty()) return;
  const MemoryCanvas src = MemoryCanvas::Borrowing(dest, source.Handle());
  if (!src.Valid()) return;
  SetStretchBltMode(dest, COLORONCOLOR);
  StretchBlt(dest, at.left, at.top, at.right - at.left, at.bottom - at.top, src.Dc(), 0, 0, source.Width(),
             source.Height(), SRCCOPY);
}

void StretchBitmap(TBitmap& target, TBitmap& source) {
  if (target.Empty()) return;
  const MemoryCanvas dest = MemoryCanvas::Borrowing(nullptr, target.Handle());
  StretchBitmapInto(dest.Valid() ? dest.Dc() : nullptr, Rect(0, 0, target.Width(), target.Height()), source);
}

}  // namespace kestrel
