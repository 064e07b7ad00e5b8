#include "platform/text/TextMeasure.h"

#include <algorithm>

#include "platform/core/Unicode.h"
#include "platform/text/internal/TextContext.h"
#include "platform/text/internal/TextPainter.h"

namespace kestrel::platform {

namespace {

constexpr int kMaxMeasured = 1 << 24;
constexpr UINT kMaxCharRange = 0x110000;

bool BadText(const WCHAR* text, int count) {
  if (count < 0 || count > kMaxMeasured || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return true;
  }
  return false;
}

bool BadRange(UINT first, UINT last, const void* buffer) {
  if (!buffer || last < first || last >= kMaxCharRange) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return true;
  }
  return false;
}

int ClampExtent(long long extent) { return static_cast<int>(std::min<long long>(extent, 0x7FFFFFFF)); }

// The whole extent, and in Fit how many leading units end at most MaxExtent from the start. The
// usual question, measuring one line: kept to two tight loops.
long long ExtentAndFit(const std::vector<int>& advances, int maxExtent, int* fit) {
  const std::size_t count = advances.size();
  long long extent = 0;
  std::size_t i = 0;
  for (; i < count && extent + advances[i] <= maxExtent; ++i) extent += advances[i];
  if (fit) *fit = static_cast<int>(i);
  for (; i < count; ++i) extent += advances[i];
  return extent;
}

// The same, with the extent after every unit in Dx.
long long RunningExtents(const std::vector<int>& advances, int maxExtent, int* fit, int* dx) {
  long long extent = 0;
  int fitting = 0;
  bool stillFits = true;
  for (std::size_t i = 0; i < advances.size(); ++i) {
    extent += advances[i];
    dx[i] = ClampExtent(extent);
    stillFits = stillFits && extent <= maxExtent;
    if (stillFits) fitting = static_cast<int>(i) + 1;
  }
  if (fit) *fit = fitting;
  return extent;
}

}  // namespace

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics) {
  std::optional<TextContext> context = TextContextOf(hdc);
  if (!context) return FALSE;
  if (!metrics) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *metrics = context->font->Metrics();
  return TRUE;
}

int GetTextFaceW(HDC hdc, int count, WCHAR* name) {
  std::optional<TextContext> context = TextContextOf(hdc);
  if (!context) return 0;
  String face = Utf8ToUtf16(context->font->FaceName());
  if (!name) return static_cast<int>(face.size()) + 1;
  if (count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int copied = std::min(static_cast<int>(face.size()), count - 1);
  std::copy_n(face.begin(), copied, name);
  name[copied] = 0;
  return copied + 1;
}

BOOL GetTextExtentPoint32W(HDC hdc, const WCHAR* text, int count, SIZE* size) {
  return GetTextExtentExPointW(hdc, text, count, 0, nullptr, nullptr, size);
}

BOOL GetTextExtentExPointW(HDC hdc, const WCHAR* text, int count, int maxExtent, int* fit, int* dx, SIZE* size) {
  std::optional<TextContext> context = TextContextOf(hdc);
  if (!context) return FALSE;
  if (BadText(text, count) || !size) {
    if (!size) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Per-thread storage reused from call to call: measuring runs once per wrapped line.
  static thread_local std::vector<int> advances;
  RunAdvancesInto(*context->font, std::u16string_view(text ? text : u"", count), context->State().charExtra, advances);
  const long long extent = dx ? RunningExtents(advances, maxExtent, fit, dx) : ExtentAndFit(advances, maxExtent, fit);
  size->cx = ClampExtent(extent);
  size->cy = context->font->Metrics().tmHeight;
  ReleaseIfLarge(advances);
  return TRUE;
}

int GetPrintableAsciiAdvance(HDC hdc) {
  std::optional<TextContext> context = TextContextOf(hdc);
  if (!context) return 0;
  const int advance = context->font->PrintableAsciiAdvance();
  if (advance == 0) return 0;
  const int perUnit = advance + context->State().charExtra;
  return perUnit > 0 ? perUnit : 0;
}

BOOL GetCharWidth32W(HDC hdc, UINT first, UINT last, int* widths) {
  std::optional<TextContext> context = TextContextOf(hdc);
  if (!context || BadRange(first, last, widths)) return FALSE;
  for (UINT c = first; c <= last; ++c) widths[c - first] = context->font->CharAdvance(c);
  return TRUE;
}

BOOL GetCharABCWidthsW(HDC hdc, UINT first, UINT last, ABC* widths) {
  std::optional<TextContext> context = TextContextOf(hdc);
  if (!context || BadRange(first, last, widths)) return FALSE;
  for (UINT c = first; c <= last; ++c) widths[c - first] = context->font->CharABC(c);
  return TRUE;
}

}  // namespace kestrel::platform
