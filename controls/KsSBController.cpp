#include "controls/KsSBController.h"

#include "controls/KsHook.h"
#include "controls/KsSBScrollTranslator.h"
#include "controls/KsXPThemedControl.h"
#include "controls/VnThemeModeRule.h"
#include "controls/VnThemeServices.h"
#include "foundation/VnThemeMode.h"
#include "framework/Exceptions.h"
#include "framework/Filer.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "framework/TypeInfo.h"
#include "framework/WinControl.h"
#include "platform/core/ScopeGuard.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/MemoryCanvas.h"
#include "platform/gdi/SystemColors.h"
#include "platform/theme/VsStyle.h"
#include "platform/window/BorrowedDC.h"
#include "platform/window/ScrollInfoInterception.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

using namespace platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsSBController, TKsComponent)

void TKsSBController::PublishProperties(TClassBuilder<TKsSBController>& b) {
  using P = TKsSBController;
  b.Object(u"Control", &P::Control, &P::SetControl);
  b.Object(u"HorzScrollBarStyles", &P::HorzScrollBarStyles, &P::SetHorzScrollBarStyles);
  b.Object(u"VertScrollBarStyles", &P::VertScrollBarStyles, &P::SetVertScrollBarStyles);
  b.Enum(u"ThemeMode", &P::ThemeMode, &P::SetThemeMode, VnThemeModeInfo()).Default(ttmPlatform);
  b.Property(u"ThemeGlobalMode", &P::ThemeGlobalMode, &P::SetThemeGlobalMode).Default(false);
  b.Event(
      u"OnPaintCrossScrollBarsArea", [](const P& p) { return static_cast<bool>(p.OnPaintCrossScrollBarsArea); },
      u"TKsPaintCrossScrollBarsAreaEvent");
}

void TKsSBController::DefineProperties(TFiler& filer) {
  TKsComponent::DefineProperties(filer);
  // The name older forms stored for the theme choice; read with its meaning, never written.
  filer.DefineProperty(
      u"UseXPThemes", [this](TReader& reader) { SetUseXPThemes(reader.ReadBoolean()); }, nullptr, false);
}

namespace {

constexpr UINT kFrameChanged = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
constexpr DWORD kScrollStyles = WS_HSCROLL | WS_VSCROLL;
// The framework's settings-change notification and the change of the non-client metrics.
constexpr UINT kSettingsChanged = CM_BASE + 37;
constexpr WPARAM kNonClientMetricsChanged = 0x2A;

bool IsLeave(UINT msg) {
  return msg == WM_NCMOUSELEAVE || msg == WM_MOUSELEAVE || msg == CM_MOUSELEAVE || msg == CM_EXIT;
}

bool IsRoutedMouse(UINT msg) {
  return msg == WM_NCMOUSEMOVE || msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONUP || msg == WM_NCLBUTTONDBLCLK ||
         msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || IsLeave(msg);
}

bool IsClientMouse(UINT msg) { return msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP; }

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// A bar of `barClass`, or of the published bar class when `barClass` does not make bars.
std::unique_ptr<TKsCtrlScrollBarStyles> MakeBar(const TMetaClass& barClass, TKsSBControllerLink* controller) {
  std::unique_ptr<TObject> made;
  if (barClass.InheritsFrom(TKsCtrlScrollBarStyles::StaticClass())) made.reset(barClass.Create());
  std::unique_ptr<TKsCtrlScrollBarStyles> bar(dynamic_cast<TKsCtrlScrollBarStyles*>(made.get()));
  if (bar) made.release();
  else bar = std::make_unique<TKsCtrlScrollBarStyles>();
  bar->SetSBController(controller);
  return bar;
}

}  // namespace

TKsSBController::TKsSBController(TComponent* owner) : TKsSBController(owner, TKsCtrlScrollBarStyles::StaticClass()) {}

