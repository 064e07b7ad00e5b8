#include "html/KsHTMLChangeLink.h"

#include "html/KsHTMLContainer.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsHTMLChangeLink, TObject)

TKsHTMLChangeLink::~TKsHTMLChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TKsHTMLChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

}  // namespace kestrel
