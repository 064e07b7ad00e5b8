// The dialog's logic: language and captions, the temporary folder, and the download flow against
// a real loopback server reached as the HTTP proxy.

#include <unistd.h>

#include <chrono>
#include <thread>

#include "framework/Application.h"
#include "platform/os/Environment.h"
#include "tests/app/DialogFixture.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(DialogTest, CaptionsFollowTheSystemLanguage) {
  for (const char* locale : {"de_DE", "de_CH", "en_US", "fr_FR"}) {
    SCOPED_TRACE(locale);
    ScopedEnv language("LANGUAGE", locale);
    TForm1* form = MakeDialog();
    const String& header = form->KsHTMLLabel1->Caption();
    EXPECT_GT(header.find(u"<br>"), 0u);  // a lead-in line first
    if (locale[0] == 'd') {
      EXPECT_TRUE(header.ends_with(u"<br><b>Vollversion von <font size=22>Corvane</b></font>"));
      EXPECT_EQ(form->KsHTMLLabel6->Caption(), u"<B><U>Schritt 3:</U></B><br><br>Laden Sie die Vollversion "
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
  EXPECT_EQ(boxes_[0].first, u"Download failed");
  EXPECT_NE(boxes_[0].second.find(u"!\r\n\r\n"), String::npos);
  EXPECT_NE(boxes_[0].second.find(u"firewall"), String::npos);
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
  EXPECT_EQ(ReadFile(temp_ / "keep" / "inside"), "kept");
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].first, u"Download fehlgeschlagen");
  EXPECT_NE(boxes_[1].second.find(u"Firewall"), String::npos);
}

TEST_F(DialogTest, RetryAfterAFailureOpensTheInstallerAndExitsWithZero) {
  GTEST_FLAG_SET(death_test_style, "fast");
  TempDir opener;
  WriteFile(opener / "open", FakeOpenerScript(opener.Path()), true);
  ScopedEnv openCommand("KESTREL_OPEN_COMMAND", (opener / "open").string());
  const std::string installer = Payload(200000);
  auto attempts = [&] {
    int served = 0;
    LoopbackServer server([&](const HttpRequest&) {
      HttpResponse ok;
      ok.body = installer;
      return served++ ? ok : NotFound();
    });
    UseProxy(server);
    AnswerMessageBoxes();
    TForm1* form = MakeDialog();
    form->Button1Click(form->Button1);
    if (boxes_.size() != 1) ::_exit(3);
    WriteFile(Target(), "left over");
    form->Button1Click(form->Button1);
    ::_exit(4);  // the done path never returns here
  };
  EXPECT_EXIT(attempts(), ::testing::ExitedWithCode(0), "");
  for (int i = 0; i < 500 && !fs::exists(opener / "opened"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReadFile(opener / "opened-arg"), Target());
  EXPECT_TRUE(ReadFile(opener / "opened") == installer);
}

}  // namespace
}  // namespace kestrel::testing
