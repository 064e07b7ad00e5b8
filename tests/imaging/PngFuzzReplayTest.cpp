// Replays the fuzz corpus and every saved crasher: each input loads or raises a codec exception,
// nothing else.

#include <gtest/gtest.h>

#include "imaging/PngObject.h"
#include "tests/support/FuzzCorpus.h"

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

}  // namespace
}  // namespace kestrel
