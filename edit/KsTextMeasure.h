#pragma once
// The measuring rules that wrapping, caret placement and painting share: tab expansion, password
// masking and the count of characters that fit a width. Widths come from the host's font; the
// rules themselves are fixed here so that every user counts alike.

#include <string_view>
#include <vector>

#include "edit/KsEditHost.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class TKsTextMeasure {
 public:
  explicit TKsTextMeasure(const IKsEditHost& host) : host_(host) {}

  // Extent of S as it stands; (0, 0) while the control has no window.
  platform::SIZE TextSize(std::u16string_view s) const;
  // Every tab becomes TabSpaces spaces wherever it stands (no tab stops).
  String ExpandTabs(std::u16string_view s) const;
  // Every character but CR and LF becomes the password character, when one is set.
  String MaskText(std::u16string_view s) const;

  // Characters of S after its first StartPos that fit into AWidth once tabs are expanded. A tab
  // cut by the limit does not fit, and a surrogate pair is never counted by halves.
  int CharsFitRight(int aWidth, std::u16string_view s, int startPos) const;
  // The same, counted backwards from StartPos over the first StartPos characters.
  int CharsFitLeft(int aWidth, std::u16string_view s, int startPos) const;
  // The control's own fit operations: the line is masked first.
  int FitRight(int aWidth, std::u16string_view s, int startPos) const;
  int FitLeft(int aWidth, std::u16string_view s, int startPos) const;

  // Characters of R that fit AWidth, masked first when Mask is set. Long texts are measured in
  // growing chunks, so the cost follows the answer, not the length of R.
  int FitPrefix(std::u16string_view r, int aWidth, bool mask) const;
  // The extent after each unit of S as the control shows it, when one run query answers for
  // every piece of S: the host's extents add up, S is shown as it stands (no tab, no password
  // character) and the control has a window. False otherwise: measure the pieces then.
  bool ShownRunExtents(std::u16string_view s, std::vector<int>& extents) const;
  // The advance every printable ASCII character shows with when the host has one for all of
  // them and text is shown as it stands (no password character); 0 otherwise.
  int PrintableAsciiAdvance() const;
  // Whether S holds printable ASCII characters only (no tab, no break).
  static bool IsPrintableAscii(std::u16string_view s);

 private:
  int TabSpaces() const;
  bool ShownAsItStands(std::u16string_view s) const;
  int FitLeftImpl(int aWidth, std::u16string_view s, int startPos, bool mask) const;

  const IKsEditHost& host_;
};

// Unit index I moved back to the start of the surrogate pair it would split.
int SnapToCharStart(std::u16string_view s, int i);

}  // namespace kestrel
