#include "platform/backend/SdlBackend.h"

#include <algorithm>

#include "platform/backend/X11Shape.h"
#include "platform/backend/internal/WheelAccumulator.h"
#include "platform/backend/internal/X11Connection.h"
#include "platform/window/DragCursors.h"
#include "platform/window/Ime.h"
#include "platform/window/InputInjection.h"
#include "platform/window/KeyboardLayout.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/FrameLayout.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* area, void* data) {
  auto* self = static_cast<SdlBackend*>(data);
  (void)self;
  auto hwnd = static_cast<HWND>(SDL_GetWindowData(window, "hwnd"));
  if (!hwnd) return SDL_HITTEST_NORMAL;
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return SDL_HITTEST_NORMAL;
  LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0,
                             MAKELPARAM(static_cast<WORD>(r.left + area->x), static_cast<WORD>(r.top + area->y)));
  switch (hit) {
    case HTCAPTION: return SDL_HITTEST_DRAGGABLE;
    case HTLEFT: return SDL_HITTEST_RESIZE_LEFT;
    case HTRIGHT: return SDL_HITTEST_RESIZE_RIGHT;
    case HTTOP: return SDL_HITTEST_RESIZE_TOP;
    case HTBOTTOM: return SDL_HITTEST_RESIZE_BOTTOM;
    case HTTOPLEFT: return SDL_HITTEST_RESIZE_TOPLEFT;
    case HTTOPRIGHT: return SDL_HITTEST_RESIZE_TOPRIGHT;
    case HTBOTTOMLEFT: return SDL_HITTEST_RESIZE_BOTTOMLEFT;
    case HTBOTTOMRIGHT: return SDL_HITTEST_RESIZE_BOTTOMRIGHT;
    default: return SDL_HITTEST_NORMAL;
  }
}

SDL_SystemCursor SdlCursorFor(WORD shape) {
  switch (shape) {
    case 32513: return SDL_SYSTEM_CURSOR_IBEAM;
    case 32514: return SDL_SYSTEM_CURSOR_WAIT;
    case 32515: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case 32642: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case 32643: return SDL_SYSTEM_CURSOR_SIZENESW;
    case 32644: return SDL_SYSTEM_CURSOR_SIZEWE;
    case 32645: return SDL_SYSTEM_CURSOR_SIZENS;
    case 32646: return SDL_SYSTEM_CURSOR_SIZEALL;
    case 32648: return SDL_SYSTEM_CURSOR_NO;
    case 32649: return SDL_SYSTEM_CURSOR_HAND;
    case 32650: return SDL_SYSTEM_CURSOR_WAITARROW;
    case kDragCursorShape: return SDL_SYSTEM_CURSOR_HAND;
    case kMultiDragCursorShape: return SDL_SYSTEM_CURSOR_SIZEALL;
    default: return SDL_SYSTEM_CURSOR_ARROW;
  }
}

bool IsExtendedKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_LEFT:
    case SDLK_RIGHT:
    case SDLK_UP:
    case SDLK_DOWN:
    case SDLK_HOME:
    case SDLK_END:
    case SDLK_PAGEUP:
    case SDLK_PAGEDOWN:
    case SDLK_INSERT:
    case SDLK_DELETE:
    case SDLK_RCTRL:
    case SDLK_RALT:
    case SDLK_KP_ENTER:
    case SDLK_KP_DIVIDE: return true;
    default: return false;
  }
}

// The virtual key a US keyboard has at a key position (0 for positions no layout moves).
int UsVirtualKeyAt(SDL_Scancode position) {
  if (position >= SDL_SCANCODE_A && position <= SDL_SCANCODE_Z) return 'A' + (position - SDL_SCANCODE_A);
  switch (position) {
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH: return VK_OEM_5;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_102;
    default: return 0;
  }
}

}  // namespace

SdlBackend* SdlBackend::Current() {
  return Wm().HasBackend() ? dynamic_cast<SdlBackend*>(&Wm().GetBackend()) : nullptr;
}

std::unique_ptr<SdlBackend> SdlBackend::Create() {
  // The backing store is drawn in software: present it through the window's own framebuffer
  // rather than a GL texture, which would load a whole GL stack (and its threads) for nothing.
  // A user's SDL_FRAMEBUFFER_ACCELERATION still wins.
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  // SDL would turn SIGTERM and SIGINT into a quit event nobody reads; the programs handle them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Composition text longer than a fixed event's 32 bytes comes whole, in SDL_TEXTEDITING_EXT.
  SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return nullptr;
  return std::unique_ptr<SdlBackend>(new SdlBackend());
}

