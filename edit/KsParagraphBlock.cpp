#include "edit/KsParagraphBlock.h"

#include <algorithm>

namespace kestrel {

namespace {

// Buffers grow by an eighth at a time: a block being typed into neither reallocates on every
// character nor doubles its size.
template <typename Vector>
void MakeRoom(Vector& v, size_t size) {
  if (size > v.capacity()) v.reserve(size + size / 8 + 16);
}

// Room for a few words beyond what a block holds, so that the first keystroke into a block that
// was just loaded does not move it; more than that is given back.
constexpr size_t kSpareCharacters = 32;
constexpr size_t kSpareStarts = 4;

template <typename Vector>
void Trim(Vector& v, size_t spare) {
  if (v.capacity() <= v.size() + spare) return;
  Vector trimmed;
  trimmed.reserve(v.size() + spare);
  trimmed.assign(v.begin(), v.end());
  v.swap(trimmed);
}

}  // namespace

TKsParagraph* TKsParagraphBlock::Object(int at) const {
  return objects_.empty() ? nullptr : objects_[static_cast<size_t>(at)].get();
}

std::u16string_view TKsParagraphBlock::Text(int at) const {
  if (const TKsParagraph* p = Object(at)) return p->ParaText();
  return {text_.data() + TextBegin(at), TextEnd(at) - TextBegin(at)};
}

int TKsParagraphBlock::Length(int at) const {
  if (const TKsParagraph* p = Object(at)) return p->Length();
  return static_cast<int>(TextEnd(at) - TextBegin(at));
}

int TKsParagraphBlock::Lines(int at) const {
  if (const TKsParagraph* p = Object(at)) return p->Count();
  return 1 + static_cast<int>(StartsEnd(at) - StartsBegin(at));
}

int TKsParagraphBlock::LineStart(int at, int line) const {
  if (const TKsParagraph* p = Object(at)) return p->LineStart(line);
  if (line <= 0) return 0;
  if (line >= Lines(at)) return Length(at);
  return starts_[StartsBegin(at) + static_cast<size_t>(line - 1)];
}

int TKsParagraphBlock::LineOfOffset(int at, int offs) const {
  if (const TKsParagraph* p = Object(at)) return p->LineOfOffset(offs);
  const auto first = starts_.begin() + StartsBegin(at);
  const auto last = starts_.begin() + StartsEnd(at);
  return static_cast<int>(std::lower_bound(first, last, offs) - first);
}

// Without objects both sums follow from the running ends alone; objects are walked.
std::int64_t TKsParagraphBlock::LinesBefore(int at) const {
  if (objects_.empty()) return at + static_cast<std::int64_t>(StartsBegin(at));
  std::int64_t sum = 0;
  for (int i = 0; i < at; ++i) sum += Lines(i);
  return sum;
}

std::int64_t TKsParagraphBlock::CharsBefore(int at, int breakLength) const {
  if (objects_.empty()) return static_cast<std::int64_t>(at) * breakLength + TextBegin(at);
  std::int64_t sum = 0;
  for (int i = 0; i < at; ++i) sum += Length(i) + breakLength;
  return sum;
}

int TKsParagraphBlock::FindLine(std::int64_t& rest) const {
  if (objects_.empty()) {
    // The first paragraph whose lines end after Rest: its end is 1 + its index + its starts' end.
    int low = 0, high = Count();
    while (low < high) {
      const int mid = (low + high) / 2;
      if (mid + 1 + static_cast<std::int64_t>(StartsEnd(mid)) > rest) high = mid;
      else low = mid + 1;
    }
    if (low < Count()) rest -= LinesBefore(low);
    return low;
  }
  for (int i = 0; i < Count(); ++i) {
    if (rest < Lines(i)) return i;
    rest -= Lines(i);
  }
  return Count();
}

int TKsParagraphBlock::FindChar(std::int64_t& rest, int breakLength) const {
  if (objects_.empty()) {
    int low = 0, high = Count();
    while (low < high) {
      const int mid = (low + high) / 2;
      const std::int64_t end = static_cast<std::int64_t>(mid + 1) * breakLength + TextEnd(mid);
      if (end > rest) high = mid;
      else low = mid + 1;
    }
    if (low < Count()) rest -= CharsBefore(low, breakLength);
    return low;
  }
  for (int i = 0; i < Count(); ++i) {
    const std::int64_t share = Length(i) + breakLength;
    if (rest < share) return i;
    rest -= share;
  }
  return Count();
}

void TKsParagraphBlock::Shift(int from, std::int64_t textDelta, std::int64_t startsDelta) {
  for (size_t i = static_cast<size_t>(from); i < ends_.size(); ++i) {
    ends_[i].Text = static_cast<std::uint32_t>(ends_[i].Text + textDelta);
    ends_[i].Starts = static_cast<std::uint32_t>(ends_[i].Starts + startsDelta);
  }
}

void TKsParagraphBlock::Insert(int at, TKsParagraphSlot slot) {
  const std::uint32_t textBegin = TextBegin(at);
  const std::uint32_t startsBegin = StartsBegin(at);
  ends_.insert(ends_.begin() + at, Ends{textBegin, startsBegin});
  if (slot.Object) {
    if (objects_.empty()) objects_.resize(ends_.size() - 1);
    slot.Object->block_ = this;
    objects_.insert(objects_.begin() + at, std::move(slot.Object));
    return;
  }
  if (!objects_.empty()) objects_.insert(objects_.begin() + at, nullptr);
  MakeRoom(text_, text_.size() + slot.Text.size());
  text_.insert(text_.begin() + textBegin, slot.Text.begin(), slot.Text.end());
  MakeRoom(starts_, starts_.size() + slot.Starts.size());
  starts_.insert(starts_.begin() + startsBegin, slot.Starts.begin(), slot.Starts.end());
  Shift(at, static_cast<std::int64_t>(slot.Text.size()), static_cast<std::int64_t>(slot.Starts.size()));
}

TKsParagraphSlot TKsParagraphBlock::Take(int at) {
  TKsParagraphSlot slot;
  if (TKsParagraph* p = Object(at)) {
    p->block_ = nullptr;
    slot.Object = std::move(objects_[static_cast<size_t>(at)]);
  } else {
    slot.Text = String(Text(at));
    const auto first = starts_.begin() + StartsBegin(at);
    const auto last = starts_.begin() + StartsEnd(at);
    slot.Starts.assign(first, last);
    text_.erase(text_.begin() + TextBegin(at), text_.begin() + TextEnd(at));
    starts_.erase(first, last);
    Shift(at, -static_cast<std::int64_t>(slot.Text.size()), -static_cast<std::int64_t>(slot.Starts.size()));
  }
  ends_.erase(ends_.begin() + at);
  if (!objects_.empty()) objects_.erase(objects_.begin() + at);
  return slot;
}

void TKsParagraphBlock::Assign(int at, std::u16string_view text, const std::vector<std::int32_t>& starts) {
  if (TKsParagraph* p = Object(at)) return p->SetWrapped(String(text), starts);
  if (text.data() >= text_.data() && text.data() < text_.data() + text_.size()) {
    const String copy(text);  // a view into this block moves while the block changes
    return Assign(at, copy, starts);
  }
  const size_t begin = TextBegin(at);
  const auto oldLength = static_cast<size_t>(Length(at));
  if (text.size() > oldLength) {
    MakeRoom(text_, text_.size() + text.size() - oldLength);
    text_.insert(text_.begin() + static_cast<std::ptrdiff_t>(begin + oldLength), text.size() - oldLength, u'\0');
  } else {
    text_.erase(text_.begin() + static_cast<std::ptrdiff_t>(begin + text.size()),
                text_.begin() + static_cast<std::ptrdiff_t>(begin + oldLength));
  }
  std::copy(text.begin(), text.end(), text_.begin() + static_cast<std::ptrdiff_t>(begin));
  Shift(at, static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(oldLength), 0);
  ReplaceStarts(at, starts);
}

void TKsParagraphBlock::AssignStarts(int at, const std::vector<std::int32_t>& starts) {
  if (TKsParagraph* p = Object(at)) return p->SetWrapped(p->ParaText(), starts);
  ReplaceStarts(at, starts);
}

void TKsParagraphBlock::ReplaceStarts(int at, const std::vector<std::int32_t>& starts) {
  const size_t begin = StartsBegin(at);
  const size_t oldCount = StartsEnd(at) - begin;
  if (oldCount == 0 && starts.empty()) return;
  const auto first = starts_.begin() + static_cast<std::ptrdiff_t>(begin);
  starts_.erase(first, first + static_cast<std::ptrdiff_t>(oldCount));
  MakeRoom(starts_, starts_.size() + starts.size());
  starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(begin), starts.begin(), starts.end());
  Shift(at, 0, static_cast<std::int64_t>(starts.size()) - static_cast<std::int64_t>(oldCount));
}

