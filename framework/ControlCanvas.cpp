#include "framework/ControlCanvas.h"

#include "framework/WinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TControlCanvas, TCanvas)

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* value) {
  if (value == control_) return;
  FreeHandle();
  control_ = value;
}

void TControlCanvas::CreateHandle() {
  if (!control_) return;
  TWinControl* win = dynamic_cast<TWinControl*>(control_);
  TPoint offset{0, 0};
  if (!win) {
    win = control_->Parent();
    offset = Point(control_->Left(), control_->Top());
  }
  if (!win || !win->HandleAllocated()) return;
  pf::HDC dc = pf::GetDC(win->Handle());
  if (!dc) return;
  ownDc_.reset();
  if (win != control_) {
    pf::SetViewportOrgEx(dc, offset.x, offset.y, nullptr);
    pf::IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
  }
  ownDc_.emplace(win->Handle(), dc);
  SetHandle(dc);
}

void TControlCanvas::PaintOn(pf::HDC dc, const std::function<void()>& paint) {
  struct Restore {
    TControlCanvas& canvas;
    ~Restore() {
      canvas.SetHandle(nullptr);
      canvas.Unlock();
    }
  };
  Lock();
  SetHandle(dc);
  Restore restore{*this};
  if (control_) {
    Font()->Assign(control_->Font());
    Brush()->SetColor(control_->Color());
  }
  paint();
}

void TControlCanvas::FreeHandle() {
  DeselectHandles();
  ownDc_.reset();
}

}  // namespace kestrel
