#include "imaging/internal/PngAlphaBlendFilter.h"

namespace kestrel {

void TVnPNGAlphaBlendFilter::SetAlphaPercent(std::uint8_t value) {
  if (value == alphaPercent_ || value > 100) return;
  alphaPercent_ = value;
  FModified = true;
}

std::uint8_t TVnPNGAlphaBlendFilter::Scale(unsigned alpha) const {
  // round(percent x alpha / 100), half to even.
  const unsigned product = alphaPercent_ * alpha;
  unsigned q = product / 100;
  const unsigned r = product % 100;
  if (r > 50 || (r == 50 && (q & 1))) ++q;
  return static_cast<std::uint8_t>(q);
}

void TVnPNGAlphaBlendFilter::Apply() {
  TVnPNGObject& result = *resultImage_;
  result.CreateAlpha();
  TVnPNGChunkIHDR& header = *result.Header();
  if (header.ColorType() == COLOR_PALETTE) {
    const auto* sourceTrns = sourceImage_->Chunks().ItemFromClass<TVnPNGChunktRNS>();
    auto* trns = result.Chunks().ItemFromClass<TVnPNGChunktRNS>();
    for (int i = 0; i < 256; ++i) trns->PaletteValues()[i] = Scale(sourceTrns ? sourceTrns->PaletteValues()[i] : 255);
    trns->SetDataSize(std::size_t{1} << header.BitDepth());
    return;
  }
  const TVnPNGChunkIHDR& source = *sourceImage_->Header();
  for (std::uint32_t y = 0; y < header.Height(); ++y) {
    std::uint8_t* alpha = header.AlphaScanline(y);
    const std::uint8_t* from = source.AlphaScanline(y);
    if (!alpha) return;
    for (std::uint32_t x = 0; x < header.Width(); ++x) alpha[x] = Scale(from ? from[x] : 255);
  }
}

}  // namespace kestrel
