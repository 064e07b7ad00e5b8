#pragma once
// One thing a screen reader sees, as the toolkit knows it: a framework control (windowed or
// not), a window that belongs to no control (a message box and its buttons), or the text of a
// message box. Answers what the accessible objects ask: description, children, parent, where
// it is on screen, whether it shows, and carries out its action.

#include <optional>
#include <vector>

#include "framework/Accessible.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

class TControl;

struct AccessibleNode {
  TControl* control = nullptr;
  platform::HWND window = nullptr;
  bool messageText = false;  // the text of the message box `window`

  // The control owning `hwnd` when there is one, the window otherwise.
  static AccessibleNode ForWindow(platform::HWND hwnd);
  // The visible top-level windows of this thread, bottom to top of the desktop's list.
  static std::vector<platform::HWND> TopLevelWindows();

  bool operator<(const AccessibleNode& other) const;
  bool operator==(const AccessibleNode& other) const;

  TAccessibleInfo Describe() const;
  std::vector<AccessibleNode> Children() const;
  // Null for a top-level window (its parent is the application).
  std::optional<AccessibleNode> Parent() const;
  // The window of the node, or of the nearest windowed control holding it.
  platform::HWND Window() const;
  // The top-level window the node is on.
  platform::HWND TopWindow() const;
  platform::RECT ScreenRect() const;
  bool Enabled() const;
  bool Visible() const;
  // Visible on screen: shown with all its parents and not covered by a control above it that
  // hides it whole (the overlay over a busy dialog's button).
  bool Showing() const;
  bool Focused() const;
  bool GrabFocus() const;
  // Asks for the action to be carried out from the message loop (never inside the caller).
  bool PostAction() const;
};

// The label beside `control` whose FocusControl it is (null if none).
const TControl* LabelOf(const TControl& control);

}  // namespace kestrel