SdlBackend::SdlBackend()
    : wheelX_(std::make_unique<WheelAccumulator>()), wheelY_(std::make_unique<WheelAccumulator>()) {
  wakeEvent_ = SDL_RegisterEvents(1);
  // The server's reports of pixels it moved (PresentUncopied) come among the native events.
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  // SDL starts with text input on; it follows the focus from here (SetTextInputEnabled).
  SDL_StopTextInput();
}

SdlBackend::~SdlBackend() {
  x11_.reset();
  natives_.clear();
  cursors_.clear();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

RECT SdlBackend::ScreenRect() const {
  SDL_Rect r;
  if (SDL_GetDisplayBounds(0, &r) != 0) return {0, 0, 1024, 768};
  return {r.x, r.y, r.x + r.w, r.y + r.h};
}

void SdlBackend::CreateNativeWindow(HWND hwnd, const RECT& r, DWORD style, DWORD exStyle) {
  // We draw the frame ourselves; only a window with a sizing border tells the desktop it may be
  // resized (a fixed dialog gets equal minimum and maximum size hints). Our own moves still size it.
  const Uint32 sizing = (style & WS_THICKFRAME) ? SDL_WINDOW_RESIZABLE : 0;
  // A tool window that never activates is a popup menu: the desktop must neither focus it nor
  // list it, so its owner keeps looking active while it is open.
  const bool menu = (exStyle & WS_EX_NOACTIVATE) && (exStyle & WS_EX_TOOLWINDOW);
  const Uint32 kind = menu ? SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_ALWAYS_ON_TOP : 0;
  SDL_Window* window =
      SDL_CreateWindow("", r.left, r.top, std::max<int>(r.right - r.left, 1), std::max<int>(r.bottom - r.top, 1),
                       SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | sizing | kind);
  if (!window) return;
  SDL_SetWindowData(window, "hwnd", hwnd);
  SDL_SetWindowHitTest(window, HitTest, this);
  natives_[hwnd].window.reset(window);
  if (!x11_) x11_ = X11Connection::For(window);
}

void SdlBackend::DestroyNativeWindow(HWND hwnd) {
  auto it = natives_.find(hwnd);
  if (it == natives_.end()) return;
  if (x11_) x11_->Forget(it->second.window.get());
  natives_.erase(it);
}

void SdlBackend::ShowNativeWindow(HWND hwnd, bool show) {
  auto it = natives_.find(hwnd);
  if (it == natives_.end()) return;
  if (show) {
    SDL_ShowWindow(it->second.window.get());
    PresentWhole(hwnd);
  } else {
    SDL_HideWindow(it->second.window.get());
  }
}

void SdlBackend::MoveNativeWindow(HWND hwnd, const RECT& r) {
  SDL_Window* window = NativeWindow(hwnd);
  if (!window) return;
  int x, y, w, h;
  SDL_GetWindowPosition(window, &x, &y);
  SDL_GetWindowSize(window, &w, &h);
  if (x != r.left || y != r.top) SDL_SetWindowPosition(window, r.left, r.top);
  if (w != r.right - r.left || h != r.bottom - r.top)
    SDL_SetWindowSize(window, std::max<int>(r.right - r.left, 1), std::max<int>(r.bottom - r.top, 1));
}

void SdlBackend::SetNativeTitle(HWND hwnd, const String& title) {
  if (SDL_Window* window = NativeWindow(hwnd)) SDL_SetWindowTitle(window, Utf16ToUtf8(title).c_str());
}

void SdlBackend::SetNativeMinimized(HWND hwnd, bool minimized) {
  SDL_Window* window = NativeWindow(hwnd);
  if (!window) return;
  if (minimized) SDL_MinimizeWindow(window);
  else SDL_RestoreWindow(window);
}

void SdlBackend::Present(HWND hwnd, cairo_surface_t* backing, std::span<const RECT> dirty) {
  auto it = natives_.find(hwnd);
  if (it == natives_.end() || !backing) return;
  if (it->second.backing.get() != backing) it->second.backing.reset(cairo_surface_reference(backing));
  cairo_surface_flush(backing);
  int windowWidth = 0, windowHeight = 0;
  SDL_GetWindowSize(it->second.window.get(), &windowWidth, &windowHeight);
  const RECT shown{0, 0, std::min(cairo_image_surface_get_width(backing), windowWidth),
                   std::min(cairo_image_surface_get_height(backing), windowHeight)};
  bool sent = false;
  for (const RECT& d : dirty) {
    const RECT r = IntersectRects(d, shown);
    if (RectEmpty(r)) continue;
    if (x11_ && x11_->PutImage(it->second.window.get(), backing, r)) sent = true;
    else PresentThroughSurface(it->second, r);
  }
  // One write to the server for all of them: each one would wake it on its own.
  if (sent) x11_->Flush();
}

bool SdlBackend::MoveNativePixels(HWND hwnd, const cairo_region_t* area, int dx, int dy) {
  auto it = natives_.find(hwnd);
  if (!x11_ || it == natives_.end()) return false;
  constexpr Uint32 kUnseen = SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED;
  if (SDL_GetWindowFlags(it->second.window.get()) & kUnseen) return false;
  return x11_->MovePixels(it->second.window.get(), RegionRectangles(area), dx, dy);
}

void SdlBackend::PresentUncopied(const SDL_SysWMmsg* event) {
  std::vector<std::pair<SDL_Window*, RECT>> uncopied;
  x11_->TakeMoveReports(event, uncopied);
  for (const auto& [window, r] : uncopied)
    for (auto& [hwnd, native] : natives_)
      if (native.window.get() == window && native.backing) Present(hwnd, native.backing.get(), {&r, 1});
}

void SdlBackend::PresentThroughSurface(Native& native, const RECT& dirty) {
  SDL_Surface* target = SDL_GetWindowSurface(native.window.get());
  if (!target) return;
  if (target != native.surface) {
    // A new window surface may come with a new native window underneath, unshaped.
    native.surface = target;
    if (native.shape) ApplyShape(native);
  }
  RECT r{dirty.left, dirty.top, std::min<LONG>(dirty.right, target->w), std::min<LONG>(dirty.bottom, target->h)};
  if (r.right <= r.left || r.bottom <= r.top) return;
  const unsigned char* src = cairo_image_surface_get_data(native.backing.get());
  int srcStride = cairo_image_surface_get_stride(native.backing.get());
  if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
  auto* dst = static_cast<unsigned char*>(target->pixels);
  SDL_ConvertPixels(r.right - r.left, r.bottom - r.top, SDL_PIXELFORMAT_ARGB8888, src + r.top * srcStride + r.left * 4,
                    srcStride, target->format->format,
                    dst + r.top * target->pitch + r.left * target->format->BytesPerPixel, target->pitch);
  if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  SDL_Rect update{r.left, r.top, r.right - r.left, r.bottom - r.top};
  SDL_UpdateWindowSurfaceRects(native.window.get(), &update, 1);
}

bool SdlBackend::SetNativeShape(HWND hwnd, const cairo_region_t* shape) {
  auto it = natives_.find(hwnd);
  if (it == natives_.end()) return false;
  if (shape) it->second.shape = RegionRectangles(shape);
  else it->second.shape.reset();
  return ApplyShape(it->second);
}

bool SdlBackend::ApplyShape(const Native& native) {
  return SetX11WindowShape(native.window.get(), native.shape ? &*native.shape : nullptr);
}

void SdlBackend::PresentWhole(HWND hwnd) {
  auto it = natives_.find(hwnd);
  if (it == natives_.end() || !it->second.backing) return;
  const RECT whole{0, 0, 0x7FFF, 0x7FFF};
  Present(hwnd, it->second.backing.get(), {&whole, 1});
}

void SdlBackend::SetCursorShape(WORD shape) {
  if (shape == 0) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_ShowCursor(SDL_ENABLE);
  auto& cursor = cursors_[shape];
  if (!cursor) cursor.reset(SDL_CreateSystemCursor(SdlCursorFor(shape)));
  if (cursor) SDL_SetCursor(cursor.get());
}

void SdlBackend::SetTextInputRect(const RECT& screenRect) {
  // SDL wants the rectangle relative to the window with the keyboard focus.
  SDL_Window* window = SDL_GetKeyboardFocus();
  HWND hwnd = window ? static_cast<HWND>(SDL_GetWindowData(window, "hwnd")) : nullptr;
  RECT w{};
  if (hwnd) GetWindowRect(hwnd, &w);
  SDL_Rect r{screenRect.left - w.left, screenRect.top - w.top, screenRect.right - screenRect.left,
             screenRect.bottom - screenRect.top};
  SDL_SetTextInputRect(&r);
}

void SdlBackend::SetTextInputEnabled(bool enabled) {
  if (enabled == textInput_) return;
  textInput_ = enabled;
  if (enabled) SDL_StartTextInput();
  else SDL_StopTextInput();
  composing_ = false;
}

namespace {

// The UTF-16 index of code point `index` of `text`.
int Utf16Index(const String& text, int index) {
  int units = 0;
  for (int points = 0; points < index && units < static_cast<int>(text.size()); ++points)
    units += IsHighSurrogate(text[static_cast<size_t>(units)]) ? 2 : 1;
  return std::min(units, static_cast<int>(text.size()));
}

// SDL hands out text it allocated; an empty string when there is none.
bool TakeSdlText(char* utf8, String& text) {
  if (!utf8) return false;
  text = Utf8ToUtf16(utf8);
  SDL_free(utf8);
  return true;
}

// SDL leaves the claim on a selection in the display connection's output buffer: pumping sends
// it, so that a program asking right away finds this one the owner (the events read on the way
// wait in SDL's queue for the next PumpEvents).
bool Announced(int sdlResult) {
  if (sdlResult != 0) return false;
  SDL_PumpEvents();
  return true;
}

}  // namespace

bool SdlBackend::SetClipboardText(const String& text) {
  return Announced(SDL_SetClipboardText(Utf16ToUtf8(text).c_str()));
}

bool SdlBackend::GetClipboardText(String& text) {
  return SDL_HasClipboardText() && TakeSdlText(SDL_GetClipboardText(), text);
}

bool SdlBackend::SetPrimarySelectionText(const String& text) {
  return Announced(SDL_SetPrimarySelectionText(Utf16ToUtf8(text).c_str()));
}

bool SdlBackend::GetPrimarySelectionText(String& text) {
  return SDL_HasPrimarySelectionText() && TakeSdlText(SDL_GetPrimarySelectionText(), text);
}

void SdlBackend::PumpEvents() {
  PumpNativeEvents();
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) Handle(e);
  // Focus moving between our own windows is a loss and a gain; only when none of them has the
  // keyboard any more has another application become active.
  if (focusLost_) {
    focusLost_ = false;
    if (!SDL_GetKeyboardFocus() && GetActiveWindow()) SetActiveWindow(nullptr);
  }
}

