#include "platform/window/Caret.h"

#include "platform/gdi/Blit.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/window/BorrowedDC.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

constexpr UINT_PTR kBlinkTimer = 0xFFFF0001;  // out of the way of program timer ids

UINT blinkTime = 530;
CaretState caret;

void Invert() {
  if (!IsWindow(caret.hwnd)) return;
  BorrowedDC dc(caret.hwnd, GetDCEx(caret.hwnd, nullptr, 0));
  PatBlt(dc.get(), caret.rect.left, caret.rect.top, caret.rect.right - caret.rect.left,
         caret.rect.bottom - caret.rect.top, DSTINVERT);
  caret.drawn = !caret.drawn;
}

void Erase() {
  if (caret.drawn) Invert();
}

void Blink(HWND, UINT, UINT_PTR, DWORD) {
  if (caret.hwnd && caret.hideCount == 0) Invert();
}

void RestartBlink() {
  if (!caret.hwnd) return;
  SetTimer(caret.hwnd, kBlinkTimer, blinkTime, Blink);
}

}  // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  if (!ValidWindow(hwnd)) return FALSE;
  DestroyCaret();
  caret.hwnd = hwnd;
  caret.rect = {0, 0, width > 0 ? width : 1, height > 0 ? height : 1};
  caret.hideCount = 1;  // a new caret starts hidden
  caret.drawn = false;
  RestartBlink();
  return TRUE;
}

BOOL DestroyCaret() {
  if (!caret.hwnd) return FALSE;
  Erase();
  if (IsWindow(caret.hwnd)) KillTimer(caret.hwnd, kBlinkTimer);
  caret = CaretState{};
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  if (!caret.hwnd) return FALSE;
  if (caret.rect.left == x && caret.rect.top == y) return TRUE;
  Erase();
  int w = caret.rect.right - caret.rect.left, h = caret.rect.bottom - caret.rect.top;
  caret.rect = {x, y, x + w, y + h};
  if (caret.hideCount == 0) {
    Invert();  // a moved caret shows at once and blinks from there
    RestartBlink();
  }
  return TRUE;
}

BOOL GetCaretPos(POINT* point) {
  if (!point || !caret.hwnd) return FALSE;
  *point = {caret.rect.left, caret.rect.top};
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  if (!caret.hwnd || (hwnd && hwnd != caret.hwnd) || caret.hideCount == 0) return FALSE;
  if (--caret.hideCount == 0) {
    Invert();
    RestartBlink();
  }
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  if (!caret.hwnd || (hwnd && hwnd != caret.hwnd)) return FALSE;
  if (caret.hideCount++ == 0) Erase();
  return TRUE;
}

UINT GetCaretBlinkTime() { return blinkTime; }

BOOL SetCaretBlinkTime(UINT milliseconds) {
  blinkTime = milliseconds ? milliseconds : 530;
  RestartBlink();
  return TRUE;
}

CaretState GetCaretState() {
  if (caret.hwnd && !IsWindow(caret.hwnd)) caret = CaretState{};  // its window is gone
  return caret;
}

}  // namespace kestrel::platform
