#pragma once
// TCtlHook: the hooks of one control. While it holds hooks its procedure sits in the control's
// WindowProc in place of the one it saved; every message then visits the hooks from the last
// attached to the first, before and after the saved procedure.
//
// The procedure installed in the control keeps the control hook alive, so a dispatch survives
// handlers that detach hooks, and the control dying inside a handler: once the hook list has
// told it that its control is going, it neither calls the saved procedure nor touches the
// control again.

#include <memory>
#include <vector>

#include "controls/HookClient.h"
#include "framework/Control.h"

namespace kestrel {

class TCtlHook : public std::enable_shared_from_this<TCtlHook> {
 public:
  explicit TCtlHook(TControl* control) : FControl(control) {}
  ~TCtlHook();
  TCtlHook(const TCtlHook&) = delete;
  TCtlHook& operator=(const TCtlHook&) = delete;

  TControl* Control() const { return FControl; }
  bool Empty() const { return FHooks.empty(); }
  bool Installed() const { return static_cast<bool>(FOldWndProc); }
  bool Contains(const THookClient* hook) const;

  // Appends the hook; the first one puts the control hook's procedure in front of the control's.
  void AddHook(THookClient* hook);
  // Takes the hook out; the last one gives the control its saved procedure back.
  void RemoveHook(THookClient* hook);
  // Saves the control's current procedure and installs the control hook's one again.
  void Reinstall();
  // The control is being destroyed: forget it (its WindowProc may already be gone).
  void ControlDestroyed();

  void HookWndProc(TMessage& msg);

 private:
  void Install();
  void Restore();
  // Runs one phase over the hooks, last attached first; true when a hook handled the message.
  bool RunPhase(TMessage& msg, bool after);

  std::vector<THookClient*> FHooks;  // attach order, not owned
  TControl* FControl;
  TWndMethod FOldWndProc;
  bool FDestroying = false;
};

}  // namespace kestrel
