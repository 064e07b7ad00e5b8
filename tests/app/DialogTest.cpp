// The dialog's logic: language and captions, the temporary folder, the target file, and the
// download flow against a real loopback server reached as the HTTP proxy.

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "framework/Application.h"
#include "platform/os/Environment.h"
#include "platform/window/WindowApi.h"
#include "tests/app/DialogFixture.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

String U(const fs::path& path) { return Utf8ToUtf16(path.string()); }

constexpr char16_t kEnglishStep[] = u"<B><U>Step 3:</U></B><br><br>Download and install full version on your computer:";
constexpr char16_t kGermanStep[] =
    u"<B><U>Schritt 3:</U></B><br><br>Laden Sie die Vollversion herunter und installieren Sie diese auf Ihrem Computer:";

TEST_F(DialogTest, CaptionsFollowTheSystemLanguage) {
  struct Case {
    const char* locale;
    bool german;
  };
  for (const Case c : {Case{"de_DE", true}, Case{"de_CH", true}, Case{"en_US", false}, Case{"fr_FR", false}}) {
    SCOPED_TRACE(c.locale);
    ScopedEnv locale("LANGUAGE", c.locale);
    TForm1* form = MakeDialog();
    EXPECT_EQ(form->ProdName, u"Corvane");
    const String& header = form->KsHTMLLabel1->Caption();
    if (c.german) {
      EXPECT_TRUE(header.ends_with(u"<br><b>Vollversion von <font size=22>Corvane</b></font>"));
      EXPECT_EQ(form->KsHTMLLabel6->Caption(), kGermanStep);
      EXPECT_EQ(form->Button1->Caption(), u"Vollversion herunterladen");
      EXPECT_NE(form->Caption().find(u"Vollversion"), String::npos);
    } else {
      EXPECT_TRUE(header.ends_with(u"<br><b><font size=22>Corvane</font> (full version)</b>"));
      EXPECT_EQ(form->KsHTMLLabel6->Caption(), kEnglishStep);
      EXPECT_EQ(form->Button1->Caption(), u"Download full version");
      EXPECT_NE(form->Caption().find(u"full version"), String::npos);
    }
    // The lead-in line stands before the line break and is not empty.
    EXPECT_GT(header.find(u"<br>"), 0u);
  }
}

TEST_F(DialogTest, StandInLabelShowsPlainTextAndKeepsMarkup) {
  TForm1* form = MakeDialog();
  EXPECT_EQ(form->KsHTMLLabel6->PlainText(),
            u"Step 3:\r\n\r\nDownload and install full version on your computer:");
  EXPECT_EQ(form->KsHTMLLabel6->Caption(), kEnglishStep);
  EXPECT_EQ(form->KsHTMLLabel1->PlainText().find(u'<'), String::npos);
}

TEST_F(DialogTest, DownloadComponentIsConfiguredForTheInstaller) {
  TForm1* form = MakeDialog();
  THTTPGet* get = form->HTTPGetUpdate;
  EXPECT_EQ(get->URL(), InstallerURL());
  EXPECT_TRUE(get->URL().starts_with("http://"));
  EXPECT_NE(get->URL().find("/download/"), AnsiString::npos);
  EXPECT_EQ(get->FileName(), Target());
  EXPECT_EQ(get->Referer(), "Varnel - Kestrel");
  EXPECT_EQ(get->Agent(), "HTTPGet");
  EXPECT_EQ(get->AcceptTypes(), "*/*");
  EXPECT_TRUE(get->BinaryData());
  EXPECT_FALSE(get->UseCache());
  EXPECT_TRUE(get->WaitThread());
  EXPECT_TRUE(get->PostQuery().empty());
  EXPECT_FALSE(form->KsPanel2->Visible());
}

TEST_F(DialogTest, TemporaryFolderRules) {
  TForm1* form = MakeDialog();
  const String fallback = u"/tmp/";
  const String dir = U(temp_.Path());

  // Trimmed, delimiter appended once.
  ScopedEnv padded("TEMP", " \t" + temp_.Path().string() + "  ");
  EXPECT_EQ(form->GetTempDir(), dir + u"/");
  ScopedEnv delimited("TEMP", temp_.Path().string() + "/");
  EXPECT_EQ(form->GetTempDir(), dir + u"/");

  // A folder that does not exist, or a file in its place.
  ScopedEnv missing("TEMP", (temp_ / "missing").string());
  EXPECT_EQ(form->GetTempDir(), fallback);
  WriteFile(temp_ / "plain", "x");
  ScopedEnv file("TEMP", (temp_ / "plain").string());
  EXPECT_EQ(form->GetTempDir(), fallback);

  // Relative to the current directory.
  fs::create_directory(temp_ / "sub");
  const fs::path cwd = fs::current_path();
  fs::current_path(temp_.Path());
  ScopedEnv relative("TEMP", "./sub/../sub");
  const String relativeResult = form->GetTempDir();
  fs::current_path(cwd);
  EXPECT_EQ(relativeResult, dir + u"/sub/");

  // Followed through a link.
  fs::create_directory_symlink(temp_ / "sub", temp_ / "link");
  ScopedEnv linked("TEMP", (temp_ / "link").string());
  EXPECT_EQ(form->GetTempDir(), dir + u"/link/");

  // Longer than the expansion buffer, although it exists.
  fs::path deep = temp_.Path();
  while (deep.string().size() < 300) deep /= "abcdefghijklmnopqrstuvwxyz";
  fs::create_directories(deep);
  ScopedEnv overlong("TEMP", deep.string());
  EXPECT_EQ(form->GetTempDir(), fallback);
}

