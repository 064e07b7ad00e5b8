#include "framework/Accelerator.h"

namespace kestrel {

char16_t AcceleratorOf(const String& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return caption[i + 1];
    ++i;
  }
  return 0;
}

bool IsAccelerator(char16_t key, const String& caption) {
  const char16_t accelerator = AcceleratorOf(caption);
  return accelerator != 0 && key != 0 && UpperCase(String(1, accelerator)) == UpperCase(String(1, key));
}

}  // namespace kestrel
