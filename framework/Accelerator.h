#pragma once
// Accelerators: the character after a caption's first single "&" ("&&" is a literal ampersand).

#include "framework/SysUtils.h"

namespace kestrel {

// The caption's accelerator, or 0.
char16_t AcceleratorOf(const String& caption);
// Whether `key` is the caption's accelerator, without regard to case.
bool IsAccelerator(char16_t key, const String& caption);

}  // namespace kestrel
