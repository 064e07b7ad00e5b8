#include "foundation/internal/CheckBoxStrip.h"

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "platform/gdi/Frames.h"

namespace kestrel {

namespace pf = platform;

std::unique_ptr<TBitmap> LoadCheckBoxStrip() {
  auto strip =
      std::make_unique<TBitmap>(kCheckBoxStripColumns * kCheckBoxImageSize, kCheckBoxStripRows * kCheckBoxImageSize);
  static constexpr pf::UINT kRows[kCheckBoxStripRows] = {pf::DFCS_BUTTONCHECK, pf::DFCS_BUTTONRADIO,
                                                         pf::DFCS_BUTTON3STATE};
  static constexpr pf::UINT kColumns[kCheckBoxStripColumns] = {0, pf::DFCS_CHECKED, pf::DFCS_PUSHED,
                                                               pf::DFCS_PUSHED | pf::DFCS_CHECKED};
  const pf::HDC dc = strip->Canvas()->Handle();
  for (int row = 0; row < kCheckBoxStripRows; ++row) {
    for (int column = 0; column < kCheckBoxStripColumns; ++column) {
      pf::RECT cell{column * kCheckBoxImageSize, row * kCheckBoxImageSize, (column + 1) * kCheckBoxImageSize,
                    (row + 1) * kCheckBoxImageSize};
      pf::DrawFrameControl(dc, &cell, pf::DFC_BUTTON, kRows[row] | kColumns[column]);
    }
  }
  return strip;
}

}  // namespace kestrel
