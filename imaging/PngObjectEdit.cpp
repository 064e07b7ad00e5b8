// Creating, converting and editing PNG images.

#include <cmath>
#include <cstring>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Colors.h"
#include "framework/Screen.h"
#include "imaging/PngObject.h"
#include "platform/gdi/Gdi.h"
#include "platform/os/GlobalMemory.h"
#include "platform/window/Clipboard.h"

namespace kestrel {

namespace pf = platform;

namespace {

bool ValidBlankSpec(std::uint8_t colorType, std::uint8_t bitDepth) {
  switch (colorType) {
    case COLOR_GRAYSCALE: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case COLOR_PALETTE: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA: return bitDepth == 8 || bitDepth == 16;
    default: return false;
  }
}

unsigned IndexAt(const std::uint8_t* scan, std::uint32_t x, int bits) {
  if (bits == 8) return scan[x];
  if (bits == 4) return (scan[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
  return (scan[x >> 3] >> (7 - (x & 7))) & 1;
}

void SetIndexAt(std::uint8_t* scan, std::uint32_t x, int bits, unsigned index) {
  if (bits == 8) {
    scan[x] = static_cast<std::uint8_t>(index);
  } else if (bits == 4) {
    std::uint8_t& b = scan[x >> 1];
    b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F))
                : static_cast<std::uint8_t>((b & 0x0F) | ((index & 0x0F) << 4));
  } else {
    const auto mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
    std::uint8_t& b = scan[x >> 3];
    b = (index & 1) ? static_cast<std::uint8_t>(b | mask) : static_cast<std::uint8_t>(b & ~mask);
  }
}

// Copies pixel (sx, sy) of `from` to (tx, ty) of `to`; both hold the same DIB format.
void CopyPixel(const TVnPNGChunkIHDR& from, std::uint32_t sx, std::uint32_t sy, TVnPNGChunkIHDR& to, std::uint32_t tx,
               std::uint32_t ty) {
  const int bits = to.BitmapInfo().bmiHeader.biBitCount;
  if (bits == 24) {
    std::memcpy(to.Scanline(ty) + 3 * tx, from.Scanline(sy) + 3 * sx, 3);
  } else {
    SetIndexAt(to.Scanline(ty), tx, bits, IndexAt(from.Scanline(sy), sx, bits));
  }
}

// `rect` clipped to 0..width x 0..height.
TRect ClipTo(const TRect& rect, int width, int height) {
  return TRect{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width),
               std::min(rect.bottom, height)};
}

}  // namespace

void TVnPNGObject::CreateBlank(std::uint8_t colorType, std::uint8_t bitDepth, int cx, int cy) {
  if (!ValidBlankSpec(colorType, bitDepth) || cx < 1 || cy < 1 || cx > 65535 || cy > 65535)
    RaiseError<EVnPNGInvalidSpec>(PngMessages::InvalidSpec);
  if (bitDepth == 2) bitDepth = 4;
  ClearChunks();
  BeingCreated = true;
  try {
    fChunkList.Add<TVnPNGChunkIEND>();
    auto* header = fChunkList.Add<TVnPNGChunkIHDR>();
    header->IHDRData() =
        TVnPNGIHDRData{static_cast<std::uint32_t>(cx), static_cast<std::uint32_t>(cy), bitDepth, colorType, 0, 0, 0};
    header->PrepareImageData();
    if (colorType == COLOR_PALETTE) fChunkList.Add<TVnPNGChunkPLTE>()->SetCount(1 << bitDepth);
    fChunkList.Add<TVnPNGChunkIDAT>();
  } catch (...) {
    BeingCreated = false;
    ClearChunks();
    throw;
  }
  BeingCreated = false;
}

void TVnPNGObject::AssignPixels(int width, int height, int bitsPerPixel, const std::uint8_t* bgra, bool transparent,
                                platform::COLORREF transparentColor) {
  const bool alpha = bitsPerPixel == 32;
  CreateBlank(alpha ? COLOR_RGBALPHA : COLOR_RGB, 8, width, height);
  TVnPNGChunkIHDR& header = *Header();
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  bool anyAlpha = false;
  for (std::size_t i = 0; alpha && i < pixels && !anyAlpha; ++i) anyAlpha = bgra[4 * i + 3] != 0;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* scan = header.Scanline(static_cast<std::uint32_t>(y));
    std::uint8_t* plane = header.AlphaScanline(static_cast<std::uint32_t>(y));
    const std::uint8_t* src = bgra + static_cast<std::size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x, src += 4) {
      std::memcpy(scan + 3 * x, src, 3);
      if (plane) plane[x] = anyAlpha ? src[3] : 255;
    }
  }
  if (transparent && !alpha) SetTransparentColor(transparentColor);
}

