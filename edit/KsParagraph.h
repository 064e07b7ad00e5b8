#pragma once
// One paragraph (logical line) of the edit control's text, held as its text plus the offsets at
// which its visual lines begin. Its items are the visual lines; its text is their concatenation
// with nothing between them, so wrapping never changes the text. The list keeps its paragraphs
// compactly (TKsParagraphBlock); this object form is what callers build paragraphs with and what
// TKsParagraphList::Get hands out.

#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/Strings.h"

namespace kestrel {

class TKsParagraphList;
class TKsParagraphBlock;

class TKsParagraph : public TStrings {
  KESTREL_CLASS(TKsParagraph)
  TKsParagraph() = default;
  // A paragraph of one line holding Text.
  explicit TKsParagraph(String text);
  ~TKsParagraph() override = default;

  // The string-list face: the visual lines. Reading or writing item 0 of a paragraph without
  // lines first adds one empty line.
  void Insert(int index, const String& s) override;
  void Delete(int index) override;
  void Clear() override;

  // Read-only views; an index out of range gives an empty line.
  std::u16string_view Line(int index) const;
  int LineStart(int index) const;
  int LineLength(int index) const;
  // The line that holds paragraph offset Offs; an offset at the boundary between two lines
  // belongs to the end of the earlier one.
  int LineOfOffset(int offs) const;

  // The paragraph's text without a copy.
  const String& ParaText() const { return text_; }
  int Length() const { return static_cast<int>(text_.size()); }
  // Replaces the whole text by one line.
  void SetParaText(String text);
  // Replaces the text and its line starts at once (the result of wrapping).
  void SetWrapped(String text, std::vector<std::int32_t> starts);

 protected:
  String Get(int index) const override;
  int GetCount() const override { return hasLines_ ? static_cast<int>(starts_.size()) + 1 : 0; }
  void Put(int index, const String& s) override;
  String GetTextStr() const override { return text_; }

 private:
  friend class TKsParagraphList;
  friend class TKsParagraphBlock;
  bool ValidLine(int index) const { return index >= 0 && index < GetCount(); }
  void EnsureLine() const;
  void Changed() const;

  String text_;
  std::vector<std::int32_t> starts_;  // where lines 1 … Count-1 begin
  mutable bool hasLines_ = false;
  // The list that holds the paragraph keeps line and length sums; it is told of every change.
  TKsParagraphList* owner_ = nullptr;
  TKsParagraphBlock* block_ = nullptr;
};

}  // namespace kestrel
