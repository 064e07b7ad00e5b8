#pragma once
// The base of fonts, pens and brushes: a persistent value with a lazily made GDI handle and an
// OnChange event raised whenever a property changes (a canvas reselects, a control repaints).

#include "framework/Colors.h"
#include "framework/Persistent.h"
#include "platform/gdi/OwnedGdi.h"

namespace kestrel {

class TGraphicsObject : public TPersistent {
  KESTREL_CLASS(TGraphicsObject)
  TGraphicsObject() = default;

  TNotifyEvent OnChange;

 protected:
  // Drops the cached handle and tells the listeners.
  virtual void Changed();
  // The handle for the current values, made by MakeHandle on first use and owned here.
  void* CachedHandle() const;
  virtual void* MakeHandle() const { return nullptr; }
  // True when the cached handle no longer shows the values (a system colour was changed).
  virtual bool HandleIsStale() const { return false; }

 private:
  void FreeHandle() const;
  mutable platform::OwnedGdiHandle handle_;
};

}  // namespace kestrel
