#include "controls/KsPanelGrabHandle.h"

#include "controls/DrawingTypeInfo.h"
#include "controls/KsPanel.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsPanelGrabHandle, TPersistent)

void TKsPanelGrabHandle::PublishProperties(TClassBuilder<TKsPanelGrabHandle>& b) {
  using H = TKsPanelGrabHandle;
  static const TEnumInfo kinds(u"TKsPanelGrabHandleKind", {u"ghkNone", u"ghkMove", u"ghkResize", u"ghkMoveParent"});
  b.Property(u"Enabled", &H::Enabled, &H::SetEnabled).Default(false);
  b.Property(u"Size", &H::Size, &H::SetSize).Default(0);
  b.Enum(u"Kind", &H::Kind, &H::SetKind, kinds).Default(ghkNone);
  b.Enum(u"BevelKind", &H::BevelKind, &H::SetBevelKind, BevelStyleInfo()).Default(bvNone);
  b.Property(u"Visible", &H::Visible, &H::SetVisible).Default(false);
}

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
