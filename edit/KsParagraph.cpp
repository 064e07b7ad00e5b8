#include "edit/KsParagraph.h"

#include <algorithm>

#include "edit/KsParagraphList.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsParagraph, TStrings)

TKsParagraph::TKsParagraph(String text) : text_(std::move(text)), hasLines_(true) {}

void TKsParagraph::Changed() const {
  if (owner_) owner_->ParagraphChanged(this);
}

void TKsParagraph::EnsureLine() const {
  if (hasLines_) return;
  hasLines_ = true;
  Changed();
}

int TKsParagraph::LineStart(int index) const {
  if (index <= 0 || !ValidLine(index)) return index <= 0 ? 0 : Length();
  return starts_[static_cast<size_t>(index - 1)];
}

int TKsParagraph::LineLength(int index) const {
  if (!ValidLine(index)) return 0;
  const int end = index + 1 < GetCount() ? starts_[static_cast<size_t>(index)] : Length();
  return end - LineStart(index);
}

std::u16string_view TKsParagraph::Line(int index) const {
  if (!ValidLine(index)) return {};
  return std::u16string_view(text_).substr(static_cast<size_t>(LineStart(index)),
                                           static_cast<size_t>(LineLength(index)));
}

int TKsParagraph::LineOfOffset(int offs) const {
  // First line whose end is at or after Offs: the end of a line wins over the next line's start.
  const auto it = std::lower_bound(starts_.begin(), starts_.end(), offs);
  return static_cast<int>(it - starts_.begin());
}

String TKsParagraph::Get(int index) const {
  if (index == 0) EnsureLine();
  if (!ValidLine(index)) Error(u"List index out of bounds (%d)", index);
  return String(Line(index));
}

void TKsParagraph::Put(int index, const String& s) {
  if (index == 0) EnsureLine();
  if (!ValidLine(index)) Error(u"List index out of bounds (%d)", index);
  const int start = LineStart(index);
  const int delta = static_cast<int>(s.size()) - LineLength(index);
  text_.replace(static_cast<size_t>(start), static_cast<size_t>(LineLength(index)), s);
  for (size_t i = static_cast<size_t>(index); i < starts_.size(); ++i) starts_[i] += delta;
  Changed();
}

void TKsParagraph::Insert(int index, const String& s) {
  if (!hasLines_) {
    if (index != 0) Error(u"List index out of bounds (%d)", index);
    text_ = s;
    hasLines_ = true;
    Changed();
    return;
  }
  if (index < 0 || index > GetCount()) Error(u"List index out of bounds (%d)", index);
  const int at = index == GetCount() ? Length() : LineStart(index);
  text_.insert(static_cast<size_t>(at), s);
  const auto size = static_cast<std::int32_t>(s.size());
  for (size_t i = static_cast<size_t>(std::max(index - 1, 0)); i < starts_.size(); ++i) starts_[i] += size;
  // The new line begins at At; when it goes first, the old first line now begins after it.
  if (index == 0) starts_.insert(starts_.begin(), size);
  else starts_.insert(starts_.begin() + (index - 1), at);
  Changed();
}

void TKsParagraph::Delete(int index) {
  if (!ValidLine(index)) Error(u"List index out of bounds (%d)", index);
  const int start = LineStart(index);
  const int length = LineLength(index);
  text_.erase(static_cast<size_t>(start), static_cast<size_t>(length));
  if (starts_.empty()) {
    hasLines_ = false;
  } else {
    starts_.erase(starts_.begin() + std::max(index - 1, 0));
    for (size_t i = static_cast<size_t>(std::max(index - 1, 0)); i < starts_.size(); ++i) starts_[i] -= length;
  }
  Changed();
}

void TKsParagraph::Clear() {
  if (!hasLines_ && text_.empty()) return;
  text_.clear();
  starts_.clear();
  hasLines_ = false;
  Changed();
}

void TKsParagraph::SetParaText(String text) {
  text_ = std::move(text);
  starts_.clear();
  hasLines_ = true;
  Changed();
}

void TKsParagraph::SetWrapped(String text, std::vector<std::int32_t> starts) {
  text_ = std::move(text);
  starts_ = std::move(starts);
  hasLines_ = true;
  Changed();
}

}  // namespace kestrel
