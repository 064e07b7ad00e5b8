#include "imaging/ImagingRegistration.h"

#include "framework/ClassRegistry.h"
#include "imaging/PngImageList.h"

namespace kestrel {

void RegisterImagingClasses() { RegisterClass(TVnPNGImageList::StaticClass()); }

}  // namespace kestrel
