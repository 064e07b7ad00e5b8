// kestrel-demo: opens a window with painting child windows. Options:
//   --self-test          click the button and type a key through the native event queue,
//                        check the reaction, exit 0 on success (1 on failure, 77 without display)
//   --screenshot FILE    write the window as PNG before exiting
//   --seconds N          close after N seconds
//   --shaped             give the frame rounded corners through a window region; the self-test
//                        then also checks that the display holds that shape
//   --screen FILE        write what the display shows around the window as PNG (X11 only)

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "demo/DemoWindows.h"
#include "platform/backend/BackendSelection.h"
#include "platform/backend/SdlBackend.h"
#include "platform/backend/X11Shape.h"
#include "platform/gdi/Gdi.h"

using namespace kestrel::platform;
using namespace kestrel::demo;
using kestrel::String;
using kestrel::Utf16ToUtf8;

namespace {

struct Options {
  bool selfTest = false;
  std::string screenshot;
  std::string screen;
  int seconds = 0;
  bool shaped = false;
};

constexpr UINT_PTR kStepTimer = 1;
constexpr UINT_PTR kCloseTimer = 2;

DemoWindows windows;
Options options;
int step = 0;
int exitCode = 0;

// Native events as the display would deliver them, so they take the whole input path.
void PushNativeInput() {
  auto* sdl = SdlBackend::Current();
  if (!sdl) return;
  Uint32 id = SDL_GetWindowID(sdl->NativeWindow(windows.frame));
  RECT frame, button;
  GetWindowRect(windows.frame, &frame);
  GetWindowRect(windows.button, &button);
  int x = (button.left + button.right) / 2 - frame.left, y = (button.top + button.bottom) / 2 - frame.top;
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = id;
  e.motion.x = x;
  e.motion.y = y;
  SDL_PushEvent(&e);
  for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    e = SDL_Event{};
    e.type = type;
    e.button.windowID = id;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
  e = SDL_Event{};
  e.type = SDL_KEYDOWN;
  e.key.windowID = id;
  e.key.keysym.sym = SDLK_k;
  e.key.keysym.scancode = SDL_SCANCODE_K;
  SDL_PushEvent(&e);
  e = SDL_Event{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = id;
  std::strcpy(e.text.text, "k");
  SDL_PushEvent(&e);
  e = SDL_Event{};
  e.type = SDL_KEYUP;
  e.key.windowID = id;
  e.key.keysym.sym = SDLK_k;
  e.key.keysym.scancode = SDL_SCANCODE_K;
  SDL_PushEvent(&e);
}

COLORREF ShownAt(HWND hwnd, int x, int y) {
  POINT origin;
  cairo_surface_t* backing = GetWindowBackingStore(hwnd, &origin);
  if (!backing) return CLR_INVALID;
  cairo_surface_flush(backing);
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  RECT w;
  GetWindowRect(hwnd, &w);
  int sx = origin.x + p.x - w.left, sy = origin.y + p.y - w.top;
  auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(backing) +
                                                     sy * cairo_image_surface_get_stride(backing));
  std::uint32_t v = row[sx];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

// What the native window shows at a client point of `hwnd` (checks the presenting path): the
// X screen itself where there is one (the backend presents there directly), else SDL's surface.
COLORREF PresentedAt(HWND hwnd, int x, int y) {
  auto* sdl = SdlBackend::Current();
  if (!sdl) return CLR_INVALID;
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  if (cairo_surface_t* shot = CaptureX11Screen(sdl->NativeWindow(windows.frame), {p.x, p.y, p.x + 1, p.y + 1})) {
    std::uint32_t v = *reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(shot));
    cairo_surface_destroy(shot);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  SDL_Surface* surface = SDL_GetWindowSurface(sdl->NativeWindow(windows.frame));
  if (!surface) return CLR_INVALID;
  RECT frame;
  GetWindowRect(windows.frame, &frame);
  Uint32 pixel = 0;
  const auto* row = static_cast<const Uint8*>(surface->pixels) + (p.y - frame.top) * surface->pitch;
  std::memcpy(&pixel, row + (p.x - frame.left) * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
  Uint8 r, g, b;
  SDL_GetRGB(pixel, surface->format, &r, &g, &b);
  return RGB(r, g, b);
}

bool CheckReaction() {
  bool ok = true;
  if (!ButtonWasClicked(windows.button)) {
    std::fprintf(stderr, "self-test: the button did not register the click\n");
    ok = false;
  }
  if (ShownAt(windows.button, 4, 4) != kButtonClicked) {
    std::fprintf(stderr, "self-test: the button was not repainted in the clicked colour\n");
    ok = false;
  }
  if (PresentedAt(windows.button, 4, 4) != kButtonClicked) {
    std::fprintf(stderr, "self-test: the display does not show the clicked button\n");
    ok = false;
  }
  String keys = KeysText(windows.keys);
  if (keys != u"K|k") {
    std::fprintf(stderr, "self-test: keys pane shows '%s', expected 'K|k'\n", Utf16ToUtf8(keys).c_str());
    ok = false;
  }
  return ok;
}

SDL_Window* FrameNative() {
  auto* sdl = SdlBackend::Current();
  return sdl ? sdl->NativeWindow(windows.frame) : nullptr;
}

// The display must hold the frame's region as its shape, pixel for pixel.
bool CheckShape() {
  auto held = GetX11WindowShape(FrameNative());
  if (!held) {
    std::printf("self-test: the display cannot shape windows; the region only clips\n");
    return true;
  }
  HRGN expected = CreateRectRgn(0, 0, 0, 0), actual = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(windows.frame, expected);
  for (const RECT& r : *held) {
    HRGN piece = CreateRectRgnIndirect(&r);
    CombineRgn(actual, actual, piece, RGN_OR);
    DeleteObject(piece);
  }
  bool same = EqualRgn(expected, actual) != FALSE;
  DeleteObject(expected);
  DeleteObject(actual);
  if (!same) std::fprintf(stderr, "self-test: the display's shape differs from the window region\n");
  return same;
}

void WriteScreen() {
  if (options.screen.empty()) return;
  RECT r;
  GetWindowRect(windows.frame, &r);
  InflateRect(&r, 20, 20);
  cairo_surface_t* image = CaptureX11Screen(FrameNative(), r);
  if (!image || cairo_surface_write_to_png(image, options.screen.c_str()) != CAIRO_STATUS_SUCCESS)
    std::fprintf(stderr, "could not write %s\n", options.screen.c_str());
  if (image) cairo_surface_destroy(image);
}

void WriteScreenshot() {
  WriteScreen();
  if (options.screenshot.empty()) return;
  cairo_surface_t* image = CaptureWindowImage(windows.frame);
  if (!image || cairo_surface_write_to_png(image, options.screenshot.c_str()) != CAIRO_STATUS_SUCCESS)
    std::fprintf(stderr, "could not write %s\n", options.screenshot.c_str());
  if (image) cairo_surface_destroy(image);
}

void OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (id == kCloseTimer) {
    WriteScreenshot();
    DestroyWindow(windows.frame);
    return;
  }
  ++step;
  if (step == 1) PushNativeInput();
  if (step == 4) {
    bool shapeOk = !options.shaped || CheckShape();
    exitCode = CheckReaction() && shapeOk ? 0 : 1;
    WriteScreenshot();
    std::printf("self-test %s\n", exitCode == 0 ? "passed" : "FAILED");
    DestroyWindow(windows.frame);
  }
}

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--self-test") o.selfTest = true;
    else if (a == "--screenshot" && i + 1 < argc) o.screenshot = argv[++i];
    else if (a == "--screen" && i + 1 < argc) o.screen = argv[++i];
    else if (a == "--seconds" && i + 1 < argc) o.seconds = std::atoi(argv[++i]);
    else if (a == "--shaped") o.shaped = true;
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  options = Parse(argc, argv);
  if (!InstallBackendFromEnvironment("sdl") && options.selfTest) {
    std::fprintf(stderr, "self-test: no display for the sdl backend\n");
    return 77;
  }
  RegisterDemoClasses();
  windows = CreateDemoWindows();
  if (options.shaped) ShapeDemoFrame(windows.frame);
  ShowWindow(windows.frame, SW_SHOWNORMAL);
  UpdateWindow(windows.frame);
  if (options.selfTest) SetTimer(nullptr, kStepTimer, 150, OnTimer);
  if (options.seconds > 0) SetTimer(nullptr, kCloseTimer, static_cast<UINT>(options.seconds) * 1000, OnTimer);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return exitCode;
}
