#pragma once
// One named markup snippet of a TKsHTMLContainer, and the collection that holds them. A new
// snippet is named "KsHTMLSnip<n>" with the first n no snippet uses yet; every change to a
// snippet, and adding or removing one, reaches the container's Change.

#include "framework/Collection.h"

namespace kestrel {

class TKsHTMLContainer;

class TKsHTMLListItem : public TCollectionItem {
  KESTREL_CLASS(TKsHTMLListItem)
  explicit TKsHTMLListItem(TCollection* Collection);

  const String& Name() const { return FName; }
  void SetName(const String& Value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  String DisplayName() const override;

 private:
  String FName;
  String FCaption;
};

class TKsHTMLListItems : public TCollection {
  KESTREL_CLASS(TKsHTMLListItems)
  explicit TKsHTMLListItems(TKsHTMLContainer* Owner);

  TKsHTMLListItem* Add();
  TKsHTMLListItem* Items(int Index) const { return static_cast<TKsHTMLListItem*>(TCollection::Items(Index)); }
  // The index of the snippet named exactly `Name`, or -1.
  int IndexOfName(const String& Name) const;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  String UnusedName() const;
  TKsHTMLContainer* FContainer;
};

}  // namespace kestrel
