// The clipboard and the PRIMARY selection on a real X server (run under xvfb-run), read and set
// by another program (xclip): text copied here is pasted there and the other way round, with
// line breaks as each side writes them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <string>
#include <thread>

#include "platform/backend/BackendSelection.h"
#include "platform/window/Backend.h"
#include "platform/window/Clipboard.h"
#include "platform/window/internal/WindowManager.h"
#include "tests/support/CommandOutput.h"

namespace kestrel::platform {
namespace {

class X11Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    if (std::system("command -v xclip >/dev/null") != 0) GTEST_SKIP() << "xclip is not installed";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    if (!InstallBackend("sdl")) GTEST_SKIP() << "SDL could not open the display";
  }
  // What xclip reads from `selection` while this process serves the request.
  std::string ReadWithXclip(const char* selection) {
    auto reading = std::async(std::launch::async, ::kestrel::testing::CommandOutput,
                              std::string("timeout 5 xclip -o -selection ") + selection + " 2>/dev/null");
    while (reading.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) Wm().GetBackend().PumpEvents();
    return reading.get();
  }
  // xclip keeps owning `selection` in the background until another owner takes it over. Its
  // background half takes the selection after the command returns: wait until it has.
  void SetWithXclip(const char* selection, const std::string& text) {
    std::string command = "printf '%s' '" + text + "' | xclip -i -selection " + selection;
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (int tries = 0; tries < 50 && ReadWithXclip(selection) != text; ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
};

TEST_F(X11Clipboard, CopiedTextReachesOtherProgramsAndTheirsComesIn) {
  ASSERT_TRUE(SetClipboardUnicodeText(u"Grüße\r\naus Kestrel"));
  EXPECT_EQ(ReadWithXclip("clipboard"), "Grüße\naus Kestrel");

  SetWithXclip("clipboard", "pasted\nfrom xclip");
  EXPECT_EQ(GetClipboardUnicodeText(), u"pasted\r\nfrom xclip");
  SetClipboardUnicodeText(u"");  // ends the xclip that held it
}

TEST_F(X11Clipboard, SelectedTextIsOfferedAsPrimary) {
  ASSERT_TRUE(SetPrimarySelectionText(u"selected\r\ntext"));
  EXPECT_EQ(ReadWithXclip("primary"), "selected\ntext");
  EXPECT_EQ(ReadWithXclip("clipboard").find("selected"), std::string::npos);

  SetWithXclip("primary", "middle\nclick");
  EXPECT_EQ(GetPrimarySelectionText(), u"middle\r\nclick");
  SetPrimarySelectionText(u"");
}

}  // namespace
}  // namespace kestrel::platform
