#pragma once
// Shared set-up for the dialog's tests: environment overrides put back afterwards, a dialog per
// test, the loopback server reached as the HTTP proxy, and message boxes answered and recorded.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/UnitKestrel.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/loopback/LoopbackServer.h"

namespace kestrel::testing {

// Sets (or, with nullopt, removes) an environment variable until the object dies.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value);
  ~ScopedEnv();

 private:
  std::string name_;
  std::optional<std::string> old_;
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A dialog as the program makes it (design, then the creation handler); freed after the test.
  TForm1* MakeDialog();
  void UseProxy(const LoopbackServer& server);
  // Answers every message box with its first button, recording caption and text.
  void AnswerMessageBoxes();
  std::string Target() const { return (temp_ / "CorvaneSetup.exe").string(); }

  TempDir temp_;
  std::vector<std::pair<String, String>> boxes_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
  std::vector<TForm1*> forms_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text, bool executable = false);
// A desktop opener that writes its argument to <dir>/opened-arg and a copy of the file to
// <dir>/opened (renamed into place once complete: it may outlive the program).
std::string FakeOpenerScript(const std::filesystem::path& dir);
// Installer-like bytes, every byte value included.
std::string Payload(std::size_t size);

}  // namespace kestrel::testing
