// The smooth family's costs:
// - one second of the dialog's busy animation (a 445 × 417 marquee on its overlay panel, the
//   dialog's settings) on the virtual clock, painted through the window's backing store: the
//   CPU time per iteration is the share of a core the animation takes;
// - the fill painter's gradient rectangle against raw cairo drawing the same pixels (the same
//   gamma-corrected stops);
// - the timer wake-ups of a marquee whose overlay is hidden, over 10 s (counter "wakeups").

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>

#include "framework/Form.h"
#include "framework/Panel.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/MessageQueue.h"
#include "smooth/GDIPFill.h"
#include "smooth/SmoothWin8Marquee.h"

namespace kestrel {
namespace {

namespace pf = platform;

constexpr int kWidth = 445;
constexpr int kHeight = 417;

// The dialog's overlay: a white panel with the busy marquee filling it.
struct Overlay {
  TForm* form = TCustomForm::Create<TForm>(nullptr);
  TPanel* panel = new TPanel(form);
  TSmoothWin8Marquee* marquee = new TSmoothWin8Marquee(form);
  Overlay() {
    form->SetPosition(poDesigned);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, kWidth, kHeight);
    panel->SetParent(form);
    panel->SetBounds(0, 0, kWidth, kHeight);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clWhite);
    marquee->SetParent(panel);
    marquee->SetAlign(alClient);
    TGDIPFill* fill = marquee->Fill();
    fill->SetColor(clWhite);
    fill->SetColorMirror(clNone);
    fill->SetColorMirrorTo(clNone);
    fill->SetGradientType(gtSolid);
    fill->SetGradientMirrorType(gtSolid);
    fill->SetBorderColor(clWhite);
    marquee->Bullets()->SetColor(clBlack);
    marquee->SetAnimationFactor(3);
    marquee->SetAnimationStep(10);
    marquee->SetAnimationStretchFactor(1.7f);
    form->Show();
    pf::HeadlessBackend::Pump();
  }
  ~Overlay() {
    form->BeforeDestruction();
    delete form;
  }
};

void MarqueeAnimationSecond(benchmark::State& state) {
  Overlay overlay;
  auto* backend = pf::HeadlessBackend::Current();
  for (auto _ : state) backend->Advance(1000);
  state.counters["presents_per_s"] = benchmark::Counter(
      static_cast<double>(backend->NativeWindows().at(overlay.form->Handle()).presents) / state.iterations());
}

// Advances the virtual clock by `ms` one due timer at a time; returns how many timer stops
// (wake-ups of the GUI thread) that took.
int AdvanceCountingWakeups(pf::DWORD ms) {
  auto* backend = pf::HeadlessBackend::Current();
  const pf::DWORD end = backend->Now() + ms;
  int wakeups = 0;
  for (;;) {
    const pf::DWORD now = backend->Now();
    pf::DWORD next = end;
    for (const auto& t : pf::MessageQueue::Current()->Timers())
      if (static_cast<pf::LONG>(t.due - now) > 0 && static_cast<pf::LONG>(t.due - next) < 0) next = t.due;
    backend->Advance(next - now);
    if (next == end) break;
    ++wakeups;
  }
  return wakeups;
}

void HiddenMarqueeWakeups(benchmark::State& state) {
  Overlay overlay;
  overlay.panel->SetVisible(state.range(0) != 0);
  pf::HeadlessBackend::Pump();
  int wakeups = 0;
  for (auto _ : state) wakeups += AdvanceCountingWakeups(10000);
  state.counters["wakeups_per_10s"] = benchmark::Counter(static_cast<double>(wakeups) / state.iterations());
}

void GradientRectangle_Painter(benchmark::State& state) {
  pf::TGPBitmap bitmap(kWidth, kHeight);
  pf::TGPGraphics g(&bitmap);
  TGDIPFill fill;  // a vertical gradient from #C0C0C0 to #808080
  for (auto _ : state) fill.Fill(&g, pf::TGPRectF{0, 0, kWidth, kHeight});
}

// The same pixels with cairo alone: the gradient's stops interpolated in linear light, as the
// painter's gamma-corrected brush has them, over the rectangle grown by a pixel on each side.
void GradientRectangle_Cairo(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, 0.5, 0.5);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  for (auto _ : state) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -1, 0, kHeight + 1);
    for (int i = 0; i <= 16; ++i) {
      const double t = i / 16.0;
      const double lin = std::pow(0xC0 / 255.0, 2.2) + (std::pow(0x80 / 255.0, 2.2) - std::pow(0xC0 / 255.0, 2.2)) * t;
      const double v = std::pow(lin, 1 / 2.2);
      cairo_pattern_add_color_stop_rgba(p, t, v, v, v, 1);
    }
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, 0, 0, kWidth, kHeight);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

BENCHMARK(MarqueeAnimationSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(HiddenMarqueeWakeups)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(GradientRectangle_Painter)->Unit(benchmark::kMicrosecond);
BENCHMARK(GradientRectangle_Cairo)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrel

BENCHMARK_MAIN();
