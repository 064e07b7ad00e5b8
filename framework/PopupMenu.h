#pragma once
// TPopupMenu: a menu that pops up at a screen point in a window of its own, above every other.
// Popup runs the menu's own message loop and returns when the menu has closed. The mouse (hover,
// click) and the keyboard (arrows, Home, End, Enter, Space, an item's accelerator) choose an
// item; Escape, a click outside the menu, the owner window losing activation or the application
// terminating close it without a choice. The chosen item's OnClick runs after the menu's window
// has gone. The menu never takes activation or focus from the window it was opened over: its
// loop hands it the keyboard's messages instead.

#include <memory>

#include "framework/Canvas.h"
#include "framework/Component.h"
#include "framework/MenuItem.h"

namespace kestrel {

class TPopupMenuWindow;

class TPopupMenu : public TComponent {
  KESTREL_CLASS(TPopupMenu)
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  // The menu's entries.
  TMenuItem* Items() const { return FItems.get(); }
  // Whether controls show the menu by themselves on a right click.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  // The component the menu was last shown for (controls set it before Popup).
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);

  // Shows the menu with its top-left corner at screen point (X, Y), moved as far as needed to
  // lie on the screen, and handles messages until it closes; then runs the chosen item's
  // OnClick. A menu without visible items shows nothing. Called again while the menu is open,
  // it moves the menu and returns at once; another menu that is open closes first.
  virtual void Popup(int X, int Y);
  bool IsShown() const;
  // Closes the menu without a choice (its loop ends with the next message).
  void CloseMenu();
  // Where a shown item lies on the screen; an empty rectangle while the menu or the item is
  // not shown.
  TRect ItemRect(const TMenuItem* Item) const;

  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

  struct TLoopState;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TPopupMenuWindow;
  // From the window: the menu closed, with `Chosen` (or null) as the choice.
  void Closed(TMenuItem* Chosen);
  // Handles messages until the menu closes or is freed; closes it when the window it was opened
  // over loses activation or the application terminates.
  void RunLoop(TLoopState& loop);

  std::unique_ptr<TMenuItem> FItems;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  std::unique_ptr<TPopupMenuWindow> FWindow;
  std::shared_ptr<bool> FAlive;
  TLoopState* FLoop = nullptr;  // while Popup's loop runs
};

}  // namespace kestrel