TKsParagraph* TKsParagraphBlock::Detach(int at, TKsParagraphList* owner) {
  if (TKsParagraph* p = Object(at)) return p;
  TKsParagraphSlot slot = Take(at);
  auto p = std::make_unique<TKsParagraph>(std::move(slot.Text));
  p->starts_ = std::move(slot.Starts);
  p->owner_ = owner;
  TKsParagraph* raw = p.get();
  Insert(at, {{}, {}, std::move(p)});
  return raw;
}

void TKsParagraphBlock::MoveTail(int from, TKsParagraphBlock& into) {
  const std::uint32_t textBegin = TextBegin(from);
  const std::uint32_t startsBegin = StartsBegin(from);
  into.text_.assign(text_.begin() + textBegin, text_.end());
  into.starts_.assign(starts_.begin() + startsBegin, starts_.end());
  for (size_t i = static_cast<size_t>(from); i < ends_.size(); ++i)
    into.ends_.push_back({ends_[i].Text - textBegin, ends_[i].Starts - startsBegin});
  if (!objects_.empty()) {
    for (size_t i = static_cast<size_t>(from); i < objects_.size(); ++i) {
      if (objects_[i]) objects_[i]->block_ = &into;
      into.objects_.push_back(std::move(objects_[i]));
    }
    objects_.resize(static_cast<size_t>(from));
  }
  text_.resize(textBegin);
  starts_.resize(startsBegin);
  ends_.resize(static_cast<size_t>(from));
  ShrinkToFit();
}