TKsSBController::TKsSBController(TComponent* owner, const TMetaClass& barClass)
    : TKsComponent(owner), fHKsSB(MakeBar(barClass, this)), fVKsSB(MakeBar(barClass, this)), redraw_([this](bool on) {
        if (ControlHandleAllocated()) SendMessageW(ControlHandle(), WM_SETREDRAW, on ? 1 : 0, 0);
      }) {
  InstallScrollInfoInterception();
  fHKsSB->SetKind(sbHorizontal);
  fVKsSB->SetKind(sbVertical);
  fVKsSB->fWidth = fHKsSB->fHeight;
  fVKsSB->fHeight = fHKsSB->fWidth;
}

TKsSBController::~TKsSBController() {
  Detach();
  FScrollControl = nullptr;
}

bool TKsSBController::Active() const {
  return FScrollControl && fKsHook && fKsHook->Active() && IsScrollInfoInterceptionInstalled();
}

bool TKsSBController::ControlHandleAllocated() const { return FScrollControl && FScrollControl->HandleAllocated(); }

HWND TKsSBController::ControlHandle() const { return ControlHandleAllocated() ? FScrollControl->Handle() : nullptr; }

TKsSBEdges TKsSBController::Edges() const {
  return TKsSBEdges{layout_.cxLeftEdge, layout_.cyTopEdge, layout_.cxRightEdge, layout_.cyBottomEdge};
}

const TKsSBHandlerCustom* TKsSBController::OtherBar(const TKsSBHandlerCustom& bar) const {
  return &bar == fHKsSB.get() ? fVKsSB.get() : fHKsSB.get();
}

DWORD TKsSBController::Style() const {
  return ControlHandleAllocated() ? static_cast<DWORD>(GetWindowLongW(ControlHandle(), GWL_STYLE)) : 0;
}

bool TKsSBController::HasStyle(int bar) const { return Style() & (bar == 0 ? WS_HSCROLL : WS_VSCROLL); }

int TKsSBController::ControlHeight() const {
  RECT r{};
  GetWindowRect(ControlHandle(), &r);
  return r.bottom - r.top;
}

bool TKsSBController::SizeableForm() const {
  auto* form = dynamic_cast<TCustomForm*>(FScrollControl);
  return form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin);
}

// Attaching and detaching.

void TKsSBController::SetControl(TWinControl* control) {
  redraw_.Reset();
  if (control == FScrollControl) return;
  Detach();
  FScrollControl = control;
  if (control) Attach(control);
}

void TKsSBController::Detach() {
  TWinControl* old = FScrollControl;
  DestroyHook();
  fHKsSB->AbandonPress();
  fVKsSB->AbandonPress();
  fHKsSB->FreeScrollTimer();
  fVKsSB->FreeScrollTimer();
  if (fSaveCapture) ReleaseMouse();
  if (old) {
    old->RemoveFreeNotification(this);
    // The platform's own bars come back.
    if (fUpdateCount == 0 && old->HandleAllocated()) SetWindowPos(old->Handle(), nullptr, 0, 0, 0, 0, kFrameChanged);
  }
  FScrollControl = nullptr;
}

