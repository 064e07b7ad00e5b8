// The caret, the clipboard and the message box dialog.

#include "platform/gdi/Gdi.h"
#include "platform/os/GlobalMemory.h"
#include "platform/window/Caret.h"
#include "platform/window/Clipboard.h"
#include "platform/window/MessageBox.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::platform::testing {
namespace {

class CaretClipboardDialog : public WindowTest {
 protected:
  void TearDown() override {
    SetMessageBoxScript(nullptr);
    SetMessageBoxShownHook(nullptr);
    DestroyCaret();
    WindowTest::TearDown();
  }
  static COLORREF Pixel(HWND hwnd, int x, int y) {
    HDC hdc = GetDC(hwnd);
    COLORREF c = GetPixel(hdc, x, y);
    ReleaseDC(hwnd, hdc);
    return c;
  }
};

TEST_F(CaretClipboardDialog, CaretShowsBlinksAndHidesWhilePainting) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  Pump();
  COLORREF background = Pixel(top, 10, 10);
  ASSERT_TRUE(CreateCaret(top, nullptr, 2, 12));
  SetCaretPos(10, 10);
  EXPECT_EQ(GetCaretState().hideCount, 1);  // created hidden
  EXPECT_EQ(Pixel(top, 10, 10), background);
  ShowCaret(top);
  EXPECT_TRUE(GetCaretState().drawn);
  EXPECT_EQ(Pixel(top, 10, 10), background ^ 0xFFFFFF);  // inverted
  EXPECT_EQ(Pixel(top, 12, 10), background);
  // It blinks on the caret timer.
  Backend().Advance(GetCaretBlinkTime());
  EXPECT_FALSE(GetCaretState().drawn);
  Backend().Advance(GetCaretBlinkTime());
  EXPECT_TRUE(GetCaretState().drawn);
  // Painting the window takes the caret away and puts it back afterwards, uncorrupted.
  InvalidateRect(top, nullptr, TRUE);
  Pump();
  EXPECT_TRUE(GetCaretState().drawn);
  EXPECT_EQ(Pixel(top, 10, 10), background ^ 0xFFFFFF);
  // Moving keeps one image; hiding nests.
  SetCaretPos(30, 30);
  EXPECT_EQ(Pixel(top, 10, 10), background);
  EXPECT_EQ(Pixel(top, 30, 30), background ^ 0xFFFFFF);
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p, (POINT{30, 30}));
  HideCaret(top);
  HideCaret(top);
  ShowCaret(top);
  EXPECT_EQ(Pixel(top, 30, 30), background);
  ShowCaret(top);
  EXPECT_EQ(Pixel(top, 30, 30), background ^ 0xFFFFFF);
  EXPECT_FALSE(ShowCaret(top));  // not below zero
  // Destroying the window takes the caret with it.
  DestroyWindow(top);
  EXPECT_EQ(GetCaretState().hwnd, nullptr);
  EXPECT_FALSE(SetCaretPos(1, 1));
}

HGLOBAL TextBlock(const std::u16string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  auto* p = static_cast<char16_t*>(GlobalLock(block));
  std::copy(text.c_str(), text.c_str() + text.size() + 1, p);
  GlobalUnlock(block);
  return block;
}

TEST_F(CaretClipboardDialog, ClipboardTextAndRegisteredFormats) {
  HWND top = CreateTop();
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, TextBlock(u"x")), nullptr);  // not open
  ASSERT_TRUE(OpenClipboard(top));
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(GetClipboardOwner(), top);
  ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, TextBlock(u"Grüße")));
  UINT fill = RegisterClipboardFormatW(u"GDI+ Fill");
  EXPECT_EQ(RegisterClipboardFormatW(u"gdi+ fill"), fill);
  WCHAR name[32];
  EXPECT_EQ(GetClipboardFormatNameW(fill, name, 32), 9);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 3);
  SetClipboardData(fill, data);
  EXPECT_EQ(EnumClipboardFormats(0), CF_UNICODETEXT);
  EXPECT_EQ(EnumClipboardFormats(CF_UNICODETEXT), fill);
  EXPECT_EQ(EnumClipboardFormats(fill), 0u);
  EXPECT_TRUE(CloseClipboard());
  // The text reached the system clipboard; narrow text is made from it as UTF-8.
  String system;
  ASSERT_TRUE(Backend().GetClipboardText(system));
  EXPECT_EQ(system, u"Grüße");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(fill));
  EXPECT_EQ(GetClipboardData(fill), data);
  HANDLE narrow = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(narrow);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(narrow)),
               "Gr\xC3\xBC\xC3\x9F"
               "e");
  GlobalUnlock(narrow);
  CloseClipboard();
  // Text another program put on the system clipboard wins over what we held.
  Backend().SetClipboardText(u"from elsewhere");
  OpenClipboard(nullptr);
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  EXPECT_EQ(String(static_cast<const char16_t*>(GlobalLock(wide))), u"from elsewhere");
  GlobalUnlock(wide);
  EmptyClipboard();
  EXPECT_FALSE(IsClipboardFormatAvailable(fill));
  CloseClipboard();
  EXPECT_FALSE(CloseClipboard());
}