// SDL's pump reads the X socket several times even when nothing came; it is skipped while the
// server has sent nothing, but still runs now and then for SDL's own timed work (delayed focus
// changes, input method replies arriving elsewhere than on the X connection).
void SdlBackend::PumpNativeEvents() {
  constexpr Uint32 kPumpAtLeastEveryMs = 50;
  const Uint32 now = SDL_GetTicks();
  if (x11_ && x11_->MovesPending()) PresentUncopied(nullptr);
  if (x11_ && !x11_->EventsMayBePending() && now - lastFullPump_ < kPumpAtLeastEveryMs) return;
  lastFullPump_ = now;
  SDL_PumpEvents();
}

void SdlBackend::WaitForEvents(int timeoutMs) {
  if (x11_) {
    if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) x11_->Wait(wakeSignal_.Fd(), timeoutMs);
    wakeSignal_.Clear();
    return;
  }
  if (timeoutMs < 0) SDL_WaitEvent(nullptr);
  else SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void SdlBackend::WaitForEventsAndFds(int timeoutMs, std::vector<pollfd>& fds) {
  if (!x11_) return Backend::WaitForEventsAndFds(timeoutMs, fds);
  x11_->Wait(wakeSignal_.Fd(), SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) ? 0 : timeoutMs, &fds);
  wakeSignal_.Clear();
}

