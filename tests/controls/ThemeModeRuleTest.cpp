#include <gtest/gtest.h>

#include "controls/VnThemeModeRule.h"
#include "foundation/VnApplication.h"

namespace kestrel {
namespace {

TEST(ThemeModeRule, ResolvesEveryRequestAgainstRendererAndPlatformState) {
  struct Row {
    TVnThemeMode requested;
    bool native, themes;
    TVnThemeMode expected;
  };
  const Row table[] = {
      {ttmNone, false, false, ttmNone},         {ttmNone, false, true, ttmNone},
      {ttmNone, true, false, ttmNone},          {ttmNone, true, true, ttmNone},
      {ttmPlatform, false, false, ttmNone},     {ttmPlatform, false, true, ttmPlatform},
      {ttmPlatform, true, false, ttmNone},      {ttmPlatform, true, true, ttmPlatform},
      {ttmNative, false, false, ttmNone},       {ttmNative, false, true, ttmPlatform},
      {ttmNative, true, false, ttmNative},      {ttmNative, true, true, ttmNative},
  };
  for (const Row& row : table)
    EXPECT_EQ(ResolveThemeMode(row.requested, row.native, row.themes), row.expected)
        << int(row.requested) << ' ' << row.native << ' ' << row.themes;
}

TEST(ThemeModeRule, AControlFollowingTheApplicationIgnoresItsOwnMode) {
  TVnApplication* app = VnApplication();
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(RequestedThemeMode(ttmNone, true), ttmPlatform);
  app->SetThemeGlobalMode(ttmNone);
  EXPECT_EQ(RequestedThemeMode(ttmPlatform, true), ttmNone);
  EXPECT_EQ(RequestedThemeMode(ttmNative, false), ttmNative);
  app->SetThemeGlobalMode(ttmPlatform);
}

}  // namespace
}  // namespace kestrel
