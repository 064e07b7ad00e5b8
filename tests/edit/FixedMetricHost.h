#pragma once
// A host for the text model with a fixed-metric font: every UTF-16 unit is CharWidth pixels wide,
// so wrap widths and fit counts are exact numbers.

#include <string_view>

#include "edit/KsEditHost.h"

namespace kestrel::testing {

class FixedMetricHost : public IKsEditHost {
 public:
  bool multiline = true;
  bool wordWrap = true;
  bool rightAligned = false;
  int tabSpaces = 4;
  char16_t passwordChar = 0;
  int leftMargin = 1;
  int rightMargin = 1;
  platform::RECT editRect{0, 0, 200, 100};
  bool hasWindow = true;
  int charWidth = 10;
  bool extendedFit = true;  // false: the store falls back to measuring prefixes
  int scrollBarUpdates = 0;
  int textResets = 0;

  // A wrap width of Chars characters: the rectangle leaves exactly that room inside the margins.
  void SetRoomInChars(int chars) { editRect.right = chars * charWidth + leftMargin + rightMargin; }

  bool Multiline() const override { return multiline; }
  bool WordWrap() const override { return wordWrap; }
  bool RightAlignedText() const override { return rightAligned; }
  int TabSpaces() const override { return tabSpaces; }
  char16_t PasswordChar() const override { return passwordChar; }
  int LeftMargin() const override { return leftMargin; }
  int RightMargin() const override { return rightMargin; }
  platform::RECT EditRect() const override { return editRect; }
  bool HasWindow() const override { return hasWindow; }
  platform::SIZE TextExtent(std::u16string_view s) const override {
    return {static_cast<platform::LONG>(s.size()) * charWidth, 16};
  }
  int TextFit(std::u16string_view s, int width) const override {
    if (!extendedFit) return IKsEditHost::TextFit(s, width);
    const int fit = width < 0 ? 0 : width / charWidth;
    return fit < static_cast<int>(s.size()) ? fit : static_cast<int>(s.size());
  }
  void UpdateScrollBars() override { ++scrollBarUpdates; }
  void TextReset() override { ++textResets; }
};

}  // namespace kestrel::testing
