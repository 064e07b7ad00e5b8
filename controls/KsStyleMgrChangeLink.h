#pragma once
// TKsStyleMgrChangeLink: how a control hears that its style manager's sheet changed. The owner
// registers it with the manager and unregisters it before freeing it.

#include "framework/Object.h"

namespace kestrel {

class TKsStyleManager;

class TKsStyleMgrChangeLink : public TObject {
  KESTREL_CLASS(TKsStyleMgrChangeLink)
  TKsStyleMgrChangeLink() = default;

  TKsStyleManager* Sender() const { return FSender; }
  TNotifyEvent OnChange;
  // Raises OnChange with the manager as sender.
  void Change();

 private:
  friend class TKsStyleManager;
  TKsStyleManager* FSender = nullptr;
};

}  // namespace kestrel
