// Preparing a caption (parse, wrap, measure) against pango's markup parsing and layout of the
// same text at the same width, in one run: a typical 200-character label caption and a 20 KB
// document. Both sides use DejaVu Sans at 13 px with their font caches warm.

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "html/HTMLRender.h"

// After our headers: glib defines TRUE and FALSE as macros.
#include <pango/pangocairo.h>

using namespace kestrel;

namespace {

constexpr int kWidth = 400;

// One piece of text in both markups: ours and pango's.
struct Piece {
  const char* ours;
  const char* pango;
};

const std::vector<Piece>& Pieces() {
  static const std::vector<Piece> pieces{
      {"<b><u>Step 3:</u></b>", "<b><u>Step 3:</u></b>"},
      {"<br><br>", "\n\n"},
      {"Download and install the <i>full version</i> on your computer &amp; enjoy it. ",
       "Download and install the <i>full version</i> on your computer &amp; enjoy it. "},
      {"<font color=red>Please note:</font> the download needs a working connection. ",
       "<span foreground=\"red\">Please note:</span> the download needs a working connection. "},
      {"Press the button below to start. <b>Kestrel</b> does the rest.",
       "Press the button below to start. <b>Kestrel</b> does the rest."},
  };
  return pieces;
}

std::pair<std::string, std::string> Document(size_t minimumBytes) {
  std::string ours, pango;
  while (ours.size() < minimumBytes) {
    for (const Piece& piece : Pieces()) {
      ours += piece.ours;
      pango += piece.pango;
    }
    ours += "<br>";
    pango += "\n";
  }
  return {ours, pango};
}

std::pair<std::string, std::string> Caption() {
  std::string ours, pango;
  for (const Piece& piece : Pieces()) {
    ours += piece.ours;
    pango += piece.pango;
  }
  return {ours, pango};
}

void PrepareOurs(benchmark::State& state, const std::string& markup) {
  TVnHTMLRender render;
  render.Data()->SetDefaultFont(u"DejaVu Sans");
  render.Data()->SetDefaultHeight(-13);
  const String text = Utf8ToUtf16(markup);
  for (auto _ : state) {
    render.PrepareText(text, kWidth, true);
    benchmark::DoNotOptimize(render.Data()->TextSize());
  }
  state.counters["lines"] = render.Data()->LineCount();
  state.counters["height"] = render.Data()->TextSize().cy;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * markup.size()));
}

void LayoutPango(benchmark::State& state, const std::string& markup) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  PangoContext* context = pango_cairo_create_context(cr);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
  pango_font_description_set_absolute_size(font, 13 * PANGO_SCALE);
  int lines = 0, height = 0;
  for (auto _ : state) {
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_width(layout, kWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_markup(layout, markup.c_str(), static_cast<int>(markup.size()));
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    lines = pango_layout_get_line_count(layout);
    benchmark::DoNotOptimize(width);
    g_object_unref(layout);
  }
  state.counters["lines"] = lines;
  state.counters["height"] = height;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * markup.size()));
  pango_font_description_free(font);
  g_object_unref(context);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void BM_Caption_Kestrel(benchmark::State& state) { PrepareOurs(state, Caption().first); }
void BM_Caption_Pango(benchmark::State& state) { LayoutPango(state, Caption().second); }
void BM_Document20K_Kestrel(benchmark::State& state) { PrepareOurs(state, Document(20000).first); }
void BM_Document20K_Pango(benchmark::State& state) { LayoutPango(state, Document(20000).second); }

BENCHMARK(BM_Caption_Kestrel);
BENCHMARK(BM_Caption_Pango);
BENCHMARK(BM_Document20K_Kestrel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Document20K_Pango)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
