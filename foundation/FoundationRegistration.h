#pragma once
// Registers the services components (application object, timer pool, settings access) with the
// class registry, so that stored forms naming them can be read.

namespace kestrel {

void RegisterFoundationClasses();

}  // namespace kestrel
