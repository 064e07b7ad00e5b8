#pragma once
// TGraphicControl: a control without a window. Its parent paints it (after the parent's own
// paint, in z-order, moved and clipped to it) and routes mouse input to it.

#include <memory>

#include "framework/Control.h"
#include "framework/ControlCanvas.h"

namespace kestrel {

class TGraphicControl : public TControl {
  KESTREL_CLASS(TGraphicControl)
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;

  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  virtual void Paint() {}
  void WndProc(TMessage& message) override;

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace kestrel
