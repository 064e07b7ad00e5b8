#pragma once
// A logical palette object.

#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/internal/GdiObject.h"

namespace kestrel::platform {

class Palette : public GdiObject {
 public:
  static constexpr GdiObjectKind kKind = GdiObjectKind::Palette;
  explicit Palette(std::vector<PALETTEENTRY> entries) : GdiObject(kKind), entries_(std::move(entries)) {}
  std::vector<PALETTEENTRY>& Entries() { return entries_; }
  const std::vector<PALETTEENTRY>& Entries() const { return entries_; }
  // GetObject on a palette gives its entry count (a WORD).
  int GetObjectData(int size, void* buffer) const override;

 private:
  std::vector<PALETTEENTRY> entries_;
};

// The fixed 256-entry halftone table: a 6×6×6 colour cube followed by 40 greys.
std::vector<PALETTEENTRY> HalftoneEntries();

}  // namespace kestrel::platform
