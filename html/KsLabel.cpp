#include "html/KsLabel.h"

#include "controls/KsStyleManager.h"
#include "controls/UnicodeText.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/text/Text.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TCustomKsLabel, TLabel)

void TCustomKsLabel::PublishProperties(TClassBuilder<TCustomKsLabel>& b) {
  b.Property(u"BorderWidth", &TCustomKsLabel::BorderWidth, &TCustomKsLabel::SetBorderWidth).Default(0);
  b.Property(u"EndEllipsis", &TCustomKsLabel::EndEllipsis, &TCustomKsLabel::SetEndEllipsis).Default(false);
  b.Enum(u"ThemeMode", &TCustomKsLabel::ThemeMode, &TCustomKsLabel::SetThemeMode, VnThemeModeInfo())
      .Default(ttmPlatform);
  b.Property(u"ThemeGlobalMode", &TCustomKsLabel::ThemeGlobalMode, &TCustomKsLabel::SetThemeGlobalMode).Default(false);
  b.Object(u"StyleManager", &TCustomKsLabel::StyleManager, &TCustomKsLabel::SetStyleManager);
  b.Property(u"StyleName", &TCustomKsLabel::StyleName, &TCustomKsLabel::SetStyleName);
  b.Property(u"Transparent", &TCustomKsLabel::Transparent, &TCustomKsLabel::SetTransparent).Default(true);
  // Read from older forms, never written: ThemeMode holds the setting.
  b.Property(u"UseXPThemes", &TCustomKsLabel::UseXPThemes, &TCustomKsLabel::SetUseXPThemes).Stored(false);
}

TCustomKsLabel::TCustomKsLabel(TComponent* AOwner) : TLabel(AOwner), FThemeStyle(*this, [this] { Invalidate(); }) {
  SetTransparent(true);
  FThemeStyle.AssignDefaultManager();
}

TCustomKsLabel::~TCustomKsLabel() { SetStyleManager(nullptr); }

bool TCustomKsLabel::Themed() const { return FThemeStyle.UseThemeMode() != ttmNone; }

void TCustomKsLabel::SetBorderWidth(int Value) {
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  Changed();
}

void TCustomKsLabel::SetEndEllipsis(bool Value) {
  if (Value == FEndEllipsis) return;
  FEndEllipsis = Value;
  Invalidate();
}

void TCustomKsLabel::SetThemeMode(TVnThemeMode Value) {
  if (FThemeStyle.SetThemeMode(Value)) Invalidate();
}

void TCustomKsLabel::SetThemeGlobalMode(bool Value) {
  if (FThemeStyle.SetThemeGlobalMode(Value)) Invalidate();
}

void TCustomKsLabel::SetStyleManager(TKsStyleManager* Value) { FThemeStyle.SetStyleManager(Value); }

void TCustomKsLabel::UpdateStyle() { FThemeStyle.UpdateStyle(); }

void TCustomKsLabel::SetName(const String& Value) {
  const bool follow = ComponentState().Contains(csDesigning) && Caption() == Name();
  TLabel::SetName(Value);
  if (follow) SetCaption(Name());
}

void TCustomKsLabel::SetStyleName(const String& Value) { FThemeStyle.SetStyleName(Value); }

void TCustomKsLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TLabel::Notification(AComponent, Operation);
  FThemeStyle.Notification(AComponent, Operation);
}

unsigned TCustomKsLabel::PlainTextFlags() const {
  unsigned flags = pf::DT_EXPANDTABS;
  if (WordWrap()) flags |= pf::DT_WORDBREAK;
  if (Alignment() == taRightJustify) flags |= pf::DT_RIGHT;
  if (Alignment() == taCenter) flags |= pf::DT_CENTER;
  if (!ShowAccelChar()) flags |= pf::DT_NOPREFIX;
  if (FEndEllipsis) flags |= pf::DT_END_ELLIPSIS;
  return flags;
}

TRect TCustomKsLabel::MeasurePlainText(const TRect& rect) {
  String text = LabelText();
  // An empty text, or a lone accelerator mark, still measures one line.
  if (text.empty() || (ShowAccelChar() && text == u"&")) text += u" ";
  const pf::OwnedMemoryDC dc(pf::CreateCompatibleDC(nullptr));
  const pf::SelectedObject font(dc.get(), Font()->Handle());
  TRect r = rect;
  DrawTextUnicode(dc.get(), text, -1, PlainTextFlags() | pf::DT_CALCRECT, r);
  return r;
}

void TCustomKsLabel::AdjustPlainBounds() {
  if (!AutoSize() || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  TRect r = MeasurePlainText(ClientRect());
  int width = r.right - r.left, height = r.bottom - r.top;
  if (FBorderWidth != 0) {
    width += 2 * FBorderWidth;
    height += 2 * FBorderWidth;
  }
  int left = Left();
  if (Alignment() == taRightJustify) left += Width() - width;
  SetBounds(left, Top(), width, height);
}

void TCustomKsLabel::Changed() {
  if (ComponentState().Contains(csLoading)) return;
  AdjustPlainBounds();
  Invalidate();
}

void TCustomKsLabel::Loaded() {
  TGraphicControl::Loaded();
  UpdateStyle();
  Changed();
}

void TCustomKsLabel::FillBackground() {
  if (Transparent()) return;
  TCanvas& canvas = *Canvas();
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(ClientRect());
}

void TCustomKsLabel::Paint() {
  FillBackground();
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  TRect r = ClientRect();
  r.left += FBorderWidth;
  r.top += FBorderWidth;
  r.right -= FBorderWidth;
  r.bottom -= FBorderWidth;
  if (Layout() != tlTop) {
    const TRect measured = MeasurePlainText(ClientRect());
    const int height = measured.bottom - measured.top;
    if (Layout() == tlBottom) {
      r.top = r.bottom - height;
    } else {
      r.top += (r.bottom - r.top - height) / 2;
      r.bottom = r.top + height;
    }
  }
  pf::HDC dc = canvas.Handle();
  pf::SelectObject(dc, Font()->Handle());
  pf::SetBkMode(dc, pf::TRANSPARENT);
  pf::SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  DrawTextUnicode(dc, LabelText(), -1, PlainTextFlags(), r);
}

}  // namespace kestrel
