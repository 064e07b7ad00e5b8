#pragma once
// The edit control's text painter over the platform's device contexts: extents from the text
// extent calls, output through ExtTextOutW.

#include "edit/KsTextPainter.h"

namespace kestrel {

class TKsWinTextPainter : public TKsTextPainter {
 public:
  using TKsTextPainter::TKsTextPainter;

  // In the painter's colours; ETO_OPAQUE fills Clip with the background colour.
  void TextOut(TCanvas* canvas, int x, int y, unsigned options, const platform::RECT* clip,
               std::u16string_view text) override;
  // One extended extent query for the whole string; ever longer prefixes only when it fails.
  int TextExtentEx(std::u16string_view s, int maxExtent, std::vector<int>* extents) const override;
  platform::SIZE TextSize(std::u16string_view s) const override;
  // The device's extents are sums of per-character advances: one query answers every piece.
  bool RunExtents(std::u16string_view s, std::vector<int>& extents) const override;
  int PrintableAsciiAdvance() const override;

 private:
  int FitByPrefixes(std::u16string_view s, int maxExtent, std::vector<int>* extents) const;
};

}  // namespace kestrel
