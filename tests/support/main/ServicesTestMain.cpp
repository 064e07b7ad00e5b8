// main() of the test programs whose libraries consult the services object: it is installed
// before the first test, as the programs do.
#include <gtest/gtest.h>

#include "foundation/VnApplication.h"
#include "tests/support/TestEnvironment.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  kestrel::testing::PrepareProcessEnvironment();
  kestrel::testing::ResetProcessStateAfterEachTest();
  kestrel::InstallVnApplication();
  return RUN_ALL_TESTS();
}
