#include "platform/gdi/Palettes.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/gdi/DcState.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Palette.h"

namespace kestrel::platform {

int Palette::GetObjectData(int size, void* buffer) const {
  if (!buffer) return sizeof(WORD);
  if (size < static_cast<int>(sizeof(WORD))) return 0;
  WORD count = static_cast<WORD>(entries_.size());
  std::memcpy(buffer, &count, sizeof count);
  return sizeof(WORD);
}

namespace {
constexpr UINT kMaxEntries = 65535;

std::shared_ptr<Palette> PaletteOrFail(HPALETTE handle) {
  auto palette = LookupGdi<Palette>(handle);
  if (!palette) SetLastError(ERROR_INVALID_HANDLE);
  return palette;
}

HPALETTE Register(std::vector<PALETTEENTRY> entries) {
  return static_cast<HPALETTE>(RegisterGdiObject(std::make_shared<Palette>(std::move(entries))));
}
}  // namespace

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Register(std::vector<PALETTEENTRY>(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries));
}

std::vector<PALETTEENTRY> HalftoneEntries() {
  std::vector<PALETTEENTRY> entries;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) entries.push_back(PALETTEENTRY{BYTE(r * 51), BYTE(g * 51), BYTE(b * 51), 0});
  // Greys between the cube's levels.
  for (int i = 0; i < 40; ++i) {
    BYTE v = static_cast<BYTE>(6 + i * 6);
    entries.push_back(PALETTEENTRY{v, v, v, 0});
  }
  return entries;
}

HPALETTE CreateHalftonePalette(HDC) { return Register(HalftoneEntries()); }

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries) {
  auto palette = PaletteOrFail(handle);
  if (!palette) return 0;
  const auto& all = palette->Entries();
  if (!entries) return static_cast<UINT>(all.size());
  if (start >= all.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(all.size()) - start);
  std::copy_n(all.begin() + start, n, entries);
  return n;
}

UINT SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries) {
  auto palette = PaletteOrFail(handle);
  if (!palette || !entries) return 0;
  auto& all = palette->Entries();
  if (start >= all.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(all.size()) - start);
  std::copy_n(entries, n, all.begin() + start);
  return n;
}

BOOL ResizePalette(HPALETTE handle, UINT count) {
  auto palette = PaletteOrFail(handle);
  if (!palette || count == 0 || count > kMaxEntries) return FALSE;
  palette->Entries().resize(count, PALETTEENTRY{});
  return TRUE;
}

UINT GetNearestPaletteIndex(HPALETTE handle, COLORREF color) {
  auto palette = PaletteOrFail(handle);
  if (!palette || palette->Entries().empty()) return CLR_INVALID;
  UINT best = 0;
  long bestDistance = std::numeric_limits<long>::max();
  const auto& all = palette->Entries();
  for (UINT i = 0; i < all.size(); ++i) {
    long dr = long{all[i].peRed} - GetRValue(color), dg = long{all[i].peGreen} - GetGValue(color),
         db = long{all[i].peBlue} - GetBValue(color);
    long distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
  auto dc = DcOrFail(hdc);
  if (!dc || !PaletteOrFail(palette)) return nullptr;
  HGDIOBJ previous = dc->State().palette;
  dc->State().palette = palette;
  return static_cast<HPALETTE>(previous);
}

UINT RealizePalette(HDC hdc) { return DcOrFail(hdc) ? 0 : static_cast<UINT>(-1); }

}  // namespace kestrel::platform