void SdlBackend::Wake() {
  wakeSignal_.Raise();
  SDL_Event e{};
  e.type = wakeEvent_;
  SDL_PushEvent(&e);
}

SDL_Window* SdlBackend::NativeWindow(HWND hwnd) const {
  auto it = natives_.find(hwnd);
  return it == natives_.end() ? nullptr : it->second.window.get();
}

HWND SdlBackend::WindowOf(Uint32 windowId) const {
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  return window ? static_cast<HWND>(SDL_GetWindowData(window, "hwnd")) : nullptr;
}

POINT SdlBackend::ToScreen(HWND hwnd, int x, int y) const {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left + x, r.top + y};
}

int SdlBackend::VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_LGUI: return VK_LWIN;
    case SDLK_RGUI: return VK_RWIN;
    case SDLK_APPLICATION: return VK_APPS;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    default: return 0;
  }
}

int SdlBackend::VirtualKeyOf(const SDL_Keysym& key) {
  if (int vk = VirtualKeyFromSdl(key.sym)) return vk;
  int us = UsVirtualKeyAt(key.scancode);
  return us ? static_cast<int>(KeyboardLayout::VirtualKeyAtUsPosition(static_cast<UINT>(us))) : 0;
}

void SdlBackend::Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEMOTION:
      if (HWND h = WindowOf(e.motion.windowID)) InjectMouseMove(ToScreen(h, e.motion.x, e.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      HWND h = WindowOf(e.button.windowID);
      if (!h) break;
      MouseButton button = e.button.button == SDL_BUTTON_RIGHT    ? MouseButton::Right
                           : e.button.button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                                                  : MouseButton::Left;
      if (e.button.button > SDL_BUTTON_RIGHT) break;  // extra buttons are not mapped
      InjectMouseButton(button, e.type == SDL_MOUSEBUTTONDOWN, ToScreen(h, e.button.x, e.button.y));
      break;
    }
    case SDL_MOUSEWHEEL: {
      POINT p;
      GetCursorPos(&p);
      // The precise amounts carry a high-resolution wheel's fractions of a notch, which the
      // whole-notch fields drop.
      if (int dy = wheelY_->Take(e.wheel.preciseY)) InjectMouseWheel(dy, p);
      if (int dx = wheelX_->Take(e.wheel.preciseX)) InjectMouseWheel(dx, p, true);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (int vk = VirtualKeyOf(e.key.keysym))
        InjectKey(vk, e.type == SDL_KEYDOWN, static_cast<UINT>(e.key.keysym.scancode), IsExtendedKey(e.key.keysym.sym));
      break;
    case SDL_TEXTEDITING: Composing(e.edit.text, e.edit.start, e.edit.length); break;
    case SDL_TEXTEDITING_EXT:
      // The text of the long form is SDL's to free.
      Composing(e.editExt.text ? e.editExt.text : "", e.editExt.start, e.editExt.length);
      SDL_free(e.editExt.text);
      break;
    case SDL_TEXTINPUT:
      // With text input off the keyboard layout makes the characters; a text event that still
      // arrives (queued before the stop, or pushed) would type them twice.
      if (!textInput_) break;
      if (composing_) {
        composing_ = false;
        InjectCompositionResult(Utf8ToUtf16(e.text.text));
      } else {
        InjectText(Utf8ToUtf16(e.text.text));
      }
      break;
    case SDL_WINDOWEVENT: HandleWindowEvent(e.window); break;
    case SDL_SYSWMEVENT:
      if (x11_) PresentUncopied(e.syswm.msg);
      break;
    case SDL_KEYMAPCHANGED: InjectInputLanguageChange(); break;
    default: break;
  }
}

