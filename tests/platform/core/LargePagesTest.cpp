#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/core/LargePages.h"

namespace kestrel::platform {
namespace {

// The mapping of this process that holds `address`: where it starts and ends, and whether it
// carries the large-page advice ("hg" among its flags).
struct Mapping {
  std::uintptr_t begin = 0, end = 0;
  bool advised = false;
};

Mapping MappingAt(const void* address) {
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  Mapping found;
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    std::uintptr_t begin = 0, end = 0;
    char dash = 0;
    std::istringstream head(line);
    if (head >> std::hex >> begin >> dash >> end && dash == '-' && line.find(':') > line.find(' ')) {
      inside = begin <= at && at < end;
      if (inside) found = {begin, end, false};
    } else if (inside && line.rfind("VmFlags:", 0) == 0) {
      found.advised = line.find(" hg") != std::string::npos;
    }
  }
  return found;
}

TEST(LargePages, OnlyWholeLargePagesInsideTheRangeAreAdvised) {
  std::ifstream thp("/sys/kernel/mm/transparent_hugepage/enabled");
  if (!thp) GTEST_SKIP() << "no transparent huge pages on this system";
  const std::size_t span = 8 * kLargePageSize;
  void* mapping = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(mapping, MAP_FAILED);
  const auto raw = reinterpret_cast<std::uintptr_t>(mapping);
  auto* base = reinterpret_cast<std::uint8_t*>((raw + kLargePageSize - 1) / kLargePageSize * kLargePageSize);

  // A range shorter than a large page, and one that straddles a boundary without covering a whole
  // page, change nothing.
  PreferLargePages(base + 4096, kLargePageSize - 8192);
  PreferLargePages(base + kLargePageSize / 2, kLargePageSize);
  EXPECT_FALSE(MappingAt(base + kLargePageSize).advised);

  // Starting a page past a boundary and ending a page short of one: the two whole pages between.
  PreferLargePages(base + 4096, 3 * kLargePageSize);
  const Mapping advised = MappingAt(base + kLargePageSize);
  EXPECT_TRUE(advised.advised);
  EXPECT_EQ(advised.begin, reinterpret_cast<std::uintptr_t>(base + kLargePageSize));
  EXPECT_EQ(advised.end, reinterpret_cast<std::uintptr_t>(base + 3 * kLargePageSize));
  EXPECT_FALSE(MappingAt(base).advised);
  EXPECT_FALSE(MappingAt(base + 3 * kLargePageSize).advised);
  ::munmap(mapping, span);
}

}  // namespace
}  // namespace kestrel::platform
