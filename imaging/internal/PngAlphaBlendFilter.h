#pragma once
// Makes the source image AlphaPercent per cent as opaque as it is: the result gets an alpha
// channel scaled from the source's alpha (or from full opacity). Palette images scale their
// tRNS values instead, as they hold no alpha plane.

#include <cstdint>

#include "imaging/internal/PngImageFilter.h"

namespace kestrel {

class TVnPNGAlphaBlendFilter : public TVnPNGImageFilter {
 public:
  std::uint8_t AlphaPercent() const { return alphaPercent_; }
  // Values above 100 are ignored.
  void SetAlphaPercent(std::uint8_t value);

 protected:
  void Apply() override;

 private:
  std::uint8_t Scale(unsigned alpha) const;
  std::uint8_t alphaPercent_ = 100;
};

}  // namespace kestrel
