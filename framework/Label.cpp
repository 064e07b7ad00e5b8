#include "framework/Label.h"

#include "framework/Accelerator.h"
#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"
#include "framework/WinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"

namespace kestrel {

namespace pf = platform;

const TEnumInfo& TextLayoutTypeInfo() {
  static const TEnumInfo info(u"TTextLayout", {u"tlTop", u"tlCenter", u"tlBottom"});
  return info;
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TLabel, TGraphicControl)

void TLabel::PublishProperties(TClassBuilder<TLabel>& b) {
  b.Enum(u"Alignment", &TLabel::Alignment, &TLabel::SetAlignment, AlignmentTypeInfo()).Default(taLeftJustify);
  b.Property(u"AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
  b.Enum(u"Layout", &TLabel::Layout, &TLabel::SetLayout, TextLayoutTypeInfo()).Default(tlTop);
  b.Property(u"ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
  b.Property(u"Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
  b.Property(u"WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
  b.Object(u"FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
}

void TLabel::SetFocusControl(TWinControl* value) {
  if (value == focusControl_) return;
  if (focusControl_) RemoveFreeNotification(focusControl_);
  focusControl_ = value;
  if (focusControl_) FreeNotification(focusControl_);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    // The accelerator gives the focus to FocusControl.
    const auto key = static_cast<char16_t>(m.WParam);
    if (focusControl_ && showAccelChar_ && Enabled() && Visible() && IsAccelerator(key, Caption()) &&
        focusControl_->CanFocus()) {
      focusControl_->SetFocus();
      m.Result = 1;
    }
    return;
  }
  TGraphicControl::WndProc(m);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable});
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

unsigned TLabel::TextFlags() const {
  unsigned flags = pf::DT_EXPANDTABS;
  if (wordWrap_) flags |= pf::DT_WORDBREAK;
  if (!showAccelChar_) flags |= pf::DT_NOPREFIX;
  if (alignment_ == taRightJustify) flags |= pf::DT_RIGHT;
  if (alignment_ == taCenter) flags |= pf::DT_CENTER;
  return flags;
}

void TLabel::AdjustBounds() {
  if (adjusting_ || ComponentState().Contains(csLoading)) return;
  adjusting_ = true;
  pf::HDC dc = pf::CreateCompatibleDC(nullptr);
  pf::HGDIOBJ old = pf::SelectObject(dc, Font()->Handle());
  TRect r = Rect(0, 0, wordWrap_ ? Width() : 0, 0);
  const String text = Caption().empty() ? String(u" ") : Caption();
  pf::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, TextFlags() | pf::DT_CALCRECT);
  pf::SelectObject(dc, old);
  pf::DeleteDC(dc);
  int left = Left();
  const int width = r.right - r.left;
  // Right-aligned and centred labels keep their right edge or centre.
  if (!wordWrap_ && alignment_ == taRightJustify) left += Width() - width;
  if (!wordWrap_ && alignment_ == taCenter) left += (Width() - width) / 2;
  SetBounds(left, Top(), width, r.bottom - r.top);
  adjusting_ = false;
}

void TLabel::Changed() {
  if (autoSize_) AdjustBounds();
  Invalidate();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  if (autoSize_) AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  Changed();
}

void TLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  Changed();
}

void TLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  TControlStyle style = ControlStyle();
  if (value) style.Exclude(csOpaque);
  else style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  Changed();
}

void TLabel::Paint() {
  TCanvas& canvas = *Canvas();
  TRect r = ClientRect();
  if (!transparent_ && Color() != clNone) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(r);
  }
  if (layout_ != tlTop) {
    TRect calc = r;
    canvas.DrawText(Caption(), calc, TextFlags() | pf::DT_CALCRECT);
    const int h = calc.bottom - calc.top;
    r.top += layout_ == tlCenter ? (r.bottom - r.top - h) / 2 : r.bottom - r.top - h;
  }
  ControlPainter::DrawCaption(canvas, Caption(), r, TextFlags(), Enabled());
}

void TLabel::GetAccessibleInfo(TAccessibleInfo& info) const {
  TGraphicControl::GetAccessibleInfo(info);
  info.Role = TAccessibleRole::Label;
  if (!showAccelChar_) info.Name = Caption();
  info.HasText = true;
  info.Text = info.Name;
  info.LabelFor = focusControl_;
}

}  // namespace kestrel
