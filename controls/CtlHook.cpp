#include "controls/CtlHook.h"

#include <algorithm>

namespace kestrel {

TCtlHook::~TCtlHook() {
  FDestroying = true;
  FHooks.clear();
  Restore();
}

bool TCtlHook::Contains(const THookClient* hook) const {
  return std::find(FHooks.begin(), FHooks.end(), hook) != FHooks.end();
}

void TCtlHook::AddHook(THookClient* hook) {
  if (Contains(hook)) return;
  FHooks.push_back(hook);
  if (!Installed()) Install();
}

void TCtlHook::RemoveHook(THookClient* hook) {
  auto it = std::find(FHooks.begin(), FHooks.end(), hook);
  if (it == FHooks.end()) return;
  FHooks.erase(it);
  if (FHooks.empty()) Restore();
}

void TCtlHook::Reinstall() {
  if (FControl == nullptr || FControl->ComponentState().Contains(csDestroying)) return;
  Install();
}

void TCtlHook::ControlDestroyed() {
  FDestroying = true;
  FControl = nullptr;
  FHooks.clear();
  // The saved procedure belongs to the dying control; it must never run again.
  FOldWndProc = nullptr;
}

void TCtlHook::Install() {
  if (FControl == nullptr) return;
  FOldWndProc = FControl->WindowProc;
  // The closure holds the control hook; it copies that hold before dispatching, since a handler
  // that frees the control frees the closure as well.
  FControl->WindowProc = [self = shared_from_this()](TMessage& m) {
    std::shared_ptr<TCtlHook> keep = self;
    keep->HookWndProc(m);
  };
}

void TCtlHook::Restore() {
  if (!Installed()) return;
  if (FControl != nullptr && FControl->ComponentState().Contains(csDestroying)) {
    // Its WindowProc may be gone already; a dispatch under way must not call into it either.
    FDestroying = true;
  } else if (FControl != nullptr) {
    FControl->WindowProc = FOldWndProc;
  }
  FOldWndProc = nullptr;
}

bool TCtlHook::RunPhase(TMessage& msg, bool after) {
  bool handled = false;
  // A snapshot, checked hook by hook: handlers may attach or detach hooks, or free them.
  const std::vector<THookClient*> snapshot = FHooks;
  for (auto it = snapshot.rbegin(); it != snapshot.rend() && !handled; ++it) {
    if (!Contains(*it)) continue;
    if (after) (*it)->AfterProcess(msg, handled);
    else (*it)->BeforeProcess(msg, handled);
  }
  return handled;
}

void TCtlHook::HookWndProc(TMessage& msg) {
  auto keep = shared_from_this();
  bool handled = false;
  if (msg.Msg != platform::WM_QUIT && !FDestroying) handled = RunPhase(msg, false);
  if (!handled && !FDestroying && FOldWndProc) {
    TWndMethod old = FOldWndProc;  // a handler may restore or replace the saved procedure
    old(msg);
  }
  RunPhase(msg, true);
}

}  // namespace kestrel