void TVnPNGObject::AssignHandle(platform::HBITMAP handle, bool transparent, platform::COLORREF transparentColor) {
  pf::BITMAP description{};
  if (!handle || pf::GetObject(handle, sizeof description, &description) == 0) throw EInvalidGraphic(u"Not a bitmap");
  const int width = description.bmWidth, height = std::abs(description.bmHeight);
  const int bpp = description.bmBitsPixel;
  pf::HDC screen = pf::CreateCompatibleDC(nullptr);
  if (bpp == 1 || bpp == 4 || bpp == 8) {
    CreateBlank(COLOR_PALETTE, static_cast<std::uint8_t>(bpp), width, height);
    TVnPNGChunkIHDR& header = *Header();
    PngBitmapInfo info = header.BitmapInfo();
    pf::GetDIBits(screen, handle, 0, static_cast<pf::UINT>(height), header.ImageData(),
                  const_cast<pf::BITMAPINFO*>(info.AsBitmapInfo()), pf::DIB_RGB_COLORS);
    header.SetPalette(info.bmiColors.data(), 1 << bpp);
    if (transparent) SetTransparentColor(transparentColor);
  } else {
    pf::BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(pf::BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
    pf::GetDIBits(screen, handle, 0, static_cast<pf::UINT>(height), bgra.data(), &info, pf::DIB_RGB_COLORS);
    AssignPixels(width, height, bpp == 32 ? 32 : 24, bgra.data(), transparent, transparentColor);
  }
  pf::DeleteDC(screen);
  Changed();
}

void TVnPNGObject::AssignTo(TPersistent* dest) const {
  if (auto* png = dynamic_cast<TVnPNGObject*>(dest)) {
    png->Assign(this);
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    AssignToBitmap(*bitmap);
  } else {
    TGraphic::AssignTo(dest);
  }
}

void TVnPNGObject::AssignToBitmap(TBitmap& bitmap) const {
  if (Empty()) {
    bitmap.SetSize(0, 0);
    return;
  }
  const TVnPNGChunkIHDR& header = *Header();
  const auto* trns = fChunkList.ItemFromClass<TVnPNGChunktRNS>();
  const TVnPNGTransparencyMode mode = TransparencyMode();
  const bool withAlpha = mode == ptmPartial;
  bitmap.SetPixelFormat(withAlpha ? pf32bit : pf24bit);
  bitmap.SetAlphaFormat(withAlpha ? afDefined : afIgnored);
  bitmap.SetSize(Width(), Height());
  for (int y = 0; y < Height(); ++y) {
    std::uint8_t* out = bitmap.ScanLine(y);
    const std::uint8_t* plane = header.AlphaScanline(static_cast<std::uint32_t>(y));
    const std::uint8_t* scan = header.Scanline(static_cast<std::uint32_t>(y));
    for (int x = 0; x < Width(); ++x, out += 4) {
      const platform::COLORREF c = GetPixelColor(x, y);
      out[0] = pf::GetBValue(c);
      out[1] = pf::GetGValue(c);
      out[2] = pf::GetRValue(c);
      out[3] = 255;
      if (plane) {
        out[3] = plane[x];
      } else if (withAlpha && trns) {
        out[3] = trns->PaletteValues()[IndexAt(scan, static_cast<std::uint32_t>(x),
                                               header.BitmapInfo().bmiHeader.biBitCount)];
      }
    }
  }
  if (mode == ptmBit) {
    bitmap.SetTransparentColor(static_cast<TColor>(TransparentColor()));
    bitmap.SetTransparent(true);
  }
}

void TVnPNGObject::SetTransparentColor(platform::COLORREF color) {
  TVnPNGChunkIHDR& header = *Header();
  const std::uint8_t type = header.ColorType();
  if (type == COLOR_GRAYSCALEALPHA || type == COLOR_RGBALPHA)
    RaiseError<EVnPNGCannotChangeTransparent>(PngMessages::CannotChangeTransparent);
  const platform::COLORREF rgb = ColorToRGB(static_cast<TColor>(color));
  const int depth = header.BitDepth();
  // A 0..255 channel as a sample of the image's bit depth, big-endian in 16 bits.
  auto sample = [depth](int v, std::vector<std::uint8_t>& out) {
    unsigned s =
        depth == 16 ? static_cast<unsigned>(v) * 257 : (static_cast<unsigned>(v) * ((1u << depth) - 1) + 127) / 255;
    out.push_back(static_cast<std::uint8_t>(s >> 8));
    out.push_back(static_cast<std::uint8_t>(s));
  };
  std::vector<std::uint8_t> data;
  if (type == COLOR_GRAYSCALE) {
    sample(pf::GetRValue(rgb), data);
  } else if (type == COLOR_RGB) {
    sample(pf::GetRValue(rgb), data);
    sample(pf::GetGValue(rgb), data);
    sample(pf::GetBValue(rgb), data);
  } else {
    int match = -1;
    for (int i = 0; i < header.PaletteCount() && match < 0; ++i) {
      const PngRGBQuad& q = header.Palette()[static_cast<std::size_t>(i)];
      if (pf::RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == rgb) match = i;
    }
    // No entry has the colour: nothing becomes transparent.
    if (match < 0) return;
    data.assign(static_cast<std::size_t>(match) + 1, 255);
    data.back() = 0;
  }
  auto* trns = fChunkList.ItemFromClass<TVnPNGChunktRNS>();
  if (!trns) trns = fChunkList.Add<TVnPNGChunktRNS>();
  trns->SetSamples(data);
  trns->SetBitTransparency(true);
}

void TVnPNGObject::Resize(int cx, int cy) {
  if (cx < 1 || cy < 1 || cx > 65535 || cy > 65535) RaiseError<EVnPNGInvalidNewSize>(PngMessages::InvalidNewSize);
  TVnPNGChunkIHDR& header = *Header();
  ReleaseCanvas();
  header.Reshape(header.ColorType(), header.BitDepth(), static_cast<std::uint32_t>(cx), static_cast<std::uint32_t>(cy));
  Changed();
}

void TVnPNGObject::CopyRect(const TRect& dest, const TVnPNGObject& png, const TRect& source) {
  TVnPNGChunkIHDR& to = *Header();
  const TVnPNGChunkIHDR& from = *png.Header();
  if (from.BitDepth() != to.BitDepth() ||
      from.BitmapInfo().bmiHeader.biBitCount != to.BitmapInfo().bmiHeader.biBitCount)
    RaiseError<EVnPNGDifferentBitDepth>(PngMessages::DifferentBitDepth);
  if (source.right - source.left > Width() || source.bottom - source.top > Height())
    RaiseError<EVnPNGInvalidSourceSize>(PngMessages::InvalidSourceSize);
  const TRect clipped = ClipTo(source, png.Width(), png.Height());
  for (int sy = clipped.top; sy < clipped.bottom; ++sy) {
    const int ty = dest.top + sy - source.top;
    if (ty < 0 || ty >= Height()) continue;
    const std::uint8_t* fromAlpha = from.AlphaScanline(static_cast<std::uint32_t>(sy));
    std::uint8_t* toAlpha = to.AlphaScanline(static_cast<std::uint32_t>(ty));
    for (int sx = clipped.left; sx < clipped.right; ++sx) {
      const int tx = dest.left + sx - source.left;
      if (tx < 0 || tx >= Width()) continue;
      CopyPixel(from, static_cast<std::uint32_t>(sx), static_cast<std::uint32_t>(sy), to,
                static_cast<std::uint32_t>(tx), static_cast<std::uint32_t>(ty));
      if (toAlpha) toAlpha[tx] = fromAlpha ? fromAlpha[sx] : 255;
    }
  }
  Changed();
}

void TVnPNGObject::MaskRect(const TRect& dest, const TVnPNGObject& png) {
  TVnPNGChunkIHDR& to = *Header();
  const TVnPNGChunkIHDR& from = *png.Header();
  if (!from.ImageAlpha() || !to.ImageAlpha()) RaiseError<EVnPNGDifferentBitDepth>(PngMessages::DifferentBitDepth);
  if (png.Width() > Width() || png.Height() > Height())
    RaiseError<EVnPNGInvalidSourceSize>(PngMessages::InvalidSourceSize);
  for (int sy = 0; sy < png.Height(); ++sy) {
    const int ty = dest.top + sy;
    if (ty < 0 || ty >= Height()) continue;
    const int first = std::max(0, -dest.left), last = std::min(png.Width(), Width() - dest.left);
    if (first >= last) continue;
    std::memcpy(to.AlphaScanline(static_cast<std::uint32_t>(ty)) + dest.left + first,
                from.AlphaScanline(static_cast<std::uint32_t>(sy)) + first, static_cast<std::size_t>(last - first));
  }
  Changed();
}

void TVnPNGObject::Rotate(double angle, const TPoint& oldCenter, TPoint& newCenter) {
  TVnPNGChunkIHDR& header = *Header();
  newCenter = oldCenter;
  if (header.ColorType() != COLOR_RGBALPHA) return;
  const double radians = angle * M_PI / 180.0;
  const double s = std::sin(radians), c = std::cos(radians);
  const int width = Width(), height = Height();
  const int newWidth = std::max(1, static_cast<int>(std::nearbyint(std::abs(s) * height + std::abs(c) * width)));
  const int newHeight = std::max(1, static_cast<int>(std::nearbyint(std::abs(s) * width + std::abs(c) * height)));
  const double cx = width / 2.0, cy = height / 2.0, ncx = newWidth / 2.0, ncy = newHeight / 2.0;

  TVnPNGChunkIHDR old(this);
  old.Assign(header);
  ReleaseCanvas();
  header.Reshape(COLOR_RGBALPHA, header.BitDepth(), static_cast<std::uint32_t>(newWidth),
                 static_cast<std::uint32_t>(newHeight));
  for (int y = 0; y < newHeight; ++y) {
    std::uint8_t* scan = header.Scanline(static_cast<std::uint32_t>(y));
    std::uint8_t* plane = header.AlphaScanline(static_cast<std::uint32_t>(y));
    for (int x = 0; x < newWidth; ++x) {
      // The inverse rotation of the target pixel's centre, back into the source.
      const double dx = x + 0.5 - ncx, dy = y + 0.5 - ncy;
      const double sxf = cx + dx * c + dy * s, syf = cy - dx * s + dy * c;
      const int sx = static_cast<int>(std::floor(sxf + 1e-9)), sy = static_cast<int>(std::floor(syf + 1e-9));
      if (sx < 0 || sy < 0 || sx >= width || sy >= height) {
        std::memset(scan + 3 * x, 0, 3);
        plane[x] = 0;
        continue;
      }
      std::memcpy(scan + 3 * x, old.Scanline(static_cast<std::uint32_t>(sy)) + 3 * sx, 3);
      plane[x] = old.AlphaScanline(static_cast<std::uint32_t>(sy))[sx];
    }
  }
  const double ox = oldCenter.x - cx, oy = oldCenter.y - cy;
  newCenter = TPoint{static_cast<int>(std::nearbyint(ncx + ox * c - oy * s)),
                     static_cast<int>(std::nearbyint(ncy + ox * s + oy * c))};
  Changed();
}

void TVnPNGObject::DrawUsingPixelInformation(TCanvas* canvas, const TPoint& point) {
  if (Empty()) return;
  int width = Width(), height = Height();
  const auto* phys = fChunkList.ItemFromClass<TVnPNGChunkpHYs>();
  if (phys && phys->PPUnitX() > 0 && phys->PPUnitY() > 0) {
    const double screenPerMetre = Screen()->PixelsPerInch() / 0.0254;
    width = static_cast<int>(width / (phys->PPUnitX() / screenPerMetre));
    height = static_cast<int>(height / (phys->PPUnitY() / screenPerMetre));
  }
  Draw(canvas, TRect{point.x, point.y, point.x + width, point.y + height});
}

TCanvas* TVnPNGObject::Canvas() {
  platform::HDC dc = Header()->ImageDC();
  if (!fCanvas) fCanvas = std::make_unique<TCanvas>();
  if (fCanvas->HandleAllocated() ? fCanvas->Handle() != dc : true) fCanvas->SetHandle(dc);
  return fCanvas.get();
}

void TVnPNGObject::ReleaseCanvas() {
  if (fCanvas) fCanvas->SetHandle(nullptr);
}

platform::HPALETTE TVnPNGObject::Palette() {
  if (paletteHandle_) {
    pf::DeleteObject(paletteHandle_);
    paletteHandle_ = nullptr;
  }
  if (Empty() || !Header()->HasPalette()) return nullptr;
  const TVnPNGChunkIHDR& header = *Header();
  const int count = std::max(1, header.PaletteCount());
  std::vector<std::uint8_t> block(sizeof(pf::LOGPALETTE) + sizeof(pf::PALETTEENTRY) * static_cast<std::size_t>(count));
  auto* logical = reinterpret_cast<pf::LOGPALETTE*>(block.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<pf::WORD>(count);
  for (int i = 0; i < count; ++i) {
    const PngRGBQuad& q = header.Palette()[static_cast<std::size_t>(i)];
    logical->palPalEntry[i] = pf::PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
  }
  paletteHandle_ = pf::CreatePalette(logical);
  return paletteHandle_;
}

void TVnPNGObject::SaveToClipboardFormat() const {
  if (Empty()) return;
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(Width(), Height());
  const_cast<TVnPNGObject*>(this)->Draw(bitmap.Canvas(), TRect{0, 0, Width(), Height()});
  const std::size_t rowBytes = static_cast<std::size_t>(Width()) * 4;
  pf::HGLOBAL block = pf::GlobalAlloc(pf::GHND, sizeof(pf::BITMAPINFOHEADER) + rowBytes * Height());
  auto* info = static_cast<pf::BITMAPINFOHEADER*>(pf::GlobalLock(block));
  info->biSize = sizeof(pf::BITMAPINFOHEADER);
  info->biWidth = Width();
  info->biHeight = -Height();
  info->biPlanes = 1;
  info->biBitCount = 32;
  auto* bits = reinterpret_cast<std::uint8_t*>(info + 1);
  for (int y = 0; y < Height(); ++y) std::memcpy(bits + y * rowBytes, bitmap.ScanLine(y), rowBytes);
  pf::GlobalUnlock(block);
  pf::OpenClipboard(nullptr);
  pf::EmptyClipboard();
  pf::SetClipboardData(pf::CF_DIB, block);
  pf::CloseClipboard();
}

void TVnPNGObject::LoadFromClipboardFormat() {
  pf::OpenClipboard(nullptr);
  pf::HANDLE block = pf::GetClipboardData(pf::CF_DIB);
  const auto* info = block ? static_cast<const pf::BITMAPINFOHEADER*>(pf::GlobalLock(block)) : nullptr;
  const bool usable =
      info && (info->biBitCount == 32 || info->biBitCount == 24) && info->biWidth > 0 && info->biHeight != 0 &&
      pf::GlobalSize(block) >= sizeof *info + ((static_cast<std::size_t>(info->biWidth) * info->biBitCount + 31) / 32) *
                                                  4 * static_cast<std::size_t>(std::abs(info->biHeight));
  if (!usable) {
    if (info) pf::GlobalUnlock(block);
    pf::CloseClipboard();
    throw EInvalidGraphic(u"The clipboard holds no bitmap");
  }
  const int width = info->biWidth, height = std::abs(info->biHeight), bytes = info->biBitCount / 8;
  const std::size_t stride = ((static_cast<std::size_t>(width) * info->biBitCount + 31) / 32) * 4;
  const auto* bits = reinterpret_cast<const std::uint8_t*>(info + 1);
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = bits + stride * static_cast<std::size_t>(info->biHeight < 0 ? y : height - 1 - y);
    for (int x = 0; x < width; ++x)
      std::memcpy(&bgra[(static_cast<std::size_t>(y) * width + x) * 4], row + x * bytes, 3);
  }
  pf::GlobalUnlock(block);
  pf::CloseClipboard();
  AssignPixels(width, height, 24, bgra.data(), false, 0);
  Changed();
}

}  // namespace kestrel
