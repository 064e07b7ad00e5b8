#include "platform/gdiplus/TGPStringFormat.h"

namespace kestrel::platform {

namespace {

constexpr INT kKnownFlags = StringFormatFlagsDirectionRightToLeft | StringFormatFlagsDirectionVertical |
                            StringFormatFlagsNoFitBlackBox | StringFormatFlagsDisplayFormatControl |
                            StringFormatFlagsNoFontFallback | StringFormatFlagsMeasureTrailingSpaces |
                            StringFormatFlagsNoWrap | StringFormatFlagsLineLimit | StringFormatFlagsNoClip;

bool ValidAlignment(StringAlignment a) { return a >= StringAlignmentNear && a <= StringAlignmentFar; }

}  // namespace

TGPStringFormat::TGPStringFormat(INT formatFlags, LANGID) {
  if (SetFormatFlags(formatFlags) != Ok) flags_ = 0;
}

std::unique_ptr<TGPStringFormat> TGPStringFormat::GenericDefault() { return std::make_unique<TGPStringFormat>(); }

std::unique_ptr<TGPStringFormat> TGPStringFormat::GenericTypographic() {
  auto format = std::make_unique<TGPStringFormat>(StringFormatFlagsNoClip | StringFormatFlagsLineLimit |
                                                  StringFormatFlagsNoFitBlackBox);
  format->trimming_ = StringTrimmingNone;
  format->padded_ = false;
  return format;
}

TStatus TGPStringFormat::SetFormatFlags(INT flags) {
  if (flags & ~kKnownFlags) return Remember(InvalidParameter);
  flags_ = flags;
  return Ok;
}

TStatus TGPStringFormat::SetAlignment(StringAlignment align) {
  if (!ValidAlignment(align)) return Remember(InvalidParameter);
  alignment_ = align;
  return Ok;
}

TStatus TGPStringFormat::SetLineAlignment(StringAlignment align) {
  if (!ValidAlignment(align)) return Remember(InvalidParameter);
  lineAlignment_ = align;
  return Ok;
}

TStatus TGPStringFormat::SetTrimming(StringTrimming trimming) {
  if (trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath) return Remember(InvalidParameter);
  trimming_ = trimming;
  return Ok;
}

TStatus TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix prefix) {
  if (prefix < HotkeyPrefixNone || prefix > HotkeyPrefixHide) return Remember(InvalidParameter);
  hotkeyPrefix_ = prefix;
  return Ok;
}

}  // namespace kestrel::platform
