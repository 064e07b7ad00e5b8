#include "html/KsHTMLLabel.h"

#include <algorithm>

#include "controls/UnicodeText.h"
#include "framework/Bitmap.h"
#include "framework/PopupMenu.h"
#include "framework/PublishColour.h"
#include "framework/TypeInfo.h"
#include "framework/WinControl.h"
#include "html/KsHTMLChangeLink.h"
#include "html/KsHTMLContainer.h"
#include "html/KsHTMLListItem.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

const TEnumInfo& LinkStyleInfo() {
  static const TEnumInfo info(u"TFontStyle", {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"});
  return info;
}

// Font style sets and the markup's style bits share their bit order (bold 1, italic 2, …).
TVnHTMLFontStyles StyleBits(TFontStyles styles) { return static_cast<TVnHTMLFontStyles>(styles.Bits() & 0xF); }

class Guard {
 public:
  explicit Guard(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~Guard() { flag_ = previous_; }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsHTMLLabel, TCustomKsLabel)

void TKsHTMLLabel::PublishProperties(TClassBuilder<TKsHTMLLabel>& b) {
  using L = TKsHTMLLabel;
  b.Property(u"IsHTML", &L::IsHTML, &L::SetIsHTML).Default(true);
  PublishColour(b, u"LinkColor", &L::LinkColor, &L::SetLinkColor, clBlue);
  b.Set(u"LinkStyle", &L::LinkStyle, &L::SetLinkStyle, LinkStyleInfo(), u"TFontStyles")
      .Default(TFontStyles{fsUnderline});
  b.Object(u"Container", &L::Container, &L::SetContainer);
  b.Property(u"ContainerIndex", &L::ContainerIndex, &L::SetContainerIndex).Default(0);
  b.Object(u"LinkPopupMenu", &L::LinkPopupMenu, &L::SetLinkPopupMenu);
  b.Property(u"CheckContainerLinks", &L::CheckContainerLinks, &L::SetCheckContainerLinks).Default(true);
  b.Property(u"Cursor", &L::Cursor, &L::SetCursor).Default(0).TypeName(u"TCursor");
  b.Event(
      u"OnLinkClick", [](const L& l) { return static_cast<bool>(l.OnLinkClick); }, u"TKsHTMLLinkClickEvent");
  b.Event(
      u"OnImageNeeded", [](const L& l) { return static_cast<bool>(l.OnImageNeeded); }, u"TKsHTMLImageNeededEvent");
  b.Event(
      u"OnImageNeededEx", [](const L& l) { return static_cast<bool>(l.OnImageNeededEx); }, u"TVnHTMLImageNeededEvent");
  b.Event(
      u"OnVariableNeeded", [](const L& l) { return static_cast<bool>(l.OnVariableNeeded); },
      u"TVnHTMLVariableNeededEvent");
}

TKsHTMLLabel::TKsHTMLLabel(TComponent* AOwner)
    : TCustomKsLabel(AOwner),
      FChangeLink(std::make_unique<TKsHTMLChangeLink>()),
      FRender(std::make_unique<TVnHTMLRender>()) {
  FRender->OnImageNeeded = [this](TObject*, const String& src, TBitmap*& image) {
    if (OnImageNeeded) OnImageNeeded(this, src, image);
  };
  FRender->OnImageNeededEx = [this](TObject*, const String& src, TPicture* image) {
    if (OnImageNeededEx) OnImageNeededEx(this, src, image);
  };
  FRender->OnVariableNeeded = [this](TObject*, const String& name, String& value) {
    if (OnVariableNeeded) OnVariableNeeded(this, name, value);
  };
  FRender->OnChange = [this](TObject*) { Invalidate(); };
  FRender->SetControl(this);
  // Clicks and moves reach the renderer through the label's own handlers, relative to the text
  // rectangle; the hook would see them a second time, in the wrong coordinates.
  FRender->SetHookMouse(false);
  FChangeLink->OnChange = [this](TObject*) { Prepare(); };
  // Applied once more now that the whole label exists: the base applied its style before the
  // label's own properties were there to receive it.
  UpdateStyle();
}

TKsHTMLLabel::~TKsHTMLLabel() {
  FChangeLink.reset();
  // The renderer and the controls it embeds go while the label is still whole.
  FRender.reset();
}

// ---- properties --------------------------------------------------------------------------

void TKsHTMLLabel::SetIsHTML(bool Value) {
  if (Value == FIsHTML) return;
  FIsHTML = Value;
  Prepare();
}

void TKsHTMLLabel::SetLinkColor(TColor Value) {
  if (Value == FLinkColor) return;
  FLinkColor = Value;
  if (FIsHTML) Prepare();
}

void TKsHTMLLabel::SetLinkStyle(TFontStyles Value) {
  if (Value == FLinkStyle) return;
  FLinkStyle = Value;
  if (FIsHTML) Prepare();
}

void TKsHTMLLabel::SetContainer(TKsHTMLContainer* Value) {
  if (Value == FContainer) return;
  if (FContainer) {
    FContainer->UnRegisterChanges(FChangeLink.get());
    FContainer->RemoveFreeNotification(this);
  }
  FContainer = Value;
  if (FContainer) {
    FContainer->RegisterChanges(FChangeLink.get());
    FContainer->FreeNotification(this);
  }
  Prepare();
}

void TKsHTMLLabel::SetContainerIndex(int Value) {
  if (Value == FIndex) return;
  FIndex = Value;
  if (FContainer) Prepare();
}

void TKsHTMLLabel::SetCursor(int Value) {
  FCursor = Value;
  bool overLink = false;
  if (FIsHTML && MouseInControl()) {
    pf::POINT p{};
    pf::GetCursorPos(&p);
    const TPoint client = ScreenToClient(p);
    const TRect r = TextRectangle();
    String href;
    overLink = FRender->IsCursorOverLink(Point(client.x - r.left, client.y - r.top), Point(0, 0), r, href);
  }
  ShowCursor(overLink);
}

void TKsHTMLLabel::SetLinkPopupMenu(TPopupMenu* Value) {
  if (Value == FLinkPopupMenu) return;
  if (FLinkPopupMenu) FLinkPopupMenu->RemoveFreeNotification(this);
  FLinkPopupMenu = Value;
  if (FLinkPopupMenu) FLinkPopupMenu->FreeNotification(this);
}

void TKsHTMLLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomKsLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FLinkPopupMenu) {
    FLinkPopupMenu = nullptr;
    Prepare();
  }
  if (Operation == opRemove && AComponent == FContainer) {
    FContainer = nullptr;
    Prepare();
  }
}

bool TKsHTMLLabel::ShowsSnippet() const { return FContainer && FIndex >= 0 && FIndex < FContainer->Count(); }

String TKsHTMLLabel::LabelText() const {
  return ShowsSnippet() ? FContainer->Items()->Items(FIndex)->Caption() : Caption();
}

String TKsHTMLLabel::PlainText() const { return FIsHTML ? FRender->AsText() : Caption(); }

void TKsHTMLLabel::GetAccessibleInfo(TAccessibleInfo& info) const {
  TCustomKsLabel::GetAccessibleInfo(info);
  if (!FIsHTML) return;
  info.Text = FRender->AsAccessibleText(info.Links);
  info.Name = info.Text;
}

TRect TKsHTMLLabel::TextRect() {
  if (!FIsHTML) return MeasurePlainText(ClientRect());
  const platform::SIZE size = FRender->Data()->TextSize();
  return Rect(0, 0, size.cx, size.cy);
}

// ---- preparation and bounds --------------------------------------------------------------

void TKsHTMLLabel::Prepare() {
  if (!FRender || ComponentState().Contains(csLoading)) return;
  if (!FIsHTML) {
    AdjustPlainBounds();
    Invalidate();
    return;
  }
  TVnHTMLData& data = *FRender->Data();
  data.SetDefaultStyle(StyleBits(Font()->Style()));
  data.SetDefaultFont(Font()->Name());
  data.SetCharset(static_cast<std::uint8_t>(Font()->Charset()));
  data.SetDefaultColor(Font()->Color());
  data.SetDefaultHeight(Font()->Height());
  data.SetLinkColor(FLinkColor);
  data.SetLinkStyle(StyleBits(FLinkStyle));
  FRender->PrepareText(LabelText(), Width() - 2 * BorderWidth(), WordWrap());
  if (WordWrap() || AutoSize()) {
    Guard guard(FAlreadyInSetBounds);
    AdjustBounds();
  }
  Invalidate();
}

void TKsHTMLLabel::AdjustBounds() {
  if (!FIsHTML) {
    AdjustPlainBounds();
    return;
  }
  if (ComponentState().Contains(csLoading) || !AutoSize()) return;
  if (FRender->Data()->TextSize().cx == 0 && !FAlreadyInSetBounds) Prepare();
  const platform::SIZE size = FRender->Data()->TextSize();
  Guard guard(FAlreadyInSetBounds);
  SetBounds(Left(), Top(), size.cx + 2 * BorderWidth(), size.cy + 2 * BorderWidth());
}

void TKsHTMLLabel::SetBounds(int left, int top, int width, int height) {
  const int oldWidth = Width();
  TCustomKsLabel::SetBounds(left, top, width, height);
  // Only the width changes where wrapped text breaks.
  if (FRender && FIsHTML && WordWrap() && !FAlreadyInSetBounds && Width() != oldWidth) Prepare();
}

void TKsHTMLLabel::Changed() {
  if (!FRender) return;
  Prepare();
}

void TKsHTMLLabel::Loaded() {
  TGraphicControl::Loaded();
  UpdateStyle();
  Prepare();
}

TRect TKsHTMLLabel::TextRectangle() const {
  const TRect client = ClientRect();
  const int cw = client.right - client.left, ch = client.bottom - client.top, b = BorderWidth();
  const platform::SIZE size = FRender->Data()->TextSize();
  TRect r = Rect(b, b, cw - b, ch - b);
  if (Layout() == tlBottom) {
    r.top = r.bottom - 1 - size.cy;
  } else if (Layout() == tlCenter) {
    r.top = b + std::max((ch - 2 * b) / 2 - size.cy / 2, 0);
    r.bottom = r.top + std::min<int>(size.cy, ch - 2 * b);
  }
  if (Alignment() == taRightJustify) {
    r.right = cw - b;
    r.left = r.right - size.cx;
  } else if (Alignment() == taCenter) {
    r.left = (cw - size.cx) / 2;
    r.right = r.left + size.cx;
  }
  return r;
}

// ---- painting ----------------------------------------------------------------------------

void TKsHTMLLabel::PaintThemedBackground() {
  TWinControl* parent = Parent();
  if (!parent || !parent->HandleAllocated()) return;
  pf::HDC dc = Canvas()->Handle();
  // The parent erases its background through the label's DC, moved to the parent's origin.
  pf::POINT origin{};
  pf::OffsetViewportOrgEx(dc, -Left(), -Top(), &origin);
  pf::SendMessageW(parent->Handle(), pf::WM_ERASEBKGND, reinterpret_cast<pf::WPARAM>(dc), 0);
  pf::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void TKsHTMLLabel::Paint() {
  if (!FIsHTML) {
    TCustomKsLabel::Paint();
    return;
  }
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  if (Themed()) PaintThemedBackground();
  else FillBackground();

  // The renderer's double buffer copies the text rectangle in and out only where the target
  // needs it; on a window or a bitmap plain text is painted in place, clipped to the rectangle.
  const TRect r = TextRectangle();
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (Enabled()) {
    FRender->DrawText(&canvas, Point(0, 0), r, clNone);
  } else {
    // Grey text, lightened halfway to white like every other colour of the text.
    FRender->DrawTextEx(&canvas, Point(0, 0), r, true, clGrayText, clNone, clNone, clNone, clBlack);
  }
}

// ---- mouse -------------------------------------------------------------------------------

void TKsHTMLLabel::ShowCursor(bool overLink) {
  const int wanted = overLink ? crHandPoint : FCursor;
  if (TControl::Cursor() == wanted) return;
  TControl::SetCursor(wanted);
  // Shown now, not only with the next mouse move.
  TWinControl* parent = Parent();
  if (MouseInControl() && parent && parent->HandleAllocated()) {
    pf::SendMessageW(parent->Handle(), pf::WM_SETCURSOR, reinterpret_cast<pf::WPARAM>(parent->Handle()),
                     pf::MAKELPARAM(pf::HTCLIENT, pf::WM_MOUSEMOVE));
  }
}

void TKsHTMLLabel::MouseMove(TShiftState Shift, int X, int Y) {
  if (FIsHTML) {
    const TRect r = TextRectangle();
    const TPoint p = Point(X - r.left, Y - r.top);
    String href;
    const bool overLink = FRender->IsCursorOverLink(p, Point(0, 0), r, href);
    ShowCursor(overLink);
    if (!overLink) FRender->MouseMoveTransfer(Shift, p.x, p.y, r);
  } else {
    ShowCursor(false);
  }
  TCustomKsLabel::MouseMove(Shift, X, Y);
}

void TKsHTMLLabel::WndProc(TMessage& message) {
  if (message.Msg == CM_MOUSELEAVE) ShowCursor(false);
  const TLifeWatch life = Life();
  TCustomKsLabel::WndProc(message);
  // An OnMouseUp handler may have freed the label.
  if (message.Msg == pf::WM_RBUTTONUP && message.Result == 0 && life.Alive()) {
    // OnMouseUp has run; a handler (or hook) that marked the release handled keeps the menu away.
    const TPoint client = Point(pf::GET_X_LPARAM(message.LParam), pf::GET_Y_LPARAM(message.LParam));
    if (LinkAt(client.x, client.y) && PopupLinkMenu(ClientToScreen(client))) message.Result = 1;
  }
}

TPopupMenu* TKsHTMLLabel::PopupMenuAt(TPoint p) const {
  // A request from the keyboard (-1, -1) has no point to find a link at.
  const bool fromKeyboard = p.x == -1 && p.y == -1;
  if (FLinkPopupMenu && !fromKeyboard && LinkAt(p.x, p.y)) return FLinkPopupMenu;
  return TCustomKsLabel::PopupMenuAt(p);
}

bool TKsHTMLLabel::LinkAt(int x, int y) const {
  if (!FIsHTML) return false;
  const TRect r = TextRectangle();
  String href;
  return FRender->IsCursorOverLink(Point(x - r.left, y - r.top), Point(0, 0), r, href);
}

bool TKsHTMLLabel::PopupLinkMenu(const TPoint& screen) {
  if (!FLinkPopupMenu || !FLinkPopupMenu->AutoPopup() || !FIsHTML) return false;
  const TPoint client = ScreenToClient(screen);
  if (!LinkAt(client.x, client.y)) return false;
  FLinkPopupMenu->SetPopupComponent(this);
  FLinkPopupMenu->Popup(screen.x, screen.y);
  return true;
}

void TKsHTMLLabel::Click() {
  if (!FIsHTML) {
    TCustomKsLabel::Click();
    return;
  }
  pf::POINT screen{};
  pf::GetCursorPos(&screen);
  const TPoint client = ScreenToClient(screen);
  const TRect r = TextRectangle();
  const TPoint p = Point(client.x - r.left, client.y - r.top);
  String href;
  if (FRender->IsCursorOverLink(p, Point(0, 0), r, href)) DoLinkClick(href);
  else FRender->ClickTransfer(p.x, p.y, r);
}

void TKsHTMLLabel::DoLinkClick(const String& HRef) {
  if (FCheck && ShowsSnippet()) {
    const int index = FContainer->Items()->IndexOfName(HRef);
    if (index >= 0) {
      SetContainerIndex(index);
      return;
    }
  }
  if (OnLinkClick) OnLinkClick(this, HRef);
}

}  // namespace kestrel
