#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/InstanceProbe.h"
#include "foundation/VnApplication.h"
#include "platform/core/Unicode.h"
// The os tests' spawner (the test executable re-run with a role); its own roles stay idle here.
#include "tests/platform/os/ChildProcess.cpp"

namespace kestrel {
namespace {

using testing::ChildProcess;

platform::HWND WindowFromText(const std::string& hex) {
  return reinterpret_cast<platform::HWND>(static_cast<std::uintptr_t>(std::strtoull(hex.c_str(), nullptr, 16)));
}

// Child role: probe under ARG1 with ARG2 (hex) as the application window, say what was found
// ("first", or "second <previous window>") and keep running until killed.
[[gnu::constructor(101)]] void RunProbeRole() {
  const char* role = std::getenv("KESTREL_OS_CHILD_ROLE");
  if (!role || std::strcmp(role, "vn-instance-probe") != 0) return;
  const char* name = std::getenv("KESTREL_OS_CHILD_ARG1");
  const char* window = std::getenv("KESTREL_OS_CHILD_ARG2");
  TVnInstanceProbe::Handles own;
  own.appWindow = WindowFromText(window ? window : "0");
  TVnInstanceProbe probe(Utf8ToUtf16(name ? name : ""), own);
  if (probe.IsPrevRunning())
    std::printf("second %llx\n", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(probe.PreviousAppWin())));
  else
    std::printf("first\n");
  std::fflush(stdout);
  for (;;) ::pause();
}

String UniqueName(const char* stem) {
  return Utf8ToUtf16(std::string(stem) + "-" + std::to_string(::getpid()) + ".EXE");
}

TEST(InstanceProbe, NameIsTheUpperCasedFileNamePart) {
  EXPECT_EQ(TVnInstanceProbe::NameForExecutable(u"/opt/tools/Kestrel-Setup"), u"KESTREL-SETUP");
  EXPECT_EQ(TVnInstanceProbe::NameForExecutable(u"C:\\Program Files\\dl.exe"), u"DL.EXE");
  EXPECT_EQ(TVnInstanceProbe::NameForExecutable(u"plain"), u"PLAIN");
  TVnInstanceProbe nameless(String(), {});
  EXPECT_FALSE(nameless.IsPrevRunning());
  EXPECT_EQ(nameless.PreviousAppWin(), nullptr);
}

// A 64-bit window value shows that the block keeps handles whole.
constexpr const char* kFirstWindow = "1234000056780000";
constexpr const char* kLaterWindow = "9abc000000420000";

TEST(InstanceProbe, ASecondProcessFindsTheFirstAndAKilledOneIsGone) {
  const String name = UniqueName("PROBE");
  const std::string name8 = Utf16ToUtf8(name);
  ChildProcess first("vn-instance-probe", {name8, kFirstWindow});
  ASSERT_EQ(first.ReadLine(), "first");

  auto second = std::make_unique<TVnInstanceProbe>(name, TVnInstanceProbe::Handles{});
  EXPECT_TRUE(second->IsPrevRunning());
  EXPECT_EQ(second->PreviousAppWin(), WindowFromText(kFirstWindow));
  ChildProcess third("vn-instance-probe", {name8, kLaterWindow});
  EXPECT_EQ(third.ReadLine(), std::string("second ") + kFirstWindow);
  third.Kill();

  first.Kill();  // SIGKILL: none of its clean-up runs
  // The block is still open in this process, yet the dead instance no longer counts, and the new
  // first instance replaces its stale window in the block.
  ChildProcess after("vn-instance-probe", {name8, kLaterWindow});
  ASSERT_EQ(after.ReadLine(), "first");
  TVnInstanceProbe probe(name, {});
  EXPECT_TRUE(probe.IsPrevRunning());
  EXPECT_EQ(probe.PreviousAppWin(), WindowFromText(kLaterWindow));

  after.Kill();
  second.reset();
  ChildProcess last("vn-instance-probe", {name8, kFirstWindow});
  EXPECT_EQ(last.ReadLine(), "first");
}

TEST(InstanceProbe, TheServicesObjectProbesUnderItsExecutable) {
  TVnApplication first(nullptr);
  TVnApplication second(nullptr);
  EXPECT_TRUE(second.IsPrevRunning());  // `first` (or a parallel run of these tests) holds the name
}

}  // namespace
}  // namespace kestrel
