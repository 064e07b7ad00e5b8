#pragma once
// Kestrel as the toolkit ATK speaks for: the root object, the toolkit's name, and the global
// event listeners the bridge registers (hooks on the emissions of ATK's signals).

namespace kestrel {

void InstallAtkToolkit();

}  // namespace kestrel
