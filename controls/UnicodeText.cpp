#include "controls/UnicodeText.h"

#include <algorithm>

#include "platform/window/Clipboard.h"

namespace kestrel {

using namespace platform;

namespace {

int Length(const String& text, int count) {
  int size = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
  return count < 0 ? size : std::min(count, size);
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

String ClipboardGetText() { return GetClipboardUnicodeText(); }

bool ClipboardSetText(const String& text) { return SetClipboardUnicodeText(text); }

}  // namespace kestrel
