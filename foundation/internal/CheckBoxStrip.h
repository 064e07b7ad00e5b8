#pragma once
// The platform's check-box strip: the classic check, radio and three-state images in one bitmap
// of four columns (unchecked, checked, pushed, pushed and checked) by three rows.

#include <memory>

namespace kestrel {

class TBitmap;

constexpr int kCheckBoxStripColumns = 4;
constexpr int kCheckBoxStripRows = 3;
// The side of one image, in pixels.
constexpr int kCheckBoxImageSize = 13;

std::unique_ptr<TBitmap> LoadCheckBoxStrip();

}  // namespace kestrel
