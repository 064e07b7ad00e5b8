// Replays the settings fuzz corpora and every saved crasher through the same checks the fuzz
// targets make.

#include <gtest/gtest.h>

#include "fuzz/settings/SettingsFuzzInput.h"
#include "tests/support/FuzzCorpus.h"

namespace kestrel {
namespace {

TEST(KsIniFuzzReplay, StreamCorporaAndCrashersLoadAndRoundTrip) {
  int replayed = 0;
  for (const char* kind : {"text", "binary"}) {
    const bool binary = kind[0] == 'b';
    replayed += testing::ReplayFuzzInputs(
        std::string("settings/") + kind, [binary](const auto& path, std::vector<std::uint8_t>& bytes) {
          EXPECT_TRUE(fuzz::RunSettingsFuzzInput(binary, bytes.data(), bytes.size())) << path;
        });
  }
  EXPECT_GE(replayed, 9);
}

TEST(KsIniFuzzReplay, FileCorpusAndCrashersLoadSaveAndRoundTrip) {
  const int replayed =
      testing::ReplayFuzzInputs("settings/file", [](const auto& path, std::vector<std::uint8_t>& bytes) {
        EXPECT_TRUE(fuzz::RunSettingsFileFuzzInput(bytes.data(), bytes.size())) << path;
      });
  EXPECT_GE(replayed, 12);
}

}  // namespace
}  // namespace kestrel
