#pragma once
// TKsHTMLContainer: a non-visual store of named markup snippets. Labels linked to it show one
// snippet instead of their own caption and hear every change through a registered change link.

#include <memory>

#include "framework/ChangeLink.h"
#include "framework/Component.h"

namespace kestrel {

class TKsHTMLChangeLink;
class TKsHTMLListItems;

class TKsHTMLContainer : public TComponent {
  KESTREL_CLASS(TKsHTMLContainer)
  explicit TKsHTMLContainer(TComponent* AOwner);
  ~TKsHTMLContainer() override;

  // Made on first use.
  TKsHTMLListItems* Items();
  void SetItems(TKsHTMLListItems* Value);
  int Count() const;

  void RegisterChanges(TKsHTMLChangeLink* Link);
  void UnRegisterChanges(TKsHTMLChangeLink* Link);
  // Raises OnChange and then every registered link's OnChange (not while loading).
  void Change();

  TNotifyEvent OnChange;

 protected:
  void Loaded() override;

 private:
  TKsHTMLListItems* ItemsForStreaming() const;

  std::unique_ptr<TKsHTMLListItems> FItems;
  TChangeLinkList FClients{this};
};

}  // namespace kestrel
