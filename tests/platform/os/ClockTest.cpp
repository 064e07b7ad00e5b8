#include <gtest/gtest.h>

#include <ctime>

#include "platform/os/OsServices.h"  // all headers together must not clash

using namespace kestrel::platform;

namespace {

TEST(ClockTest, PerformanceCounterMeasuresSleepsInNanoseconds) {
  LARGE_INTEGER frequency, before, after;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 1000000000);
  ASSERT_TRUE(QueryPerformanceCounter(&before));
  Sleep(30);
  ASSERT_TRUE(QueryPerformanceCounter(&after));
  double seconds = static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart);
  EXPECT_GE(seconds, 0.030);
  EXPECT_LT(seconds, 5.0);
  EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

TEST(ClockTest, SystemTimeIsUtcCalendarTime) {
  SYSTEMTIME time;
  GetSystemTime(&time);
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  EXPECT_EQ(time.wYear, parts.tm_year + 1900);
  EXPECT_EQ(time.wMonth, parts.tm_mon + 1);
  EXPECT_GE(time.wDay, 1);
  EXPECT_LE(time.wDay, 31);
  EXPECT_LT(time.wMilliseconds, 1000);
  EXPECT_LT(time.wDayOfWeek, 7);
}

}  // namespace
