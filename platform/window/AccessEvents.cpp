#include "platform/window/AccessEvents.h"

namespace kestrel::platform {

namespace detail {
AccessEventHook accessEventHook = nullptr;
}

void SetAccessEventHook(AccessEventHook hook) { detail::accessEventHook = hook; }

}  // namespace kestrel::platform
