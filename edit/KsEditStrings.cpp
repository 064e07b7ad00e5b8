#include "edit/KsEditStrings.h"

#include <algorithm>
#include <limits>
#include <string>

#include "platform/core/ScopeGuard.h"

namespace kestrel {

namespace {

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

String WithoutBreaks(std::u16string_view s) {
  String out;
  out.reserve(s.size());
  for (char16_t c : s)
    if (!IsBreak(c)) out += c;
  return out;
}

[[noreturn]] void RaiseOutbound(int index) { throw EKsEditorError(u"List index outbound (%d)", {index}); }

constexpr char16_t kListIndexError[] = u"List index out of bounds (%d)";

}  // namespace

KESTREL_IMPLEMENT_CLASS(EKsEditorError, Exception)
KESTREL_IMPLEMENT_CLASS(TKsEditStrings, TStringList)

TKsEditStrings::TKsEditStrings(IKsEditHost& host) : FKsEdit(host), measure_(host), wrapper_(host) {}

TKsEditStrings::~TKsEditStrings() = default;

// --- Notifications

void TKsEditStrings::Changed() {
  ++changeStamp_;
  TStringList::Changed();
  if (onChange_) onChange_(this);
  FKsEdit.TextChanged();
}

// --- List face

void TKsEditStrings::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) Error(kListIndexError, index);
}

String TKsEditStrings::Get(int index) const {
  CheckIndex(index);
  return String(FParagraphs.Text(index));
}

void TKsEditStrings::Put(int index, const String& s) {
  CheckIndex(index);
  Changing();
  FParagraphs.SetText(index, WithoutBreaks(s));
  WrapParagraph(index);
  RenumberLines(index);
  Changed();
}

bool TKsEditStrings::NextParagraph(std::u16string_view s, size_t& pos, std::u16string_view& paragraph) {
  if (pos < s.size()) {
    size_t end = pos;
    while (end < s.size() && !IsBreak(s[end])) ++end;
    paragraph = s.substr(pos, end - pos);
    if (end < s.size() && s[end] == u'\r' && end + 1 < s.size() && s[end + 1] == u'\n') ++end;
    pos = end + 1;
    return true;
  }
  if (pos != s.size() || !s.ends_with(u"\r\n")) return false;
  paragraph = s.substr(s.size());  // a text ending in CR LF ends with an empty paragraph
  ++pos;
  return true;
}

std::vector<std::u16string_view> TKsEditStrings::SplitParagraphs(std::u16string_view s) {
  std::vector<std::u16string_view> out;
  size_t pos = 0;
  for (std::u16string_view paragraph; NextParagraph(s, pos, paragraph);) out.push_back(paragraph);
  return out;
}

void TKsEditStrings::InsertParagraphs(int index, std::u16string_view s) {
  std::vector<std::u16string_view> texts = SplitParagraphs(s);
  if (texts.empty()) texts.emplace_back();
  index = std::clamp(index, 0, GetCount());
  if (FIdxMaxLen >= index && FMaxLen > 0) FIdxMaxLen += static_cast<int>(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    const int at = index + static_cast<int>(i);
    FParagraphs.InsertText(at, texts[i]);
    WrapParagraph(at);
  }
  RenumberLines(index);
}

void TKsEditStrings::Insert(int index, const String& s) {
  Changing();
  if (Multiline()) InsertParagraphs(index, s);
  Changed();
}

int TKsEditStrings::Add(const String& s) {
  const int index = GetCount();
  Insert(index, s);
  return index;
}

int TKsEditStrings::AddObject(const String& s, TObject*) { return Add(s); }

void TKsEditStrings::AddStrings(const TStrings& strings) {
  const std::vector<String> items = strings.ToStringArray();  // the list may be this one
  BeginUpdate();
  const platform::ScopeGuard endUpdate([&] { EndUpdate(); });
  for (const String& s : items) Add(s);
}

void TKsEditStrings::Assign(const TPersistent* source) {
  const auto* strings = dynamic_cast<const TStrings*>(source);
  if (strings == this) return;
  if (!strings) return TStringList::Assign(source);
  // The other list's text, whatever the mode: on a single line its items join with breaks.
  String text;
  const std::vector<String> items = strings->ToStringArray();
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += items[i];
  }
  SetText(text);
}

void TKsEditStrings::Move(int curIndex, int newIndex) {
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  TStrings::Move(curIndex, newIndex);
}

void TKsEditStrings::Delete(int index) {
  CheckIndex(index);
  Changing();
  FParagraphs.Delete(index);
  ParagraphsRemoved(index, 1);
  RenumberLines(index);
  Changed();
}

