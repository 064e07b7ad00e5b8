#pragma once
// A DC from GetDC/GetDCEx/GetWindowDC (or a window's own DC), handed back with ReleaseDC when the
// scope ends.

#include <utility>

#include "platform/window/WindowApi.h"

namespace kestrel::platform {

class BorrowedDC {
 public:
  BorrowedDC(HWND hwnd, HDC hdc) noexcept : hwnd_(hwnd), hdc_(hdc) {}
  ~BorrowedDC() {
    if (hdc_) ReleaseDC(hwnd_, hdc_);
  }
  BorrowedDC(BorrowedDC&& other) noexcept : hwnd_(other.hwnd_), hdc_(std::exchange(other.hdc_, nullptr)) {}
  BorrowedDC& operator=(BorrowedDC&&) = delete;
  BorrowedDC(const BorrowedDC&) = delete;
  BorrowedDC& operator=(const BorrowedDC&) = delete;

  HDC get() const { return hdc_; }

 private:
  HWND hwnd_;
  HDC hdc_;
};

}  // namespace kestrel::platform
