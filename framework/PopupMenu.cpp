#include "framework/PopupMenu.h"

#include "framework/PopupMenuWindow.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TPopupMenu, TComponent)

void TPopupMenu::PublishProperties(TClassBuilder<TPopupMenu>& b) {
  b.Property(u"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TPopupMenu::~TPopupMenu() {
  // The window goes first: it refers to the items.
  FWindow.reset();
  SetPopupComponent(nullptr);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (Value == FPopupComponent) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (FPopupComponent) FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

bool TPopupMenu::IsShown() const { return FWindow && FWindow->Shown(); }

void TPopupMenu::Popup(int X, int Y) {
  CloseMenu();
  if (OnPopup) OnPopup(this);
  if (!FWindow) FWindow = std::make_unique<TPopupMenuWindow>(*this);
  FWindow->ShowAt(X, Y);
}

TRect TPopupMenu::ItemRect(const TMenuItem* Item) const { return IsShown() ? FWindow->ItemRect(Item) : TRect{}; }

void TPopupMenu::CloseMenu() {
  if (IsShown()) FWindow->Close(nullptr);
}

void TPopupMenu::Closed(TMenuItem* Chosen) {
  if (OnClose) OnClose(this);
  if (Chosen) Chosen->Click();
}

}  // namespace kestrel
