#include "edit/KsParagraphList.h"

#include <algorithm>
#include <array>
#include <bit>

#include "edit/KsParagraphBlock.h"

namespace kestrel {

namespace {

// A block splits in two beyond this many paragraphs; a text being loaded fills blocks halfway
// so that typing does not split them at once. Blocks stay small because an edit moves the text
// after it inside its block.
constexpr int kMaxBlock = 32;
constexpr int kLoadFill = kMaxBlock / 2;
// About as many blocks as a processor's own caches hold (a block is a few kilobytes).
constexpr size_t kCachedBlocks = 2048;

}  // namespace

TKsParagraphList::TKsParagraphList() = default;
TKsParagraphList::~TKsParagraphList() = default;

TKsParagraphList::Sums TKsParagraphList::SumsOf(const TKsParagraphBlock& block) {
  return {block.CountSum(), block.LineSum(), block.CharSum()};
}

void TKsParagraphList::AddToTree(int block, const Sums& delta) {
  const int n = static_cast<int>(blocks_.size());
  for (int i = block + 1; i <= n; i += i & -i) {
    tree_[static_cast<size_t>(i)].Count += delta.Count;
    tree_[static_cast<size_t>(i)].Lines += delta.Lines;
    tree_[static_cast<size_t>(i)].Chars += delta.Chars;
  }
  AddSums(total_, delta);
  if (block < cachedBlock_) AddSums(cachedBefore_, delta);
}

void TKsParagraphList::RebuildTree() {
  ForgetLocation();
  const size_t n = blocks_.size();
  tree_.assign(n + 1, Sums{});
  total_ = Sums{};
  for (size_t b = 0; b < n; ++b) {
    TKsParagraphBlock& block = *blocks_[b];
    block.SetIndex(static_cast<int>(b));
    AddSums(tree_[b + 1], SumsOf(block));
    AddSums(total_, SumsOf(block));
    const size_t parent = (b + 1) + ((b + 1) & (~(b + 1) + 1));
    if (parent <= n) AddSums(tree_[parent], tree_[b + 1]);
  }
}

void TKsParagraphList::Refresh(TKsParagraphBlock& block) {
  const Sums before = SumsOf(block);
  block.Recount(BreakLength);
  const Sums delta{block.CountSum() - before.Count, block.LineSum() - before.Lines, block.CharSum() - before.Chars};
  if (delta.Count != 0 || delta.Lines != 0 || delta.Chars != 0) AddToTree(block.Index(), delta);
}

template <typename Field>
int TKsParagraphList::SearchTree(std::int64_t target, Field field, Sums& before) const {
  // The nodes the descent takes add up to the sums before the block it ends at.
  const int n = static_cast<int>(blocks_.size());
  int pos = 0;
  before = Sums{};
  for (int step = n > 0 ? static_cast<int>(std::bit_floor(static_cast<unsigned>(n))) : 0; step > 0; step >>= 1) {
    if (pos + step > n) continue;
    const Sums& node = tree_[static_cast<size_t>(pos + step)];
    if (field(before) + field(node) <= target) {
      pos += step;
      AddSums(before, node);
    }
  }
  return pos;
}

template <typename Field>
int TKsParagraphList::FindBlock(std::int64_t target, Field field, Sums& before) const {
  if (cachedBlock_ >= 0) {
    const Sums own = SumsOf(*blocks_[static_cast<size_t>(cachedBlock_)]);
    if (target >= field(cachedBefore_) && target < field(cachedBefore_) + field(own)) {
      before = cachedBefore_;
      return cachedBlock_;
    }
  }
  const int block = SearchTree(target, field, before);
  if (block < static_cast<int>(blocks_.size())) {
    Remember(block, before);
    // In a text larger than the processor's caches, a block the tree leads to is rarely there.
    if (blocks_.size() > kCachedBlocks) blocks_[static_cast<size_t>(block)]->Prefetch();
  }
  return block;
}

void TKsParagraphList::Remember(int block, const Sums& before) const {
  cachedBlock_ = block;
  cachedBefore_ = before;
}

std::pair<int, int> TKsParagraphList::Locate(int index) const {
  if (index >= count_) {
    const int last = static_cast<int>(blocks_.size()) - 1;
    return {last, last < 0 ? 0 : blocks_.back()->Count()};
  }
  if (cachedBlock_ >= 0) {
    const TKsParagraphBlock& cached = *blocks_[static_cast<size_t>(cachedBlock_)];
    const int at = index - static_cast<int>(cachedBefore_.Count);
    const int size = cached.Count();
    if (at >= 0 && at < size) return {cachedBlock_, at};
    const auto next = static_cast<size_t>(cachedBlock_) + 1;
    if (at >= size && next < blocks_.size() && at - size < blocks_[next]->Count()) {
      AddSums(cachedBefore_, SumsOf(cached));  // a walk moving on to the next block
      return {++cachedBlock_, at - size};
    }
  }
  Sums before;
  const int block = FindBlock(index, CountOf, before);
  return {block, index - static_cast<int>(before.Count)};
}

void TKsParagraphList::SplitBlock(int index) {
  TKsParagraphBlock& full = *blocks_[static_cast<size_t>(index)];
  auto half = std::make_unique<TKsParagraphBlock>();
  full.MoveTail(full.Count() / 2, *half);
  full.Recount(BreakLength);
  half->Recount(BreakLength);
  blocks_.insert(blocks_.begin() + index + 1, std::move(half));
  RebuildTree();
}

TKsParagraph* TKsParagraphList::Get(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  const auto [block, at] = Locate(index);
  // Handing out an object changes only how the paragraph is held, not what it holds.
  return blocks_[static_cast<size_t>(block)]->Detach(at, const_cast<TKsParagraphList*>(this));
}

TKsParagraph* TKsParagraphList::Items(int index) {
  if (index == 0 && count_ == 0) Add(std::make_unique<TKsParagraph>());
  return Get(index);
}

int TKsParagraphList::Add(std::unique_ptr<TKsParagraph> paragraph) {
  const int index = count_;
  Insert(index, std::move(paragraph));
  return index;
}

namespace {

TKsParagraphSlot SlotOf(std::unique_ptr<TKsParagraph> paragraph) {
  TKsParagraphSlot slot;
  if (paragraph->Count() == 0) slot.Object = std::move(paragraph);
  else slot = {String(paragraph->ParaText()), {}, nullptr};
  if (!slot.Object) {
    for (int line = 1; line < paragraph->Count(); ++line) slot.Starts.push_back(paragraph->LineStart(line));
  }
  return slot;
}

}  // namespace

void TKsParagraphList::InsertSlot(int index, TKsParagraphSlot slot) {
  if (slot.Object) slot.Object->owner_ = this;
  index = std::clamp(index, 0, count_);
  if (blocks_.empty()) {
    blocks_.push_back(std::make_unique<TKsParagraphBlock>());
    RebuildTree();
  }
  const auto [block, at] = Locate(index);
  TKsParagraphBlock& target = *blocks_[static_cast<size_t>(block)];
  target.Insert(at, std::move(slot));
  ++count_;
  Refresh(target);
  if (target.Count() > kMaxBlock) SplitBlock(block);
}

void TKsParagraphList::Insert(int index, std::unique_ptr<TKsParagraph> paragraph) {
  if (paragraph) InsertSlot(index, SlotOf(std::move(paragraph)));
}

void TKsParagraphList::InsertText(int index, std::u16string_view text) {
  InsertSlot(index, {String(text), {}, nullptr});
}

TKsParagraphBlock& TKsParagraphList::NewBlockAtEnd() {
  blocks_.push_back(std::make_unique<TKsParagraphBlock>());
  return *blocks_.back();
}

void TKsParagraphList::AddMany(std::vector<std::unique_ptr<TKsParagraph>> paragraphs) {
  for (auto& p : paragraphs) {
    if (!p) continue;
    if (blocks_.empty() || blocks_.back()->Count() >= kLoadFill) NewBlockAtEnd();
    TKsParagraphBlock& last = *blocks_.back();
    p->owner_ = this;
    last.Insert(last.Count(), SlotOf(std::move(p)));
    ++count_;
  }
  for (auto& block : blocks_) block->Recount(BreakLength);
  RebuildTree();
}

void TKsParagraphList::AddTexts(const std::vector<std::u16string_view>& texts) {
  size_t next = 0;
  AddTexts([&](std::u16string_view& text) {
    if (next == texts.size()) return false;
    text = texts[next++];
    return true;
  });
}

void TKsParagraphList::AddTexts(const std::function<bool(std::u16string_view&)>& next) {
  std::array<std::u16string_view, kLoadFill> batch;
  for (size_t taken = batch.size(); taken == batch.size();) {
    size_t characters = 0;
    for (taken = 0; taken < batch.size() && next(batch[taken]); ++taken) characters += batch[taken].size();
    if (taken == 0) break;
    TKsParagraphBlock& block = NewBlockAtEnd();
    block.Reserve(taken, characters);
    for (size_t i = 0; i < taken; ++i) block.Append(batch[i]);
    block.Recount(BreakLength);
    count_ += static_cast<int>(taken);
  }
  RebuildTree();
}

void TKsParagraphList::Delete(int index) {
  if (index < 0 || index >= count_) return;
  const auto [block, at] = Locate(index);
  TKsParagraphBlock& target = *blocks_[static_cast<size_t>(block)];
  target.Take(at);
  --count_;
  if (target.Count() == 0) {
    blocks_.erase(blocks_.begin() + block);
    RebuildTree();
  } else {
    Refresh(target);
  }
}

void TKsParagraphList::Exchange(int a, int b) {
  if (a == b || a < 0 || b < 0 || a >= count_ || b >= count_) return;
  if (a > b) std::swap(a, b);
  const auto [ba, ia] = Locate(a);
  const auto [bb, ib] = Locate(b);
  TKsParagraphBlock& blockA = *blocks_[static_cast<size_t>(ba)];
  TKsParagraphBlock& blockB = *blocks_[static_cast<size_t>(bb)];
  // The later one first, so that taking it leaves the earlier position where it was.
  TKsParagraphSlot later = blockB.Take(ib);
  TKsParagraphSlot earlier = blockA.Take(ia);
  blockA.Insert(ia, std::move(later));
  blockB.Insert(ib, std::move(earlier));
  Refresh(blockA);
  if (ba != bb) Refresh(blockB);
}

void TKsParagraphList::Clear() {
  blocks_.clear();
  tree_.assign(1, Sums{});
  total_ = Sums{};
  count_ = 0;
  ForgetLocation();
}

int TKsParagraphList::FirstLine(int index) const {
  if (index <= 0 || blocks_.empty()) return 0;
  if (index >= count_) return LineCount();
  const auto [block, at] = Locate(index);
  return static_cast<int>(cachedBefore_.Lines + blocks_[static_cast<size_t>(block)]->LinesBefore(at));
}

std::int64_t TKsParagraphList::FirstChar(int index) const {
  if (index <= 0 || blocks_.empty()) return 0;
  if (index >= count_) return CharCount();
  const auto [block, at] = Locate(index);
  return cachedBefore_.Chars + blocks_[static_cast<size_t>(block)]->CharsBefore(at, BreakLength);
}

bool TKsParagraphList::FindLine(int y, int& paragraph, int& lineInParagraph) const {
  if (y < 0 || y >= LineCount()) return false;
  Sums before;
  const int block = FindBlock(y, LinesSum, before);
  std::int64_t rest = y - before.Lines;
  const int at = blocks_[static_cast<size_t>(block)]->FindLine(rest);
  if (at >= blocks_[static_cast<size_t>(block)]->Count()) return false;
  paragraph = static_cast<int>(before.Count) + at;
  lineInParagraph = static_cast<int>(rest);
  return true;
}

bool TKsParagraphList::FindChar(std::int64_t c, int& paragraph, std::int64_t& offset) const {
  if (c < 0 || c >= CharCount()) return false;
  Sums before;
  const int block = FindBlock(c, CharsSum, before);
  offset = c - before.Chars;
  const int at = blocks_[static_cast<size_t>(block)]->FindChar(offset, BreakLength);
  if (at >= blocks_[static_cast<size_t>(block)]->Count()) return false;
  paragraph = static_cast<int>(before.Count) + at;
  return true;
}

// --- One paragraph

std::u16string_view TKsParagraphList::Text(int index) const {
  if (index < 0 || index >= count_) return {};
  const auto [block, at] = Locate(index);
  return blocks_[static_cast<size_t>(block)]->Text(at);
}

int TKsParagraphList::Length(int index) const {
  if (index < 0 || index >= count_) return 0;
  const auto [block, at] = Locate(index);
  return blocks_[static_cast<size_t>(block)]->Length(at);
}

int TKsParagraphList::LinesOf(int index) const {
  if (index < 0 || index >= count_) return 0;
  const auto [block, at] = Locate(index);
  return blocks_[static_cast<size_t>(block)]->Lines(at);
}

int TKsParagraphList::LineStart(int index, int line) const {
  if (index < 0 || index >= count_) return 0;
  const auto [block, at] = Locate(index);
  return blocks_[static_cast<size_t>(block)]->LineStart(at, line);
}

std::u16string_view TKsParagraphList::Line(int index, int line) const {
  if (index < 0 || index >= count_) return {};
  const auto [block, at] = Locate(index);
  const TKsParagraphBlock& b = *blocks_[static_cast<size_t>(block)];
  if (line < 0 || line >= b.Lines(at)) return {};
  const int start = b.LineStart(at, line);
  const int end = line + 1 < b.Lines(at) ? b.LineStart(at, line + 1) : b.Length(at);
  return b.Text(at).substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

int TKsParagraphList::LineOfOffset(int index, int offs) const {
  if (index < 0 || index >= count_) return 0;
  const auto [block, at] = Locate(index);
  return blocks_[static_cast<size_t>(block)]->LineOfOffset(at, offs);
}

void TKsParagraphList::SetText(int index, std::u16string_view text) {
  if (index < 0 || index >= count_) return;
  const auto [block, at] = Locate(index);
  TKsParagraphBlock& b = *blocks_[static_cast<size_t>(block)];
  b.Assign(at, text, {});
  if (bulk_ == 0) Refresh(b);
}

void TKsParagraphList::SetLineStarts(int index, const std::vector<std::int32_t>& starts) {
  if (index < 0 || index >= count_) return;
  const auto [block, at] = Locate(index);
  TKsParagraphBlock& b = *blocks_[static_cast<size_t>(block)];
  b.AssignStarts(at, starts);
  if (bulk_ == 0) Refresh(b);
}

void TKsParagraphList::EndBulk() {
  if (bulk_ == 0 || --bulk_ > 0) return;
  for (auto& block : blocks_) {
    block->ShrinkToFit();
    block->Recount(BreakLength);
  }
  RebuildTree();
}

void TKsParagraphList::ParagraphChanged(const TKsParagraph* paragraph) {
  TKsParagraphBlock* block = paragraph->block_;
  if (block && bulk_ == 0) Refresh(*block);
}

}  // namespace kestrel
