#include "controls/KsHookList.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/UtilWindow.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace {

// The hook chains' one piece of process-wide state. Never destroyed by static destruction,
// which may come after the window system's own: a list still alive then is freed by the
// program's finalisation (Halt) or not at all.
std::unique_ptr<TKsHookList>& ProcessHookList() {
  static auto* list = new std::unique_ptr<TKsHookList>;
  return *list;
}

void FreeAtShutdown() {
  try {
    ProcessHookList().reset();
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
  for (auto& ctlHook : FCtlHooks) {
    if (!ctlHook->Control()) continue;
    RemoveFreeNotification(ctlHook->Control());
    ctlHook->Release();
  }
  FCtlHooks.clear();
  DeallocateHWnd(FHandle);
}

TKsHookList* TKsHookList::Instance() { return ProcessHookList().get(); }

TKsHookList& TKsHookList::Ensure() {
  auto& slot = ProcessHookList();
  if (!slot) {
    slot.reset(new TKsHookList);
    static bool exitProcAdded = false;
    if (!exitProcAdded) {
      exitProcAdded = true;
      AddExitProc(FreeAtShutdown);
    }
  }
  return *slot;
}

void TKsHookList::FreeIfEmpty() {
  auto& slot = ProcessHookList();
  if (slot && slot->FCtlHooks.empty()) slot.reset();
}

void TKsHookList::Attach(TControl* control, THookClient* hook) {
  if (control == nullptr) return;
  Ensure().FindOrAdd(control)->AddHook(hook);
}

bool TKsHookList::Detach(const TControl* control, THookClient* hook) {
  TKsHookList* list = Instance();
  if (!list || !control) return false;
  auto ctlHook = list->Find(control);
  if (!ctlHook || !ctlHook->Contains(hook)) return false;
  ctlHook->RemoveHook(hook);
  // An emptied control hook is dropped at once instead of waiting, keyed by a control that may
  // go away, for a message nobody sends.
  list->RemoveIfEmpty(ctlHook.get());
  FreeIfEmpty();
  return true;
}

bool TKsHookList::Attached(const TControl* control, const THookClient* hook) {
  TKsHookList* list = Instance();
  if (!list || !control) return false;
  auto ctlHook = list->Find(control);
  return ctlHook && ctlHook->Contains(hook);
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
  if (it == FCtlHooks.end() || !(*it)->Empty() || (*it)->Installed()) return;
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
