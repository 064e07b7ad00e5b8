#pragma once
// Makes the visual classes known to streaming and to setting properties by name: the control
// classes for the class registry and the colour names for TColor properties. Idempotent; the
// application object calls it when it is made.

namespace kestrel {

void RegisterVisualClasses();

}  // namespace kestrel
