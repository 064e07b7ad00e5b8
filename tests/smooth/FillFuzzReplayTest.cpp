// Replays the fill readers' fuzz corpus and every saved crasher.

#include <gtest/gtest.h>

#include "fuzz/smooth/FillFuzzInput.h"
#include "tests/support/FuzzCorpus.h"

namespace kestrel {
namespace {

TEST(FillFuzzReplay, CorpusAndCrashersLoadAndPaintCleanly) {
  const int replayed = testing::ReplayFuzzInputs("smooth", [&](const auto&, std::vector<std::uint8_t>& bytes) {
    TGDIPFill fill;
    fuzz::LoadFillFuzzInput(fill, bytes.data(), bytes.size());
  });
  EXPECT_GE(replayed, 4);
}

}  // namespace
}  // namespace kestrel
