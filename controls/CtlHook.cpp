#include "controls/CtlHook.h"

#include <algorithm>

namespace kestrel {

// The procedure put into the control. It holds the control hook and copies that hold before
// dispatching, since a handler that frees the control frees the procedure as well. Being a named
// type, it can be recognised in the control's WindowProc.
struct TCtlHook::TProc {
  std::shared_ptr<TCtlHook> self;
  void operator()(TMessage& m) const {
    std::shared_ptr<TCtlHook> keep = self;
    keep->HookWndProc(m);
  }
};

TCtlHook::~TCtlHook() {
  FDestroying = true;
  FHooks.clear();
  Restore();
}

bool TCtlHook::Contains(const THookClient* hook) const {
  return std::find(FHooks.begin(), FHooks.end(), hook) != FHooks.end();
}

bool TCtlHook::Outermost() const {
  if (FControl == nullptr) return false;
  const TProc* proc = FControl->WindowProc.target<TProc>();
  return proc != nullptr && proc->self.get() == this;
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

void TCtlHook::Release() {
  FHooks.clear();
  Restore();
  if (Installed()) FControl = nullptr;
}

void TCtlHook::Install() {
  if (FControl == nullptr) return;
  FOldWndProc = FControl->WindowProc;
  FControl->WindowProc = TProc{shared_from_this()};
}

void TCtlHook::Restore() {
  if (!Installed() || FControl == nullptr) return;
  if (FControl->ComponentState().Contains(csDestroying)) {
    // Its WindowProc may be gone already; a dispatch under way must not call into it either.
    FDestroying = true;
    FOldWndProc = nullptr;
  } else if (Outermost()) {
    // Moving the saved procedure out first: assigning over the running procedure frees it.
    TWndMethod old = std::move(FOldWndProc);
    FOldWndProc = nullptr;
    FControl->WindowProc = std::move(old);
  }
  // Otherwise a procedure in front of this one still calls it: stay installed as a pass-through.
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
