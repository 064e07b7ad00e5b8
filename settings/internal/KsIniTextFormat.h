#pragma once
// The text format: a warning comment, the root's values, then every key in depth-first order
// under a "[path]" section line, one "name=value" line per value (list elements as
// "name[i]=element"). Reading never fails: lines it cannot place become values named
// "#" + line number.

#include <functional>
#include <string_view>

#include "settings/KsIniEntry.h"

namespace kestrel {

struct TKsIniTextOptions {
  char16_t Delimiter = u'\\';
  char16_t DivChar = u'=';
  String Comment = u";";
  String WarningMessage;
  bool TrimSpaces = false;
  bool Simple = false;
};

class TKsIniTextFormat {
 public:
  // Opens a section by its absolute path (delimiter first), with creation; nullptr when it
  // cannot be opened.
  using TOpenSection = std::function<TKsIniEntry*(const String& path)>;

  // Receives the text piece by piece, each piece whole lines; false stops the writing.
  using TSink = std::function<bool(std::u16string_view piece)>;
  // Hands out the text piece by piece, each piece whole lines (a CR LF pair is never split);
  // false when there is no more. The piece stays valid until the next call.
  using TSource = std::function<bool(std::u16string_view& piece)>;

  static String Write(const TKsIniEntry& root, const TKsIniTextOptions& options);
  // Hands the text on in pieces of bounded size; false when the sink refused a piece.
  static bool Write(const TKsIniEntry& root, const TKsIniTextOptions& options, const TSink& sink);
  static void Read(std::u16string_view text, TKsIniEntry& root, const TKsIniTextOptions& options,
                   const TOpenSection& openSection);
  static void Read(const TSource& source, TKsIniEntry& root, const TKsIniTextOptions& options,
                   const TOpenSection& openSection);
};

}  // namespace kestrel
