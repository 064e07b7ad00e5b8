#pragma once
// TKsStyleMgrChangeLink: how a control hears that its style manager's sheet changed. The owner
// registers it with the manager; freeing the link unregisters it, freeing the manager detaches
// it.

#include "framework/ChangeLink.h"

namespace kestrel {

class TKsStyleManager;

class TKsStyleMgrChangeLink : public TChangeLinkOf<TKsStyleManager> {
  KESTREL_CLASS(TKsStyleMgrChangeLink)
  TKsStyleMgrChangeLink() = default;
};

}  // namespace kestrel
