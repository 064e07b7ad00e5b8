#pragma once
// The backend for tests and off-screen use: no display, a virtual clock that tests advance, and
// scripted input that enters through the same hit-testing path as real input.

#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/window/Backend.h"
#include "platform/window/WakeSignal.h"

namespace kestrel::platform {

class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(RECT screen = {0, 0, 1024, 768});

  // The installed backend if it is a headless one (installs one when none is installed yet).
  static HeadlessBackend* Current();

  const char* Name() const override { return "headless"; }
  RECT ScreenRect() const override { return screen_; }
  void CreateNativeWindow(HWND hwnd, const RECT& screenRect, DWORD style, DWORD exStyle) override;
  void DestroyNativeWindow(HWND hwnd) override;
  void ShowNativeWindow(HWND hwnd, bool show) override;
  void MoveNativeWindow(HWND hwnd, const RECT& screenRect) override;
  void SetNativeTitle(HWND hwnd, const String& title) override;
  void Present(HWND hwnd, cairo_surface_t* backing, std::span<const RECT> dirty) override;
  bool SetNativeShape(HWND hwnd, const cairo_region_t* shape) override;
  void SetCursorShape(WORD shape) override { cursorShape_ = shape; }
  // Recorded, for tests of where and when the input method would work.
  void SetTextInputRect(const RECT& screenRect) override { textInputRect_ = screenRect; }
  void SetTextInputEnabled(bool enabled) override { textInputEnabled_ = enabled; }
  RECT TextInputRect() const { return textInputRect_; }
  bool TextInputEnabled() const { return textInputEnabled_; }
  bool SetClipboardText(const String& text) override;
  bool GetClipboardText(String& text) override;
  // Kept in-process, like the clipboard.
  bool SetPrimarySelectionText(const String& text) override;
  bool GetPrimarySelectionText(String& text) override;
  DWORD Now() const override;
  bool ClockIsVirtual() const override { return true; }
  void PumpEvents() override {}
  void WaitForEvents(int timeoutMs) override;
  void Wake() override;

  // Advances the virtual clock by `ms`, stopping at every timer that falls due on the way and
  // dispatching the calling thread's pending messages at each stop, so periodic timers tick as
  // often as they would in real time.
  void Advance(DWORD ms);
  // Dispatches every pending message of the calling thread (sent, posted, input, paint, due
  // timers); returns how many were dispatched.
  static int Pump();
  // With a handler, a wait for events calls it instead of blocking: a driver of scripted input
  // then runs inside every message loop, modal ones included. Null blocks again.
  void SetWaitHandler(std::function<void()> handler) { waitHandler_ = std::move(handler); }

  struct NativeWindow {
    RECT rect{};
    bool shown = false;
    String title;
    int presents = 0;
    std::vector<RECT> presented;  // the rectangles of the latest presents (up to 64), oldest first
    bool shaped = false;
    std::vector<RECT> shape;  // the shape's rectangles while shaped
  };
  const std::map<HWND, NativeWindow>& NativeWindows() const { return natives_; }
  WORD CursorShape() const { return cursorShape_; }
  // Empties every window's list of presented rectangles.
  void ForgetPresented();

 private:
  RECT screen_;
  DWORD now_ = 1000;  // not 0, so that "time 0" never looks like a real message time
  std::map<HWND, NativeWindow> natives_;
  WORD cursorShape_ = 32512;
  RECT textInputRect_{};
  bool textInputEnabled_ = false;
  String clipboard_;
  bool hasClipboard_ = false;
  String primary_;
  bool hasPrimary_ = false;
  mutable std::mutex mutex_;
  WakeSignal wake_;
  std::function<void()> waitHandler_;
};

}  // namespace kestrel::platform
