#include "framework/MenuItem.h"

#include "framework/Exceptions.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TMenuItem, TComponent)

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() = default;

void TMenuItem::Add(TMenuItem* Item) {
  if (!Item) return;
  // An owner component would free the item a second time.
  if (Item->Owner() || Item->FParent) throw EInvalidOperation(u"A menu item belongs to one menu only");
  Item->FParent = this;
  FItems.emplace_back(Item);
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

}  // namespace kestrel
