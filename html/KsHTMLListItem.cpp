#include "html/KsHTMLListItem.h"

#include <string>

#include "framework/TypeInfo.h"
#include "html/KsHTMLContainer.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsHTMLListItem, TCollectionItem)
KESTREL_IMPLEMENT_CLASS(TKsHTMLListItems, TCollection)

void TKsHTMLListItem::PublishProperties(TClassBuilder<TKsHTMLListItem>& b) {
  b.Property(u"Name", &TKsHTMLListItem::Name, &TKsHTMLListItem::SetName);
  b.Property(u"Caption", &TKsHTMLListItem::Caption, &TKsHTMLListItem::SetCaption);
}

TKsHTMLListItem::TKsHTMLListItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TKsHTMLListItem::SetName(const String& Value) {
  if (Value == FName) return;
  FName = Value;
  Changed(false);
}

void TKsHTMLListItem::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Changed(false);
}

String TKsHTMLListItem::DisplayName() const { return FName.empty() ? TCollectionItem::DisplayName() : FName; }

TKsHTMLListItems::TKsHTMLListItems(TKsHTMLContainer* Owner)
    : TCollection(ItemClass<TKsHTMLListItem>(), Owner), FContainer(Owner) {
  SetPropName(u"Items");
}

TKsHTMLListItem* TKsHTMLListItems::Add() {
  const String name = UnusedName();
  BeginUpdate();
  auto* item = static_cast<TKsHTMLListItem*>(TCollection::Add());
  item->SetName(name);
  EndUpdate();
  return item;
}

int TKsHTMLListItems::IndexOfName(const String& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name() == Name) return i;
  return -1;
}

String TKsHTMLListItems::UnusedName() const {
  for (int n = 0;; ++n) {
    const std::string number = std::to_string(n);
    const String name = u"KsHTMLSnip" + String(number.begin(), number.end());
    if (IndexOfName(name) < 0) return name;
  }
}

void TKsHTMLListItems::Update(TCollectionItem*) {
  if (FContainer) FContainer->Change();
}

}  // namespace kestrel
