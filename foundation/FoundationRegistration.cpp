#include "foundation/FoundationRegistration.h"

#include <mutex>

#include "foundation/TimerPool.h"
#include "foundation/VnApplication.h"
#include "foundation/VnIniCtrl.h"
#include "framework/ClassRegistry.h"

namespace kestrel {

void RegisterFoundationClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterClasses({&TVnApplication::StaticClass(), &TVnTimerPool::StaticClass(), &TVnIniCtrl::StaticClass()});
  });
}

}  // namespace kestrel
