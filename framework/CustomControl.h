#pragma once
// TCustomControl: a windowed control that paints itself on a canvas (override Paint). With
// DoubleBuffered the whole paint goes to an off-screen bitmap first.

#include <memory>

#include "framework/ControlCanvas.h"
#include "framework/WinControl.h"

namespace kestrel {

class TCustomControl : public TWinControl {
  KESTREL_CLASS(TCustomControl)
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;

  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(platform::HDC dc) override;

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace kestrel
