#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/core/ScopeGuard.h"

namespace kestrel::platform {
namespace {

void Work(int& runs, bool fail, bool dismiss) {
  ScopeGuard guard([&runs] { ++runs; });
  if (fail) throw std::runtime_error("work failed");
  if (dismiss) guard.Dismiss();
}

TEST(ScopeGuard, RunsOnEveryWayOutUnlessDismissed) {
  int runs = 0;
  Work(runs, false, false);
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(Work(runs, true, false), std::runtime_error);
  EXPECT_EQ(runs, 2) << "also when the work throws";
  Work(runs, false, true);
  EXPECT_EQ(runs, 2) << "dismissed after success";
}

TEST(ScopeGuard, ACleanupFailureReachesTheCallerOnlyWhenNothingElseFailed) {
  auto failingCleanup = [] { throw std::logic_error("cleanup failed"); };
  EXPECT_THROW({ ScopeGuard guard(failingCleanup); }, std::logic_error);
  try {
    ScopeGuard guard(failingCleanup);
    throw std::runtime_error("work failed");
  } catch (const std::runtime_error&) {
    SUCCEED() << "the first failure is the one seen";
  } catch (...) {
    ADD_FAILURE() << "the cleanup's exception replaced the work's";
  }
}

}  // namespace
}  // namespace kestrel::platform
