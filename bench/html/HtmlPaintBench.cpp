// Painting prepared markup against pango_cairo_show_layout of the same text, in one run: the
// dialog's step caption and a 20 KB document, both laid out at 400 px in DejaVu Sans 13 px
// beforehand, painted onto a white 32-bit surface of the text's size every iteration (a bitmap,
// or the backing store of a window of the headless backend). The band variants repaint only a
// 400 × 100 band across the middle, as after a partial invalidation: the target is clipped to it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "framework/Bitmap.h"
#include "html/HTMLRender.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/BorrowedDC.h"
#include "platform/window/WindowApi.h"

// After our headers: glib defines TRUE and FALSE as macros.
#include <pango/pangocairo.h>

using namespace kestrel;

namespace {

constexpr int kWidth = 400;

struct Texts {
  std::string ours;
  std::string pango;
};

Texts Caption() {
  return {"<B><U>Step 3:</U></B><br><br>Download and install full version on your computer:",
          "<b><u>Step 3:</u></b>\n\nDownload and install full version on your computer:"};
}

Texts Document(size_t minimumBytes) {
  Texts texts;
  while (texts.ours.size() < minimumBytes) {
    texts.ours +=
        "<b><u>Step 3:</u></b> Download and install the <i>full version</i> on your computer &amp; "
        "enjoy it. <font color=red>Please note:</font> the download needs a working connection. "
        "Press the button below to start. <b>Kestrel</b> does the rest.<br>";
    texts.pango +=
        "<b><u>Step 3:</u></b> Download and install the <i>full version</i> on your computer &amp; "
        "enjoy it. <span foreground=\"red\">Please note:</span> the download needs a working "
        "connection. Press the button below to start. <b>Kestrel</b> does the rest.\n";
  }
  return texts;
}

// The band a partial repaint covers: 100 rows across the middle of a text `height` tall.
TRect Band(int height) {
  const int top = std::max(0, height / 2 - 50);
  return Rect(0, top, kWidth, std::min(height, top + 100));
}

enum class Route {
  Buffered,    // the renderer's default: double buffered (on a bitmap it may paint in place)
  Copied,      // double buffered onto a bitmap in a scaling mapping mode (1:1), which needs the buffer
  CopiedBand,  // the same onto a bitmap clipped to the band
  Window,      // the renderer's default onto a window's client DC
  Direct,      // double buffering off
};

// A visible top-level window of the text's size on the headless backend, with its client DC.
class BenchWindow {
 public:
  explicit BenchWindow(int height) {
    platform::WNDCLASSEXW wc{};
    wc.lpfnWndProc = platform::DefWindowProcW;
    wc.lpszClassName = u"HtmlPaintBench";
    platform::RegisterClassExW(&wc);
    hwnd_ = platform::CreateWindowExW(0, u"HtmlPaintBench", u"", platform::WS_POPUP | platform::WS_VISIBLE, 0, 0,
                                      kWidth, height, nullptr, nullptr, nullptr, nullptr);
    dc_.emplace(hwnd_, platform::GetDC(hwnd_));
  }
  ~BenchWindow() {
    dc_.reset();  // handed back while the window still exists
    platform::DestroyWindow(hwnd_);
  }
  BenchWindow(const BenchWindow&) = delete;
  BenchWindow& operator=(const BenchWindow&) = delete;
  platform::HDC Dc() const { return dc_->get(); }

