// The download assistant: language and captions, the temporary folder, and the download flow
// against a real loopback server reached as the HTTP proxy (as a system proxy would be), in
// process and, as the EndToEnd tests, by running the real program under a virtual X server.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "app/UnitKestrel.h"
#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/MessageBox.h"
#include "framework/Screen.h"
#include "framework/Thread.h"
#include "platform/os/Environment.h"
#include "tests/app/ScopedEnv.h"
#include "tests/support/FolderEntries.h"
#include "tests/support/ReadFileText.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/loopback/LoopbackServer.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// Set where the program is meant to end: in the child process of a death test.
bool gProgramEndExpected = false;

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The done path ends the process with code 0, which would pass for success if a download
    // that must fail opened its file in the test process itself.
    AddExitProc([] {
      if (!gProgramEndExpected) ::_exit(70);
    });
  }
  void SetUp() override {
    Application();
    env_.push_back(std::make_unique<ScopedEnv>("TEMP", temp_.Path().string()));
    env_.push_back(std::make_unique<ScopedEnv>("no_proxy", std::nullopt));
    env_.push_back(std::make_unique<ScopedEnv>("LANGUAGE", "en_US"));
  }
  void TearDown() override {
    platform::SetMessageBoxScript(nullptr);
    Form1 = nullptr;
    for (TForm1* form : forms_) {
      form->BeforeDestruction();
      delete form;
    }
  }
  // A dialog as the program makes it (design, then the creation handler).
  TForm1* MakeDialog() {
    forms_.push_back(Form1 = TCustomForm::Create<TForm1>(nullptr));
    return Form1;
  }
  void UseProxy(const LoopbackServer& server) {
    env_.push_back(std::make_unique<ScopedEnv>("http_proxy", "http://127.0.0.1:" + std::to_string(server.Port())));
  }
  // Answers every message box with OK, recording caption, text and flags, and the files in the
  // temporary folder while it is shown.
  void AnswerMessageBoxes() {
    platform::SetMessageBoxScript([this](const platform::MessageBoxRequest& box) {
      boxes_.push_back(box);
      filesAtBox_.push_back(FilesInTemp());
      return IDOK;
    });
  }
  std::string Target() const { return (temp_ / "CorvaneSetup.exe").string(); }
  // Clicks the button and expects the failure box, the overlay hidden, the dialog idle again and
  // nothing left in the temporary folder (neither the target nor a partial file beside it).
  void ExpectFailedDownload(TForm1* form);
  // The files in the temporary folder (folders there are other tests' helpers: TEMP points here).
  Names FilesInTemp() const {
    Names files = FolderEntries(temp_.Path());
    std::erase_if(files, [this](const std::string& name) { return fs::is_directory(temp_ / name); });
    return files;
  }
  // Runs `program` in a child process that must end with code 0 after handing the target, with
  // exactly the bytes of `installer`, to the desktop opener.
  void ExpectInstallerOpened(const std::function<void()>& program, const std::string& installer);

  TempDir temp_;
  std::vector<platform::MessageBoxRequest> boxes_;
  std::vector<Names> filesAtBox_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
  std::vector<TForm1*> forms_;
};

