// The tag actions of the parser.

#include <algorithm>
#include <cstdlib>

#include "framework/Component.h"
#include "framework/Control.h"
#include "framework/Exceptions.h"
#include "framework/Picture.h"
#include "framework/PropertyPath.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "framework/WinControl.h"
#include "html/HTMLRender.h"
#include "html/internal/HTMLParser.h"

namespace kestrel {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

// Windows' MulDiv: the product in 64 bits, rounded half away from zero.
int MulDivRound(int number, int numerator, int denominator) {
  long long product = static_cast<long long>(number) * numerator;
  long long half = denominator / 2;
  long long result = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int>(std::clamp<long long>(result, INT32_MIN, INT32_MAX));
}

int ClampInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX)); }

bool TryNumber(const String& text, int& value) { return TryStrToInt(text, value); }

// "#RRGGBB" or a colour identifier ("cl" added when missing); false leaves `color` alone.
bool ParseHTMLColor(const String& value, TColor& color) {
  if (value.size() > 1 && value[0] == u'#') {
    std::uint32_t rgb = 0;
    for (size_t i = 1; i < value.size(); ++i) {
      char16_t d = value[i];
      unsigned digit;
      if (d >= u'0' && d <= u'9') digit = d - u'0';
      else if (d >= u'a' && d <= u'f') digit = d - u'a' + 10;
      else if (d >= u'A' && d <= u'F') digit = d - u'A' + 10;
      else return IdentToColor(u"cl" + value, color);
      rgb = (rgb << 4) | digit;
    }
    std::uint32_t shifted = rgb << 8;
    std::uint32_t bgr =
        ((shifted & 0xFF) << 24) | ((shifted & 0xFF00) << 8) | ((shifted >> 8) & 0xFF00) | (shifted >> 24);
    color = static_cast<TColor>(bgr);
    return true;
  }
  String name = value.compare(0, 2, u"cl") == 0 ? value : u"cl" + value;
  return IdentToColor(name, color);
}

}  // namespace

void THTMLParser::DoTag(THTMLTag tag, const THTMLAttributes& attrs) {
  switch (tag) {
    case THTMLTag::Html: return;
    case THTMLTag::B: return DoStyle(hfsBold, true);
    case THTMLTag::I: return DoStyle(hfsItalic, true);
    case THTMLTag::Var: return DoStyle(hfsBold | hfsItalic, true);
    case THTMLTag::U: return DoStyle(hfsUnderline, true);
    case THTMLTag::S: return DoStyle(hfsStrikeOut, true);
    case THTMLTag::EndB: return DoStyle(hfsBold, false);
    case THTMLTag::EndI: return DoStyle(hfsItalic, false);
    case THTMLTag::EndVar: return DoStyle(hfsBold | hfsItalic, false);
    case THTMLTag::EndU: return DoStyle(hfsUnderline, false);
    case THTMLTag::EndS: return DoStyle(hfsStrikeOut, false);
    case THTMLTag::Sub:
    case THTMLTag::EndSub:
      Split();
      cur_->SetIsSub(tag == THTMLTag::Sub);
      return;
    case THTMLTag::Sup:
    case THTMLTag::EndSup:
      Split();
      cur_->SetIsSuper(tag == THTMLTag::Sup);
      return;
    case THTMLTag::Br: {
      TVnHTMLBreakItem* previous = LastBreak();
      std::uint32_t params = previous ? previous->FParams : 0;
      StartLine(hitBreak)->SetAlignment(static_cast<int>(params & 0xFFFF));
      return;
    }
    case THTMLTag::P: return DoParagraph(false, attrs);
    case THTMLTag::EndP: return DoParagraph(true, attrs);
    case THTMLTag::Ul: return DoListStart(false);
    case THTMLTag::Ol: return DoListStart(true);
    case THTMLTag::Li: return DoListItem();
    case THTMLTag::EndUl: return DoListEnd(false);
    case THTMLTag::EndOl: return DoListEnd(true);
    case THTMLTag::Hr: return DoRule(attrs);
    case THTMLTag::Ind: return DoIndent(attrs);
    case THTMLTag::Img: return DoImage(attrs);
    case THTMLTag::A: return DoLink(attrs);
    case THTMLTag::EndA: return DoLinkEnd();
    case THTMLTag::Font: return DoFont(attrs);
    case THTMLTag::EndFont: return DoFontEnd();
    case THTMLTag::Input: return DoInput(attrs);
    case THTMLTag::Control: return DoControl(attrs);
    case THTMLTag::Variable: return DoVariable(attrs);
  }
}

