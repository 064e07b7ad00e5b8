#pragma once
// The accessible objects of the program and the events that keep a screen reader up to date:
// objects are made when the bridge first asks for them (or when one takes the focus) and kept
// until their node goes away; window and control changes become focus, activation, name, text,
// state and children events for the objects there are.

#include <map>
#include <vector>

#include "accessibility/AccessibleNode.h"
#include "framework/Accessible.h"
#include "platform/window/AccessEvents.h"

// Last: GLib and D-Bus define TRUE and FALSE as macros, which the platform's constants must precede.
#include <atk/atk.h>

namespace kestrel {

class AccessibleTree : public TAccessibleObserver {
 public:
  static AccessibleTree& Get();

  // Starts listening to windows and controls.
  void Install();
  void Uninstall();

  AtkObject* Root();
  // The object of `node`, made when there is none (borrowed: the tree keeps its reference).
  AtkObject* ObjectFor(const AccessibleNode& node);
  AtkObject* Find(const AccessibleNode& node) const;
  // The visible top-level windows, as the application's children.
  const std::vector<platform::HWND>& TopWindows();

  void ControlChanged(TControl* control, TAccessibleChange change) override;
  void WindowEvent(platform::AccessEvent event, platform::HWND hwnd);

  // Tells the states (and the application's windows) that changed since they were told last.
  void Refresh();

 private:
  AccessibleTree() = default;
  void Drop(const AccessibleNode& node);
  void TellText(AtkObject* object, const AccessibleNode& node);
  void RefreshWindows();

  AtkObject* root_ = nullptr;
  std::map<AccessibleNode, AtkObject*> objects_;
  std::vector<platform::HWND> windows_;
  bool windowsKnown_ = false;
  bool refreshing_ = false;
};

}  // namespace kestrel
