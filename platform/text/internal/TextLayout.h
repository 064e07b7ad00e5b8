#pragma once
// DrawText's layout, apart from any device: prefix processing, line splitting, word breaking,
// tab expansion and ellipses, on a measuring function that gives integer advances.
//
// Rules (the ones DrawText documents, settled where it is silent):
// - Prefixes (unless DT_NOPREFIX): "&x" shows x underlined, "&&" shows "&", a final lone "&" is
//   dropped. Every prefixed character is underlined.
// - Lines end at CR, LF and CR LF, except with DT_SINGLELINE, where those are ordinary characters.
// - DT_WORDBREAK breaks after the last space or tab that lets the line fit; spaces at a break are
//   swallowed (they neither end the line's width nor start the next line). A word longer than the
//   width stays whole and overflows; DT_EDITCONTROL breaks it between characters instead, and
//   DT_WORD_ELLIPSIS ellipsizes it.
// - DT_EXPANDTABS moves to the next multiple of the tab width, counted from the line's start.
// - DT_END_ELLIPSIS replaces the end of an overflowing line by "..." (only the last line when
//   words are broken); DT_PATH_ELLIPSIS keeps the part from the last '/' or '\' and removes
//   characters before it; DT_WORD_ELLIPSIS ellipsizes every overflowing line.
// - A text that shows nothing (empty, or a lone prefix) has no lines: its height is 0, which is
//   why callers that need a line's height measure a space instead.

#include <functional>
#include <string_view>
#include <vector>

#include "platform/core/Unicode.h"
#include "platform/core/WinTypes.h"

namespace kestrel::platform {

struct TextLayoutLine {
  String text;                  // what is drawn: prefixes resolved, tabs shown as spaces
  std::vector<int> advances;    // per UTF-16 unit of `text`, tabs expanded
  std::vector<int> underlined;  // unit indexes of `text` marked by a prefix
  int width = 0;                // drawn width (trailing spaces at a soft break excluded)
  bool ellipsized = false;
};

struct TextLayoutResult {
  std::vector<TextLayoutLine> lines;
  int width = 0;  // widest line
  bool ellipsized = false;
};

struct TextLayoutMetrics {
  // Advance of every UTF-16 unit of a string, in pixels.
  std::function<std::vector<int>(std::u16string_view)> advances;
  int tabWidth = 8;  // pixels between tab stops (DT_EXPANDTABS)
};

// Lays out `text` for a rectangle `width` pixels wide with DrawText's `format` flags.
TextLayoutResult LayoutText(std::u16string_view text, UINT format, int width, const TextLayoutMetrics& metrics);

// Prefix processing alone: the shown text and the indexes of the prefixed characters in it.
String StripPrefixes(std::u16string_view text, std::vector<int>* underlined);

}  // namespace kestrel::platform
