#pragma once
// What the editing core tells the edit control that owns it. The core has no window: it changes
// the text, the caret, the selection and the view numbers, and leaves everything visible (the
// platform caret, repainting, scroll bars) and every published event to the control through
// these calls. Every method has a default that does nothing, so a test host overrides only what
// it watches.

#include "edit/KsEditCommands.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class IKsEditCoreEvents {
 public:
  virtual ~IKsEditCoreEvents() = default;

  // OnChange (and validation).
  virtual void Change() {}
  // OnSelectionChange.
  virtual void SelectionChange() {}
  // Runs after every change of the text that the core makes or undoes.
  virtual void AfterChange() {}
  // OnKeyPressEx: may rewrite or empty the text about to be typed.
  virtual void KeyPressEx(String& /*key*/) {}
  // OnPasteClipboardText: may rewrite the text about to be pasted.
  virtual void PasteClipboardText(String& /*text*/) {}
  // Around every command run through CommandCenter.
  virtual void BeforeCommand(TKsCommand /*command*/, char16_t /*ch*/, const String& /*data*/) {}
  virtual void AfterCommand(TKsCommand /*command*/, char16_t /*ch*/, const String& /*data*/) {}

  // Repaint the edit rectangle.
  virtual void InvalidateEditRect() {}
  // The caret moved (or its line changed): scroll horizontally to it and place the platform caret.
  virtual void CaretMoved() {}
  // TopLine or LeftChar changed: repaint and update the scroll bars.
  virtual void ViewChanged() {}
};

}  // namespace kestrel
