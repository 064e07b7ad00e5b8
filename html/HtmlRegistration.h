#pragma once
// Registers the markup components (with the control library's) with the class registry, so that
// stored forms naming them can be read.

namespace kestrel {

void RegisterHtmlClasses();

}  // namespace kestrel
