// Replays the fuzz corpora and every saved crasher: each input loads or raises a codec exception,
// nothing else; the editing target's inputs run through the target itself.

#include <gtest/gtest.h>

#include "imaging/PngObject.h"
#include "tests/support/FuzzCorpus.h"

// The editing target, compiled in so its inputs replay through exactly what the fuzzer ran.
#include "fuzz/png/PngEditFuzzer.cpp"

namespace kestrel {
namespace {

TEST(PngFuzzReplay, CorpusAndCrashersLoadOrFailCleanly) {
  const int replayed = testing::ReplayFuzzInputs("png", [](const auto& path, std::vector<std::uint8_t>& bytes) {
    TVnPNGObject png;
    try {
      png.LoadFromMemory(bytes.data(), bytes.size());
    } catch (const EVnPNGError&) {
    } catch (const std::exception& e) {
      ADD_FAILURE() << path << ": " << e.what();
    }
    // What loads is a usable image: it saves and reads back at its size.
    EXPECT_TRUE(fuzz::SavesAndReadsBack(png)) << path;
  });
  RecordProperty("replayed", replayed);
  // An empty or misplaced corpus would otherwise pass without testing anything.
  EXPECT_GT(replayed, 0);
}

TEST(PngFuzzReplay, EditingAndListInputsRunClean) {
  const int replayed = testing::ReplayFuzzInputs("png/edit", [](const auto& path, std::vector<std::uint8_t>& bytes) {
    EXPECT_TRUE(fuzz::EditInputHolds(bytes.data(), bytes.size())) << path;
  });
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace kestrel
