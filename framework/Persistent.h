#pragma once
// TPersistent: objects that can copy each other's state (Assign) and take part in streaming
// (DefineProperties for data that is not a published property).

#include "framework/Object.h"

namespace kestrel {

class TFiler;

class TPersistent : public TObject {
  KESTREL_CLASS(TPersistent)
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  ~TPersistent() override = default;

  // Copies `source` into this object. (An override hides the reference form below; add
  // `using TPersistent::Assign;` next to it to keep both.) The default asks the source to AssignTo this; when neither
  // side knows the other it raises EConvertError "Cannot assign a %s to a %s" (source class or
  // "nil", then this class).
  virtual void Assign(const TPersistent* source);
  void Assign(const TPersistent& source) { Assign(&source); }

  // The object that owns this one in the streaming sense (a component's owner, a font's control).
  virtual TPersistent* GetOwner() const { return nullptr; }
  // "Owner.Name.Property"-style path used in messages.
  virtual String GetNamePath() const;

  // Declares data written and read besides the published properties.
  virtual void DefineProperties(TFiler& filer);

 protected:
  virtual void AssignTo(TPersistent* dest) const;
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

}  // namespace kestrel
