#include "platform/window/internal/MessageBoxIcon.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/text/Text.h"
#include "platform/window/MessageBox.h"

namespace kestrel::platform {

namespace {

constexpr COLORREF kErrorRed = RGB(0xD4, 0x28, 0x28);
constexpr COLORREF kInfoBlue = RGB(0x26, 0x68, 0xC8);
constexpr COLORREF kWarningYellow = RGB(0xF8, 0xCC, 0x20);
constexpr COLORREF kOutline = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBlack = RGB(0x00, 0x00, 0x00);

// Selects a solid pen and brush for one shape and puts the old ones back afterwards.
class Paint {
 public:
  Paint(HDC hdc, COLORREF line, int width, COLORREF fill)
      : pen_(CreatePen(PS_SOLID, width, line)),
        brush_(CreateSolidBrush(fill)),
        penSelection_(hdc, pen_.get()),
        brushSelection_(hdc, brush_.get()) {}

 private:
  // Declared before the selections, so the old objects are back before these go.
  OwnedPen pen_;
  OwnedBrush brush_;
  SelectedObject penSelection_, brushSelection_;
};

void FillBox(HDC hdc, int left, int top, int right, int bottom, COLORREF color) {
  RECT r{left, top, right, bottom};
  OwnedBrush brush(CreateSolidBrush(color));
  FillRect(hdc, &r, brush.get());
}

void Disc(HDC hdc, int x, int y, COLORREF fill) {
  Paint paint(hdc, kOutline, 1, fill);
  Ellipse(hdc, x + 1, y + 1, x + 31, y + 31);
}

void ErrorIcon(HDC hdc, int x, int y) {
  Disc(hdc, x, y, kErrorRed);
  Paint paint(hdc, kWhite, 4, kWhite);
  MoveToEx(hdc, x + 10, y + 10, nullptr);
  LineTo(hdc, x + 22, y + 22);
  MoveToEx(hdc, x + 22, y + 10, nullptr);
  LineTo(hdc, x + 10, y + 22);
}

void WarningIcon(HDC hdc, int x, int y) {
  {
    Paint paint(hdc, kOutline, 1, kWarningYellow);
    POINT triangle[] = {{x + 16, y + 1}, {x + 31, y + 29}, {x + 1, y + 29}};
    Polygon(hdc, triangle, 3);
  }
  FillBox(hdc, x + 14, y + 9, x + 18, y + 21, kBlack);
  FillBox(hdc, x + 14, y + 23, x + 18, y + 27, kBlack);
}

void InformationIcon(HDC hdc, int x, int y) {
  Disc(hdc, x, y, kInfoBlue);
  FillBox(hdc, x + 14, y + 7, x + 18, y + 11, kWhite);
  FillBox(hdc, x + 14, y + 13, x + 18, y + 25, kWhite);
}

void QuestionIcon(HDC hdc, int x, int y) {
  Disc(hdc, x, y, kInfoBlue);
  OwnedFont font(CreateFontW(-22, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma"));
  SelectedObject selection(hdc, font.get());
  SetBkMode(hdc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(hdc, kWhite);
  RECT r{x, y, x + kMessageBoxIconSize, y + kMessageBoxIconSize};
  DrawTextW(hdc, u"?", 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(hdc, oldColor);
}

}  // namespace

bool HasMessageBoxIcon(UINT type) {
  UINT icon = type & MB_ICONMASK;
  return icon == MB_ICONHAND || icon == MB_ICONQUESTION || icon == MB_ICONEXCLAMATION || icon == MB_ICONASTERISK;
}

void DrawMessageBoxIcon(HDC hdc, int x, int y, UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: ErrorIcon(hdc, x, y); break;
    case MB_ICONQUESTION: QuestionIcon(hdc, x, y); break;
    case MB_ICONEXCLAMATION: WarningIcon(hdc, x, y); break;
    case MB_ICONASTERISK: InformationIcon(hdc, x, y); break;
    default: break;
  }
}

}  // namespace kestrel::platform
