#pragma once
// The edit control's side of the text store's host interface: the wrapping settings come from
// the control's properties, measuring from its text painter.

#include "edit/KsEditHost.h"

namespace kestrel {

class TCustomKsEdit;

class TKsEditHostLink : public IKsEditHost {
 public:
  explicit TKsEditHostLink(TCustomKsEdit& edit) : edit_(edit) {}

  bool Multiline() const override;
  bool WordWrap() const override;
  bool RightAlignedText() const override;
  int TabSpaces() const override;
  char16_t PasswordChar() const override;
  int LeftMargin() const override;
  int RightMargin() const override;
  platform::RECT EditRect() const override;
  bool HasWindow() const override;
  platform::SIZE TextExtent(std::u16string_view s) const override;
  int TextFit(std::u16string_view s, int width) const override;
  bool RunExtents(std::u16string_view s, std::vector<int>& extents) const override;
  int PrintableAsciiAdvance() const override;
  void UpdateScrollBars() override;
  void TextChanged() override;
  void TextReset() override;
  bool ResplitPending() const override;

 private:
  TCustomKsEdit& edit_;
};

}  // namespace kestrel
