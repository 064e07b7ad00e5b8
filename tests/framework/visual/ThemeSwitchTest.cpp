#include <gtest/gtest.h>

#include "VisualTestSupport.h"
#include "framework/Application.h"
#include "framework/Button.h"
#include "platform/theme/UxTheme.h"

namespace kestrel {
namespace {

using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

TEST(ThemeSwitch, FlippingTheLookRepaintsOpenFormsAndTheirControls) {
  platform::SetThemeActive(true);
  ShownForm f;
  auto* button = new TButton(f.form);
  button->SetParent(f.form);
  button->SetBounds(10, 10, 80, 25);
  Pump();
  // A point of the face clear of the caption, and the form's own face.
  EXPECT_EQ(ClientPixel(*button, 6, 6), platform::RGB(0xFB, 0xFB, 0xFB));
  EXPECT_EQ(ClientPixel(*f.form, 150, 150), platform::RGB(0xF3, 0xF3, 0xF3));
  platform::SetThemeActive(false);
  Pump();
  EXPECT_EQ(ClientPixel(*button, 6, 6), platform::RGB(212, 208, 200));
  EXPECT_EQ(ClientPixel(*f.form, 150, 150), platform::RGB(212, 208, 200));
  platform::SetThemeActive(true);
  Pump();
  EXPECT_EQ(ClientPixel(*button, 6, 6), platform::RGB(0xFB, 0xFB, 0xFB));
}

TEST(ThemeSwitch, OnMessageSeesQueuedMessagesAndMayKeepThemFromDispatch) {
  ShownForm f;
  std::vector<platform::UINT> seen;
  int clicks = 0;
  auto* button = new TButton(f.form);
  button->SetParent(f.form);
  button->OnClick = [&](TObject*) { ++clicks; };
  Pump();
  Application()->OnMessage = [&](platform::MSG& msg, bool& handled) {
    if (msg.hwnd != button->Handle()) return;
    seen.push_back(msg.message);
    handled = msg.message == platform::WM_KEYDOWN;
  };
  platform::PostMessageW(button->Handle(), platform::WM_KEYDOWN, platform::VK_SPACE, 0);
  platform::PostMessageW(button->Handle(), platform::WM_KEYUP, platform::VK_SPACE, 0);
  Application()->ProcessMessages();
  Application()->OnMessage = nullptr;
  EXPECT_EQ(seen, (std::vector<platform::UINT>{platform::WM_KEYDOWN, platform::WM_KEYUP}));
  EXPECT_EQ(clicks, 0) << "the key never went down for the button";
}

}  // namespace
}  // namespace kestrel
