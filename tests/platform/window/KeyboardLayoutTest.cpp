// The German layout and its dead keys, through ToUnicode and TranslateMessage.

#include "platform/window/InputInjection.h"
#include "platform/window/KeyboardLayout.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

class KeyboardLayoutTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    german_ = LoadKeyboardLayoutW(u"00000407", KLF_ACTIVATE);
  }
  void TearDown() override {
    ActivateKeyboardLayout(LoadKeyboardLayoutW(u"00000409", 0), 0);
    WindowTest::TearDown();
  }
  // ToUnicode for one key with the given modifiers held; the text it produced, and the count.
  std::u16string Type(UINT vk, std::initializer_list<int> held = {}, UINT flags = 0) {
    BYTE state[256] = {};
    for (int k : held) state[k] = k == VK_CAPITAL ? 0x01 : 0x80;
    WCHAR buf[8] = {u'#', u'#', u'#', u'#'};
    last_ = ToUnicode(vk, 0, state, buf, 8, flags);
    return std::u16string(buf, last_ < 0 ? 1 : last_);
  }
  HKL german_ = nullptr;
  int last_ = 0;
};

TEST_F(KeyboardLayoutTest, SelectingLayouts) {
  ASSERT_NE(german_, nullptr);
  EXPECT_EQ(GetKeyboardLayout(0), german_);
  EXPECT_EQ(Type('2', {VK_SHIFT}), u"\"");
  EXPECT_EQ(Type('Q', {VK_CONTROL, VK_MENU}), u"@");  // AltGr
  EXPECT_EQ(Type('7', {VK_CONTROL, VK_MENU}), u"{");
  EXPECT_EQ(Type('0', {VK_CONTROL, VK_MENU}), u"}");
  EXPECT_EQ(Type('3', {VK_CONTROL, VK_MENU}), u"³");
  EXPECT_EQ(Type('1', {VK_CONTROL, VK_MENU}), u"");
  EXPECT_EQ(last_, 0);
  EXPECT_EQ(Type(VK_OEM_3), u"ö");
  EXPECT_EQ(Type(VK_OEM_1, {VK_CAPITAL}), u"Ü");
  EXPECT_EQ(Type(VK_OEM_4, {VK_CAPITAL}), u"ß");  // Caps Lock does not shift ß
  EXPECT_EQ(Type(VK_DECIMAL), u",");
  SetLastError(0);
  EXPECT_EQ(LoadKeyboardLayoutW(u"0000040C", KLF_ACTIVATE), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(LoadKeyboardLayoutW(nullptr, 0), nullptr);
  EXPECT_EQ(ActivateKeyboardLayout(reinterpret_cast<HKL>(0x1234), 0), nullptr);
  EXPECT_EQ(GetKeyboardLayout(0), german_);
  // Back on US the same keys make US characters and nothing is dead.
  HKL us = LoadKeyboardLayoutW(u"00000409", 0);
  EXPECT_EQ(ActivateKeyboardLayout(us, 0), german_);
  EXPECT_EQ(Type('2', {VK_SHIFT}), u"@");
  EXPECT_EQ(Type(VK_OEM_5), u"\\");
  EXPECT_EQ(last_, 1);
  EXPECT_EQ(Type(VK_OEM_6, {VK_SHIFT}), u"}");
}

TEST_F(KeyboardLayoutTest, DeadKeysCombineWithTheNextKey) {
  EXPECT_EQ(Type(VK_OEM_5), u"^");
  EXPECT_EQ(last_, -1);
  EXPECT_EQ(Type('A', {VK_SHIFT}), u"Â");
  EXPECT_EQ(last_, 1);
  EXPECT_EQ(Type('A'), u"a");  // the accent was used up
  Type(VK_OEM_6);
  EXPECT_EQ(last_, -1);
  EXPECT_EQ(Type('E'), u"é");
  EXPECT_EQ(Type(VK_OEM_6, {VK_SHIFT}), u"`");
  EXPECT_EQ(last_, -1);
  EXPECT_EQ(Type('E'), u"è");
  Type(VK_OEM_6);
  EXPECT_EQ(Type('Y', {VK_CAPITAL}), u"Ý");
  // Shift on ^ is °, an ordinary character.
  EXPECT_EQ(Type(VK_OEM_5, {VK_SHIFT}), u"°");
  EXPECT_EQ(last_, 1);
}

TEST_F(KeyboardLayoutTest, DeadKeysThatCannotCombine) {
  Type(VK_OEM_5);
  EXPECT_EQ(Type('X'), u"^x");
  EXPECT_EQ(last_, 2);
  Type(VK_OEM_6);
  EXPECT_EQ(Type(VK_SPACE), u"´");  // space gives the accent itself
  EXPECT_EQ(last_, 1);
  Type(VK_OEM_5);
  EXPECT_EQ(Type(VK_OEM_5), u"^^");  // a second dead key does not wait again
  EXPECT_EQ(last_, 2);
  EXPECT_EQ(Type('E'), u"e");
  Type(VK_OEM_6, {VK_SHIFT});
  EXPECT_EQ(Type('Y'), u"`y");  // no grave y
  // Keys without a character leave the accent waiting; a peek does not consume it.
  Type(VK_OEM_5);
  EXPECT_EQ(Type(VK_SHIFT, {VK_SHIFT}), u"");
  EXPECT_EQ(last_, 0);
  EXPECT_EQ(Type('O', {}, kToUnicodeNoStateChange), u"ô");
  EXPECT_EQ(Type('O'), u"ô");
  // Switching layouts drops a waiting accent.
  Type(VK_OEM_5);
  ActivateKeyboardLayout(LoadKeyboardLayoutW(u"00000409", 0), 0);
  ActivateKeyboardLayout(german_, 0);
  EXPECT_EQ(Type('A'), u"a");
  // A one-character buffer receives what fits, and the count says only that much.
  Type(VK_OEM_5);
  BYTE state[256] = {};
  WCHAR buf[2] = {u'#', u'#'};
  EXPECT_EQ(ToUnicode('X', 0, state, buf, 1, 0), 1);
  EXPECT_EQ(buf[0], u'^');
  EXPECT_EQ(buf[1], u'#');
}

TEST_F(KeyboardLayoutTest, TranslateMessagePostsDeadCharThenChar) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  SetFocus(top);
  Pump();
  Log().Clear();
  InjectKeyStroke(VK_OEM_6);
  InjectKeyStroke('E');
  InjectKeyStroke(VK_OEM_5);
  InjectKeyStroke('X');
  InjectKeyStroke(VK_OEM_5);
  InjectKeyStroke(VK_SPACE);
  Pump();
  std::vector<UINT> seq;
  std::u16string typed, dead;
  for (auto& e : Log().entries) {
    if (e.hwnd != top || e.msg < WM_KEYDOWN || e.msg > WM_DEADCHAR) continue;
    seq.push_back(e.msg);
    if (e.msg == WM_CHAR) typed += static_cast<char16_t>(e.wParam);
    if (e.msg == WM_DEADCHAR) dead += static_cast<char16_t>(e.wParam);
  }
  EXPECT_SEQUENCE(seq, WM_KEYDOWN, WM_DEADCHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP,      // ´ e
                  WM_KEYDOWN, WM_DEADCHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_CHAR, WM_KEYUP,  // ^ x
                  WM_KEYDOWN, WM_DEADCHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP);          // ^ space
  EXPECT_EQ(dead, u"´^^");
  EXPECT_EQ(typed, u"é^x^");
}

