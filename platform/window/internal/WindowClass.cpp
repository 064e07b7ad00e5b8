#include "platform/window/internal/WindowClass.h"

#include <algorithm>

#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

bool EqualNoCase(const String& a, const String& b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; };
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

String FromWide(LPCWSTR text) {
  if (!text) return {};
  return String(text);
}

int CopyToBuffer(const String& text, LPWSTR buffer, int maxCount) {
  if (!buffer || maxCount <= 0) return 0;
  int n = std::min<int>(static_cast<int>(text.size()), maxCount - 1);
  std::copy_n(text.data(), n, buffer);
  buffer[n] = 0;
  return n;
}

WindowClassRegistry& WindowClassRegistry::Get() {
  static WindowClassRegistry registry;
  return registry;
}

ATOM WindowClassRegistry::Register(const WNDCLASSEXW& wc) {
  if (wc.cbSize != sizeof(WNDCLASSEXW) || !wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || !*wc.lpszClassName ||
      wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > 40960 || wc.cbWndExtra > 40960) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(mutex_);
  String name = wc.lpszClassName;
  for (auto& c : classes_) {
    if (EqualNoCase(c->name, name)) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  if (nextAtom_ == 0xFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = name;
  c->atom = nextAtom_++;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->wndExtra = wc.cbWndExtra;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->iconSmall = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  c->classExtra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
  classes_.push_back(c);
  return c->atom;
}

std::shared_ptr<WindowClass> WindowClassRegistry::Find(LPCWSTR nameOrAtom) const {
  if (!nameOrAtom) return nullptr;
  std::lock_guard lock(mutex_);
  if (IS_INTRESOURCE(nameOrAtom)) {
    auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
    for (auto& c : classes_)
      if (c->atom == atom) return c;
    return nullptr;
  }
  String name = nameOrAtom;
  for (auto& c : classes_)
    if (EqualNoCase(c->name, name)) return c;
  return nullptr;
}

bool WindowClassRegistry::Unregister(LPCWSTR nameOrAtom) {
  auto c = Find(nameOrAtom);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  std::lock_guard lock(mutex_);
  if (c->windowCount > 0) {
    // ERROR_CLASS_HAS_WINDOWS
    SetLastError(1412);
    return false;
  }
  classes_.erase(std::remove(classes_.begin(), classes_.end(), c), classes_.end());
  return true;
}

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return WindowClassRegistry::Get().Register(*wc);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
  return WindowClassRegistry::Get().Unregister(className) ? TRUE : FALSE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* out) {
  auto c = WindowClassRegistry::Get().Find(className);
  if (!c || !out) {
    SetLastError(c ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  out->cbSize = sizeof(WNDCLASSEXW);
  out->style = c->style;
  out->lpfnWndProc = c->proc;
  out->cbClsExtra = static_cast<int>(c->classExtra.size());
  out->cbWndExtra = c->wndExtra;
  out->hInstance = c->instance;
  out->hIcon = c->icon;
  out->hCursor = c->cursor;
  out->hbrBackground = c->background;
  out->lpszMenuName = nullptr;
  // The name stays valid while the class is registered; Windows returns the caller's pointer.
  out->lpszClassName = IS_INTRESOURCE(className) ? c->name.c_str() : className;
  out->hIconSm = c->iconSmall;
  return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount) {
  auto w = ValidWindow(hwnd);
  return w ? CopyToBuffer(w->windowClass->name, buffer, maxCount) : 0;
}

namespace {

bool ClassExtraRange(const WindowClass& c, int index, size_t bytes) {
  return index >= 0 && static_cast<size_t>(index) + bytes <= c.classExtra.size();
}

}  // namespace

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index) {
  auto w = ValidWindow(hwnd);
  if (!w) return 0;
  WindowClass& c = *w->windowClass;
  switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c.wndExtra);
    case GCL_CBCLSEXTRA: return c.classExtra.size();
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_STYLE: return c.style;
    default: break;
  }
  if (!ClassExtraRange(c, index, sizeof(ULONG_PTR))) {
    SetLastError(1413);  // ERROR_INVALID_INDEX
    return 0;
  }
  ULONG_PTR value = 0;
  std::copy_n(c.classExtra.data() + index, sizeof(value), reinterpret_cast<BYTE*>(&value));
  return value;
}

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  auto w = ValidWindow(hwnd);
  if (!w) return 0;
  WindowClass& c = *w->windowClass;
  ULONG_PTR old = GetClassLongPtrW(hwnd, index);
  switch (index) {
    case GCLP_HBRBACKGROUND: c.background = reinterpret_cast<HBRUSH>(value); return old;
    case GCLP_HCURSOR: c.cursor = reinterpret_cast<HCURSOR>(value); return old;
    case GCLP_HICON: c.icon = reinterpret_cast<HICON>(value); return old;
    case GCLP_WNDPROC: c.proc = reinterpret_cast<WNDPROC>(value); return old;
    case GCL_STYLE: c.style = static_cast<UINT>(value); return old;
    default: break;
  }
  if (!ClassExtraRange(c, index, sizeof(ULONG_PTR))) {
    SetLastError(1413);
    return 0;
  }
  std::copy_n(reinterpret_cast<const BYTE*>(&value), sizeof(value), c.classExtra.data() + index);
  return old;
}

}  // namespace kestrel::platform
