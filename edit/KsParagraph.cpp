#include "edit/KsParagraph.h"

#include <algorithm>

#include "edit/KsParagraphList.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsParagraph, TStrings)

TKsParagraph::TKsParagraph(String text) : FText(std::move(text)), FHasLines(true) {}

void TKsParagraph::Changed() const {
  if (FOwner) FOwner->ParagraphChanged(this);
}

void TKsParagraph::EnsureLine() const {
  if (FHasLines) return;
  FHasLines = true;
  Changed();
}

int TKsParagraph::LineStart(int index) const {
  if (index <= 0 || !ValidLine(index)) return index <= 0 ? 0 : Length();
  return FStarts[static_cast<size_t>(index - 1)];
}

int TKsParagraph::LineLength(int index) const {
  if (!ValidLine(index)) return 0;
  const int end = index + 1 < GetCount() ? FStarts[static_cast<size_t>(index)] : Length();
  return end - LineStart(index);
}

std::u16string_view TKsParagraph::Line(int index) const {
  if (!ValidLine(index)) return {};
  return std::u16string_view(FText).substr(static_cast<size_t>(LineStart(index)),
                                           static_cast<size_t>(LineLength(index)));
}

int TKsParagraph::LineOfOffset(int offs) const {
  // First line whose end is at or after Offs: the end of a line wins over the next line's start.
  const auto it = std::lower_bound(FStarts.begin(), FStarts.end(), offs);
  return static_cast<int>(it - FStarts.begin());
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
  FText.replace(static_cast<size_t>(start), static_cast<size_t>(LineLength(index)), s);
  for (size_t i = static_cast<size_t>(index); i < FStarts.size(); ++i) FStarts[i] += delta;
  Changed();
}

void TKsParagraph::Insert(int index, const String& s) {
  if (!FHasLines) {
    if (index != 0) Error(u"List index out of bounds (%d)", index);
    FText = s;
    FHasLines = true;
    Changed();
    return;
  }
  if (index < 0 || index > GetCount()) Error(u"List index out of bounds (%d)", index);
  const int at = index == GetCount() ? Length() : LineStart(index);
  FText.insert(static_cast<size_t>(at), s);
  const auto size = static_cast<std::int32_t>(s.size());
  for (size_t i = static_cast<size_t>(std::max(index - 1, 0)); i < FStarts.size(); ++i)
    FStarts[i] += size;
  // The new line begins at At; when it goes first, the old first line now begins after it.
  if (index == 0)
    FStarts.insert(FStarts.begin(), size);
  else
    FStarts.insert(FStarts.begin() + (index - 1), at);
  Changed();
}

void TKsParagraph::Delete(int index) {
  if (!ValidLine(index)) Error(u"List index out of bounds (%d)", index);
  const int start = LineStart(index);
  const int length = LineLength(index);
  FText.erase(static_cast<size_t>(start), static_cast<size_t>(length));
  if (FStarts.empty()) {
    FHasLines = false;
  } else {
    FStarts.erase(FStarts.begin() + std::max(index - 1, 0));
    for (size_t i = static_cast<size_t>(std::max(index - 1, 0)); i < FStarts.size(); ++i)
      FStarts[i] -= length;
  }
  Changed();
}

void TKsParagraph::Clear() {
  if (!FHasLines && FText.empty()) return;
  FText.clear();
  FStarts.clear();
  FHasLines = false;
  Changed();
}

void TKsParagraph::SetParaText(String text) {
  FText = std::move(text);
  FStarts.clear();
  FHasLines = true;
  Changed();
}

void TKsParagraph::SetWrapped(String text, std::vector<std::int32_t> starts) {
  FText = std::move(text);
  FStarts = std::move(starts);
  FHasLines = true;
  Changed();
}

}  // namespace kestrel
