#include "controls/internal/BitmapStretch.h"

namespace kestrel {

using namespace platform;

namespace {

// A memory DC with a bitmap selected for one call.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC reference, HBITMAP bitmap) : dc_(CreateCompatibleDC(reference)) {
    if (dc_ && bitmap) previous_ = SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    if (previous_) SelectObject(dc_, previous_);
    if (dc_) DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  HDC Dc() const { return previous_ ? dc_ : nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

void StretchBitmapInto(HDC dest, const TRect& at, TBitmap& source) {
  if (!dest || source.Empty()) return;
  SelectedBitmap src(dest, source.Handle());
  if (!src.Dc()) return;
  SetStretchBltMode(dest, COLORONCOLOR);
  StretchBlt(dest, at.left, at.top, at.right - at.left, at.bottom - at.top, src.Dc(), 0, 0, source.Width(),
             source.Height(), SRCCOPY);
}

void StretchBitmap(TBitmap& target, TBitmap& source) {
  if (target.Empty()) return;
  SelectedBitmap dest(nullptr, target.Handle());
  StretchBitmapInto(dest.Dc(), Rect(0, 0, target.Width(), target.Height()), source);
}

}  // namespace kestrel
