#pragma once
// What happens to windows, told to an accessibility layer as it happens (focus, activation,
// showing and hiding, destruction, a new caption). Without a hook installed a notification costs
// one load and a branch. Notifications come on the thread that owns the window.

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

enum class AccessEvent { Focus, Activate, Deactivate, Show, Hide, Destroy, NameChange, StateChange };

using AccessEventHook = void (*)(AccessEvent event, HWND hwnd);

void SetAccessEventHook(AccessEventHook hook);

namespace detail {
extern AccessEventHook accessEventHook;
}

inline void NotifyAccessEvent(AccessEvent event, HWND hwnd) {
  if (detail::accessEventHook) detail::accessEventHook(event, hwnd);
}

}  // namespace kestrel::platform
