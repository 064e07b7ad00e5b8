// libFuzzer target: loading arbitrary bytes as a PNG file must either succeed or raise one of the
// codec's exceptions, and whatever it leaves behind must be safe to measure and read.

#include <cstddef>
#include <cstdint>

#include "imaging/PngObject.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Keep single inputs within the fuzzer's memory limit; the cap's own test lives in the suite.
  static const bool limited = [] {
    TVnPNGChunkIHDR::SetMaxImageBytes(std::size_t{64} << 20);
    return true;
  }();
  (void)limited;

  TVnPNGObject png;
  try {
    png.LoadFromMemory(data, size);
  } catch (const EVnPNGError&) {
  }
  unsigned sum = png.Width() + png.Height() + png.TransparencyMode() + png.TransparentColor();
  if (!png.Empty()) {
    TVnPNGChunkIHDR& header = *png.Header();
    // Small images also go through the drawing side: DIB section, colour table, pixel access.
    if (std::uint64_t{header.Width()} * header.Height() <= 4096) {
      header.ImageDC();
      sum += png.GetPixelColor(static_cast<int>(header.Width()) - 1, 0);
      png.SetPixelColor(0, static_cast<int>(header.Height()) - 1, 0x123456);
    }
    for (std::uint32_t y = 0; y < header.Height(); ++y) {
      const std::uint8_t* row = header.Scanline(y);
      sum += row[0] + row[header.BytesPerRow() - 1];
      if (const std::uint8_t* alpha = header.AlphaScanline(y)) sum += alpha[header.Width() - 1];
    }
  }
  for (int i = 0; i < png.Chunks().Count(); ++i) sum += png.Chunks().Item(i)->DataSize();
  return sum == 0xFFFFFFFFu ? 1 : 0;
}
