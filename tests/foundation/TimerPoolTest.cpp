#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/TimerPool.h"
#include "framework/Application.h"
#include "framework/Exceptions.h"
#include "platform/window/HeadlessBackend.h"

namespace kestrel {
namespace {

void Advance(platform::DWORD ms) { platform::HeadlessBackend::Current()->Advance(ms); }

// A run-time pool with a 50 ms base tick, freed at the end of the test.
struct Pool {
  TVnTimerPool* pool = TVnTimerPool::CreateRunTime(nullptr, 50);
  ~Pool() { delete pool; }
  TVnTimerPool* operator->() const { return pool; }
};

// Routes exceptions from timer handlers into a list instead of a message box.
struct CapturedExceptions {
  std::vector<std::string> messages;
  CapturedExceptions() {
    Application()->OnException = [this](TObject*, const Exception& e) { messages.push_back(e.what()); };
  }
  ~CapturedExceptions() { Application()->OnException = nullptr; }
};

TEST(TimerPool, MixedIntervalsFireInListOrderOnTheirTicks) {
  Pool pool;
  std::string log;
  pool->OnTimer = [&](TObject* sender, platform::WORD ident, int counter) {
    EXPECT_EQ(sender, pool.pool);
    log += std::to_string(ident) + ":" + std::to_string(counter) + " ";
  };
  pool->AddTimer(3, 150, nullptr);
  pool->AddTimer(1, 50, nullptr);
  int fastCalls = 0;
  pool->AddTimer(2, 100, [&](TObject* sender) {
    EXPECT_EQ(sender, pool.pool);
    ++fastCalls;
  });
  EXPECT_EQ(pool->Items(2)->HitValue(), 2);
  Advance(170);  // three ticks
  EXPECT_EQ(log, "1:1 1:2 3:1 1:3 ");
  EXPECT_EQ(fastCalls, 1);
  Advance(150);  // ticks 4-6
  EXPECT_EQ(pool->Items(0)->Counter(), 2);
  EXPECT_EQ(pool->Items(1)->Counter(), 6);
  EXPECT_EQ(fastCalls, 3);
  EXPECT_EQ(pool->Items(2)->Counter(), 3);
}

TEST(TimerPool, RejectsDuplicatesAndIncompatibleIntervalsWithoutAdding) {
  Pool pool;
  pool->AddTimer(7, 100, nullptr);
  try {
    pool->AddTimer(7, 50, nullptr);
    FAIL() << "duplicate accepted";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"Listenindex überschreitet das Maximum (%d)");
  }
  try {
    pool->AddTimer(8, 120, nullptr);
    FAIL() << "120 accepted on a 50 ms base";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Interval not compatible with MinInterval property!");
  }
  EXPECT_THROW(pool->AddTimer(9, 0, nullptr), Exception);
  EXPECT_EQ(pool->Count(), 1);

  TVnTimerItem* item = pool->Items(0);
  item->SetInterval(130);  // not a multiple: ignored
  EXPECT_EQ(item->Interval(), 100);
  item->SetInterval(0);  // the base interval
  EXPECT_EQ(item->Interval(), 50);
  EXPECT_EQ(item->HitValue(), 1);

  std::vector<TVnTimerItem*> list;
  try {
    TVnTimerItem orphan(nullptr, &list, 1);
    FAIL() << "item without a pool";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), u"TVnTimerItem: Invalid Owner or List");
  }
}

TEST(TimerPool, CallCountLimitsFiringAndAnExhaustedPoolGoesQuiet) {
  Pool pool;
  int calls = 0;
  pool->AddTimerExt(1, 50, 3, true, [&](TObject*) { ++calls; });
  Advance(520);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(pool->Items(0)->Counter(), 3);
  EXPECT_FALSE(pool->Items(0)->Enabled());
  EXPECT_FALSE(pool->Active());
  const auto wakeUps = pool->WakeUps();
  Advance(1000);
  EXPECT_EQ(pool->WakeUps(), wakeUps);

  // Enabling again restarts the base tick and allows three more calls.
  pool->Items(0)->SetEnabled(true);
  EXPECT_TRUE(pool->Active());
  Advance(520);
  EXPECT_EQ(calls, 6);

  // A call count of 0 disables and keeps the item from being enabled.
  pool->Items(0)->SetCallCount(0);
  pool->Items(0)->SetEnabled(true);
  EXPECT_FALSE(pool->Items(0)->Enabled());
  pool->Items(0)->SetCallCount(-5);
  EXPECT_EQ(pool->Items(0)->CallCount(), -1);

  // Created disabled: nothing runs at all.
  pool->AddTimerExt(2, 50, -1, false, [&](TObject*) { ++calls; });
  EXPECT_FALSE(pool->Active());
}

