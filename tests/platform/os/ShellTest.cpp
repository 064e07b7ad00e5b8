#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Unicode.h"
#include "platform/os/Shell.h"
#include "tests/support/TestEnvironment.h"

using namespace kestrel::platform;
namespace fs = std::filesystem;

namespace {

constexpr int kShowCommand = 5;  // SW_SHOW

// Points ShellExecute at a script that records its arguments, process and session ids and
// working directory.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    script_ = dir_ / "opener.sh";
    log_ = dir_ / "opener.log";
    std::ofstream(script_) << "#!/bin/sh\n"
                              "{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done\n"
                              "  echo \"$$\"; cut -d' ' -f6 /proc/$$/stat; pwd; } > \"$OPENER_LOG.tmp\"\n"
                              "mv \"$OPENER_LOG.tmp\" \"$OPENER_LOG\"\n";
    fs::permissions(script_, fs::perms::owner_all);
    ::setenv("KESTREL_OPEN_COMMAND", script_.c_str(), 1);
    ::setenv("OPENER_LOG", log_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("KESTREL_OPEN_COMMAND");
    ::unsetenv("OPENER_LOG");
  }

  // The recorded lines, waiting for the opener to finish writing them.
  std::vector<std::string> Recorded() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(log_) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(log_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  static UINT_PTR Code(HINSTANCE result) { return reinterpret_cast<UINT_PTR>(result); }

  kestrel::testing::TempDir dir_;
  fs::path script_, log_;
};

TEST_F(ShellTest, OpenPassesTheFileAsOneArgumentToADetachedProcess) {
  fs::path file = dir_ / "a b'c\";$(false) *.txt";
  std::ofstream(file) << "x";
  std::u16string wideFile = kestrel::Utf8ToUtf16(file.string());
  std::u16string workDir = kestrel::Utf8ToUtf16(dir_.Path().string());
  EXPECT_GT(Code(ShellExecuteW(nullptr, u"open", wideFile.c_str(), u"", workDir.c_str(), kShowCommand)), 32u);

  auto lines = Recorded();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "1");
  EXPECT_EQ(lines[1], file.string());  // no shell saw it: quotes, $() and * arrive verbatim
  EXPECT_EQ(lines[2], lines[3]) << "the opener leads a session of its own";
  EXPECT_EQ(lines[4], dir_.Path().string());

  // Our reaper collects it: the process disappears instead of lingering as a zombie.
  fs::path proc = "/proc/" + lines[2];
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (fs::exists(proc) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(fs::exists(proc));
}

TEST_F(ShellTest, UrlsGoThroughAndTheNarrowFormTakesUtf8) {
  EXPECT_GT(Code(ShellExecuteA(nullptr, "open", "https://example.com/ä?x=1&y=2", "", "", kShowCommand)), 32u);
  auto lines = Recorded();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "https://example.com/ä?x=1&y=2");
}

TEST_F(ShellTest, FailuresAreErrorCodesNotCrashes) {
  std::u16string missing = kestrel::Utf8ToUtf16((dir_ / "missing.exe").string());
  EXPECT_EQ(Code(ShellExecuteW(nullptr, u"open", missing.c_str(), nullptr, nullptr, kShowCommand)), SE_ERR_FNF);
  EXPECT_EQ(Code(ShellExecuteW(nullptr, u"open", nullptr, nullptr, nullptr, kShowCommand)), SE_ERR_FNF);
  std::u16string file = kestrel::Utf8ToUtf16(script_.string());
  EXPECT_EQ(Code(ShellExecuteW(nullptr, u"print", file.c_str(), nullptr, nullptr, kShowCommand)), SE_ERR_NOASSOC);

  ::setenv("KESTREL_OPEN_COMMAND", (dir_ / "no-such-opener").c_str(), 1);
  UINT_PTR code = Code(ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, nullptr, kShowCommand));
  EXPECT_LE(code, 32u);
  EXPECT_EQ(code, SE_ERR_NOASSOC);
  EXPECT_FALSE(fs::exists(log_));
}

}  // namespace
