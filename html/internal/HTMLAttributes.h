#pragma once
// The attribute list of a tag: name=value entries (names lower-cased) and "p<n>=" entries for
// bare tokens, read up to the first unquoted '>'.

#include <string_view>
#include <vector>

#include "html/HTMLItem.h"

namespace kestrel {

class THTMLAttributes {
 public:
  // Reads the list starting at `pos` (just after the tag name's terminating space) and leaves
  // `pos` on the closing '>' (or at the end of the text when there is none).
  static THTMLAttributes Read(std::u16string_view text, size_t& pos);

  bool Empty() const { return entries_.empty(); }
  void Add(String name, String value) { entries_.emplace_back(std::move(name), std::move(value)); }
  // The raw value of the first entry of that name (case-insensitive); empty when absent.
  String Raw(std::u16string_view name) const;
  // The value without its opening quote, and without the closing one when it matches.
  String Value(std::u16string_view name) const;
  const std::vector<TVnHTMLAttribute>& Entries() const { return entries_; }

 private:
  void AddToken(const String& token, int& bareCount);

  std::vector<TVnHTMLAttribute> entries_;
};

// A value with its quotes taken off as Value() does.
String UnquoteHTMLValue(std::u16string_view value);

}  // namespace kestrel