// The native input method composes; an empty text while composing cancels. An edit that
// arrives after text input went off belongs to no window that asked for it.
void SdlBackend::Composing(const char* utf8, int start, int length) {
  if (!textInput_) return;
  composing_ = utf8[0] != 0;
  const String text = Utf8ToUtf16(utf8);
  const int cursor = Utf16Index(text, start);
  InjectComposition(text, cursor, cursor, Utf16Index(text, start + length) - cursor);
}

void SdlBackend::HandleWindowEvent(const SDL_WindowEvent& e) {
  HWND h = WindowOf(e.windowID);
  if (!h) return;
  RECT r;
  GetWindowRect(h, &r);
  switch (e.event) {
    case SDL_WINDOWEVENT_EXPOSED: PresentWhole(h); break;
    case SDL_WINDOWEVENT_CLOSE: PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      focusLost_ = false;
      if (GetActiveWindow() != h) SetActiveWindow(h);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST: focusLost_ = true; break;
    case SDL_WINDOWEVENT_MOVED:
      if (e.data1 != r.left || e.data2 != r.top)
        SetWindowPos(h, nullptr, e.data1, e.data2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (e.data1 != r.right - r.left || e.data2 != r.bottom - r.top)
        SetWindowPos(h, nullptr, 0, 0, e.data1, e.data2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      PresentWhole(h);
      break;
    case SDL_WINDOWEVENT_LEAVE:
      InjectMouseMove({-32000, -32000});  // off every window: leave tracking fires
      break;
    default: break;
  }
}

}  // namespace kestrel::platform
