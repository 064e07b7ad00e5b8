#include "edit/EditRegistration.h"

#include <mutex>

#include "controls/ControlRegistration.h"
#include "edit/KsDisplayReadOnlyOptions.h"
#include "edit/KsEdit.h"
#include "framework/ClassRegistry.h"

namespace kestrel {

void RegisterEditClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterControlClasses();
    RegisterClasses({&TKsEdit::StaticClass(), &TKsDisplayReadOnlyOptions::StaticClass()});
  });
}

}  // namespace kestrel