 private:
  platform::HWND hwnd_ = nullptr;
  std::optional<platform::BorrowedDC> dc_;
};

void PaintOurs(benchmark::State& state, const std::string& markup, Route route) {
  TVnHTMLRender render;
  render.Data()->SetDefaultFont(u"DejaVu Sans");
  render.Data()->SetDefaultHeight(-13);
  render.PrepareText(Utf8ToUtf16(markup), kWidth, true);
  const platform::SIZE size = render.Data()->TextSize();
  TBitmap bitmap(kWidth, size.cy);
  TCanvas* canvas = bitmap.Canvas();
  std::unique_ptr<BenchWindow> window;
  TCanvas windowCanvas;
  if (route == Route::Window) {
    window = std::make_unique<BenchWindow>(size.cy);
    windowCanvas.SetHandle(window->Dc());
    canvas = &windowCanvas;
  }
  canvas->Brush()->SetColor(clWhite);
  const TRect area = Rect(0, 0, kWidth, size.cy);
  render.SetDoubleBuffered(route != Route::Direct);
  if (route == Route::Copied || route == Route::CopiedBand) {
    // A 1:1 scaling mapping mode paints the same pixels but makes the renderer use its buffer.
    platform::SetMapMode(canvas->Handle(), platform::MM_ANISOTROPIC);
    platform::SetWindowExtEx(canvas->Handle(), 1, 1, nullptr);
    platform::SetViewportExtEx(canvas->Handle(), 1, 1, nullptr);
  }
  if (route == Route::CopiedBand) {
    const TRect band = Band(size.cy);
    platform::IntersectClipRect(canvas->Handle(), band.left, band.top, band.right, band.bottom);
  }
  for (auto _ : state) {
    canvas->FillRect(area);
    render.DrawText(canvas, Point(0, 0), area, clNone);
    benchmark::ClobberMemory();
  }
  state.counters["lines"] = render.Data()->LineCount();
  state.counters["items"] = render.Data()->ItemCount();
  state.counters["height"] = size.cy;
  windowCanvas.SetHandle(nullptr);
}

void PaintPango(benchmark::State& state, const std::string& markup, bool band = false) {
  cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* probeCr = cairo_create(probe);
  PangoLayout* layout = pango_cairo_create_layout(probeCr);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
  pango_font_description_set_absolute_size(font, 13 * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_width(layout, kWidth * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_markup(layout, markup.c_str(), static_cast<int>(markup.size()));
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, height);
  cairo_t* cr = cairo_create(surface);
  pango_cairo_update_layout(cr, layout);
  if (band) {
    const TRect r = Band(height);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
  }
  for (auto _ : state) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout);
    cairo_surface_flush(surface);
    benchmark::ClobberMemory();
  }
  state.counters["lines"] = pango_layout_get_line_count(layout);
  state.counters["height"] = height;
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(probeCr);
  cairo_surface_destroy(probe);
}

void BM_PaintCaption_Kestrel(benchmark::State& state) { PaintOurs(state, Caption().ours, Route::Buffered); }
void BM_PaintCaption_KestrelCopied(benchmark::State& state) { PaintOurs(state, Caption().ours, Route::Copied); }
void BM_PaintCaption_KestrelWindow(benchmark::State& state) { PaintOurs(state, Caption().ours, Route::Window); }
void BM_PaintCaption_KestrelDirect(benchmark::State& state) { PaintOurs(state, Caption().ours, Route::Direct); }
void BM_PaintCaption_Pango(benchmark::State& state) { PaintPango(state, Caption().pango); }
void BM_PaintDocument20K_Kestrel(benchmark::State& state) { PaintOurs(state, Document(20000).ours, Route::Buffered); }
void BM_PaintDocument20K_KestrelCopied(benchmark::State& state) {
  PaintOurs(state, Document(20000).ours, Route::Copied);
}
void BM_PaintDocument20K_KestrelWindow(benchmark::State& state) {
  PaintOurs(state, Document(20000).ours, Route::Window);
}
void BM_PaintDocument20K_KestrelDirect(benchmark::State& state) {
  PaintOurs(state, Document(20000).ours, Route::Direct);
}
void BM_PaintDocument20K_Pango(benchmark::State& state) { PaintPango(state, Document(20000).pango); }
void BM_PaintDocument20KBand_KestrelCopied(benchmark::State& state) {
  PaintOurs(state, Document(20000).ours, Route::CopiedBand);
}
void BM_PaintDocument20KBand_Pango(benchmark::State& state) { PaintPango(state, Document(20000).pango, true); }

BENCHMARK(BM_PaintCaption_Kestrel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintCaption_KestrelCopied)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintCaption_KestrelWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintCaption_KestrelDirect)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintCaption_Pango)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintDocument20K_Kestrel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintDocument20K_KestrelCopied)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintDocument20K_KestrelWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintDocument20K_KestrelDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintDocument20K_Pango)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintDocument20KBand_KestrelCopied)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintDocument20KBand_Pango)->Unit(benchmark::kMillisecond);

}  // namespace
