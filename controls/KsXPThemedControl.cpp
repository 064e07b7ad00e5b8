#include "controls/KsXPThemedControl.h"

#include "controls/KsStyleManager.h"
#include "controls/VnThemeServices.h"
#include "foundation/VnApplication.h"
#include "framework/Reader.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/BorrowedDC.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsXPThemedControl, TCustomControl)

namespace {

const TEnumInfo& BevelKindInfo() {
  static const TEnumInfo info(u"TBevelKind", {u"bkNone", u"bkTile", u"bkSoft", u"bkFlat"});
  return info;
}

const TEnumInfo& BevelEdgeInfo() {
  static const TEnumInfo info(u"TBevelEdge", {u"beLeft", u"beTop", u"beRight", u"beBottom"});
  return info;
}

const TEnumInfo& ThemedBevelStyleInfo() {
  static const TEnumInfo info(u"TVnBevelStyle", {u"bvNone", u"bvLowered", u"bvRaised", u"bvFrameLowered",
                                                 u"bvFrameRaised", u"bvNormal", u"bvShadow", u"bvSpace", u"bvFlat"});
  return info;
}

// The window's DC for one non-client paint, released on every path.
pf::BorrowedDC WindowDCOf(pf::HWND wnd) { return pf::BorrowedDC(wnd, pf::GetWindowDC(wnd)); }

TRect Inflated(TRect r, int by) { return Rect(r.left - by, r.top - by, r.right + by, r.bottom + by); }

// The client area in window coordinates.
TRect ClientInWindow(pf::HWND wnd) {
  TRect window{}, client{};
  pf::GetWindowRect(wnd, &window);
  pf::GetClientRect(wnd, &client);
  pf::POINT origin{0, 0};
  pf::ClientToScreen(wnd, &origin);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  return Rect(client.left + dx, client.top + dy, client.right + dx, client.bottom + dy);
}

}  // namespace

void TKsXPThemedControl::PublishProperties(TClassBuilder<TKsXPThemedControl>& b) {
  using C = TKsXPThemedControl;
  b.Property(u"About", &C::About, &C::SetAbout);
  b.Enum(u"BevelKind", &C::BevelKind, &C::SetBevelKind, BevelKindInfo()).Default(bkNone);
  b.Enum(u"BevelInner", &C::BevelInner, &C::SetBevelInner, ThemedBevelStyleInfo()).Default(bvRaised);
  b.Enum(u"BevelOuter", &C::BevelOuter, &C::SetBevelOuter, ThemedBevelStyleInfo()).Default(bvLowered);
  b.Set(u"BevelEdges", &C::BevelEdges, &C::SetBevelEdges, BevelEdgeInfo(), u"TBevelEdges")
      .Default(TBevelEdges{beLeft, beTop, beRight, beBottom});
  b.Property(u"BevelWidth", &C::BevelWidth, &C::SetBevelWidth).Default(1);
  b.Property(u"BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(0);
  b.Property(u"Ctl3D", &C::Ctl3D, &C::SetCtl3D).Default(true);
  b.Object(u"StyleManager", &C::StyleManager, &C::SetStyleManager);
  b.Property(u"StyleName", &C::StyleName, &C::SetStyleName);
  b.Enum(u"ThemeMode", &C::ThemeMode, &C::SetThemeMode, VnThemeModeInfo()).Default(ttmPlatform);
  b.Property(u"ThemeGlobalMode", &C::ThemeGlobalMode, &C::SetThemeGlobalMode).Default(false);
}

TKsXPThemedControl::TKsXPThemedControl(TComponent* owner)
    : TCustomControl(owner), FThemeStyle(*this, [this] { Invalidate(); }) {
  ++FCreating;
  if (--FCreating == 0) FThemeStyle.AssignDefaultManager();
}

TKsXPThemedControl::~TKsXPThemedControl() { FThemeStyle.SetStyleManager(nullptr); }

TVnThemeMode TKsXPThemedControl::UseThemeMode() const { return FThemeStyle.UseThemeMode(); }

void TKsXPThemedControl::SetThemeMode(TVnThemeMode value) {
  if (FThemeStyle.SetThemeMode(value)) ThemeChanged();
}

void TKsXPThemedControl::SetThemeGlobalMode(bool value) {
  if (FThemeStyle.SetThemeGlobalMode(value)) ThemeChanged();
}

void TKsXPThemedControl::SetUseXPThemes(bool value) {
  if (value != UseXPThemes()) SetThemeMode(value ? ttmPlatform : ttmNone);
}

void TKsXPThemedControl::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  // Older forms stored a Boolean; it is read with the same meaning and never written again.
  filer.DefineProperty(
      u"UseXPThemes", [this](TReader& reader) { SetUseXPThemes(reader.ReadBoolean()); }, nullptr, false);
}

