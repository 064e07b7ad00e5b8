#pragma once
// The controller side of a bar that lives in no window of its own (a bar painted onto a bitmap,
// or sitting on a control of its size): nothing is attached, no frame is measured, and each
// step the bar makes becomes its new position, as a window that scrolls itself would set it.

#include "controls/KsSBControllerLink.h"

namespace kestrel {

class TKsSBStandaloneLink : public TKsSBControllerLink {
 public:
  explicit TKsSBStandaloneLink(bool themed = false) : themed_(themed) {}

  // The bar whose steps are taken as its position; none: steps change nothing.
  void SetBar(TKsSBHandlerCustom* bar) { bar_ = bar; }

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
  void KsSBScrollEvent(int bar, TKsScrollCode code, bool& doChange, int& position) override;
  void RepaintBar(int) override {}
  void RecomputeFrame() override {}
  int DoShowScrollBar(int, bool) override { return 0; }

 private:
  bool themed_;
  TKsSBHandlerCustom* bar_ = nullptr;
};

}  // namespace kestrel
