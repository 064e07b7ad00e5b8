#include "framework/Edit.h"

#include <algorithm>
#include <cstdlib>

#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"
#include "platform/core/Unicode.h"
#include "platform/window/Clipboard.h"

namespace kestrel {

namespace pf = platform;

namespace {
constexpr int kMargin = 4;
}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TEdit, TCustomControl)

void TEdit::PublishProperties(TClassBuilder<TEdit>& b) {
  // The constructor's values are the stored defaults.
  b.Property(u"DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered).Default(true);
  b.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
  b.Property(u"MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
  b.Property(u"PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar).Default(0);
  b.Property(u"ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
  b.Property(u"Text", &TEdit::Text, &TEdit::SetText).TypeName(u"TCaption");
  b.Event(
      u"OnChange", [](const TEdit& e) { return static_cast<bool>(e.OnChange); }, u"TNotifyEvent");
}

TEdit::TEdit(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  SetTabStop(true);
  SetCursor(crIBeam);
  SetDoubleBuffered(true);
}

int TEdit::Clamp(int index) const {
  const String& text = Text();
  index = std::clamp(index, 0, static_cast<int>(text.size()));
  // Never between the halves of a surrogate pair.
  if (index > 0 && index < static_cast<int>(text.size()) && IsLowSurrogate(text[static_cast<size_t>(index)])) --index;
  return index;
}

void TEdit::SetText(const String& value) {
  if (value == Text()) return;
  TCustomControl::SetText(value);
  caret_ = anchor_ = Clamp(std::min(caret_, static_cast<int>(value.size())));
  scroll_ = 0;
  Change();
}

void TEdit::Change() {
  Invalidate();
  NotifyAccessible(this, TAccessibleChange::Text);
  if (OnChange) OnChange(this);
}

void TEdit::SetPasswordChar(char16_t value) {
  if (value == passwordChar_) return;
  passwordChar_ = value;
  Invalidate();
}

void TEdit::SetSelStart(int value) {
  caret_ = anchor_ = Clamp(value);
  ScrollToCaret();
  Invalidate();
}

void TEdit::SetSelLength(int value) {
  anchor_ = SelStart();
  caret_ = Clamp(anchor_ + std::max(value, 0));
  Invalidate();
}

String TEdit::SelText() const {
  return Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void TEdit::SetSelText(const String& value) {
  String text = Text();
  const int start = SelStart();
  String insert = value;
  // Only the first line of pasted text goes into a single-line box.
  if (auto eol = insert.find_first_of(u"\r\n"); eol != String::npos) insert.resize(eol);
  if (maxLength_ > 0) {
    const int room = maxLength_ - (static_cast<int>(text.size()) - SelLength());
    if (room <= 0) insert.clear();
    else if (static_cast<int>(insert.size()) > room) {
      int cut = room;
      if (cut > 0 && IsLowSurrogate(insert[static_cast<size_t>(cut)])) --cut;
      insert.resize(static_cast<size_t>(cut));
    }
  }
  if (insert.empty() && SelLength() == 0) return;
  text.replace(static_cast<size_t>(start), static_cast<size_t>(SelLength()), insert);
  TCustomControl::SetText(text);
  caret_ = anchor_ = start + static_cast<int>(insert.size());
  ScrollToCaret();
  Change();
}

void TEdit::SelectAll() {
  anchor_ = 0;
  caret_ = static_cast<int>(Text().size());
  Invalidate();
}

void TEdit::CopyToClipboard() const {
  if (passwordChar_ || SelLength() == 0) return;
  pf::SetClipboardUnicodeText(SelText());
}

void TEdit::CutToClipboard() {
  if (readOnly_ || passwordChar_) return;
  CopyToClipboard();
  ClearSelection();
}

void TEdit::PasteFromClipboard() {
  if (readOnly_) return;
  const String text = pf::GetClipboardUnicodeText();
  if (!text.empty()) SetSelText(text);
}

String TEdit::DisplayText() const { return passwordChar_ ? String(Text().size(), passwordChar_) : Text(); }

int TEdit::TextX(int index) {
  Canvas()->Font()->Assign(Font());
  return kMargin - scroll_ + Canvas()->TextWidth(DisplayText().substr(0, static_cast<size_t>(index)));
}

int TEdit::IndexAt(int x) {
  const int count = static_cast<int>(Text().size());
  int best = 0;
  for (int i = 0; i <= count; ++i) {
    if (i < count && IsLowSurrogate(Text()[static_cast<size_t>(i)])) continue;
    const int xi = TextX(i);
    if (xi > x) {
      // Nearer to this boundary or the previous one.
      const int prev = TextX(best);
      return (x - prev) <= (xi - x) ? best : i;
    }
    best = i;
  }
  return best;
}

void TEdit::ScrollToCaret() {
  if (!HandleAllocated()) return;
  const int inner = ClientWidth() - 2 * kMargin;
  const int x = TextX(caret_) + scroll_ - kMargin;
  if (x - scroll_ > inner) scroll_ = x - inner;
  if (x < scroll_) scroll_ = x;
  if (scroll_ < 0) scroll_ = 0;
}

void TEdit::MoveCaret(int index, bool extend) {
  caret_ = Clamp(index);
  if (!extend) anchor_ = caret_;
  ScrollToCaret();
  Invalidate();
}

void TEdit::KeyDown(pf::WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const bool extend = shift.Contains(ssShift);
  const bool ctrl = shift.Contains(ssCtrl);
  const String& text = Text();
  switch (key) {
    case pf::VK_LEFT: {
      int to = caret_;
      if (!extend && SelLength() > 0) to = SelStart();
      else if (to > 0) to -= (to > 1 && IsLowSurrogate(text[static_cast<size_t>(to - 1)])) ? 2 : 1;
      MoveCaret(to, extend);
      break;
    }
    case pf::VK_RIGHT: {
      int to = caret_;
      if (!extend && SelLength() > 0) to = SelStart() + SelLength();
      else if (to < static_cast<int>(text.size()))
        to += (to + 1 < static_cast<int>(text.size()) && IsLowSurrogate(text[static_cast<size_t>(to + 1)])) ? 2 : 1;
      MoveCaret(to, extend);
      break;
    }
    case pf::VK_HOME: MoveCaret(0, extend); break;
    case pf::VK_END: MoveCaret(static_cast<int>(text.size()), extend); break;
    case pf::VK_DELETE:
      if (readOnly_) break;
      if (SelLength() == 0) MoveCaret(caret_ + 1, true);
      ClearSelection();
      break;
    default:
      if (ctrl && key == 'A') SelectAll();
      else if (ctrl && key == 'C') CopyToClipboard();
      else if (ctrl && key == 'X') CutToClipboard();
      else if (ctrl && key == 'V') PasteFromClipboard();
      else return;
      break;
  }
  key = 0;
}

void TEdit::KeyPress(char16_t& key) {
  TCustomControl::KeyPress(key);
  if (key == 0 || readOnly_) return;
  if (key == 8) {
    if (SelLength() == 0 && caret_ > 0) MoveCaret(caret_ - 1, true);
    ClearSelection();
  } else if (key >= 32 && key != 127) {
    SetSelText(String(1, key));
  } else {
    return;
  }
  key = 0;
}

void TEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (shift.Contains(ssDouble)) SelectAll();
    else MoveCaret(IndexAt(x), shift.Contains(ssShift));
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TEdit::MouseMove(TShiftState shift, int x, int y) {
  if (ControlState().Contains(csLButtonDown)) MoveCaret(IndexAt(x), true);
  TCustomControl::MouseMove(shift, x, y);
}

void TEdit::WndProc(TMessage& m) {
  TCustomControl::WndProc(m);
  if (m.Msg == pf::WM_SETFOCUS || m.Msg == pf::WM_KILLFOCUS || m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE)
    Invalidate();
}

pf::LRESULT TEdit::DialogCode() const { return pf::DLGC_WANTCHARS | pf::DLGC_WANTARROWS | pf::DLGC_HASSETSEL; }

void TEdit::Paint() {
  TCanvas& canvas = *Canvas();
  const TRect r = ClientRect();
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Enabled() ? Color() : static_cast<TColor>(clBtnFace));
  canvas.FillRect(r);
  const TThemeState state = !Enabled()         ? TThemeState::Disabled
                            : Focused()        ? TThemeState::Focused
                            : MouseInControl() ? TThemeState::Hot
                                               : TThemeState::Normal;
  canvas.Font()->Assign(Font());
  if (!Enabled()) canvas.Font()->SetColor(clGrayText);
  const String shown = DisplayText();
  const int textHeight = canvas.TextHeight(u"Wg");
  const int y = (r.bottom - textHeight) / 2;
  const TRect inner = Rect(2, 2, r.right - 2, r.bottom - 2);
  canvas.Brush()->SetStyle(bsClear);
  canvas.TextRect(inner, kMargin - scroll_, y, shown);
  if (SelLength() > 0 && Focused()) {
    const int x0 = TextX(SelStart()), x1 = TextX(SelStart() + SelLength());
    TRect sel = Rect(std::max(x0, inner.left), y, std::min(x1, inner.right), y + textHeight);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clHighlight);
    canvas.Font()->SetColor(clHighlightText);
    canvas.TextRect(sel, x0, y, shown.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength())));
  }
  if (Focused()) {
    const int x = TextX(caret_);
    canvas.Pen()->SetColor(clWindowText);
    canvas.MoveTo(x, y);
    canvas.LineTo(x, y + textHeight);
  }
  ControlPainter::DrawEditFrame(canvas, r, state);
}

void TEdit::GetAccessibleInfo(TAccessibleInfo& info) const {
  TCustomControl::GetAccessibleInfo(info);
  info.Role = TAccessibleRole::Text;
  info.Name.clear();  // the text is the content, not the name (a label names the edit)
  info.HasText = true;
  info.Text = DisplayText();
  info.Caret = caret_;
  info.Editable = !readOnly_;
}

}  // namespace kestrel
