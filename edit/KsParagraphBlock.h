#pragma once
// A run of consecutive paragraphs stored compactly: their texts one after another in one buffer,
// the starts of their continuation lines in another, and two running ends that say where each
// paragraph's share of both begins. A paragraph costs a few bytes beyond its text this way.
// A paragraph somebody asked for as an object (TKsParagraphList::Get) is held as that object
// instead, with empty shares in the buffers, until it is deleted or the list is cleared.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "edit/KsParagraph.h"

namespace kestrel {

class TKsParagraphList;

// One paragraph on its way into or out of a block.
struct TKsParagraphSlot {
  String Text;
  std::vector<std::int32_t> Starts;
  std::unique_ptr<TKsParagraph> Object;  // set instead of Text/Starts for an object
};

class TKsParagraphBlock {
 public:
  int Count() const { return static_cast<int>(ends_.size()); }
  std::u16string_view Text(int at) const;
  int Length(int at) const;
  // Visual lines of paragraph At (0 only for an object that has none).
  int Lines(int at) const;
  int LineStart(int at, int line) const;
  int LineOfOffset(int at, int offs) const;
  TKsParagraph* Object(int at) const;
  // Visual lines and characters (each paragraph with its break) of the paragraphs before At.
  std::int64_t LinesBefore(int at) const;
  std::int64_t CharsBefore(int at, int breakLength) const;
  // The paragraph whose lines or characters hold Rest (counted from the block's start), with
  // Rest made relative to it; Count() when none does.
  int FindLine(std::int64_t& rest) const;
  int FindChar(std::int64_t& rest, int breakLength) const;

  void Insert(int at, TKsParagraphSlot slot);
  TKsParagraphSlot Take(int at);
  // Replaces the text and line starts of paragraph At.
  void Assign(int at, std::u16string_view text, const std::vector<std::int32_t>& starts);
  void AssignStarts(int at, const std::vector<std::int32_t>& starts);
  // Makes paragraph At an object owned here and answers it.
  TKsParagraph* Detach(int at, TKsParagraphList* owner);
  // Moves the paragraphs from From on to the start of Into (an empty block).
  void MoveTail(int from, TKsParagraphBlock& into);
  // Appends a paragraph of one line without a slot (loading).
  void Append(std::u16string_view text);
  void Reserve(size_t paragraphs, size_t characters);
  // Gives back what the buffers hold beyond a little room for typing.
  void ShrinkToFit();

  // Sums over the block, brought up to date by Recount.
  std::int64_t CountSum() const { return countSum_; }
  std::int64_t LineSum() const { return lineSum_; }
  std::int64_t CharSum() const { return charSum_; }
  void Recount(int breakLength);
  // Asks the processor to bring the block's buffers towards the caches at once: a block found
  // in a large text is rarely cached, and its buffers would otherwise arrive one after another.
  void Prefetch() const;
  // Position in the list of blocks.
  int Index() const { return index_; }
  void SetIndex(int value) { index_ = value; }

 private:
  // Where each paragraph's text and line starts end in text_ and starts_: one record, so that
  // both are found in the same place.
  struct Ends {
    std::uint32_t Text;
    std::uint32_t Starts;
  };
  std::uint32_t TextEnd(int at) const { return ends_[static_cast<size_t>(at)].Text; }
  std::uint32_t StartsEnd(int at) const { return ends_[static_cast<size_t>(at)].Starts; }
  std::uint32_t TextBegin(int at) const { return at == 0 ? 0 : TextEnd(at - 1); }
  std::uint32_t StartsBegin(int at) const { return at == 0 ? 0 : StartsEnd(at - 1); }
  void Shift(int from, std::int64_t textDelta, std::int64_t startsDelta);
  void ReplaceStarts(int at, const std::vector<std::int32_t>& starts);

  std::vector<char16_t> text_;
  std::vector<Ends> ends_;
  std::vector<std::int32_t> starts_;                    // continuation line starts, relative to the paragraph
  std::vector<std::unique_ptr<TKsParagraph>> objects_;  // empty, or one entry per paragraph
  std::int64_t countSum_ = 0;
  std::int64_t lineSum_ = 0;
  std::int64_t charSum_ = 0;
  int index_ = 0;
};

}  // namespace kestrel
