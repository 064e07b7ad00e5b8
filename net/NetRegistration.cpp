#include "net/NetRegistration.h"

#include "framework/ClassRegistry.h"
#include "net/HTTPGet.h"

namespace kestrel {

void RegisterNetClasses() { RegisterClass(THTTPGet::StaticClass()); }

}  // namespace kestrel
