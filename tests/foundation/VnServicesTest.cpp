#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "foundation/VnApplication.h"
#include "foundation/internal/CheckBoxStrip.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Reader.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "framework/Writer.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowApi.h"
#include "tests/support/ReadFileText.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

String ExecutableName() { return Utf8ToUtf16(std::filesystem::read_symlink("/proc/self/exe").string()); }

TEST(VnServices, LogNameGoesIntoThePrefixDirectoryUnderItsOwnFileName) {
  TVnApplication app(nullptr);
  const String exe = ExecutableName();
  EXPECT_EQ(app.LogName(), ChangeFileExt(exe, u".LOG"));
  app.SetLogName(u"/var/tmp/dl.txt");
  EXPECT_EQ(app.LogName(), ExtractFilePath(exe) + u"dl.txt");
  app.SetLogPrefix(ppWindows);  // re-applies the current name
  EXPECT_EQ(app.LogName(), u"/etc/dl.txt");
  app.SetLogPrefix(ppSystem);
  EXPECT_EQ(app.LogName(), u"/usr/lib/dl.txt");
  app.SetLogPrefix(ppFixed);
  app.SetLogName(u"/var/tmp/dl");
  EXPECT_EQ(app.LogName(), u"/var/tmp/dl.LOG");
  app.SetLogName(u"   ");
  EXPECT_EQ(app.LogName(), ChangeFileExt(exe, u".LOG"));
}

String AddressOf(const void* object) { return Format(u"%p", {object}); }

TEST(VnServices, ExceptionsAreLoggedWithTheirSenderAndAddress) {
  testing::TempDir dir;
  TVnApplication app(nullptr);
  app.SetLogPrefix(ppFixed);
  app.SetLogName(Utf8ToUtf16((dir / "x.LOG").string()));
  app.SetOptions({aoLogNr});
  TComponent named(nullptr);
  named.SetName(u"Fetcher");
  String address;
  try {
    throw std::runtime_error("disk full");
  } catch (const std::exception& e) {
    address = AddressOf(&e);
    app.LogException(nullptr);
    app.LogException(&app);  // a component without a name
    app.LogException(&named);
  }
  EXPECT_EQ(testing::ReadFileText(dir / "x.LOG"),
            "00001: disk full, Address: " + Utf16ToUtf8(address) +
                "\r\n00002: TVnApplication: disk full, Address: " + Utf16ToUtf8(address) +
                "\r\n00003: TComponent (Name: Fetcher): disk full, Address: " + Utf16ToUtf8(address) + "\r\n");
}

