#include "BordersForm.h"
#include "GalleryPages.h"

#include <iterator>

#include "controls/DrawingHelpers.h"
#include "framework/Label.h"
#include "platform/gdi/Frames.h"

namespace kestrel::gallery {

namespace {

constexpr int kCellWidth = 100;
constexpr int kSampleWidth = 86;
constexpr int kSampleHeight = 34;
constexpr int kCellHeight = 58;

// A sample box with its caption centred underneath.
TRect SampleBox(TCanvas* canvas, int left, int top, const String& name) {
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(left + (kSampleWidth - canvas->TextWidth(name)) / 2, top + kSampleHeight + 3, name);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clWindow);
  const TRect box = Rect(left, top, left + kSampleWidth, top + kSampleHeight);
  canvas->FillRect(box);
  return box;
}

// All fifteen flat border kinds, five to a row, each on every side.
class TFlatBorderSheet : public TGraphicControl {
 public:
  explicit TFlatBorderSheet(TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override {
    static const char16_t* const names[] = {
        u"fbtFlat",        u"fbtSunken",      u"fbtSunkenInner", u"fbtSunkenOuter", u"fbtRaised",
        u"fbtRaisedInner", u"fbtRaisedOuter", u"fbtBump",        u"fbtBigBump",     u"fbtEtched",
        u"fbtFramed",      u"fbtLine",        u"fbtLineBorder",  u"fbtNone",        u"fbtColorLineBorder"};
    static_assert(std::size(names) == fbtColorLineBorder + 1, "one name per border kind");
    for (int kind = 0; kind < static_cast<int>(std::size(names)); ++kind) {
      const TRect box = SampleBox(Canvas(), (kind % 5) * kCellWidth, (kind / 5) * kCellHeight, names[kind]);
      PaintFlatBorder(Canvas()->Handle(), box, clNavy, clWindow, true, true, AllBorderSides,
                      static_cast<TKsFlatBorderType>(kind));
    }
  }
};

// Raised and lowered pairs of each bevel helper.
class TBevelSheet : public TGraphicControl {
 public:
  explicit TBevelSheet(TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override {
    platform::HDC dc = Canvas()->Handle();
    for (int lowered = 0; lowered < 2; ++lowered) {
      const int top = lowered * kCellHeight;
      const TColor light = lowered ? clBtnShadow : clBtnHighlight;
      const TColor dark = lowered ? clBtnHighlight : clBtnShadow;
      const String how = lowered ? u" lowered" : u" raised";

      PaintBevelRing(dc, SampleBox(Canvas(), 0, top, u"Ring" + how), light, dark, AllBorderSides);

      TRect frame = SampleBox(Canvas(), kCellWidth, top, u"Frame 2px" + how);
      PaintFrame3D(Canvas(), frame, light, dark, 2);

      TRect edge = SampleBox(Canvas(), 2 * kCellWidth, top, u"Edge" + how);
      PaintEdge3D(dc, edge, lowered ? platform::EDGE_SUNKEN : platform::EDGE_RAISED,
                  platform::BF_RECT | platform::BF_MIDDLE, clBtnFace, cl3DDkShadow, clBtnHighlight, clBtnShadow);

      TRect half = SampleBox(Canvas(), 3 * kCellWidth, top, lowered ? u"Edge etched" : u"Edge bump");
      PaintEdge3D(dc, half, lowered ? platform::EDGE_ETCHED : platform::EDGE_BUMP, platform::BF_RECT, clBtnFace,
                  cl3DDkShadow, clBtnHighlight, clBtnShadow);

      const TVnBorderSides topLeft{ebsLeft, ebsTop};
      PaintBevelRing(dc, SampleBox(Canvas(), 4 * kCellWidth, top, u"Left+top" + how), light, dark, topLeft);
    }
  }
};

// Every bevel style at widths 1, 2 and 3, five styles to a row, then a panel-like box with a
// grab handle on each side, raised on the left and top, lowered on the right and bottom.
class TBevelStyleSheet : public TGraphicControl {
 public:
  explicit TBevelStyleSheet(TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override {
    static const char16_t* const names[] = {u"bvNone",   u"bvLowered", u"bvRaised", u"bvFrameLowered", u"bvFrameRaised",
                                            u"bvNormal", u"bvShadow",  u"bvSpace",  u"bvFlat"};
    static_assert(std::size(names) == bvFlat + 1, "one name per bevel style");
    platform::HDC dc = Canvas()->Handle();
    constexpr int kBox = kSampleWidth / 3;
    for (int style = 0; style < static_cast<int>(std::size(names)); ++style) {
      const TRect cell = SampleBox(Canvas(), (style % 5) * kCellWidth, (style / 5) * kCellHeight, names[style]);
      FillSolid(dc, cell, ColorToRGB(clBtnFace));
      for (int width = 1; width <= 3; ++width) {
        const int left = cell.left + (width - 1) * kBox;
        PaintBevel(dc, Rect(left + 2, cell.top + 4, left + kBox - 2, cell.bottom - 4),
                   static_cast<TVnBevelStyle>(style), width, clTeal);
      }
    }
    TRect area = SampleBox(Canvas(), 4 * kCellWidth, kCellHeight, u"Grab handles");
    FillSolid(dc, area, ColorToRGB(clBtnFace));
    area = PaintBevel(dc, area, bvRaised, 1, clTeal);
    PaintGrabHandle(dc, area, ebsLeft, 6, bvRaised, clBtnFace);
    PaintGrabHandle(dc, area, ebsRight, 6, bvLowered, clBtnFace);
    PaintGrabHandle(dc, area, ebsTop, 6, bvRaised, clBtnFace);
    PaintGrabHandle(dc, area, ebsBottom, 6, bvLowered, clBtnFace);
  }
};

}  // namespace

TBordersForm::TBordersForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: borders and bevels");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetClientWidth(5 * kCellWidth + 20);
  SetClientHeight(494);

  AddHeading(this, u"Flat borders (all sides)", 8);
  auto* flat = new TFlatBorderSheet(this);
  flat->SetParent(this);
  flat->SetBounds(16, 30, 5 * kCellWidth, 3 * kCellHeight);

  AddHeading(this, u"Bevel rings, 3-D frames and 3-D edges", 210);
  auto* bevels = new TBevelSheet(this);
  bevels->SetParent(this);
  bevels->SetBounds(16, 232, 5 * kCellWidth, 2 * kCellHeight);

  AddHeading(this, u"Bevel styles at widths 1, 2 and 3 (bvSpace in teal), grab handles", 350);
  auto* styles = new TBevelStyleSheet(this);
  styles->SetParent(this);
  styles->SetBounds(16, 372, 5 * kCellWidth, 2 * kCellHeight);
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("borders", u"Borders", kestrel::gallery::TBordersForm)
