#include "imaging/PngObject.h"

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

#include "framework/Bitmap.h"
#include "framework/Colors.h"
#include "framework/ResourceStream.h"
#include "framework/Stream.h"
#include "imaging/internal/OnFailure.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/gdi/SystemColors.h"

namespace kestrel {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// The class is offered to pictures for the extension "PNG" from start-up on.
const bool kRegistered = [] {
  TGraphic::RegisterFileFormat(u"PNG", u"Portable Network Graphics", &TVnPNGObject::StaticClass());
  return true;
}();

// The bitmap's pixels as BGRA rows, top row first.
std::vector<std::uint8_t> BitmapPixels(const TBitmap& bitmap) {
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(bitmap.Width()) * bitmap.Height() * 4);
  for (int y = 0; y < bitmap.Height(); ++y)
    std::memcpy(bgra.data() + static_cast<std::size_t>(y) * bitmap.Width() * 4, bitmap.ScanLine(y),
                static_cast<std::size_t>(bitmap.Width()) * 4);
  return bgra;
}

}  // namespace

KESTREL_IMPLEMENT_CLASS(TVnPNGObject, TGraphic)

TVnPNGObject::TVnPNGObject() : fChunkList(this) { ClearChunks(); }

TVnPNGObject::~TVnPNGObject() { ReleaseCanvas(); }

void TVnPNGObject::ClearChunks() {
  ReleaseCanvas();
  fChunkList.Clear();
  textBudget_ = TVnPNGChunkzTXT::kMaxInflatedText;
  for (int i = 0; i < 256; ++i) GammaTable[i] = InverseGamma[i] = static_cast<std::uint8_t>(i);
}

void TVnPNGObject::ApplyGamma(std::uint32_t gamma) {
  // Files mostly carry the same few gamma values; the last table made is kept for the next load.
  struct Levels {
    std::uint32_t gamma = 0;
    std::array<std::uint8_t, 256> table{};
  };
  thread_local Levels last;
  if (last.gamma != gamma || gamma == 0) {
    const double exponent = 1.0 / (gamma / 100000.0 * 2.2);
    for (int i = 0; i < 256; ++i) {
      double level = i == 0 ? 0.0 : 255.0 * std::pow(i / 255.0, exponent);
      // nearbyint rounds half to even in the default rounding mode.
      last.table[i] = static_cast<std::uint8_t>(std::min(255.0, std::nearbyint(level)));
    }
    last.gamma = gamma;
  }
  for (int i = 0; i < 256; ++i) {
    GammaTable[i] = last.table[i];
    InverseGamma[last.table[i]] = static_cast<std::uint8_t>(i);
  }
}

void TVnPNGObject::Assign(const TPersistent* source) {
  if (!source) {
    ClearChunks();
    Changed();
    return;
  }
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
    if (bitmap->Empty()) {
      ClearChunks();
      Changed();
      return;
    }
    AssignPixels(bitmap->Width(), bitmap->Height(), bitmap->PixelFormat() == pf32bit ? 32 : 24,
                 BitmapPixels(*bitmap).data(), bitmap->Transparent(), ColorToRGB(bitmap->TransparentColor()));
    Changed();
    return;
  }
  const auto* png = dynamic_cast<const TVnPNGObject*>(source);
  if (!png) {
    TGraphic::Assign(source);
    return;
  }
  if (png == this) return;
  fInterlaceMethod = png->fInterlaceMethod;
  fMaxIdatSize = png->fMaxIdatSize;
  fCompressionLevel = png->fCompressionLevel;
  fFilters = png->fFilters;
  ClearChunks();
  GammaTable = png->GammaTable;
  InverseGamma = png->InverseGamma;
  for (int i = 0; i < png->fChunkList.Count(); ++i) {
    const TVnPNGChunk* from = png->fChunkList.Item(i);
    fChunkList.Append(CreateChunkForName(this, from->Name()))->Assign(*from);
  }
  Changed();
}

void TVnPNGObject::LoadFromMemory(const void* data, std::size_t size) {
  PngMemorySource source(data, size);
  LoadFromSource(source);
}

void TVnPNGObject::LoadFromResourceName(platform::HINSTANCE, const String& name) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (!FindResourceData(RT_RCDATA, name, data, size))
    RaiseError<EVnPNGCouldNotLoadResource>(PngMessages::CouldNotLoadResource);
  LoadFromMemory(data, size);
}

