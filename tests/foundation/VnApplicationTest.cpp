#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/CustomControl.h"
#include "framework/Exceptions.h"
#include "framework/Form.h"
#include "framework/StringList.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowApi.h"
#include "tests/support/ReadFileText.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel {
namespace {

// Counts the theme messages that reach it, per message.
template <class Base>
class TCounting : public Base {
 public:
  using Base::Base;
  std::map<platform::UINT, int> heard;

 protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == CM_VNTHEMECHANGE || message.Msg == platform::WM_THEMECHANGED) ++heard[message.Msg];
    Base::WndProc(message);
  }
};
using TCountingForm = TCounting<TForm>;
using TCountingControl = TCounting<TCustomControl>;

TEST(VnApplication, ApplicationTimersUseTheirTableAndNeverOverflowIt) {
  TVnApplication app(nullptr);
  int calls = 0;
  const platform::WORD first = app.AddTimer(100, [&](TObject*) { ++calls; });
  EXPECT_EQ(first, 0xFD01);
  EXPECT_THROW(app.AddTimer(120, nullptr), Exception);  // refused by the 50 ms pool
  EXPECT_EQ(app.Timers()->Count(), 1);                  // ... and its slot stays free
  for (int i = 1; i < kVnAppTimerSlots; ++i) ASSERT_EQ(app.AddTimerExt(50, -1, false, nullptr), 0xFD01 + i);
  EXPECT_EQ(app.Timers()->Count(), kVnAppTimerSlots);
  EXPECT_EQ(app.AddTimer(50, nullptr), 0);  // all taken: nothing added
  EXPECT_EQ(app.Timers()->Count(), kVnAppTimerSlots);

  platform::HeadlessBackend::Current()->Advance(210);
  EXPECT_EQ(calls, 2);

  app.RemoveTimer(0xFD00);        // not an application identifier
  app.RemoveTimer(0xFD00 + 251);  // beyond the table
  EXPECT_EQ(app.Timers()->Count(), kVnAppTimerSlots);
  app.RemoveTimer(0xFD05);
  EXPECT_EQ(app.AddTimer(50, nullptr), 0xFD05);  // the freed slot is reused first
}

