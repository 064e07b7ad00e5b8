#include <gtest/gtest.h>

#include "VisualTestSupport.h"
#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "platform/theme/ThemeRecorder.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

TEST(ThemeSwitch, FlippingTheLookRepaintsOpenFormsAndTheirControls) {
  const testing::ThemeScope themed(true);
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

// The parts and states the standard controls ask the theme for, as they paint.
TEST(ThemeSwitch, StandardControlsAskForThePartsOfTheirState) {
  const testing::ThemeScope themed(true);
  ShownForm f;
  auto* button = new TButton(f.form);
  button->SetParent(f.form);
  button->SetDefault(true);
  auto* box = new TCheckBox(f.form);
  box->SetParent(f.form);
  box->SetBounds(10, 40, 80, 17);
  box->SetAllowGrayed(true);
  box->SetState(cbGrayed);
  box->SetEnabled(false);
  auto* edit = new TEdit(f.form);
  edit->SetParent(f.form);
  edit->SetBounds(10, 70, 80, 21);
  Pump();
  edit->SetFocus();
  Pump();
  std::vector<platform::ThemeDrawRecord> seen;
  auto previous = platform::SetThemeDrawObserver([&](const platform::ThemeDrawRecord& r) { seen.push_back(r); });
  for (TWinControl* control :
       {static_cast<TWinControl*>(button), static_cast<TWinControl*>(box), static_cast<TWinControl*>(edit)}) {
    control->Invalidate();
    control->Update();
  }
  platform::SetThemeDrawObserver(previous);
  auto stateOf = [&](int part) {
    for (const auto& r : seen)
      if (r.partId == part) return r.stateId;
    return -1;
  };
  EXPECT_EQ(stateOf(platform::BP_PUSHBUTTON), platform::PBS_DEFAULTED);
  EXPECT_EQ(stateOf(platform::BP_CHECKBOX), platform::CBS_MIXEDDISABLED);
  EXPECT_EQ(stateOf(platform::EP_EDITBORDER_NOSCROLL), platform::EPSN_FOCUSED);
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
