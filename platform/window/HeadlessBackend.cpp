#include "platform/window/HeadlessBackend.h"

#include <algorithm>
#include <chrono>

#include "platform/window/MessageQueue.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

HeadlessBackend::HeadlessBackend(RECT screen) : screen_(screen) {}

HeadlessBackend* HeadlessBackend::Current() { return dynamic_cast<HeadlessBackend*>(&Wm().GetBackend()); }

void HeadlessBackend::CreateNativeWindow(HWND hwnd, const RECT& screenRect, DWORD, DWORD) {
  natives_[hwnd].rect = screenRect;
}

void HeadlessBackend::DestroyNativeWindow(HWND hwnd) { natives_.erase(hwnd); }

void HeadlessBackend::ShowNativeWindow(HWND hwnd, bool show) { natives_[hwnd].shown = show; }

void HeadlessBackend::MoveNativeWindow(HWND hwnd, const RECT& screenRect) { natives_[hwnd].rect = screenRect; }

void HeadlessBackend::SetNativeTitle(HWND hwnd, const String& title) { natives_[hwnd].title = title; }

void HeadlessBackend::Present(HWND hwnd, cairo_surface_t*, std::span<const RECT> dirty) {
  auto it = natives_.find(hwnd);
  if (it == natives_.end()) return;
  std::vector<RECT>& presented = it->second.presented;
  constexpr std::size_t kKept = 64;
  for (const RECT& r : dirty) {
    ++it->second.presents;
    if (presented.size() == kKept) presented.erase(presented.begin());
    presented.push_back(r);
  }
}

void HeadlessBackend::ForgetPresented() {
  for (auto& [hwnd, native] : natives_) native.presented.clear();
}

bool HeadlessBackend::SetNativeShape(HWND hwnd, const cairo_region_t* shape) {
  auto it = natives_.find(hwnd);
  if (it == natives_.end()) return false;
  it->second.shaped = shape != nullptr;
  it->second.shape = RegionRectangles(shape);
  return true;
}

bool HeadlessBackend::SetClipboardText(const String& text) {
  clipboard_ = text;
  hasClipboard_ = true;
  return true;
}

bool HeadlessBackend::GetClipboardText(String& text) {
  if (!hasClipboard_) return false;
  text = clipboard_;
  return true;
}

bool HeadlessBackend::SetPrimarySelectionText(const String& text) {
  primary_ = text;
  hasPrimary_ = true;
  return true;
}

bool HeadlessBackend::GetPrimarySelectionText(String& text) {
  if (!hasPrimary_) return false;
  text = primary_;
  return true;
}

DWORD HeadlessBackend::Now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void HeadlessBackend::WaitForEvents(int timeoutMs) {
  if (waitHandler_) {
    const std::function<void()> handler = waitHandler_;  // it may replace itself
    handler();
    return;
  }
  wake_.Wait(timeoutMs);
}

void HeadlessBackend::Wake() { wake_.Set(); }

int HeadlessBackend::Pump() {
  // A window that never validates would be painted forever; stop after a generous number.
  constexpr int kLimit = 100000;
  int count = 0;
  MSG msg;
  while (count < kLimit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the caller's loop
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++count;
  }
  return count;
}

void HeadlessBackend::Advance(DWORD ms) {
  DWORD target;
  {
    std::lock_guard lock(mutex_);
    target = now_ + ms;
  }
  auto queue = MessageQueue::Current();
  for (;;) {
    Pump();
    DWORD now = Now();
    // The earliest timer due before the target, if any.
    DWORD next = target;
    for (auto& t : queue->Timers())
      if (static_cast<LONG>(t.due - now) > 0 && static_cast<LONG>(t.due - next) < 0) next = t.due;
    int hover = detail::CheckHover();
    if (hover > 0 && static_cast<LONG>(now + static_cast<DWORD>(hover) - next) < 0)
      next = now + static_cast<DWORD>(hover);
    {
      std::lock_guard lock(mutex_);
      now_ = next;
    }
    Pump();
    if (next == target) break;
  }
  Wake();
}

}  // namespace kestrel::platform
