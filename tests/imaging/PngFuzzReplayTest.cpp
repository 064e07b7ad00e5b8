// Replays the fuzz corpus and every saved crasher: each input loads or raises a codec exception,
// nothing else.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "imaging/PngObject.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

TEST(PngFuzzReplay, CorpusAndCrashersLoadOrFailCleanly) {
  const fs::path root = fs::path(KESTREL_TEST_SOURCE_DIR) / ".." / "fuzz" / "png";
  int replayed = 0;
  for (const char* folder : {"corpus", "crashers"}) {
    if (!fs::exists(root / folder)) continue;
    for (const auto& entry : fs::directory_iterator(root / folder)) {
      if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
      TVnPNGObject png;
      try {
        png.LoadFromMemory(bytes.data(), bytes.size());
      } catch (const EVnPNGError&) {
      } catch (const std::exception& e) {
        ADD_FAILURE() << entry.path() << ": " << e.what();
      }
      if (!png.Empty()) {
        EXPECT_NE(png.Header()->Scanline(png.Height() - 1), nullptr);
      }
      ++replayed;
    }
  }
  RecordProperty("replayed", replayed);
}

}  // namespace
}  // namespace kestrel
