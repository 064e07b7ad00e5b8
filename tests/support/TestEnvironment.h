#pragma once
// Process-wide preparation every test executable gets before its first test.

#include <filesystem>
#include <string>

namespace kestrel::testing {

// Points the per-user stores (settings, registry stand-in, runtime files) at a private temporary
// folder, so tests never touch the developer's own configuration.
void PrepareProcessEnvironment();

// Every test starts from the state the first one found: after each test the process-wide
// objects return to their fresh state (ResetProcessWideState).
void ResetProcessStateAfterEachTest();

// A fresh empty directory, removed when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace kestrel::testing
