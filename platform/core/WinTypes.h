#pragma once
// The basic Windows types, with the platform's sizes and numeric rules, so that code written
// against the Windows interfaces reads one-to-one on top of the stand-in.

#include <cstdint>

namespace kestrel::platform {

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using WCHAR = char16_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = WORD;
using LANGID = WORD;
using LCID = DWORD;
using COLORREF = DWORD;  // 0x00BBGGRR

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct POINT {
  LONG x = 0;
  LONG y = 0;
};
struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};
struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};
struct POINTS {
  SHORT x = 0;
  SHORT y = 0;
};

inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Opaque handles. Each is a distinct pointer type, as with STRICT on Windows; HGDIOBJ and
// HANDLE are untyped, so typed GDI handles convert to HGDIOBJ implicitly and back by cast.
// A handle's value is an entry of a checked table (HandleTable.h), never a raw address.
#define KESTREL_DECLARE_HANDLE(name) \
  struct name##__;                   \
  using name = name##__*
KESTREL_DECLARE_HANDLE(HWND);
KESTREL_DECLARE_HANDLE(HDC);
KESTREL_DECLARE_HANDLE(HPEN);
KESTREL_DECLARE_HANDLE(HBRUSH);
KESTREL_DECLARE_HANDLE(HFONT);
KESTREL_DECLARE_HANDLE(HBITMAP);
KESTREL_DECLARE_HANDLE(HRGN);
KESTREL_DECLARE_HANDLE(HPALETTE);
KESTREL_DECLARE_HANDLE(HICON);
KESTREL_DECLARE_HANDLE(HMENU);
KESTREL_DECLARE_HANDLE(HINSTANCE);
KESTREL_DECLARE_HANDLE(HKEY);
KESTREL_DECLARE_HANDLE(HIMC);
KESTREL_DECLARE_HANDLE(HTHEME);
#undef KESTREL_DECLARE_HANDLE
using HCURSOR = HICON;
using HMODULE = HINSTANCE;
using HGDIOBJ = void*;
using HANDLE = void*;
using HGLOBAL = HANDLE;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(DWORD_PTR v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(DWORD_PTR v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(MAKELONG(lo, hi)); }
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lp))); }

// Last-error codes the stand-in sets (a subset of winerror.h, same values).
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

// The calling thread's last error, as GetLastError/SetLastError.
DWORD GetLastError();
void SetLastError(DWORD code);

}  // namespace kestrel::platform
