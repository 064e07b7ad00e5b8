#include "controls/GdiScope.h"

#include <limits>

#include "platform/gdi/OwnedGdi.h"

namespace kestrel {

using namespace platform;

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  std::int64_t half = divisor / 2;
  std::int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) {
    return -1;
  }
  return static_cast<int>(result);
}

bool RectSize(const RECT& r, int& width, int& height) {
  std::int64_t w = static_cast<std::int64_t>(r.right) - r.left;
  std::int64_t h = static_cast<std::int64_t>(r.bottom) - r.top;
  if (w <= 0 || h <= 0 || w > std::numeric_limits<int>::max() || h > std::numeric_limits<int>::max()) {
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

void DrawLine(HDC dc, COLORREF rgb, int x0, int y0, int x1, int y1) {
  const OwnedPen pen(CreatePen(PS_SOLID, 1, rgb));
  const SelectedObject selected(dc, pen.get());
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

}  // namespace kestrel