void THTMLParser::DoStyle(TVnHTMLFontStyles bits, bool set) {
  Split();
  if (set) {
    cur_->FontStyle |= bits;
  } else if ((bits & ~data_.DefaultStyle()) != 0) {
    cur_->FontStyle &= static_cast<TVnHTMLFontStyles>(~bits);
  }
}

void THTMLParser::DoParagraph(bool closing, const THTMLAttributes& attrs) {
  TVnHTMLItem* last = data_.Last();
  if (last && last->ItemType() == hitBreak && (last->FBoolState & hbsClosePara)) {
    if (!closing) last->FBoolState &= ~hbsClosePara;
    return;
  }
  Split();
  auto brk = std::make_unique<TVnHTMLBreakItem>(&data_, hitPara);
  brk->Assign(*cur_);
  if (closing) brk->FBoolState |= hbsClosePara;
  brk->SetAlignment(0);
  if (!attrs.Empty()) {
    String align = LowerCase(attrs.Value(u"align"));
    brk->SetAlignment(align == u"center" ? 1 : align == u"right" ? 2 : 0);
    String indent = attrs.Value(u"indent");
    if (!indent.empty()) brk->FIndent = StrToIntDef(indent, 0);
  }
  TVnHTMLBreakItem* raw = brk.get();
  AppendItem(std::move(brk));
  ReplaceCurrent(NewChar(*raw));
}

namespace {
bool IsBlankRun(const TVnHTMLItem& item) {
  if (item.ItemType() != hitChar) return false;
  for (char16_t c : item.Text()) {
    if (c > 32) return false;
  }
  return true;
}
}  // namespace

void THTMLParser::DoListStart(bool ordered) {
  int b = LastBreakIndex();
  if (b >= 0 && IsBlankRun(*cur_)) {
    TVnHTMLItemType kind = data_.Item(b)->ItemType();
    bool blankTail = kind == hitSoftBreak || kind == hitBreak;
    for (int k = b + 1; blankTail && k < data_.ItemCount(); ++k) blankTail = IsBlankRun(*data_.Item(k));
    if (blankTail) {
      while (data_.ItemCount() > b) RemoveAt(data_.ItemCount() - 1, cur_.get());
    }
  }
  if (HasContent(*cur_)) {
    auto next = NewChar(*cur_);
    AppendItem(std::move(cur_));
    SetCurrent(std::move(next));
  } else {
    ReplaceCurrent(NewChar(*cur_));
  }
  ++level_;
  render_.FCurListItem = ordered ? 1 : -1;
  auto brk = std::make_unique<TVnHTMLBreakItem>(&data_, ordered ? hitOL : hitUL);
  brk->Assign(*cur_);
  brk->FIndent = ClampInt(static_cast<long long>(brk->FIndent) + brk->GetWidth());
  cur_->FIndent = brk->FIndent;
  curFont_ = nullptr;
  AppendItem(std::move(brk));
}

// The common start of <li>, </ul> and </ol>: the current item is appended when it has content
// (a break is not), a fresh current item follows, and a trailing <br> gives way.
void THTMLParser::TakeListBreak() {
  if (HasContent(*cur_) && cur_->ItemType() != hitBreak) {
    auto next = NewChar(*cur_);
    AppendItem(std::move(cur_));
    SetCurrent(std::move(next));
  } else {
    ReplaceCurrent(NewChar(*cur_));
  }
  TVnHTMLItem* last = data_.Last();
  if (last && last->ItemType() == hitBreak) RemoveAt(data_.ItemCount() - 1, cur_.get());
}

void THTMLParser::DoListItem() {
  TakeListBreak();
  auto li = std::make_unique<TVnHTMLBreakItem>(&data_, hitLI);
  li->Assign(*cur_);
  li->FListItemN = render_.FCurListItem;
  li->FListLevel = level_;
  li->SetAlignment(0);
  if (render_.FCurListItem > 0) ++render_.FCurListItem;
  AppendItem(std::move(li));
}

