#pragma once
// The edit control's own dead-key table: what a dead character followed by a base character
// types. The first matching entry wins.

#include <span>
#include <vector>

#include "edit/KsDeadChar.h"

namespace kestrel {

class TKsDeadCharList {
 public:
  TKsDeadCharList();

  // The combined character for BaseChar typed after the dead character AuxChar; 0 when the
  // table has no such combination.
  char16_t GetDeadChar(char16_t baseChar, char16_t auxChar) const;

  int Count() const { return static_cast<int>(items_.size()); }
  const TKsDeadChar& Item(int index) const { return items_.at(static_cast<size_t>(index)); }

  // The built-in table the list starts with, in order.
  static std::span<const TKsDeadChar> DefaultTable();

 private:
  std::vector<TKsDeadChar> items_;
};

}  // namespace kestrel
