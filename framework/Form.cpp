#include "framework/Form.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/PropInfo.h"
#include "framework/Screen.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

const TEnumInfo& FormBorderStyleTypeInfo() {
  static const TEnumInfo info(u"TFormBorderStyle",
                              {u"bsNone", u"bsSingle", u"bsSizeable", u"bsDialog", u"bsToolWindow", u"bsSizeToolWin"});
  return info;
}

namespace {

const TEnumInfo& BorderIconInfo() {
  static const TEnumInfo info(u"TBorderIcon", {u"biSystemMenu", u"biMinimize", u"biMaximize", u"biHelp"});
  return info;
}
const TEnumInfo& PositionInfo() {
  static const TEnumInfo info(
      u"TPosition", {u"poDesigned", u"poDefault", u"poDefaultPosOnly", u"poDefaultSizeOnly", u"poScreenCenter",
                     u"poDesktopCenter", u"poMainFormCenter", u"poOwnerFormCenter"});
  return info;
}
}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TCustomForm, TWinControl)
KESTREL_IMPLEMENT_CLASS(TForm, TCustomForm)

void TCustomForm::PublishProperties(TClassBuilder<TCustomForm>& b) {
  // A form starts hidden and with its own font, so those are its stored defaults.
  b.Property(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(false);
  b.Property(u"Visible", &TControl::Visible, &TControl::SetVisible).Default(false);
  b.Set(u"BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, BorderIconInfo(), u"TBorderIcons")
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  b.Enum(u"BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, FormBorderStyleTypeInfo())
      .Default(bsSizeable);
  b.Property(u"KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
  b.Enum(u"Position", &TCustomForm::Position, &TCustomForm::SetPosition, PositionInfo()).Default(poDefaultPosOnly);
  b.Property(u"ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth).Stored(false);
  b.Property(u"ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight).Stored(false);
  b.Event(
      u"OnCreate", [](const TCustomForm& f) { return static_cast<bool>(f.OnCreate); }, u"TNotifyEvent");
  b.Event(
      u"OnClose", [](const TCustomForm& f) { return static_cast<bool>(f.OnClose); }, u"TCloseEvent");
  b.Event(
      u"OnShow", [](const TCustomForm& f) { return static_cast<bool>(f.OnShow); }, u"TNotifyEvent");
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
  SetVisible(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  Screen()->AddForm(this);
}

TCustomForm::~TCustomForm() {
  BeforeDestruction();
  Screen()->RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
  if (created_) return;
  created_ = true;
  if (OnCreate) OnCreate(this);
  if (Visible()) ShowingChanged();
}

void TCustomForm::BeforeDestruction() {
  if (destroyed_) return;
  destroyed_ = true;
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (value == borderIcons_) return;
  borderIcons_ = value;
  RecreateWnd();
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WndParent = nullptr;
  // A recreated window of a shown form comes back shown.
  p.Style = pf::WS_CLIPCHILDREN | (Visible() ? pf::WS_VISIBLE : 0);
  p.ExStyle = 0;
  const bool sysMenu = borderIcons_.Contains(biSystemMenu);
  switch (borderStyle_) {
    case bsNone: p.Style |= pf::WS_POPUP; break;
    case bsSingle: p.Style |= pf::WS_CAPTION | pf::WS_BORDER; break;
    case bsSizeable: p.Style |= pf::WS_CAPTION | pf::WS_THICKFRAME; break;
    case bsDialog:
      p.Style |= pf::WS_POPUP | pf::WS_CAPTION | pf::WS_DLGFRAME;
      p.ExStyle |= pf::WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      p.Style |= pf::WS_CAPTION;
      p.ExStyle |= pf::WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      p.Style |= pf::WS_CAPTION | pf::WS_THICKFRAME;
      p.ExStyle |= pf::WS_EX_TOOLWINDOW;
      break;
  }
  if (borderStyle_ != bsNone && sysMenu) p.Style |= pf::WS_SYSMENU;
  if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
    if (borderIcons_.Contains(biMinimize)) p.Style |= pf::WS_MINIMIZEBOX;
    if (borderIcons_.Contains(biMaximize)) p.Style |= pf::WS_MAXIMIZEBOX;
  }
  if (ApplicationExists() && Application()->MainForm() == this) p.ExStyle |= pf::WS_EX_APPWINDOW;
  if (!Enabled()) p.Style |= pf::WS_DISABLED;
}

TRect TCustomForm::FrameInsets() const {
  TCreateParams p;
  const_cast<TCustomForm*>(this)->CreateParams(p);
  pf::RECT r{0, 0, 0, 0};
  pf::AdjustWindowRectEx(&r, p.Style, pf::FALSE, p.ExStyle);
  return Rect(-r.left, -r.top, r.right, r.bottom);
}

TRect TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  const TRect f = FrameInsets();
  return Rect(0, 0, std::max(0, Width() - f.left - f.right), std::max(0, Height() - f.top - f.bottom));
}

void TCustomForm::SetClientSize(int width, int height) {
  const TRect f = FrameInsets();
  SetBounds(Left(), Top(), width + f.left + f.right, height + f.top + f.bottom);
}

bool TCustomForm::Showing() const {
  return Visible() && HandleAllocated() && pf::IsWindowVisible(const_cast<TCustomForm*>(this)->Handle());
}

void TCustomForm::ApplyPosition() {
  if (positioned_) return;
  positioned_ = true;
  TRect area = Screen()->WorkAreaRect();
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* center = position_ == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
      if (!center && ApplicationExists()) center = Application()->MainForm();
      if (!center || center == this) break;
      area = center->BoundsRect();
      break;
    }
    default: return;
  }
  const int x = area.left + ((area.right - area.left) - Width()) / 2;
  const int y = area.top + ((area.bottom - area.top) - Height()) / 2;
  SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) pf::BringWindowToTop(Handle());
}

void TCustomForm::ShowingChanged() {
  if (Visible()) {
    ApplyPosition();
    HandleNeeded();
    pf::ShowWindow(Handle(), pf::SW_SHOW);
    pf::SetActiveWindow(Handle());
    DoShow();
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
    else SelectFirst();
  } else if (HandleAllocated()) {
    pf::ShowWindow(Handle(), pf::SW_HIDE);
    DoHide();
  }
  NotifyShowingChanged();
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::SelectFirst() {
  if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
}

void TCustomForm::SetActiveControl(TWinControl* value) {
  if (value == activeControl_) return;
  if (value && (value == this || !ContainsControl(value))) throw EInvalidOperation(u"Invalid parameter");
  activeControl_ = value;
  if (value) {
    FreeNotification(value);
    if (Showing() && value->CanFocus()) value->SetFocus();
  }
}

// Coming back to a form (after a message box, another window) puts the keyboard focus back on
// the control that last had it, unless a control of this form has it already.
void TCustomForm::RestoreActiveControlFocus() {
  const pf::HWND focus = pf::GetFocus();
  if (focus && focus != Handle() && pf::GetAncestor(focus, pf::GA_ROOT) == Handle()) return;
  if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
}

void TCustomForm::SetActiveControlOnFocus(TWinControl* control) {
  if (control == activeControl_) return;
  activeControl_ = control;
  if (control) FreeNotification(control);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == activeControl_) activeControl_ = nullptr;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  const bool isMain = ApplicationExists() && Application()->MainForm() == this;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (isMain) {
    Application()->Terminate();
    Hide();
    return;
  }
  if (action == caHide) Hide();
  else if (action == caMinimize && HandleAllocated()) pf::ShowWindow(Handle(), pf::SW_MINIMIZE);
  else if (action == caFree) Release();
}

void TCustomForm::Release() { Application()->ScheduleRelease(this); }

TModalResult TCustomForm::ShowModal() {
  if (Visible() || modal_) throw EInvalidOperation(u"Cannot make a visible window modal");
  std::vector<TCustomForm*> disabled;
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* f = Screen()->Forms(i);
    if (f != this && f->Enabled() && f->Showing()) {
      f->SetEnabled(false);
      disabled.push_back(f);
      FreeNotification(f);
    }
  }
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  TApplication* app = Application();
  while (true) {
    app->HandleMessage();
    if (app->Terminated()) {
      if (modalResult_ == mrNone) modalResult_ = mrCancel;
    }
    if (modalResult_ != mrNone) {
      // The box closes only if OnCloseQuery and OnClose agree.
      modal_ = false;
      TCloseAction action = caHide;
      if (!CloseQuery()) action = caNone;
      else if (OnClose) OnClose(this, action);
      modal_ = true;
      if (action != caNone || app->Terminated()) break;
      modalResult_ = mrNone;
    }
    if (!Visible()) break;
  }
  modal_ = false;
  const TModalResult result = modalResult_ == mrNone ? mrCancel : modalResult_;
  Hide();
  for (TCustomForm* f : disabled) {
    // A form freed meanwhile is not in the screen's list any more.
    for (int i = 0; i < Screen()->FormCount(); ++i)
      if (Screen()->Forms(i) == f) f->SetEnabled(true);
  }
  return result;
}

bool TCustomForm::DialogKey(pf::WORD key) {
  if (key == pf::VK_TAB) {
    SelectNext(activeControl_, !KeyboardShiftState().Contains(ssShift), true);
    return true;
  }
  if (key == pf::VK_RETURN || key == pf::VK_ESCAPE) {
    // The focused control first (a focused button takes Enter), then everyone.
    if (activeControl_ && activeControl_->Perform(CM_DIALOGKEY, key) != 0) return true;
    return BroadcastUntilAnswered(CM_DIALOGKEY, key, activeControl_);
  }
  return false;
}

bool TCustomForm::BroadcastUntilAnswered(pf::UINT msg, pf::WPARAM wParam, const TControl* skip) {
  std::vector<TWinControl*> stack{this};
  while (!stack.empty()) {
    TWinControl* w = stack.back();
    stack.pop_back();
    for (int i = 0; i < w->ControlCount(); ++i) {
      TControl* c = w->Controls(i);
      if (c == skip) continue;
      if (c->Perform(msg, wParam) != 0) return true;
      if (auto* child = dynamic_cast<TWinControl*>(c)) stack.push_back(child);
    }
  }
  return false;
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(pf::HDC dc) {
  if (!OnPaint) return;
  canvas_->PaintOn(dc, [this] { Paint(); });
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case pf::WM_CLOSE: Close(); return;
    case CM_VISIBLECHANGED: ShowingChanged(); return;
    case CM_DIALOGKEY: m.Result = DialogKey(static_cast<pf::WORD>(m.WParam)) ? 1 : 0; return;
    // An accelerator: the first control that takes it (a label focusing its FocusControl).
    case CM_DIALOGCHAR: m.Result = BroadcastUntilAnswered(CM_DIALOGCHAR, m.WParam, nullptr) ? 1 : 0; return;
    case pf::WM_ACTIVATE:
      if (pf::LOWORD(m.WParam) != pf::WA_INACTIVE) {
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      TWinControl::WndProc(m);
      if (pf::LOWORD(m.WParam) != pf::WA_INACTIVE && pf::HIWORD(m.WParam) == 0) RestoreActiveControlFocus();
      return;
    case pf::WM_KEYDOWN:
    case pf::WM_KEYUP:
    case pf::WM_CHAR: break;
    default: break;
  }
  TWinControl::WndProc(m);
}

void TCustomForm::GetAccessibleInfo(TAccessibleInfo& info) const {
  TWinControl::GetAccessibleInfo(info);
  info.Role = borderStyle_ == bsDialog ? TAccessibleRole::Dialog : TAccessibleRole::Frame;
  info.Name = Caption();
  info.Focusable = false;
  info.Modal = modal_;
}

}  // namespace kestrel