void TVnPNGObject::LoadFromResourceID(platform::HINSTANCE instance, int resId) {
  LoadFromResourceName(instance, u"#" + Utf8ToUtf16(std::to_string(resId)));
}

void TVnPNGObject::LoadFromStream(TStream& stream) {
  PngStreamSource source(stream);
  LoadFromSource(source);
}

void TVnPNGObject::LoadFromSource(PngSource& source) {
  ClearChunks();
  PngChunkReader reader(source);
  std::uint8_t signature[8];
  if (!reader.ReadRaw(signature, 8) || std::memcmp(signature, kSignature, 8) != 0)
    RaiseError<EVnPNGInvalidFileHeader>(PngMessages::InvalidFileHeader);
  {
    OnFailure dropHalfDecodedImage([this] {
      if (auto* header = fChunkList.ItemFromClass<TVnPNGChunkIHDR>()) header->FreeImageData();
    });
    ReadChunks(reader);
  }
  Changed();
}

void TVnPNGObject::ReadChunks(PngChunkReader& reader) {
  bool haveImageData = false;
  int count = 0;
  for (;;) {
    std::uint32_t length = 0;
    char rawName[4];
    if (!reader.NextChunk(length, rawName)) RaiseError<EVnPNGUnexpectedEnd>(PngMessages::UnexpectedEnd);
    std::string name(rawName, 4);
    if (count == 0 && name != "IHDR") RaiseError<EVnPNGIHDRNotFirst>(PngMessages::IHDRNotFirst);
    if (name == "cHRM" || (name == "IDAT" && haveImageData)) {
      if (!reader.FinishChunk() && TVnPNGChunk::IsCriticalName(name))
        RaiseError<EVnPNGInvalidCRC>(PngMessages::InvalidCRC);
      continue;
    }
    // A second header would re-allocate the image under chunks already read.
    if (name == "IHDR" && count > 0) RaiseError<EVnPNGInvalidIHDR>(PngMessages::InvalidIHDR);
    ++count;
    TVnPNGChunk* chunk = fChunkList.Append(CreateChunkForName(this, name));
    if (!chunk->LoadFromStream(reader, name, length)) break;
    if (!chunk->CrcValid()) {
      // A damaged ancillary chunk is left out; the image itself is intact.
      fChunkList.RemoveChunk(chunk);
      continue;
    }
    if (name == "IDAT") haveImageData = true;
    if (name == "IEND") break;
  }
  if (!haveImageData) RaiseError<EVnPNGNoImageData>(PngMessages::NoImageData);
}

TVnPNGChunkIHDR* TVnPNGObject::Header() const {
  auto* header = fChunkList.ItemFromClass<TVnPNGChunkIHDR>();
  if (!header) RaiseError<EVnPNGHeaderNotPresent>(PngMessages::HeaderNotPresent);
  return header;
}

bool TVnPNGObject::Empty() const {
  auto* header = fChunkList.ItemFromClass<TVnPNGChunkIHDR>();
  return !header || !header->Prepared();
}

// The header check keeps both sizes at most 65535.
int TVnPNGObject::Width() const { return Empty() ? 0 : static_cast<int>(Header()->Width()); }
int TVnPNGObject::Height() const { return Empty() ? 0 : static_cast<int>(Header()->Height()); }

void TVnPNGObject::SetWidth(int value) { Resize(value, Height()); }

void TVnPNGObject::SetHeight(int value) { Resize(Width(), value); }

TVnPNGTransparencyMode TVnPNGObject::TransparencyMode() const {
  auto* header = fChunkList.ItemFromClass<TVnPNGChunkIHDR>();
  if (!header) return ptmNone;
  auto* trns = fChunkList.ItemFromClass<TVnPNGChunktRNS>();
  switch (header->ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB: return trns && trns->Usable() ? ptmBit : ptmNone;
    case COLOR_PALETTE:
      if (!trns) return ptmNone;
      return trns->BitTransparency() ? ptmBit : ptmPartial;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA: return ptmPartial;
    default: return ptmNone;
  }
}

platform::COLORREF TVnPNGObject::TransparentColor() const {
  auto* trns = fChunkList.ItemFromClass<TVnPNGChunktRNS>();
  return trns ? trns->TransparentColor() : 0;
}

bool TVnPNGObject::HasPixelInformation() const { return fChunkList.ItemFromClass<TVnPNGChunkpHYs>() != nullptr; }

