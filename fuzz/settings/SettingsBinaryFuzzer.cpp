// libFuzzer target: arbitrary bytes read as a binary settings file never crash, never allocate
// without bound, and what is read is written back the same way twice.

#include <cstdlib>

#include "fuzz/settings/SettingsFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!kestrel::fuzz::RunSettingsFuzzInput(true, data, size)) std::abort();
  return 0;
}