TEST(VnServices, TheApplicationHandsUnhandledExceptionsToTheServicesObject) {
  testing::TempDir dir;
  TVnApplication* services = VnApplication();
  ASSERT_NE(services, nullptr);
  const TVnApplicationOptions savedOptions = services->Options();
  services->SetLogPrefix(ppFixed);
  services->SetLogName(Utf8ToUtf16((dir / "services.LOG").string()));
  services->SetOptions({aoLogNr, aoLogException});
  TComponent sender(nullptr);
  sender.SetName(u"Queue");
  std::vector<String> seen;
  bool cancel = false;
  services->OnException = [&](TObject* s, const Exception& e, bool& c) {
    EXPECT_EQ(s, &sender);
    seen.push_back(e.Message());
    c = cancel;
  };
  auto raise = [&](const char* text) {
    try {
      throw EConvertError(text);
    } catch (...) {
      Application()->HandleException(&sender);
    }
  };
  raise("first");
  cancel = true;
  raise("second");  // cancelled: neither logged nor shown
  Application()->OnException = [&](TObject*, const Exception&) { seen.push_back(u"application"); };
  cancel = false;
  raise("third");  // the application's own handler comes first
  Application()->OnException = nullptr;

  services->OnException = nullptr;
  services->SetOptions(savedOptions);
  services->SetLogPrefix(ppProgram);
  services->SetLogName(String());
  EXPECT_EQ(seen, (std::vector<String>{u"first", u"second", u"application"}));
  const std::string log = testing::ReadFileText(dir / "services.LOG");
  EXPECT_EQ(log.rfind("00001: TComponent (Name: Queue): first, Address: ", 0), 0u);
  EXPECT_EQ(log.find("second"), std::string::npos);
  // One entry only; a search for "00002" would also find it inside the hexadecimal address.
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

TEST(VnServices, AResetFreesTheObjectAndAFreshInstallTakesOverItsDuties) {
  struct TFreed : TComponent {
    bool* freed;
    TFreed(TComponent* owner, bool* flag) : TComponent(owner), freed(flag) {}
    ~TFreed() override { *freed = true; }
  };
  bool freed = false;
  new TFreed(InstallVnApplication(), &freed);
  ResetVnApplication();
  EXPECT_TRUE(freed);
  EXPECT_EQ(VnApplication(), nullptr);
  TVnApplication* fresh = InstallVnApplication();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(InstallVnApplication(), fresh);
  bool handled = false;
  fresh->OnException = [&](TObject*, const Exception&, bool& cancel) { handled = cancel = true; };
  try {
    throw EConvertError("after the reset");
  } catch (...) {
    Application()->HandleException(nullptr);
  }
  fresh->OnException = nullptr;
  EXPECT_TRUE(handled);
}

TEST(VnServices, AnIdleProgramsTimerPoolNeverWakesTheGuiThread) {
  TVnApplication* services = VnApplication();
  Application();
  TVnTimerPool* pool = services->Timers();
  ASSERT_EQ(pool->Count(), 0);
  const auto start = pool->WakeUps();
  auto* backend = platform::HeadlessBackend::Current();
  backend->Advance(60000);  // a minute of idling
  EXPECT_EQ(pool->WakeUps(), start);
  const platform::WORD ident = services->AddTimer(100, nullptr);
  backend->Advance(1000);
  EXPECT_EQ(pool->WakeUps(), start + 20);  // the 50 ms base tick
  services->RemoveTimer(ident);
  backend->Advance(60000);
  EXPECT_EQ(pool->WakeUps(), start + 20);
  EXPECT_FALSE(pool->Active());
}

TEST(VnServices, PatternAndCheckBitmapsAreOwnedCopies) {
  TVnApplication app(nullptr);
  TBitmap* pattern = app.PatternBitmap();
  ASSERT_NE(pattern, nullptr);
  EXPECT_EQ(pattern->Canvas()->Pixels(0, 1), clBlack);
  EXPECT_EQ(pattern->Canvas()->Pixels(1, 1), clWhite);
  app.GetBrushBitmap(clRed);  // the shared brush changes; the pattern does not
  EXPECT_EQ(app.PatternBitmap(), pattern);
  EXPECT_EQ(pattern->Canvas()->Pixels(0, 1), clBlack);

  EXPECT_EQ(app.CheckCustomWidth(), 0);
  EXPECT_EQ(app.CheckCustomHeight(), 0);
  TBitmap strip(6 * 11 + 5, 12);
  app.SetCheckBitmap(&strip);
  EXPECT_NE(app.CheckBitmap(), &strip);
  strip.SetWidth(30);  // the owned copy keeps its size
  EXPECT_EQ(app.CheckCustomWidth(), 11);
  EXPECT_EQ(app.CheckCustomHeight(), 12);
  app.SetCheckBitmap(nullptr);
  EXPECT_EQ(app.CheckCustomWidth(), 0);
}

// Whether two images of the strip differ anywhere.
bool CellsDiffer(TBitmap& strip, int column1, int row1, int column2, int row2) {
  const int size = kCheckBoxImageSize;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (strip.Canvas()->Pixels(column1 * size + x, row1 * size + y) !=
          strip.Canvas()->Pixels(column2 * size + x, row2 * size + y))
        return true;
  return false;
}

TEST(VnServices, TheCheckBoxStripHoldsDistinctImages) {
  const std::unique_ptr<TBitmap> strip = LoadCheckBoxStrip();
  ASSERT_EQ(strip->Width(), kCheckBoxStripColumns * kCheckBoxImageSize);
  ASSERT_EQ(strip->Height(), kCheckBoxStripRows * kCheckBoxImageSize);
  EXPECT_TRUE(CellsDiffer(*strip, 0, 0, 1, 0));  // unchecked and checked
  EXPECT_TRUE(CellsDiffer(*strip, 0, 0, 2, 0));  // normal and pushed
  EXPECT_TRUE(CellsDiffer(*strip, 1, 0, 1, 1));  // check box and radio button
}

TEST(VnServices, AHeaderHandlerThatRaisesReachesTheCallerAndCountsNoEntry) {
  testing::TempDir dir;
  TVnApplication app(nullptr);
  app.SetLogPrefix(ppFixed);
  app.SetLogName(Utf8ToUtf16((dir / "h.LOG").string()));
  app.OnHeaderWrite = [](TObject*, TStringList*) { throw EConvertError("no header"); };
  EXPECT_THROW(app.LogWrite(u"lost"), EConvertError);
  app.OnHeaderWrite = nullptr;
  app.LogWrite(u"kept");
  const std::string log = testing::ReadFileText(dir / "h.LOG");
  EXPECT_NE(log.find("Entries:\r\n00001: kept\r\n"), std::string::npos);
  EXPECT_EQ(log.find("lost"), std::string::npos);
}

TEST(VnServices, StopwatchMeasuresThePerformanceCounter) {
  TVnApplication app(nullptr);
  ASSERT_GT(app.TimerFrequency(), 0);
  using Clock = std::chrono::steady_clock;  // the same monotonic clock as the performance counter
  const auto before = Clock::now();
  app.STWStart();
  const auto started = Clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const auto beforeStop = Clock::now();
  const double seconds = app.STWStopExt();
  const int milliseconds = app.STWStop();
  const auto after = Clock::now();
  const double shortest = std::chrono::duration<double>(beforeStop - started).count();
  const double longest = std::chrono::duration<double>(after - before).count();
  EXPECT_GE(seconds, shortest);
  EXPECT_LE(seconds, longest);
  EXPECT_GE(milliseconds, static_cast<int>(shortest * 1000));
  EXPECT_LE(milliseconds, static_cast<int>(longest * 1000));
}

TEST(VnServices, PublishedPropertiesSurviveAStreamingRoundTrip) {
  // Reading UseXPThemes into the target sets the platform's theme properties.
  const testing::ThemeScope scope;
  TVnApplication source(nullptr);
  source.SetName(u"Services");
  source.SetForceANSI(true);
  source.SetLogMask(u"l#");
  source.SetCompany(u"Acme");
  source.SetVersion(u"2.0");
  source.SetOptions({aoLogDate, aoLogTime});
  source.SetLogPrefix(ppFixed);
  source.SetLogName(u"/var/tmp/kestrel.txt");
  source.SetLogMaxsize(4096);
  source.SetLogMaxAction(laBackupLog);
  source.SetDlgEffectDelay(7);
  source.SetThemeGlobalMode(ttmNative);
  source.SetThemeUseColorProperty(false);
  const String text = ComponentToString(&source);

  TVnApplication target(nullptr);
  StringToComponent(text, &target);
  EXPECT_EQ(target.Name(), u"Services");
  EXPECT_TRUE(target.ForceANSI());
  EXPECT_EQ(target.LogMask(), u"l#");
  EXPECT_EQ(target.Company(), u"Acme");
  EXPECT_EQ(target.Version(), u"2.0");
  EXPECT_EQ(target.Options(), (TVnApplicationOptions{aoLogDate, aoLogTime}));
  EXPECT_EQ(target.LogPrefix(), ppFixed);
  EXPECT_EQ(target.LogName(), u"/var/tmp/kestrel.txt");
  EXPECT_EQ(target.LogMaxsize(), 4096);
  EXPECT_EQ(target.LogMaxAction(), laBackupLog);
  EXPECT_EQ(target.DlgEffectDelay(), 7);
  EXPECT_EQ(target.ThemeGlobalMode(), ttmNative);
  EXPECT_FALSE(target.ThemeUseColorProperty());
  EXPECT_EQ(ComponentToString(&target), text);
}

// Records what QuitWindows asked for and answers as it is told.
class TRecordingSession : public TVnSessionControl {
 public:
  bool tokenOk = true, privilegeOk = true, exitOk = true;
  std::vector<std::string>* calls;
  explicit TRecordingSession(std::vector<std::string>* log) : calls(log) {}
  bool OpenProcessToken() override {
    calls->push_back("token");
    return tokenOk;
  }
  bool EnableShutdownPrivilege() override {
    calls->push_back("privilege");
    return privilegeOk;
  }
  bool ExitWindows(platform::UINT flags) override {
    calls->push_back("exit " + std::to_string(flags));
    return exitOk;
  }
};

TEST(VnServices, QuitWindowsAsksForThePrivilegeThenTheForcedRequest) {
  TVnApplication app(nullptr);
  std::vector<std::string> calls;
  auto install = [&](bool token, bool privilege, bool exit) {
    auto session = std::make_unique<TRecordingSession>(&calls);
    session->tokenOk = token;
    session->privilegeOk = privilege;
    session->exitOk = exit;
    app.SetSessionControl(std::move(session));
  };
  install(false, true, true);
  EXPECT_FALSE(app.QuitWindows(ecQuit));
  install(true, false, true);
  EXPECT_FALSE(app.QuitWindows(ecReboot));
  install(true, true, false);
  EXPECT_FALSE(app.QuitWindows(ecRestart));  // logging off needs no privilege
  EXPECT_FALSE(Application()->Terminated());
  EXPECT_EQ(calls, (std::vector<std::string>{"token", "token", "privilege", "exit 0"}));
  calls.clear();
  install(true, true, true);
  EXPECT_TRUE(app.QuitWindows(ecReboot));
  EXPECT_TRUE(app.QuitWindows(ecQuit));
  EXPECT_EQ(calls, (std::vector<std::string>{"token", "privilege", "exit 6", "token", "privilege", "exit 5"}));
  EXPECT_TRUE(Application()->Terminated());
}

TEST(VnServices, UnicodeTitleIsTheApplicationWindowsText) {
  TVnApplication app(nullptr);
  Application();
  const String title = u"Kestrel \u00FCber \U0001F985";
  app.SetUnicodeTitle(title);
  EXPECT_EQ(app.UnicodeTitle(), title);
  platform::WCHAR buffer[64] = {};
  const int n = platform::GetWindowTextW(Application()->Handle(), buffer, 64);
  EXPECT_EQ(String(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n)), title);
  app.SetUnicodeTitle(String());
}

