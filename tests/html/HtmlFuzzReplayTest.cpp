// Replays the preparation fuzz corpus and every saved crasher, wrapped and unwrapped.

#include <gtest/gtest.h>

#include "fuzz/html/HtmlFuzzInput.h"
#include "tests/support/FuzzCorpus.h"

namespace kestrel {
namespace {

TEST(HtmlFuzzReplay, CorpusAndCrashersPrepareCleanly) {
  TVnHTMLRender render;
  render.Data()->SetDefaultFont(u"Kestrel Fixed");
  render.Data()->SetDefaultHeight(-14);
  const int replayed = testing::ReplayFuzzInputs("html", [&](const auto& path, std::vector<std::uint8_t>& bytes) {
    for (int wrap = 0; wrap < 2 && bytes.size() >= 2; ++wrap) {
      bytes[0] = static_cast<std::uint8_t>((bytes[0] & ~1) | wrap);
      fuzz::PrepareHtmlFuzzInput(render, bytes.data(), bytes.size());
      const TVnHTMLData& data = *render.Data();
      if (data.ItemCount() > 0) {
        EXPECT_EQ(data.Item(0)->ItemType(), hitPara) << path;
      }
    }
  });
  EXPECT_GE(replayed, 8);
}

}  // namespace
}  // namespace kestrel
