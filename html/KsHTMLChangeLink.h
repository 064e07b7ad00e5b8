#pragma once
// TKsHTMLChangeLink: how a label hears that the snippet store it shows changed. The store calls
// the link's OnChange; freeing the link unregisters it, freeing the store detaches it.

#include "framework/ChangeLink.h"

namespace kestrel {

class TKsHTMLContainer;

class TKsHTMLChangeLink : public TChangeLinkOf<TKsHTMLContainer> {
  KESTREL_CLASS(TKsHTMLChangeLink)
  TKsHTMLChangeLink() = default;
};

}  // namespace kestrel
