// Replays the preparation fuzz corpus and every saved crasher, wrapped and unwrapped.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/html/HtmlFuzzInput.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

TEST(HtmlFuzzReplay, CorpusAndCrashersPrepareCleanly) {
  const fs::path root = fs::path(KESTREL_TEST_SOURCE_DIR) / ".." / "fuzz" / "html";
  TVnHTMLRender render;
  render.Data()->SetDefaultFont(u"Kestrel Fixed");
  render.Data()->SetDefaultHeight(-14);
  int replayed = 0;
  for (const char* folder : {"corpus", "crashers"}) {
    if (!fs::exists(root / folder)) continue;
    for (const auto& entry : fs::directory_iterator(root / folder)) {
      if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (int wrap = 0; wrap < 2 && bytes.size() >= 2; ++wrap) {
        bytes[0] = static_cast<std::uint8_t>((bytes[0] & ~1) | wrap);
        fuzz::PrepareHtmlFuzzInput(render, bytes.data(), bytes.size());
        const TVnHTMLData& data = *render.Data();
        if (data.ItemCount() > 0) {
          EXPECT_EQ(data.Item(0)->ItemType(), hitPara) << entry.path();
        }
      }
      ++replayed;
    }
  }
  EXPECT_GE(replayed, 8);
}

}  // namespace
}  // namespace kestrel
