#include "platform/text/internal/TextPainter.h"
#include "platform/gdi/internal/DeviceContext.h"

#include <algorithm>
#include <atomic>

namespace kestrel::platform {

namespace {

// Coordinates beyond this are outside every surface; clamping keeps cairo's fixed point sane.
constexpr long long kFar = 1LL << 24;

double Clamp(long long value) { return static_cast<double>(std::clamp(value, -kFar, kFar)); }

void SetColor(cairo_t* cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

std::atomic<bool> directGlyphs{true};

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
  if (target_.pixels) ClipDirectTarget();
}

bool TextPainter::MayShow(long long left, long long top, long long right, long long bottom) {
  if (!MappingOnlyTranslates(dc_.State())) return true;
  // Ink stays well within two ems of its cell, even slanted or with long strokes.
  const long long reach = 2LL * font_.EmPixels() + 2;
  left -= reach;
  top -= reach;
  right += reach;
  bottom += reach;
  if (clipped_ && (right <= clip_.left || left >= clip_.right || bottom <= clip_.top || top >= clip_.bottom))
    return false;
  cairo_rectangle_int_t shown;
  cairo_region_get_extents(scope_.Clip(), &shown);
  const POINT origin = scope_.ToSurface(POINT{0, 0});
  return left + origin.x < shown.x + shown.width && right + origin.x > shown.x &&
         top + origin.y < shown.y + shown.height && bottom + origin.y > shown.y;
}

void TextPainter::SetDirectGlyphs(bool enabled) { directGlyphs.store(enabled, std::memory_order_relaxed); }

bool TextPainter::DirectTarget() {
  if (directTried_) return target_.pixels != nullptr;
  directTried_ = true;
  if (!directGlyphs.load(std::memory_order_relaxed) || !scope_.HasTarget() || !MappingOnlyTranslates(dc_.State()))
    return false;
  const cairo_format_t format = scope_.Format();
  if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return false;
  const PixelView pixels = scope_.Pixels();
  if (!pixels.data) return false;
  target_ = GlyphTarget{pixels.data, pixels.width, pixels.height, pixels.stride, {}};
  ClipDirectTarget();
  return true;
}

void TextPainter::ClipDirectTarget() {
  // The DC's clip, and the run's clip rectangle on top of it, as cairo's context would have them.
  const cairo_region_t* clip = scope_.Clip();
  const RECT run = clipped_ ? scope_.ToSurface(clip_) : RECT{};
  const int count = cairo_region_num_rectangles(clip);
  targetClip_.clear();
  for (int i = 0; i < count; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(clip, i, &r);
    GlyphBox box{r.x, r.y, r.x + r.width, r.y + r.height};
    if (clipped_)
      box = {std::max<int>(box.x1, run.left), std::max<int>(box.y1, run.top), std::min<int>(box.x2, run.right),
             std::min<int>(box.y2, run.bottom)};
    if (!box.Empty()) targetClip_.push_back(box);
  }
  target_.clip = targetClip_;
}

bool TextPainter::CompositeGlyphs(const std::vector<PlacedGlyph>& glyphs, std::span<const cairo_glyph_t> placed) {
  if (!DirectTarget()) return false;
  static thread_local std::vector<GlyphAt> origins;
  origins.resize(placed.size());
  const POINT offset = scope_.ToSurface(POINT{0, 0});
  for (std::size_t i = 0; i < placed.size(); ++i)
    origins[i] = {static_cast<unsigned>(placed[i].index), static_cast<int>(placed[i].x) + offset.x,
                  static_cast<int>(placed[i].y) + offset.y};
  GlyphBox inked;
  const bool drawn = font_.CompositeGlyphs(target_, dc_.State().textColor, glyphs, origins, inked);
  ReleaseIfLarge(origins);
  if (drawn && !inked.Empty()) scope_.AddDamage(RECT{inked.x1, inked.y1, inked.x2, inked.y2});
  return drawn;
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

void TextPainter::FillRect(long long left, long long top, long long right, long long bottom, COLORREF color) {
  if (left >= right || top >= bottom) return;
  cairo_t* cr = scope_.Cairo();
  ClipToRect(cr);
  SetColor(cr, color);
  cairo_rectangle(cr, Clamp(left), Clamp(top), Clamp(right) - Clamp(left), Clamp(bottom) - Clamp(top));
  cairo_fill(cr);
  Damage(left, top, right, bottom);
}

void TextPainter::FillBackground(const RECT& rect) {
  if (!scope_.HasTarget()) return;
  FillRect(std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
           std::max(rect.top, rect.bottom), dc_.State().bkColor);
}

void TextPainter::Paint(const TextRun& run) {
  if (!scope_.HasTarget()) return;
  const DeviceContextState& state = dc_.State();
  const TEXTMETRICW& tm = font_.Metrics();
  const long long left = run.left;
  const long long top = run.top;
  const long long right = left + TotalAdvance(run.advances);
  const long long baseline = top + tm.tmAscent;

  if (run.glyphs && state.bkMode == OPAQUE) FillRect(left, top, right, top + tm.tmHeight, state.bkColor);

  std::vector<PlacedGlyph> looked;
  if (!run.placed && run.glyphs) looked = font_.Glyphs(run.text);
  const std::vector<PlacedGlyph>& glyphs = run.placed ? *run.placed : looked;
  if (run.glyphs && !glyphs.empty() && MayShow(left, top, right, top + tm.tmHeight)) {
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
    if (!CompositeGlyphs(glyphs, placed)) {
      cairo_t* cr = scope_.Cairo();
      ClipToRect(cr);
      SetColor(cr, state.textColor);
      font_.DrawGlyphs(cr, glyphs, placed.data());
      // Ink may overhang the cell (italics, wide bearings): report a generous box.
      long long overhang = font_.EmPixels() / 2 + 2;
      Damage(left - overhang, top, right + overhang, top + tm.tmHeight);
    }
    ReleaseIfLarge(placed);
  }
  if (run.glyphs && tm.tmUnderlined) {
    LineDecoration line = font_.Underline();
    FillRect(left, baseline + line.top, right, baseline + line.top + line.thickness, state.textColor);
  }
  if (run.glyphs && tm.tmStruckOut) {
    LineDecoration line = font_.StrikeOut();
    FillRect(left, baseline + line.top, right, baseline + line.top + line.thickness, state.textColor);
  }
  LineDecoration prefix = font_.Underline();
  for (int unit : run.underlined) {
    if (unit < 0 || unit >= static_cast<int>(run.text.size())) continue;
    long long unitLeft = left;
    for (int i = 0; i < unit; ++i) unitLeft += AdvanceAt(run, i);
    FillRect(unitLeft, baseline + prefix.top, unitLeft + AdvanceAt(run, unit), baseline + prefix.top + prefix.thickness,
             state.textColor);
  }
}

}  // namespace kestrel::platform
