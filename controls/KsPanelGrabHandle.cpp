#include "controls/KsPanelGrabHandle.h"

#include "controls/KsPanel.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsPanelGrabHandle, TPersistent)

void TKsPanelGrabHandle::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TKsPanelGrabHandle*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  FEnabled = other->FEnabled;
  FSize = other->FSize;
  FKind = other->FKind;
  FBevelKind = other->FBevelKind;
  FVisible = other->FVisible;
  if (FOwner && !FOwner->ComponentState().Contains(csLoading)) {
    FOwner->GrabHandlesChanged();
    FOwner->Invalidate();
  }
}

void TKsPanelGrabHandle::Relayout(bool onlyWithWindow) {
  if (!FOwner || (onlyWithWindow && !FOwner->HandleAllocated())) return;
  FOwner->Realign();
  FOwner->Invalidate();
  FOwner->GrabHandlesChanged();
}

void TKsPanelGrabHandle::SetEnabled(bool value) {
  FEnabled = value;
  Relayout(false);
}

void TKsPanelGrabHandle::SetSize(int value) {
  FSize = value;
  Relayout(true);
}

void TKsPanelGrabHandle::SetVisible(bool value) {
  FVisible = value;
  Relayout(true);
}

void TKsPanelGrabHandle::SetBevelKind(TVnBevelStyle value) {
  FBevelKind = value;
  if (FOwner && FOwner->HandleAllocated()) FOwner->Invalidate();
}

}  // namespace kestrel
