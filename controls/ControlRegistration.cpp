#include "controls/ControlRegistration.h"

#include <mutex>

#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsHook.h"
#include "controls/KsImageForm.h"
#include "controls/KsPanel.h"
#include "controls/KsSBController.h"
#include "controls/KsStyleManager.h"
#include "controls/KsXPThemedControl.h"
#include "controls/VnHookComponent.h"
#include "foundation/FoundationRegistration.h"
#include "framework/ClassRegistry.h"
#include "framework/StdRegistration.h"
#include "settings/SettingsRegistration.h"

namespace kestrel {

void RegisterControlClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterVisualClasses();
    RegisterFoundationClasses();
    RegisterSettingsClasses();
    RegisterClasses({&TKsPanel::StaticClass(), &TKsImageForm::StaticClass(), &TKsHook::StaticClass(),
                     &TVnHookComponent::StaticClass(), &TKsXPThemedControl::StaticClass(),
                     &TKsCtrlScrollBarStyles::StaticClass(), &TKsSBController::StaticClass(),
                     &TKsStyleManager::StaticClass()});
  });
}

}  // namespace kestrel
