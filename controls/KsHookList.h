#pragma once
// TKsHookList: the process-wide list of control hooks, one control hook per hooked control, with
// a utility window of its own. There are two lists, one for each hook family (TKsHook and
// TVnHookComponent), so the families never share a control hook.
//
// The list watches every hooked control for destruction and drops its control hook then, so no
// entry outlives its control; a control hook that has lost its last hook is dropped as well.

#include <memory>
#include <vector>

#include "controls/CtlHook.h"
#include "framework/Component.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

enum class THookFamily { Ks, Vn };

class TKsHookList : public TComponent {
  KESTREL_CLASS(TKsHookList)
  ~TKsHookList() override;

  // Private messages of the utility window (lParam = a control hook of this list).
  static constexpr platform::UINT WM_KSHOOK_REMOVE = 1139;
  static constexpr platform::UINT WM_KSHOOK_REINSTALL = 1140;

  // The family's list, or null while none exists.
  static TKsHookList* Instance(THookFamily family);
  // The family's list, made when absent.
  static TKsHookList& Ensure(THookFamily family);
  // Frees the family's list when it holds no control hook (and at shutdown).
  static void FreeIfEmpty(THookFamily family);

  std::shared_ptr<TCtlHook> Find(const TControl* control) const;
  // The control's hook, appended when there is none yet.
  std::shared_ptr<TCtlHook> FindOrAdd(TControl* control);
  // Drops the control hook when it holds no hooks.
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