TEST(VnServices, SettingsStoreWorksUnderTheDefaultRegistryPathUntilGivenItsOwn) {
  TVnApplication app(nullptr);
  app.SetCompany(u"KestrelTest");
  TVnIniCtrl* ini = app.Ini();
  ASSERT_NE(ini, nullptr);
  EXPECT_EQ(ini->EffectivePath(), app.GetDefaultRegPath());
  ini->WriteString(u"Window", u"Caption", u"Downloads");
  ini->WriteInteger(u"Window", u"Left", -40);
  ini->WriteBool(u"Window", u"Maximized", true);
  EXPECT_EQ(ini->ReadString(u"Window", u"Caption", u"?"), u"Downloads");
  EXPECT_EQ(ini->ReadInteger(u"Window", u"Left", 0), -40);
  EXPECT_TRUE(ini->ReadBool(u"Window", u"Maximized", false));
  EXPECT_EQ(ini->ReadInteger(u"Window", u"Caption", 7), 7);  // another kind: the fallback
  EXPECT_EQ(ini->ReadString(u"Missing", u"Caption", u"none"), u"none");

  ini->SetPath(u"Software\\KestrelOther");
  EXPECT_FALSE(ini->ValueExists(u"Window", u"Caption"));
  ini->SetPath(String());
  ini->DeleteKey(u"Window", u"Left");
  EXPECT_FALSE(ini->ValueExists(u"Window", u"Left"));
  EXPECT_TRUE(ini->ValueExists(u"Window", u"Caption"));
  ini->EraseSection(u"Window");
  EXPECT_FALSE(ini->SectionExists(u"Window"));
}

}  // namespace
}  // namespace kestrel
