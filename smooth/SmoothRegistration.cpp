#include "smooth/SmoothRegistration.h"

#include <mutex>

#include "framework/ClassRegistry.h"
#include "framework/StdRegistration.h"
#include "smooth/SmoothWin8Marquee.h"

namespace kestrel {

void RegisterSmoothClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterVisualClasses();
    RegisterClass(TSmoothWin8Marquee::StaticClass());
  });
}

}  // namespace kestrel
