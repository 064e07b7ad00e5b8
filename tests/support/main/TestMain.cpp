#include <gtest/gtest.h>

#include "tests/support/TestEnvironment.h"
#ifdef KESTREL_TEST_WATCH_THEME
#include "tests/support/ThemeWatch.h"
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  kestrel::testing::PrepareProcessEnvironment();
#ifdef KESTREL_TEST_WATCH_THEME
  kestrel::testing::InstallThemeWatch();
#endif
  return RUN_ALL_TESTS();
}