void WriteFile(const std::filesystem::path& path, const std::string& text, bool executable = false) {
  std::ofstream(path, std::ios::binary) << text;
  if (executable) std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

// A desktop opener that writes its argument to <dir>/opened-arg and a copy of the file to
// <dir>/opened (renamed into place once complete: it may outlive the program).
std::string FakeOpenerScript(const std::filesystem::path& dir) {
  const std::string arg = (dir / "opened-arg").string(), opened = (dir / "opened").string();
  return "#!/bin/sh\nprintf '%s' \"$1\" > '" + arg + "'\ncp \"$1\" '" + opened + ".part' && mv '" + opened +
         ".part' '" + opened + "'\n";
}

// Installer-like bytes, every byte value included.
std::string Payload(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

TEST_F(DialogTest, CaptionsFollowTheSystemLanguage) {
  for (const char* locale : {"de_DE", "de_CH", "en_US", "fr_FR"}) {
    SCOPED_TRACE(locale);
    ScopedEnv language("LANGUAGE", locale);
    TForm1* form = MakeDialog();
    const String& header = form->KsHTMLLabel1->Caption();
    const std::size_t lineBreak = header.find(u"<br>");
    ASSERT_NE(lineBreak, String::npos);
    EXPECT_GT(lineBreak, 0u);  // a lead-in line first
    if (locale[0] == 'd') {
      EXPECT_TRUE(header.ends_with(u"<br><b>Vollversion von <font size=22>Corvane</b></font>"));
      EXPECT_EQ(form->KsHTMLLabel6->Caption(),
                u"<B><U>Schritt 3:</U></B><br><br>Laden Sie die Vollversion "
                u"herunter und installieren Sie diese auf Ihrem Computer:");
      EXPECT_EQ(form->Button1->Caption(), u"Vollversion herunterladen");
      EXPECT_NE(form->Caption().find(u"Vollversion"), String::npos);
    } else {
      EXPECT_TRUE(header.ends_with(u"<br><b><font size=22>Corvane</font> (full version)</b>"));
      EXPECT_EQ(form->KsHTMLLabel6->Caption(),
                u"<B><U>Step 3:</U></B><br><br>Download and install full version on your computer:");
      EXPECT_EQ(form->KsHTMLLabel6->PlainText(), u"Step 3:\r\n\r\nDownload and install full version on your computer:");
      EXPECT_EQ(form->Button1->Caption(), u"Download full version");
      EXPECT_NE(form->Caption().find(u"full version"), String::npos);
    }
    EXPECT_EQ(form->HTTPGetUpdate->FileName(), Target());
  }
}

TEST_F(DialogTest, TemporaryFolderRules) {
  TForm1* form = MakeDialog();
  const String dir = Utf8ToUtf16(temp_.Path().string());
  auto withTemp = [&](std::optional<std::string> value) {
    ScopedEnv temp("TEMP", std::move(value));
    return form->GetTempDir();
  };
  EXPECT_EQ(withTemp(" \t" + temp_.Path().string() + " "), dir + u"/");  // trimmed
  EXPECT_EQ(withTemp(temp_.Path().string() + "/"), dir + u"/");          // not doubled
  EXPECT_EQ(withTemp((temp_ / "missing").string()), u"/tmp/");
  fs::create_directories(temp_ / "Mixed" / "Inner");
  fs::create_directory_symlink(temp_ / "Mixed", temp_ / "link");
  EXPECT_EQ(withTemp((temp_ / "link").string()), dir + u"/link/");  // links followed
  // A pattern takes the spelling found on disk; the walk keeps the rest after a missing part.
  EXPECT_EQ(withTemp((temp_ / "mix?d" / "./INN*").string()), dir + u"/Mixed/Inner/");
  EXPECT_EQ(LongPathForm(dir + u"/mix?d/x/INN*"), dir + u"/Mixed/x/INN*");
  const fs::path cwd = fs::current_path();
  fs::current_path(temp_.Path());
  const String relative = withTemp("./Mixed/../Mixed");
  fs::current_path(cwd);
  EXPECT_EQ(relative, dir + u"/Mixed/");
  fs::path deep = temp_.Path();
  while (deep.string().size() < 300) deep /= "abcdefghijklmnopqrstuvwxyz";
  fs::create_directories(deep);
  EXPECT_EQ(withTemp(deep.string()), u"/tmp/");  // exists, but longer than the buffer
  // Unset: the platform answers from TMPDIR; without that fallback "%temp%" names nothing.
  ScopedEnv tmpdir("TMPDIR", (temp_ / "Mixed").string());
  EXPECT_EQ(withTemp(std::nullopt), dir + u"/Mixed/");
  platform::SetTempVariableFallback(false);
  EXPECT_EQ(withTemp(std::nullopt), u"/tmp/");
  platform::SetTempVariableFallback(true);
}

HttpResponse NotFound() {
  HttpResponse r;
  r.status = 404;
  r.body = "<html>no such file</html>";
  return r;
}

TEST_F(DialogTest, FailureIsReportedAfterTheEarlierFileWasDeleted) {
  std::vector<bool> fileThere;
  LoopbackServer server([&](const HttpRequest&) {
    fileThere.push_back(fs::exists(fs::symlink_status(Target())));
    return NotFound();
  });
  UseProxy(server);
  AnswerMessageBoxes();
  TForm1* form = MakeDialog();
  WriteFile(Target(), "earlier download");
  form->Button1Click(form->Button1);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].caption, u"Download failed");
  EXPECT_EQ(boxes_[0].type, 0x00011030u);  // OK, exclamation, system-modal, to the foreground
  EXPECT_NE(boxes_[0].text.find(u"!\r\n\r\n"), String::npos);
  EXPECT_NE(boxes_[0].text.find(u"firewall"), String::npos);
  EXPECT_FALSE(form->KsPanel2->Visible());
  EXPECT_FALSE(fs::exists(Target()));  // the error page was not saved
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, InstallerURL());
  EXPECT_EQ(requests[0].Header("Referer"), "Varnel - Kestrel");

  // A link to a directory goes as a link; the language is asked again for the box.
  fs::create_directory(temp_ / "keep");
  WriteFile(temp_ / "keep" / "inside", "kept");
  fs::create_directory_symlink(temp_ / "keep", Target());
  ScopedEnv german("LANGUAGE", "de_AT");
  form->Button1Click(form->Button1);
  EXPECT_EQ(fileThere, (std::vector<bool>{false, false}));
  EXPECT_EQ(ReadFileText(temp_ / "keep" / "inside"), "kept");
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].caption, u"Download fehlgeschlagen");
  EXPECT_EQ(boxes_[1].type, 0x00011030u);
  EXPECT_NE(boxes_[1].text.find(u"Firewall"), String::npos);
}

