#pragma once
// How DrawString and MeasureString lay text out in a rectangle: horizontal alignment (Near is the
// left), line alignment (vertical), format flags, trimming and hot-key prefixes. The default
// format pads the text by a sixth of the em on the left and right, as GDI+ does; the typographic
// one does not pad, does not clip, and shows only whole lines.

#include <memory>

#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel::platform {

class TGPStringFormat : public StatusKeeper {
 public:
  explicit TGPStringFormat(INT formatFlags = 0, LANGID language = 0);
  TGPStringFormat(const TGPStringFormat& other) = default;
  TGPStringFormat& operator=(const TGPStringFormat& other) = default;

  static std::unique_ptr<TGPStringFormat> GenericDefault();
  static std::unique_ptr<TGPStringFormat> GenericTypographic();
  std::unique_ptr<TGPStringFormat> Clone() const { return std::make_unique<TGPStringFormat>(*this); }

  TStatus SetFormatFlags(INT flags);
  INT GetFormatFlags() const { return flags_; }
  TStatus SetAlignment(StringAlignment align);
  StringAlignment GetAlignment() const { return alignment_; }
  TStatus SetLineAlignment(StringAlignment align);
  StringAlignment GetLineAlignment() const { return lineAlignment_; }
  TStatus SetTrimming(StringTrimming trimming);
  StringTrimming GetTrimming() const { return trimming_; }
  TStatus SetHotkeyPrefix(HotkeyPrefix prefix);
  HotkeyPrefix GetHotkeyPrefix() const { return hotkeyPrefix_; }

  bool Has(INT flag) const { return (flags_ & flag) != 0; }
  // Whether the text is padded by a sixth of the em at each side.
  bool Padded() const { return padded_; }

 private:
  INT flags_ = 0;
  StringAlignment alignment_ = StringAlignmentNear;
  StringAlignment lineAlignment_ = StringAlignmentNear;
  StringTrimming trimming_ = StringTrimmingCharacter;
  HotkeyPrefix hotkeyPrefix_ = HotkeyPrefixNone;
  bool padded_ = true;
};

}  // namespace kestrel::platform
