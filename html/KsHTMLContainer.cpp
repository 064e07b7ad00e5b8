#include "html/KsHTMLContainer.h"

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

TKsHTMLContainer::~TKsHTMLContainer() = default;

TKsHTMLListItems* TKsHTMLContainer::Items() {
  if (!FItems) FItems = std::make_unique<TKsHTMLListItems>(this);
  return FItems.get();
}

TKsHTMLListItems* TKsHTMLContainer::ItemsForStreaming() const { return const_cast<TKsHTMLContainer*>(this)->Items(); }

void TKsHTMLContainer::SetItems(TKsHTMLListItems* Value) {
  if (Value) Items()->Assign(Value);
}

int TKsHTMLContainer::Count() const { return FItems ? FItems->Count() : 0; }

void TKsHTMLContainer::RegisterChanges(TKsHTMLChangeLink* Link) { FClients.Register(Link); }

void TKsHTMLContainer::UnRegisterChanges(TKsHTMLChangeLink* Link) { FClients.Unregister(Link); }

void TKsHTMLContainer::Change() {
  if (ComponentState().Contains(csLoading)) return;
  if (OnChange) OnChange(this);
  FClients.Notify();
}

void TKsHTMLContainer::Loaded() {
  TComponent::Loaded();
  Change();
}

}  // namespace kestrel