TVnPNGChunkpHYs* TVnPNGObject::PixelInformation() {
  auto* chunk = fChunkList.ItemFromClass<TVnPNGChunkpHYs>();
  if (!chunk) {
    chunk = fChunkList.Add<TVnPNGChunkpHYs>();
    chunk->SetUnitType(utMeter);
  }
  return chunk;
}

void TVnPNGObject::SetCompressionLevel(TCompressionLevel value) { fCompressionLevel = std::clamp(value, 0, 9); }

void TVnPNGObject::SetMaxIdatSize(int value) { fMaxIdatSize = value < 65535 ? 65535 : value; }

namespace {

// A framework colour as RGB: system colours (0xFF000000 + index) through the system table.
platform::COLORREF ResolveColor(platform::COLORREF color) {
  if ((color >> 24) == 0xFF) return platform::GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

unsigned GetIndex(const std::uint8_t* row, int x, int bits) {
  if (bits == 8) return row[x];
  if (bits == 4) return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

void PutIndex(std::uint8_t* row, int x, int bits, unsigned index) {
  if (bits == 8) {
    row[x] = static_cast<std::uint8_t>(index);
  } else if (bits == 4) {
    std::uint8_t& b = row[x >> 1];
    b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | index) : static_cast<std::uint8_t>((b & 0x0F) | (index << 4));
  } else {
    std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
    std::uint8_t& b = row[x >> 3];
    b = index ? (b | mask) : static_cast<std::uint8_t>(b & ~mask);
  }
}

}  // namespace

platform::COLORREF TVnPNGObject::GetPixelColor(int x, int y) const {
  if (Empty() || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const TVnPNGChunkIHDR& h = *Header();
  const std::uint8_t* row = h.Scanline(static_cast<std::uint32_t>(y));
  const int bits = h.BitmapInfo().bmiHeader.biBitCount;
  if (bits == 24) return platform::RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
  unsigned index = GetIndex(row, x, bits);
  if (h.ColorType() == COLOR_GRAYSCALEALPHA) {
    auto v = static_cast<std::uint8_t>(index);
    return platform::RGB(v, v, v);
  }
  const PngRGBQuad& q = h.Palette()[index];
  return platform::RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

void TVnPNGObject::SetPixelColor(int x, int y, platform::COLORREF color) {
  if (Empty() || x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  TVnPNGChunkIHDR& h = *Header();
  std::uint8_t* row = h.Scanline(static_cast<std::uint32_t>(y));
  const int bits = h.BitmapInfo().bmiHeader.biBitCount;
  const platform::COLORREF rgb = ResolveColor(color);
  const int r = platform::GetRValue(rgb), g = platform::GetGValue(rgb), b = platform::GetBValue(rgb);
  if (bits == 24) {
    row[3 * x] = static_cast<std::uint8_t>(b);
    row[3 * x + 1] = static_cast<std::uint8_t>(g);
    row[3 * x + 2] = static_cast<std::uint8_t>(r);
    return;
  }
  if (h.ColorType() == COLOR_GRAYSCALEALPHA) {
    row[x] = static_cast<std::uint8_t>(r);
    return;
  }
  // The nearest colour table entry by squared RGB distance; the first wins a tie.
  unsigned best = 0;
  long bestDistance = -1;
  for (int i = 0; i < h.PaletteCount(); ++i) {
    const PngRGBQuad& q = h.Palette()[static_cast<std::size_t>(i)];
    long dr = q.rgbRed - r, dg = q.rgbGreen - g, db = q.rgbBlue - b;
    long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<unsigned>(i);
    }
  }
  PutIndex(row, x, bits, best);
}

void TVnPNGObject::AddtEXt(const AnsiString& keyword, const AnsiString& text) {
  auto* chunk = fChunkList.Add<TVnPNGChunkTEXT>();
  chunk->SetKeyword(keyword);
  chunk->SetText(text);
}

void TVnPNGObject::AddzTXt(const AnsiString& keyword, const AnsiString& text) {
  auto* chunk = fChunkList.Add<TVnPNGChunkzTXT>();
  chunk->SetKeyword(keyword);
  chunk->SetText(text);
}

// ---- drawing ----

namespace {

// A 32-bit top-down DIB section in a memory DC, for blending in place.
class BlendBuffer {
 public:
  BlendBuffer(int width, int height) {
    platform::BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(platform::BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = platform::BI_RGB;
    dc_.reset(platform::CreateCompatibleDC(nullptr));
    if (dc_) bitmap_.reset(platform::CreateDIBSection(dc_.get(), &info, platform::DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (!bitmap_ || !bits_) RaiseError<EVnPNGOutMemory>(PngMessages::OutMemory);
    selection_.emplace(dc_.get(), bitmap_.get());
  }

  platform::HDC Dc() const { return dc_.get(); }
  std::uint8_t* Pixel(int x, int y, int width) const {
    return static_cast<std::uint8_t*>(bits_) + (static_cast<std::size_t>(y) * width + x) * 4;
  }

 private:
  // Declared so that the selection is undone before the DC goes, and the DC before its bitmap.
  platform::OwnedBitmap bitmap_;
  platform::OwnedMemoryDC dc_;
  std::optional<platform::SelectedObject> selection_;
  void* bits_ = nullptr;
};

// One BGRA pixel of the buffer blended with colour (r, g, b) at alpha `a`.
void Blend(std::uint8_t* d, int r, int g, int b, int a) {
  if (a == 0) return;
  auto mix = [a](int s, int old) { return static_cast<std::uint8_t>((s * a + old * (255 - a) + 255) >> 8); };
  d[0] = mix(b, d[0]);
  d[1] = mix(g, d[1]);
  d[2] = mix(r, d[2]);
  d[3] = static_cast<std::uint8_t>(255 - (((255 - d[3]) * (255 - a) + 255) >> 8));
}

}  // namespace

void TVnPNGObject::Draw(TCanvas* canvas, const TRect& rect) {
  if (!canvas || Empty()) return;
  platform::HDC dc = canvas->Handle();
  TVnPNGChunkIHDR& h = *Header();
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  switch (TransparencyMode()) {
    case ptmNone: {
      const int oldMode = platform::SetStretchBltMode(dc, platform::COLORONCOLOR);
      platform::StretchBlt(dc, rect.left, rect.top, width, height, h.ImageDC(), 0, 0, Width(), Height(),
                           platform::SRCCOPY);
      if (oldMode) platform::SetStretchBltMode(dc, oldMode);
      break;
    }
    case ptmBit:
      platform::TransparentBlt(dc, rect.left, rect.top, width, height, h.ImageDC(), 0, 0, Width(), Height(),
                               TransparentColor());
      break;
    case ptmPartial: DrawPartial(dc, rect); break;
  }
}

void TVnPNGObject::DrawPartial(platform::HDC dc, const TRect& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  // Inverted rectangles have no area to blend into either.
  if (width <= 0 || height <= 0) return;
  const TVnPNGChunkIHDR& h = *Header();
  const auto* trns = fChunkList.ItemFromClass<TVnPNGChunktRNS>();
  const std::int64_t imageWidth = Width(), imageHeight = Height();
  BlendBuffer buffer(width, height);
  platform::BitBlt(buffer.Dc(), 0, 0, width, height, dc, rect.left, rect.top, platform::SRCCOPY);
  const int bits = h.BitmapInfo().bmiHeader.biBitCount;
  for (int y = 0; y < height; ++y) {
    // trunc(y / (height / image height)), exactly.
    const auto sy = static_cast<std::uint32_t>(y * imageHeight / height);
    const std::uint8_t* row = h.Scanline(sy);
    const std::uint8_t* alpha = h.AlphaScanline(sy);
    for (int x = 0; x < width; ++x) {
      const auto sx = static_cast<int>(x * imageWidth / width);
      std::uint8_t* d = buffer.Pixel(x, y, width);
      if (h.ColorType() == COLOR_RGBALPHA) {
        Blend(d, row[3 * sx + 2], row[3 * sx + 1], row[3 * sx], alpha[sx]);
      } else if (h.ColorType() == COLOR_GRAYSCALEALPHA) {
        Blend(d, row[sx], row[sx], row[sx], alpha[sx]);
      } else {
        const unsigned index = GetIndex(row, sx, bits);
        const PngRGBQuad& q = h.Palette()[index];
        Blend(d, q.rgbRed, q.rgbGreen, q.rgbBlue, trns ? trns->PaletteValues()[index] : 255);
      }
    }
  }
  platform::BitBlt(dc, rect.left, rect.top, width, height, buffer.Dc(), 0, 0, platform::SRCCOPY);
}

void TVnPNGObject::DrawAt(TCanvas* canvas, int x, int y) { Draw(canvas, TRect{x, y, x + Width(), y + Height()}); }

}  // namespace kestrel
