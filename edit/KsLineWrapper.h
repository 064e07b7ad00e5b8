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
  // line but the last takes at least one character, and no line is ever cut empty.
  std::vector<std::int32_t> Wrap(std::u16string_view s) const;

  // Length of the head that stays on the line when S is cut at most Len characters in, or 0 when
  // nothing can be cut off. Blanks at the cut stay on the head; a pair is never split.
  static int CutString(std::u16string_view s, int len);

 private:
  const IKsEditHost& host_;
  TKsTextMeasure measure_;
};

}  // namespace kestrel
