#include "tests/support/FuzzCorpus.h"

#include <fstream>
#include <iterator>

namespace kestrel::testing {

int ReplayFuzzInputs(std::string_view target,
                     const std::function<void(const std::filesystem::path&, std::vector<std::uint8_t>&)>& replay) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(KESTREL_TEST_SOURCE_DIR) / ".." / "fuzz" / fs::path(target);
  int replayed = 0;
  for (const char* folder : {"corpus", "crashers"}) {
    if (!fs::exists(root / folder)) continue;
    for (const auto& entry : fs::directory_iterator(root / folder)) {
      if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      replay(entry.path(), bytes);
      ++replayed;
    }
  }
  return replayed;
}

}  // namespace kestrel::testing
