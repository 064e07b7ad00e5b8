#include "platform/text/TextOut.h"

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/text/internal/TextContext.h"
#include "platform/text/internal/TextPainter.h"

namespace kestrel::platform {

namespace {

constexpr UINT kMaxRun = 1u << 24;  // longer runs are refused rather than exhausting memory
constexpr int kExtraFailed = static_cast<int>(0x80000000u);

// Sets a DC attribute and returns the previous value, or `failed` for an invalid DC.
template <class T, class U>
T Exchange(HDC hdc, T DeviceContextState::*member, U value, T failed) {
  std::shared_ptr<DeviceContext> dc = hdc ? LookupDeviceContext(hdc) : nullptr;
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return failed;
  }
  T previous = dc->State().*member;
  dc->State().*member = static_cast<T>(value);
  return previous;
}

template <class T>
T Read(HDC hdc, T DeviceContextState::*member, T failed) {
  std::shared_ptr<DeviceContext> dc = hdc ? LookupDeviceContext(hdc) : nullptr;
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return failed;
  }
  return dc->State().*member;
}

// Left edge of a run of `width` placed at `x` with the horizontal part of `align`.
long long AlignedLeft(long long x, long long width, UINT align) {
  if ((align & TA_CENTER) == TA_CENTER) return x - width / 2;
  if (align & TA_RIGHT) return x - width;
  return x;
}

long long AlignedTop(long long y, const TEXTMETRICW& tm, UINT align) {
  if ((align & TA_BASELINE) == TA_BASELINE) return y - tm.tmAscent;
  if (align & TA_BOTTOM) return y - tm.tmHeight;
  return y;
}

int ClampToInt(long long value) {
  constexpr long long kLimit = 1LL << 30;
  return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

}  // namespace

UINT SetTextAlign(HDC hdc, UINT align) {
  return Exchange(hdc, &DeviceContextState::textAlign, align & TA_MASK, GDI_ERROR);
}
UINT GetTextAlign(HDC hdc) { return Read(hdc, &DeviceContextState::textAlign, GDI_ERROR); }

int SetTextCharacterExtra(HDC hdc, int extra) {
  return Exchange(hdc, &DeviceContextState::charExtra, extra, kExtraFailed);
}
int GetTextCharacterExtra(HDC hdc) { return Read(hdc, &DeviceContextState::charExtra, kExtraFailed); }

BOOL TextOutW(HDC hdc, int x, int y, const WCHAR* text, int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, const WCHAR* text, UINT count, const INT* dx) {
  std::optional<TextContext> context = TextContextOf(hdc);
  if (!context) return FALSE;
  if ((count > 0 && !text) || count > kMaxRun || (options & ETO_GLYPH_INDEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DeviceContextState& state = context->State();
  const FontInstance& font = *context->font;
  std::u16string_view run(text ? text : u"", count);

  // Per-thread storage reused from run to run; it is read only before the painter lets go of
  // the DC, so a call made from a damage callback may overwrite it.
  static thread_local std::vector<PlacedGlyph> glyphs;
  static thread_local std::vector<int> advances;
  font.GlyphsInto(run, glyphs);
  if (dx) {
    advances.resize(count);
    std::size_t stride = (options & ETO_PDY) ? 2 : 1;
    for (UINT i = 0; i < count; ++i) advances[i] = dx[i * stride];
  } else {
    RunAdvancesInto(glyphs, run, state.charExtra, advances);
  }
  const long long width = TotalAdvance(advances);
  const UINT align = state.textAlign;
  const bool updateCp = (align & TA_UPDATECP) != 0;
  const long long originX = updateCp ? state.currentPosition.x : x;
  const long long originY = updateCp ? state.currentPosition.y : y;

  if (count == 0 && !((options & ETO_OPAQUE) && rect)) return TRUE;  // nothing to touch
  TextPainter painter(*context->dc, font);
  if ((options & ETO_OPAQUE) && rect) painter.FillBackground(*rect);
  if ((options & ETO_CLIPPED) && rect) painter.SetClip(rect);
  if (count > 0) {
    TextRun textRun;
    textRun.text = run;
    textRun.advances = advances;
    textRun.placed = &glyphs;
    textRun.left = ClampToInt(AlignedLeft(originX, width, align));
    textRun.top = ClampToInt(AlignedTop(originY, font.Metrics(), align));
    painter.Paint(textRun);
  }
  if (updateCp && (align & TA_CENTER) != TA_CENTER)
    state.currentPosition.x = ClampToInt(originX + ((align & TA_RIGHT) ? -width : width));
  ReleaseIfLarge(glyphs);
  ReleaseIfLarge(advances);
  return TRUE;
}

}  // namespace kestrel::platform
