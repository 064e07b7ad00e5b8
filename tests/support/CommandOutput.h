#pragma once
// What a shell command writes to its standard output ("" when it cannot be started), for tests
// that check this program against others on the display (xclip, xdotool).

#include <cstdio>
#include <string>

namespace kestrel::testing {

inline std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

}  // namespace kestrel::testing
