#include "framework/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/Stream.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/MemoryCanvas.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TBitmap, TGraphic)

// The canvas of a bitmap: a memory DC with the bitmap selected, made when first drawn on.
class TBitmap::BitmapCanvas : public TCanvas {
 public:
  explicit BitmapCanvas(TBitmap& owner) : owner_(owner) {}
  ~BitmapCanvas() override { Release(); }
  void Release() {
    DeselectHandles();
    memory_.Reset();
  }

 protected:
  void CreateHandle() override {
    memory_ = pf::MemoryCanvas::Borrowing(nullptr, owner_.Handle());
    if (memory_.Dc()) SetHandle(memory_.Dc());
  }

 private:
  TBitmap& owner_;
  pf::MemoryCanvas memory_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { Resize(width, height); }

TBitmap::~TBitmap() { FreeCanvas(); }

void TBitmap::FreeCanvas() {
  if (canvas_) canvas_->Release();
}

pf::HBITMAP TBitmap::Handle() {
  if (!handle_ && !Empty()) {
    // Made lazily for a size set before any drawing.
    Resize(width_, height_);
  }
  return handle_.get();
}

void TBitmap::Resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_ && (handle_ || width == 0 || height == 0)) return;
  FreeCanvas();
  pf::OwnedBitmap newHandle;
  void* newBits = nullptr;
  if (width > 0 && height > 0) {
    pf::BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    newHandle.reset(pf::CreateDIBSection(nullptr, &info, pf::DIB_RGB_COLORS, &newBits, nullptr, 0));
    if (!newHandle || !newBits) throw EOutOfResources(u"Out of system resources");
    std::memset(newBits, 0, static_cast<size_t>(width) * height * 4);
    if (bits_) {
      const int rows = std::min(height, height_);
      const size_t bytes = static_cast<size_t>(std::min(width, width_)) * 4;
      for (int y = 0; y < rows; ++y)
        std::memcpy(static_cast<std::uint8_t*>(newBits) + static_cast<size_t>(y) * width * 4,
                    bits_ + static_cast<size_t>(y) * width_ * 4, bytes);
    }
  }
  handle_ = std::move(newHandle);
  bits_ = static_cast<std::uint8_t*>(newBits);
  width_ = width;
  height_ = height;
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == pixelFormat_) return;
  pixelFormat_ = value;
  Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat value) {
  if (value == alphaFormat_) return;
  alphaFormat_ = value;
  Changed();
}

std::uint32_t TBitmap::Pixel(int x, int y) const {
  const std::uint8_t* p = ScanLine(y);
  if (!p || x < 0 || x >= width_) return 0;
  p += x * 4;
  return pf::RGB(p[2], p[1], p[0]);
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (Empty()) return clDefault;
  return static_cast<TColor>(Pixel(0, height_ - 1));
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == transparentColor_) return;
  transparentColor_ = value;
  transparentMode_ = value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == transparentMode_) return;
  transparentMode_ = value;
  if (value == tmAuto) transparentColor_ = clDefault;
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<BitmapCanvas>(*this);
  return canvas_.get();
}

std::uint8_t* TBitmap::ScanLine(int row) {
  if (row < 0 || row >= height_ || !bits_) return nullptr;
  return bits_ + static_cast<size_t>(row) * width_ * 4;
}

const std::uint8_t* TBitmap::ScanLine(int row) const {
  if (row < 0 || row >= height_ || !bits_) return nullptr;
  return bits_ + static_cast<size_t>(row) * width_ * 4;
}

void TBitmap::Assign(const TPersistent* source) {
  if (source == this) return;
  if (auto* other = dynamic_cast<const TBitmap*>(source)) {
    FreeCanvas();
    Resize(0, 0);
    pixelFormat_ = other->pixelFormat_;
    alphaFormat_ = other->alphaFormat_;
    transparentMode_ = other->transparentMode_;
    transparentColor_ = other->transparentColor_;
    TGraphic::SetTransparent(other->Transparent());
    Resize(other->width_, other->height_);
    if (bits_ && other->bits_) std::memcpy(bits_, other->bits_, static_cast<size_t>(width_) * height_ * 4);
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& r) {
  if (Empty() || !canvas) return;
  pf::HDC dest = canvas->Handle();
  pf::HDC src = Canvas()->Handle();
  if (!dest || !src) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (Transparent()) {
    pf::TransparentBlt(dest, r.left, r.top, w, h, src, 0, 0, width_, height_, ColorToRGB(TransparentColor()));
  } else if (pixelFormat_ == pf32bit && alphaFormat_ != afIgnored) {
    if (alphaFormat_ == afDefined) {
      // AlphaBlend wants premultiplied pixels: blend a premultiplied copy.
      TBitmap copy;
      copy.Assign(this);
      for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = copy.ScanLine(y);
        for (int x = 0; x < width_; ++x, p += 4)
          for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>((p[c] * p[3] + 127) / 255);
      }
      copy.SetAlphaFormat(afPremultiplied);
      copy.Draw(canvas, r);
      return;
    }
    pf::BLENDFUNCTION blend{};
    blend.AlphaFormat = pf::AC_SRC_ALPHA;
    pf::AlphaBlend(dest, r.left, r.top, w, h, src, 0, 0, width_, height_, blend);
  } else {
    pf::StretchBlt(dest, r.left, r.top, w, h, src, 0, 0, width_, height_, pf::SRCCOPY);
  }
}

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