void THTMLParser::DoListEnd(bool ordered) {
  TakeListBreak();
  --level_;
  const THTMLFont& font = render_.Measurer().Font(cur_->FFontRef, cur_->FontHeight, cur_->FontStyle, data_.Charset());
  cur_->FIndent = ClampInt(static_cast<long long>(cur_->FIndent) - font.Metrics().tmMaxCharWidth);
  auto brk = std::make_unique<TVnHTMLBreakItem>(&data_, hitBreak);
  brk->Assign(*cur_);
  AppendItem(std::move(brk));
  if (ordered) render_.FCurListItem = -1;
}

void THTMLParser::DoRule(const THTMLAttributes& attrs) {
  Split();
  int width = 0;
  if (!TryNumber(attrs.Value(u"width"), width)) width = 0;
  auto before = std::make_unique<TVnHTMLBreakItem>(&data_, hitBreak);
  before->Assign(*cur_);
  AppendItem(std::move(before));
  auto rule = std::make_unique<TVnHTMLItem>(&data_, hitHR);
  rule->Assign(*cur_);
  rule->FWidth = ClampHTMLSize(width);
  AppendItem(std::move(rule));
  auto after = std::make_unique<TVnHTMLBreakItem>(&data_, hitBreak);
  after->Assign(*cur_);
  AppendItem(std::move(after));
}

void THTMLParser::DoIndent(const THTMLAttributes& attrs) {
  String widthText = attrs.Value(u"width");
  if (widthText.empty()) return;
  Split();
  auto indent = std::make_unique<TVnHTMLItem>(&data_, hitIndent);
  indent->Assign(*cur_);
  indent->FWidth = ClampHTMLSize(StrToIntDef(widthText, 0));
  indent->SetFlag(hbsAbsolute, SameText(attrs.Value(u"pos"), u"abs"));
  AppendItem(std::move(indent));
}

void THTMLParser::DoImage(const THTMLAttributes& attrs) {
  String src = attrs.Value(u"src");
  if (src.empty()) return;
  Split();
  auto image = std::make_unique<TVnHTMLItem>(&data_, hitBitmap);
  image->Assign(*cur_);
  image->FText = src;
  TPicture picture;  // only to learn the size; not kept
  render_.RequestImage(src, picture);
  int size = 0;
  image->FWidth = ClampHTMLSize(TryNumber(attrs.Value(u"width"), size) ? size : picture.Width());
  image->FHeight = ClampHTMLSize(TryNumber(attrs.Value(u"height"), size) ? size : picture.Height());
  image->FTransparent = attrs.Value(u"transparent") != u"solid";
  AppendItem(std::move(image));
}

void THTMLParser::DoLink(const THTMLAttributes& attrs) {
  if (attrs.Empty()) return;
  auto link = NewChar(*cur_);
  AppendItem(std::move(cur_));
  link->SetIsLink(true);
  link->FLinkRef = attrs.Value(u"href");
  link->FontColor = data_.LinkColor();
  link->FontStyle = data_.LinkStyle();
  data_.AddControl(link.get());
  SetCurrent(std::move(link));
}

void THTMLParser::DoLinkEnd() {
  Split();
  // A link without a run of its own has no place in the focus order.
  data_.ReplaceInControls(cur_.get(), nullptr);
  cur_->FLinkRef.clear();
  cur_->SetIsLink(false);
  TVnHTMLFontStyles style = data_.DefaultStyle();
  TColor color = data_.DefaultColor();
  if (const TVnHTMLItem* item = LastNonLink()) {
    style = item->FontStyle;
    color = item->FontColor;
  }
  cur_->FontStyle = style;
  cur_->FontColor = color;
}

