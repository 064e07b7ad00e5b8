#include "platform/text/internal/TextPainter.h"
#include "platform/gdi/internal/DeviceContext.h"

#include <algorithm>

namespace kestrel::platform {

namespace {

// Coordinates beyond this are outside every surface; clamping keeps cairo's fixed point sane.
constexpr long long kFar = 1LL << 24;

double Clamp(long long value) { return static_cast<double>(std::clamp(value, -kFar, kFar)); }

void SetColor(cairo_t* cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

int AdvanceAt(const TextRun& run, std::size_t unit) { return unit < run.advances.size() ? run.advances[unit] : 0; }

}  // namespace

long long TotalAdvance(std::span<const int> advances) {
  long long total = 0;
  for (int advance : advances) total += advance;
  return total;
}

TextPainter::TextPainter(DeviceContext& dc, const FontInstance& font) : dc_(dc), font_(font), scope_(dc) {}

TextPainter::~TextPainter() {
  if (clipApplied_) cairo_restore(scope_.Cairo());
}

void TextPainter::SetClip(const RECT* rect) {
  if (clipApplied_) {  // the clip applied so far goes
    cairo_restore(scope_.Cairo());
    clipApplied_ = false;
  }
  clipped_ = rect != nullptr;
  if (rect) {
    clip_.left = std::min(rect->left, rect->right);
    clip_.right = std::max(rect->left, rect->right);
    clip_.top = std::min(rect->top, rect->bottom);
    clip_.bottom = std::max(rect->top, rect->bottom);
  }
}

void TextPainter::Damage(long long left, long long top, long long right, long long bottom) {
  if (clipped_) {
    left = std::max<long long>(left, clip_.left);
    top = std::max<long long>(top, clip_.top);
    right = std::min<long long>(right, clip_.right);
    bottom = std::min<long long>(bottom, clip_.bottom);
  }
  if (left >= right || top >= bottom) return;
  RECT logical{static_cast<LONG>(std::clamp(left, -kFar, kFar)), static_cast<LONG>(std::clamp(top, -kFar, kFar)),
               static_cast<LONG>(std::clamp(right, -kFar, kFar)), static_cast<LONG>(std::clamp(bottom, -kFar, kFar))};
  scope_.AddDamage(scope_.ToSurface(logical));
}

void TextPainter::ClipToRect(cairo_t* cr) {
  // Applied once and kept until the clip changes or the painter ends.
  if (!clipped_ || clipApplied_) return;
  cairo_save(cr);
  cairo_rectangle(cr, clip_.left, clip_.top, clip_.right - clip_.left, clip_.bottom - clip_.top);
  cairo_clip(cr);
  clipApplied_ = true;
}

void TextPainter::FillRect(cairo_t* cr, long long left, long long top, long long right, long long bottom,
                           COLORREF color) {
  if (left >= right || top >= bottom) return;
  ClipToRect(cr);
  SetColor(cr, color);
  cairo_rectangle(cr, Clamp(left), Clamp(top), Clamp(right) - Clamp(left), Clamp(bottom) - Clamp(top));
  cairo_fill(cr);
  Damage(left, top, right, bottom);
}

void TextPainter::FillBackground(const RECT& rect) {
  if (!scope_.HasTarget()) return;
  FillRect(scope_.Cairo(), std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
           std::max(rect.left, rect.right), std::max(rect.top, rect.bottom), dc_.State().bkColor);
}

void TextPainter::Paint(const TextRun& run) {
  if (!scope_.HasTarget()) return;
  cairo_t* cr = scope_.Cairo();
  const DeviceContextState& state = dc_.State();
  const TEXTMETRICW& tm = font_.Metrics();
  const long long left = run.left;
  const long long top = run.top;
  const long long right = left + TotalAdvance(run.advances);
  const long long baseline = top + tm.tmAscent;

  if (run.glyphs && state.bkMode == OPAQUE) FillRect(cr, left, top, right, top + tm.tmHeight, state.bkColor);

  std::vector<PlacedGlyph> looked;
  if (!run.placed && run.glyphs) looked = font_.Glyphs(run.text);
  const std::vector<PlacedGlyph>& glyphs = run.placed ? *run.placed : looked;
  if (run.glyphs && !glyphs.empty()) {
    // A glyph's origin is the sum of the advances of the units before it.
    // Kept per thread: painting never re-enters here before the glyphs are drawn.
    static thread_local std::vector<cairo_glyph_t> placed;
    placed.resize(glyphs.size());
    long long pen = left;
    std::size_t unit = 0;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      for (; unit < static_cast<std::size_t>(glyphs[i].unit); ++unit) pen += AdvanceAt(run, unit);
      placed[i] = {glyphs[i].index, Clamp(pen), Clamp(baseline)};
    }
    ClipToRect(cr);
    SetColor(cr, state.textColor);
    font_.DrawGlyphs(cr, glyphs, placed.data());
    ReleaseIfLarge(placed);
    // Ink may overhang the cell (italics, wide bearings): report a generous box.
    long long overhang = font_.EmPixels() / 2 + 2;
    Damage(left - overhang, top, right + overhang, top + tm.tmHeight);
  }
  if (run.glyphs && tm.tmUnderlined) {
    LineDecoration line = font_.Underline();
    FillRect(cr, left, baseline + line.top, right, baseline + line.top + line.thickness, state.textColor);
  }
  if (run.glyphs && tm.tmStruckOut) {
    LineDecoration line = font_.StrikeOut();
    FillRect(cr, left, baseline + line.top, right, baseline + line.top + line.thickness, state.textColor);
  }
  LineDecoration prefix = font_.Underline();
  for (int unit : run.underlined) {
    if (unit < 0 || unit >= static_cast<int>(run.text.size())) continue;
    long long unitLeft = left;
    for (int i = 0; i < unit; ++i) unitLeft += AdvanceAt(run, i);
    FillRect(cr, unitLeft, baseline + prefix.top, unitLeft + AdvanceAt(run, unit),
             baseline + prefix.top + prefix.thickness, state.textColor);
  }
}

}  // namespace kestrel::platform
