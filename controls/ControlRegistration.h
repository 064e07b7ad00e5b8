#pragma once
// Registers the control library's components with the class registry, so that stored forms
// naming them can be read (with the framework's own classes and the services and settings
// components).

namespace kestrel {

void RegisterControlClasses();

}  // namespace kestrel
