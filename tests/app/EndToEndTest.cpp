// The real program under a virtual X server: the button is pressed with real input, the
// installer comes from the loopback server (acting as the HTTP proxy, as a system proxy would),
// the desktop opener on PATH receives the file, and the program exits with 0. Run through the
// app_end_to_end test, which names the program in KESTREL_APP_EXE.

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/app/DialogFixture.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteScript(const fs::path& path, const std::string& text) {
  std::ofstream(path) << text;
  fs::permissions(path, fs::perms::owner_all);
}

bool Available(const char* program) {
  return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// Starts the program, finds its window by title, clicks the button's centre (the frame's width
// taken from the window's size, its client area being 445 x 592) and records the exit status.
constexpr char kDriver[] = R"sh(#!/bin/sh
"$1" & pid=$!
wid=$(xdotool search --sync --onlyvisible --name '^Download assistant - Corvane full version$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
border=$(( (WIDTH - 445) / 2 ))
xdotool mousemove --window "$wid" $(( border + 126 + 96 )) $(( HEIGHT - border - 592 + 461 + 19 )) click 1
wait $pid
echo $? > "$2"
)sh";

TEST(EndToEnd, ButtonDownloadsTheInstallerOpensItAndExitsWithZero) {
  const char* program = std::getenv("KESTREL_APP_EXE");
  if (!program) GTEST_SKIP() << "run as the app_end_to_end test";
  for (const char* tool : {"xvfb-run", "xdotool"})
    if (!Available(tool)) GTEST_FAIL() << tool << " is missing (scripts/bootstrap installs it)";

  TempDir dir;
  fs::create_directories(dir / "temp");
  fs::create_directories(dir / "bin");
  // The opener outlives the program: it copies first and renames the copy into place when done.
  const std::string opened = (dir / "opened").string();
  WriteScript(dir / "bin" / "xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + (dir / "opened-arg").string() +
                                            "'\ncp \"$1\" '" + opened + ".part' && mv '" + opened + ".part' '" +
                                            opened + "'\n");
  WriteScript(dir / "drive", kDriver);
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

  ScopedEnv path("PATH", (dir / "bin").string() + ":" + std::getenv("PATH"));
  ScopedEnv temp("TEMP", (dir / "temp").string());
  ScopedEnv proxy("http_proxy", "http://127.0.0.1:" + std::to_string(server.Port()));
  ScopedEnv noProxy("no_proxy", std::nullopt);
  ScopedEnv opener("KESTREL_OPEN_COMMAND", std::nullopt);
  ScopedEnv backend("KESTREL_BACKEND", "sdl");
  ScopedEnv language("LANGUAGE", "en_US");
  const std::string command = "timeout 90 xvfb-run -a '" + (dir / "drive").string() + "' '" + program + "' '" +
                              (dir / "status").string() + "' >'" + (dir / "log").string() + "' 2>&1";
  std::system(command.c_str());

  EXPECT_EQ(Slurp(dir / "status"), "0\n") << Slurp(dir / "log");
  const std::string target = (dir / "temp" / "CorvaneSetup.exe").string();
  EXPECT_EQ(Slurp(dir / "opened-arg"), target);
  for (int i = 0; i < 1000 && !fs::exists(dir / "opened"); ++i) ::usleep(10000);
  EXPECT_TRUE(Slurp(dir / "opened") == installer) << "the opener did not get the installer's bytes";
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, InstallerURL());
}

}  // namespace
}  // namespace kestrel::testing