TEST_F(DialogTest, TemporaryFolderWithoutTempVariable) {
  TForm1* form = MakeDialog();
  ScopedEnv noTemp("TEMP", std::nullopt);
  ScopedEnv tmpdir("TMPDIR", temp_.Path().string());
  // The platform answers %temp% from TMPDIR when the variable is missing.
  EXPECT_EQ(form->GetTempDir(), U(temp_.Path()) + u"/");
  // Without that fallback "%temp%" stays unexpanded and names no folder.
  platform::SetTempVariableFallback(false);
  const String unexpanded = form->GetTempDir();
  platform::SetTempVariableFallback(true);
  EXPECT_EQ(unexpanded, u"/tmp/");
}

TEST_F(DialogTest, LongFormSpellsComponentsAsStoredAndStopsAtAMissingOne) {
  fs::create_directories(temp_ / "Mixed" / "Inner");
  const String dir = U(temp_.Path());
  EXPECT_EQ(LongPathForm(dir + u"/Mixed/./Inner/"), dir + u"/Mixed/Inner/");
  EXPECT_EQ(LongPathForm(dir + u"/Mixed/x/../Inner"), dir + u"/Mixed/Inner");
  // From the first missing component on, the rest is kept as written.
  EXPECT_EQ(LongPathForm(dir + u"/Mixed/Gone/Inner/tail"), dir + u"/Mixed/Gone/Inner/tail");
  EXPECT_EQ(LongPathForm(u"/"), u"/");
  // Components are looked up as the directory search sees them: a pattern takes the spelling of
  // the entry it finds, while a name differing in case is another name on this file system.
  EXPECT_EQ(LongPathForm(dir + u"/mix?d/INN*"), dir + u"/Mixed/Inner");
  EXPECT_EQ(LongPathForm(dir + u"/mixed/Inner"), dir + u"/mixed/Inner");
}

// The server notes whether the target file was still there when the request arrived.
struct RecordingHandler {
  RecordingHandler(fs::path path, std::vector<HttpResponse> replies) : target(std::move(path)), answers(std::move(replies)) {}
  fs::path target;
  std::shared_ptr<std::vector<bool>> fileThere = std::make_shared<std::vector<bool>>();
  std::vector<HttpResponse> answers;
  std::shared_ptr<std::size_t> next = std::make_shared<std::size_t>(0);
  HttpResponse operator()(const HttpRequest&) {
    std::error_code ec;
    fileThere->push_back(fs::exists(fs::symlink_status(target, ec)));
    return answers[std::min(answers.size() - 1, (*next)++)];
  }
};

HttpResponse NotFound() {
  HttpResponse r;
  r.status = 404;
  r.reason = "Not Found";
  r.body = "<html>no such file</html>";
  return r;
}

