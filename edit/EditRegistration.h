#pragma once
// Makes the edit library's components known to stored forms (with the control library's).

namespace kestrel {

void RegisterEditClasses();

}  // namespace kestrel