std::uint32_t ReadLe(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void WriteLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(u"Bitmap image is not valid"); }

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
  std::uint8_t header[kFileHeaderSize + kInfoHeaderSize];
  if (stream.Read(header, sizeof header) != sizeof header) InvalidBitmap();
  if (header[0] != 'B' || header[1] != 'M') InvalidBitmap();
  const std::uint32_t offset = ReadLe(header + 10, 4);
  const std::uint8_t* info = header + kFileHeaderSize;
  const std::uint32_t infoSize = ReadLe(info, 4);
  const auto width = static_cast<std::int32_t>(ReadLe(info + 4, 4));
  const auto rawHeight = static_cast<std::int32_t>(ReadLe(info + 8, 4));
  const int bpp = static_cast<int>(ReadLe(info + 14, 2));
  const std::uint32_t compression = ReadLe(info + 16, 4);
  if (infoSize < kInfoHeaderSize || (bpp != 24 && bpp != 32) || compression != pf::BI_RGB) InvalidBitmap();
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || width > 32768) InvalidBitmap();
  const int height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (height > 32768) InvalidBitmap();
  const size_t stride = (static_cast<size_t>(width) * bpp / 8 + 3) & ~size_t{3};
  std::vector<std::uint8_t> data(stride * height);
  if (offset < sizeof header) InvalidBitmap();
  stream.Seek(static_cast<std::int64_t>(offset) - static_cast<std::int64_t>(sizeof header), soCurrent);
  if (stream.Read(data.data(), data.size()) != data.size()) InvalidBitmap();
  Resize(0, 0);
  pixelFormat_ = bpp == 32 ? pf32bit : pf24bit;
  Resize(width, height);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = data.data() + stride * (rawHeight < 0 ? y : height - 1 - y);
    std::uint8_t* dst = ScanLine(y);
    for (int x = 0; x < width; ++x, dst += 4, src += bpp / 8) {
      dst[0] = src[0];
      dst[1] = src[1];
      dst[2] = src[2];
      dst[3] = bpp == 32 ? src[3] : 255;
    }
  }
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) const {
  const int bpp = pixelFormat_ == pf32bit ? 32 : 24;
  const size_t stride = (static_cast<size_t>(width_) * bpp / 8 + 3) & ~size_t{3};
  const auto imageSize = static_cast<std::uint32_t>(stride * height_);
  std::vector<std::uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + imageSize);
  out.push_back('B');
  out.push_back('M');
  WriteLe(out, kFileHeaderSize + kInfoHeaderSize + imageSize, 4);
  WriteLe(out, 0, 4);
  WriteLe(out, kFileHeaderSize + kInfoHeaderSize, 4);
  WriteLe(out, kInfoHeaderSize, 4);
  WriteLe(out, static_cast<std::uint32_t>(width_), 4);
  WriteLe(out, static_cast<std::uint32_t>(height_), 4);  // bottom-up, as most readers expect
  WriteLe(out, 1, 2);
  WriteLe(out, static_cast<std::uint32_t>(bpp), 2);
  WriteLe(out, pf::BI_RGB, 4);
  WriteLe(out, imageSize, 4);
  WriteLe(out, 3780, 4);  // 96 dpi
  WriteLe(out, 3780, 4);
  WriteLe(out, 0, 4);
  WriteLe(out, 0, 4);
  for (int y = height_ - 1; y >= 0; --y) {
    const std::uint8_t* src = ScanLine(y);
    size_t written = 0;
    for (int x = 0; x < width_; ++x, src += 4) {
      out.insert(out.end(), src, src + bpp / 8);
      written += bpp / 8;
    }
    out.insert(out.end(), stride - written, 0);
  }
  stream.WriteBuffer(out.data(), out.size());
}

}  // namespace kestrel
