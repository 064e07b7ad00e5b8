// The SDL backend on SDL's dummy video driver (no display needed): native windows, presenting
// the backing store, and SDL events travelling the whole input path.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/backend/BackendSelection.h"
#include "platform/backend/SdlBackend.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/Ime.h"
#include "platform/window/KeyboardLayout.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {
namespace {

std::vector<MSG> received;

LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  // The windows take characters, so that the input method's text reaches them.
  if (m == WM_GETDLGCODE) return DLGC_WANTCHARS;
  if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP || m == WM_CHAR || m == WM_KEYDOWN || m == WM_MOUSEMOVE ||
      m == WM_ACTIVATEAPP || m == WM_MOUSEWHEEL || m == WM_INPUTLANGCHANGE) {
    MSG msg{};
    msg.hwnd = h;
    msg.message = m;
    msg.wParam = w;
    msg.lParam = l;
    received.push_back(msg);
  }
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(h, &ps);
    RECT r;
    GetClientRect(h, &r);
    HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

class SdlBackendTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    WNDCLASSEXW wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = u"KestrelSdlTest";
    RegisterClassExW(&wc);
  }
  // A backend per test: the reset after each test takes the window state with its backend.
  void SetUp() override {
    if (!InstallBackend("sdl")) GTEST_SKIP() << "SDL video could not start";
    received.clear();
  }
  SdlBackend& Sdl() { return dynamic_cast<SdlBackend&>(Wm().GetBackend()); }
  static void PumpAll() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
};

TEST(SdlKeys, VirtualKeysFromSdlKeyCodes) {
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_a), 'A');
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_z), 'Z');
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_7), '7');
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_F10), VK_F10);
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_RSHIFT), VK_SHIFT);
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_PAGEDOWN), VK_NEXT);
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_BACKSLASH), VK_OEM_5);
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_KP_5), VK_NUMPAD0 + 5);
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_KP_0), VK_NUMPAD0);
  EXPECT_EQ(SdlBackend::VirtualKeyFromSdl(SDLK_UNKNOWN), 0);
}

TEST(SdlKeys, KeysWithoutAVirtualKeyGoByPositionOnTheActiveLayout) {
  auto key = [](SDL_Keycode sym, SDL_Scancode position) {
    SDL_Keysym k{};
    k.sym = sym;
    k.scancode = position;
    return SdlBackend::VirtualKeyOf(k);
  };
  // A German keyboard's ü, + and ß on the US layout: the US keys at those places.
  EXPECT_EQ(key(0xFC, SDL_SCANCODE_LEFTBRACKET), VK_OEM_4);
  ActivateKeyboardLayout(LoadKeyboardLayoutW(u"00000407", 0), 0);
  EXPECT_EQ(key(0xFC, SDL_SCANCODE_LEFTBRACKET), VK_OEM_1);
  EXPECT_EQ(key(SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET), VK_OEM_PLUS);
  EXPECT_EQ(key(0xDF, SDL_SCANCODE_MINUS), VK_OEM_4);
  EXPECT_EQ(key(SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH), VK_OEM_102);
  EXPECT_EQ(key(SDLK_z, SDL_SCANCODE_Y), 'Z');  // a known symbol wins over the position
  ActivateKeyboardLayout(LoadKeyboardLayoutW(u"00000409", 0), 0);
  EXPECT_EQ(key(SDLK_UNKNOWN, SDL_SCANCODE_F13), 0);
}

TEST_F(SdlBackendTest, WindowsPresentTheirBackingStore) {
  HWND w = CreateWindowExW(0, u"KestrelSdlTest", u"SDL", WS_POPUP | WS_VISIBLE, 20, 30, 64, 48, nullptr, nullptr,
                           nullptr, nullptr);
  ASSERT_TRUE(w);
  SDL_Window* native = Sdl().NativeWindow(w);
  ASSERT_NE(native, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(native), "SDL");
  UpdateWindow(w);
  SDL_Surface* s = SDL_GetWindowSurface(native);
  ASSERT_NE(s, nullptr);
  Uint32 pixel = 0;
  std::memcpy(&pixel, static_cast<Uint8*>(s->pixels) + 10 * s->pitch + 10 * s->format->BytesPerPixel,
              s->format->BytesPerPixel);
  Uint8 r, g, b;
  SDL_GetRGB(pixel, s->format, &r, &g, &b);
  EXPECT_EQ(r, 10);
  EXPECT_EQ(g, 200);
  EXPECT_EQ(b, 30);
  DestroyWindow(w);
  EXPECT_EQ(Sdl().NativeWindow(w), nullptr);
}

