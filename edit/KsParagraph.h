#pragma once
// One paragraph (logical line) of the edit control's text, held as its text plus the offsets at
// which its visual lines begin. Its items are the visual lines; its text is their concatenation
// with nothing between them, so wrapping never changes the text.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/Unicode.h"

namespace kestrel {

class TKsParagraphList;
struct TKsParagraphBlock;

class TKsParagraph {
 public:
  TKsParagraph() = default;
  // A paragraph of one line holding Text.
  explicit TKsParagraph(String text);
  TKsParagraph(const TKsParagraph&) = delete;
  TKsParagraph& operator=(const TKsParagraph&) = delete;
  virtual ~TKsParagraph() = default;

  // The string-list face: the visual lines.
  int GetCount() const { return FHasLines ? static_cast<int>(FStarts.size()) + 1 : 0; }
  int Count() const { return GetCount(); }
  // Reading or writing item 0 of a paragraph without lines first adds one empty line.
  String Get(int index);
  void Put(int index, std::u16string_view s);
  void Insert(int index, std::u16string_view s);
  void Add(std::u16string_view s) { Insert(GetCount(), s); }
  void Delete(int index);
  void Clear();

  // Read-only views; an index out of range gives an empty line.
  std::u16string_view Line(int index) const;
  int LineStart(int index) const;
  int LineLength(int index) const;
  // The line that holds paragraph offset Offs; an offset at the boundary between two lines
  // belongs to the end of the earlier one.
  int LineOfOffset(int offs) const;

  const String& Text() const { return FText; }
  int Length() const { return static_cast<int>(FText.size()); }
  // Replaces the whole text by one line.
  void SetText(String text);
  // Replaces the text and its line starts at once (the result of wrapping).
  void SetWrapped(String text, std::vector<std::int32_t> starts);

 private:
  friend class TKsParagraphList;
  bool ValidLine(int index) const { return index >= 0 && index < GetCount(); }
  void EnsureLine();
  void Changed();

  String FText;
  std::vector<std::int32_t> FStarts;  // where lines 1 … Count-1 begin
  bool FHasLines = false;
  // The list that holds the paragraph keeps line and length sums; it is told of every change.
  TKsParagraphList* FOwner = nullptr;
  TKsParagraphBlock* FBlock = nullptr;
};

}  // namespace kestrel
