#pragma once
// What the paragraph store needs from the edit control that owns it: the settings that decide how
// text is wrapped and measured, and the places where the store tells the control that something
// changed. The control implements it; tests implement it with a fixed-metric measurer.

#include <string_view>
#include <vector>

#include "platform/core/WinTypes.h"

namespace kestrel {

class IKsEditHost {
 public:
  virtual ~IKsEditHost() = default;

  virtual bool Multiline() const = 0;
  virtual bool WordWrap() const = 0;
  virtual bool RightAlignedText() const = 0;
  virtual int TabSpaces() const = 0;
  // 0 when no password character is set.
  virtual char16_t PasswordChar() const = 0;
  virtual int LeftMargin() const = 0;
  virtual int RightMargin() const = 0;
  virtual platform::RECT EditRect() const = 0;

  // Widths exist only while the control has a window; before that nothing is measured.
  virtual bool HasWindow() const = 0;
  // Extent of S drawn with the control's font, as it stands (no tab expansion, no masking).
  virtual platform::SIZE TextExtent(std::u16string_view s) const = 0;
  // How many leading UTF-16 units of S have a total extent of at most Width. The default walks
  // ever longer prefixes; a painter with an extended extent query answers directly.
  virtual int TextFit(std::u16string_view s, int width) const;
  // The extent after each UTF-16 unit of S measured as one run, as it stands, for a host whose
  // extents add up unit by unit (no kerning): every piece of S then measures as the difference of
  // two of them. False for any other host; the callers then measure each piece.
  virtual bool RunExtents(std::u16string_view s, std::vector<int>& extents) const {
    (void)s, (void)extents;
    return false;
  }
  // For such a host, the advance all printable ASCII characters (U+0020 to U+007E) share in a
  // run (a monospaced font), so that a text of them only extends (i + 1) times it after unit i.
  // 0 when they differ or the host cannot tell; the callers then measure.
  virtual int PrintableAsciiAdvance() const { return 0; }

  // Notifications. The store calls them; none may change the text.
  virtual void UpdateScrollBars() {}
  // Text changed while no update bracket is open: repaint the edit rectangle.
  virtual void TextChanged() {}
  // After the whole text was written: caret to (0, 0), view to the start, selection emptied.
  virtual void TextReset() {}
  // True while the control re-splits its text after Multiline changed; a text write then
  // rebuilds the paragraphs even when the text is unchanged.
  virtual bool ResplitPending() const { return false; }
};

}  // namespace kestrel