void TKsParagraphBlock::Append(std::u16string_view text) {
  text_.insert(text_.end(), text.begin(), text.end());
  ends_.push_back({static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(starts_.size())});
  if (!objects_.empty()) objects_.push_back(nullptr);
}

void TKsParagraphBlock::Prefetch() const {
  constexpr size_t kLine = 64;
  auto fetch = [](const void* data, size_t bytes) {
    const auto* p = static_cast<const char*>(data);
    for (size_t at = 0; at < bytes; at += kLine) __builtin_prefetch(p + at);
  };
  fetch(ends_.data(), ends_.size() * sizeof(Ends));
  fetch(starts_.data(), starts_.size() * sizeof(std::int32_t));
  fetch(text_.data(), text_.size() * sizeof(char16_t));
}

void TKsParagraphBlock::Reserve(size_t paragraphs, size_t characters) {
  text_.reserve(characters + kSpareCharacters);
  ends_.reserve(paragraphs);
}

void TKsParagraphBlock::ShrinkToFit() {
  Trim(text_, kSpareCharacters);
  Trim(starts_, kSpareStarts);
}

void TKsParagraphBlock::Recount(int breakLength) {
  countSum_ = Count();
  lineSum_ = Count() + static_cast<std::int64_t>(starts_.size());
  charSum_ = static_cast<std::int64_t>(text_.size()) + static_cast<std::int64_t>(Count()) * breakLength;
  for (const auto& p : objects_) {
    if (!p) continue;
    lineSum_ += p->Count() - 1;
    charSum_ += p->Length();
  }
}

}  // namespace kestrel