void THTMLParser::ApplyFontSize(const String& value, TFontSettings& settings) const {
  const int base = std::abs(data_.DefaultHeight());
  int n = 0;
  if (value[0] == u'+' || value[0] == u'-') {
    if (!TryNumber(value, n)) return;
    long long points = MulDivRound(n, HTMLScreenPixelsPerInch(), 72);
    settings.Height = ClampInt((base + points) * Sign(settings.Height));
    return;
  }
  String number = value;
  bool pixels = number.size() >= 2 && number.compare(number.size() - 2, 2, u"px") == 0;
  if (pixels) number = Trim(std::u16string_view(number).substr(0, number.size() - 2));
  if (!TryNumber(number, n)) n = data_.DefaultHeight();
  if (!pixels && n >= 1 && n <= 9) {
    settings.Height = Sign(settings.Height) * (base + 5 * n);
  } else {
    settings.Height = n;
  }
}

void THTMLParser::DoFont(const THTMLAttributes& attrs) {
  Split();
  fontStack_.push_back(font_);
  TFontSettings settings{cur_->FFontRef, cur_->FontHeight, cur_->FontColor, cur_->FontBgColor};
  String face = attrs.Value(u"face");
  String name = attrs.Value(u"name");
  if (!name.empty()) face = name;
  if (!face.empty()) settings.FontName = face;
  String size = attrs.Value(u"size");
  if (!size.empty()) ApplyFontSize(size, settings);
  String color = attrs.Value(u"color");
  if (!color.empty()) ParseHTMLColor(color, settings.Color);
  String background = attrs.Value(u"bgcolor");
  if (background.empty()) background = attrs.Value(u"background");
  if (!background.empty()) ParseHTMLColor(background, settings.BgColor);
  font_ = settings;
  ApplyFontSettings();
  if (!color.empty() || !background.empty()) ++cur_->FFntCnt;
}

void THTMLParser::ApplyFontSettings() {
  cur_->FFontRef = font_.FontName;
  cur_->FontHeight = font_.Height;
  cur_->FontColor = font_.Color;
  cur_->FontBgColor = font_.BgColor;
  curFont_ = nullptr;
}

void THTMLParser::DoFontEnd() {
  Split();
  if (!fontStack_.empty()) {
    const TFontSettings& top = fontStack_.back();
    if (top.Color != font_.Color || top.BgColor != font_.BgColor) --cur_->FFntCnt;
    font_ = top;
    fontStack_.pop_back();
  }
  ApplyFontSettings();
}

void THTMLParser::DoInput(const THTMLAttributes& attrs) {
  int type = LookupHTMLInputType(LowerCase(attrs.Value(u"type")));
  if (type == 0) return;
  auto input = std::make_unique<TVnHTMLInputItem>(&data_);
  input->Assign(*cur_);
  input->FWidth = 17;
  input->FHeight = 17;
  input->FInputType = type == 2 ? itRadioButton : itCheckBox;
  String name = LowerCase(attrs.Value(u"name"));
  if (!name.empty()) input->FName = name;
  String checked = attrs.Value(u"checked");
  if (!checked.empty()) input->FChecked = StrToBool(checked);  // a bad word fails the whole text
  String value = attrs.Value(u"value");
  if (!value.empty()) input->FValue = value;
  int size = 0;
  String width = attrs.Value(u"width");
  String height = attrs.Value(u"height");
  if (width.empty() || TryNumber(width, size)) {
    if (!width.empty()) input->FWidth = ClampHTMLSize(size);
    if (!height.empty() && TryNumber(height, size)) input->FHeight = ClampHTMLSize(size);
  }
  if (input->FInputType == itRadioButton && !input->FName.empty()) {
    input->FTag = data_.RadioGroup(input->FName);
  }
  auto previous = std::move(cur_);
  if (HasContent(*previous)) {
    TVnHTMLItem* raw = previous.get();
    AppendItem(std::move(previous));
    data_.AddControl(input.get());
    AppendItem(std::move(input));
    SetCurrent(NewChar(*raw));
    return;
  }
  data_.AddControl(input.get());
  AppendItem(std::move(input));
  auto next = NewChar(*previous);
  Discard(std::move(previous), next.get());
  SetCurrent(std::move(next));
}

// An embedded control stays hidden and out of the tab order until the label places and shows it.
void THTMLParser::HideEmbeddedControl(TObject* control) {
  if (auto* visual = dynamic_cast<TControl*>(control)) visual->SetVisible(false);
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->SetTabStop(false);
}

