// Menus by handle: the platform's standard edit menu, trimmed and greyed the way an edit control
// does before showing it, chosen from with the keyboard.

#include <gtest/gtest.h>

#include "VisualTestSupport.h"
#include "framework/MenuHandle.h"
#include "platform/os/Paths.h"

namespace kestrel {
namespace {

using platform::InjectKeyStroke;
using testing::RunModal;
using testing::ShownForm;

String TextOf(HMENU menu, UINT item, UINT flags = MF_BYCOMMAND) {
  platform::WCHAR buffer[64];
  GetMenuStringW(menu, item, buffer, 64, flags);
  return buffer;
}

class MenuHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar = LoadMenuW(platform::GetModuleHandleW(u"USER32.dll"), platform::MAKEINTRESOURCEW(1));
    ASSERT_TRUE(bar);
    menu = GetSubMenu(bar, 0);
    ASSERT_TRUE(menu);
  }
  void TearDown() override {
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(menu));  // went with the bar
  }
  // Runs TrackPopupMenu while `keys` are pressed one per idle turn of the menu's loop.
  BOOL Track(UINT flags, std::vector<platform::WORD> keys, size_t expectedSteps) {
    BOOL result = -1;
    std::vector<std::function<void()>> steps;
    for (platform::WORD key : keys) steps.push_back([key] { InjectKeyStroke(key); });
    const size_t ran = RunModal(
        [&] {
          platform::POINT at = form->ClientToScreen(Point(10, 10));
          result = TrackPopupMenu(menu, flags, at.x, at.y, 0, form->Handle(), nullptr);
        },
        steps, [] { InjectKeyStroke(platform::VK_ESCAPE); });
    EXPECT_EQ(ran, expectedSteps);
    return result;
  }

  ShownForm form{300, 200};
  HMENU bar = nullptr;
  HMENU menu = nullptr;
};

TEST_F(MenuHandleTest, StandardEditMenuTrimsGreysAndRenames) {
  EXPECT_EQ(GetMenuItemCount(menu), 12);
  EXPECT_EQ(GetMenuItemID(menu, 0), 772u);
  EXPECT_EQ(GetMenuItemID(menu, 1), 0u);  // a line
  EXPECT_EQ(GetMenuItemID(menu, 7), 177u);
  EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(-1));  // the popup entry
  EXPECT_EQ(TextOf(menu, 768), u"Cu&t");
  // By command the search reaches into the bar's popup entry.
  EXPECT_EQ(TextOf(bar, 177), u"Select &All");

  for (UINT id : {0x8001u, 0x8000u, 0x8013u}) EXPECT_TRUE(DeleteMenu(menu, id, MF_BYCOMMAND));
  EXPECT_TRUE(DeleteMenu(menu, 8, MF_BYPOSITION));
  EXPECT_EQ(GetMenuItemCount(menu), 8);
  EXPECT_FALSE(DeleteMenu(menu, 0x8000, MF_BYCOMMAND));
  EXPECT_FALSE(DeleteMenu(menu, 8, MF_BYPOSITION));

  EXPECT_EQ(EnableMenuItem(menu, 769, MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(menu, 769, MF_GRAYED), MF_GRAYED);
  EXPECT_EQ(GetMenuState(menu, 769, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(menu, 4711, MF_GRAYED), static_cast<UINT>(-1));
  EXPECT_TRUE(ModifyMenuW(menu, 7, MF_BYPOSITION | MF_STRING, 177, u"&Select All"));
  EXPECT_EQ(TextOf(menu, 177), u"&Select All");
  EXPECT_EQ(GetMenuState(menu, 177, MF_BYCOMMAND), MF_ENABLED);
}

TEST_F(MenuHandleTest, ChosenCommandIsPostedOrReturnedAndGreyedOnesCannotBeChosen) {
  EnableMenuItem(menu, 769, MF_GRAYED);
  // C names the greyed Copy: nothing happens; P chooses Paste.
  EXPECT_EQ(Track(TPM_RIGHTBUTTON, {'C', 'P'}, 2), platform::TRUE);
  platform::MSG msg{};
  ASSERT_TRUE(
      platform::PeekMessageW(&msg, form->Handle(), platform::WM_COMMAND, platform::WM_COMMAND, platform::PM_REMOVE));
  EXPECT_EQ(msg.wParam, 770u);
  EXPECT_EQ(msg.lParam, 0);

  EXPECT_EQ(Track(TPM_RIGHTBUTTON | TPM_RETURNCMD, {'T'}, 1), 768);
  EXPECT_EQ(Track(TPM_RIGHTBUTTON | TPM_RETURNCMD, {platform::VK_ESCAPE}, 1), 0);
  EXPECT_EQ(Track(TPM_RIGHTBUTTON, {platform::VK_ESCAPE}, 1), platform::FALSE);
  EXPECT_FALSE(
      platform::PeekMessageW(&msg, form->Handle(), platform::WM_COMMAND, platform::WM_COMMAND, platform::PM_REMOVE));
}

TEST(MenuHandles, UnknownResourcesAndStaleHandles) {
  platform::SetLastError(0);
  EXPECT_EQ(LoadMenuW(platform::GetModuleHandleW(u"user32"), platform::MAKEINTRESOURCEW(2)), nullptr);
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(LoadMenuW(platform::GetModuleHandleW(nullptr), platform::MAKEINTRESOURCEW(1)), nullptr);
  HMENU popup = CreatePopupMenu();
  EXPECT_TRUE(AppendMenuW(popup, MF_STRING, 5, u"Five"));
  EXPECT_TRUE(DestroyMenu(popup));
  EXPECT_FALSE(AppendMenuW(popup, MF_STRING, 6, u"Six"));
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_INVALID_MENU_HANDLE);
  HMENU next = CreatePopupMenu();
  EXPECT_NE(next, popup);  // handles are not used again
  DestroyMenu(next);
}

}  // namespace
}  // namespace kestrel
