#include "platform/core/ProcessWide.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/core/HandleTable.h"

namespace kestrel::platform {
namespace {

std::atomic<int> gMade{0};
std::atomic<int> gFreed{0};

struct Counted {
  Counted() { ++gMade; }
  ~Counted() { ++gFreed; }
  int value = 0;
};

constinit ProcessWide<Counted> gLazy;
constinit ProcessWide<Counted> gRemade(ProcessWideOptions<Counted>{.remakeAfterReset = true});

TEST(ProcessWide, ManyThreadsAskingFirstMakeOneObject) {
  ResetProcessWideState();
  const int made = gMade;
  std::vector<std::thread> threads;
  std::vector<Counted*> seen(8);
  for (int i = 0; i < 8; ++i) threads.emplace_back([&, i] { seen[i] = gLazy.Get(); });
  for (auto& t : threads) t.join();
  EXPECT_EQ(gMade - made, 1);
  for (Counted* object : seen) EXPECT_EQ(object, gLazy.Peek());
}

TEST(ProcessWide, ResetFreesAndTheNextUseMakesAFreshObject) {
  gLazy->value = 7;
  gRemade->value = 9;
  const int freed = gFreed;
  ResetProcessWideState();
  EXPECT_EQ(gFreed - freed, 2);
  EXPECT_EQ(gLazy.Peek(), nullptr);
  ASSERT_NE(gRemade.Peek(), nullptr);  // made again by the reset itself
  EXPECT_EQ(gRemade->value, 0);
  EXPECT_EQ(gLazy->value, 0);
}

// A handle table renewed in place: a handle from before the reset names nothing after it, even
// though the fresh table reuses the slot.
using Table = HandleTable<int>;
constinit ProcessWide<Table> gTable(ProcessWideOptions<Table>{.make = [] { return std::make_unique<Table>(0x7E); },
                                                              .renew =
                                                                  [](Table& old) {
                                                                    old.Clear();
                                                                    return &old;
                                                                  }});

TEST(ProcessWide, RenewedHandleTableRefusesHandlesFromBeforeTheReset) {
  const std::uintptr_t before = gTable->Insert(std::make_shared<int>(1));
  Table* table = gTable.Get();
  ResetProcessWideState();
  EXPECT_EQ(gTable.Get(), table);
  EXPECT_EQ(gTable->Count(), 0u);
  const std::uintptr_t after = gTable->Insert(std::make_shared<int>(2));
  EXPECT_NE(after, before);
  EXPECT_EQ(gTable->Lookup(before), nullptr);
  EXPECT_EQ(*gTable->Lookup(after), 2);
}

struct SelfAsking;
constinit ProcessWide<SelfAsking> gSelfAsking;
struct SelfAsking {
  SelfAsking() : seenWhileMade(gSelfAsking.Get()) {}
  SelfAsking* seenWhileMade;
};

TEST(ProcessWide, ItsOwnMakingSeesNoObject) {
  ResetProcessWideState();
  EXPECT_EQ(gSelfAsking->seenWhileMade, nullptr);
}

bool AnyThread() { return true; }
bool NoThread() { return false; }
constinit ProcessWide<Counted> gFreedAtExit(ProcessWideOptions<Counted>{.freeAtExit = &AnyThread});
constinit ProcessWide<Counted> gKeptAtExit(ProcessWideOptions<Counted>{.freeAtExit = &NoThread});

// The exit handler registered before the object was made runs after the object's own one; its
// exit code tells what it found.
TEST(ProcessWideDeathTest, FreedAtTheProgramsEndOnAnAcceptedThreadOnly) {
  EXPECT_EXIT(
      {
        std::atexit([] { std::_Exit(gFreedAtExit.Peek() || gFreedAtExit.Get() ? 3 : 4); });
        gFreedAtExit.Get();
        std::exit(0);
      },
      ::testing::ExitedWithCode(4), "");
  EXPECT_EXIT(
      {
        std::atexit([] { std::_Exit(gKeptAtExit.Peek() ? 3 : 4); });
        gKeptAtExit.Get();
        std::exit(0);
      },
      ::testing::ExitedWithCode(3), "");
}

}  // namespace
}  // namespace kestrel::platform
