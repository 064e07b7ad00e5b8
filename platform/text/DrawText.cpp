#include "platform/text/DrawText.h"

#include <algorithm>

#include "platform/text/internal/TextContext.h"
#include "platform/text/internal/TextLayout.h"
#include "platform/text/internal/TextPainter.h"

namespace kestrel::platform {

namespace {

constexpr int kMaxDrawn = 1 << 24;
constexpr int kDefaultTabChars = 8;
constexpr UINT kTabLengthBits = 0xFF00;  // with DT_TABSTOP, bits 8-15 hold the tab length

struct Request {
  UINT format = 0;
  int tabChars = kDefaultTabChars;
  int leftMargin = 0;
  int rightMargin = 0;
};

Request ReadRequest(UINT format, const DRAWTEXTPARAMS* params) {
  Request request;
  request.format = format;
  if (format & DT_TABSTOP) {
    request.tabChars = static_cast<int>((format & kTabLengthBits) >> 8);
    request.format &= ~kTabLengthBits;
  }
  if (params) {
    if (params->iTabLength > 0) request.tabChars = params->iTabLength;
    request.leftMargin = std::max(0, params->iLeftMargin);
    request.rightMargin = std::max(0, params->iRightMargin);
  }
  return request;
}

// Top of the first line for the vertical alignment (which only single lines have).
long long FirstLineTop(const RECT& rect, UINT format, int lineHeight) {
  if (!(format & DT_SINGLELINE)) return rect.top;
  if (format & DT_BOTTOM) return static_cast<long long>(rect.bottom) - lineHeight;
  if (format & DT_VCENTER) return rect.top + (static_cast<long long>(rect.bottom) - rect.top - lineHeight) / 2;
  return rect.top;
}

long long LineLeft(const RECT& rect, const Request& request, int lineWidth) {
  long long left = static_cast<long long>(rect.left) + request.leftMargin;
  long long room = static_cast<long long>(rect.right) - request.rightMargin - left;
  if (request.format & DT_CENTER) return left + (room - lineWidth) / 2;
  if (request.format & DT_RIGHT) return left + room - lineWidth;
  return left;
}

int Saturate(long long value) { return static_cast<int>(std::clamp<long long>(value, -0x7FFFFFFF, 0x7FFFFFFF)); }

void Paint(const TextContext& context, const TextLayoutResult& layout, const RECT& rect, const Request& request,
           long long firstTop, int lineHeight) {
  TextPainter painter(*context.dc, *context.font);
  if (!(request.format & DT_NOCLIP)) painter.SetClip(&rect);
  const bool underlines = !(request.format & DT_HIDEPREFIX);
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    const TextLayoutLine& line = layout.lines[i];
    TextRun run;
    run.text = line.text;
    run.advances = line.advances;
    run.left = Saturate(LineLeft(rect, request, line.width));
    run.top = Saturate(firstTop + static_cast<long long>(i) * lineHeight);
    // An edit control shows no partly visible last line.
    if ((request.format & DT_EDITCONTROL) && i > 0 && static_cast<long long>(run.top) + lineHeight > rect.bottom) break;
    run.glyphs = !(request.format & DT_PREFIXONLY);
    if (underlines) run.underlined = line.underlined;
    painter.Paint(run);
  }
}

// DT_MODIFYSTRING: the shown (ellipsized) text goes back into the caller's buffer, which holds
// count + 4 units by contract; an ellipsis never makes the text longer than count + 3.
void WriteBack(WCHAR* text, int count, const TextLayoutResult& layout) {
  if (!text || !layout.ellipsized || layout.lines.size() != 1) return;
  const String& shown = layout.lines.front().text;
  std::size_t n = std::min<std::size_t>(shown.size(), static_cast<std::size_t>(count) + 3);
  std::copy_n(shown.begin(), n, text);
  text[n] = 0;
}

int DrawTextImpl(HDC hdc, const WCHAR* text, WCHAR* writable, int count, RECT* rect, UINT format,
                 DRAWTEXTPARAMS* params) {
  std::optional<TextContext> context = TextContextOf(hdc);
  if (!context) return 0;
  if (!rect || count < -1 || (count != 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (count == -1) count = TerminatedLength(text);
  if (count > kMaxDrawn) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const Request request = ReadRequest(format, params);
  const FontInstance& font = *context->font;
  const TEXTMETRICW& tm = font.Metrics();
  const int lineHeight = tm.tmHeight + ((request.format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  const int charExtra = context->State().charExtra;

  TextLayoutMetrics metrics;
  metrics.advances = [&font, charExtra](std::u16string_view s) { return RunAdvances(font, s, charExtra); };
  metrics.tabWidth = std::max(1, request.tabChars * static_cast<int>(tm.tmAveCharWidth));
  long long room = static_cast<long long>(rect->right) - rect->left - request.leftMargin - request.rightMargin;
  TextLayoutResult layout =
      LayoutText(std::u16string_view(text ? text : u"", count), request.format, Saturate(room), metrics);

  const long long height = static_cast<long long>(layout.lines.size()) * lineHeight;
  const long long firstTop = FirstLineTop(*rect, request.format, lineHeight);
  if (request.format & DT_MODIFYSTRING) WriteBack(writable, count, layout);
  if (params) params->uiLengthDrawn = static_cast<UINT>(count);
  if (request.format & DT_CALCRECT) {
    rect->right =
        Saturate(static_cast<long long>(rect->left) + request.leftMargin + layout.width + request.rightMargin);
    rect->bottom = Saturate(rect->top + height);
    return Saturate(height);
  }
  if (!layout.lines.empty()) Paint(*context, layout, *rect, request, firstTop, lineHeight);
  return Saturate(firstTop - rect->top + height);
}

}  // namespace

int DrawTextW(HDC hdc, const WCHAR* text, int count, RECT* rect, UINT format) {
  return DrawTextImpl(hdc, text, nullptr, count, rect, format, nullptr);
}

int DrawTextExW(HDC hdc, WCHAR* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  return DrawTextImpl(hdc, text, text, count, rect, format, params);
}

}  // namespace kestrel::platform
