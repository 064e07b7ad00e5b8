#include "framework/Accessible.h"

namespace kestrel {

namespace detail {
TAccessibleObserver* accessibleObserver = nullptr;
}

void SetAccessibleObserver(TAccessibleObserver* observer) { detail::accessibleObserver = observer; }

String WithoutAccelerator(const String& caption) {
  String plain;
  plain.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == u'&') continue;
    plain += caption[i];
  }
  return plain;
}

}  // namespace kestrel
