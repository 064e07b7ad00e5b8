#pragma once
// The object that draws an input item of a prepared caption into the box the painter gives it.
// The base draws nothing; TVnHTMLCheckBoxPainter draws check boxes and radio buttons.

#include "framework/Canvas.h"
#include "framework/Object.h"

namespace kestrel {

class TVnHTMLInputItem;

class TVnHTMLControlPainter : public TObject {
  KESTREL_CLASS(TVnHTMLControlPainter)
  explicit TVnHTMLControlPainter(TVnHTMLInputItem* AInputItem) : FInputItem(AInputItem) {}

  virtual void PaintTo(TCanvas* Canvas, const TRect& ARect);
  TVnHTMLInputItem* InputItem() const { return FInputItem; }

 protected:
  TVnHTMLInputItem* FInputItem;
};

}  // namespace kestrel
