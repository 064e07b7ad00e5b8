// Our GDI+ layer against the equivalent raw cairo calls on the same 445×417 surface.
// Each pair draws the same pixels; the layer's side includes creating its brush and path and
// its per-call context, as every paint does.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>

#include "platform/gdiplus/TGPGraphics.h"
#include "platform/gdiplus/TGPLinearGradientBrush.h"
#include "platform/gdiplus/TGPPathGradientBrush.h"

namespace kestrel::platform {
namespace {

constexpr int kWidth = 445;
constexpr int kHeight = 417;
constexpr ARGB kFrom = 0xFF2060C0;
constexpr ARGB kTo = 0xFFF0F4FF;

void SetRgba(cairo_t* cr, ARGB c) {
  cairo_set_source_rgba(cr, GetRed(c) / 255.0, GetGreen(c) / 255.0, GetBlue(c) / 255.0, GetAlpha(c) / 255.0);
}

void AddStop(cairo_pattern_t* p, double offset, ARGB c) {
  cairo_pattern_add_color_stop_rgba(p, offset, GetRed(c) / 255.0, GetGreen(c) / 255.0, GetBlue(c) / 255.0,
                                    GetAlpha(c) / 255.0);
}

void MeshCorner(cairo_pattern_t* mesh, int corner, ARGB c) {
  cairo_mesh_pattern_set_corner_color_rgba(mesh, corner, GetRed(c) / 255.0, GetGreen(c) / 255.0, GetBlue(c) / 255.0,
                                           GetAlpha(c) / 255.0);
}

// An ellipse filling the surface, as a raw cairo user writes it.
void RawEllipse(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, kWidth / 2.0, kHeight / 2.0);
  cairo_scale(cr, kWidth / 2.0, kHeight / 2.0);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

struct RawSurface {
  RawSurface() : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight)), cr(cairo_create(surface)) {
    cairo_translate(cr, 0.5, 0.5);  // the same pixel grid as the layer
  }
  ~RawSurface() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  cairo_surface_t* surface;
  cairo_t* cr;
};

void LinearGradient_Layer(benchmark::State& state) {
  TGPBitmap bitmap(kWidth, kHeight);
  TGPGraphics g(&bitmap);
  const TGPRectF r{0, 0, kWidth, kHeight};
  for (auto _ : state) {
    TGPLinearGradientBrush brush(TGPRectF{-1, -1, kWidth + 2, kHeight + 2}, kFrom, kTo, LinearGradientModeVertical);
    g.FillRectangle(&brush, r);
  }
}

// The fill painter's gradients use gamma correction, which costs extra stops; no raw pair.
void LinearGradientGamma_Layer(benchmark::State& state) {
  TGPBitmap bitmap(kWidth, kHeight);
  TGPGraphics g(&bitmap);
  const TGPRectF r{0, 0, kWidth, kHeight};
  for (auto _ : state) {
    TGPLinearGradientBrush brush(TGPRectF{-1, -1, kWidth + 2, kHeight + 2}, kFrom, kTo, LinearGradientModeVertical);
    brush.SetGammaCorrection(TRUE);
    g.FillRectangle(&brush, r);
  }
}

void LinearGradient_Cairo(benchmark::State& state) {
  RawSurface raw;
  cairo_set_antialias(raw.cr, CAIRO_ANTIALIAS_NONE);
  for (auto _ : state) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -1, 0, kHeight + 1);
    AddStop(p, 0, kFrom);
    AddStop(p, 1, kTo);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_set_source(raw.cr, p);
    cairo_pattern_destroy(p);
    cairo_rectangle(raw.cr, 0, 0, kWidth, kHeight);
    cairo_fill(raw.cr);
  }
}

void PathGradient_Layer(benchmark::State& state) {
  TGPBitmap bitmap(kWidth, kHeight);
  TGPGraphics g(&bitmap);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  for (auto _ : state) {
    TGPGraphicsPath ellipse;
    ellipse.AddEllipse(0, 0, kWidth, kHeight);
    TGPPathGradientBrush brush(&ellipse);
    brush.SetCenterColor(kTo);
    ARGB surround = kFrom;
    INT count = 1;
    brush.SetSurroundColors(&surround, &count);
    g.FillPath(&brush, &ellipse);
  }
}

// Raw cairo's way to the same gradient: a mesh of one patch per quarter of the ellipse, from
// the centre.
void PathGradient_Cairo(benchmark::State& state) {
  RawSurface raw;
  cairo_set_antialias(raw.cr, CAIRO_ANTIALIAS_GRAY);
  const double cx = kWidth / 2.0, cy = kHeight / 2.0, rx = kWidth / 2.0, ry = kHeight / 2.0;
  const double k = 4.0 / 3.0 * std::tan(M_PI / 8);
  for (auto _ : state) {
    cairo_pattern_t* mesh = cairo_pattern_create_mesh();
    for (int q = 0; q < 4; ++q) {
      const double a = q * M_PI / 2, b = a + M_PI / 2;
      cairo_mesh_pattern_begin_patch(mesh);
      cairo_mesh_pattern_move_to(mesh, cx + rx * std::cos(a), cy + ry * std::sin(a));
      cairo_mesh_pattern_curve_to(mesh, cx + rx * (std::cos(a) - k * std::sin(a)),
                                  cy + ry * (std::sin(a) + k * std::cos(a)), cx + rx * (std::cos(b) + k * std::sin(b)),
                                  cy + ry * (std::sin(b) - k * std::cos(b)), cx + rx * std::cos(b),
                                  cy + ry * std::sin(b));
      cairo_mesh_pattern_line_to(mesh, cx, cy);
      cairo_mesh_pattern_line_to(mesh, cx, cy);
      MeshCorner(mesh, 0, kFrom);
      MeshCorner(mesh, 1, kFrom);
      MeshCorner(mesh, 2, kTo);
      MeshCorner(mesh, 3, kTo);
      cairo_mesh_pattern_end_patch(mesh);
    }
    cairo_set_source(raw.cr, mesh);
    cairo_pattern_destroy(mesh);
    RawEllipse(raw.cr);
    cairo_fill(raw.cr);
  }
}

void Ellipse_Layer(benchmark::State& state) {
  TGPBitmap bitmap(kWidth, kHeight);
  TGPGraphics g(&bitmap);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  for (auto _ : state) {
    TGPSolidBrush brush(kFrom);
    g.FillEllipse(&brush, 0, 0, kWidth, kHeight);
  }
}

void Ellipse_Cairo(benchmark::State& state) {
  RawSurface raw;
  cairo_set_antialias(raw.cr, CAIRO_ANTIALIAS_GRAY);
  for (auto _ : state) {
    SetRgba(raw.cr, kFrom);
    RawEllipse(raw.cr);
    cairo_fill(raw.cr);
  }
}

BENCHMARK(LinearGradient_Layer);
BENCHMARK(LinearGradient_Cairo);
BENCHMARK(LinearGradientGamma_Layer);
BENCHMARK(PathGradient_Layer);
BENCHMARK(PathGradient_Cairo);
BENCHMARK(Ellipse_Layer);
BENCHMARK(Ellipse_Cairo);

}  // namespace
}  // namespace kestrel::platform

BENCHMARK_MAIN();
