// Creating, converting and editing PNG images.

#include <cmath>
#include <cstring>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Colors.h"
#include "framework/Screen.h"
#include "imaging/PngObject.h"
#include "imaging/internal/OnFailure.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
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

// A block of global memory, freed unless it was handed on.
struct FreeGlobalBlock {
  void operator()(void* block) const noexcept { pf::GlobalFree(block); }
};
using OwnedGlobalBlock = std::unique_ptr<void, FreeGlobalBlock>;

// A global block locked for the length of a scope.
class LockedBlock {
 public:
  explicit LockedBlock(pf::HANDLE block) : block_(block), data_(block ? pf::GlobalLock(block) : nullptr) {}
  ~LockedBlock() {
    if (data_) pf::GlobalUnlock(block_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;
  void* Data() const { return data_; }
  std::size_t Size() const { return data_ ? pf::GlobalSize(block_) : 0; }

 private:
  pf::HANDLE block_;
  void* data_;
};

// The clipboard, open (when it could be opened) for the length of a scope.
class OpenClipboardScope {
 public:
  OpenClipboardScope() : open_(pf::OpenClipboard(nullptr) != 0) {}
  ~OpenClipboardScope() {
    if (open_) pf::CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_;
};

// The pixels of a packed DIB (header, masks or colour table, bits) of `size` bytes as BGRA
// rows, top row first; false when the block is not a bitmap this can read. Headers larger than
// the basic one, colour masks and colour tables (also ahead of 16-, 24- and 32-bit pixels) are
// honoured: the platform converts the pixels into a 32-bit DIB section.
bool DecodePackedDib(const std::uint8_t* block, std::size_t size, int& width, int& height,
                     std::vector<std::uint8_t>& bgra) {
  pf::BITMAPINFOHEADER header;
  if (size < sizeof header) return false;
  std::memcpy(&header, block, sizeof header);
  const int bitCount = header.biBitCount;
  const bool masked = header.biCompression == pf::BI_BITFIELDS;
  if (header.biSize < sizeof header || header.biSize > size) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return false;
  if (header.biCompression != pf::BI_RGB && !(masked && (bitCount == 16 || bitCount == 32))) return false;
  if (header.biWidth <= 0 || header.biWidth > 65535 || header.biHeight == 0 || header.biHeight < -65535 ||
      header.biHeight > 65535)
    return false;
  std::uint64_t colors = header.biClrUsed;
  if (bitCount <= 8) {
    const std::uint64_t tableSize = std::uint64_t{1} << bitCount;
    if (colors > tableSize) return false;
    if (colors == 0) colors = tableSize;
  }
  const std::uint64_t masks = masked && header.biSize == sizeof header ? 12 : 0;
  const std::uint64_t bitsOffset = header.biSize + masks + 4 * colors;
  width = header.biWidth;
  height = std::abs(header.biHeight);
  const std::uint64_t stride = (std::uint64_t{static_cast<std::uint32_t>(width)} * bitCount + 31) / 32 * 4;
  if (bitsOffset + stride * static_cast<std::uint64_t>(height) > size) return false;

  pf::BITMAPINFO target{};
  target.bmiHeader.biSize = sizeof(pf::BITMAPINFOHEADER);
  target.bmiHeader.biWidth = width;
  target.bmiHeader.biHeight = -height;
  target.bmiHeader.biPlanes = 1;
  target.bmiHeader.biBitCount = 32;
  void* pixels = nullptr;
  const pf::OwnedMemoryDC dc(pf::CreateCompatibleDC(nullptr));
  const pf::OwnedBitmap section(dc ? pf::CreateDIBSection(dc.get(), &target, pf::DIB_RGB_COLORS, &pixels, nullptr, 0)
                                   : nullptr);
  if (!section || !pixels ||
      pf::SetDIBits(dc.get(), section.get(), 0, static_cast<pf::UINT>(height), block + bitsOffset,
                    reinterpret_cast<const pf::BITMAPINFO*>(block), pf::DIB_RGB_COLORS) == 0)
    return false;
  const auto* from = static_cast<const std::uint8_t*>(pixels);
  bgra.assign(from, from + static_cast<std::size_t>(width) * height * 4);
  return true;
}

// Maps each palette index of `from` to the index of `to`'s palette with the nearest colour;
// the identity when both tables are the same.
std::array<std::uint8_t, 256> PaletteTranslation(const TVnPNGChunkIHDR& from, const TVnPNGChunkIHDR& to) {
  std::array<std::uint8_t, 256> map{};
  for (int i = 0; i < 256; ++i) map[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  if (!from.HasPalette() || !to.HasPalette()) return map;
  const int count = std::max(1, to.PaletteCount());
  for (int i = 0; i < from.PaletteCount(); ++i) {
    const PngRGBQuad& c = from.Palette()[static_cast<std::size_t>(i)];
    int best = 0;
    long bestDistance = -1;
    for (int j = 0; j < count; ++j) {
      const PngRGBQuad& q = to.Palette()[static_cast<std::size_t>(j)];
      const long dr = q.rgbRed - c.rgbRed, dg = q.rgbGreen - c.rgbGreen, db = q.rgbBlue - c.rgbBlue;
      const long distance = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || distance < bestDistance) {
        bestDistance = distance;
        best = j;
      }
    }
    map[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(best);
  }
  return map;
}

}  // namespace

void TVnPNGObject::CreateBlank(std::uint8_t colorType, std::uint8_t bitDepth, int cx, int cy) {
  if (!ValidBlankSpec(colorType, bitDepth) || cx < 1 || cy < 1 || cx > 65535 || cy > 65535)
    RaiseError<EVnPNGInvalidSpec>(PngMessages::InvalidSpec);
  if (bitDepth == 2) bitDepth = 4;
  ClearChunks();
  BeingCreated = true;
  OnFailure clearHalfMade([this] { ClearChunks(); });
  struct CreationEnds {
    bool& flag;
    ~CreationEnds() { flag = false; }
  } creationEnds{BeingCreated};
  fChunkList.Add<TVnPNGChunkIEND>();
  auto* header = fChunkList.Add<TVnPNGChunkIHDR>();
  header->IHDRData() =
      TVnPNGIHDRData{static_cast<std::uint32_t>(cx), static_cast<std::uint32_t>(cy), bitDepth, colorType, 0, 0, 0};
  header->PrepareImageData();
  if (colorType == COLOR_PALETTE) fChunkList.Add<TVnPNGChunkPLTE>()->SetCount(1 << bitDepth);
  fChunkList.Add<TVnPNGChunkIDAT>();
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
  const pf::OwnedMemoryDC screen(pf::CreateCompatibleDC(nullptr));
  if (bpp == 1 || bpp == 4 || bpp == 8) {
    CreateBlank(COLOR_PALETTE, static_cast<std::uint8_t>(bpp), width, height);
    TVnPNGChunkIHDR& header = *Header();
    PngBitmapInfo info = header.BitmapInfo();
    pf::GetDIBits(screen.get(), handle, 0, static_cast<pf::UINT>(height), header.ImageData(),
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
    pf::GetDIBits(screen.get(), handle, 0, static_cast<pf::UINT>(height), bgra.data(), &info, pf::DIB_RGB_COLORS);
    AssignPixels(width, height, bpp == 32 ? 32 : 24, bgra.data(), transparent, transparentColor);
  }
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
  // 64-bit arithmetic throughout: any int rectangle is allowed, however far out it lies.
  using Wide = std::int64_t;
  if (Wide{source.right} - source.left > Width() || Wide{source.bottom} - source.top > Height())
    RaiseError<EVnPNGInvalidSourceSize>(PngMessages::InvalidSourceSize);
  // The source rectangle clipped to the source image and to where it lands in this image.
  const Wide shiftX = Wide{dest.left} - source.left, shiftY = Wide{dest.top} - source.top;
  const Wide left = std::max({Wide{source.left}, Wide{0}, -shiftX});
  const Wide top = std::max({Wide{source.top}, Wide{0}, -shiftY});
  const Wide right = std::min({Wide{source.right}, Wide{png.Width()}, Width() - shiftX});
  const Wide bottom = std::min({Wide{source.bottom}, Wide{png.Height()}, Height() - shiftY});
  // Palette images carry colours, not indices, across: each index maps to the nearest entry.
  const bool indexed = to.BitmapInfo().bmiHeader.biBitCount <= 8 && to.ColorType() != COLOR_GRAYSCALEALPHA;
  const auto translation = PaletteTranslation(from, to);
  const int bits = to.BitmapInfo().bmiHeader.biBitCount;
  for (Wide sy = top; sy < bottom; ++sy) {
    const auto ty = static_cast<std::uint32_t>(sy + shiftY), fy = static_cast<std::uint32_t>(sy);
    const std::uint8_t* fromAlpha = from.AlphaScanline(fy);
    std::uint8_t* toAlpha = to.AlphaScanline(ty);
    for (Wide sx = left; sx < right; ++sx) {
      const auto tx = static_cast<std::uint32_t>(sx + shiftX), fx = static_cast<std::uint32_t>(sx);
      if (indexed) SetIndexAt(to.Scanline(ty), tx, bits, translation[IndexAt(from.Scanline(fy), fx, bits)]);
      else CopyPixel(from, fx, fy, to, tx, ty);
      if (toAlpha) toAlpha[tx] = fromAlpha ? fromAlpha[fx] : 255;
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
  paletteHandle_.reset();
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
  paletteHandle_.reset(pf::CreatePalette(logical));
  return paletteHandle_.get();
}

void TVnPNGObject::SaveToClipboardFormat() const {
  if (Empty()) return;
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(Width(), Height());
  const_cast<TVnPNGObject*>(this)->Draw(bitmap.Canvas(), TRect{0, 0, Width(), Height()});
  const std::size_t rowBytes = static_cast<std::size_t>(Width()) * 4;
  OwnedGlobalBlock block(pf::GlobalAlloc(pf::GHND, sizeof(pf::BITMAPINFOHEADER) + rowBytes * Height()));
  {
    const LockedBlock locked(block.get());
    if (!locked.Data()) RaiseError<EVnPNGOutMemory>(PngMessages::OutMemory);
    auto* info = static_cast<pf::BITMAPINFOHEADER*>(locked.Data());
    info->biSize = sizeof(pf::BITMAPINFOHEADER);
    info->biWidth = Width();
    info->biHeight = -Height();
    info->biPlanes = 1;
    info->biBitCount = 32;
    auto* bits = reinterpret_cast<std::uint8_t*>(info + 1);
    for (int y = 0; y < Height(); ++y) std::memcpy(bits + y * rowBytes, bitmap.ScanLine(y), rowBytes);
  }
  const OpenClipboardScope clipboard;
  if (!clipboard.Open()) return;
  pf::EmptyClipboard();
  if (pf::SetClipboardData(pf::CF_DIB, block.get())) block.release();
}

void TVnPNGObject::LoadFromClipboardFormat() {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bgra;
  {
    const OpenClipboardScope clipboard;
    const LockedBlock locked(clipboard.Open() ? pf::GetClipboardData(pf::CF_DIB) : nullptr);
    if (!locked.Data() ||
        !DecodePackedDib(static_cast<const std::uint8_t*>(locked.Data()), locked.Size(), width, height, bgra))
      throw EInvalidGraphic(u"The clipboard holds no bitmap");
  }
  AssignPixels(width, height, 24, bgra.data(), false, 0);
  Changed();
}

}  // namespace kestrel
