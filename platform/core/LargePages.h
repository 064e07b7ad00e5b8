#pragma once
// Advice that a large block be backed by the processor's large pages. A block that is filled
// once from end to end (a decoded image, a table built in one go) then costs a few dozen page
// faults and TLB entries instead of one for every 4 KiB. Only advice: where the system gives no
// large pages, or gives them on its own, the block works the same.

#include <cstddef>

namespace kestrel::platform {

// The large page of the processors this runs on (x86-64 and AArch64 with 4 KiB base pages).
inline constexpr std::size_t kLargePageSize = std::size_t{2} << 20;

// Asks for large pages for every whole large page inside [data, data + size); the partial ones at
// either end are left as they are, since no large page could cover them without reaching outside.
void PreferLargePages(void* data, std::size_t size);

}  // namespace kestrel::platform
