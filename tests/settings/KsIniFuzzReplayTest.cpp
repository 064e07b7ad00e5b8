// Replays the settings fuzz corpora and every saved crasher through the same checks the fuzz
// targets make.

#include <gtest/gtest.h>

#include "fuzz/settings/SettingsFuzzInput.h"
#include "tests/support/FuzzCorpus.h"

namespace kestrel {
namespace {

TEST(KsIniFuzzReplay, CorporaAndCrashersLoadAndRoundTrip) {
  int replayed = 0;
  for (const char* kind : {"text", "binary"}) {
    const bool binary = kind[0] == 'b';
    replayed += testing::ReplayFuzzInputs(std::string("settings/") + kind,
                                          [binary](const auto& path, std::vector<std::uint8_t>& bytes) {
      EXPECT_TRUE(fuzz::RunSettingsFuzzInput(binary, bytes.data(), bytes.size())) << path;
    });
  }
  EXPECT_GE(replayed, 9);
}

}  // namespace
}  // namespace kestrel
