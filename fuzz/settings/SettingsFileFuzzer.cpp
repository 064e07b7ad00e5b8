// libFuzzer target: arbitrary bytes saved as a settings file and loaded through Load (text or
// binary, as the first byte says) never crash, never allocate without bound, raise the load
// and save events as promised, and what is read is written back the same way twice.

#include <cstdlib>

#include "fuzz/settings/SettingsFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!kestrel::fuzz::RunSettingsFileFuzzInput(data, size)) std::abort();
  return 0;
}
