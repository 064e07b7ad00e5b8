// Golden sheets of the fill painter and the marquee: gradient kinds × mirror × rounding, shadows
// and glows, picture places, and marquee frames on the virtual clock.

#include <gtest/gtest.h>

#include "SmoothTestSupport.h"
#include "framework/Panel.h"
#include "smooth/GDIPFill.h"
#include "smooth/SmoothWin8Marquee.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel {
namespace {

namespace pf = platform;

constexpr testing::GoldenTolerance kTolerance{8, 0.002};

struct Sheet {
  Sheet(int w, int h) : surface(w, h) {
    pf::TGPSolidBrush white(0xFFFFFFFF);
    surface.g.FillRectangle(&white, pf::TGPRectF{0, 0, static_cast<float>(w), static_cast<float>(h)});
    surface.g.SetSmoothingMode(pf::SmoothingModeAntiAlias);
  }
  cairo_surface_t* Image() { return surface.bitmap.Surface(); }
  testing::PaintSurface surface;
};

void Colourful(TGDIPFill& f) {
  f.SetColor(0x00C0FF);    // orange
  f.SetColorTo(0x803000);  // dark blue
  f.SetColorMirror(0x30A030);
  f.SetColorMirrorTo(0xE0FFE0);
  f.SetBorderColor(0x202020);
  f.SetAngle(30);
  f.SetHatchStyle(pf::HatchStyleDiagonalCross);
  f.SetBackGroundPicturePosition(ppTiled);
  f.BackGroundPicture()->SetData(testing::PngBytes(6, 6, 0xFFFF8000, 0xFF4040FF));
}

TEST(SmoothGolden, GradientKindsMirrorAndRounding) {
  constexpr int kW = 44, kH = 34;
  Sheet sheet(12 * kW, 11 * kH);
  for (int type = gtSolid; type <= gtNone; ++type) {
    for (int mirror = 0; mirror < 2; ++mirror) {
      for (int rounding = rtNone; rounding <= rtRight; ++rounding) {
        TGDIPFill f;
        Colourful(f);
        if (!mirror) f.SetColorMirror(clNone);
        f.SetGradientType(static_cast<TGradientType>(type));
        f.SetGradientMirrorType(static_cast<TGradientType>(type));
        f.SetRounding(8);
        f.SetRoundingType(static_cast<TFillRoundingType>(rounding));
        const float x = static_cast<float>((mirror * 6 + rounding) * kW + 2), y = static_cast<float>(type * kH + 2);
        f.Fill(&sheet.surface.g, pf::TGPRectF{x, y, kW - 4, kH - 4});
      }
    }
  }
  EXPECT_TRUE(testing::MatchesGolden(sheet.Image(), "smooth_fill_gradients", kTolerance));
}

TEST(SmoothGolden, ShadowsGlowsAndFocus) {
  constexpr int kW = 90, kH = 60;
  Sheet sheet(4 * kW, 3 * kH);
  auto cell = [&](int col, int row, const std::function<void(TGDIPFill&)>& setup) {
    TGDIPFill f;
    f.SetColor(0xF0D0A0);
    f.SetColorTo(0xA06020);
    f.SetBorderColor(0x603010);
    f.SetRounding(6);
    setup(f);
    f.Fill(&sheet.surface.g,
           pf::TGPRectF{static_cast<float>(col * kW + 4), static_cast<float>(row * kH + 4), kW - 8, kH - 8});
  };
  for (int type = stRightBottom; type <= stSurround; ++type) {
    cell(type, 0, [&](TGDIPFill& f) {
      f.SetShadowOffset(6);
      f.SetShadowType(static_cast<TShadowType>(type));
    });
  }
  cell(3, 0, [](TGDIPFill& f) {
    f.SetShadowOffset(5);
    f.SetShadowColor(0x0000C0);
    f.SetRounding(0);
  });
  for (int glow = gmNone; glow <= gmRadialGradient; ++glow) {
    cell(glow, 1, [&](TGDIPFill& f) {
      f.SetGlow(static_cast<TGlowMode>(glow));
      f.SetGlowGradientColor(0xFFFFFF);
      f.SetGlowRadialColor(0xC0FFFF);
    });
  }
  cell(0, 2, [](TGDIPFill& f) {
    f.SetFocus(true);
    f.SetFocusColor(clBlack);
  });
  cell(1, 2, [](TGDIPFill& f) {
    f.SetBorderWidth(4);
    f.SetBorderOpacity(128);
  });
  cell(2, 2, [](TGDIPFill& f) {
    f.SetGradientType(gtRadial);
    f.SetColorMirror(0x30A030);
    f.SetColorMirrorTo(0xE0FFE0);
    f.SetGradientMirrorType(gtRadial);
  });
  cell(3, 2, [](TGDIPFill& f) {
    f.SetOpacity(60);
    f.SetOpacityTo(220);
    f.SetGradientType(gtForwardDiagonal);
  });
  EXPECT_TRUE(testing::MatchesGolden(sheet.Image(), "smooth_fill_effects", kTolerance));
}

TEST(SmoothGolden, PicturesAtEveryPosition) {
  constexpr int kW = 70, kH = 50;
  Sheet sheet(6 * kW, 3 * kH);
  const auto picture = testing::PngBytes(16, 12, 0xFFD02020, 0xFF2020D0);
  for (int pos = ppTopLeft; pos <= ppCustom; ++pos) {
    TGDIPFill f;
    f.SetGradientType(gtSolid);
    f.SetColor(0xE8E8E8);
    f.SetBorderColor(0x808080);
    f.Picture()->SetData(picture);
    f.SetPicturePosition(static_cast<TFillPicturePosition>(pos));
    f.SetPictureLeft(pos == ppCustom ? (pos % 6) * kW + 30 : 2);
    f.SetPictureTop(pos == ppCustom ? (pos / 6) * kH + 8 : 1);
    f.Fill(&sheet.surface.g, pf::TGPRectF{static_cast<float>((pos % 6) * kW + 3),
                                          static_cast<float>((pos / 6) * kH + 3), kW - 6, kH - 6});
  }
  const TPictureMode modes[] = {pmStretch, pmNormal};
  for (int i = 0; i < 6; ++i) {
    // Background pictures of a texture fill: stretched with and without aspect, inside and
    // outside the rounded outline, sized to a custom size.
    TGDIPFill f;
    f.SetGradientType(gtTexture);
    f.SetRounding(10);
    f.SetBorderColor(0x404040);
    f.BackGroundPicture()->SetData(picture);
    f.SetBackGroundPicturePosition(i < 4 ? ppStretched : ppCenterCenter);
    f.SetBackGroundPictureAspectRatio(i % 2 == 1);
    f.SetBackGroundPictureAspectMode(modes[i / 2 % 2]);
    f.SetBackGroundPictureMode(i == 4 ? pmInsideFill : pmOutsideFill);
    f.Picture()->SetData(i == 5 ? picture : std::vector<std::uint8_t>{});
    f.SetPictureSize(psCustom);
    f.SetPictureWidth(8);
    f.SetPictureHeight(30);
    f.Fill(&sheet.surface.g,
           pf::TGPRectF{static_cast<float>(i * kW + 3), static_cast<float>(2 * kH + 3), kW - 6, kH - 6});
  }
  EXPECT_TRUE(testing::MatchesGolden(sheet.Image(), "smooth_fill_pictures", kTolerance));
}

TEST(SmoothGolden, MarqueeFramesOnTheVirtualClock) {
  constexpr int kW = 445, kH = 40;
  testing::ShownForm form(kW, kH);
  form->SetBorderStyle(bsNone);
  form->SetBounds(50, 50, kW, kH);
  auto* marquee = new TSmoothWin8Marquee(form.form);
  marquee->SetParent(form.form);
  marquee->SetAlign(alClient);
  marquee->Fill()->SetColor(clWhite);
  marquee->Fill()->SetGradientType(gtSolid);
  marquee->Fill()->SetBorderColor(0xC0C0C0);
  marquee->Bullets()->SetColor(clBlack);
  testing::Pump();
  const int steps[] = {0, 150, 450, 300, 700, 210};  // ms between frames
  Sheet sheet(kW, kH * 6);
  cairo_t* cr = cairo_create(sheet.Image());
  for (int i = 0; i < 6; ++i) {
    pf::HeadlessBackend::Current()->Advance(steps[i]);
    testing::Pump();
    cairo_surface_t* frame = pf::CaptureWindowImage(form->Handle());
    ASSERT_NE(frame, nullptr);
    cairo_set_source_surface(cr, frame, 0, i * kH);
    cairo_paint(cr);
    cairo_surface_destroy(frame);
  }
  cairo_destroy(cr);
  cairo_surface_mark_dirty(sheet.Image());
  EXPECT_TRUE(testing::MatchesGolden(sheet.Image(), "smooth_marquee_frames", kTolerance));
}

}  // namespace
}  // namespace kestrel
