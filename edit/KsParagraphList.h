#pragma once
// The ordered, owning list of paragraphs. Besides the list operations it keeps, for every
// paragraph, where its first visual line and its first character stand in the whole text, and
// finds the paragraph that holds a given line or character. Paragraphs sit in blocks of a few
// hundred with a Fenwick tree over the blocks, so that all of this costs O(log n + block) instead
// of a walk over the whole text: a million-line text edits as fast as a small one.

#include <cstdint>
#include <memory>
#include <vector>

#include "edit/KsParagraph.h"

namespace kestrel {

struct TKsParagraphBlock {
  std::vector<std::unique_ptr<TKsParagraph>> Items;
  std::vector<std::int32_t> Lines;    // visual lines of each paragraph
  std::vector<std::int64_t> Lengths;  // characters of each paragraph, its break included
  std::int64_t LineSum = 0;
  std::int64_t CharSum = 0;
  int Index = 0;  // position in the block list
};

class TKsParagraphList {
 public:
  // Every paragraph counts its break as two characters (CR LF), the last one too.
  static constexpr int BreakLength = 2;

  TKsParagraphList();
  ~TKsParagraphList();
  TKsParagraphList(const TKsParagraphList&) = delete;
  TKsParagraphList& operator=(const TKsParagraphList&) = delete;

  int Count() const { return count_; }
  // Reading item 0 of an empty list first appends an empty paragraph.
  TKsParagraph* Items(int index);
  // Null when Index is out of range.
  TKsParagraph* Get(int index) const;
  int Add(std::unique_ptr<TKsParagraph> paragraph);
  void Insert(int index, std::unique_ptr<TKsParagraph> paragraph);
  // Appends many paragraphs at once (a whole text being loaded).
  void AddMany(std::vector<std::unique_ptr<TKsParagraph>> paragraphs);
  void Delete(int index);
  void Exchange(int a, int b);
  void Clear();

  // Visual lines of all paragraphs.
  int LineCount() const { return static_cast<int>(Total().Lines); }
  // The index (Y) of the first visual line of paragraph Index; Count gives LineCount.
  int FirstLine(int index) const;
  // Characters before paragraph Index, counting two for each break.
  std::int64_t FirstChar(int index) const;
  // Characters of the whole text with a break after every paragraph.
  std::int64_t CharCount() const { return Total().Chars; }
  // The paragraph whose lines hold Y and the line inside it; false when none does.
  bool FindLine(int y, int& paragraph, int& lineInParagraph) const;
  // The paragraph whose characters (its break included) hold C; false past the end.
  bool FindChar(std::int64_t c, int& paragraph, std::int64_t& offset) const;

  // Called by a paragraph whenever its text or its lines change.
  void ParagraphChanged(const TKsParagraph* paragraph);
  // While many paragraphs change at once (wrapping everything), the sums are brought up to date
  // once at the end instead of after each paragraph.
  void BeginBulk() { ++bulk_; }
  void EndBulk();

 private:
  struct Sums {
    std::int64_t Count = 0, Lines = 0, Chars = 0;
  };
  static std::int64_t CountOf(const Sums& s) { return s.Count; }
  static std::int64_t LinesOf(const Sums& s) { return s.Lines; }
  static std::int64_t CharsOf(const Sums& s) { return s.Chars; }
  // Field's sum over the paragraphs before Index; Values is the block's array of that field.
  template <typename Field, typename Values>
  std::int64_t SumBefore(int index, Field field, Values values) const;
  // The paragraph whose share of Field holds Target, and where in that share Target falls.
  template <typename Field, typename Values>
  bool FindIn(std::int64_t target, Field field, Values values, int& paragraph, std::int64_t& rest) const;
  Sums Total() const;
  Sums Prefix(int blocks) const;  // sums over the first Blocks blocks
  void AddToTree(int block, const Sums& delta);
  void RebuildTree();
  // Block and position inside it of paragraph Index (Index may equal Count for appending).
  std::pair<int, int> Locate(int index) const;
  // Largest block count whose prefix Field sum is at most Target.
  template <typename Field>
  int SearchTree(std::int64_t target, Field field) const;
  void Adopt(TKsParagraphBlock& block, int at, std::unique_ptr<TKsParagraph> paragraph);
  void SplitBlock(int block);

  std::vector<std::unique_ptr<TKsParagraphBlock>> blocks_;
  std::vector<Sums> tree_;  // Fenwick tree over the blocks, 1-based
  int count_ = 0;
  int bulk_ = 0;
};

}  // namespace kestrel
