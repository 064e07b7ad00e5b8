#pragma once
// TKsPanelGrabHandle: one of a panel's four grab handles (left, top, right, bottom): a strip
// `Size` pixels thick along its side that can move or resize the panel (or move its parent) and
// is drawn with `BevelKind` when visible and enabled.

#include "controls/DrawingTypes.h"
#include "framework/Persistent.h"

namespace kestrel {

class TCustomKsPanel;

enum TKsPanelGrabHandleKind : std::uint8_t { ghkNone, ghkMove, ghkResize, ghkMoveParent };

class TKsPanelGrabHandle : public TPersistent {
  KESTREL_CLASS(TKsPanelGrabHandle)
  explicit TKsPanelGrabHandle(TCustomKsPanel* owner = nullptr) : FOwner(owner) {}

  // Copies the five settings and repaints the owning panel unless it is loading.
  void Assign(const TPersistent* source) override;
  using TPersistent::Assign;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  int Size() const { return FSize; }
  void SetSize(int value);
  TKsPanelGrabHandleKind Kind() const { return FKind; }
  void SetKind(TKsPanelGrabHandleKind value) { FKind = value; }
  TVnBevelStyle BevelKind() const { return FBevelKind; }
  void SetBevelKind(TVnBevelStyle value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);

  // Visible and enabled: it takes its strip of the child area and is drawn.
  bool Shown() const { return FVisible && FEnabled; }

 private:
  void Relayout(bool onlyWithWindow);

  bool FEnabled = false;
  int FSize = 0;
  TKsPanelGrabHandleKind FKind = ghkNone;
  TVnBevelStyle FBevelKind = bvNone;
  TCustomKsPanel* FOwner;
  bool FVisible = false;
};

}  // namespace kestrel
