// The real program under a virtual X server: the button is pressed with real input, the
// installer comes from the loopback server (acting as the HTTP proxy, as a system proxy would),
// the desktop opener on PATH receives the file, and the program exits with 0. Run through the
// app_end_to_end test, which names the program in KESTREL_APP_EXE.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

#include "tests/app/DialogFixture.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

// Starts the program, finds its window by title, clicks the button's centre (the frame's width
// taken from the window's size, its client area being 445 x 592) and records the exit status.
// With a third argument it waits until that file appears (the server's sign that the request
// has arrived) and then closes the window with Alt+F4.
constexpr char kDriver[] = R"sh(#!/bin/sh
"$1" & pid=$!
wid=$(xdotool search --sync --onlyvisible --name '^Download assistant - Corvane full version$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
border=$(( (WIDTH - 445) / 2 ))
xdotool mousemove --window "$wid" $(( border + 126 + 96 )) $(( HEIGHT - border - 592 + 461 + 19 )) click 1
if [ -n "$3" ]; then
  while [ ! -e "$3" ]; do sleep 0.05; done
  xdotool key --window "$wid" alt+F4
fi
wait $pid
echo $? > "$2"
)sh";

// Everything one run needs: the folders, the fake opener first on PATH, the driver, and the
// environment the program starts in.
class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::getenv("KESTREL_APP_EXE");
    if (!program_) GTEST_SKIP() << "run as the app_end_to_end test";
    fs::create_directories(dir_ / "temp");
    fs::create_directories(dir_ / "bin");
    WriteFile(dir_ / "bin" / "xdg-open", FakeOpenerScript(dir_.Path()), true);
    WriteFile(dir_ / "drive", kDriver, true);
  }

  // Runs the program against `server` to its end; the exit status, or "" when it did not end.
  std::string Run(const LoopbackServer& server, const std::string& closeWhen = "") {
    ScopedEnv path("PATH", (dir_ / "bin").string() + ":" + std::getenv("PATH"));
    ScopedEnv temp("TEMP", (dir_ / "temp").string());
    ScopedEnv proxy("http_proxy", "http://127.0.0.1:" + std::to_string(server.Port()));
    ScopedEnv noProxy("no_proxy", std::nullopt);
    ScopedEnv opener("KESTREL_OPEN_COMMAND", std::nullopt);
    ScopedEnv backend("KESTREL_BACKEND", "sdl");
    ScopedEnv language("LANGUAGE", "en_US");
    const std::string command = "timeout 60 xvfb-run -a '" + (dir_ / "drive").string() + "' '" + program_ + "' '" +
                                (dir_ / "status").string() + "' '" + closeWhen + "' >'" +
                                (dir_ / "log").string() + "' 2>&1";
    const auto start = std::chrono::steady_clock::now();
    std::system(command.c_str());
    took_ = std::chrono::steady_clock::now() - start;
    return ReadFile(dir_ / "status");
  }

  const char* program_ = nullptr;
  TempDir dir_;
  std::chrono::steady_clock::duration took_{};
};

TEST_F(EndToEnd, ButtonDownloadsTheInstallerOpensItAndExitsWithZero) {
  const std::string installer = Payload(3 * 1024 * 1024 + 17);
  LoopbackServer server([&](const HttpRequest& request) {
    HttpResponse r;
    if (request.target == InstallerURL()) {
      r.body = installer;
    } else {
      r.status = 404;
      r.reason = "Not Found";
    }
    return r;
  });
  EXPECT_EQ(Run(server), "0\n") << ReadFile(dir_ / "log");
  const std::string target = (dir_ / "temp" / "CorvaneSetup.exe").string();
  EXPECT_EQ(ReadFile(dir_ / "opened-arg"), target);
  for (int i = 0; i < 1000 && !fs::exists(dir_ / "opened"); ++i) ::usleep(10000);
  EXPECT_TRUE(ReadFile(dir_ / "opened") == installer) << "the opener did not get the installer's bytes";
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, InstallerURL());
}

TEST_F(EndToEnd, ClosingTheWindowDuringTheDownloadEndsTheProgram) {
  const fs::path arrived = dir_ / "arrived";
  LoopbackServer server([&](const HttpRequest&) {
    std::ofstream{arrived};
    HttpResponse r;
    r.body = Payload(1 << 20);
    r.stallAfter = 4096;  // until the server stops
    return r;
  });
  EXPECT_EQ(Run(server, arrived.string()), "0\n") << ReadFile(dir_ / "log");
  // Ended by the abort, long before the stalled transfer's own timeout.
  EXPECT_LT(took_, std::chrono::seconds(15));
  EXPECT_FALSE(fs::exists(dir_ / "opened-arg"));
  EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace kestrel::testing
