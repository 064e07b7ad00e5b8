#pragma once
// TKsEdit: the edit control with its properties published.

#include "edit/KsCustomEdit.h"

namespace kestrel {

class TKsEdit : public TCustomKsEdit {
  KESTREL_CLASS(TKsEdit)
  explicit TKsEdit(TComponent* owner) : TCustomKsEdit(owner) {}

 private:
  static void PublishEditing(TClassBuilder<TKsEdit>& b);
  static void PublishBorder(TClassBuilder<TKsEdit>& b);
  static void PublishLook(TClassBuilder<TKsEdit>& b);
  static void PublishEvents(TClassBuilder<TKsEdit>& b);
  // The vertical bar's styles matter only to a multi-line edit with its own bars.
  bool IsVertScrollBarStylesStored() const { return Multiline() && UseCustomScrollBars(); }
};

}  // namespace kestrel
