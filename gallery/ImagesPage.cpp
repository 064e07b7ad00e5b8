#include "ImagesPage.h"
#include "GalleryPages.h"

#include <cmath>
#include <iterator>
#include <memory>

#include "framework/GraphicControl.h"
#include "framework/Label.h"
#include "framework/MemoryStream.h"
#include "imaging/PngImageList.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"

namespace kestrel::gallery {

namespace {

using platform::RGB;

constexpr int kIcon = 24;
constexpr int kCell = 84;
constexpr int kRow = 64;
constexpr int kLabelWidth = 110;

// A soft disc: colour by angle, alpha falling off towards the rim (for the alpha kinds).
std::unique_ptr<TVnPNGObject> MakeImage(std::uint8_t colorType, std::uint8_t depth) {
  auto png = std::make_unique<TVnPNGObject>();
  png->CreateBlank(colorType, depth, kIcon, kIcon);
  TVnPNGChunkIHDR& h = *png->Header();
  for (int y = 0; y < kIcon; ++y)
    for (int x = 0; x < kIcon; ++x) {
      const double dx = x - 11.5, dy = y - 11.5, r = std::sqrt(dx * dx + dy * dy);
      const double angle = std::atan2(dy, dx);
      png->SetPixelColor(x, y,
                         RGB(static_cast<int>(127 + 127 * std::cos(angle)),
                             static_cast<int>(127 + 127 * std::sin(angle)), static_cast<int>(255 - r * 8)));
      if (std::uint8_t* alpha = h.AlphaScanline(static_cast<std::uint32_t>(y)))
        alpha[x] = static_cast<std::uint8_t>(std::clamp(255.0 - std::max(0.0, r - 6) * 42, 0.0, 255.0));
    }
  return png;
}

std::unique_ptr<TVnPNGObject> MakeKeyed() {
  auto png = MakeImage(COLOR_RGB, 8);
  for (int i = 0; i < kIcon; ++i) {
    png->SetPixelColor(i, i, RGB(255, 0, 255));
    png->SetPixelColor(kIcon - 1 - i, i, RGB(255, 0, 255));
  }
  png->SetTransparentColor(RGB(255, 0, 255));
  return png;
}

std::unique_ptr<TVnPNGObject> MakePalette() {
  auto png = std::make_unique<TVnPNGObject>();
  png->CreateBlank(COLOR_PALETTE, 4, kIcon, kIcon);
  for (int y = 0; y < kIcon; ++y)
    for (int x = 0; x < kIcon; ++x) png->SetPixelColor(x, y, RGB(0, ((x + y) / 3 % 6) * 51, 255));
  png->CreateAlpha();
  auto& values = png->Chunks().ItemFromClass<TVnPNGChunktRNS>()->PaletteValues();
  for (int i = 0; i < 16; ++i) values[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i * 12);
  return png;
}

// The list's images after writing them in the stored format and reading them back.
void FillList(TVnPNGImageList& list) {
  TVnPNGImageList source(nullptr);
  source.SetSize(kIcon, kIcon);
  source.AddPng(MakeImage(COLOR_RGB, 8));
  source.AddPng(MakeKeyed());
  source.AddPng(MakeImage(COLOR_RGBALPHA, 8));
  source.AddPng(MakeImage(COLOR_GRAYSCALEALPHA, 8));
  source.AddPng(MakePalette());
  TMemoryStream stream;
  source.WriteData(stream);
  stream.SetPosition(0);
  list.SetSize(kIcon, kIcon);
  list.ReadData(stream);
}

class TImageListSheet : public TGraphicControl {
 public:
  explicit TImageListSheet(TComponent* owner) : TGraphicControl(owner), list_(this) { FillList(list_); }

 protected:
  void Paint() override {
    static const char16_t* const rows[] = {u"RGB", u"Key colour", u"RGB + alpha", u"Gray + alpha", u"Palette + tRNS"};
    static const char16_t* const columns[] = {u"Draw", u"Centre", u"Stretch", u"Aspect", u"Tile"};
    static const int flags[] = {-1, kPngDrawCenter, kPngDrawStretch, kPngDrawStretch | 0x600, kPngDrawTile};
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    for (int c = 0; c < static_cast<int>(std::size(columns)); ++c)
      canvas->TextOut(kLabelWidth + c * kCell, 0, columns[c]);
    for (int r = 0; r < list_.Count(); ++r) {
      const int top = 20 + r * kRow;
      canvas->Brush()->SetStyle(bsClear);
      canvas->TextOut(0, top + 20, rows[r]);
      for (int c = 0; c < static_cast<int>(std::size(columns)); ++c) {
        const TRect cell{kLabelWidth + c * kCell, top, kLabelWidth + c * kCell + kCell - 12, top + kRow - 10};
        Checkerboard(cell);
        TRect drawn{};
        if (flags[c] < 0) {
          list_.Draw(canvas, cell.left, cell.top, r);
        } else {
          list_.DrawExt(canvas, cell, drawn, r, flags[c]);
        }
      }
    }
  }

 private:
  void Checkerboard(const TRect& cell) {
    platform::HDC dc = Canvas()->Handle();
    for (int y = cell.top; y < cell.bottom; y += 6)
      for (int x = cell.left; x < cell.right; x += 6) {
        const bool light = ((x - cell.left) / 6 + (y - cell.top) / 6) % 2 == 0;
        const platform::OwnedBrush brush(platform::CreateSolidBrush(light ? RGB(255, 255, 255) : RGB(200, 200, 200)));
        platform::RECT r{x, y, std::min(x + 6, static_cast<int>(cell.right)),
                         std::min(y + 6, static_cast<int>(cell.bottom))};
        platform::FillRect(dc, &r, brush.get());
      }
  }

  TVnPNGImageList list_;
};

}  // namespace

TImagesForm::TImagesForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: PNG images");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetClientWidth(kLabelWidth + 5 * kCell + 16);
  SetClientHeight(20 + 5 * kRow + 40);
  auto* heading = new TLabel(this);
  heading->SetParent(this);
  heading->SetBounds(12, 8, 500, 17);
  heading->Font()->SetStyle({fsBold});
  heading->SetCaption(u"A PNG image list in each drawing mode");
  auto* sheet = new TImageListSheet(this);
  sheet->SetParent(this);
  sheet->SetBounds(12, 32, kLabelWidth + 5 * kCell, 20 + 5 * kRow);
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("images", u"Images", kestrel::gallery::TImagesForm)
