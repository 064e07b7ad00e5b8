#pragma once
// What a scroll bar needs of the controller that owns it. TKsSBController implements it; tests
// implement it to drive a bar without a window.

#include "controls/KsSBTypes.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

class TKsSBHandlerCustom;
class TWinControl;

// The non-client border widths of the attached window measured without scroll bars.
struct TKsSBEdges {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class TKsSBControllerLink {
 public:
  virtual ~TKsSBControllerLink() = default;

  // The attached control, or none.
  virtual TWinControl* AttachedControl() const = 0;
  // The attached control's window exists.
  virtual bool ControlHandleAllocated() const = 0;
  virtual platform::HWND ControlHandle() const = 0;
  // Above 0 while the controller is in BeginUpdate/EndUpdate.
  virtual int UpdateCount() const = 0;
  virtual TKsSBEdges Edges() const = 0;
  // The vertical bar stands on the left (WS_EX_LEFTSCROLLBAR).
  virtual bool VerticalBarOnLeft() const = 0;
  // True while the controller itself alters the window's scroll styles.
  virtual bool PreventStyleChange() const = 0;
  // The bar of the other orientation.
  virtual const TKsSBHandlerCustom* OtherBar(const TKsSBHandlerCustom& bar) const = 0;
  virtual bool IsThemed() const = 0;

  // Mouse capture for the control's window while a bar is pressed.
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;

  // Turns a bar's step into scroll messages to the control (see TKsSBController).
  virtual void KsSBScrollEvent(int bar, TKsScrollCode code, bool& doChange, int& position) = 0;
  // Paints the bar at once (0 horizontal, 1 vertical); dropped while in an update.
  virtual void RepaintBar(int bar) = 0;
  // SetWindowPos with SWP_FRAMECHANGED on the control.
  virtual void RecomputeFrame() = 0;
  virtual int DoShowScrollBar(int bar, bool show) = 0;
};

}  // namespace kestrel
