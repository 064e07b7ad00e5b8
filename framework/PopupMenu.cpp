#include "framework/PopupMenu.h"

#include "framework/Application.h"
#include "framework/TypeInfo.h"
#include "framework/internal/PopupMenuWindow.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

// What one run of Popup's loop needs; it lives on Popup's stack.
struct TPopupMenu::TLoopState {
  std::shared_ptr<bool> alive;  // false once the menu is freed
  bool done = false;
  TMenuItem* chosen = nullptr;
  pf::HWND window = nullptr;  // the menu's window
  pf::HWND owner = nullptr;   // the window that was active when the menu opened
};

namespace {

// The menu whose loop runs innermost; a menu that pops up closes it first.
TPopupMenu* gOpenMenu = nullptr;

// Sends the keyboard's messages to the open menu's window while its loop runs: the focus stays
// where it was, so the owner's focused control keeps it and hears nothing of the menu's keys.
struct KeyboardToMenu {
  const TPopupMenu::TLoopState* loop;
  TMessageEvent previous;
  void operator()(pf::MSG& msg, bool& handled) const {
    if (previous) previous(msg, handled);
    if (!handled && *loop->alive && !loop->done && msg.message >= pf::WM_KEYFIRST && msg.message <= pf::WM_KEYLAST)
      msg.hwnd = loop->window;
  }
};

}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TPopupMenu, TComponent)

void TPopupMenu::PublishProperties(TClassBuilder<TPopupMenu>& b) {
  b.Property(u"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
}

TPopupMenu::TPopupMenu(TComponent* owner)
    : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)), FAlive(std::make_shared<bool>(true)) {}

TPopupMenu::~TPopupMenu() {
  // A loop still running for this menu sees the flag and returns without touching it.
  *FAlive = false;
  if (gOpenMenu == this) gOpenMenu = nullptr;
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
  if (FLoop) {
    // Open already: the running loop goes on with the menu at its new place.
    if (OnPopup) OnPopup(this);
    FWindow->ShowAt(X, Y);
    if (!FWindow->Shown()) FLoop->done = true;
    return;
  }
  if (gOpenMenu) gOpenMenu->CloseMenu();
  const std::shared_ptr<bool> alive = FAlive;
  if (OnPopup) OnPopup(this);
  if (!*alive) return;
  if (!FWindow) FWindow = std::make_unique<TPopupMenuWindow>(*this);
  TLoopState loop{alive};
  loop.owner = pf::GetActiveWindow();
  FWindow->ShowAt(X, Y);
  if (!FWindow->Shown()) return;
  loop.window = FWindow->Handle();
  FLoop = &loop;
  gOpenMenu = this;
  RunLoop(loop);
  if (!*alive) return;
  FLoop = nullptr;
  if (gOpenMenu == this) gOpenMenu = nullptr;
  if (OnClose) OnClose(this);
  if (!*alive || !loop.chosen) return;
  // Last: the handler may free the menu, its owner or the control it was shown for.
  loop.chosen->Click();
}

void TPopupMenu::RunLoop(TLoopState& loop) {
  TApplication* app = Application();
  const TMessageEvent previous = app->OnMessage;
  app->OnMessage = KeyboardToMenu{&loop, previous};
  while (*loop.alive && !loop.done) {
    app->HandleMessage();
    if (!*loop.alive || loop.done) break;
    // The menu belongs to the window it was opened over (it may have become active itself
    // where the desktop gives new windows the focus).
    const pf::HWND active = pf::GetActiveWindow();
    if (app->Terminated() || (active != loop.owner && active != loop.window)) FWindow->Close(nullptr);
  }
  // Put back unless a handler installed a filter of its own meanwhile.
  if (app->OnMessage.target<KeyboardToMenu>()) app->OnMessage = previous;
}

TRect TPopupMenu::ItemRect(const TMenuItem* Item) const { return IsShown() ? FWindow->ItemRect(Item) : TRect{}; }

void TPopupMenu::CloseMenu() {
  if (IsShown()) FWindow->Close(nullptr);
}

void TPopupMenu::Closed(TMenuItem* Chosen) {
  if (!FLoop) return;
  FLoop->chosen = Chosen;
  FLoop->done = true;
}

}  // namespace kestrel
