#pragma once
// A registered window class and the process's class registry.

#include <memory>
#include <mutex>
#include <vector>

#include "platform/core/Unicode.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

struct WindowClass {
  String name;  // as registered; looked up case-insensitively (ASCII), as Windows does
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::vector<BYTE> classExtra;
  int windowCount = 0;  // live windows of the class: such a class cannot be unregistered
};

class WindowClassRegistry {
 public:
  static WindowClassRegistry& Get();

  // 0 and ERROR_CLASS_ALREADY_EXISTS when the name is taken.
  ATOM Register(const WNDCLASSEXW& wc);
  bool Unregister(LPCWSTR name);
  // By name or by atom (MAKEINTATOM-style pointer values below 0x10000).
  std::shared_ptr<WindowClass> Find(LPCWSTR nameOrAtom) const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<WindowClass>> classes_;
  ATOM nextAtom_ = 0xC000;
};

// Case-insensitive (ASCII letters) comparison, as class and property names compare on Windows.
bool EqualNoCase(const String& a, const String& b);
// A NUL-terminated wide string as String (empty for null).
String FromWide(LPCWSTR text);
// Copies as much of `text` as fits into `buffer` of `maxCount` units, NUL-terminated; returns
// the units copied (0 without a buffer).
int CopyToBuffer(const String& text, LPWSTR buffer, int maxCount);

}  // namespace kestrel::platform
