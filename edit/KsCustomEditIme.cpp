// TCustomKsEdit: what the edit asks of the input method and the keyboard layout.

#include "edit/KsCustomEdit.h"

namespace kestrel {

void TCustomKsEdit::SetImeMode(TImeMode value) {
  if (value == FImeMode) return;
  const bool wasDisabled = FImeMode == imDisable;
  FImeMode = value;
  if (!HandleAllocated()) return;
  // The window may still be without the context the old mode took away.
  if (wasDisabled) RestoreImeContext(Handle());
  if (Focused()) ApplyImeMode(Handle(), FImeMode);
}

void TCustomKsEdit::SetImeName(const String& value) {
  FImeName = value;
  if (HandleAllocated() && Focused()) ApplyImeName(FImeName);
}

void TCustomKsEdit::ApplyIme() {
  ApplyImeMode(Handle(), FImeMode);
  ApplyImeName(FImeName);
}

}  // namespace kestrel
