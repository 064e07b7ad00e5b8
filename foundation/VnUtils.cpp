#include "foundation/VnUtils.h"

#include "platform/os/Paths.h"

namespace kestrel::vn {

bool IsBlank(const String& s) { return s.find_first_not_of(u' ') == String::npos; }

String ExecutablePath() {
  platform::WCHAR buffer[4096] = {};
  const platform::DWORD n = platform::GetModuleFileNameW(nullptr, buffer, 4096);
  return String(reinterpret_cast<const char16_t*>(buffer), n < 4096 ? n : 0);
}

}  // namespace kestrel::vn