void DialogTest::ExpectInstallerOpened(const std::function<void()>& program, const std::string& installer) {
  GTEST_FLAG_SET(death_test_style, "fast");
  TempDir opener;
  WriteFile(opener / "open", FakeOpenerScript(opener.Path()), true);
  ScopedEnv openCommand("KESTREL_OPEN_COMMAND", (opener / "open").string());
  EXPECT_EXIT((gProgramEndExpected = true, program()), ::testing::ExitedWithCode(0), "");
  for (int i = 0; i < 500 && !fs::exists(opener / "opened"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReadFileText(opener / "opened-arg"), Target());
  EXPECT_TRUE(ReadFileText(opener / "opened") == installer) << "the opener did not get the installer's bytes";
  EXPECT_EQ(FilesInTemp(), Names{"CorvaneSetup.exe"});
}

void DialogTest::ExpectFailedDownload(TForm1* form) {
  const std::size_t boxes = boxes_.size();
  form->Button1Click(form->Button1);
  ASSERT_EQ(boxes_.size(), boxes + 1);
  EXPECT_EQ(boxes_.back().caption, u"Download failed");
  EXPECT_EQ(filesAtBox_.back(), Names{});  // gone before the failure is told
  EXPECT_FALSE(form->KsPanel2->Visible());
  EXPECT_FALSE(form->HTTPGetUpdate->Busy());
  EXPECT_EQ(FilesInTemp(), Names{});
}

// Installer-like bytes of 200000 bytes and their SHA-256.
constexpr char kPayloadDigest[] = "df0f6306fcfb22cadc19e9868af0728ea9444c363c55ac205c4782a827176d9e";

HttpResponse Installer(const std::string& bytes) {
  HttpResponse r;
  r.body = bytes;
  return r;
}

// A connection closed halfway, an error answer, a server that stops sending, and a whole
// installer whose digest is not the pinned one: each attempt fails and leaves nothing behind.
TEST_F(DialogTest, BrokenStalledOrRefusedTransferLeavesNoFileBehind) {
  const std::string installer = Payload(200000);
  int served = 0;
  LoopbackServer server([&](const HttpRequest&) {
    HttpResponse r = Installer(installer);
    if (served == 0) r.sendLimit = installer.size() / 2;
    else if (served == 1) r.status = 500;
    else if (served == 2) r.stallAfter = installer.size() / 2;
    ++served;
    return r;
  });
  UseProxy(server);
  AnswerMessageBoxes();
  TempDir opener;
  WriteFile(opener / "open", FakeOpenerScript(opener.Path()), true);
  ScopedEnv openCommand("KESTREL_OPEN_COMMAND", (opener / "open").string());
  TForm1* form = MakeDialog();
  form->HTTPGetUpdate->SetReceiveTimeout(1000);
  for (int attempt = 0; attempt < 3; ++attempt) {
    SCOPED_TRACE(attempt);
    ExpectFailedDownload(form);
  }
  std::string wrong = kPayloadDigest;
  wrong[10] = wrong[10] == '0' ? '1' : '0';
  form->HTTPGetUpdate->SetExpectedSHA256(wrong);
  WriteFile(Target(), "earlier download");
  ExpectFailedDownload(form);
  EXPECT_EQ(served, 4);
  EXPECT_FALSE(fs::exists(opener / "opened-arg"));
}

TEST_F(DialogTest, MatchingPinnedDigestOpensTheInstaller) {
  const std::string installer = Payload(200000);
  ExpectInstallerOpened(
      [&] {
        LoopbackServer server([&](const HttpRequest&) { return Installer(installer); });
        UseProxy(server);
        TForm1* form = MakeDialog();
        form->HTTPGetUpdate->SetExpectedSHA256(kPayloadDigest);
        form->Button1Click(form->Button1);
        ::_exit(4);
      },
      installer);
}

TEST_F(DialogTest, RetryAfterAFailureOpensTheInstallerAndExitsWithZero) {
  // As built by default nothing is pinned: any installer that arrives whole is opened.
  ASSERT_STREQ(InstallerSHA256(), "");
  const std::string installer = Payload(200000);
  ExpectInstallerOpened(
      [&] {
        int served = 0;
        LoopbackServer server([&](const HttpRequest&) { return served++ ? Installer(installer) : NotFound(); });
        UseProxy(server);
        AnswerMessageBoxes();
        TForm1* form = MakeDialog();
        form->Button1Click(form->Button1);
        if (boxes_.size() != 1) ::_exit(3);
        WriteFile(Target(), "left over");
        form->Button1Click(form->Button1);
        ::_exit(4);  // the done path never returns here
      },
      installer);
}

// Space or Enter on the button the overlay hides must not delete the file being written.
TEST_F(DialogTest, AKeyPressedDuringTheTransferLeavesTheFileBeingWritten) {
  const std::string installer = Payload(300000);
  ExpectInstallerOpened(
      [&] {
        LoopbackServer server([&](const HttpRequest&) {
          HttpResponse r;
          r.body = installer;
          r.stallAfter = 20000;
          r.stallMs = 1500;
          return r;
        });
        UseProxy(server);
        AnswerMessageBoxes();
        TForm1* form = MakeDialog();
        // Once the worker has created its file, the GUI thread gets what the key does.
        std::thread([&] {
          for (int i = 0; i < 500 && !fs::exists(Target()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
          TThread::Queue(nullptr, [form] { form->Button1->Click(); });
        }).detach();
        form->Button1Click(form->Button1);
        ::_exit(4);
      },
      installer);
}

// Starts the program, finds its window by title and clicks the button's centre (the frame's
// width taken from the window's size, its client area being 445 x 592) until the file $3 appears
// (the server's sign that the request arrived: a window may be mapped before it takes input).
// With "close" as $4 it then closes the window with Alt+F4; with "shots" it takes three
// screenshots of the window 0.3 s apart (busy1.xwd … busy3.xwd beside $2); with "term" it sends
// SIGTERM and records in $2.ms how many milliseconds the program took to end. Records the exit
// status in $2. A program that hangs is killed (it would not end with its X server) and then
// fails with 137.
constexpr char kDriver[] = R"sh(#!/bin/sh
timeout -s KILL 45 "$1" & pid=$!
wid=$(xdotool search --sync --onlyvisible --name '^Download assistant - Corvane full version$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
border=$(( (WIDTH - 445) / 2 ))
until [ -e "$3" ]; do
  xdotool mousemove --window "$wid" $(( border + 126 + 96 )) $(( HEIGHT - border - 592 + 461 + 19 )) click 1
  sleep 0.3
done
if [ "$4" = term ]; then
  sleep 0.5
  start=$(date +%s%N)
  kill -TERM $pid
  wait $pid
  echo $? > "$2"
  echo $(( ($(date +%s%N) - start) / 1000000 )) > "$2.ms"
  exit
fi
[ "$4" = close ] && xdotool key --window "$wid" alt+F4
if [ "$4" = shots ]; then
  shots=$(dirname "$2")
  sleep 0.5
  for shot in 1 2 3; do
    xwd -silent -id "$wid" -out "$shots/busy$shot.xwd"
    sleep 0.3
  done
fi
wait $pid
echo $? > "$2"
)sh";

// Keyboard only, against a failing server: Space on the focused button, Enter closes the failure
// box; the second attempt is started with Space again and its box closed with Escape, then Alt+F4
// ends the program. Without a window manager nobody hands the keyboard back to the dialog when
// the box goes, so the driver does that as a window manager would. With "once" as $4 there is
// only the first attempt. Records the exit status in $2.
constexpr char kKeyboardDriver[] = R"sh(#!/bin/sh
timeout -s KILL 45 "$1" & pid=$!
wid=$(xdotool search --sync --onlyvisible --name '^Download assistant - Corvane full version$' | head -1)
attempt() {
  xdotool windowfocus --sync "$wid"
  xdotool key --delay 100 "$1"
  box=$(xdotool search --sync --onlyvisible --name '^Download failed$' | head -1)
  xdotool windowfocus --sync "$box"
  xdotool key "$2"
  while xdotool search --onlyvisible --name '^Download failed$' >/dev/null; do sleep 0.1; done
}
attempt space Return
[ "$4" = once ] || attempt space Escape
xdotool windowfocus --sync "$wid"
xdotool key alt+F4
wait $pid
echo $? > "$2"
)sh";

// The gallery ($1) until its window shows, then signal $3; records the exit status in $2 and the
// milliseconds it took to end in $2.ms. With "display" as $3 it runs on an X server of its own
// and ends that server instead.
constexpr char kGalleryDriver[] = R"sh(#!/bin/sh
if [ "$3" = display ]; then
  Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$2.display" >/dev/null 2>&1 & server=$!
  until [ -s "$2.display" ]; do sleep 0.1; done
  export DISPLAY=":$(cat "$2.display")"
fi
timeout -s KILL 45 "$1" --page controls & pid=$!
xdotool search --sync --onlyvisible --name '^Kestrel gallery$' >/dev/null
sleep 0.5
start=$(date +%s%N)
if [ "$3" = display ]; then kill -TERM $server; else kill -$3 $pid; fi
wait $pid
echo $? > "$2"
echo $(( ($(date +%s%N) - start) / 1000000 )) > "$2.ms"
)sh";

// Everything one run needs: the folders, the fake opener first on PATH, the driver, and the
// environment the program starts in.
class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::getenv("KESTREL_APP_EXE");
    pinnedProgram_ = std::getenv("KESTREL_PINNED_APP_EXE");
    gallery_ = std::getenv("KESTREL_GALLERY_EXE");
    if (!program_ || !pinnedProgram_) GTEST_SKIP() << "run as the app_end_to_end test";
    fs::create_directories(dir_ / "temp");
    fs::create_directories(dir_ / "bin");
    WriteFile(dir_ / "bin" / "xdg-open", FakeOpenerScript(dir_.Path()), true);
    WriteFile(dir_ / "drive", kDriver, true);
    WriteFile(dir_ / "keys", kKeyboardDriver, true);
    WriteFile(dir_ / "gallery", kGalleryDriver, true);
  }

  // Runs the gallery driver with `how` ($3); the exit status, or "" when it did not end.
  std::string RunGallery(const std::string& how) {
    if (!gallery_) return "no gallery in this build";
    ScopedEnv backend("KESTREL_BACKEND", "sdl");
    const std::string driver = "'" + (dir_ / "gallery").string() + "' '" + gallery_ + "' '" +
                               (dir_ / "status").string() + "' '" + how + "' >'" + (dir_ / "log").string() + "' 2>&1";
    const std::string command = how == "display" ? "timeout 60 " + driver : "timeout 60 xvfb-run -a " + driver;
    fs::remove(dir_ / "status");
    std::system(command.c_str());
    return ReadFileText(dir_ / "status");
  }

  // How long the program took to end after the driver's signal, in milliseconds.
  int EndedWithinMs() const { return std::atoi(ReadFileText(dir_ / "status.ms").c_str()); }

  // Runs the program against `server` to its end; the exit status, or "" when it did not end.
  std::string Run(const LoopbackServer& server, const std::string& mode = "", const std::string& driver = "drive",
                  const char* program = nullptr) {
    ScopedEnv path("PATH", (dir_ / "bin").string() + ":" + std::getenv("PATH"));
    ScopedEnv temp("TEMP", (dir_ / "temp").string());
    ScopedEnv proxy("http_proxy", "http://127.0.0.1:" + std::to_string(server.Port()));
    ScopedEnv noProxy("no_proxy", std::nullopt);
    ScopedEnv opener("KESTREL_OPEN_COMMAND", std::nullopt);
    ScopedEnv backend("KESTREL_BACKEND", "sdl");
    ScopedEnv language("LANGUAGE", "en_US");
    const std::string command = "timeout 60 xvfb-run -a '" + (dir_ / driver).string() + "' '" +
                                (program ? program : program_) + "' '" + (dir_ / "status").string() + "' '" +
                                Arrived().string() + "' '" + mode + "' >'" + (dir_ / "log").string() + "' 2>&1";
    const auto start = std::chrono::steady_clock::now();
    std::system(command.c_str());
    took_ = std::chrono::steady_clock::now() - start;
    return ReadFileText(dir_ / "status");
  }

  fs::path Arrived() const { return dir_ / "arrived"; }

  // Marks that a request arrived, then answers with Body, stalling as HttpResponse describes.
  LoopbackServer::Handler ArrivingTransfer(std::string body, std::size_t stallAfter = HttpResponse::kAll,
                                           int stallMs = -1) {
    return [this, body = std::move(body), stallAfter, stallMs](const HttpRequest&) {
      std::ofstream{Arrived()};
      HttpResponse r;
      r.body = body;
      r.stallAfter = stallAfter;
      r.stallMs = stallMs;
      return r;
    };
  }

  const char* program_ = nullptr;
  const char* pinnedProgram_ = nullptr;  // built with an installer digest no test body has
  const char* gallery_ = nullptr;
  TempDir dir_;
  std::chrono::steady_clock::duration took_{};
};

