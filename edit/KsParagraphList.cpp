#include "edit/KsParagraphList.h"

#include <algorithm>
#include <bit>

namespace kestrel {

namespace {

// A block splits in two beyond this many paragraphs; a text being loaded fills blocks halfway
// so that typing does not split them at once.
constexpr size_t kMaxBlock = 128;
constexpr size_t kLoadFill = kMaxBlock / 2;

}  // namespace

TKsParagraphList::TKsParagraphList() = default;
TKsParagraphList::~TKsParagraphList() = default;

TKsParagraphList::Sums TKsParagraphList::Prefix(int blocks) const {
  Sums s;
  for (int i = blocks; i > 0; i -= i & -i) {
    s.Count += tree_[static_cast<size_t>(i)].Count;
    s.Lines += tree_[static_cast<size_t>(i)].Lines;
    s.Chars += tree_[static_cast<size_t>(i)].Chars;
  }
  return s;
}

TKsParagraphList::Sums TKsParagraphList::Total() const { return Prefix(static_cast<int>(blocks_.size())); }

void TKsParagraphList::AddToTree(int block, const Sums& delta) {
  const int n = static_cast<int>(blocks_.size());
  for (int i = block + 1; i <= n; i += i & -i) {
    tree_[static_cast<size_t>(i)].Count += delta.Count;
    tree_[static_cast<size_t>(i)].Lines += delta.Lines;
    tree_[static_cast<size_t>(i)].Chars += delta.Chars;
  }
}

void TKsParagraphList::RebuildTree() {
  const size_t n = blocks_.size();
  tree_.assign(n + 1, Sums{});
  for (size_t b = 0; b < n; ++b) {
    TKsParagraphBlock& block = *blocks_[b];
    block.Index = static_cast<int>(b);
    tree_[b + 1].Count += static_cast<std::int64_t>(block.Items.size());
    tree_[b + 1].Lines += block.LineSum;
    tree_[b + 1].Chars += block.CharSum;
    const size_t parent = (b + 1) + ((b + 1) & (~(b + 1) + 1));
    if (parent <= n) {
      tree_[parent].Count += tree_[b + 1].Count;
      tree_[parent].Lines += tree_[b + 1].Lines;
      tree_[parent].Chars += tree_[b + 1].Chars;
    }
  }
}

template <typename Field>
int TKsParagraphList::SearchTree(std::int64_t target, Field field) const {
  const int n = static_cast<int>(blocks_.size());
  int pos = 0;
  for (int step = n > 0 ? static_cast<int>(std::bit_floor(static_cast<unsigned>(n))) : 0; step > 0; step >>= 1) {
    if (pos + step <= n && field(tree_[static_cast<size_t>(pos + step)]) <= target) {
      pos += step;
      target -= field(tree_[static_cast<size_t>(pos)]);
    }
  }
  return pos;
}

std::pair<int, int> TKsParagraphList::Locate(int index) const {
  if (index >= count_) {
    const int last = static_cast<int>(blocks_.size()) - 1;
    return {last, last < 0 ? 0 : static_cast<int>(blocks_.back()->Items.size())};
  }
  const int block = SearchTree(index, CountOf);
  return {block, index - static_cast<int>(Prefix(block).Count)};
}

void TKsParagraphList::Adopt(TKsParagraphBlock& block, int at, std::unique_ptr<TKsParagraph> p) {
  p->owner_ = this;
  p->block_ = &block;
  const std::int32_t lines = p->Count();
  const std::int64_t chars = p->Length() + BreakLength;
  block.Items.insert(block.Items.begin() + at, std::move(p));
  block.Lines.insert(block.Lines.begin() + at, lines);
  block.Lengths.insert(block.Lengths.begin() + at, chars);
  block.LineSum += lines;
  block.CharSum += chars;
  ++count_;
}

void TKsParagraphList::SplitBlock(int index) {
  TKsParagraphBlock& full = *blocks_[static_cast<size_t>(index)];
  auto half = std::make_unique<TKsParagraphBlock>();
  const size_t keep = full.Items.size() / 2;
  for (size_t i = keep; i < full.Items.size(); ++i) {
    full.Items[i]->block_ = half.get();
    half->Items.push_back(std::move(full.Items[i]));
    half->Lines.push_back(full.Lines[i]);
    half->Lengths.push_back(full.Lengths[i]);
    half->LineSum += full.Lines[i];
    half->CharSum += full.Lengths[i];
  }
  full.Items.resize(keep);
  full.Lines.resize(keep);
  full.Lengths.resize(keep);
  full.LineSum -= half->LineSum;
  full.CharSum -= half->CharSum;
  blocks_.insert(blocks_.begin() + index + 1, std::move(half));
  RebuildTree();
}

TKsParagraph* TKsParagraphList::Get(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  const auto [block, at] = Locate(index);
  return blocks_[static_cast<size_t>(block)]->Items[static_cast<size_t>(at)].get();
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

void TKsParagraphList::Insert(int index, std::unique_ptr<TKsParagraph> paragraph) {
  if (!paragraph) return;
  index = std::clamp(index, 0, count_);
  if (blocks_.empty()) {
    blocks_.push_back(std::make_unique<TKsParagraphBlock>());
    Adopt(*blocks_.back(), 0, std::move(paragraph));
    RebuildTree();
    return;
  }
  const auto [block, at] = Locate(index);
  TKsParagraphBlock& target = *blocks_[static_cast<size_t>(block)];
  const Sums before{0, target.LineSum, target.CharSum};
  Adopt(target, at, std::move(paragraph));
  AddToTree(block, {1, target.LineSum - before.Lines, target.CharSum - before.Chars});
  if (target.Items.size() > kMaxBlock) SplitBlock(block);
}

void TKsParagraphList::AddMany(std::vector<std::unique_ptr<TKsParagraph>> paragraphs) {
  for (auto& p : paragraphs) {
    if (!p) continue;
    if (blocks_.empty() || blocks_.back()->Items.size() >= kLoadFill)
      blocks_.push_back(std::make_unique<TKsParagraphBlock>());
    TKsParagraphBlock& last = *blocks_.back();
    Adopt(last, static_cast<int>(last.Items.size()), std::move(p));
  }
  RebuildTree();
}

void TKsParagraphList::Delete(int index) {
  if (index < 0 || index >= count_) return;
  const auto [block, at] = Locate(index);
  TKsParagraphBlock& target = *blocks_[static_cast<size_t>(block)];
  const auto i = static_cast<size_t>(at);
  const Sums delta{-1, -target.Lines[i], -target.Lengths[i]};
  target.LineSum += delta.Lines;
  target.CharSum += delta.Chars;
  target.Items.erase(target.Items.begin() + at);
  target.Lines.erase(target.Lines.begin() + at);
  target.Lengths.erase(target.Lengths.begin() + at);
  --count_;
  if (target.Items.empty()) {
    blocks_.erase(blocks_.begin() + block);
    RebuildTree();
  } else {
    AddToTree(block, delta);
  }
}

void TKsParagraphList::Exchange(int a, int b) {
  if (a == b || a < 0 || b < 0 || a >= count_ || b >= count_) return;
  const auto [ba, ia] = Locate(a);
  const auto [bb, ib] = Locate(b);
  TKsParagraphBlock& blockA = *blocks_[static_cast<size_t>(ba)];
  TKsParagraphBlock& blockB = *blocks_[static_cast<size_t>(bb)];
  const auto pa = static_cast<size_t>(ia);
  const auto pb = static_cast<size_t>(ib);
  const Sums delta{0, blockB.Lines[pb] - blockA.Lines[pa], blockB.Lengths[pb] - blockA.Lengths[pa]};
  std::swap(blockA.Items[pa], blockB.Items[pb]);
  std::swap(blockA.Lines[pa], blockB.Lines[pb]);
  std::swap(blockA.Lengths[pa], blockB.Lengths[pb]);
  blockA.Items[pa]->block_ = &blockA;
  blockB.Items[pb]->block_ = &blockB;
  if (ba == bb) return;
  blockA.LineSum += delta.Lines;
  blockA.CharSum += delta.Chars;
  blockB.LineSum -= delta.Lines;
  blockB.CharSum -= delta.Chars;
  AddToTree(ba, delta);
  AddToTree(bb, {0, -delta.Lines, -delta.Chars});
}

void TKsParagraphList::Clear() {
  blocks_.clear();
  tree_.assign(1, Sums{});
  count_ = 0;
}

template <typename Field, typename Values>
std::int64_t TKsParagraphList::SumBefore(int index, Field field, Values values) const {
  const auto [block, at] = Locate(index);
  const TKsParagraphBlock& b = *blocks_[static_cast<size_t>(block)];
  std::int64_t sum = field(Prefix(block));
  for (int i = 0; i < at; ++i) sum += (b.*values)[static_cast<size_t>(i)];
  return sum;
}

template <typename Field, typename Values>
bool TKsParagraphList::FindIn(std::int64_t target, Field field, Values values, int& paragraph,
                              std::int64_t& rest) const {
  if (target < 0 || target >= field(Total())) return false;
  const int block = SearchTree(target, field);
  const Sums before = Prefix(block);
  const TKsParagraphBlock& b = *blocks_[static_cast<size_t>(block)];
  rest = target - field(before);
  for (size_t i = 0; i < (b.*values).size(); ++i) {
    if (rest < (b.*values)[i]) {
      paragraph = static_cast<int>(before.Count) + static_cast<int>(i);
      return true;
    }
    rest -= (b.*values)[i];
  }
  return false;
}

int TKsParagraphList::FirstLine(int index) const {
  if (index <= 0 || blocks_.empty()) return 0;
  if (index >= count_) return LineCount();
  return static_cast<int>(SumBefore(index, LinesOf, &TKsParagraphBlock::Lines));
}

std::int64_t TKsParagraphList::FirstChar(int index) const {
  if (index <= 0 || blocks_.empty()) return 0;
  if (index >= count_) return CharCount();
  return SumBefore(index, CharsOf, &TKsParagraphBlock::Lengths);
}

bool TKsParagraphList::FindLine(int y, int& paragraph, int& lineInParagraph) const {
  std::int64_t rest = 0;
  if (!FindIn(y, LinesOf, &TKsParagraphBlock::Lines, paragraph, rest)) return false;
  lineInParagraph = static_cast<int>(rest);
  return true;
}

bool TKsParagraphList::FindChar(std::int64_t c, int& paragraph, std::int64_t& offset) const {
  return FindIn(c, CharsOf, &TKsParagraphBlock::Lengths, paragraph, offset);
}

void TKsParagraphList::EndBulk() {
  if (bulk_ == 0 || --bulk_ > 0) return;
  for (auto& block : blocks_) {
    block->LineSum = 0;
    block->CharSum = 0;
    for (size_t i = 0; i < block->Items.size(); ++i) {
      block->Lines[i] = block->Items[i]->Count();
      block->Lengths[i] = block->Items[i]->Length() + BreakLength;
      block->LineSum += block->Lines[i];
      block->CharSum += block->Lengths[i];
    }
  }
  RebuildTree();
}

void TKsParagraphList::ParagraphChanged(const TKsParagraph* paragraph) {
  TKsParagraphBlock* block = paragraph->block_;
  if (!block || bulk_ > 0) return;
  const auto it = std::find_if(block->Items.begin(), block->Items.end(),
                               [paragraph](const auto& p) { return p.get() == paragraph; });
  if (it == block->Items.end()) return;
  const auto i = static_cast<size_t>(it - block->Items.begin());
  const std::int32_t lines = paragraph->Count();
  const std::int64_t chars = paragraph->Length() + BreakLength;
  const Sums delta{0, lines - block->Lines[i], chars - block->Lengths[i]};
  if (delta.Lines == 0 && delta.Chars == 0) return;
  block->Lines[i] = lines;
  block->Lengths[i] = chars;
  block->LineSum += delta.Lines;
  block->CharSum += delta.Chars;
  AddToTree(block->Index, delta);
}

}  // namespace kestrel