void TKsSBController::Attach(TWinControl* control) {
  // Told whenever the control is freed, whoever owns it.
  control->FreeNotification(this);
  if (!IsScrollInfoInterceptionInstalled()) return;
  CreateHook();
  fHKsSB->CreateScrollTimer();
  fVKsSB->CreateScrollTimer();
  if (control->HandleAllocated()) {
    fHKsSB->SyncScrollInfoFromSystem(false);
    fVKsSB->SyncScrollInfoFromSystem(false);
  }
  fHKsSB->ApplySystemMetrics();
  fVKsSB->ApplySystemMetrics();
  fKsHook->SetActive(true);
  if (fUpdateCount == 0) {
    RecomputeFrame();
    if (control->Visible() && control->HandleAllocated())
      RedrawWindow(control->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void TKsSBController::CreateHook() {
  fKsHook = std::make_unique<TKsHook>(nullptr);
  fKsHook->OnBeforeProcess = [this](TObject* s, TMessage& m, bool& h) { HandleCtrlMsgBefore(s, m, h); };
  fKsHook->OnAfterProcess = [this](TObject* s, TMessage& m, bool& h) { HandleCtrlMsgAfter(s, m, h); };
  fKsHook->SetControl(FScrollControl);
}

void TKsSBController::DestroyHook() { fKsHook.reset(); }

void TKsSBController::Notification(TComponent* component, TOperation operation) {
  TKsComponent::Notification(component, operation);
  if (operation == opRemove && component == FScrollControl) {
    DestroyHook();
    fHKsSB->AbandonPress();
    fVKsSB->AbandonPress();
    fSaveCapture = nullptr;
    FScrollControl = nullptr;
  }
}

void TKsSBController::ApplySystemMetrics() {
  // The hook stays out of the way while the bars take the new sizes.
  bool wasActive = fKsHook && fKsHook->Active();
  if (wasActive) fKsHook->SetActive(false);
  fHKsSB->ApplySystemMetrics();
  fVKsSB->ApplySystemMetrics();
  if (wasActive) fKsHook->SetActive(true);
  if (fUpdateCount == 0) {
    RecomputeFrame();
    if (ControlHandleAllocated())
      RedrawWindow(ControlHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void TKsSBController::EndUpdate() {
  if (fUpdateCount == 0 || --fUpdateCount > 0 || !Active()) return;
  // The window's own scroll calls went past the bars meanwhile: they read its state now, and the
  // frame and both bars show it.
  if (ControlHandleAllocated()) {
    fHKsSB->SyncScrollInfoFromSystem(false);
    fVKsSB->SyncScrollInfoFromSystem(false);
  }
  RecomputeFrame();
  PaintScrollBar(SB_BOTH);
}

void TKsSBController::RecomputeFrame() {
  if (fUpdateCount == 0 && ControlHandleAllocated() && fKsHook && fKsHook->Active())
    SetWindowPos(ControlHandle(), nullptr, 0, 0, 0, 0, kFrameChanged);
}

int TKsSBController::DoShowScrollBar(int wBar, bool bShow) {
  if (!ControlHandleAllocated()) return 0;
  DWORD bits = wBar == SB_HORZ ? WS_HSCROLL : wBar == SB_VERT ? WS_VSCROLL : kScrollStyles;
  DWORD style = Style();
  SetWindowLongW(ControlHandle(), GWL_STYLE, static_cast<LONG>(bShow ? style | bits : style & ~bits));
  return -1;
}

// Themes and tracking flags.

TScrollBarTracking TKsSBController::ScrollBarsTracking() const {
  return static_cast<TScrollBarTracking>((fHKsSB->ScrollTracking() ? sbtrHorizontal : 0) |
                                         (fVKsSB->ScrollTracking() ? sbtrVertical : 0));
}

void TKsSBController::SetScrollBarsTracking(TScrollBarTracking value) {
  fHKsSB->SetScrollTracking(value & sbtrHorizontal);
  fVKsSB->SetScrollTracking(value & sbtrVertical);
}

void TKsSBController::SetThemeMode(TVnThemeMode value) {
  if (value == FThemeMode) return;
  FThemeMode = value;
  ThemeChanged();
}

void TKsSBController::SetThemeGlobalMode(bool value) {
  if (value == FThemeGlobalMode) return;
  FThemeGlobalMode = value;
  ThemeChanged();
}

void TKsSBController::ThemeChanged() {
  for (auto* bar : {fHKsSB.get(), fVKsSB.get()}) {
    bar->SetThemeMode(FThemeMode);
    bar->SetThemeGlobalMode(FThemeGlobalMode);
  }
  if (fUpdateCount == 0 && ControlHandleAllocated()) {
    FScrollControl->Invalidate();
    RedrawWindow(ControlHandle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

// Geometry and painting.

TRect TKsSBController::GetCrossScrollBarsRect() const {
  if (!fHKsSB->Visible() || !fVKsSB->Visible()) return TRect{-1, -1, -1, -1};
  return layout_.CrossRect(ControlHeight());
}

LRESULT TKsSBController::InternalHitTest(int X, int Y) {
  POINT p{X, Y};
  ScreenToClient(ControlHandle(), &p);
  return layout_.HitTest(layout_.ClientToFrame(p), ControlHeight(), SizeableForm());
}

void TKsSBController::PaintScrollBar(int bar) {
  if (bar == 3) {
    PaintScrollBar(0);
    PaintScrollBar(1);
    return;
  }
  if (fUpdateCount > 0 || !HasStyle(bar)) return;
  const RECT& r = bar == 0 ? layout_.HorzRect() : layout_.VertRect();
  int width = r.right - r.left + 1, height = r.bottom - r.top + 1;
  if (bar == 0) height += layout_.PaintHeightGrowth(ControlHeight());
  if (width <= 0 || height <= 0) return;
  try {
    BorrowedDC dc(ControlHandle(), GetWindowDC(ControlHandle()));
    MemoryCanvas buffer = MemoryCanvas::Compatible(dc.get(), width, height);
    if (!buffer.Valid()) return;
    TCanvas canvas;
    canvas.SetHandle(buffer.Dc());
    Bar(bar).Paint(canvas);
    canvas.SetHandle(nullptr);
    BitBlt(dc.get(), r.left, r.top, width, height, buffer.Dc(), 0, 0, SRCCOPY);
  } catch (const Exception&) {
  }
}

void TKsSBController::PaintCorner(HDC dc) {
  TRect r = GetCrossScrollBarsRect();
  if (r.left < 0) return;
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Brush()->SetColor(clBtnFace);
  canvas.Pen()->SetColor(clBtnFace);
  bool defaultDraw = true;
  if (OnPaintCrossScrollBarsArea) OnPaintCrossScrollBarsArea(FScrollControl, canvas, r, defaultDraw);
  if (defaultDraw) PaintDefaultCorner(canvas, r);
  canvas.SetHandle(nullptr);
}

bool TKsSBController::IsThemed() const { return EffectiveThemeMode(FThemeMode, FThemeGlobalMode) != ttmNone; }

// The corner's own look: the size grip on a sizeable form, a plain face elsewhere; themed, the
// theme's scroll-bar face and its size box.
void TKsSBController::PaintDefaultCorner(TCanvas& canvas, TRect r) {
  const bool grip = SizeableForm();
  const bool left = layout_.LeftScrollBar();
  if (!IsThemed()) {
    if (grip) DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, left ? DFCS_SCROLLSIZEGRIPRIGHT : DFCS_SCROLLSIZEGRIP);
    else DrawEdge(canvas.Handle(), &r, EDGE_SUNKEN, BF_MIDDLE);
    return;
  }
  TVnThemeServices* services = GlobalThemeServices();
  const TVnThemeMode mode = EffectiveThemeMode(FThemeMode, FThemeGlobalMode);
  const TColor face = services->GetThemeSysColor(mode, teScrollBar, COLOR_BTNFACE);
  canvas.Brush()->SetColor(face == clNone ? clBtnFace : face);
  canvas.FillRect(r);
  if (grip)
    services->DrawElement(mode, canvas.Handle(), {teScrollBar, SBP_SIZEBOX, left ? SZB_LEFTALIGN : SZB_RIGHTALIGN}, r);
}

// Scrolling the control for a bar.

void TKsSBController::KsSBScrollEvent(int bar, TKsScrollCode code, bool& doChange, int& position) {
  if (!ControlHandleAllocated()) return;
  // The translator needs the bar's mirrored values and its re-read.
  class Side : public TKsSBScrollSide {
   public:
    explicit Side(TKsSBHandlerCustom& b) : b_(b) {}
    int Position() const override { return b_.Position(); }
    int Min() const override { return b_.Min(); }
    int Max() const override { return b_.Max(); }
    int TrackPos() const override { return b_.TrackPos(); }
    bool UseSystemStep() const override { return b_.UseSystemStep(); }
    void Reread() override { b_.SyncScrollInfoFromSystem(false); }

   private:
    TKsSBHandlerCustom& b_;
  } side(Bar(bar));
  try {
    TKsSBScrollTranslator(ControlHandle(), bar == 1).Translate(side, code, doChange, position);
  } catch (const Exception&) {
  }
}

// Capture.

void TKsSBController::CaptureMouse() {
  HWND previous = GetCapture();
  if (previous == ControlHandle()) return;
  fSaveCapture = previous;
  if (previous) ReleaseCapture();
  SetCapture(ControlHandle());
}

void TKsSBController::ReleaseMouse() {
  if (GetCapture() == ControlHandle() || fSaveCapture) {
    ReleaseCapture();
    HWND saved = fSaveCapture;
    fSaveCapture = nullptr;
    if (saved && IsWindow(saved)) SetCapture(saved);
  }
}

void TKsSBController::CancelMode() {
  ReleaseMouse();
  for (int bar : {0, 1}) {
    TKsSBHandlerCustom& b = Bar(bar);
    if (!HasStyle(bar) || !(b.Pressed() || b.Tracking())) continue;
    if (b.MouseInControl()) b.MouseLeave(false);
    b.MouseButton(false, mbLeft, -1, -1);
  }
}

// The hook's handlers.

void TKsSBController::HandleCtrlMsgBefore(TObject*, TMessage& msg, bool& handled) {
  if (fUpdateCount > 0) return;
  try {
    if (msg.Msg == ScrollBarMessage()) handled = HandleScrollBarMessage(msg);
    else if (msg.Msg == WM_NCCALCSIZE) {
      // The platform drops or restores a bar's style when its range empties or fills again, then
      // recomputes the frame: the bars report before the new client size reaches the control.
      NoteBarVisibility();
      handled = HandleNcCalcSize(msg);
    } else if (msg.Msg == WM_NCPAINT || msg.Msg == WM_NCACTIVATE) handled = HandleNcPaint(msg);
    else if (msg.Msg == WM_NCHITTEST) handled = HandleNcHitTest(msg);
    else if (IsRoutedMouse(msg.Msg)) handled = HandleMouse(msg);
    else if (msg.Msg == WM_CANCELMODE) CancelMode();
    else if (msg.Msg == WM_HSCROLL || msg.Msg == WM_VSCROLL) handled = HandleScrollRequest(msg);
    else if (msg.Msg == WM_SETREDRAW && redraw_.FilterSetRedraw(msg.WParam)) {
      msg.Result = 0;
      handled = true;
    } else if (msg.Msg == WM_KEYDOWN) {
      fHSavePos = fHKsSB->Position();
      fVSavePos = fVKsSB->Position();
    } else if ((msg.Msg == WM_STYLECHANGING || msg.Msg == WM_STYLECHANGED) && fPreventStyleChange) {
      handled = true;
    } else if (msg.Msg == kSettingsChanged && msg.WParam == kNonClientMetricsChanged) {
      ApplySystemMetrics();
    }
  } catch (const Exception&) {
    handled = false;
  }
}

void TKsSBController::HandleCtrlMsgAfter(TObject*, TMessage& msg, bool&) {
  if (fUpdateCount > 0 || !ControlHandleAllocated()) return;
  try {
    if (msg.Msg == WM_STYLECHANGED) NoteBarVisibility();
    bool visible = FScrollControl->Visible();
    if (msg.Msg == WM_KEYDOWN) {
      for (int bar : {0, 1}) {
        SCROLLINFO si;
        si.fMask = SIF_POS;
        int platformPos = GetScrollInfo(ControlHandle(), bar, &si) ? si.nPos : -1;
        if (Bar(bar).Visible() && platformPos != Bar(bar).Position())
          Bar(bar).SyncScrollInfoFromSystem(visible && redraw_.State() == TSaveWMSetRedraw::wmsrTrue);
      }
    } else if (msg.Msg == WM_SETREDRAW && msg.WParam && visible) {
      bool repaint = !dynamic_cast<TKsXPThemedControl*>(FScrollControl);
      for (int bar : {0, 1})
        if (Bar(bar).Visible()) Bar(bar).SyncScrollInfoFromSystem(repaint);
    } else if (msg.Msg == WM_SIZE && msg.WParam == SIZE_RESTORED && visible) {
      RecomputeFrame();
    } else if ((msg.Msg == WM_ENABLE || msg.Msg == WM_WINDOWPOSCHANGED) && visible) {
      PaintScrollBar(3);
    }
  } catch (const Exception&) {
  }
}

void TKsSBController::NoteBarVisibility() {
  fHKsSB->Visible();
  fVKsSB->Visible();
}

bool TKsSBController::HandleScrollBarMessage(TMessage& msg) {
  if (!IsScrollInfoInterceptionInstalled()) return false;
  switch (msg.WParam) {
    case kScrollBarQuery:
      msg.Result = 0;
      if (msg.LParam) {
        msg.Result = reinterpret_cast<LPARAM>(this);
        *reinterpret_cast<LPARAM*>(msg.LParam) = msg.Result;
      }
      return true;
    case kScrollBarRepaint: PaintScrollBar(msg.LParam == 0 ? 0 : msg.LParam == 1 ? 1 : 3); return true;
    case kScrollBarSync: {
      auto* record = reinterpret_cast<const ScrollSyncRecord*>(msg.LParam);
      if (record && record->info && (record->bar == SB_HORZ || record->bar == SB_VERT))
        Bar(record->bar).SyncScrollInfo(*record->info, record->redraw);
      return true;
    }
  }
  return false;
}

LRESULT TKsSBController::PerformWithoutScrollStyles(TMessage& msg) {
  HWND hwnd = ControlHandle();
  DWORD style = Style();
  fPreventStyleChange = true;
  ScopeGuard restore([&] {
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
    fPreventStyleChange = false;
  });
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style & ~kScrollStyles));
  return FScrollControl->Perform(msg.Msg, msg.WParam, msg.LParam);
}

bool TKsSBController::HandleNcCalcSize(TMessage& msg) {
  if (!msg.WParam || fPreventStyleChange) return false;
  DWORD style = Style();
  if (!(style & kScrollStyles)) {
    layout_.Clear();
    return false;
  }
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(msg.LParam);
  TKsSBFrameInput in;
  in.proposed = params->rgrc[0];
  msg.Result = PerformWithoutScrollStyles(msg);
  in.defaultClient = params->rgrc[0];
  in.hasHorz = style & WS_HSCROLL;
  in.hasVert = style & WS_VSCROLL;
  in.leftScrollBar = GetWindowLongW(ControlHandle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
  in.horzDepth = fHKsSB->Depth();
  in.vertDepth = fVKsSB->Depth();
  params->rgrc[0] = layout_.Calculate(in);
  fHKsSB->fScrollBarRect = layout_.HorzRect();
  fVKsSB->fScrollBarRect = layout_.VertRect();
  if (in.hasHorz) fHKsSB->fWidth = layout_.HorzRect().right - layout_.HorzRect().left + 1;
  if (in.hasVert) fVKsSB->fHeight = layout_.VertRect().bottom - layout_.VertRect().top + 1;
  fHKsSB->UpdateThumbPos();
  fVKsSB->UpdateThumbPos();
  return true;
}

bool TKsSBController::HandleNcPaint(TMessage& msg) {
  DWORD style = Style();
  if (fPreventStyleChange || !(style & kScrollStyles)) return false;
  msg.Result = PerformWithoutScrollStyles(msg);
  if ((style & kScrollStyles) == kScrollStyles) {
    BorrowedDC dc(ControlHandle(), GetWindowDC(ControlHandle()));
    PaintCorner(dc.get());
  }
  if (style & WS_HSCROLL) PaintScrollBar(0);
  if (style & WS_VSCROLL) PaintScrollBar(1);
  return true;
}

bool TKsSBController::HandleNcHitTest(TMessage& msg) {
  if (!fHKsSB->Visible() && !fVKsSB->Visible()) return false;
  POINT screen = PointOf(msg.LParam);
  LRESULT hit = InternalHitTest(screen.x, screen.y);
  for (int bar : {0, 1}) {
    LRESULT own = bar == 0 ? HTHSCROLL : HTVSCROLL;
    if (hit != own && Bar(bar).MouseInControl()) {
      Bar(bar).MouseMove(-1, -1);
      Bar(bar).MouseLeave(false);
    }
  }
  if (hit != HTHSCROLL && hit != HTVSCROLL) return false;
  msg.Result = hit;
  return true;
}

void TKsSBController::RouteToBar(int bar, const TMessage& msg, POINT frame, bool over) {
  TKsSBHandlerCustom& b = Bar(bar);
  const RECT& r = bar == 0 ? layout_.HorzRect() : layout_.VertRect();
  int x = frame.x - r.left, y = frame.y - r.top;
  bool move = msg.Msg == WM_NCMOUSEMOVE || msg.Msg == WM_MOUSEMOVE;
  bool up = msg.Msg == WM_NCLBUTTONUP || msg.Msg == WM_LBUTTONUP;
  if (over) {
    if (!b.MouseInControl()) b.MouseEnter();
    if (move) b.MouseMove(x, y);
    else if (up) b.MouseButton(false, mbLeft, x, y);
    else b.MouseButton(true, mbLeft, x, y);
    return;
  }
  if (b.MouseInControl()) b.MouseLeave(false);
  if (move) b.MouseMove(x, y);
  else if (up) b.MouseButton(false, mbLeft, x, y);
}

bool TKsSBController::HandleMouse(TMessage& msg) {
  DWORD style = Style();
  if (!(style & kScrollStyles)) return false;
  if (IsLeave(msg.Msg)) {
    for (int bar : {0, 1})
      if (HasStyle(bar)) Bar(bar).MouseLeave(true);
    return false;
  }
  POINT p = PointOf(msg.LParam);
  if (!IsClientMouse(msg.Msg)) ScreenToClient(ControlHandle(), &p);
  POINT frame = layout_.ClientToFrame(p);
  bool horzBusy = fHKsSB->Pressed() || fHKsSB->Tracking();
  bool vertBusy = fVKsSB->Pressed() || fVKsSB->Tracking();
  TKsSBMouseRoute route = layout_.Route(frame, ControlHeight(), horzBusy, vertBusy);
  bool press = msg.Msg == WM_NCLBUTTONDOWN || msg.Msg == WM_NCLBUTTONDBLCLK;
  if (press && !route.overHorz && !route.overVert) return false;
  if (style & WS_HSCROLL) RouteToBar(0, msg, frame, route.overHorz);
  if (style & WS_VSCROLL) RouteToBar(1, msg, frame, route.overVert);
  // A move the bars took still reaches the control, as a move nowhere.
  if (route.handled && msg.Msg == WM_NCMOUSEMOVE) {
    msg.LParam = MAKELPARAM(static_cast<WORD>(-1), static_cast<WORD>(-1));
    return false;
  }
  return route.handled;
}

bool TKsSBController::HandleScrollRequest(TMessage& msg) {
  static thread_local bool performing = false;
  if (performing || LOWORD(msg.WParam) >= SB_ENDSCROLL || !FScrollControl->Visible()) return false;
  int bar = msg.Msg == WM_VSCROLL ? 1 : 0;
  int& saved = bar == 1 ? fVSavePos : fHSavePos;
  saved = Bar(bar).Position();
  redraw_.SuspendForScroll();
  {
    // Redraw comes back however the control's handling ends.
    auto restore = redraw_.RestoreGuard();
    performing = true;
    ScopeGuard done([&] { performing = false; });
    try {
      msg.Result = FScrollControl->Perform(msg.Msg, msg.WParam, msg.LParam);
    } catch (const Exception&) {
      // The control had the message; a failure there must not hand it over a second time.
    }
  }
  Bar(bar).SyncScrollInfoFromSystem(false);
  if (Bar(bar).Position() != saved) {
    RedrawWindow(ControlHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    PaintScrollBar(bar);
  }
  return true;
}

}  // namespace kestrel