TEST_F(EndToEnd, ButtonDownloadsTheInstallerOpensItAndExitsWithZero) {
  const std::string installer = Payload(3 * 1024 * 1024 + 17);
  LoopbackServer server(ArrivingTransfer(installer));
  EXPECT_EQ(Run(server), "0\n") << ReadFileText(dir_ / "log");
  const std::string target = (dir_ / "temp" / "CorvaneSetup.exe").string();
  EXPECT_EQ(ReadFileText(dir_ / "opened-arg"), target);
  for (int i = 0; i < 1000 && !fs::exists(dir_ / "opened"); ++i) ::usleep(10000);
  EXPECT_TRUE(ReadFileText(dir_ / "opened") == installer) << "the opener did not get the installer's bytes";
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, InstallerURL());
}

// The overlay's part of a window dump (xwd, 32 bits per pixel): the client area (445 x 592) sits
// at the bottom of the window between equal side frames.
struct OverlayPixels {
  std::vector<std::uint32_t> pixels;
  int dark = 0;  // bullet pixels
};

OverlayPixels ReadOverlay(const fs::path& dump) {
  OverlayPixels result;
  const std::string data = ReadFileText(dump);
  auto field = [&](std::size_t index) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(data[4 * index + i]);
    return value;
  };
  if (data.size() < 100 || field(11) != 32) return result;
  const std::uint32_t w = field(4), h = field(5), bytesPerLine = field(12);
  const std::size_t start = field(0) + 12 * std::size_t{field(19)};
  const bool lsbFirst = field(7) == 0;
  if (w < 445 || h < 592 || start + std::size_t{h} * bytesPerLine > data.size()) return result;
  const std::uint32_t border = (w - 445) / 2, top = h - border - 592;
  for (std::uint32_t y = top + 82; y < top + 499; ++y)
    for (std::uint32_t x = border; x < border + 445; ++x) {
      const char* p = data.data() + start + y * bytesPerLine + 4 * x;
      std::uint32_t pixel = 0;
      for (int i = 0; i < 4; ++i)
        pixel |= std::uint32_t{static_cast<unsigned char>(p[lsbFirst ? i : 3 - i])} << (8 * i);
      pixel &= 0xFFFFFF;
      result.pixels.push_back(pixel);
      result.dark += (pixel & 0xFF) < 0x80 && (pixel >> 16 & 0xFF) < 0x80;
    }
  return result;
}

