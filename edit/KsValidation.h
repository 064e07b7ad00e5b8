#pragma once
// The two sides of input validation: a control whose value can be checked, and the validator
// component that checks it. Validators themselves live outside the edit library.

#include "platform/core/Unicode.h"

namespace kestrel {

class IKsValidatedControl {
 public:
  virtual ~IKsValidatedControl() = default;
  // The value a validator checks.
  virtual String ValidationValue() const = 0;
  virtual const String& ValidationMsgString() const = 0;
  // ErrorLevel > 0 marks the control as in error; the control tells its owner.
  virtual void RespondToError(int errorLevel) = 0;
  // Whether the control has an error indication of its own.
  virtual bool SupportsDefaultIndication() const { return false; }
};

class IKsValidator {
 public:
  virtual ~IKsValidator() = default;
  virtual void Validate(IKsValidatedControl& control) = 0;
};

}  // namespace kestrel
