#pragma once
// Where the program's own data (the private font configuration and its fonts) lives. Nothing is
// compiled in: the folder is found at run time, so a build tree, an installed prefix and a moved
// tree all work.

#include <string>

namespace kestrel::platform {

// The first folder that holds "fonts/fonts.conf", tried in this order:
//   $KESTREL_DATA_DIR;
//   "share/kestrel" beside each folder from the executable's own folder up to four levels up
//   (an installed prefix: <prefix>/bin/../share/kestrel; a build tree: <build>/…/../share/kestrel);
//   "kestrel" inside $XDG_DATA_HOME (default ~/.local/share) and each of $XDG_DATA_DIRS
//   (default /usr/local/share:/usr/share).
// Empty when none does. Looked up once per process.
const std::string& DataDirectory();

// The same search, not cached, for tests of the rules above.
std::string FindDataDirectory();

}  // namespace kestrel::platform
