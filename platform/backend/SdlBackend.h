#pragma once
// The display backend on SDL2: one borderless SDL window per top-level window (the frame is
// ours), presenting the backing store through the window surface; SDL input becomes injected
// input, SDL text input becomes characters; system cursors and clipboard text; real time.

#include <SDL.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/backend/EventFdSignal.h"
#include "platform/core/OwnedHandles.h"
#include "platform/window/Backend.h"

namespace kestrel::platform {

class X11Connection;
class WheelAccumulator;

using SdlWindowPtr = std::unique_ptr<SDL_Window, ReleaseWith<SDL_Window, SDL_DestroyWindow>>;
using SdlCursorPtr = std::unique_ptr<SDL_Cursor, ReleaseWith<SDL_Cursor, SDL_FreeCursor>>;

class SdlBackend : public Backend {
 public:
  // Null when the video subsystem cannot start (no display).
  static std::unique_ptr<SdlBackend> Create();
  // The installed backend if it is an SDL one, else null.
  static SdlBackend* Current();
  ~SdlBackend() override;

  const char* Name() const override { return "sdl"; }
  RECT ScreenRect() const override;
  void CreateNativeWindow(HWND hwnd, const RECT& screenRect, DWORD style, DWORD exStyle) override;
  void DestroyNativeWindow(HWND hwnd) override;
  void ShowNativeWindow(HWND hwnd, bool show) override;
  void MoveNativeWindow(HWND hwnd, const RECT& screenRect) override;
  void SetNativeTitle(HWND hwnd, const String& title) override;
  void SetNativeMinimized(HWND hwnd, bool minimized) override;
  void Present(HWND hwnd, cairo_surface_t* backing, std::span<const RECT> dirty) override;
  // On X11 the server moves the pixels.
  bool MoveNativePixels(HWND hwnd, const cairo_region_t* area, int dx, int dy) override;
  // On X11 through the SHAPE extension; other displays only clip (false).
  bool SetNativeShape(HWND hwnd, const cairo_region_t* shape) override;
  void SetCursorShape(WORD shape) override;
  void SetTextInputRect(const RECT& screenRect) override;
  void SetTextInputEnabled(bool enabled) override;
  bool SetClipboardText(const String& text) override;
  bool GetClipboardText(String& text) override;
  bool SetPrimarySelectionText(const String& text) override;
  bool GetPrimarySelectionText(String& text) override;
  // While text input is off, keys make the characters (through the keyboard layout).
  bool ProvidesText() const override { return textInput_; }
  DWORD Now() const override { return SDL_GetTicks(); }
  void PumpEvents() override;
  void WaitForEvents(int timeoutMs) override;
  // On X11 the descriptors join the wait on the X connection.
  void WaitForEventsAndFds(int timeoutMs, std::vector<pollfd>& fds) override;
  void Wake() override;

  // The SDL window showing a top-level window (null if none), for tests and the demo.
  SDL_Window* NativeWindow(HWND hwnd) const;
  // The virtual key for an SDL key code (0 when there is none).
  static int VirtualKeyFromSdl(SDL_Keycode key);
  // The virtual key of a key press: by its key code, or, for keys whose symbol has no virtual
  // key of its own (ü, ß, # or + on a German keyboard), by its position on the active layout.
  static int VirtualKeyOf(const SDL_Keysym& key);

 private:
  SdlBackend();
  void Handle(const SDL_Event& e);
  void HandleWindowEvent(const SDL_WindowEvent& e);
  // `start` and `length` (code points) mark the selected part: the cursor and the clause.
  void Composing(const char* utf8, int start, int length);
  HWND WindowOf(Uint32 windowId) const;
  POINT ToScreen(HWND hwnd, int x, int y) const;
  void PresentWhole(HWND hwnd);
  void PumpNativeEvents();
  // Presents again what the server's moves could not fill (`event`: a report SDL read; null:
  // reports still waiting on the connection).
  void PresentUncopied(const SDL_SysWMmsg* event);

  struct Native {
    SdlWindowPtr window;
    CairoSurface backing;                    // a reference to the backing store last presented
    std::optional<std::vector<RECT>> shape;  // the window region, while there is one
    SDL_Surface* surface = nullptr;          // the window surface last presented to
  };
  // Creating a window surface resets the X window's shape: shaping is applied again then.
  static bool ApplyShape(const Native& native);
  // Shows `r` of the backing store through SDL's window surface.
  static void PresentThroughSurface(Native& native, const RECT& r);

  std::map<HWND, Native> natives_;
  // On X11 (from the first window on): native events are checked and waited for, and pixels
  // shown, on the X connection directly; elsewhere through SDL.
  std::unique_ptr<X11Connection> x11_;
  EventFdSignal wakeSignal_;
  Uint32 lastFullPump_ = 0;
  std::map<WORD, SdlCursorPtr> cursors_;
  Uint32 wakeEvent_ = 0;
  bool composing_ = false;
  bool textInput_ = false;
  bool focusLost_ = false;  // a window lost the keyboard during this pump
  // Fractions of a notch from a high-resolution wheel, carried between events.
  std::unique_ptr<WheelAccumulator> wheelX_;
  std::unique_ptr<WheelAccumulator> wheelY_;
};

}  // namespace kestrel::platform
