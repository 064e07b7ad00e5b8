#include "tests/support/TestEnvironment.h"

#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/core/ProcessWide.h"

namespace kestrel::testing {

namespace {
std::filesystem::path MakeTempDirectory(const char* prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
  return pattern;
}
}  // namespace

void PrepareProcessEnvironment() {
  static const std::filesystem::path home = MakeTempDirectory("kestrel-test-home-");
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
  std::filesystem::create_directories(home / "config");
  std::filesystem::create_directories(home / "runtime");
}

namespace {
class ResetAfterEachTest : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override { platform::ResetProcessWideState(); }
};
}  // namespace

void ResetProcessStateAfterEachTest() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new ResetAfterEachTest);
}

TempDir::TempDir() : path_(MakeTempDirectory("kestrel-test-")) {}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace kestrel::testing