TEST_F(KeyboardLayoutTest, CtrlOnPunctuationKeysMakesTheControlCharacters) {
  // German: the keys in the places of US [ \ ] give ^[ ^\ ^], as < does; Shift adds ^^ and ^_.
  EXPECT_EQ(Type(VK_OEM_1, {VK_CONTROL}), u"\x1B");
  EXPECT_EQ(Type(VK_OEM_2, {VK_CONTROL}), u"\x1C");
  EXPECT_EQ(Type(VK_OEM_PLUS, {VK_CONTROL}), u"\x1D");
  EXPECT_EQ(Type(VK_OEM_102, {VK_CONTROL}), u"\x1C");
  EXPECT_EQ(Type('6', {VK_CONTROL, VK_SHIFT}), u"\x1E");
  EXPECT_EQ(Type(VK_OEM_MINUS, {VK_CONTROL, VK_SHIFT}), u"\x1F");
  for (int vk : {VK_OEM_MINUS, VK_OEM_3, VK_OEM_4, VK_OEM_7, int('6')}) EXPECT_EQ(Type(vk, {VK_CONTROL}), u"") << vk;
  EXPECT_EQ(Type(VK_OEM_1, {VK_CONTROL, VK_SHIFT}), u"");
  // Ctrl on the dead key ^ is no accent: the next letter stays plain.
  EXPECT_EQ(Type(VK_OEM_5, {VK_CONTROL}), u"");
  EXPECT_EQ(Type('A'), u"a");
  // US: the same characters on their own keys.
  ActivateKeyboardLayout(LoadKeyboardLayoutW(u"00000409", 0), 0);
  EXPECT_EQ(Type(VK_OEM_4, {VK_CONTROL}) + Type(VK_OEM_5, {VK_CONTROL}) + Type(VK_OEM_6, {VK_CONTROL}),
            u"\x1B\x1C\x1D");
  EXPECT_EQ(Type(VK_OEM_MINUS, {VK_CONTROL, VK_SHIFT}), u"\x1F");
  EXPECT_EQ(Type(VK_OEM_MINUS, {VK_CONTROL}), u"");
  EXPECT_EQ(Type(VK_OEM_4, {VK_CONTROL, VK_SHIFT}), u"");
  EXPECT_EQ(Type(VK_BACK, {VK_CONTROL, VK_SHIFT}), u"\x7F");
}

}  // namespace
}  // namespace kestrel::platform::testing
