#include "platform/gdi/Bitmaps.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/DcState.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/internal/Bitmap.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Palette.h"

namespace kestrel::platform {

namespace {
HBITMAP Register(std::shared_ptr<Bitmap> bitmap) {
  if (!bitmap) return nullptr;
  return static_cast<HBITMAP>(RegisterGdiObject(std::move(bitmap)));
}

std::uint32_t* SurfaceRow(cairo_surface_t* surface, int y) {
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                          static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface));
}

// Initial bits of a device-dependent bitmap: WORD-aligned top-down rows.
void LoadDeviceBits(Bitmap& bitmap, UINT bitsPerPixel, const void* bits) {
  if (!bits || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32)) return;
  int w = bitmap.Width(), h = bitmap.Height();
  int stride = ((w * static_cast<int>(bitsPerPixel) + 15) / 16) * 2;
  cairo_surface_t* surface = bitmap.Surface();
  cairo_surface_flush(surface);
  for (int y = 0; y < h; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(y) * stride;
    std::uint32_t* out = SurfaceRow(surface, y);
    for (int x = 0; x < w; ++x) {
      if (bitsPerPixel == 1) out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFFFFu : 0xFF000000u;
      else if (bitsPerPixel == 24) out[x] = 0xFF000000u | (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
      else std::memcpy(&out[x], row + 4 * x, 4);
    }
  }
  cairo_surface_mark_dirty(surface);
}

// A fixed table for indexed formats of bitmaps that have none of their own: black and white for
// one bit, the 16 VGA colours for four, the halftone table for eight.
std::vector<RGBQUAD> DefaultColorTable(int bitCount) {
  std::vector<RGBQUAD> table;
  auto add = [&](int r, int g, int b) {
    table.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
  };
  if (bitCount == 1) {
    add(0, 0, 0);
    add(255, 255, 255);
  } else if (bitCount == 4) {
    static const int vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                   {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                   {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                   {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (const auto& c : vga) add(c[0], c[1], c[2]);
  } else if (bitCount == 8) {
    for (const PALETTEENTRY& e : HalftoneEntries()) add(e.peRed, e.peGreen, e.peBlue);
  }
  return table;
}

// The colour table used when bitmap pixels are written into an indexed format.
std::vector<RGBQUAD> TableFor(const Bitmap& bitmap, int bitCount) {
  if (bitmap.Dib() && bitmap.Dib()->BitCount() == bitCount) return bitmap.Dib()->Colors();
  return DefaultColorTable(bitCount);
}

// Maps buffer row `i` of a transfer starting at scan `start` to the image row from the top.
int ImageRow(const DibFormat& format, int imageHeight, UINT start, int i) {
  int scan = static_cast<int>(start) + i;
  return format.TopDown() ? scan : imageHeight - 1 - scan;
}

int TransferLines(const Bitmap& bitmap, UINT start, UINT lines) {
  if (start >= static_cast<UINT>(bitmap.Height())) return 0;
  return static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(bitmap.Height()) - start));
}

std::shared_ptr<Bitmap> BitmapOrFail(HBITMAP handle) {
  auto bitmap = LookupGdi<Bitmap>(handle);
  if (!bitmap) SetLastError(ERROR_INVALID_HANDLE);
  return bitmap;
}

std::shared_ptr<Bitmap> SelectedBitmap(HDC hdc) {
  auto dc = DcOrFail(hdc);
  return dc ? LookupGdi<Bitmap>(dc->State().bitmap) : nullptr;
}

// Fills the header of `info` from the bitmap, as GetDIBits does with biBitCount 0.
int DescribeBitmap(const Bitmap& bitmap, BITMAPINFO* info) {
  BITMAPINFOHEADER& h = info->bmiHeader;
  h.biWidth = bitmap.Width();
  h.biHeight = bitmap.Height();
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bitmap.BitsPerPixel());
  h.biCompression = BI_RGB;
  DibFormat format(bitmap.Width(), bitmap.Height(), h.biBitCount, {});
  h.biSizeImage = static_cast<DWORD>(format.ImageSize());
  return 1;
}
}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes > 1 || bitsPerPixel > 32) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (width == 0 || height == 0) return static_cast<HBITMAP>(DefaultBitmap());
  auto bitmap = Bitmap::CreateDevice(width, height, bitsPerPixel <= 1);
  if (!bitmap) return nullptr;
  LoadDeviceBits(*bitmap, bitsPerPixel, bits);
  return Register(std::move(bitmap));
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  bool monochrome = false;
  if (hdc) {
    auto dc = DcOrFail(hdc);
    if (!dc) return nullptr;
    if (dc->GetKind() == DeviceContext::Kind::Memory) {
      auto selected = LookupGdi<Bitmap>(dc->State().bitmap);
      monochrome = !selected || selected->IsMonochrome();
    }
  }
  if (width == 0 || height == 0) return static_cast<HBITMAP>(DefaultBitmap());
  return Register(Bitmap::CreateDevice(width, height, monochrome));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
  if (bits) *bits = nullptr;
  if (hdc && !DcOrFail(hdc)) return nullptr;
  if (!info || usage != DIB_RGB_COLORS || section) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = Bitmap::CreateDib(DibFormat(info));
  if (!bitmap) return nullptr;
  if (bits) *bits = bitmap->Bits();
  return Register(std::move(bitmap));
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  if (!header) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  HBITMAP bitmap = CreateBitmap(header->biWidth, height, 1, 32, nullptr);
  if (bitmap && (init & CBM_INIT) && bits && info)
    SetDIBits(hdc, bitmap, 0, static_cast<UINT>(height), bits, info, usage);
  return bitmap;
}

