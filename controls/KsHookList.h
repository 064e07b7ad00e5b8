#pragma once
// TKsHookList: the process-wide list of control hooks, one control hook per hooked control, with
// a utility window of its own. Every hook of a control joins that control's one chain: TKsHook,
// TVnHookComponent and the markup renderer's hooks alike (Attach / Detach).
//
// The list watches every hooked control for destruction and drops its control hook then, so no
// entry outlives its control; a control hook that has lost its last hook is dropped as well once
// it has given the control its procedure back.

#include <memory>
#include <vector>

#include "controls/CtlHook.h"
#include "framework/Component.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

class TKsHookList : public TComponent {
  KESTREL_CLASS(TKsHookList)
  ~TKsHookList() override;

  // Private messages of the utility window (lParam = a control hook of this list).
  static constexpr platform::UINT WM_KSHOOK_REMOVE = 1139;
  static constexpr platform::UINT WM_KSHOOK_REINSTALL = 1140;

  // The list, or null while none exists.
  static TKsHookList* Instance();
  // The list, made when absent.
  static TKsHookList& Ensure();
  // Frees the list when it holds no control hook (and at shutdown).
  static void FreeIfEmpty();

  // Puts the hook into the control's chain (nothing when it is there already).
  static void Attach(TControl* control, THookClient* hook);
  // Takes the hook out of the control's chain; false when it was not in it.
  static bool Detach(const TControl* control, THookClient* hook);
  // Whether the hook is in the control's chain now.
  static bool Attached(const TControl* control, const THookClient* hook);

  std::shared_ptr<TCtlHook> Find(const TControl* control) const;
  // The control's hook, appended when there is none yet.
  std::shared_ptr<TCtlHook> FindOrAdd(TControl* control);
  // Drops the control hook when it holds no hooks and is no longer installed.
  void RemoveIfEmpty(const TCtlHook* ctlHook);
  int Count() const { return static_cast<int>(FCtlHooks.size()); }
  platform::HWND Handle() const { return FHandle; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TKsHookList();
  void UtilWndProc(TMessage& msg);
  std::vector<std::shared_ptr<TCtlHook>>::iterator Position(const TCtlHook* ctlHook);

  std::vector<std::shared_ptr<TCtlHook>> FCtlHooks;
  platform::HWND FHandle = nullptr;
};

}  // namespace kestrel
