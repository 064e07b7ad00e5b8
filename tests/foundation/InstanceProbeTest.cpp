#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "foundation/InstanceProbe.h"
#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "platform/core/Unicode.h"
#include "platform/window/HeadlessBackend.h"
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
    std::printf("second %llx\n",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(probe.PreviousAppWin())));
  else std::printf("first\n");
  std::fflush(stdout);
  for (;;) ::pause();
}

std::string HexOf(const void* handle) {
  char text[32];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(handle)));
  return text;
}

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Says "freed" when its owner, the services object, frees it.
class TFreedMarker : public TComponent {
 public:
  using TComponent::TComponent;
  ~TFreedMarker() override { Say("freed"); }
};

// Child role: the services object as a program sees it at its end. ARG1 "exit" returns through
// the normal end of the program, "halt" through Halt. A timer is running, so the pool's window
// has to go too.
[[gnu::constructor(102)]] void RunServicesEndRole() {
  const char* role = std::getenv("KESTREL_OS_CHILD_ROLE");
  if (!role || std::strcmp(role, "vn-services-end") != 0) return;
  const char* mode = std::getenv("KESTREL_OS_CHILD_ARG1");
  // This runs before the standard streams are set up; Halt flushes them.
  static std::ios_base::Init streams;
  // Registered before the object exists, so it runs after the object's finalisation.
  std::atexit([] { Say(VnApplication() ? "still there" : "gone"); });
  TVnApplication* services = InstallVnApplication();
  new TFreedMarker(services);
  Application();
  static int ticks = 0;
  services->AddTimer(50, [](TObject*) { ++ticks; });
  platform::HeadlessBackend::Current()->Advance(120);
  Say("ticks " + std::to_string(ticks));
  if (mode && std::strcmp(mode, "halt") == 0) Halt(0);
  if (mode && std::strcmp(mode, "worker-halt") == 0) std::thread([] { Halt(0); }).join();
  std::exit(0);
}

// Child role: runs the program at ARG1 in the role ARG2, in this process (so its output and its
// killing stay with the caller).
[[gnu::constructor(101)]] void RunExecAsRole() {
  const char* role = std::getenv("KESTREL_OS_CHILD_ROLE");
  if (!role || std::strcmp(role, "vn-exec-as") != 0) return;
  const char* path = std::getenv("KESTREL_OS_CHILD_ARG1");
  const char* next = std::getenv("KESTREL_OS_CHILD_ARG2");
  if (!path || !next) ::_exit(126);
  ::setenv("KESTREL_OS_CHILD_ROLE", next, 1);
  char* const argv[] = {const_cast<char*>(path), nullptr};
  ::execv(path, argv);
  ::_exit(127);
}

// Child role: a program's services object probing at start-up. The first instance then makes
// its GUI application, says "first <its window>" and runs until killed; a later one says
// "second <the window it found>".
[[gnu::constructor(102)]] void RunServicesProbeRole() {
  const char* role = std::getenv("KESTREL_OS_CHILD_ROLE");
  if (!role || std::strcmp(role, "vn-services-probe") != 0) return;
  TVnApplication* services = InstallVnApplication();
  if (services->IsPrevRunning()) {
    Say("second " + HexOf(services->PreviouseAppWin()));
    ::_exit(0);
  }
  Say("first " + HexOf(Application()->Handle()));
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

// This test executable under a name of its own (a hard link), so that other runs of these tests
// never share the services object's probe name with the programs a test starts.
class TRenamedExecutable {
 public:
  TRenamedExecutable() {
    const auto self = std::filesystem::read_symlink("/proc/self/exe");
    path_ = self.parent_path() / ("svc-probe-" + std::to_string(::getpid()));
    std::error_code error;
    std::filesystem::remove(path_, error);
    std::filesystem::create_hard_link(self, path_, error);
    if (error) std::filesystem::copy_file(self, path_, error);
  }
  ~TRenamedExecutable() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

TEST(InstanceProbe, ASecondProgramFindsTheFirstProgramsApplicationWindow) {
  // The first program made its services object while starting, before its GUI application
  // existed; the application window is published once it does.
  TRenamedExecutable program;
  ChildProcess first("vn-exec-as", {program.Path(), "vn-services-probe"});
  const std::string line = first.ReadLine();
  ASSERT_EQ(line.rfind("first ", 0), 0u) << line;
  const std::string window = line.substr(6);
  EXPECT_NE(window, "0");
  ChildProcess second("vn-exec-as", {program.Path(), "vn-services-probe"});
  EXPECT_EQ(second.ReadLine(), "second " + window);
  first.Kill();  // SIGKILL: the next program is the first again
  ChildProcess after("vn-exec-as", {program.Path(), "vn-services-probe"});
  EXPECT_EQ(after.ReadLine().rfind("first ", 0), 0u);
}

TEST(InstanceProbe, TheServicesObjectGoesAtTheProgramsEndAndWithHalt) {
  for (const char* mode : {"exit", "halt"}) {
    SCOPED_TRACE(mode);
    ChildProcess child("vn-services-end", {mode});
    EXPECT_EQ(child.ReadLine(), "ticks 2");
    EXPECT_EQ(child.ReadLine(), "freed");
    if (std::strcmp(mode, "exit") == 0) {
      EXPECT_EQ(child.ReadLine(), "gone");
    }
    EXPECT_EQ(child.Wait(), 0);
  }
  // Halt from a worker ends the process without freeing what the GUI thread may be using.
  ChildProcess worker("vn-services-end", {"worker-halt"});
  EXPECT_EQ(worker.ReadLine(), "ticks 2");
  EXPECT_EQ(worker.ReadLine(), "");
  EXPECT_EQ(worker.Wait(), 0);
}

TEST(InstanceProbe, TheServicesObjectProbesUnderItsExecutable) {
  TVnApplication first(nullptr);
  TVnApplication second(nullptr);
  EXPECT_TRUE(second.IsPrevRunning());  // `first` (or a parallel run of these tests) holds the name
}

}  // namespace
}  // namespace kestrel
