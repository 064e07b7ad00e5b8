#include "accessibility/Accessibility.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "accessibility/AccessibleTree.h"
#include "accessibility/AtkToolkit.h"
#include "accessibility/GlibMainContextSource.h"
#include "platform/window/WaitSource.h"

// Last: GLib and D-Bus define TRUE and FALSE as macros, which the platform's constants must precede.
#include <dbus/dbus.h>

namespace kestrel {

namespace {

constexpr int kBusTimeoutMs = 1000;

std::string SessionBusAddress() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return address;
  return {};
}

bool HasOwner(DBusConnection* bus, const char* name) {
  DBusError error;
  dbus_error_init(&error);
  const bool owned = dbus_bus_name_has_owner(bus, name, &error);
  dbus_error_free(&error);
  return owned;
}

// IsEnabled or ScreenReaderEnabled among the properties in `reply` (a{sv}).
bool StatusSaysEnabled(DBusMessage* reply) {
  DBusMessageIter args, entries;
  if (!dbus_message_iter_init(reply, &args) || dbus_message_iter_get_arg_type(&args) != DBUS_TYPE_ARRAY) return false;
  bool enabled = false;
  for (dbus_message_iter_recurse(&args, &entries); dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY;
       dbus_message_iter_next(&entries)) {
    DBusMessageIter entry, variant;
    dbus_message_iter_recurse(&entries, &entry);
    const char* name = nullptr;
    dbus_message_iter_get_basic(&entry, &name);
    dbus_message_iter_next(&entry);
    dbus_message_iter_recurse(&entry, &variant);
    if (dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_BOOLEAN) continue;
    dbus_bool_t value = FALSE;
    dbus_message_iter_get_basic(&variant, &value);
    if (value && (std::strcmp(name, "IsEnabled") == 0 || std::strcmp(name, "ScreenReaderEnabled") == 0)) enabled = true;
  }
  return enabled;
}

// Asks the accessibility bus on the session bus, without starting it when it does not run.
bool AccessibilityBusSaysEnabled() {
  const std::string address = SessionBusAddress();
  if (address.empty()) return false;
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* bus = dbus_connection_open_private(address.c_str(), &error);
  bool enabled = false;
  if (bus && dbus_bus_register(bus, &error) && HasOwner(bus, "org.a11y.Bus")) {
    DBusMessage* call =
        dbus_message_new_method_call("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "GetAll");
    const char* interface = "org.a11y.Status";
    dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_INVALID);
    if (DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, kBusTimeoutMs, &error)) {
      enabled = StatusSaysEnabled(reply);
      dbus_message_unref(reply);
    }
    dbus_message_unref(call);
  }
  dbus_error_free(&error);
  if (bus) {
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
  }
  return enabled;
}

using BridgeInit = int (*)(int*, char***);

}  // namespace

bool AssistiveTechnologiesEnabled() {
  if (const char* forced = std::getenv("KESTREL_ACCESSIBILITY"); forced && *forced)
    return std::strcmp(forced, "0") != 0;
  if (const char* off = std::getenv("NO_AT_BRIDGE"); off && std::strcmp(off, "1") == 0) return false;
  return AccessibilityBusSaysEnabled();
}

bool StartAccessibility() {
  static bool started = false;
  if (started) return true;
  if (!AssistiveTechnologiesEnabled()) return false;
  void* bridge = dlopen("libatk-bridge-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  auto init = bridge ? reinterpret_cast<BridgeInit>(dlsym(bridge, "atk_bridge_adaptor_init")) : nullptr;
  if (!init) return false;
  InstallAtkToolkit();
  AccessibleTree::Get().Install();
  static GlibMainContextSource source;
  platform::SetWaitSource(&source);
  started = init(nullptr, nullptr) == 0;
  return started;
}

}  // namespace kestrel
