#include "framework/GraphicsObject.h"

#include "platform/gdi/Gdi.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TGraphicsObject, TPersistent)

void TGraphicsObject::Changed() {
  FreeHandle();
  if (OnChange) OnChange(this);
}

void* TGraphicsObject::CachedHandle() const {
  if (handle_ && HandleIsStale()) FreeHandle();
  if (!handle_) handle_.reset(MakeHandle());
  return handle_.get();
}

void TGraphicsObject::FreeHandle() const {
  // A canvas may still have the handle selected; the checked handle table makes a later use of
  // the stale handle fail harmlessly, and canvases reselect after every change.
  handle_.reset();
}

}  // namespace kestrel
