#include "platform/text/TextAnsi.h"

#include <optional>

#include "platform/core/Unicode.h"
#include "platform/text/DrawText.h"
#include "platform/text/TextMeasure.h"
#include "platform/text/TextOut.h"

namespace kestrel::platform {

namespace {

// The wide text for `count` bytes (-1: up to the NUL when `terminated`); nullopt for bad input.
std::optional<String> Widen(const char* text, int count, bool terminated) {
  if (count == -1 && terminated && text) return Utf8ToUtf16(text);
  if (count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  return Utf8ToUtf16(std::string_view(text ? text : "", static_cast<std::size_t>(count)));
}

}  // namespace

BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count) {
  std::optional<String> wide = Widen(text, count, false);
  return wide ? TextOutW(hdc, x, y, wide->c_str(), static_cast<int>(wide->size())) : FALSE;
}

BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size) {
  std::optional<String> wide = Widen(text, count, false);
  return wide ? GetTextExtentPoint32W(hdc, wide->c_str(), static_cast<int>(wide->size()), size) : FALSE;
}

int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format) {
  std::optional<String> wide = Widen(text, count, true);
  return wide ? DrawTextW(hdc, wide->c_str(), static_cast<int>(wide->size()), rect, format & ~DT_MODIFYSTRING) : 0;
}

}  // namespace kestrel::platform