void TKsEditStrings::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  FParagraphs.Exchange(index1, index2);
  if (FIdxMaxLen == index1 || FIdxMaxLen == index2) FIdxMaxLen = FIdxMaxLen == index1 ? index2 : index1;
  RenumberLines(std::min(index1, index2));
  Changed();
}

void TKsEditStrings::Clear() {
  if (GetCount() == 0) return;
  Changing();
  FParagraphs.Clear();
  ResetMaxLen();
  RenumberLines(0);
  Changed();
}

bool TKsEditStrings::Find(const String& s, int& index) const {
  int low = 0;
  int high = GetCount() - 1;
  bool found = false;
  while (low <= high) {
    const int mid = low + (high - low) / 2;
    const int cmp = FParagraphs.Text(mid).compare(s);
    if (cmp < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (cmp == 0) found = true;
    }
  }
  index = low;
  return found;
}

String TKsEditStrings::GetTextStr() const {
  String out;
  out.reserve(static_cast<size_t>(std::max(0, TextLength())));
  for (int i = 0; i < GetCount(); ++i) {
    if (i > 0) out += u"\r\n";
    out += FParagraphs.Text(i);
  }
  return out;
}

void TKsEditStrings::SetTextFrom(std::u16string_view text) {
  if (FKsEdit.ResplitPending() || GetTextStr() != text) {
    BeginUpdate();
    Changing();
    FParagraphs.Clear();
    ResetMaxLen();
    if (Multiline()) {
      // Split as it is read: a long text needs no list of its paragraphs on the side.
      size_t pos = 0;
      FParagraphs.AddTexts([&](std::u16string_view& paragraph) { return NextParagraph(text, pos, paragraph); });
      WrapAll();
    } else {
      FParagraphs.InsertText(0, text);
      WrapParagraph(0);
    }
    RenumberLines(0);
    EndUpdate();  // the end of the bracket reports the change
  }
  FKsEdit.TextReset();
}

// --- Visual lines

bool TKsEditStrings::IndexToParagraph(int y, int& paragraph, int& paraIndex) const {
  if (FParagraphs.FindLine(y, paragraph, paraIndex)) return true;
  paragraph = 0;
  paraIndex = 0;
  return false;
}

String TKsEditStrings::GetLine(int y) const {
  int p = 0;
  int line = 0;
  // A line that does not exist reads empty; it never aliases another one.
  if (!IndexToParagraph(y, p, line)) return {};
  return String(FParagraphs.Line(p, line));
}

void TKsEditStrings::PutLine(int y, std::u16string_view s) {
  // Breaks inside a paragraph would make text, positions and wrapping disagree.
  const String text = Multiline() ? WithoutBreaks(s) : String(s);
  int p = 0;
  int line = 0;
  if (GetCount() == 0) {
    if (y > 0) RaiseOutbound(y);
    Changing();
    FParagraphs.InsertText(0, text);
  } else {
    if (!IndexToParagraph(y, p, line)) RaiseOutbound(y);
    Changing();
    const int start = FParagraphs.LineStart(p, line);
    String d(FParagraphs.Text(p));
    d.replace(static_cast<size_t>(start), FParagraphs.Line(p, line).size(), text);
    FParagraphs.SetText(p, d);
  }
  WrapParagraph(p);
  RenumberLines(p);
  Changed();
}

void TKsEditStrings::CaretToParagraph(int x, int y, int& paraOffs, int& paragraph) const {
  paraOffs = 0;
  paragraph = 0;
  if (GetCount() == 0) return;
  int line = 0;
  // A line past either end stands for the nearest one, so a stale position never lands in the
  // middle of unrelated text.
  const int lines = ParagraphCount();
  if (lines > 0) IndexToParagraph(std::clamp(y, 0, lines - 1), paragraph, line);
  if (y >= lines && lines > 0) x = std::numeric_limits<int>::max() / 2;
  const std::u16string_view text = FParagraphs.Text(paragraph);
  const std::int64_t offs = static_cast<std::int64_t>(x) + FParagraphs.LineStart(paragraph, line);
  paraOffs = SnapToCharStart(text, static_cast<int>(std::clamp<std::int64_t>(offs, 0, std::ssize(text))));
}

void TKsEditStrings::CaretFromParagraph(int paragraph, int paraOffs, int& y, int& x) const {
  y = 0;
  x = 0;
  if (GetCount() == 0) return;
  paragraph = std::clamp(paragraph, 0, GetCount() - 1);
  const std::u16string_view text = FParagraphs.Text(paragraph);
  const int offs = SnapToCharStart(text, std::clamp(paraOffs, 0, static_cast<int>(text.size())));
  const int line = FParagraphs.LinesOf(paragraph) > 0 ? FParagraphs.LineOfOffset(paragraph, offs) : 0;
  y = FParagraphs.FirstLine(paragraph) + line;
  x = offs - FParagraphs.LineStart(paragraph, line);
}

