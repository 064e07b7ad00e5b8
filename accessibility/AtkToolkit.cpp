#include "accessibility/AtkToolkit.h"

#include <map>
#include <string>
#include <utility>

#include "accessibility/AccessibleTree.h"

// Last: GLib and D-Bus define TRUE and FALSE as macros, which the platform's constants must precede.
#include <atk/atk.h>

namespace kestrel {

namespace {

struct Listener {
  guint signal;
  gulong hook;
};
std::map<guint, Listener> listeners;
guint nextListener = 1;

// "Toolkit:Type:signal[:detail]" names a signal of an ATK type; "window:signal" one of AtkWindow.
bool ParseEventType(const std::string& eventType, std::string& typeName, std::string& signal) {
  const auto first = eventType.find(':');
  if (first == std::string::npos) return false;
  if (eventType.compare(0, first, "window") == 0) {
    typeName = "AtkWindow";
    signal = eventType.substr(first + 1);
    return true;
  }
  const auto second = eventType.find(':', first + 1);
  if (second == std::string::npos) return false;
  typeName = eventType.substr(first + 1, second - first - 1);
  signal = eventType.substr(second + 1);
  if (auto detail = signal.find(':'); detail != std::string::npos) signal.resize(detail);
  return true;
}

guint AddGlobalEventListener(GSignalEmissionHook listener, const gchar* eventType) {
  std::string typeName, signalName;
  if (!ParseEventType(eventType, typeName, signalName)) return 0;
  const GType type = g_type_from_name(typeName.c_str());
  if (!type) return 0;
  // Interface types have their signals only once their default vtable exists.
  gpointer vtable = G_TYPE_IS_INTERFACE(type) ? g_type_default_interface_ref(type) : g_type_class_ref(type);
  const guint signal = g_signal_lookup(signalName.c_str(), type);
  if (G_TYPE_IS_INTERFACE(type)) g_type_default_interface_unref(vtable);
  else g_type_class_unref(vtable);
  if (!signal) return 0;
  const gulong hook = g_signal_add_emission_hook(signal, 0, listener, g_strdup(eventType), g_free);
  listeners[nextListener] = {signal, hook};
  return nextListener++;
}

void RemoveGlobalEventListener(guint id) {
  auto it = listeners.find(id);
  if (it == listeners.end()) return;
  g_signal_remove_emission_hook(it->second.signal, it->second.hook);
  listeners.erase(it);
}

AtkObject* GetRoot() { return AccessibleTree::Get().Root(); }
const gchar* GetToolkitName() { return "Kestrel"; }
const gchar* GetToolkitVersion() { return "1.0"; }
guint AddKeyEventListener(AtkKeySnoopFunc, gpointer) { return 0; }
void RemoveKeyEventListener(guint) {}

}  // namespace

void InstallAtkToolkit() {
  auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(ATK_TYPE_UTIL));
  util->add_global_event_listener = AddGlobalEventListener;
  util->remove_global_event_listener = RemoveGlobalEventListener;
  util->add_key_event_listener = AddKeyEventListener;
  util->remove_key_event_listener = RemoveKeyEventListener;
  util->get_root = GetRoot;
  util->get_toolkit_name = GetToolkitName;
  util->get_toolkit_version = GetToolkitVersion;
  // The class stays referenced: the bridge calls through it for the program's lifetime.
}

}  // namespace kestrel
