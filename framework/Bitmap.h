#pragma once
// TBitmap: a device-independent bitmap with a canvas. Pixels are kept as 32-bit BGRA rows,
// top-down, whatever the PixelFormat says; the format decides how the bitmap is saved (24 or
// 32 bits) and whether the alpha byte takes part in drawing.

#include <cstdint>
#include <memory>

#include "framework/Graphic.h"
#include "platform/gdi/OwnedGdi.h"

namespace kestrel {

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
  KESTREL_CLASS(TBitmap)
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;

  void Assign(const TPersistent* source) override;
  using TPersistent::Assign;

  bool Empty() const override { return width_ == 0 || height_ == 0; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int value) override { Resize(value, height_); }
  void SetHeight(int value) override { Resize(width_, value); }
  // Keeps the overlapping pixels; new pixels are black (alpha 0). Negative sizes count as 0.
  void Resize(int width, int height);

  TPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat value);
  TAlphaFormat AlphaFormat() const { return alphaFormat_; }
  void SetAlphaFormat(TAlphaFormat value);
  // Transparent drawing leaves out this colour; tmAuto takes the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);

  // The canvas drawing on the bitmap (made on first use).
  TCanvas* Canvas();
  platform::HBITMAP Handle();
  // The row's first pixel (BGRA, 4 bytes a pixel); null for rows out of range.
  std::uint8_t* ScanLine(int row);
  const std::uint8_t* ScanLine(int row) const;

  void Draw(TCanvas* canvas, const TRect& rect) override;
  // Reads and writes the BMP file format (uncompressed 24 and 32 bits a pixel).
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

 private:
  class BitmapCanvas;
  void FreeCanvas();
  std::uint32_t Pixel(int x, int y) const;

  int width_ = 0;
  int height_ = 0;
  TPixelFormat pixelFormat_ = pfDevice;
  TAlphaFormat alphaFormat_ = afIgnored;
  TTransparentMode transparentMode_ = tmAuto;
  TColor transparentColor_ = clDefault;
  platform::OwnedBitmap handle_;
  std::uint8_t* bits_ = nullptr;
  std::unique_ptr<BitmapCanvas> canvas_;
};

}  // namespace kestrel
