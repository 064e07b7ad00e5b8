#include "platform/os/FileAttributes.h"

namespace kestrel::platform {

FILETIME FileTimeFromUnix(std::int64_t seconds, long nanoseconds) {
  constexpr std::int64_t kEpochDifference = 11644473600;  // seconds from 1601 to 1970
  std::int64_t ticks = (seconds + kEpochDifference) * 10000000 + nanoseconds / 100;
  if (ticks < 0) ticks = 0;
  auto value = static_cast<std::uint64_t>(ticks);
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)};
}

}  // namespace kestrel::platform
