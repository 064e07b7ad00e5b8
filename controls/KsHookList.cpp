#include "controls/KsHookList.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/UtilWindow.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace {

std::unique_ptr<TKsHookList>& Slot(THookFamily family) {
  // Never destroyed by static destruction, which may come after the window system's own: a list
  // still alive then is freed by the program's finalisation (Halt) or not at all.
  static auto* lists = new std::unique_ptr<TKsHookList>[2];
  return lists[family == THookFamily::Ks ? 0 : 1];
}

void FreeAtShutdown(THookFamily family) {
  try {
    Slot(family).reset();
  } catch (...) {
    // Shutdown goes on whatever a dying control hook raised.
  }
}

}  // namespace

KESTREL_IMPLEMENT_CLASS(TKsHookList, TComponent)

TKsHookList::TKsHookList() : TComponent(nullptr) {
  FHandle = AllocateHWnd([this](TMessage& m) { UtilWndProc(m); });
}

TKsHookList::~TKsHookList() {
  // Control hooks give their controls the saved procedures back as they go.
  for (auto& ctlHook : FCtlHooks)
    if (ctlHook->Control()) RemoveFreeNotification(ctlHook->Control());
  FCtlHooks.clear();
  DeallocateHWnd(FHandle);
}

TKsHookList* TKsHookList::Instance(THookFamily family) { return Slot(family).get(); }

TKsHookList& TKsHookList::Ensure(THookFamily family) {
  auto& slot = Slot(family);
  if (!slot) {
    slot.reset(new TKsHookList);
    static bool exitProcAdded[2] = {false, false};
    bool& added = exitProcAdded[family == THookFamily::Ks ? 0 : 1];
    if (!added) {
      added = true;
      AddExitProc([family] { FreeAtShutdown(family); });
    }
  }
  return *slot;
}

void TKsHookList::FreeIfEmpty(THookFamily family) {
  auto& slot = Slot(family);
  if (slot && slot->FCtlHooks.empty()) slot.reset();
}

std::vector<std::shared_ptr<TCtlHook>>::iterator TKsHookList::Position(const TCtlHook* ctlHook) {
  return std::find_if(FCtlHooks.begin(), FCtlHooks.end(), [&](const auto& h) { return h.get() == ctlHook; });
}

std::shared_ptr<TCtlHook> TKsHookList::Find(const TControl* control) const {
  auto it = std::find_if(FCtlHooks.begin(), FCtlHooks.end(), [&](const auto& h) { return h->Control() == control; });
  return it == FCtlHooks.end() ? nullptr : *it;
}

std::shared_ptr<TCtlHook> TKsHookList::FindOrAdd(TControl* control) {
  if (auto found = Find(control)) return found;
  FCtlHooks.push_back(std::make_shared<TCtlHook>(control));
  FreeNotification(control);
  return FCtlHooks.back();
}

void TKsHookList::RemoveIfEmpty(const TCtlHook* ctlHook) {
  auto it = Position(ctlHook);
  if (it == FCtlHooks.end() || !(*it)->Empty()) return;
  if (TControl* control = (*it)->Control()) RemoveFreeNotification(control);
  FCtlHooks.erase(it);
}

void TKsHookList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  auto it = std::find_if(FCtlHooks.begin(), FCtlHooks.end(), [&](const auto& h) { return h->Control() == component; });
  if (it == FCtlHooks.end()) return;
  // A dispatch running on the dying control holds its own reference to the control hook.
  (*it)->ControlDestroyed();
  FCtlHooks.erase(it);
}

void TKsHookList::UtilWndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_KSHOOK_REMOVE: {
      // Only control hooks of this list are touched; any other value is ignored.
      auto it = Position(reinterpret_cast<const TCtlHook*>(msg.LParam));
      if (it != FCtlHooks.end()) RemoveIfEmpty(it->get());
      return;
    }
    case WM_KSHOOK_REINSTALL: {
      auto it = Position(reinterpret_cast<const TCtlHook*>(msg.LParam));
      if (it != FCtlHooks.end()) (*it)->Reinstall();
      return;
    }
    case platform::WM_QUERYENDSESSION: msg.Result = 1; return;
    default: DefaultUtilWindowProc(FHandle, msg);
  }
}

}  // namespace kestrel