int TKsEditStrings::CharFromCaret(int x, int y) const {
  int offs = 0;
  int p = 0;
  CaretToParagraph(x, y, offs, p);
  const std::int64_t c = FParagraphs.FirstChar(p) + offs;
  return static_cast<int>(std::min<std::int64_t>(c, std::numeric_limits<int>::max()));
}

void TKsEditStrings::CharToParagraph(int charNum, int& paragraph, int& offset, bool roundUp) const {
  paragraph = 0;
  offset = 0;
  if (GetCount() == 0 || charNum < 0) return;
  std::int64_t offs = 0;
  if (!FParagraphs.FindChar(charNum, paragraph, offs)) {
    // Past the end: the end of the text.
    paragraph = GetCount() - 1;
    offs = FParagraphs.Length(paragraph);
  }
  const std::u16string_view text = FParagraphs.Text(paragraph);
  if (offs > std::ssize(text)) {
    // Inside a break: the end of its paragraph, or rounding up, the start of the next.
    if (roundUp && paragraph + 1 < GetCount()) {
      ++paragraph;
      offset = 0;
      return;
    }
    offs = std::ssize(text);
  }
  offset = static_cast<int>(offs);
  const int snapped = SnapToCharStart(text, offset);
  if (snapped != offset && roundUp) ++offset;
  else offset = snapped;
}

int TKsEditStrings::CharOf(int paragraph, int offset) const {
  return static_cast<int>(FParagraphs.FirstChar(paragraph)) + offset;
}

int TKsEditStrings::NextCharPos(int charNum) const {
  int p = 0, o = 0;
  CharToParagraph(charNum, p, o, true);
  if (GetCount() == 0) return 0;
  const std::u16string_view text = FParagraphs.Text(p);
  if (o < static_cast<int>(text.size())) {
    const bool pair = IsHighSurrogate(text[o]) && o + 1 < static_cast<int>(text.size()) && IsLowSurrogate(text[o + 1]);
    return CharOf(p, o + (pair ? 2 : 1));
  }
  return p + 1 < GetCount() ? CharOf(p + 1, 0) : CharOf(p, o);
}

int TKsEditStrings::PrevCharPos(int charNum) const {
  int p = 0, o = 0;
  CharToParagraph(charNum, p, o);
  if (o > 0) {
    const std::u16string_view text = FParagraphs.Text(p);
    const bool pair = o >= 2 && IsLowSurrogate(text[o - 1]) && IsHighSurrogate(text[o - 2]);
    return CharOf(p, o - (pair ? 2 : 1));
  }
  return p > 0 ? CharOf(p - 1, FParagraphs.Length(p - 1)) : 0;
}

void TKsEditStrings::CaretFromChar(int charNum, int& x, int& y) const {
  int p = 0;
  int offs = 0;
  CharToParagraph(charNum, p, offs);
  CaretFromParagraph(p, offs, y, x);
}

int TKsEditStrings::TextLength() const {
  const std::int64_t n = FParagraphs.CharCount() - (GetCount() > 0 ? 2 : 0);
  return static_cast<int>(std::min<std::int64_t>(n, std::numeric_limits<int>::max()));
}

// --- Editing

void TKsEditStrings::InsertSingleLine(int& x, int& y, std::u16string_view s) {
  // Breaks are ordinary characters on a single line: everything goes in as it stands.
  int offs = 0;
  int p = 0;
  CaretToParagraph(x, y, offs, p);
  if (GetCount() == 0) FParagraphs.InsertText(0, {});
  String d(FParagraphs.Text(0));
  d.insert(static_cast<size_t>(offs), s);
  FParagraphs.SetText(0, d);
  WrapParagraph(0);
  RenumberLines(0);
  CaretFromParagraph(0, offs + static_cast<int>(s.size()), y, x);
}

void TKsEditStrings::InsertText(int& x, int& y, std::u16string_view s) {
  Changing();
  if (!Multiline()) {
    InsertSingleLine(x, y, s);
    Changed();
    return;
  }
  int offs = 0;
  int p = 0;
  CaretToParagraph(x, y, offs, p);
  if (GetCount() == 0) FParagraphs.InsertText(0, {});
  String d(FParagraphs.Text(p));

  const size_t brk = std::min(s.find(u'\r'), s.find(u'\n'));
  const std::u16string_view first = s.substr(0, std::min(brk, s.size()));
  std::u16string_view rest;
  bool split = false;
  if (brk != std::u16string_view::npos) {
    const bool pair = s[brk] == u'\r' && brk + 1 < s.size() && s[brk + 1] == u'\n';
    rest = s.substr(brk + (pair ? 2 : 1));
    // A lone break that ends S is dropped; a pair always splits.
    split = pair || !rest.empty();
  }

  int tailLength = 0;
  const int oldCount = GetCount();
  if (split) {
    const String tail = d.substr(static_cast<size_t>(offs));
    tailLength = static_cast<int>(tail.size());
    d.resize(static_cast<size_t>(offs));
    InsertParagraphs(p + 1, String(rest) + tail);
  }
  d.insert(static_cast<size_t>(offs), first);
  FParagraphs.SetText(p, d);
  WrapParagraph(p);
  RenumberLines(p);

  if (split) {
    const int last = p + (GetCount() - oldCount);
    CaretFromParagraph(last, FParagraphs.Length(last) - tailLength, y, x);
  } else {
    CaretFromParagraph(p, offs + static_cast<int>(first.size()), y, x);
  }
  Changed();
}

