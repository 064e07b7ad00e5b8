#pragma once
// The ordered, owning list of paragraphs. Besides the list operations it keeps, for every
// paragraph, where its first visual line and its first character stand in the whole text, and
// finds the paragraph that holds a given line or character. Paragraphs sit in blocks of one or two
// dozen, each block holding its paragraphs' texts and line starts in shared buffers (see
// TKsParagraphBlock), with a Fenwick tree over the blocks, so that all of this costs
// O(log n + block) instead of a walk over the whole text, and a paragraph costs little more than
// its text: a million-line text edits about as fast as a small one.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "edit/KsParagraph.h"

namespace kestrel {

class TKsParagraphBlock;
struct TKsParagraphSlot;

class TKsParagraphList {
 public:
  // Every paragraph counts its break as two characters (CR LF), the last one too.
  static constexpr int BreakLength = 2;

  TKsParagraphList();
  ~TKsParagraphList();
  TKsParagraphList(const TKsParagraphList&) = delete;
  TKsParagraphList& operator=(const TKsParagraphList&) = delete;

  int Count() const { return count_; }
  // The paragraph as an object with the string-list face; changes made through it reach the
  // list. Such a paragraph keeps its object (and its larger footprint) until it is deleted or the
  // list is cleared, so the store itself works through the views below instead.
  // Reading item 0 of an empty list first appends an empty paragraph.
  TKsParagraph* Items(int index);
  // Null when Index is out of range.
  TKsParagraph* Get(int index) const;
  // Takes over the paragraph's text and lines; the object itself is kept only when it has no
  // lines at all (a paragraph not yet given its first line).
  int Add(std::unique_ptr<TKsParagraph> paragraph);
  void Insert(int index, std::unique_ptr<TKsParagraph> paragraph);
  // Appends many paragraphs at once (a whole text being loaded).
  void AddMany(std::vector<std::unique_ptr<TKsParagraph>> paragraphs);
  // The same for paragraphs of one line each given as their texts, or handed out one after
  // another by Next until it answers false.
  void AddTexts(const std::vector<std::u16string_view>& texts);
  void AddTexts(const std::function<bool(std::u16string_view&)>& next);
  void Delete(int index);
  void Exchange(int a, int b);
  void Clear();

  // --- One paragraph, by index, without an object. Views stay valid until the next change of
  // the list; an index out of range reads as an empty paragraph without lines.
  std::u16string_view Text(int index) const;
  int Length(int index) const;
  int LinesOf(int index) const;
  // Where line Line of paragraph Index begins (0 before the first, the length past the last).
  int LineStart(int index, int line) const;
  std::u16string_view Line(int index, int line) const;
  // The line of paragraph Index holding offset Offs; a boundary belongs to the earlier line.
  int LineOfOffset(int index, int offs) const;
  // Inserts a paragraph of one line holding Text before paragraph Index.
  void InsertText(int index, std::u16string_view text);
  // Replaces the text of paragraph Index by one line.
  void SetText(int index, std::u16string_view text);
  // Keeps the text and sets where lines 1, 2, … begin (the result of wrapping).
  void SetLineStarts(int index, const std::vector<std::int32_t>& starts);

  // Visual lines of all paragraphs.
  int LineCount() const { return static_cast<int>(total_.Lines); }
  // The index (Y) of the first visual line of paragraph Index; Count gives LineCount.
  int FirstLine(int index) const;
  // Characters before paragraph Index, counting two for each break.
  std::int64_t FirstChar(int index) const;
  // Characters of the whole text with a break after every paragraph.
  std::int64_t CharCount() const { return total_.Chars; }
  // The paragraph whose lines hold Y and the line inside it; false when none does.
  bool FindLine(int y, int& paragraph, int& lineInParagraph) const;
  // The paragraph whose characters (its break included) hold C; false past the end.
  bool FindChar(std::int64_t c, int& paragraph, std::int64_t& offset) const;

  // Called by a paragraph object whenever its text or its lines change.
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
  static std::int64_t LinesSum(const Sums& s) { return s.Lines; }
  static std::int64_t CharsSum(const Sums& s) { return s.Chars; }
  static void AddSums(Sums& to, const Sums& s) {
    to.Count += s.Count;
    to.Lines += s.Lines;
    to.Chars += s.Chars;
  }
  static Sums SumsOf(const TKsParagraphBlock& block);
  void AddToTree(int block, const Sums& delta);
  void RebuildTree();
  // Block and position inside it of paragraph Index (Index may equal Count for appending).
  std::pair<int, int> Locate(int index) const;
  // The block holding the first paragraph whose lines or characters end after Target, found
  // in the remembered block when it holds Target; Before gets the sums before that block.
  template <typename Field>
  int FindBlock(std::int64_t target, Field field, Sums& before) const;
  void Remember(int block, const Sums& before) const;
  void ForgetLocation() { cachedBlock_ = -1; }
  // Largest block count whose prefix Field sum is at most Target; Before gets that prefix.
  template <typename Field>
  int SearchTree(std::int64_t target, Field field, Sums& before) const;
  void InsertSlot(int index, TKsParagraphSlot slot);
  // Brings the block's sums and the tree up to date after one of its paragraphs changed.
  void Refresh(TKsParagraphBlock& block);
  TKsParagraphBlock& NewBlockAtEnd();
  void SplitBlock(int block);

  std::vector<std::unique_ptr<TKsParagraphBlock>> blocks_;
  std::vector<Sums> tree_;  // Fenwick tree over the blocks, 1-based
  Sums total_;              // over all blocks, as the tree has them
  // The block found last and the sums of the blocks before it (its first paragraph's index,
  // line and character): an edit asks for the same paragraph, its lines and its position many
  // times in a row, and a descent of the tree over a large text touches lines that are no
  // longer in the cache. Kept up to date as earlier blocks change; forgotten when blocks come
  // or go.
  mutable int cachedBlock_ = -1;
  mutable Sums cachedBefore_;
  int count_ = 0;
  int bulk_ = 0;
};

}  // namespace kestrel
