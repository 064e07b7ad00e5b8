#pragma once
// Registers the download component with the class registry, so that stored forms naming it can
// be read.

namespace kestrel {

void RegisterNetClasses();

}  // namespace kestrel