TEST(VnApplication, LogStartsAfreshWithAHeaderThenAppendsNumberedEntries) {
  testing::TempDir dir;
  const auto path = dir / "app.LOG";
  std::ofstream(path) << "left over from the last run\r\n";
  {
    TVnApplication app(nullptr);
    app.SetLogPrefix(ppFixed);
    app.SetLogName(Utf8ToUtf16(path.string()));
    app.SetVersion(u"1.0");
    app.OnHeaderWrite = [](TObject*, TStringList* target) { target->Add(u"Mirror  : primary"); };
    app.LogWrite(u"first");
    app.LogWrite(u"second");
    app.LogWrite(u"#Line");
  }
  const std::string log = testing::ReadFileText(path);
  EXPECT_EQ(log.find("left over"), std::string::npos);
  EXPECT_EQ(log.rfind("\r\nLogFile started: ", 0), 0u);
  EXPECT_NE(log.find("\r\nVersion        : 1.0\r\nMirror  : primary\r\n*****"), std::string::npos);
  const std::string tail = "\r\nEntries:\r\n00001: first\r\n00002: second\r\n" + std::string(80, '*') + "\r\n";
  ASSERT_GE(log.size(), tail.size());
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
  EXPECT_EQ(log.find("LogFile started", 3), std::string::npos);  // one header only

  TVnApplication app(nullptr);
  app.SetLogPrefix(ppFixed);
  app.SetLogName(Utf8ToUtf16((dir / "noext").string()));
  EXPECT_EQ(Utf16ToUtf8(app.LogName()), (dir / "noext.LOG").string());
  app.SetLogName(Utf8ToUtf16((dir / "missing" / "x.txt").string()));
  app.LogWrite(u"dropped");  // an unopenable file drops the entry quietly
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(VnApplication, AnOversizedLogIsBackedUpToTheFirstFreeName) {
  testing::TempDir dir;
  std::ofstream(dir / "app.LOG") << std::string(200, 'x');
  std::ofstream(dir / "app.l0") << "older";
  TVnApplication app(nullptr);
  app.SetLogPrefix(ppFixed);
  app.SetLogName(Utf8ToUtf16((dir / "app.LOG").string()));
  app.SetOptions({aoLogNr});
  app.SetLogMaxAction(laBackupLog);
  int raised = 0;
  app.OnMaxLogSize = [&](TObject*, const String&, bool& cancel) { cancel = ++raised == 1; };
  app.SetLogMaxsize(100);  // 100 or less: no limit
  app.LogWrite(u"kept");
  EXPECT_EQ(raised, 0);
  EXPECT_EQ(testing::ReadFileText(dir / "app.LOG"), std::string(200, 'x') + "00001: kept\r\n");
  std::ofstream(dir / "app.LOG") << std::string(200, 'x');
  app.SetLogMaxsize(150);
  app.LogWrite(u"cancelled");  // the handler refuses: nothing written
  EXPECT_EQ(testing::ReadFileText(dir / "app.LOG"), std::string(200, 'x'));
  app.LogWrite(u"entry");
  EXPECT_EQ(testing::ReadFileText(dir / "app.l1"), std::string(200, 'x'));
  EXPECT_EQ(testing::ReadFileText(dir / "app.l0"), "older");
  const std::string log = testing::ReadFileText(dir / "app.LOG");
  EXPECT_NE(log.find("LogFile started"), std::string::npos);
  EXPECT_NE(log.find("00002: entry\r\n"), std::string::npos);
  EXPECT_EQ(raised, 2);

  app.SetLogMaxAction(laClearLog);  // started afresh: the old text goes, the header comes back
  std::ofstream(dir / "app.LOG") << std::string(200, 'y');
  app.LogWrite(u"cleared");
  const std::string cleared = testing::ReadFileText(dir / "app.LOG");
  // The old text is gone (the header's executable path may well hold a 'y' of its own).
  EXPECT_EQ(cleared.find(std::string(200, 'y')), std::string::npos);
  EXPECT_NE(cleared.find("Entries:\r\n00003: cleared\r\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "app.l2"));
}

TEST(VnApplication, BrushBitmapRecoloursOnlyTheOddParityPixels) {
  TVnApplication app(nullptr);
  TBitmap* none = app.GetBrushBitmap(clNone);  // usable, and white
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->Canvas()->Pixels(1, 0), clWhite);
  TBitmap* red = app.GetBrushBitmap(0x0000FF);
  EXPECT_EQ(red, none);
  red->Canvas()->SetPixels(0, 0, 0x00FF00);  // an even pixel: a recolour must not touch it
  app.GetBrushBitmap(0xFF0000);
  EXPECT_EQ(red->Canvas()->Pixels(1, 0), 0xFF0000);
  EXPECT_EQ(red->Canvas()->Pixels(6, 7), 0xFF0000);
  EXPECT_EQ(red->Canvas()->Pixels(2, 2), clWhite);
  EXPECT_EQ(red->Canvas()->Pixels(0, 0), 0x00FF00);
  red->Canvas()->SetPixels(1, 0, 0x00FF00);
  app.GetBrushBitmap(0xFF0000);  // same colour: not redrawn
  EXPECT_EQ(red->Canvas()->Pixels(1, 0), 0x00FF00);
}

TEST(VnApplication, DefaultRegistryPathLeavesOutBlankParts) {
  TVnApplication app(nullptr);
  Application()->SetTitle(u"Kestrel");
  EXPECT_EQ(app.GetDefaultRegPath(), u"Software\\Kestrel\\");
  app.SetCompany(u"Acme\\");
  app.SetVersion(u"2.1");
  EXPECT_EQ(app.GetDefaultRegPath(), u"Software\\Acme\\Kestrel\\2.1\\");
  app.SetCompany(u"  ");
  EXPECT_EQ(app.GetDefaultRegPath(), u"Software\\Kestrel\\2.1\\");
  Application()->SetTitle(u"");
}

TEST(VnApplication, ThemeChangeReachesEveryFormAndWindowedDescendant) {
  TVnApplication app(nullptr);
  auto* shown = TCustomForm::Create<TCountingForm>(nullptr);
  auto* panel = new TCountingControl(shown);
  panel->SetParent(shown);
  auto* nested = new TCountingControl(shown);
  nested->SetParent(panel);
  shown->Show();
  auto* hidden = TCustomForm::Create<TCountingForm>(nullptr);
  platform::HeadlessBackend::Pump();

  app.SetThemeGlobalMode(ttmNative);
  EXPECT_EQ(shown->heard[CM_VNTHEMECHANGE], 1);
  EXPECT_EQ(shown->heard[platform::WM_THEMECHANGED], 1);
  EXPECT_EQ(panel->heard[CM_VNTHEMECHANGE], 1);
  EXPECT_EQ(panel->heard[platform::WM_THEMECHANGED], 1);
  EXPECT_EQ(nested->heard[platform::WM_THEMECHANGED], 1);
  EXPECT_EQ(hidden->heard[CM_VNTHEMECHANGE], 1);
  EXPECT_EQ(hidden->heard[platform::WM_THEMECHANGED], 0);

  app.SetThemeGlobalMode(ttmNative);    // unchanged: nothing sent
  app.SetUseXPThemesLibraryOnly(true);  // the forms themselves no longer hear WM_THEMECHANGED
  EXPECT_EQ(shown->heard[CM_VNTHEMECHANGE], 2);
  EXPECT_EQ(shown->heard[platform::WM_THEMECHANGED], 1);
  EXPECT_EQ(nested->heard[platform::WM_THEMECHANGED], 2);

  delete hidden;
  delete shown;
}

TEST(VnApplication, AThemeHandlerMayFreeFormsWhileTheChangeGoesRound) {
  TVnApplication app(nullptr);
  // One form frees another form that already heard the change, and itself; the last still hears it.
  class TFreeing : public TForm {
   public:
    using TForm::TForm;
    TCustomForm* victim = nullptr;

   protected:
    void WndProc(TMessage& message) override {
      if (message.Msg == CM_VNTHEMECHANGE && victim) {
        delete std::exchange(victim, nullptr);
        Release();
      }
      TForm::WndProc(message);
    }
  };
  auto* victim = TCustomForm::Create<TCountingForm>(nullptr);
  auto* freeing = TCustomForm::Create<TFreeing>(nullptr);
  auto* survivor = TCustomForm::Create<TCountingForm>(nullptr);
  freeing->victim = victim;
  victim->Show();
  freeing->Show();
  survivor->Show();
  platform::HeadlessBackend::Pump();
  app.SetThemeGlobalMode(ttmNative);
  EXPECT_EQ(survivor->heard[CM_VNTHEMECHANGE], 1);
  EXPECT_EQ(survivor->heard[platform::WM_THEMECHANGED], 1);
  platform::HeadlessBackend::Pump();  // the released form goes here
  delete survivor;
}

}  // namespace
}  // namespace kestrel