int GetDIBits(HDC hdc, HBITMAP handle, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
  if (!DcOrFail(hdc)) return 0;
  auto bitmap = BitmapOrFail(handle);
  if (!bitmap) return 0;
  if (!info || usage != DIB_RGB_COLORS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!bits && info->bmiHeader.biBitCount == 0) return DescribeBitmap(*bitmap, info);
  DibFormat format(info);
  if (!format.Valid()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::vector<RGBQUAD> table;
  if (format.Indexed()) {
    table = TableFor(*bitmap, format.BitCount());
    // The table follows the header, whatever its size.
    std::memcpy(reinterpret_cast<std::uint8_t*>(info) + info->bmiHeader.biSize, table.data(),
                table.size() * sizeof(RGBQUAD));
    info->bmiHeader.biClrUsed = static_cast<DWORD>(table.size());
  }
  info->bmiHeader.biSizeImage = static_cast<DWORD>(format.ImageSize());
  if (!bits) return 1;
  DibFormat target(format.Width(), format.TopDown() ? -format.Height() : format.Height(), format.BitCount(), table);
  if (info->bmiHeader.biCompression == BI_BITFIELDS) target = format;
  int count = TransferLines(*bitmap, start, lines);
  int width = std::min(format.Width(), bitmap->Width());
  bitmap->LoadFromBits();
  cairo_surface_t* surface = bitmap->Surface();
  cairo_surface_flush(surface);
  for (int i = 0; i < count; ++i) {
    const std::uint32_t* src = SurfaceRow(surface, ImageRow(format, bitmap->Height(), start, i));
    auto* row = static_cast<std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(i) * format.Stride();
    for (int x = 0; x < width; ++x) target.Write(row, x, src[x]);
  }
  return count;
}

int SetDIBits(HDC, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  auto bitmap = BitmapOrFail(handle);
  if (!bitmap) return 0;
  DibFormat format(info);
  if (!bits || usage != DIB_RGB_COLORS || !format.Valid()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int count = TransferLines(*bitmap, start, lines);
  int width = std::min(format.Width(), bitmap->Width());
  bitmap->LoadFromBits();
  cairo_surface_t* surface = bitmap->Surface();
  cairo_surface_flush(surface);
  RECT touched{0, bitmap->Height(), width, 0};
  for (int i = 0; i < count; ++i) {
    int y = ImageRow(format, bitmap->Height(), start, i);
    std::uint32_t* dst = SurfaceRow(surface, y);
    const auto* row = static_cast<const std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(i) * format.Stride();
    for (int x = 0; x < width; ++x) dst[x] = bitmap->Quantize(format.Read(row, x));
    touched.top = std::min<LONG>(touched.top, y);
    touched.bottom = std::max<LONG>(touched.bottom, y + 1);
  }
  cairo_surface_mark_dirty(surface);
  bitmap->Publish(touched);
  return count;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors) {
  auto bitmap = SelectedBitmap(hdc);
  return bitmap ? bitmap->SetColorTable(start, count, colors) : 0;
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors) {
  auto bitmap = SelectedBitmap(hdc);
  return bitmap ? bitmap->GetColorTable(start, count, colors) : 0;
}

COLORREF GetNearestColor(HDC hdc, COLORREF color) {
  auto dc = DcOrFail(hdc);
  if (!dc) return CLR_INVALID;
  DrawingScope scope(*dc);
  return ColorRefFromArgb(scope.DeviceColor(color));
}

}  // namespace kestrel::platform
