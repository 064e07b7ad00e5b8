#include "controls/UnicodeText.h"

#include <algorithm>
#include <cstring>

#include "platform/os/CodePage.h"
#include "platform/os/GlobalMemory.h"
#include "platform/window/Clipboard.h"

namespace kestrel {

using namespace platform;

namespace {

int Length(const String& text, int count) {
  int size = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
  return count < 0 ? size : std::min(count, size);
}

// A movable block holding `bytes`, handed to the clipboard; freed when the clipboard refuses it.
bool PlaceBlock(UINT format, const void* data, std::size_t bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (block == nullptr) return false;
  void* target = GlobalLock(block);
  if (target == nullptr) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(target, data, bytes);
  GlobalUnlock(block);
  if (SetClipboardData(format, block) == nullptr) {
    GlobalFree(block);
    return false;
  }
  return true;
}

String ReadUnicodeBlock(HANDLE block) {
  auto* chars = static_cast<const char16_t*>(GlobalLock(block));
  if (chars == nullptr) return {};
  std::size_t max = GlobalSize(block) / sizeof(char16_t);
  String text(chars, std::find(chars, chars + max, u'\0'));
  GlobalUnlock(block);
  return text;
}

}  // namespace

int DrawTextUnicode(HDC dc, const String& text, int count, unsigned format, TRect& rect) {
  return DrawTextW(dc, text.c_str(), Length(text, count), &rect, format);
}

bool GetTextMetricsUnicode(HDC dc, TEXTMETRICW& metrics) { return GetTextMetricsW(dc, &metrics) != FALSE; }

bool TextOutUnicode(TCanvas* canvas, int x, int y, unsigned options, const TRect* clipRect, const String& text,
                    int count) {
  if (canvas == nullptr) return false;
  return ExtTextOutW(canvas->Handle(), x, y, options, clipRect, text.c_str(), static_cast<UINT>(Length(text, count)),
                     nullptr) != FALSE;
}

bool IsRectVisible(TCanvas* canvas, const TRect& rect) {
  return canvas != nullptr && RectVisible(canvas->Handle(), &rect) != FALSE;
}

String ClipboardGetText() {
  if (!OpenClipboard(nullptr)) return {};
  String text;
  if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) text = ReadUnicodeBlock(block);
  CloseClipboard();
  return text;
}

bool ClipboardSetText(const String& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool placed = PlaceBlock(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t));
  int wide = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
  int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), wide, nullptr, 0, nullptr, nullptr);
  if (placed && (bytes > 0 || wide == 0)) {
    std::string ansi(static_cast<std::size_t>(bytes) + 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), wide, ansi.data(), bytes, nullptr, nullptr);
    placed = PlaceBlock(CF_TEXT, ansi.data(), ansi.size());
  }
  CloseClipboard();
  return placed;
}

}  // namespace kestrel