void TKsXPThemedControl::ThemeChanged() {
  const bool usable = HandleAllocated() && !ComponentState().Contains(csDestroying);
  if (UseThemeMode() == ttmNone || !usable) {
    Invalidate();
    // The frame as well: one drawn themed must not stay on screen once the control is classic.
    if (usable) pf::RedrawWindow(Handle(), nullptr, nullptr, pf::RDW_INVALIDATE | pf::RDW_FRAME);
    return;
  }
  if (!Showing() || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  FrameChanged();
}

// ---- style manager ----

void TKsXPThemedControl::SetStyleManager(TKsStyleManager* value) { FThemeStyle.SetStyleManager(value); }

void TKsXPThemedControl::SetStyleName(const String& value) { FThemeStyle.SetStyleName(value); }

void TKsXPThemedControl::Loaded() {
  TCustomControl::Loaded();
  FThemeStyle.UpdateStyle();
}

void TKsXPThemedControl::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  FThemeStyle.Notification(component, operation);
}

// ---- the frame ----

void TKsXPThemedControl::FrameChanged() {
  if (!HandleAllocated()) return;
  pf::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   pf::SWP_NOMOVE | pf::SWP_NOSIZE | pf::SWP_NOZORDER | pf::SWP_FRAMECHANGED);
  pf::RedrawWindow(Handle(), nullptr, nullptr, pf::RDW_INVALIDATE | pf::RDW_ERASE | pf::RDW_FRAME);
}

void TKsXPThemedControl::SetBevelKind(TBevelKind value) {
  if (value == bevelKind_) return;
  bevelKind_ = value;
  FrameChanged();
}

void TKsXPThemedControl::SetBevelInner(TVnBevelStyle value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  FrameChanged();
}

void TKsXPThemedControl::SetBevelOuter(TVnBevelStyle value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  FrameChanged();
}

void TKsXPThemedControl::SetBevelEdges(TBevelEdges value) {
  if (value == bevelEdges_) return;
  bevelEdges_ = value;
  FrameChanged();
}

void TKsXPThemedControl::SetBevelWidth(int value) {
  if (value < 1 || value == bevelWidth_) return;
  bevelWidth_ = value;
  FrameChanged();
}

void TKsXPThemedControl::SetBorderWidth(int value) {
  if (value < 0 || value == borderWidth_) return;
  borderWidth_ = value;
  FrameChanged();
}

void TKsXPThemedControl::SetCtl3D(bool value) {
  if (value == ctl3D_) return;
  ctl3D_ = value;
  FrameChanged();
}

int TKsXPThemedControl::BevelSize() const {
  if (bevelKind_ == bkNone) return 0;
  return (bevelInner_ != bvNone ? bevelWidth_ : 0) + (bevelOuter_ != bvNone ? bevelWidth_ : 0);
}

TRect TKsXPThemedControl::BevelRect(TRect r, int direction) const {
  const int e = BevelSize() * direction;
  if (bevelEdges_.Contains(beLeft)) r.left -= e;
  if (bevelEdges_.Contains(beTop)) r.top -= e;
  if (bevelEdges_.Contains(beRight)) r.right += e;
  if (bevelEdges_.Contains(beBottom)) r.bottom += e;
  return r;
}

pf::UINT TKsXPThemedControl::EdgeKind() const {
  pf::UINT kind = 0;
  if (bevelInner_ == bvLowered) kind |= pf::BDR_SUNKENINNER;
  else if (bevelInner_ == bvRaised) kind |= pf::BDR_RAISEDINNER;
  if (bevelOuter_ == bvLowered) kind |= pf::BDR_SUNKENOUTER;
  else if (bevelOuter_ == bvRaised) kind |= pf::BDR_RAISEDOUTER;
  return kind;
}

pf::UINT TKsXPThemedControl::EdgeFlags() const {
  pf::UINT flags = pf::BF_ADJUST;
  if (bevelEdges_.Contains(beLeft)) flags |= pf::BF_LEFT;
  if (bevelEdges_.Contains(beTop)) flags |= pf::BF_TOP;
  if (bevelEdges_.Contains(beRight)) flags |= pf::BF_RIGHT;
  if (bevelEdges_.Contains(beBottom)) flags |= pf::BF_BOTTOM;
  if (bevelKind_ == bkSoft) flags |= pf::BF_SOFT;
  else if (bevelKind_ == bkFlat) flags |= pf::BF_FLAT;
  if (!ctl3D_) flags |= pf::BF_MONO;
  return flags;
}