TEST_F(SdlBackendTest, OnlyWindowsWithASizingBorderAreResizableOnTheDesktop) {
  HWND fixed = CreateWindowExW(0, u"KestrelSdlTest", u"Fixed", WS_POPUP | WS_CAPTION | WS_SYSMENU, 20, 30, 120, 90,
                               nullptr, nullptr, nullptr, nullptr);
  HWND sizable = CreateWindowExW(0, u"KestrelSdlTest", u"Sizable", WS_OVERLAPPEDWINDOW, 40, 50, 120, 90, nullptr,
                                 nullptr, nullptr, nullptr);
  ASSERT_TRUE(fixed && sizable);
  EXPECT_FALSE(SDL_GetWindowFlags(Sdl().NativeWindow(fixed)) & SDL_WINDOW_RESIZABLE);
  EXPECT_TRUE(SDL_GetWindowFlags(Sdl().NativeWindow(sizable)) & SDL_WINDOW_RESIZABLE);
  // The program itself still sizes a fixed window.
  MoveWindow(fixed, 20, 30, 200, 150, TRUE);
  int w = 0, h = 0;
  SDL_GetWindowSize(Sdl().NativeWindow(fixed), &w, &h);
  EXPECT_EQ(w, 200);
  EXPECT_EQ(h, 150);
  DestroyWindow(fixed);
  DestroyWindow(sizable);
}

TEST_F(SdlBackendTest, NonActivatingToolWindowsAreMenusTheDesktopLeavesAlone) {
  HWND menu = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, u"KestrelSdlTest", u"Menu", WS_POPUP, 20, 30, 80, 60,
                              nullptr, nullptr, nullptr, nullptr);
  HWND tool = CreateWindowExW(WS_EX_TOOLWINDOW, u"KestrelSdlTest", u"Tool", WS_POPUP, 20, 30, 80, 60, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_TRUE(menu && tool);
  const Uint32 menuKind = SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
  EXPECT_EQ(SDL_GetWindowFlags(Sdl().NativeWindow(menu)) & menuKind, menuKind);
  EXPECT_EQ(SDL_GetWindowFlags(Sdl().NativeWindow(tool)) & menuKind, 0u);
  DestroyWindow(menu);
  DestroyWindow(tool);
}

TEST_F(SdlBackendTest, SdlEventsBecomeWindowMessages) {
  HWND w = CreateWindowExW(0, u"KestrelSdlTest", u"SDL", WS_POPUP | WS_VISIBLE, 20, 30, 64, 48, nullptr, nullptr,
                           nullptr, nullptr);
  PumpAll();
  received.clear();
  Uint32 id = SDL_GetWindowID(Sdl().NativeWindow(w));
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = id;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = 5;
  e.button.y = 6;
  SDL_PushEvent(&e);
  e.type = SDL_MOUSEBUTTONUP;
  SDL_PushEvent(&e);
  // A letter arrives as a key and as text; it must be typed once. Enter has no text event.
  SDL_Event k{};
  k.type = SDL_KEYDOWN;
  k.key.windowID = id;
  k.key.keysym.sym = SDLK_a;
  SDL_PushEvent(&k);
  SDL_Event t{};
  t.type = SDL_TEXTINPUT;
  t.text.windowID = id;
  std::strcpy(t.text.text, "a\xC3\xA9");  // "aé"
  SDL_PushEvent(&t);
  k.key.keysym.sym = SDLK_RETURN;
  SDL_PushEvent(&k);
  PumpAll();
  std::vector<UINT> messages;
  std::u16string chars;
  for (auto& m : received) {
    messages.push_back(m.message);
    if (m.message == WM_CHAR) chars += static_cast<char16_t>(m.wParam);
  }
  EXPECT_EQ(messages,
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_CHAR, WM_CHAR, WM_KEYDOWN, WM_CHAR}));
  EXPECT_EQ(chars, u"a\u00E9\r");
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received[0].lParam, MAKELPARAM(5, 6));
  DestroyWindow(w);
}

