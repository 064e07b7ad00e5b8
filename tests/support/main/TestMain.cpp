#include <gtest/gtest.h>

#include "tests/support/TestEnvironment.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  kestrel::testing::PrepareProcessEnvironment();
  kestrel::testing::ResetProcessStateAfterEachTest();
  return RUN_ALL_TESTS();
}