TEST(TimerPool, LoweringTheCallCountBelowTheCounterStillStopsTheItem) {
  Pool pool;
  int calls = 0;
  pool->AddTimer(1, 50, [&](TObject*) { ++calls; });
  Advance(270);
  ASSERT_EQ(calls, 5);
  pool->Items(0)->SetCallCount(2);
  Advance(60);
  EXPECT_EQ(calls, 6);
  EXPECT_FALSE(pool->Items(0)->Enabled());
}

TEST(TimerPool, HandlersMayRemoveAndAddTimersDuringATick) {
  Pool pool;
  std::vector<int> fired;
  pool->AddTimer(1, 50, [&](TObject*) {
    fired.push_back(1);
    pool->RemoveTimer(2);  // later in the list: must not fire any more
    pool->RemoveTimer(1);  // itself
    pool->AddTimer(4, 50, [&](TObject*) { fired.push_back(4); });
  });
  pool->AddTimer(2, 50, [&](TObject*) { fired.push_back(2); });
  pool->AddTimer(3, 50, [&](TObject*) { fired.push_back(3); });
  Advance(60);
  EXPECT_EQ(fired, (std::vector<int>{1, 3}));
  ASSERT_EQ(pool->Count(), 2);
  EXPECT_EQ(pool->IndexOf(3), 0);
  EXPECT_EQ(pool->IndexOf(4), 1);
  Advance(50);
  EXPECT_EQ(fired, (std::vector<int>{1, 3, 3, 4}));
  pool->RemoveTimer(99);  // unknown: ignored
  EXPECT_EQ(pool->Count(), 2);
}

TEST(TimerPool, AnExceptionInOneHandlerNeitherStopsTheOthersNorLaterTicks) {
  CapturedExceptions captured;
  Pool pool;
  int failing = 0, healthy = 0;
  pool->AddTimer(1, 50, [&](TObject*) {
    ++failing;
    throw Exception("handler failed");
  });
  pool->AddTimer(2, 50, [&](TObject*) { ++healthy; });
  Advance(170);
  EXPECT_EQ(failing, 3);
  EXPECT_EQ(healthy, 3);
  EXPECT_EQ(captured.messages, (std::vector<std::string>(3, "handler failed")));
}

TEST(TimerPool, RestartsCountingFromTheFirstTickAfterBecomingEmpty) {
  Pool pool;
  pool->AddTimer(1, 50, nullptr);
  Advance(120);
  EXPECT_TRUE(pool->Active());
  pool->RemoveTimer(1);
  EXPECT_FALSE(pool->Active());
  EXPECT_EQ(pool->Count(), 0);

  std::vector<int> fired;
  pool->AddTimer(2, 100, [&](TObject*) { fired.push_back(2); });
  pool->AddTimer(1, 50, [&](TObject*) { fired.push_back(1); });
  Advance(60);
  EXPECT_EQ(fired, (std::vector<int>{1}));
  Advance(50);
  EXPECT_EQ(fired, (std::vector<int>{1, 2, 1}));

  pool->ClearTimers();
  EXPECT_EQ(pool->Count(), 0);
  EXPECT_FALSE(pool->Active());
}

TEST(TimerPool, AnIdlePoolCausesNoWakeUps) {
  Pool pool;
  Advance(10000);
  EXPECT_EQ(pool->WakeUps(), 0u);

  pool->AddTimer(1, 50, nullptr);
  Advance(1000);
  EXPECT_EQ(pool->WakeUps(), 20u);
  pool->Items(0)->SetEnabled(false);  // nothing enabled: the base tick stops
  EXPECT_FALSE(pool->Active());
  Advance(10000);
  EXPECT_EQ(pool->WakeUps(), 20u);
}

TEST(TimerPool, ABaseIntervalOfZeroCountsAsOneMillisecond) {
  TVnTimerPool* pool = TVnTimerPool::CreateRunTime(nullptr, 0);
  EXPECT_EQ(pool->MinInterval(), 1);
  int calls = 0;
  pool->AddTimer(1, 5, [&](TObject*) { ++calls; });
  EXPECT_EQ(pool->Items(0)->HitValue(), 5);
  // The window timer never ticks faster than every 10 ms, so five ticks take 50 ms.
  Advance(105);
  EXPECT_EQ(calls, 2);
  // MinInterval is fixed at run time.
  pool->SetMinInterval(50);
  EXPECT_EQ(pool->MinInterval(), 1);
  delete pool;
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// The framework's application object lives on between tests; free it once they have all run.
class ApplicationCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    if (ApplicationExists()) delete Application();
  }
};
const auto* const kCleanup = ::testing::AddGlobalTestEnvironment(new ApplicationCleanup);

}  // namespace
}  // namespace kestrel
