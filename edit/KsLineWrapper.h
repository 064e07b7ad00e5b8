#pragma once
// Splits one paragraph into visual lines for the current wrap width. Wrapping never adds or
// removes characters: the result is the list of offsets at which lines 1, 2, … begin.

#include <cstdint>
#include <string_view>
#include <vector>

#include "edit/KsTextMeasure.h"

namespace kestrel {

class TKsLineWrapper {
 public:
  explicit TKsLineWrapper(const IKsEditHost& host) : host_(host), measure_(host) {}

  // Start offsets of the continuation lines of S (empty: S is one line). Always terminates: each
  // line but the last takes at least one character, and no line is ever cut empty. Right-aligned
  // text is cut from its end: the last line holds the last characters that fit, the lines before
  // it what comes before, and the first line what is left. The lines stay in text order either
  // way, so the paragraph's text is always their concatenation.
  std::vector<std::int32_t> Wrap(std::u16string_view s) const;

  // Length of the head that stays on the line when S is cut at most Len characters in, or 0 when
  // nothing can be cut off. Blanks at the cut stay on the head; a pair is never split.
  static int CutString(std::u16string_view s, int len);
  // The same from the other end, for right-aligned text: where the line that keeps the last Len
  // characters at most begins (0 when nothing can be cut off). It begins after the last CR when
  // no more than Len characters follow that, else after the first blank among the last Len + 1
  // characters, else at length - Len; a blank at the cut stays on the earlier line, a pair is
  // never split.
  static int CutStringFromEnd(std::u16string_view s, int len);

  // Around wrapping many paragraphs at once, with the font and settings unchanged meanwhile:
  // what depends on the font alone is asked for once.
  void BeginBulk() { ++bulk_; }
  void EndBulk();

 private:
  // True when S needs no cut: all of it fits into Limit - 3 pixels.
  bool FitsWhole(std::u16string_view s, int limit) const;
  std::vector<std::int32_t> WrapFromEnd(std::u16string_view s, int limit, int room) const;
  // The same cuts as measuring every line, from the extents of the whole paragraph (Extents_).
  std::vector<std::int32_t> WrapByRunExtents(std::u16string_view s, int limit, int room) const;
  // Units of S from Offset on that fit Width by those extents, as FitPrefix counts them.
  int FitFrom(std::u16string_view s, size_t offset, int width) const;
  // The same cuts when every unit of S has the advance Advance (> 0): no measuring at all.
  static std::vector<std::int32_t> WrapByUniformAdvance(std::u16string_view s, int advance, int limit, int room);

  const IKsEditHost& host_;
  TKsTextMeasure measure_;
  // The host's printable ASCII advance, or 0; kept while a bulk pass runs.
  int AsciiAdvance() const;

  mutable std::vector<int> extents_;  // reused from paragraph to paragraph
  int bulk_ = 0;
  mutable int bulkAsciiAdvance_ = -1;  // -1: not asked for yet in this pass
};

}  // namespace kestrel
