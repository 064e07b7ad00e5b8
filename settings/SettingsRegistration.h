#pragma once
// Registers the settings store component with the class registry, so that stored forms naming it
// can be read.

namespace kestrel {

void RegisterSettingsClasses();

}  // namespace kestrel
