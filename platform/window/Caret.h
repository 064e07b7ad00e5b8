#pragma once
// The caret: one per thread, drawn by inverting its rectangle in the window (so it shows in
// the backing store and in screenshots), blinking on a timer, hidden while its window paints.

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* point);
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);

// The caret as tests and backends see it.
struct CaretState {
  HWND hwnd = nullptr;
  RECT rect{};         // client coordinates of its window
  int hideCount = 0;   // 0 = shown
  bool drawn = false;  // currently inverted on screen (the blink phase)
};
CaretState GetCaretState();

}  // namespace kestrel::platform
