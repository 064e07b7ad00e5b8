#include "edit/KsEditCore.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "framework/SysUtils.h"
#include "platform/text/CaseMapping.h"
#include "platform/window/Clipboard.h"

namespace kestrel {

namespace {

constexpr int WheelDelta = 120;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// 2 for a CR LF at Index, else 1.
int BreakLengthAt(std::u16string_view text, int index) {
  const auto i = static_cast<size_t>(index);
  return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
}

}  // namespace

TKsEditCore::TKsEditCore(IKsEditHost& host, IKsEditCoreEvents& events)
    : host_(host),
      events_(events),
      FKsEditList(std::make_unique<TKsEditStrings>(host)),
      FUndoList(std::make_unique<TKsActionList>()),
      FRedoList(std::make_unique<TKsActionList>()) {
  FUndoList->Attach(FKsEditList.get());
}

TKsEditCore::~TKsEditCore() = default;

// --- Settings

void TKsEditCore::SetMaxLength(int value) {
  if (value < 0) return;
  FMaxLength = value;
  if (value > 0 && TextLength() > value) SetText(CutToRoom(Text(), value));
}

void TKsEditCore::SetCharCase(TKsEditCharCase value) {
  FCharCase = value;
  if (value != eecNormal) SetText(ApplyCase(Text()));
}

String TKsEditCore::ApplyCase(String text) const {
  // One unit for one unit, so that no position moves.
  const auto length = static_cast<platform::DWORD>(text.size());
  if (FCharCase == eecUpperCase) platform::CharUpperBuffW(text.data(), length);
  if (FCharCase == eecLowerCase) platform::CharLowerBuffW(text.data(), length);
  return text;
}

// --- Text

String TKsEditCore::Text() const { return FKsEditList->Text(); }

void TKsEditCore::SetText(const String& value, bool loading) {
  if (loading) {
    FKsEditList->SetText(value);
    TextReset();
    return;
  }
  if (value == Text()) return;
  FUndoList->Clear();
  FRedoList->Clear();
  ApplyText(ApplyCase(value));
}

void TKsEditCore::ApplyText(std::u16string_view value) {
  FKsEditList->SetTextFrom(value);
  // The records describe the old text; none of them can be replayed on this one.
  FUndoList->Clear();
  TextReset();
  events_.AfterChange();
  if (!FNotifyUserChangeOnly) events_.Change();
  events_.SelectionChange();
  events_.InvalidateEditRect();
}

void TKsEditCore::TextReset() {
  FCaretX = FCaretY = 0;
  FSelStartX = FSelStartY = FSelFirstX = FSelFirstY = FSelLastX = FSelLastY = 0;
  FSelected = false;
  FTopLine = FLeftChar = 0;
  events_.ViewChanged();
  events_.CaretMoved();
}

int TKsEditCore::LineLength(int y) const {
  if (y < 0 || y >= LinesCount()) return 0;
  return static_cast<int>(FKsEditList->GetLine(y).size());
}

std::u16string_view TKsEditCore::ParagraphText(int paragraph) const {
  return FKsEditList->Paragraphs().Text(paragraph);
}

// --- Caret

bool TKsEditCore::SameParagraph(int y1, int y2) const {
  int p1 = 0, p2 = 0, i = 0;
  FKsEditList->IndexToParagraph(y1, p1, i);
  FKsEditList->IndexToParagraph(y2, p2, i);
  return p1 == p2;
}

int TKsEditCore::OffPairMiddle(int x, int y, bool forwards) const {
  if (x <= 0 || x >= LineLength(y)) return x;
  const String line = FKsEditList->GetLine(y);
  if (!IsHighSurrogate(line[x - 1]) || !IsLowSurrogate(line[x])) return x;
  return forwards ? x + 1 : x - 1;
}

void TKsEditCore::ScrollToCaretLine() {
  int top = FTopLine;
  if (FCaretY < top) top = FCaretY;
  if (FCaretY >= top + FLinesInRect) top = FCaretY - FLinesInRect + 1;
  if (top == FTopLine) return;
  FTopLine = top;
  events_.ViewChanged();
}

void TKsEditCore::PlaceCaret(TKsCaretPos pos) {
  FCaretY = std::clamp(pos.Y, 0, std::max(0, LinesCount() - 1));
  FCaretX = std::clamp(pos.X, 0, LineLength(FCaretY));
  ScrollToCaretLine();
  events_.CaretMoved();
}

void TKsEditCore::SetCaretX(int value) {
  if (value == FCaretX) return;
  const bool forwards = value > FCaretX;
  int x = value;
  int y = FCaretY;
  const int length = LineLength(y);
  if (x > length) {
    if (AtLastLine() || lineEndMove_) {
      x = length;
    } else {
      // The end of a wrapped line and the start of the next are one paragraph offset.
      ++y;
      x = SameParagraph(y - 1, y) ? 1 : 0;
    }
  } else if (x < 0) {
    if (y > 0) {
      --y;
      x = SameParagraph(y, y + 1) ? LineLength(y) - 1 : LineLength(y);
    } else {
      x = 0;
    }
  }
  x = std::clamp(x, 0, LineLength(y));
  PlaceCaret({OffPairMiddle(x, y, forwards), y});
}

void TKsEditCore::SetCaretY(int value) {
  value = std::clamp(value, 0, std::max(0, LinesCount() - 1));
  if (value == FCaretY) return;
  FCaretY = value;
  ScrollToCaretLine();
  FCaretX = OffPairMiddle(std::min(FCaretX, LineLength(FCaretY)), FCaretY, false);
  events_.CaretMoved();
}

void TKsEditCore::SetCaretXY(TKsCaretPos value) {
  SetCaretY(value.Y);
  SetCaretX(value.X);
}

void TKsEditCore::SetCaretChar(int charNum) { PlaceCaret(CaretFromChar(charNum)); }

TKsCaretPos TKsEditCore::CaretFromChar(int charNum) const {
  TKsCaretPos pos;
  FKsEditList->CaretFromChar(std::clamp(charNum, 0, TextLength()), pos.X, pos.Y);
  return pos;
}

// --- Selection

void TKsEditCore::SetAnchorToCaret() {
  FSelStartX = FCaretX;
  FSelStartY = FCaretY;
  if (!FSelected) {
    FSelFirstX = FSelLastX = FCaretX;
    FSelFirstY = FSelLastY = FCaretY;
  }
}

void TKsEditCore::AnchorFollows() {
  if (Anchor() == CaretXY()) return;
  SetAnchorToCaret();
  events_.SelectionChange();
}

void TKsEditCore::ExtendSelection(int x, int y) {
  TKsCaretPos first = Anchor();
  TKsCaretPos last{x, y};
  if (last.Y < first.Y || (last.Y == first.Y && last.X < first.X)) std::swap(first, last);
  const bool changed = first != SelFirst() || last != SelLast();
  FSelFirstX = first.X;
  FSelFirstY = first.Y;
  FSelLastX = last.X;
  FSelLastY = last.Y;
  FSelected = first != last;
  if (changed) events_.SelectionChange();
}

void TKsEditCore::ExtendCaretTo(TKsCaretPos pos) {
  PlaceCaret(pos);
  ExtendSelection(FCaretX, FCaretY);
  events_.InvalidateEditRect();
}

void TKsEditCore::Deselect() {
  if (!FSelected) return;
  FSelFirstX = FSelLastX = FSelStartX;
  FSelFirstY = FSelLastY = FSelStartY;
  FSelected = false;
  events_.SelectionChange();
  events_.InvalidateEditRect();
}

bool TKsEditCore::RemoveSelection() {
  if (!FSelected) return false;
  const int anchor = CharFromCaret(FSelStartX, FSelStartY);
  const int first = CharFromCaret(FSelFirstX, FSelFirstY);
  const String removed = FKsEditList->DeleteText(first, CharFromCaret(FSelLastX, FSelLastY));
  FUndoList->AddAction(atDeleteSel, anchor, removed, first);
  FSelected = false;
  PlaceCaret(CaretFromChar(first));
  SetAnchorToCaret();
  events_.SelectionChange();
  events_.InvalidateEditRect();
  return true;
}

bool TKsEditCore::DeleteSelection() { return !FReadOnly && RemoveSelection(); }

void TKsEditCore::SelectChars(int anchor, int caret) {
  const TKsCaretPos a = CaretFromChar(anchor);
  FSelected = false;
  PlaceCaret(a);
  SetAnchorToCaret();
  ExtendCaretTo(CaretFromChar(caret));
}

void TKsEditCore::SelectAll() { SelectChars(0, TextLength()); }

int TKsEditCore::SelStart() const { return FSelected ? CharFromCaret(FSelFirstX, FSelFirstY) : CaretChar(); }

void TKsEditCore::SetSelStart(int value) {
  Deselect();
  SetCaretChar(value);
  SetAnchorToCaret();
}

int TKsEditCore::SelLength() const {
  if (!FSelected) return 0;
  return CharFromCaret(FSelLastX, FSelLastY) - CharFromCaret(FSelFirstX, FSelFirstY);
}

void TKsEditCore::SetSelLength(int value) {
  if (value == 0) return Deselect();
  const int start = SelStart();
  // Any length is taken, up to the ends of the text.
  SelectChars(start, static_cast<int>(std::clamp<std::int64_t>(std::int64_t{start} + value, 0, TextLength())));
}

String TKsEditCore::SelText() const {
  if (!FSelected) return {};
  return FKsEditList->TextRange(CharFromCaret(FSelFirstX, FSelFirstY), CharFromCaret(FSelLastX, FSelLastY));
}

void TKsEditCore::SetSelText(const String& value) {
  AddGroupBreak();
  RemoveSelection();
  // Recorded, so that an undo after it still acts on the text the records describe.
  if (!value.empty()) InsertRecorded(value);
  AddGroupBreak();
  events_.AfterChange();
  if (!FNotifyUserChangeOnly) events_.Change();
  events_.InvalidateEditRect();
}

void TKsEditCore::InsertRecorded(const String& text) {
  const int start = CaretChar();
  const int end = FKsEditList->InsertTextAt(start, text);
  FUndoList->AddAction(atInsert, start, text, end);
  FSelected = false;
  PlaceCaret(CaretFromChar(end));
  SetAnchorToCaret();
}

void TKsEditCore::Rewrap() {
  const int anchor = CharFromCaret(FSelStartX, FSelStartY);
  const int caret = CaretChar();
  FKsEditList->WrapAll();
  SelectChars(anchor, caret);
}

void TKsEditCore::KeepInText() {
  // Runs after every change: the lengths are read without copying the lines.
  const auto length = [this](int y) {
    int p = 0, line = 0;
    if (!FKsEditList->IndexToParagraph(y, p, line)) return 0;
    return static_cast<int>(FKsEditList->Paragraphs().Line(p, line).size());
  };
  const int lastY = std::max(0, LinesCount() - 1);
  const auto inside = [&](int& x, int& y) {
    if (y > lastY) {
      y = lastY;
      x = length(y);
    }
    x = std::clamp(x, 0, length(y));
  };
  const TKsCaretPos caret = CaretXY();
  inside(FCaretX, FCaretY);
  inside(FSelStartX, FSelStartY);
  inside(FSelFirstX, FSelFirstY);
  inside(FSelLastX, FSelLastY);
  FSelected = SelFirst() != SelLast();
  if (FTopLine > lastY) SetTopLine(FTopLine);
  if (CaretXY() != caret) events_.CaretMoved();
}

// --- View

void TKsEditCore::SetTopLine(int value) {
  value = std::max(value, 0);
  if (LinesCount() - value < FLinesInRect) value = std::max(0, LinesCount() - FLinesInRect);
  if (value == FTopLine) return;
  FTopLine = value;
  events_.CaretMoved();
  events_.ViewChanged();
}

void TKsEditCore::SetLeftChar(int value) {
  if (host_.Multiline() && host_.WordWrap()) return;
  value = std::clamp(value, 0, std::max(0, FKsEditList->MaxLen()));
  if (value == FLeftChar) return;
  FLeftChar = value;
  events_.CaretMoved();
  events_.ViewChanged();
}

std::optional<int> TKsEditCore::ScrollTarget(TKsScrollRequest request, int current, int line, int page, int thumbPos,
                                             int end) {
  switch (request) {
    case ksrLineUp: return current - line;
    case ksrLineDown: return current + line;
    case ksrPageUp: return current - page;
    case ksrPageDown: return current + page;
    case ksrThumbPosition:
    case ksrThumbTrack: return thumbPos;
    case ksrTop: return 0;
    case ksrBottom: return end;
    default: return std::nullopt;
  }
}

int TKsEditCore::VertScrollTarget(TKsScrollRequest request, int thumbPos) const {
  const auto target = ScrollTarget(request, FTopLine, 1, FLinesInRect, thumbPos, LinesCount() - FLinesInRect);
  if (!target) return -1;
  // Paging up near the top reaches line 0 instead of doing nothing.
  const int top = std::max(*target, 0);
  return top >= LinesCount() ? -1 : top;
}

int TKsEditCore::HorzScrollTarget(TKsScrollRequest request, int thumbPos, int pageChars, int barPage) const {
  const int maxLen = FKsEditList->MaxLen();
  const auto target = ScrollTarget(request, FLeftChar, 5, pageChars, thumbPos, maxLen - barPage - 1);
  if (!target || *target > maxLen) return -1;
  if (*target < 0) return FLeftChar >= 1 ? 0 : -1;
  return *target;
}

int TKsEditCore::PaintedWidth(std::u16string_view s) const {
  return static_cast<int>(FKsEditList->TextSize(FKsEditList->ExpandTabs(s)).cx);
}

int TKsEditCore::LeftCharFor(const String& line, int back) const {
  return std::max(0, FCaretX - FKsEditList->CharsFitLeft(back, line, FCaretX));
}

void TKsEditCore::ScrollToCaret(TAlignment alignment) {
  if (!host_.HasWindow()) return;
  const platform::RECT r = host_.EditRect();
  const int room = r.right - host_.RightMargin() - r.left - host_.LeftMargin();
  const int threeQuarters = (room / 4) * 3;
  const String line = FKsEditList->MaskText(FKsEditList->GetLine(FCaretY));
  const int length = static_cast<int>(line.size());
  const int caret = std::min(FCaretX, length);
  const int width = PaintedWidth(line);
  FForceLeftAlignment = width > room;
  const auto shownFromLeft = [&] {
    return PaintedWidth(std::u16string_view(line).substr(static_cast<size_t>(std::min(FLeftChar, caret)),
                                                         static_cast<size_t>(std::max(0, caret - FLeftChar))));
  };
  int left = FLeftChar;
  if (alignment == taCenter && !FForceLeftAlignment) {
    left = 0;
  } else if (alignment == taLeftJustify || FForceLeftAlignment) {
    const bool forcedRight = alignment != taLeftJustify;
    const int fit =
        forcedRight ? FKsEditList->CharsFitLeft(room, line, length) : FKsEditList->CharsFitRight(room, line, FLeftChar);
    if (caret <= FLeftChar + fit) {
      if (caret <= FLeftChar && FLeftChar > 0) left = LeftCharFor(line, threeQuarters);
      else if (caret > FLeftChar && forcedRight && FLeftChar > 0)
        left = length - FKsEditList->CharsFitLeft(room, line, length);
    } else if (shownFromLeft() >= room) {
      left = LeftCharFor(line, !host_.Multiline() && forcedRight ? room : threeQuarters);
    }
  } else if (width >= room) {
    const int fit = FKsEditList->CharsFitRight(room, line, FLeftChar);
    if (caret > FLeftChar + fit && shownFromLeft() >= room) left = LeftCharFor(line, threeQuarters);
    else if (caret <= FLeftChar && FLeftChar > 0) left = caret;
  } else {
    left = 0;
  }
  if (host_.Multiline() && host_.WordWrap()) return;
  if (left == FLeftChar) return;
  FLeftChar = left;
  events_.ViewChanged();
}

int TKsEditCore::WheelLines(int delta, int wheelLines) {
  // A negative setting scrolls a page per notch.
  int perNotch = wheelLines < 0 ? FLinesInRect : wheelLines;
  perNotch = std::max(perNotch, 1);
  if ((wheelRest_ > 0 && delta < 0) || (wheelRest_ < 0 && delta > 0)) wheelRest_ = 0;
  // Small deltas (touchpads) add up until they make a line.
  wheelRest_ += delta * perNotch;
  const int lines = wheelRest_ / WheelDelta;
  wheelRest_ -= lines * WheelDelta;
  return lines;
}

void TKsEditCore::Scroll(int direction) {
  if (direction < ksrLineUp || direction > ksrPageDown) return;
  const int target = VertScrollTarget(static_cast<TKsScrollRequest>(direction), 0);
  if (target >= 0) SetTopLine(target);
}

// --- Words

TKsCaretPos TKsEditCore::GetNextWord(TKsCaretPos caret) const {
  int p = 0, o = 0;
  FKsEditList->CaretToParagraph(caret.X, caret.Y, o, p);
  const std::u16string_view text = ParagraphText(p);
  const int length = static_cast<int>(text.size());
  TKsCaretPos result = caret;
  if (o >= length) {
    if (p + 1 < FKsEditList->Count()) FKsEditList->CaretFromParagraph(p + 1, 0, result.Y, result.X);
    return result;
  }
  const bool blank = IsBlank(text[o]);
  int i = o;
  while (i < length && !IsBreak(text[i]) && IsBlank(text[i]) == blank) ++i;
  if (!blank)
    while (i < length && IsBlank(text[i])) ++i;
  if (i == o) i += BreakLengthAt(text, o);  // a break inside a single line: step over it
  FKsEditList->CaretFromParagraph(p, i, result.Y, result.X);
  return result;
}

TKsCaretPos TKsEditCore::GetPrevWord(TKsCaretPos caret) const {
  int p = 0, o = 0;
  TKsCaretPos result;
  if (caret.X < 0) {
    FKsEditList->CaretToParagraph(0, caret.Y, o, p);
    if (o == 0) {
      // Before the start of a paragraph: the end of the previous one.
      if (p > 0)
        FKsEditList->CaretFromParagraph(p - 1, static_cast<int>(ParagraphText(p - 1).size()), result.Y, result.X);
      return result;
    }
    --o;
  } else {
    FKsEditList->CaretToParagraph(caret.X, caret.Y, o, p);
  }
  const std::u16string_view text = ParagraphText(p);
  o = std::min(o, static_cast<int>(text.size()) - 1);
  int i = std::max(o, 0);
  if (i > 0 && IsBreak(text[i])) {
    // A break inside a single line: step back over it (CR LF as one).
    if (text[i] == u'\n' && text[i - 1] == u'\r') --i;
  } else if (i > 0) {
    const bool blank = IsBlank(text[i]);
    while (i > 0 && !IsBreak(text[i]) && IsBlank(text[i]) == blank) --i;
    if (i > 0 && blank)
      while (i > 0 && !IsBreak(text[i]) && !IsBlank(text[i])) --i;
    if (i > 0) ++i;
  }
  FKsEditList->CaretFromParagraph(p, i, result.Y, result.X);
  return result;
}

// --- Bookmarks and the stress mark

void TKsEditCore::SetBookmark(int index) {
  if (index < 0 || index >= BookmarkCount) return;
  TKsCaretPos& mark = FBookmarks[static_cast<size_t>(index)];
  mark = mark == CaretXY() ? TKsCaretPos{-1, -1} : CaretXY();
}

void TKsEditCore::GotoBookmark(int index) {
  if (index < 0 || index >= BookmarkCount) return;
  SetCaretXY(FBookmarks[static_cast<size_t>(index)]);
}

TKsCaretPos TKsEditCore::Bookmark(int index) const {
  if (index < 0 || index >= BookmarkCount) return {-1, -1};
  return FBookmarks[static_cast<size_t>(index)];
}

void TKsEditCore::SetStress(int x, int y) {
  if (FReadOnly) return;
  const int at = CharFromCaret(x, y);
  const bool marked = at > 0 && FKsEditList->TextRange(at - 1, at) == String(1, StressMark);
  // The mark is added to the text, nothing selected is replaced.
  const bool room = FMaxLength == 0 || TextLength() < FMaxLength;
  if (!marked && room) {
    // Recorded like typing, so that undo stays in step with the text.
    FSelected = false;
    PlaceCaret(CaretFromChar(at));
    InsertRecorded(String(1, StressMark));
    PlaceCaret(CaretFromChar(at));
    SetAnchorToCaret();
    FModified = true;
    events_.InvalidateEditRect();
  }
  ExecuteCommand(kscmd::Right, 0, {});
}

// --- Clipboard

bool TKsEditCore::CopyToClipboard() {
  if (host_.PasswordChar() != 0 || !FSelected) return false;
  return platform::SetClipboardUnicodeText(SelText());
}

bool TKsEditCore::CutToClipboard() {
  if (!CopyToClipboard() || FReadOnly) return false;
  RemoveSelection();
  events_.AfterChange();
  events_.Change();
  events_.SelectionChange();
  return true;
}

bool TKsEditCore::PasteFromClipboard() {
  if (FReadOnly) return false;
  return PasteText(platform::GetClipboardUnicodeText());
}

String TKsEditCore::CutToRoom(String text, int room) {
  room = std::max(room, 0);
  if (static_cast<int>(text.size()) <= room) return text;
  if (room > 0 && IsHighSurrogate(text[room - 1])) --room;
  if (room > 0 && text[room - 1] == u'\r' && text[room] == u'\n') --room;
  text.resize(static_cast<size_t>(room));
  return text;
}

bool TKsEditCore::PasteText(String text) {
  if (FReadOnly || text.empty()) return false;
  const int room = FMaxLength - (TextLength() - SelLength());
  if (FMaxLength > 0) text = CutToRoom(std::move(text), room);
  text = ApplyCase(std::move(text));
  if (text.empty()) return false;
  RemoveSelection();
  events_.PasteClipboardText(text);
  // A handler may lengthen the text; the limit still holds.
  if (FMaxLength > 0) text = CutToRoom(std::move(text), room);
  if (!text.empty()) InsertRecorded(text);
  events_.AfterChange();
  events_.Change();
  events_.InvalidateEditRect();
  return true;
}

// --- Drag and drop

bool TKsEditCore::DropText(const String& text, int dropChar, bool move) {
  if (FReadOnly || text.empty()) return false;
  dropChar = std::clamp(dropChar, 0, TextLength());
  const int first = SelStart();
  const int last = first + SelLength();
  if (FSelected && dropChar >= first && dropChar <= last) {
    Deselect();  // onto the own selection: nothing is removed
    move = false;
  }
  AddGroupBreak();
  if (move && RemoveSelection() && dropChar > last) dropChar -= last - first;
  FSelected = false;
  PlaceCaret(CaretFromChar(dropChar));
  SetAnchorToCaret();
  InsertRecorded(text);
  SelectChars(dropChar, CaretChar());
  AddGroupBreak();
  FModified = true;
  events_.AfterChange();
  events_.Change();
  events_.InvalidateEditRect();
  return true;
}

// --- Undo

void TKsEditCore::Undo() {
  TKsUndoSelection selection{CharFromCaret(FSelStartX, FSelStartY), CaretChar()};
  if (FUndoList->Undo(*FKsEditList, selection, [this] { events_.InvalidateEditRect(); }))
    SelectChars(selection.Anchor, selection.Caret);
  FModified = CanUndo();
  events_.AfterChange();
  if (!FNotifyUserChangeOnly) events_.Change();
}

// --- Editing commands

bool TKsEditCore::RoomFor(int count) const {
  return FMaxLength == 0 || TextLength() - SelLength() + count <= FMaxLength;
}

bool TKsEditCore::RoomToType() const { return FMaxLength == 0 || TextLength() < FMaxLength || FSelected; }

void TKsEditCore::AfterEdit(std::uint64_t stampBefore) {
  events_.InvalidateEditRect();
  // Only a real change marks the text and is announced: also one that just reached MaxLength.
  if (FKsEditList->ChangeStamp() == stampBefore) return;
  FModified = true;
  events_.AfterChange();
  events_.Change();
  events_.SelectionChange();
}

void TKsEditCore::TypeText(String text) {
  // Read-only blocks every way of typing, WM_UNICHAR and input-method results included.
  if (FReadOnly) return;
  text = ApplyCase(std::move(text));
  events_.KeyPressEx(text);
  // Several characters at once (a translated key, an input-method result, a handler's rewrite)
  // still keep the text within MaxLength.
  if (FMaxLength > 0) text = CutToRoom(std::move(text), FMaxLength - (TextLength() - SelLength()));
  if (text.empty()) return;
  AddGroupBreak();
  RemoveSelection();
  const TKsCaretPos before = Anchor();
  InsertRecorded(text);
  FModified = true;
  events_.AfterChange();
  events_.Change();
  if (before != Anchor()) events_.SelectionChange();
  events_.InvalidateEditRect();
  AddGroupBreak();
}

void TKsEditCore::BackSpace() {
  if (FReadOnly) return;
  const std::uint64_t stamp = FKsEditList->ChangeStamp();
  if (!RemoveSelection()) {
    const int caret = CaretChar();
    const int before = FKsEditList->PrevCharPos(caret);
    if (before < caret) {
      const String removed = FKsEditList->DeleteText(before, caret);
      FUndoList->AddAction(atBackSpace, caret, removed, before);
      PlaceCaret(CaretFromChar(before));
      SetAnchorToCaret();
    } else if (FKsEditList->Count() > 1 && ParagraphText(0).empty()) {
      // At the very start only an empty first paragraph goes; its break is what is deleted.
      const String removed = FKsEditList->DeleteText(0, TKsParagraphList::BreakLength);
      FUndoList->AddAction(atDelete, 0, removed, 0);
      PlaceCaret({0, 0});
    }
    if (LinesCount() <= FLinesInRect) SetTopLine(0);
  }
  AfterEdit(stamp);
}

void TKsEditCore::DeleteChar() {
  if (FReadOnly) return;
  const std::uint64_t stamp = FKsEditList->ChangeStamp();
  if (!RemoveSelection()) {
    const int caret = CaretChar();
    const int after = FKsEditList->NextCharPos(caret);
    if (after > caret) {
      const String removed = FKsEditList->DeleteText(caret, after);
      FUndoList->AddAction(atDelete, caret, removed, caret);
    }
    PlaceCaret(CaretFromChar(caret));
    SetAnchorToCaret();
  }
  if (LinesCount() <= FLinesInRect) SetTopLine(0);
  AfterEdit(stamp);
}

void TKsEditCore::NewLine() {
  // A break is two characters: it must fit under MaxLength whole.
  if (!host_.Multiline() || FReadOnly || !RoomFor(TKsParagraphList::BreakLength)) return;
  const std::uint64_t stamp = FKsEditList->ChangeStamp();
  RemoveSelection();
  const int caret = CaretChar();
  // At column 0 of a continuation line an empty line appears between the two halves.
  const bool continuation = FCaretX == 0 && FCaretY > 0 && SameParagraph(FCaretY - 1, FCaretY);
  if (continuation) FUndoList->AddAction(atLineBreak, caret, u"", caret);
  const int end = FKsEditList->InsertTextAt(caret, continuation ? u"\r\n\r\n" : u"\r\n");
  // The record covers every break inserted, so that one undo removes them all.
  FUndoList->AddAction(atInsert, caret, u"", end);
  PlaceCaret(CaretFromChar(end));
  SetAnchorToCaret();
  AfterEdit(stamp);
}

void TKsEditCore::InsertTab() {
  if (!FWantTabs || FReadOnly || !RoomFor(static_cast<int>(FTabString.size()))) return;
  const std::uint64_t stamp = FKsEditList->ChangeStamp();
  AddGroupBreak();
  RemoveSelection();
  InsertRecorded(FTabString);
  AddGroupBreak();
  AfterEdit(stamp);
}

void TKsEditCore::DeleteWord(bool forward) {
  if (FReadOnly) return;
  const std::uint64_t stamp = FKsEditList->ChangeStamp();
  // A selection goes first, however it was made; then the word from the caret.
  RemoveSelection();
  SetAnchorToCaret();
  const TKsCaretPos target = forward ? GetNextWord(CaretXY()) : GetPrevWord({FCaretX - 1, FCaretY});
  ExtendCaretTo(target);
  RemoveSelection();
  AfterEdit(stamp);
}

void TKsEditCore::MoveCaretFor(TKsCommand move) {
  using namespace kscmd;
  switch (move) {
    case Left: SetCaretX(std::max(FCaretX - 1, 0)); break;
    case Right: SetCaretX(FCaretX + 1); break;
    case Up: SetCaretY(FCaretY - 1); break;
    case Down: SetCaretY(FCaretY + 1); break;
    case PageUp: SetCaretY(FCaretY - FLinesInRect); break;
    case PageDown: SetCaretY(FCaretY + FLinesInRect); break;
    case LineStart: SetCaretX(0); break;
    case LineEnd:
      lineEndMove_ = true;
      SetCaretX(LineLength(FCaretY));
      lineEndMove_ = false;
      break;
    case NextWord: PlaceCaret(GetNextWord(CaretXY())); break;
    case PrevWord: PlaceCaret(GetPrevWord({FCaretX - 1, FCaretY})); break;
    case TextStart: PlaceCaret({0, 0}); break;
    case TextEnd: PlaceCaret(CaretFromChar(TextLength())); break;
    default: break;
  }
}

bool TKsEditCore::MoveCommand(TKsCommand command) {
  using namespace kscmd;
  if (command < Left || command > TextEnd) return false;
  const bool always = command != NextWord && command != PrevWord && command != TextStart && command != TextEnd;
  if (always || FSelected) Deselect();
  MoveCaretFor(command);
  if (command == PrevWord) {
    SetAnchorToCaret();
    events_.SelectionChange();
  }
  AnchorFollows();
  if (command == NextWord || command == PrevWord) events_.InvalidateEditRect();
  return true;
}

bool TKsEditCore::SelectCommand(TKsCommand command) {
  using namespace kscmd;
  // Each selecting command makes the move of its plain twin and extends the selection to it.
  static constexpr std::pair<TKsCommand, TKsCommand> twins[] = {
      {SelectRight, Right},     {SelectLineStart, LineStart}, {SelectLineEnd, LineEnd},   {SelectTextStart, TextStart},
      {SelectTextEnd, TextEnd}, {SelectPrevWord, PrevWord},   {SelectNextWord, NextWord}, {SelectUp, Up},
      {SelectDown, Down},       {SelectPageUp, PageUp},       {SelectPageDown, PageDown}};
  if (command == SelectLeft) {
    SetCaretX(FCaretX - 1);  // unlike Left, may step onto the previous line
  } else {
    const auto* twin =
        std::find_if(std::begin(twins), std::end(twins), [&](const auto& t) { return t.first == command; });
    if (twin == std::end(twins)) return false;
    MoveCaretFor(twin->second);
  }
  ExtendSelection(FCaretX, FCaretY);
  events_.InvalidateEditRect();
  return true;
}

void TKsEditCore::CommandCenter(TKsCommand command, char16_t ch, const String& data) {
  events_.BeforeCommand(command, ch, data);
  ExecuteCommand(command, ch, data);
  events_.AfterCommand(command, ch, data);
}

void TKsEditCore::ExecuteCommand(TKsCommand command, char16_t ch, const String& data) {
  if (MoveCommand(command) || SelectCommand(command)) return;
  if (command >= kscmd::SetBookmark0 && command < kscmd::SetBookmark0 + BookmarkCount)
    return SetBookmark(command - kscmd::SetBookmark0);
  if (command >= kscmd::GotoBookmark0 && command < kscmd::GotoBookmark0 + BookmarkCount)
    return GotoBookmark(command - kscmd::GotoBookmark0);
  switch (command) {
    case kscmd::Undo:
      if (!FReadOnly) Undo();
      break;
    // Modified only when something was cut or pasted.
    case kscmd::Cut:
      if (CutToClipboard()) FModified = true;
      break;
    case kscmd::Copy: CopyToClipboard(); break;
    case kscmd::Paste:
      if (PasteFromClipboard()) FModified = true;
      break;
    case kscmd::BackSpace: this->BackSpace(); break;
    case kscmd::DeleteChar: this->DeleteChar(); break;
    case kscmd::DeletePrevWord: DeleteWord(false); break;
    case kscmd::DeleteNextWord: DeleteWord(true); break;
    case kscmd::Type:
    case kscmd::TypeComposition: TypeText(data.empty() && ch != 0 ? String(1, ch) : data); break;
    case kscmd::NewLine: this->NewLine(); break;
    case kscmd::Tab: InsertTab(); break;
    case kscmd::SetStress: this->SetStress(FCaretX, FCaretY); break;
    case kscmd::SelectAll: this->SelectAll(); break;
    case kscmd::DeleteSelection:
      // Marked and announced only when text went.
      if (!this->DeleteSelection()) break;
      FModified = true;
      if (FNotifyUserChangeOnly) events_.Change();
      break;
    case kscmd::Deselect: this->Deselect(); break;
    default: break;  // 0, indent, unindent and unknown codes do nothing
  }
}

}  // namespace kestrel
