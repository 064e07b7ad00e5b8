#pragma once
// A controller link with no control behind it: nothing is attached, every request is dropped and
// a scroll step counts as a change. Tests derive from it and record what they look at.

#include "controls/KsSBControllerLink.h"

namespace kestrel {

class TDetachedSBController : public TKsSBControllerLink {
 public:
  explicit TDetachedSBController(bool themed = false) : themed_(themed) {}

  TWinControl* AttachedControl() const override { return nullptr; }
  bool ControlHandleAllocated() const override { return false; }
  platform::HWND ControlHandle() const override { return nullptr; }
  int UpdateCount() const override { return 0; }
  TKsSBEdges Edges() const override { return {}; }
  bool VerticalBarOnLeft() const override { return false; }
  bool PreventStyleChange() const override { return false; }
  const TKsSBHandlerCustom* OtherBar(const TKsSBHandlerCustom&) const override { return nullptr; }
  bool IsThemed() const override { return themed_; }
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  void KsSBScrollEvent(int, TKsScrollCode, bool& doChange, int&) override { doChange = true; }
  void RepaintBar(int) override {}
  void RecomputeFrame() override {}
  int DoShowScrollBar(int, bool) override { return 0; }

 private:
  bool themed_;
};

}  // namespace kestrel
