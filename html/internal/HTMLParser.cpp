#include "html/internal/HTMLParser.h"

#include <algorithm>

#include "framework/SysUtils.h"
#include "html/HTMLRender.h"
#include "html/internal/HTMLLayout.h"

namespace kestrel {

THTMLParser::THTMLParser(TVnHTMLRender& render, TVnHTMLData& data, std::u16string_view text, int maxWidth,
                         bool autoWrap)
    : render_(render), data_(data), text_(text), maxWidth_(maxWidth), autoWrap_(autoWrap) {}

void THTMLParser::Run() {
  font_ = {data_.DefaultFont(), data_.DefaultHeight(), data_.DefaultColor(), data_.DefaultBgColor()};
  auto first = std::make_unique<TVnHTMLItem>(&data_, hitChar);
  first->FontStyle = data_.DefaultStyle();
  first->FFontRef = font_.FontName;
  first->FontHeight = font_.Height;
  first->FontColor = font_.Color;
  first->FontBgColor = font_.BgColor;
  SetCurrent(std::move(first));

  while (pos_ < text_.size()) ScanCharacter();

  if (HasContent(*cur_)) {
    AppendItem(std::move(cur_));
  } else {
    Discard(std::move(cur_), nullptr);
  }
  if (data_.ItemCount() > 0 && data_.Item(0)->ItemType() != hitPara) {
    data_.Insert(0, std::make_unique<TVnHTMLBreakItem>(&data_, hitPara));
  }
  MeasureHTMLLines(data_);
}

// ---- Character loop ----------------------------------------------------------------------

void THTMLParser::ScanCharacter() {
  const size_t start = pos_;
  const char16_t c = text_[pos_];
  switch (c) {
    case u'<': ReadTag(); return;
    case u'\r': pos_ += (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n') ? 2 : 1; return;
    case u' ':
      pos_ = start + 1;
      AppendUnits(u" ", start, true);
      return;
    case u'&': ScanEntity(); return;
    default: break;
  }
  // A surrogate pair is one character: it is never split across lines.
  size_t length = (IsHighSurrogate(c) && start + 1 < text_.size() && IsLowSurrogate(text_[start + 1])) ? 2 : 1;
  pos_ = start + length;
  AppendUnits(text_.substr(start, length), start, false);
}

void THTMLParser::ScanEntity() {
  const size_t start = pos_;
  const size_t n = text_.size();
  if (start + 1 < n && text_[start + 1] == u' ') {
    pos_ = start + 1;
    AppendUnits(u"&", start, false);
    return;
  }
  if (start + 1 < n && text_[start + 1] == u'#') {
    ScanNumericEntity();
    return;
  }
  size_t semicolon = NextSemicolon(start + 1);
  if (semicolon >= n) {
    // No ';' anywhere after it: a literal '&' without a wrap check.
    AddToRun(u"&");
    pos_ = start + 1;
    return;
  }
  pos_ = semicolon + 1;
  String name = LowerCase(text_.substr(start + 1, semicolon - start - 1));
  if (auto character = LookupHTMLEntity(name)) {
    char16_t unit = *character;
    AppendUnits(std::u16string_view(&unit, 1), start, false);
  }
}

void THTMLParser::ScanNumericEntity() {
  const size_t start = pos_;
  const size_t n = text_.size();
  size_t semicolon = NextSemicolon(start + 2);
  size_t end = std::min(semicolon, n);
  std::u16string_view digits = text_.substr(start + 2, end - (start + 2));
  pos_ = semicolon < n ? semicolon + 1 : n;

  // Plain decimal digits only; anything else reads as a space.
  std::uint32_t value = 32;
  if (!digits.empty() && digits.size() <= 10 &&
      std::all_of(digits.begin(), digits.end(), [](char16_t d) { return d >= u'0' && d <= u'9'; })) {
    std::uint64_t number = 0;
    for (char16_t d : digits) number = number * 10 + static_cast<std::uint64_t>(d - u'0');
    value = number > 0x10FFFF ? 0xFFFD : static_cast<std::uint32_t>(number);
  } else if (!digits.empty() &&
             std::all_of(digits.begin(), digits.end(), [](char16_t d) { return d >= u'0' && d <= u'9'; })) {
    value = 0xFFFD;  // more digits than any code point has
  }
  if (value == 0) return;  // a NUL would cut the run short when it is measured and painted
  if (value == 32) {
    AppendUnits(u" ", start, true);
    return;
  }
  char16_t units[2];
  size_t count = 1;
  if (value > 0xFFFF) {
    value -= 0x10000;
    units[0] = static_cast<char16_t>(0xD800 + (value >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + (value & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<char16_t>(value);
  }
  AppendUnits(std::u16string_view(units, count), start, false);
}

size_t THTMLParser::NextSemicolon(size_t from) {
  if (semicolonKnown_ && from >= semicolonFrom_ && from <= semicolon_) return semicolon_;
  size_t found = text_.find(u';', from);
  semicolon_ = found == std::u16string_view::npos ? text_.size() : found;
  semicolonFrom_ = from;
  semicolonKnown_ = true;
  return semicolon_;
}

void THTMLParser::AddToRun(std::u16string_view units) {
  String& text = cur_->FText;
  if (runAdvanceValid_) {
    if (units.size() == 1 && IsLowSurrogate(units[0]) && !text.empty() && IsHighSurrogate(text.back())) {
      runAdvanceValid_ = false;  // the pair measures differently from its halves
    } else {
      runAdvance_ += CurrentFont().TextWidth(units);
    }
  }
  text.append(units);
  cur_->FTWidth = kHTMLWidthUnknown;
}

void THTMLParser::AppendUnits(std::u16string_view units, size_t constructStart, bool collapseSpace) {
  if (collapseSpace && !cur_->FText.empty() && cur_->FText.back() == u' ') return;
  AddToRun(units);
  if (autoWrap_) WrapCheck(units.size(), constructStart);
}

void THTMLParser::ReadTag() {
  const size_t n = text_.size();
  size_t i = pos_ + 1;
  String name;
  while (i < n && text_[i] != u'>' && text_[i] != u' ') {
    name.push_back(text_[i++]);
    if (name.size() == 3 && name == u"!--") {
      size_t close = text_.find(u"-->", i);
      pos_ = close == std::u16string_view::npos ? n : close + 3;
      return;
    }
  }
  if (i >= n) {
    pos_ = n;  // an unterminated tag name ends the scan
    return;
  }
  THTMLAttributes attrs;
  if (text_[i] == u' ') {
    ++i;
    attrs = THTMLAttributes::Read(text_, i);
  } else if (name.size() >= 2 && name[0] == u'~' && name[1] == u'~') {
    attrs.Add(u"p1", name.substr(2));
    name = u"~~";
  }
  pos_ = i < n ? i + 1 : n;
  if (auto tag = LookupHTMLTag(LowerCase(name))) DoTag(*tag, attrs);
}

// ---- Items -------------------------------------------------------------------------------

bool THTMLParser::HasContent(const TVnHTMLItem& item) const {
  return item.ItemType() != hitChar || !item.Text().empty();
}

std::unique_ptr<TVnHTMLItem> THTMLParser::NewChar(const TVnHTMLItem& from) const {
  auto item = std::make_unique<TVnHTMLItem>(&data_, hitChar);
  item->Assign(from);
  return item;
}

void THTMLParser::SetCurrent(std::unique_ptr<TVnHTMLItem> item) {
  cur_ = std::move(item);
  runAdvance_ = 0;
  runAdvanceValid_ = cur_->FText.empty();
  curFont_ = nullptr;
}

const THTMLFont& THTMLParser::CurrentFont() {
  if (!curFont_) {
    curFont_ = &render_.Measurer().Font(cur_->FFontRef, cur_->EffectiveFontHeight(), cur_->FontStyle, data_.Charset());
  }
  return *curFont_;
}

void THTMLParser::AppendItem(std::unique_ptr<TVnHTMLItem> item) {
  if (!item->IsLink()) lastNonLink_ = data_.ItemCount();
  data_.Append(std::move(item));
}

const TVnHTMLItem* THTMLParser::LastNonLink() {
  if (lastNonLink_ >= data_.ItemCount()) {
    lastNonLink_ = -1;
    for (int k = data_.ItemCount() - 1; k >= 0; --k) {
      if (!data_.Item(k)->IsLink()) {
        lastNonLink_ = k;
        break;
      }
    }
  }
  return lastNonLink_ < 0 ? nullptr : data_.Item(lastNonLink_);
}

void THTMLParser::Discard(std::unique_ptr<TVnHTMLItem> item, TVnHTMLItem* successor) {
  if (item) data_.ReplaceInControls(item.get(), successor);
}

void THTMLParser::RemoveAt(int index, TVnHTMLItem* successor) {
  if (index <= lastNonLink_) lastNonLink_ = INT32_MAX;
  Discard(data_.Extract(index), successor);
  lineValid_ = false;
}

void THTMLParser::Split() {
  auto next = NewChar(*cur_);
  if (HasContent(*cur_)) {
    AppendItem(std::move(cur_));
  } else {
    Discard(std::move(cur_), next.get());
  }
  SetCurrent(std::move(next));
}

TVnHTMLBreakItem* THTMLParser::StartLine(TVnHTMLItemType kind) {
  Split();
  auto brk = std::make_unique<TVnHTMLBreakItem>(&data_, kind);
  brk->Assign(*cur_);
  TVnHTMLBreakItem* raw = brk.get();
  AppendItem(std::move(brk));
  ReplaceCurrent(NewChar(*raw));
  return raw;
}

void THTMLParser::ReplaceCurrent(std::unique_ptr<TVnHTMLItem> next) {
  TVnHTMLItem* successor = next.get();
  Discard(std::move(cur_), successor);
  SetCurrent(std::move(next));
}

void THTMLParser::UpdateLine() {
  const int count = data_.ItemCount();
  if (!lineValid_ || lineScanned_ > count) {
    lineBreak_ = -1;
    for (int k = count - 1; k >= 0; --k) {
      if (data_.Item(k)->IsBreakItem()) {
        lineBreak_ = k;
        break;
      }
    }
    lineScanned_ = lineBreak_ + 1;
    lineSum_ = 0;
    lineValid_ = true;
  }
  for (; lineScanned_ < count; ++lineScanned_) {
    TVnHTMLItem* item = data_.Item(lineScanned_);
    if (item->IsBreakItem()) {
      lineBreak_ = lineScanned_;
      lineSum_ = 0;
    } else {
      lineSum_ += item->GetWidth();
    }
  }
}

int THTMLParser::LastBreakIndex() {
  UpdateLine();
  return lineBreak_;
}

TVnHTMLBreakItem* THTMLParser::LastBreak() {
  int index = LastBreakIndex();
  return index < 0 ? nullptr : static_cast<TVnHTMLBreakItem*>(data_.Item(index));
}

// ---- Wrap check --------------------------------------------------------------------------

int THTMLParser::RunStartPosition() {
  UpdateLine();
  long long x = lineSum_;
  if (lineBreak_ >= 0) x += data_.Item(lineBreak_)->FIndent;
  return static_cast<int>(std::clamp<long long>(x, INT32_MIN, INT32_MAX));
}

int THTMLParser::RunWidth() {
  if (!runAdvanceValid_) {
    runAdvance_ = CurrentFont().TextWidth(cur_->FText);
    runAdvanceValid_ = true;
  }
  return runAdvance_ + 1;
}

void THTMLParser::WrapCheck(size_t unitsAdded, size_t constructStart) {
  const int width = RunWidth();
  cur_->FTWidth = static_cast<std::uint16_t>(std::min(width, 0xFFFE));
  if (static_cast<long long>(width) + RunStartPosition() <= maxWidth_) return;
  cur_->FTWidth = kHTMLWidthUnknown;

  String& text = cur_->FText;
  size_t lastSpace = text.rfind(u' ');
  size_t c = lastSpace == String::npos ? 0 : lastSpace + 1;  // 1-based, 0 = none
  String moved;
  TVnHTMLItem* last = data_.Last();
  if (c == 0 && last && last->IsBreakItem()) {
    moved = text.substr(text.size() - unitsAdded);
    text.resize(text.size() - unitsAdded);
  } else {
    if (text.size() > unitsAdded) {
      text.resize(text.size() - unitsAdded);
      pos_ = constructStart;  // read the character (or the entity it came from) again
    }
    if (c < text.size()) {
      moved = text.substr(c);
      text.resize(c);
    }
  }

  std::unique_ptr<TVnHTMLItem> run = std::move(cur_);
  run->FTWidth = kHTMLWidthUnknown;
  const bool runEmpty = run->Text().empty();
  TVnHTMLItem* runRaw = run.get();
  AppendItem(std::move(run));
  auto soft = std::make_unique<TVnHTMLBreakItem>(&data_, hitSoftBreak);
  soft->Assign(*runRaw);
  soft->AssignBreakProps(LastBreak());
  auto next = NewChar(*soft);
  next->SetText(moved);
  if (runEmpty) RemoveAt(data_.ItemCount() - 1, next.get());
  AppendItem(std::move(soft));
  SetCurrent(std::move(next));
}

}  // namespace kestrel
