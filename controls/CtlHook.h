#pragma once
// TCtlHook: the hook chain of one control. While it holds hooks its procedure sits in the
// control's WindowProc in place of the one it saved; every message then visits the hooks from
// the last attached to the first, before and after the saved procedure. Every kind of hook joins
// the same chain, so members leave it in any order without losing the control's procedure.
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
  // Whether the control's WindowProc is this control hook's own procedure (nothing wraps it).
  bool Outermost() const;

  // Appends the hook; the first one puts the control hook's procedure in front of the control's.
  void AddHook(THookClient* hook);
  // Takes the hook out. When the last one goes the control gets its saved procedure back, unless
  // someone has put a procedure in front of this one since: then this one stays installed and
  // passes every message straight on, so the procedure in front keeps a working chain.
  void RemoveHook(THookClient* hook);
  // Saves the control's current procedure and installs the control hook's one again.
  void Reinstall();
  // The control is being destroyed: forget it (its WindowProc may already be gone).
  void ControlDestroyed();
  // The list lets go of this control hook: its hooks are dropped and the control gets its saved
  // procedure back; when that procedure is wrapped, this one stays as a pass-through that no
  // longer touches the control itself.
  void Release();

  void HookWndProc(TMessage& msg);

 private:
  struct TProc;
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
