#include "controls/internal/BitmapRegion.h"

#include <cstring>
#include <vector>

namespace kestrel {

using namespace platform;

namespace {

// The runs of one row that differ from the key, as [x0, x1) pairs appended to `rects`.
void AddRowRuns(const std::uint8_t* row, int width, int y, COLORREF key, std::vector<RECT>& rects) {
  const std::uint8_t kb = GetBValue(key), kg = GetGValue(key), kr = GetRValue(key);
  int start = -1;
  for (int x = 0; x < width; ++x) {
    const std::uint8_t* p = row + 4 * x;
    const bool isKey = p[0] == kb && p[1] == kg && p[2] == kr;
    if (!isKey && start < 0) start = x;
    if (isKey && start >= 0) {
      rects.push_back({start, y, x, y + 1});
      start = -1;
    }
  }
  if (start >= 0) rects.push_back({start, y, width, y + 1});
}

}  // namespace

HRGN BitmapToRegion(const TBitmap& bitmap, TColor key) {
  const COLORREF rgb = ColorToRGB(key);
  std::vector<RECT> rects;
  for (int y = 0; y < bitmap.Height(); ++y) AddRowRuns(bitmap.ScanLine(y), bitmap.Width(), y, rgb, rects);
  if (rects.empty()) return nullptr;
  // One region from all runs at once: uniting them one by one costs a pass over the region
  // for every run.
  std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(rects.size());
  header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  header->rcBound = {0, 0, bitmap.Width(), bitmap.Height()};
  std::memcpy(data.data() + sizeof(RGNDATAHEADER), rects.data(), rects.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}

}  // namespace kestrel