TEST_F(SdlBackendTest, HighResolutionWheelScrollsByFractionsOfANotch) {
  HWND w = CreateWindowExW(0, u"KestrelSdlTest", u"SDL", WS_POPUP | WS_VISIBLE, 20, 30, 64, 48, nullptr, nullptr,
                           nullptr, nullptr);
  SetFocus(w);
  SetCursorPos(30, 40);  // the wheel needs a window under the pointer
  PumpAll();
  received.clear();
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = SDL_GetWindowID(Sdl().NativeWindow(w));
  for (float precise : {0.25f, 0.25f, 0.1f, 0.1f, -1.0f}) {
    e.wheel.preciseY = precise;
    e.wheel.y = static_cast<int>(precise);  // the whole-notch field SDL also fills
    SDL_PushEvent(&e);
  }
  PumpAll();
  std::vector<short> deltas;
  for (auto& m : received)
    if (m.message == WM_MOUSEWHEEL) deltas.push_back(static_cast<short>(HIWORD(m.wParam)));
  // 0.1 notch is 12 units; the last turn the other way starts without the carried remainder.
  EXPECT_EQ(deltas, (std::vector<short>{30, 30, 12, 12, -120}));
  DestroyWindow(w);
}

TEST_F(SdlBackendTest, LongCompositionTextArrivesWhole) {
  HWND w = CreateWindowExW(0, u"KestrelSdlTest", u"SDL", WS_POPUP | WS_VISIBLE, 20, 30, 64, 48, nullptr, nullptr,
                           nullptr, nullptr);
  SetFocus(w);
  PumpAll();
  const std::string text(40, 'k');  // past the 32 bytes of the fixed event
  SDL_Event e{};
  e.type = SDL_TEXTEDITING_EXT;
  e.editExt.windowID = SDL_GetWindowID(Sdl().NativeWindow(w));
  e.editExt.text = SDL_strdup(text.c_str());
  SDL_PushEvent(&e);
  PumpAll();
  EXPECT_EQ(ImmGetCompositionStringW(ImmGetContext(w), GCS_COMPSTR, nullptr, 0), 80);
  DestroyWindow(w);
}

TEST_F(SdlBackendTest, CompositionCursorAndClauseCountUtf16Units) {
  HWND w = CreateWindowExW(0, u"KestrelSdlTest", u"SDL", WS_POPUP | WS_VISIBLE, 20, 30, 64, 48, nullptr, nullptr,
                           nullptr, nullptr);
  SetFocus(w);
  PumpAll();
  SDL_Event e{};
  e.type = SDL_TEXTEDITING;
  e.edit.windowID = SDL_GetWindowID(Sdl().NativeWindow(w));
  std::strcpy(e.edit.text, "\xF0\x9F\x98\x80xy");  // U+1F600 is two UTF-16 units
  e.edit.start = 1;
  e.edit.length = 1;
  SDL_PushEvent(&e);
  PumpAll();
  HIMC context = ImmGetContext(w);
  EXPECT_EQ(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0), 2);
  BYTE attributes[4] = {};
  ASSERT_EQ(ImmGetCompositionStringW(context, GCS_COMPATTR, attributes, sizeof attributes), 4);
  EXPECT_EQ(std::vector<BYTE>(attributes, attributes + 4),
            (std::vector<BYTE>{ATTR_INPUT, ATTR_INPUT, ATTR_TARGET_CONVERTED, ATTR_INPUT}));
  DestroyWindow(w);
}

