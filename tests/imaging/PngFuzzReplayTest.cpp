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
    if (!png.Empty()) {
      EXPECT_NE(png.Header()->Scanline(png.Height() - 1), nullptr);
    }
  });
  RecordProperty("replayed", replayed);
  // An empty or misplaced corpus would otherwise pass without testing anything.
  EXPECT_GT(replayed, 0);
}

TEST(PngFuzzReplay, EditingAndListInputsRunClean) {
  const int replayed = testing::ReplayFuzzInputs("png/edit", [](const auto&, std::vector<std::uint8_t>& bytes) {
    EXPECT_EQ(fuzz::RunEditInput(bytes.data(), bytes.size()), 0);
  });
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace kestrel