int TKsEditStrings::InsertTextAt(int charNum, std::u16string_view s) {
  int x = 0;
  int y = 0;
  CaretFromChar(charNum, x, y);
  InsertText(x, y, s);
  return CharFromCaret(x, y);
}

String TKsEditStrings::TextRange(int fromChar, int toChar) const {
  if (GetCount() == 0 || fromChar == toChar) return {};
  int p1 = 0, o1 = 0, p2 = 0, o2 = 0;
  CharToParagraph(std::min(fromChar, toChar), p1, o1);
  CharToParagraph(std::max(fromChar, toChar), p2, o2, true);
  if (p1 == p2) return String(FParagraphs.Text(p1).substr(static_cast<size_t>(o1), static_cast<size_t>(o2 - o1)));
  String out(FParagraphs.Text(p1).substr(static_cast<size_t>(o1)));
  for (int i = p1 + 1; i < p2; ++i) {
    out += u"\r\n";
    out += FParagraphs.Text(i);
  }
  out += u"\r\n";
  out += FParagraphs.Text(p2).substr(0, static_cast<size_t>(o2));
  return out;
}

String TKsEditStrings::DeleteText(int fromChar, int toChar) {
  if (GetCount() == 0 || fromChar == toChar) return {};
  int p1 = 0, o1 = 0, p2 = 0, o2 = 0;
  CharToParagraph(std::min(fromChar, toChar), p1, o1);
  CharToParagraph(std::max(fromChar, toChar), p2, o2, true);
  if (p1 == p2 && o1 >= o2) return {};
  String removed = TextRange(CharOf(p1, o1), CharOf(p2, o2));
  Changing();
  String joined(FParagraphs.Text(p1).substr(0, static_cast<size_t>(o1)));
  joined += FParagraphs.Text(p2).substr(static_cast<size_t>(o2));
  for (int i = p2; i > p1; --i) FParagraphs.Delete(i);
  ParagraphsRemoved(p1 + 1, p2 - p1);
  FParagraphs.SetText(p1, joined);
  WrapParagraph(p1);
  RenumberLines(p1);
  Changed();
  return removed;
}

// --- Wrapping

void TKsEditStrings::ParagraphsRemoved(int index, int count) {
  // The longest-paragraph record follows its paragraph, or lapses with it.
  if (count <= 0 || FIdxMaxLen < index) return;
  if (FIdxMaxLen < index + count) ResetMaxLen();
  else FIdxMaxLen -= count;
}

void TKsEditStrings::ResetMaxLen() {
  FMaxLen = 0;
  FIdxMaxLen = 0;
  FMaxStr.clear();
}

void TKsEditStrings::WrapParagraph(int paragraph) {
  if (paragraph < 0 || paragraph >= GetCount()) return;
  if (paragraph == FIdxMaxLen) FMaxLen = 0;
  const std::u16string_view text = FParagraphs.Text(paragraph);
  if (!FKsEdit.WordWrap() || !Multiline()) {
    if (static_cast<int>(text.size()) > FMaxLen) {
      FMaxLen = static_cast<int>(text.size());
      FIdxMaxLen = paragraph;
      FMaxStr = text;
    }
    if (FParagraphs.LinesOf(paragraph) != 1) FParagraphs.SetLineStarts(paragraph, {});
    return;
  }
  FParagraphs.SetLineStarts(paragraph, wrapper_.Wrap(text));
}

void TKsEditStrings::WrapAll() {
  ResetMaxLen();
  FParagraphs.BeginBulk();
  wrapper_.BeginBulk();
  for (int i = 0; i < GetCount(); ++i) WrapParagraph(i);
  wrapper_.EndBulk();
  FParagraphs.EndBulk();
  FKsEdit.UpdateScrollBars();
}

void TKsEditStrings::RenumberLines(int) {
  // The numbering is kept current as paragraphs change; what is left is the scroll range.
  FKsEdit.UpdateScrollBars();
}

}  // namespace kestrel
