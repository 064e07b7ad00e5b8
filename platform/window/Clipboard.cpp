#include "platform/window/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/core/ProcessWide.h"
#include "platform/os/GlobalMemory.h"
#include "platform/window/Backend.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowClass.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

struct ClipboardState {
  std::mutex mutex;
  bool open = false;
  HWND opener = nullptr;
  std::thread::id openThread;
  HWND owner = nullptr;
  std::vector<std::pair<UINT, HANDLE>> formats;  // in the order they were set
  std::vector<String> names;                     // registered formats, from 0xC000
};

void FreeAll(ClipboardState& s);

// A test reset empties and closes the clipboard in place; the registered format names stay, as
// their numbers may be kept anywhere.
ClipboardState* EmptiedForReset(ClipboardState& s) {
  std::lock_guard lock(s.mutex);
  FreeAll(s);
  s.open = false;
  s.opener = s.owner = nullptr;
  s.openThread = {};
  return &s;
}

constinit ProcessWide<ClipboardState> gState(ProcessWideOptions<ClipboardState>{.renew = &EmptiedForReset});

ClipboardState& State() { return *gState; }

bool OpenedHere(ClipboardState& s) { return s.open && s.openThread == std::this_thread::get_id(); }

HANDLE Find(ClipboardState& s, UINT format) {
  for (auto& [f, h] : s.formats)
    if (f == format) return h;
  return nullptr;
}

HGLOBAL BlockOf(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  if (void* p = GlobalLock(block)) {
    std::memcpy(p, bytes, size);
    GlobalUnlock(block);
  }
  return block;
}

// The text of a CF_UNICODETEXT / CF_TEXT block, up to its terminating NUL.
String WideText(HANDLE block) {
  const auto* p = static_cast<const char16_t*>(GlobalLock(block));
  if (!p) return {};
  size_t n = GlobalSize(block) / sizeof(char16_t);
  String text(p, std::find(p, p + n, u'\0'));
  GlobalUnlock(block);
  return text;
}

String NarrowText(HANDLE block) {
  const auto* p = static_cast<const char*>(GlobalLock(block));
  if (!p) return {};
  size_t n = GlobalSize(block);
  std::string text(p, std::find(p, p + n, '\0'));
  GlobalUnlock(block);
  return Utf8ToUtf16(text);
}

HANDLE Store(ClipboardState& s, UINT format, HANDLE data) {
  for (auto& [f, h] : s.formats)
    if (f == format) {
      if (h != data) GlobalFree(h);
      h = data;
      return data;
    }
  s.formats.emplace_back(format, data);
  return data;
}

void FreeAll(ClipboardState& s) {
  for (auto& [f, h] : s.formats) GlobalFree(h);
  s.formats.clear();
}

// Text inside ends its lines with CR LF; the system's clipboard and selections with LF.
String ToSystemLineBreaks(const String& text) {
  String out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) out += text[i];
  return out;
}

String FromSystemLineBreaks(const String& text) {
  String out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
    out += text[i];
  }
  return out;
}

bool SystemText(String& text) {
  if (!Wm().GetBackend().GetClipboardText(text)) return false;
  text = FromSystemLineBreaks(text);
  return true;
}

void OfferSystemText(const String& text) { Wm().GetBackend().SetClipboardText(ToSystemLineBreaks(text)); }

// Hands a copy of `bytes` to the clipboard as `format`; the block is freed when it is refused.
bool PlaceBlock(UINT format, const void* bytes, size_t size) {
  HGLOBAL block = BlockOf(bytes, size);
  if (!block) return false;
  if (SetClipboardData(format, block)) return true;
  GlobalFree(block);
  return false;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (s.open && !OpenedHere(s)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  s.open = true;
  s.opener = owner;
  s.openThread = std::this_thread::get_id();
  return TRUE;
}

BOOL CloseClipboard() {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (!OpenedHere(s)) return FALSE;
  s.open = false;
  s.opener = nullptr;
  return TRUE;
}

BOOL EmptyClipboard() {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (!OpenedHere(s)) return FALSE;
  FreeAll(s);
  s.owner = s.opener;
  OfferSystemText(String());
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (!OpenedHere(s) || !data || GlobalSize(data) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Store(s, format, data);
  if (format == CF_UNICODETEXT) OfferSystemText(WideText(data));
  if (format == CF_TEXT) OfferSystemText(NarrowText(data));
  return data;
}

HANDLE GetClipboardData(UINT format) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (!OpenedHere(s)) return nullptr;
  if (format == CF_UNICODETEXT || format == CF_TEXT) {
    // Text comes from the system clipboard, which other programs may have changed.
    String text;
    if (!SystemText(text) || text.empty()) {
      if (HANDLE h = Find(s, format)) return h;
      HANDLE other = Find(s, format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT);
      if (!other) return nullptr;
      text = format == CF_TEXT ? WideText(other) : NarrowText(other);
    }
    if (format == CF_UNICODETEXT) return Store(s, format, BlockOf(text.c_str(), (text.size() + 1) * sizeof(char16_t)));
    std::string utf8 = Utf16ToUtf8(text);
    return Store(s, format, BlockOf(utf8.c_str(), utf8.size() + 1));
  }
  return Find(s, format);
}

BOOL IsClipboardFormatAvailable(UINT format) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (Find(s, format)) return TRUE;
  if (format == CF_UNICODETEXT || format == CF_TEXT) {
    String text;
    if (Find(s, CF_UNICODETEXT) || Find(s, CF_TEXT) || (SystemText(text) && !text.empty())) return TRUE;
  }
  return FALSE;
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
  if (!name || IS_INTRESOURCE(name) || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& s = State();
  std::lock_guard lock(s.mutex);
  String key = name;
  for (size_t i = 0; i < s.names.size(); ++i)
    if (EqualNoCase(s.names[i], key)) return static_cast<UINT>(0xC000 + i);
  if (s.names.size() >= 0x3FFF) return 0;
  s.names.push_back(key);
  return static_cast<UINT>(0xC000 + s.names.size() - 1);
}

int GetClipboardFormatNameW(UINT format, LPWSTR buffer, int maxCount) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (format < 0xC000 || format - 0xC000 >= s.names.size()) return 0;
  return CopyToBuffer(s.names[format - 0xC000], buffer, maxCount);
}

int CountClipboardFormats() {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  return static_cast<int>(s.formats.size());
}

UINT EnumClipboardFormats(UINT format) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (!OpenedHere(s)) return 0;
  bool next = format == 0;
  for (auto& [f, h] : s.formats) {
    if (next) return f;
    next = f == format;
  }
  return 0;
}

String GetClipboardUnicodeText() {
  if (!OpenClipboard(nullptr)) return {};
  String text;
  if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) text = WideText(block);
  CloseClipboard();
  return text;
}

bool SetClipboardUnicodeText(const String& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const std::string ansi = Utf16ToUtf8(text);
  const bool placed = PlaceBlock(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t)) &&
                      PlaceBlock(CF_TEXT, ansi.c_str(), ansi.size() + 1);
  CloseClipboard();
  return placed;
}

bool SetPrimarySelectionText(const String& text) {
  return Wm().GetBackend().SetPrimarySelectionText(ToSystemLineBreaks(text));
}

String GetPrimarySelectionText() {
  String text;
  if (!Wm().GetBackend().GetPrimarySelectionText(text)) return {};
  return FromSystemLineBreaks(text);
}

HWND GetClipboardOwner() { return State().owner; }
HWND GetOpenClipboardWindow() { return State().open ? State().opener : nullptr; }

}  // namespace kestrel::platform