// A slow transfer: the dots move while it runs, and the program still ends by opening the file.
TEST_F(EndToEnd, TheDotsMoveWhileASlowDownloadRuns) {
  const std::string installer = Payload(256 * 1024);
  LoopbackServer server(ArrivingTransfer(installer, 16 * 1024, 4000));
  EXPECT_EQ(Run(server, "shots"), "0\n") << ReadFileText(dir_ / "log");
  for (int i = 0; i < 1000 && !fs::exists(dir_ / "opened"); ++i) ::usleep(10000);
  EXPECT_TRUE(ReadFileText(dir_ / "opened") == installer) << "the opener did not get the installer's bytes";
  // The overlay is up with bullets on it (the sweep leaves it empty between rounds), and they
  // are not where they were every time.
  std::vector<OverlayPixels> shots;
  for (const char* name : {"busy1.xwd", "busy2.xwd", "busy3.xwd"}) {
    shots.push_back(ReadOverlay(dir_ / name));
    ASSERT_EQ(shots.back().pixels.size(), 445u * 417u) << name << "\n" << ReadFileText(dir_ / "log");
    if (const char* keep = std::getenv("KESTREL_KEEP_SHOTS"))  // to look at them
      fs::copy_file(dir_ / name, fs::path(keep) / name, fs::copy_options::overwrite_existing);
  }
  EXPECT_GT(std::max({shots[0].dark, shots[1].dark, shots[2].dark}), 20);
  EXPECT_TRUE(shots[0].pixels != shots[1].pixels || shots[1].pixels != shots[2].pixels);
}

