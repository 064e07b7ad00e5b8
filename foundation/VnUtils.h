#pragma once
// Small helpers the services object's sources share.

#include "platform/core/Unicode.h"

namespace kestrel::vn {

// Empty or only blanks.
bool IsBlank(const String& s);
// The running executable's full path.
String ExecutablePath();

}  // namespace kestrel::vn
