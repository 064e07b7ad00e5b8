#include "platform/window/internal/CaptionText.h"

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/text/DrawText.h"
#include "platform/text/Font.h"
#include "platform/text/TextOut.h"

namespace kestrel::platform {

namespace {

HFONT CaptionFont() {
  static HFONT font = CreateFontW(-11, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  return font;
}

}  // namespace

void DrawCaptionText(HDC hdc, const String& text, RECT rect, COLORREF color) {
  auto dc = LookupDeviceContext(hdc);
  if (!dc || text.empty()) return;
  HGDIOBJ oldFont = dc->State().font;
  dc->State().font = CaptionFont();
  COLORREF oldColor = SetTextColor(hdc, color);
  int oldMode = SetBkMode(hdc, TRANSPARENT);
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetBkMode(hdc, oldMode);
  SetTextColor(hdc, oldColor);
  dc->State().font = oldFont;
}

}  // namespace kestrel::platform
