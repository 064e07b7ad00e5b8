#pragma once
// TControlCanvas: the canvas of a control. Paint handlers hand it the paint DC; outside a paint
// it draws through a window DC of the control (or, for a windowless one, of its parent, moved
// and clipped to the control), released again by FreeHandle.

#include <functional>
#include <optional>

#include "framework/Canvas.h"
#include "platform/window/BorrowedDC.h"

namespace kestrel {

class TControl;

class TControlCanvas : public TCanvas {
  KESTREL_CLASS(TControlCanvas)
  explicit TControlCanvas(TControl* control = nullptr) : control_(control) {}
  ~TControlCanvas() override;

  TControl* Control() const { return control_; }
  void SetControl(TControl* value);
  // Releases a DC the canvas got for itself (a DC handed in with SetHandle is just forgotten).
  void FreeHandle();
  // Runs `paint` with the canvas on `dc`, its font and brush set up from the control's, and
  // leaves the DC as it found it (also when `paint` throws).
  void PaintOn(platform::HDC dc, const std::function<void()>& paint);

 protected:
  void CreateHandle() override;

 private:
  TControl* control_;
  std::optional<platform::BorrowedDC> ownDc_;
};

}  // namespace kestrel