TEST_F(SdlBackendTest, TextInputFollowsTheFocusAndLayoutChangesAreAnnounced) {
  HWND w = CreateWindowExW(0, u"KestrelSdlTest", u"SDL", WS_POPUP | WS_VISIBLE, 20, 30, 64, 48, nullptr, nullptr,
                           nullptr, nullptr);
  SetFocus(w);
  PumpAll();
  EXPECT_TRUE(SDL_IsTextInputActive());
  SetFocus(nullptr);
  EXPECT_FALSE(SDL_IsTextInputActive());
  SetFocus(w);
  received.clear();
  SDL_Event e{};
  e.type = SDL_KEYMAPCHANGED;
  SDL_PushEvent(&e);
  PumpAll();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, WM_INPUTLANGCHANGE);
  DestroyWindow(w);
}

TEST_F(SdlBackendTest, AWindowWithoutAnInputContextTypesThroughTheLayout) {
  HWND w = CreateWindowExW(0, u"KestrelSdlTest", u"SDL", WS_POPUP | WS_VISIBLE, 20, 30, 64, 48, nullptr, nullptr,
                           nullptr, nullptr);
  SetFocus(w);
  PumpAll();
  ImmAssociateContext(w, nullptr);
  EXPECT_FALSE(SDL_IsTextInputActive());
  received.clear();
  const Uint32 id = SDL_GetWindowID(Sdl().NativeWindow(w));
  SDL_Event k{};
  k.type = SDL_KEYDOWN;
  k.key.windowID = id;
  k.key.keysym.sym = SDLK_a;
  SDL_PushEvent(&k);
  // Late events of the input method that was on belong to nobody.
  SDL_Event t{};
  t.type = SDL_TEXTEDITING;
  t.edit.windowID = id;
  std::strcpy(t.edit.text, "k");
  SDL_PushEvent(&t);
  t.type = SDL_TEXTINPUT;
  std::strcpy(t.text.text, "x");
  SDL_PushEvent(&t);
  PumpAll();
  std::u16string chars;
  for (auto& m : received) {
    EXPECT_FALSE(m.message >= WM_IME_STARTCOMPOSITION && m.message <= WM_IME_COMPOSITION) << m.message;
    if (m.message == WM_CHAR) chars += static_cast<char16_t>(m.wParam);
  }
  EXPECT_EQ(chars, u"a");
  ImmAssociateContextEx(w, nullptr, IACE_DEFAULT);
  EXPECT_TRUE(SDL_IsTextInputActive());
  DestroyWindow(w);
}

TEST_F(SdlBackendTest, LosingTheKeyboardToAnotherApplicationDeactivates) {
  HWND w = CreateWindowExW(0, u"KestrelSdlTest", u"SDL", WS_POPUP | WS_VISIBLE, 20, 30, 64, 48, nullptr, nullptr,
                           nullptr, nullptr);
  PumpAll();
  ASSERT_EQ(GetActiveWindow(), w);
  received.clear();
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = SDL_GetWindowID(Sdl().NativeWindow(w));
  // Lost and regained within one pump (focus passing between our windows): nothing changes.
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&e);
  e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  SDL_PushEvent(&e);
  PumpAll();
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_TRUE(received.empty());
  // Lost for good: the application is no longer active.
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&e);
  PumpAll();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, WM_ACTIVATEAPP);
  EXPECT_EQ(received[0].wParam, static_cast<WPARAM>(FALSE));
  e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  SDL_PushEvent(&e);
  PumpAll();
  EXPECT_EQ(GetActiveWindow(), w);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].wParam, static_cast<WPARAM>(TRUE));
  DestroyWindow(w);
}

TEST_F(SdlBackendTest, AnotherThreadWakesTheEventWait) {
  std::thread worker([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    WakeGuiThread();
  });
  auto start = std::chrono::steady_clock::now();
  WaitMessage();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  worker.join();
}

TEST(BackendSelection, UnknownNamesFallBackToHeadless) {
  // Runs last in this executable's order of suites: it replaces the backend.
  EXPECT_FALSE(InstallBackend("no-such-backend"));
  EXPECT_STREQ(Wm().GetBackend().Name(), "headless");
  EXPECT_TRUE(InstallBackend("headless"));
}

}  // namespace
}  // namespace kestrel::platform
