#pragma once
// A test that ends with the theme state changed fails, and the state is put back, so that no
// test's look depends on the tests that ran before it (in any order, or filtered).

#include <gtest/gtest.h>

#include "tests/support/ThemeScope.h"

namespace kestrel::testing {

class ThemeWatch : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override { before_ = CaptureThemeState(); }
  // Listeners hear the end of a test before the result printer, so the failure is reported as
  // the test's own.
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (CaptureThemeState() == before_) return;
    RestoreThemeState(before_);
    ADD_FAILURE() << "the test left the theme state changed (the themed look, the application's "
                     "theme properties or the services object's theme switches)";
  }

 private:
  ThemeState before_;
};

// Call after InitGoogleTest.
inline void InstallThemeWatch() { ::testing::UnitTest::GetInstance()->listeners().Append(new ThemeWatch); }

}  // namespace kestrel::testing