TEST_F(CaretClipboardDialog, LineBreaksConvertWhereTextLeavesOrEntersTheProcess) {
  ASSERT_TRUE(SetClipboardUnicodeText(u"one\r\ntwo\r\n"));
  String system;
  ASSERT_TRUE(Backend().GetClipboardText(system));
  EXPECT_EQ(system, u"one\ntwo\n");
  Backend().SetClipboardText(u"a\nb\r\nc\n\n");
  EXPECT_EQ(GetClipboardUnicodeText(), u"a\r\nb\r\nc\r\n\r\n");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE narrow = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(narrow);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(narrow)), "a\r\nb\r\nc\r\n\r\n");
  GlobalUnlock(narrow);
  CloseClipboard();

  // The PRIMARY selection is apart from the clipboard and converts the same way.
  EXPECT_EQ(GetPrimarySelectionText(), u"");
  ASSERT_TRUE(SetPrimarySelectionText(u"sel\r\nected"));
  ASSERT_TRUE(Backend().GetPrimarySelectionText(system));
  EXPECT_EQ(system, u"sel\nected");
  EXPECT_EQ(GetPrimarySelectionText(), u"sel\r\nected");
  EXPECT_EQ(GetClipboardUnicodeText(), u"a\r\nb\r\nc\r\n\r\n");
}

TEST_F(CaretClipboardDialog, ScriptedMessageBoxRecordsTheRequest) {
  HWND top = CreateTop();
  MessageBoxRequest seen{};
  SetMessageBoxScript([&](const MessageBoxRequest& r) {
    seen = r;
    return IDNO;
  });
  EXPECT_EQ(MessageBoxW(top, u"Line 1\r\n\r\nLine 2", u"Kestrel", 0x00011030), IDNO);
  EXPECT_EQ(seen.owner, top);
  EXPECT_EQ(seen.text, u"Line 1\r\n\r\nLine 2");
  EXPECT_EQ(seen.caption, u"Kestrel");
  EXPECT_EQ(seen.type, 0x00011030u);
}

TEST_F(CaretClipboardDialog, RealDialogIsModalAndKeepsTheLoopRunning) {
  HWND owner = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  int ticks = 0;
  Log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (hwnd == owner && msg == WM_TIMER) ++ticks;
    return false;
  };
  SetTimer(owner, 1, 10, nullptr);
  HWND seenDialog = nullptr;
  bool ownerDisabled = false;
  SetMessageBoxShownHook([&](HWND dialog) {
    seenDialog = dialog;
    ownerDisabled = !IsWindowEnabled(owner);
    // Time passes while the box is up, then the user clicks "No".
    Backend().Advance(50);
    RECT r;
    GetWindowRect(GetDlgItem(dialog, IDNO), &r);
    InjectClick({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  });
  EXPECT_EQ(MessageBoxW(owner, u"Continue?", u"Question", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_GE(ticks, 5);  // the owner's timer kept ticking inside the nested loop
  EXPECT_FALSE(IsWindow(seenDialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  // Keys: Escape answers Cancel where there is one; Enter presses the default button.
  SetMessageBoxShownHook([](HWND) { InjectKeyStroke(VK_ESCAPE); });
  EXPECT_EQ(MessageBoxW(owner, u"Text", u"Caption", MB_OKCANCEL), IDCANCEL);
  SetMessageBoxShownHook([](HWND) { InjectKeyStroke(VK_RETURN); });
  EXPECT_EQ(MessageBoxW(owner, u"Text", u"Caption", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
  SetMessageBoxShownHook([](HWND) {
    InjectKeyStroke(VK_TAB);
    InjectKeyStroke(VK_SPACE);
  });
  EXPECT_EQ(MessageBoxW(nullptr, u"Text", nullptr, MB_ABORTRETRYIGNORE), IDRETRY);
  KillTimer(owner, 1);
}

TEST_F(CaretClipboardDialog, MessageBoxLooksLikeADialog) {
  HWND shown = nullptr;
  cairo_surface_t* image = nullptr;
  SetMessageBoxShownHook([&](HWND dialog) {
    shown = dialog;
    image = CaptureWindowImage(dialog);
    InjectKeyStroke(VK_RETURN);
  });
  MessageBoxW(nullptr, u"The download could not be saved.\r\n\r\nPlease choose another folder.", u"Kestrel",
              MB_OKCANCEL | MB_ICONEXCLAMATION);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(kestrel::testing::MatchesGolden(image, "platform_window_messagebox", {48, 0.03}));
  cairo_surface_destroy(image);
}

TEST_F(CaretClipboardDialog, MessageBoxShowsTheIconOfItsType) {
  // Probes inside the icon (client coordinates, clear of its white or black sign).
  struct Case {
    UINT type;
    POINT probe;
    COLORREF expected;
  };
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const Case cases[] = {
      {MB_ICONERROR, {18, 28}, RGB(0xD4, 0x28, 0x28)},
      {MB_ICONQUESTION, {18, 28}, RGB(0x26, 0x68, 0xC8)},
      {MB_ICONWARNING, {22, 36}, RGB(0xF8, 0xCC, 0x20)},
      {MB_ICONINFORMATION, {18, 28}, RGB(0x26, 0x68, 0xC8)},
      {MB_OK, {18, 28}, face},
      {0x50, {18, 28}, face},  // no such icon
  };
  for (const Case& c : cases) {
    COLORREF seen = CLR_INVALID;
    RECT client{};
    SetMessageBoxShownHook([&](HWND dialog) {
      HDC hdc = GetDC(dialog);
      seen = GetPixel(hdc, c.probe.x, c.probe.y);
      ReleaseDC(dialog, hdc);
      GetClientRect(dialog, &client);
      InjectKeyStroke(VK_RETURN);
    });
    MessageBoxW(nullptr, u"Short", u"Kestrel", MB_OK | c.type);
    EXPECT_EQ(seen, c.expected) << std::hex << c.type;
    // The text area is at least as tall as the icon.
    if (c.expected != face) {
      EXPECT_GE(client.bottom, 12 + 32 + 6 + 23 + 12) << std::hex << c.type;
    }
  }
}

}  // namespace
}  // namespace kestrel::platform::testing