TEST_F(EndToEnd, ClosingTheWindowDuringTheDownloadEndsTheProgram) {
  LoopbackServer server(ArrivingTransfer(Payload(1 << 20), 4096));  // stalls until the server stops
  EXPECT_EQ(Run(server, "close"), "0\n") << ReadFileText(dir_ / "log");
  // Ended by the abort, long before the stalled transfer's own timeout.
  EXPECT_LT(took_, std::chrono::seconds(15));
  EXPECT_FALSE(fs::exists(dir_ / "opened-arg"));
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(FolderEntries(dir_ / "temp"), Names{});  // the partial download went with it
}

TEST_F(EndToEnd, KeyboardOnlyFailureBoxClosesAndTheButtonTakesARetry) {
  LoopbackServer server([](const HttpRequest&) { return NotFound(); });
  EXPECT_EQ(Run(server, "", "keys"), "0\n") << ReadFileText(dir_ / "log");
  EXPECT_EQ(server.Requests().size(), 2u);  // the second Space reached the button again
  EXPECT_FALSE(fs::exists(dir_ / "opened-arg"));
}

TEST_F(EndToEnd, PinnedProgramRefusesAnInstallerWithAnotherDigest) {
  LoopbackServer server([](const HttpRequest&) { return Installer(Payload(1 << 20)); });
  EXPECT_EQ(Run(server, "once", "keys", pinnedProgram_), "0\n") << ReadFileText(dir_ / "log");
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_FALSE(fs::exists(dir_ / "opened-arg"));
  EXPECT_EQ(FolderEntries(dir_ / "temp"), Names{});
}

