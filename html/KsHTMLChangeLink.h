#pragma once
// TKsHTMLChangeLink: how a label hears that the snippet store it shows changed. The store calls
// the link's OnChange; freeing the link unregisters it.

#include "framework/Object.h"

namespace kestrel {

class TKsHTMLContainer;

class TKsHTMLChangeLink : public TObject {
  KESTREL_CLASS(TKsHTMLChangeLink)
  TKsHTMLChangeLink() = default;
  ~TKsHTMLChangeLink() override;
  TKsHTMLChangeLink(const TKsHTMLChangeLink&) = delete;
  TKsHTMLChangeLink& operator=(const TKsHTMLChangeLink&) = delete;

  // The store the link is registered with (null when none).
  TKsHTMLContainer* Sender() const { return FSender; }
  void SetSender(TKsHTMLContainer* Value) { FSender = Value; }
  // Called by the store.
  void Change();

  TNotifyEvent OnChange;

 private:
  TKsHTMLContainer* FSender = nullptr;
};

}  // namespace kestrel
