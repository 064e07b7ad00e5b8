#include "controls/KsThemeStyleWiring.h"

#include "controls/KsStyleManager.h"
#include "controls/KsStyleMgrChangeLink.h"
#include "controls/VnThemeModeRule.h"
#include "framework/WinControl.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

TKsThemeStyleWiring::TKsThemeStyleWiring(TControl& control, std::function<void()> restyled,
                                         std::function<void()> sheetChanged)
    : control_(control),
      restyled_(std::move(restyled)),
      sheetChanged_(std::move(sheetChanged)),
      FStyleMgrLink(std::make_unique<TKsStyleMgrChangeLink>()) {
  FStyleMgrLink->OnChange = [this](TObject*) {
    UpdateStyle();
    if (sheetChanged_) sheetChanged_();
  };
}

TKsThemeStyleWiring::~TKsThemeStyleWiring() { SetStyleManager(nullptr); }

bool TKsThemeStyleWiring::SetThemeMode(TVnThemeMode value) {
  if (value == FThemeMode) return false;
  FThemeMode = value;
  return true;
}

bool TKsThemeStyleWiring::SetThemeGlobalMode(bool value) {
  if (value == FThemeGlobalMode) return false;
  FThemeGlobalMode = value;
  return true;
}

bool TKsThemeStyleWiring::SetUseXPThemes(bool value) {
  return value != UseXPThemes() && SetThemeMode(value ? ttmPlatform : ttmNone);
}

TVnThemeMode TKsThemeStyleWiring::UseThemeMode() const { return EffectiveThemeMode(FThemeMode, FThemeGlobalMode); }

void TKsThemeStyleWiring::SetStyleManager(TKsStyleManager* value) {
  if (value == FStyleManager) return;
  // The link is unregistered even from a manager that is going (its owner may free this control
  // first), so that the manager never reaches a freed link; a manager already in its destructor
  // has let go of its links (the link's sender is cleared).
  if (TKsStyleManager* old = FStyleManager) {
    if (!old->ComponentState().Contains(csDestroying)) control_.RemoveFreeNotification(old);
    if (FStyleMgrLink->Sender() == old) old->UnregisterChanges(FStyleMgrLink.get());
  }
  FStyleManager = value;
  if (!value) return;
  control_.FreeNotification(value);
  value->RegisterChanges(FStyleMgrLink.get());
  UpdateStyle();
}

void TKsThemeStyleWiring::SetStyleName(const String& value) {
  if (value == FStyleName) return;
  FStyleName = value;
  UpdateStyle();
}

void TKsThemeStyleWiring::UpdateStyle() {
  const TComponentState state = control_.ComponentState();
  if (state.Contains(csLoading) || state.Contains(csReading) || !FStyleManager) return;
  auto* windowed = dynamic_cast<TWinControl*>(&control_);
  const bool holdRedraw = windowed && windowed->HandleAllocated() && control_.Visible();
  if (holdRedraw) pf::SendMessageW(windowed->Handle(), pf::WM_SETREDRAW, pf::FALSE, 0);
  {
    struct RedrawBack {  // on again even when the style raises
      TWinControl* control;
      ~RedrawBack() {
        if (control && control->HandleAllocated()) pf::SendMessageW(control->Handle(), pf::WM_SETREDRAW, pf::TRUE, 0);
      }
    } redrawBack{holdRedraw ? windowed : nullptr};
    FStyleManager->ApplyStyle(&control_, FStyleName);
  }
  if (restyled_) restyled_();
}

void TKsThemeStyleWiring::AssignDefaultManager() {
  if (!control_.ComponentState().Contains(csDesigning)) SetStyleManager(DefaultStyleManager());
}

void TKsThemeStyleWiring::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component && component == FStyleManager) SetStyleManager(nullptr);
}

}  // namespace kestrel
