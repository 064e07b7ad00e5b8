// libFuzzer target: the fill's INI-section and clipboard readers take any bytes without
// crashing, hanging or leaking, and whatever they accept paints.

#include "fuzz/smooth/FillFuzzInput.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TGDIPFill fill;
  fuzz::LoadFillFuzzInput(fill, data, size);
  return 0;
}
