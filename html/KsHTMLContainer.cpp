#include "html/KsHTMLContainer.h"

#include <algorithm>

#include "framework/TypeInfo.h"
#include "html/KsHTMLChangeLink.h"
#include "html/KsHTMLListItem.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsHTMLContainer, TComponent)

void TKsHTMLContainer::PublishProperties(TClassBuilder<TKsHTMLContainer>& b) {
  b.Object(u"Items", &TKsHTMLContainer::ItemsForStreaming, &TKsHTMLContainer::SetItems);
  b.Event(
      u"OnChange", [](const TKsHTMLContainer& c) { return static_cast<bool>(c.OnChange); }, u"TNotifyEvent");
}

TKsHTMLContainer::TKsHTMLContainer(TComponent* AOwner) : TComponent(AOwner) {}

TKsHTMLContainer::~TKsHTMLContainer() {
  // Links hear nothing more and know they are no longer registered.
  for (TKsHTMLChangeLink* link : FClients) link->SetSender(nullptr);
  FClients.clear();
}

TKsHTMLListItems* TKsHTMLContainer::Items() {
  if (!FItems) FItems = std::make_unique<TKsHTMLListItems>(this);
  return FItems.get();
}

TKsHTMLListItems* TKsHTMLContainer::ItemsForStreaming() const { return const_cast<TKsHTMLContainer*>(this)->Items(); }

void TKsHTMLContainer::SetItems(TKsHTMLListItems* Value) {
  if (Value) Items()->Assign(Value);
}

int TKsHTMLContainer::Count() const { return FItems ? FItems->Count() : 0; }

void TKsHTMLContainer::RegisterChanges(TKsHTMLChangeLink* Link) {
  if (!Link) return;
  Link->SetSender(this);
  if (std::find(FClients.begin(), FClients.end(), Link) == FClients.end()) FClients.push_back(Link);
}

void TKsHTMLContainer::UnRegisterChanges(TKsHTMLChangeLink* Link) {
  if (!Link) return;
  std::erase(FClients, Link);
  if (Link->Sender() == this) Link->SetSender(nullptr);
}

void TKsHTMLContainer::Change() {
  if (ComponentState().Contains(csLoading)) return;
  if (OnChange) OnChange(this);
  // A client may unregister itself (or another) while it hears the news.
  const std::vector<TKsHTMLChangeLink*> clients = FClients;
  for (TKsHTMLChangeLink* link : clients) {
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
  }
}

void TKsHTMLContainer::Loaded() {
  TComponent::Loaded();
  Change();
}

}  // namespace kestrel
