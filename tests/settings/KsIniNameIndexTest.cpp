// The open-addressed name index against a plain map, with hashes chosen to collide in long probe
// runs that wrap around the end of the table, so erasing has to shift later members back.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>

#include "settings/KsIniNameIndex.h"

namespace kestrel::test {
namespace {

TEST(KsIniNameIndex, AgreesWithAMapThroughInsertsErasesAndGrowth) {
  TKsIniNameIndex index(4);
  std::map<std::uint32_t, TKsIniEntry*> model;
  std::mt19937 random(7);
  // Few distinct hashes and fake entry addresses: enough to make runs collide and wrap.
  auto fake = [](std::uint32_t n) { return reinterpret_cast<TKsIniEntry*>(std::uintptr_t{n + 1} * 16); };
  for (int step = 0; step < 20000; ++step) {
    const std::uint32_t hash = random() % 300;
    if (random() % 3 == 0) {
      index.Erase(hash);
      model.erase(hash);
    } else {
      TKsIniNameIndex::TChain& chain = index.Insert(hash);
      if (!chain.first) chain.first = chain.last = fake(hash);
      model.emplace(hash, fake(hash));
    }
    if (step % 97 != 0) continue;
    for (std::uint32_t h = 0; h < 300; ++h) {
      const TKsIniNameIndex::TChain* chain = index.Find(h);
      const auto it = model.find(h);
      ASSERT_EQ(chain != nullptr, it != model.end()) << "hash " << h << " step " << step;
      if (chain) {
        EXPECT_EQ(chain->first, it->second);
      }
    }
  }
}

}  // namespace
}  // namespace kestrel::test