// A second, as a person expects; a program built with ThreadSanitizer runs several times slower.
#if defined(__SANITIZE_THREAD__)
constexpr int kPromptEndMs = 5000;
#else
constexpr int kPromptEndMs = 1000;
#endif

TEST_F(EndToEnd, TerminationSignalDuringADownloadEndsTheProgramAsClosingDoes) {
  LoopbackServer server(ArrivingTransfer(Payload(1 << 20), 4096));  // stalls until the server stops
  EXPECT_EQ(Run(server, "term"), "0\n") << ReadFileText(dir_ / "log");
  EXPECT_LT(EndedWithinMs(), kPromptEndMs) << ReadFileText(dir_ / "log");
  EXPECT_FALSE(fs::exists(dir_ / "opened-arg"));
  EXPECT_EQ(FolderEntries(dir_ / "temp"), Names{});  // the partial download went with it
}

TEST_F(EndToEnd, PartialFilesOfEndedRunsGoAtTheNextStartAndOthersStay) {
  const fs::path abandoned = dir_ / "temp" / ".CorvaneSetup.exe.0123456789ab.part";
  const fs::path running = dir_ / "temp" / ".CorvaneSetup.exe.fedcba987654.part";
  const fs::path unrelated = dir_ / "temp" / ".Other.exe.0123456789ab.part";
  for (const fs::path& file : {abandoned, running, unrelated}) WriteFile(file, "partial", false);
  // A transfer that still runs holds the lock of its file.
  const int held = ::open(running.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  LoopbackServer server([](const HttpRequest&) { return NotFound(); });
  EXPECT_EQ(Run(server, "once", "keys"), "0\n") << ReadFileText(dir_ / "log");
  ::close(held);
  EXPECT_EQ(FolderEntries(dir_ / "temp"), (Names{running.filename().string(), unrelated.filename().string()}));
}

TEST_F(EndToEnd, GalleryEndsPromptlyOnTerminationSignals) {
  for (const char* signal : {"TERM", "INT", "HUP"}) {
    EXPECT_EQ(RunGallery(signal), "0\n") << signal << "\n" << ReadFileText(dir_ / "log");
    EXPECT_LT(EndedWithinMs(), 1000) << signal;
  }
}

TEST_F(EndToEnd, GalleryEndsWithAMessageWhenTheDisplayGoes) {
  EXPECT_EQ(RunGallery("display"), "1\n") << ReadFileText(dir_ / "log");
  EXPECT_LT(EndedWithinMs(), 5000);
  EXPECT_NE(ReadFileText(dir_ / "log").find("kestrel-gallery: the connection to the display was lost"),
            std::string::npos)
      << ReadFileText(dir_ / "log");
}

}  // namespace
}  // namespace kestrel::testing
