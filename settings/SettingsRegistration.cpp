#include "settings/SettingsRegistration.h"

#include "framework/ClassRegistry.h"
#include "settings/KsIniFile.h"

namespace kestrel {

void RegisterSettingsClasses() { RegisterClass(TKsIniFile::StaticClass()); }

}  // namespace kestrel
