// An edit on a real X server (run under xvfb-run): keys typed by another program (xdotool) reach
// it as text and commands, and its clipboard and PRIMARY selection are the display's, read and
// set by xclip.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>

#include "edit/KsEdit.h"
#include "framework/Form.h"
#include "platform/backend/BackendSelection.h"
#include "platform/window/Backend.h"
#include "platform/window/Clipboard.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowManager.h"
#include "tests/support/CommandOutput.h"

namespace kestrel {
namespace {

namespace pf = platform;

// The suite's name puts it under the lock of the tests that use the display's selections.
class X11ClipboardEditSession : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    if (std::system("command -v xclip >/dev/null && command -v xdotool >/dev/null") != 0)
      GTEST_SKIP() << "xclip or xdotool is not installed";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    if (!pf::InstallBackend("sdl")) GTEST_SKIP() << "SDL could not open the display";
    form_ = TCustomForm::Create<TForm>(nullptr);
    form_->SetPosition(poDesigned);
    form_->SetCaption(u"Kestrel X11 edit session");
    form_->SetBounds(40, 40, 320, 120);
    edit_ = new TKsEdit(form_);
    edit_->SetParent(form_);
    edit_->SetBounds(10, 10, 280, 24);
    form_->Show();
    edit_->SetFocus();
    Serve(std::chrono::milliseconds(200));
    Run("xdotool windowfocus --sync $(xdotool search --sync --name '^Kestrel X11 edit session$' | head -1)");
  }
  void TearDown() override {
    if (!form_) return;
    form_->BeforeDestruction();
    delete form_;
  }

  // Runs the display's events and the windows' messages for a while.
  static void Serve(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    do {
      pf::Wm().GetBackend().PumpEvents();
      pf::MSG msg;
      while (pf::PeekMessageW(&msg, nullptr, 0, 0, pf::PM_REMOVE)) {
        pf::TranslateMessage(&msg);
        pf::DispatchMessageW(&msg);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
  }
  // Runs `command` while this process keeps serving the display (xclip asks it for the
  // selections, xdotool's keys must be read); returns what the command wrote.
  static std::string Run(const std::string& command) {
    auto running =
        std::async(std::launch::async, ::kestrel::testing::CommandOutput, "timeout 10 " + command + " 2>/dev/null");
    while (running.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
      Serve(std::chrono::milliseconds(10));
    Serve(std::chrono::milliseconds(100));
    return running.get();
  }
  static void Keys(const std::string& keys) { Run("xdotool key --delay 30 " + keys); }

  TForm* form_ = nullptr;
  TKsEdit* edit_ = nullptr;
};

TEST_F(X11ClipboardEditSession, TypedKeysAndChordsEditTheText) {
  Run("xdotool type --delay 30 'Hello, Xvfb 42'");
  EXPECT_EQ(edit_->Text(), u"Hello, Xvfb 42");
  Keys("BackSpace BackSpace ctrl+Left Delete");
  EXPECT_EQ(edit_->Text(), u"Hello, vfb ");
  Keys("ctrl+a");
  EXPECT_EQ(edit_->SelLength(), 11);
  Keys("ctrl+z");
  EXPECT_EQ(edit_->Text(), u"Hello, Xvfb ");
}

TEST_F(X11ClipboardEditSession, ClipboardAndPrimarySelectionAreTheDisplays) {
  Run("xdotool type --delay 30 'copy me'");
  Keys("ctrl+a ctrl+c");
  EXPECT_EQ(Run("xclip -o -selection clipboard"), "copy me");

  ASSERT_EQ(std::system("printf 'from xclip' | xclip -i -selection clipboard >/dev/null 2>&1"), 0);
  // xclip's background half takes the selection after the command returned.
  for (int tries = 0; tries < 50 && Run("xclip -o -selection clipboard") != "from xclip"; ++tries) {
  }
  Keys("End ctrl+v");
  EXPECT_EQ(edit_->Text(), u"copy mefrom xclip");

  // Selecting offers the text as PRIMARY, without touching the clipboard.
  Keys("ctrl+Left shift+End");
  EXPECT_EQ(edit_->SelText(), u"xclip");
  EXPECT_EQ(Run("xclip -o -selection primary"), "xclip");
  EXPECT_EQ(Run("xclip -o -selection clipboard"), "from xclip");
  pf::SetClipboardUnicodeText(u"");  // ends the xclip that holds it
}

}  // namespace
}  // namespace kestrel
