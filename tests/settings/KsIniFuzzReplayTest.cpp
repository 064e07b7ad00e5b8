// Replays the settings fuzz corpora and every saved crasher through the same checks the fuzz
// targets make.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/settings/SettingsFuzzInput.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

TEST(KsIniFuzzReplay, CorporaAndCrashersLoadAndRoundTrip) {
  const fs::path root = fs::path(KESTREL_TEST_SOURCE_DIR) / ".." / "fuzz" / "settings";
  int replayed = 0;
  for (const char* kind : {"text", "binary"}) {
    for (const char* folder : {"corpus", "crashers"}) {
      const fs::path dir = root / kind / folder;
      if (!fs::exists(dir)) continue;
      for (const auto& entry : fs::directory_iterator(dir)) {
        if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        EXPECT_TRUE(fuzz::RunSettingsFuzzInput(kind[0] == 'b', bytes.data(), bytes.size()))
            << entry.path();
        ++replayed;
      }
    }
  }
  EXPECT_GE(replayed, 9);
}

}  // namespace
}  // namespace kestrel