void THTMLParser::DoControl(const THTMLAttributes& attrs) {
  const TMetaClass* cls = FindHTMLControlClass(LowerCase(attrs.Value(u"vclclass")));
  if (!cls) return;
  auto item = std::make_unique<TVnHTMLControlItem>(&data_);
  item->Assign(*cur_);
  if (item->FControlClass != cls->Name()) {
    item->FreeControl();
    item->FControlClass = cls->Name();
    if (render_.Control() && cls->CanCreate()) {
      // The host owns it as well: whichever of host and item goes first frees it.
      item->AttachControl(std::unique_ptr<TObject>(cls->Create(render_.Control())));
      HideEmbeddedControl(item->FControl.get());
      if (item->FControl) {
        if (const TPropInfo* w = GetPropInfo(item->FControl.get(), u"Width"); w && w->IsOrdinal())
          item->FWidth = ClampHTMLSize(GetOrdProp(item->FControl.get(), *w));
        if (const TPropInfo* h = GetPropInfo(item->FControl.get(), u"Height"); h && h->IsOrdinal())
          item->FHeight = ClampHTMLSize(GetOrdProp(item->FControl.get(), *h));
      }
    }
  }
  item->FControlPropList = attrs.Entries();
  ApplyControlProperties(*item, attrs);

  auto previous = std::move(cur_);
  TVnHTMLItem* raw = previous.get();
  bool keep = HasContent(*previous);
  if (keep) AppendItem(std::move(previous));
  data_.AddControl(item.get());
  AppendItem(std::move(item));
  auto next = NewChar(*raw);
  if (!keep) Discard(std::move(previous), next.get());
  SetCurrent(std::move(next));
}

void THTMLParser::ApplyControlProperties(TVnHTMLControlItem& item, const THTMLAttributes& attrs) {
  int size = 0;
  TObject* control = item.FControl.get();
  auto setSize = [&](const char16_t* attr, const char16_t* prop, std::uint16_t& field) {
    if (!TryNumber(attrs.Value(attr), size)) return;
    field = ClampHTMLSize(size);
    if (control && GetPropInfo(control, prop)) {
      try {
        SetOrdProp(control, prop, size);
      } catch (const Exception&) {
      }
    }
  };
  setSize(u"width", u"Width", item.FWidth);
  setSize(u"height", u"Height", item.FHeight);
  if (!control) return;
  for (const auto& [name, raw] : attrs.Entries()) {
    TObject* target = nullptr;  // the control, or a sub-object a dotted name ("Font.Color") leads to
    const TPropInfo* prop = FindPropertyByPath(control, name, target, TPathObjects::NotComponents);
    if (!prop || !prop->IsWritable()) continue;
    String value = UnquoteHTMLValue(raw);
    try {
      if (prop->Kind == tkInteger || prop->Kind == tkInt64) {
        TColor color = 0;
        int number = 0;
        if (value.compare(0, 2, u"cl") == 0) {
          if (IdentToColor(value, color)) SetOrdProp(target, *prop, color);
        } else if (TryNumber(value.size() > 0 && value[0] == u'#' ? value.substr(1) : value, number)) {
          SetOrdProp(target, *prop, number);
        }
      } else if (prop->Kind == tkEnumeration || prop->Kind == tkSet || prop->Kind == tkFloat || prop->IsString() ||
                 prop->Kind == tkChar || prop->Kind == tkWChar) {
        SetPropText(target, *prop, value);
      }
    } catch (const Exception&) {
      // A value that does not convert is skipped.
    }
  }
}

void THTMLParser::DoVariable(const THTMLAttributes& attrs) {
  Split();
  String name = attrs.Raw(u"name");
  if (name.empty()) name = attrs.Raw(u"p1");
  String value = u"~~";
  if (render_.OnVariableNeeded) render_.OnVariableNeeded(&render_, name, value);
  auto var = std::make_unique<TVnHTMLItem>(&data_, hitVar);
  var->Assign(*cur_);
  var->SetText(value);
  TVnHTMLItem* raw = var.get();
  AppendItem(std::move(var));
  auto next = NewChar(*raw);
  next->SetText(u" ");
  ReplaceCurrent(std::move(next));
}

}  // namespace kestrel