TEST_F(DialogTest, FailedDownloadReportsAndLeavesTheDialogIdle) {
  RecordingHandler handler{Target(), {NotFound()}};
  LoopbackServer server(handler);
  UseProxy(server);
  AnswerMessageBoxes();
  TForm1* form = MakeDialog();
  WriteFile(Target(), "earlier download");

  form->Button1Click(form->Button1);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].caption, u"Download failed");
  const String& text = boxes_[0].text;
  const auto gap = text.find(u"\r\n\r\n");
  ASSERT_NE(gap, String::npos);
  EXPECT_EQ(text[gap - 1], u'!');
  EXPECT_NE(text.find(u"firewall", gap), String::npos);
  EXPECT_FALSE(form->KsPanel2->Visible());
  // The earlier file was gone before the request, and the error page was not saved.
  EXPECT_EQ(*handler.fileThere, std::vector<bool>{false});
  EXPECT_FALSE(fs::exists(Target()));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, InstallerURL());
  EXPECT_EQ(requests[0].Header("Referer"), "Varnel - Kestrel");
  EXPECT_EQ(requests[0].Header("User-Agent"), "HTTPGet");

  // The language is asked again for each box.
  ScopedEnv german("LANGUAGE", "de_AT");
  form->Button1Click(form->Button1);
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].caption, u"Download fehlgeschlagen");
  EXPECT_NE(boxes_[1].text.find(u"!\r\n\r\n"), String::npos);
  EXPECT_NE(boxes_[1].text.find(u"Firewall"), String::npos);
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(DialogTest, LinkToADirectoryAtTheTargetIsRemovedNotItsDirectory) {
  RecordingHandler handler{Target(), {NotFound()}};
  LoopbackServer server(handler);
  UseProxy(server);
  AnswerMessageBoxes();
  TForm1* form = MakeDialog();
  fs::create_directory(temp_ / "keep");
  WriteFile(temp_ / "keep" / "inside", "kept");
  fs::create_directory_symlink(temp_ / "keep", Target());

  form->Button1Click(form->Button1);
  EXPECT_EQ(*handler.fileThere, std::vector<bool>{false});
  EXPECT_EQ(ReadFile(temp_ / "keep" / "inside"), "kept");
  EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(DialogTest, UndeletableTargetDoesNotStopTheAttempt) {
  RecordingHandler handler{Target(), {HttpResponse{}}};
  LoopbackServer server(handler);
  UseProxy(server);
  AnswerMessageBoxes();
  TForm1* form = MakeDialog();
  // A folder in the way cannot be deleted as a file: the transfer is still made, and its own
  // file creation fails it.
  fs::create_directory(Target());
  WriteFile(fs::path(Target()) / "inside", "kept");
  form->Button1Click(form->Button1);
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(ReadFile(fs::path(Target()) / "inside"), "kept");
}

// Death tests run the statement in a child process: the done path ends the process.
class DialogExitTest : public DialogTest {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "fast");
    DialogTest::SetUp();
  }
};

fs::path WriteFakeOpener(const fs::path& dir) {
  const fs::path script = dir / "fake-open";
  WriteFile(script, FakeOpenerScript(dir), true);
  return script;
}

bool WaitForFile(const fs::path& path) {
  for (int i = 0; i < 500 && !fs::exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return fs::exists(path);
}

TEST_F(DialogExitTest, FailedAttemptThenRetryOpensTheInstallerAndExitsWithZero) {
  TempDir opener;
  ScopedEnv openCommand("KESTREL_OPEN_COMMAND", WriteFakeOpener(opener.Path()).string());
  const std::string installer = Payload(200000);
  auto attempt = [&] {
    HttpResponse ok;
    ok.body = installer;
    RecordingHandler handler{Target(), {NotFound(), ok}};
    LoopbackServer server(handler);
    UseProxy(server);
    AnswerMessageBoxes();
    TForm1* form = MakeDialog();
    form->Button1Click(form->Button1);
    if (boxes_.size() != 1 || form->KsPanel2->Visible()) ::_exit(3);
    WriteFile(Target(), "left over");
    form->Button1Click(form->Button1);
    ::_exit(4);  // the done path never returns here
  };
  EXPECT_EXIT(attempt(), ::testing::ExitedWithCode(0), "");
  ASSERT_TRUE(WaitForFile(opener.Path() / "opened"));
  EXPECT_EQ(ReadFile(opener.Path() / "opened-arg"), Target());
  EXPECT_TRUE(ReadFile(opener.Path() / "opened") == installer);
  EXPECT_TRUE(ReadFile(Target()) == installer);
}

TEST_F(DialogExitTest, ClosingDuringADownloadAbortsItQuietlyAndEndsTheLoop) {
  auto attempt = [&] {
    TForm1* form = MakeDialog();
    Application()->SetMainForm(form);
    form->Show();
    const platform::HWND window = form->Handle();
    LoopbackServer server([window](const HttpRequest&) {
      platform::PostMessageW(window, platform::WM_CLOSE, 0, 0);
      HttpResponse stalled;
      stalled.body = Payload(100000);
      stalled.stallAfter = 1000;
      return stalled;
    });
    UseProxy(server);
    AnswerMessageBoxes();
    const auto start = std::chrono::steady_clock::now();
    form->Button1Click(form->Button1);
    const auto took = std::chrono::steady_clock::now() - start;
    if (!Application()->Terminated()) ::_exit(3);
    if (!boxes_.empty()) ::_exit(4);
    if (form->KsPanel2->Visible() || form->Visible()) ::_exit(5);
    if (took > std::chrono::seconds(10)) ::_exit(6);
    if (server.Requests().size() != 1) ::_exit(7);
    ::_exit(0);
  };
  EXPECT_EXIT(attempt(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestrel::testing
