#pragma once
// Registers the PNG image list with the class registry, so that stored forms naming it can be read
// (the glyph list is made by code only).

namespace kestrel {

void RegisterImagingClasses();

}  // namespace kestrel
