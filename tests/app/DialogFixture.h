#pragma once
// Shared set-up for the dialog's tests: a dialog made and freed per test, the loopback server
// reached as the HTTP proxy (as the real program reaches it), environment overrides that are put
// back afterwards, and message boxes answered and recorded.

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
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

struct BoxSeen {
  String caption, text;
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A dialog as the program makes it (design, then the creation handler).
  TForm1* MakeDialog();
  // Routes the component's requests through `server` as their proxy.
  void UseProxy(const LoopbackServer& server);
  // Answers every message box with its first button, recording it in boxes_.
  void AnswerMessageBoxes();

  std::string Target() const { return (temp_ / "CorvaneSetup.exe").string(); }

  TempDir temp_;
  std::vector<BoxSeen> boxes_;
  std::unique_ptr<ScopedEnv> tempVar_, proxy_, noProxy_, language_;

 private:
  struct FormDeleter {
    void operator()(TForm1* form) const;
  };
  std::vector<std::unique_ptr<TForm1, FormDeleter>> forms_;
};

std::string ReadFile(const std::filesystem::path& path);
// Writes `text` to `path`, executable when `executable`.
void WriteFile(const std::filesystem::path& path, const std::string& text, bool executable = false);

// A stand-in desktop opener: writes the path it is given to <dir>/opened-arg and a copy of the
// file to <dir>/opened (renamed into place once complete, as it may outlive the program).
std::string FakeOpenerScript(const std::filesystem::path& dir);

// An installer-like payload of `size` bytes with every byte value (zeros included).
std::string Payload(std::size_t size);

}  // namespace kestrel::testing
