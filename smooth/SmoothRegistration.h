#pragma once
// Registers the marquee (with the framework's classes) with the class registry, so that stored
// forms naming it can be read.

namespace kestrel {

void RegisterSmoothClasses();

}  // namespace kestrel