// Frame and scroll bars as the window's styles ask, then the bevels on their edges, then the
// border band all round.
void TKsXPThemedControl::CalcNonClient(TMessage& message) {
  DefaultHandler(message);
  if (!message.LParam) return;
  pf::RECT* r = message.WParam ? &reinterpret_cast<pf::NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                               : reinterpret_cast<pf::RECT*>(message.LParam);
  *r = Inflated(BevelRect(*r, -1), -borderWidth_);
  if (r->right < r->left) r->right = r->left;
  if (r->bottom < r->top) r->bottom = r->top;
  message.Result = 0;
}

void TKsXPThemedControl::PaintNonClient(TMessage& message) {
  if (bevelKind_ != bkNone || borderWidth_ > 0) {
    if (UseThemeMode() == ttmNone) PaintClassicBorder();
    else PaintThemedBorder();
  }
  DefaultHandler(message);
}

void TKsXPThemedControl::PaintThemedBorder() {
  const TVnThemeMode mode = UseThemeMode();
  TVnThemeServices* themes = GlobalThemeServices();
  const pf::BorrowedDC dc = WindowDCOf(Handle());
  if (!dc.get() || !themes) return;
  const TRect client = ClientInWindow(Handle());
  pf::ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  const TRect element = Inflated(client, borderWidth_);
  TRect edge = element;
  if (bevelKind_ != bkNone) {
    edge = BevelRect(element);
    const auto style = static_cast<pf::DWORD>(pf::GetWindowLongW(Handle(), pf::GWL_STYLE));
    if (style & pf::WS_VSCROLL) edge.right += pf::GetSystemMetrics(pf::SM_CYVSCROLL);
    if (style & pf::WS_HSCROLL) edge.bottom += pf::GetSystemMetrics(pf::SM_CXHSCROLL);
    themes->DrawThemeEdge(mode, dc.get(), ThemedElement(), 0, 0, edge, EdgeKind(), EdgeFlags(), nullptr);
  }
  pf::IntersectClipRect(dc.get(), edge.left, edge.top, edge.right, edge.bottom);
  themes->DrawElement(mode, dc.get(), TThemedElementDetails{ThemedElement(), 0, 0}, element);
}

// The classic frame: the border band in the control's colour, the bevels drawn as edges.
void TKsXPThemedControl::PaintClassicBorder() {
  const pf::BorrowedDC dc = WindowDCOf(Handle());
  if (!dc.get()) return;
  const TRect client = ClientInWindow(Handle());
  pf::ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  const TRect element = Inflated(client, borderWidth_);
  pf::FillRect(dc.get(), &element, Brush()->Handle());
  if (bevelKind_ == bkNone) return;
  TRect edge = BevelRect(element);
  pf::DrawEdge(dc.get(), &edge, EdgeKind(), EdgeFlags());
}

void TKsXPThemedControl::RefreshScrollBars() {
  const auto style = static_cast<pf::DWORD>(pf::GetWindowLongW(Handle(), pf::GWL_STYLE));
  if (style & pf::WS_HSCROLL)
    pf::SetScrollPos(Handle(), pf::SB_HORZ, pf::GetScrollPos(Handle(), pf::SB_HORZ), pf::TRUE);
  if (style & pf::WS_VSCROLL)
    pf::SetScrollPos(Handle(), pf::SB_VERT, pf::GetScrollPos(Handle(), pf::SB_VERT), pf::TRUE);
}

void TKsXPThemedControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case pf::WM_NCCALCSIZE: CalcNonClient(message); return;
    case pf::WM_NCPAINT: PaintNonClient(message); return;
    case pf::WM_THEMECHANGED:
      ThemeChanged();
      message.Result = 1;
      return;
    case pf::WM_SETREDRAW:
      TCustomControl::WndProc(message);
      if (Visible() && message.WParam && HandleAllocated()) RefreshScrollBars();
      return;
    case pf::WM_STYLECHANGING:
    case pf::WM_STYLECHANGED:
      if (FPreventStyleChange) {
        message.Result = 0;
        return;
      }
      break;
    default: break;
  }
  TCustomControl::WndProc(message);
}

}  // namespace kestrel
