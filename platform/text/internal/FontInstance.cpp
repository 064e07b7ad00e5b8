#include "platform/text/internal/FontInstance.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>

#include "platform/core/DataDirectory.h"
#include "platform/core/OwnedHandles.h"
#include "platform/core/Unicode.h"
#include "platform/text/internal/CoverageBlend.h"

namespace kestrel::platform {

namespace {

constexpr int kDefaultEm = 12;  // lfHeight 0
constexpr int kMaxEm = 2048;    // larger requests are clamped: no glyph is worth more
constexpr double kObliqueShear = 0.2;

int Round(double value) { return static_cast<int>(std::lround(value)); }

// Code point starting at text[i] and its length in units; lone surrogates read as U+FFFD.
char32_t DecodeAt(std::u16string_view text, std::size_t i, int& units) {
  char16_t c = text[i];
  units = 1;
  if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  }
  if (IsHighSurrogate(c) || IsLowSurrogate(c)) return 0xFFFD;
  return c;
}

FaceRequest RequestFor(const LOGFONTW& logFont) {
  FaceRequest request;
  request.family = Utf16ToUtf8(FaceNameOf(logFont));
  request.weight = logFont.lfWeight > 0 ? std::clamp<LONG>(logFont.lfWeight, 1, 1000) : FW_NORMAL;
  request.italic = logFont.lfItalic != 0;
  request.monospace =
      (logFont.lfPitchAndFamily & 0x03) == FIXED_PITCH || (logFont.lfPitchAndFamily & 0xF0) == FF_MODERN;
  return request;
}

std::shared_ptr<FontFace> LoadChoice(const std::optional<FaceChoice>& choice) {
  return choice ? FontFace::Load(choice->file, choice->index) : nullptr;
}

BYTE FamilyNibble(const FaceTables& tables, const std::string& family) {
  if (tables.fixedPitch) return FF_MODERN;
  if (tables.familyClass >= 1 && tables.familyClass <= 7) return FF_ROMAN;
  if (tables.familyClass == 8) return FF_SWISS;
  if (tables.familyClass == 10) return FF_SCRIPT;
  if (tables.familyClass == 12) return FF_DECORATIVE;
  bool serif = family.find("Serif") != std::string::npos && family.find("Sans") == std::string::npos;
  return serif ? FF_ROMAN : FF_SWISS;
}

}  // namespace

std::shared_ptr<FontInstance> FontInstance::Create(const LOGFONTW& logFont) {
  // Programs create equal fonts over and over; equal LOGFONTs share one realisation while any
  // of them lives.
  static std::mutex cacheMutex;
  static auto& cache = *new std::map<std::string, std::weak_ptr<FontInstance>>();
  LOGFONTW canonical = logFont;
  std::size_t nameLength = FaceNameOf(canonical).size();
  std::fill(canonical.lfFaceName + nameLength, canonical.lfFaceName + LF_FACESIZE, 0);
  std::string key(reinterpret_cast<const char*>(&canonical), sizeof canonical);
  std::lock_guard lock(cacheMutex);
  if (auto existing = cache[key].lock()) return existing;
  std::shared_ptr<FontInstance> created = Realise(canonical);
  cache[key] = created;
  if (cache.size() > 256) std::erase_if(cache, [](const auto& entry) { return entry.second.expired(); });
  return created;
}

std::shared_ptr<FontInstance> FontInstance::Realise(const LOGFONTW& logFont) {
  FaceRequest request = RequestFor(logFont);
  std::optional<FaceChoice> choice = MatchFace(request);
  std::shared_ptr<FontFace> face = LoadChoice(choice);
  if (!face) {  // the configured face is unreadable: take whatever the default is
    FaceRequest fallback = request;
    fallback.family.clear();
    choice = MatchFace(fallback);
    face = LoadChoice(choice);
  }
  if (!face) {  // no configured font at all: the test font shipped with the program
    choice = FaceChoice{DataDirectory() + "/fonts/KestrelFixed.ttf", 0, "Kestrel Fixed", 400, false};
    face = LoadChoice(choice);
  }
  bool syntheticBold = face && request.weight >= FW_SEMIBOLD && choice->weight < FW_SEMIBOLD;
  bool syntheticItalic = face && request.italic && !choice->italic && !face->Tables().italic;
  return std::shared_ptr<FontInstance>(new FontInstance(logFont, request, face, syntheticBold, syntheticItalic));
}

FontInstance::FontInstance(const LOGFONTW& logFont, FaceRequest request, std::shared_ptr<FontFace> face,
                           bool syntheticBold, bool syntheticItalic)
    : logFont_(logFont),
      request_(std::move(request)),
      face_(std::move(face)),
      syntheticBold_(syntheticBold),
      syntheticItalic_(syntheticItalic),
      fontOptions_(cairo_font_options_create()) {
  ComputeMetrics();
  cairo_font_options_set_antialias(fontOptions_.get(), Antialiased() ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(fontOptions_.get(),
                                    Antialiased() ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(fontOptions_.get(), CAIRO_HINT_METRICS_OFF);
}

const std::string& FontInstance::FaceName() const {
  static const std::string none;
  return face_ ? face_->Family() : none;
}

bool FontInstance::Antialiased() const { return logFont_.lfQuality != NONANTIALIASED_QUALITY; }

int FontInstance::ScaleX(int units, const FontFace& face) const {
  return Round(units * static_cast<double>(ppem_) * xScale_ / face.Tables().unitsPerEm);
}

int FontInstance::ScaleY(double units) const { return face_ ? Round(units * ppem_ / face_->Tables().unitsPerEm) : 0; }

void FontInstance::ComputeMetrics() {
  TEXTMETRICW& tm = metrics_;
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
  tm.tmItalic = logFont_.lfItalic ? 0xFF : 0;
  tm.tmUnderlined = logFont_.lfUnderline ? 0xFF : 0;
  tm.tmStruckOut = logFont_.lfStrikeOut ? 0xFF : 0;
  tm.tmCharSet = logFont_.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : logFont_.lfCharSet;
  if (!face_) return;
  const FaceTables& t = face_->Tables();
  const int cell = t.winAscent + t.winDescent;
  const long long height = logFont_.lfHeight;
  if (height < 0) {
    ppem_ = static_cast<int>(std::min<long long>(-height, kMaxEm));
  } else if (height > 0) {
    ppem_ = std::clamp(Round(static_cast<double>(height) * t.unitsPerEm / cell), 1, kMaxEm);
  } else {
    ppem_ = kDefaultEm;
  }
  if (height > 0 && ppem_ < kMaxEm) {
    // The requested cell height is exact; the ascent takes its share of it.
    tm.tmAscent = Round(static_cast<double>(height) * t.winAscent / cell);
    tm.tmDescent = static_cast<LONG>(height) - tm.tmAscent;
  } else {
    tm.tmAscent = ScaleY(t.winAscent);
    tm.tmDescent = ScaleY(t.winDescent);
  }
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, static_cast<int>(tm.tmHeight) - ppem_);
  int hheaSpan = t.hheaAscender - t.hheaDescender;
  tm.tmExternalLeading = std::max(0, ScaleY(t.hheaLineGap - (cell - hheaSpan)));

  int average = t.xAvgCharWidth > 0 ? t.xAvgCharWidth : face_->AdvanceUnits(face_->GlyphIndex(U'x'));
  if (logFont_.lfWidth != 0 && average > 0) {
    double natural = static_cast<double>(average) * ppem_ / t.unitsPerEm;
    xScale_ = std::clamp(std::abs(static_cast<double>(logFont_.lfWidth)) / natural, 1.0 / 64, 64.0);
  }
  int bold = syntheticBold_ ? 1 : 0;
  tm.tmAveCharWidth = ScaleX(average, *face_) + bold;
  tm.tmMaxCharWidth = std::max<LONG>(ScaleX(t.advanceWidthMax, *face_) + bold, tm.tmAveCharWidth);
  tm.tmWeight = syntheticBold_ ? FW_BOLD : t.weightClass;
  tm.tmFirstChar = static_cast<WCHAR>(std::max(0, t.firstChar - 2));
  tm.tmDefaultChar = static_cast<WCHAR>(tm.tmFirstChar + 1);
  tm.tmLastChar = static_cast<WCHAR>(std::clamp(t.lastChar, static_cast<int>(tm.tmFirstChar), 0xFFFF));
  tm.tmBreakChar = static_cast<WCHAR>(t.breakChar);
  tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (t.fixedPitch ? 0 : TMPF_FIXED_PITCH) |
                                          FamilyNibble(t, face_->Family()));

  underline_.thickness = std::max(1, ScaleY(t.underlineThickness));
  // The table gives the stroke's centre; keep one clear row under the baseline when the descent
  // has room, so the line never merges with the glyphs' feet.
  underline_.top = ScaleY(-t.underlinePosition - t.underlineThickness / 2.0);
  underline_.top = std::min<int>(underline_.top, tm.tmDescent - underline_.thickness);
  underline_.top = std::max(tm.tmDescent > underline_.thickness ? 1 : 0, underline_.top);
  strikeOut_.thickness = std::max(1, ScaleY(t.strikeoutSize));
  strikeOut_.top = -ScaleY(t.strikeoutPosition);
}

int FontInstance::FallbackFace(char32_t codePoint) const {
  std::shared_ptr<FontFace> face = LoadChoice(MatchFaceFor(request_, codePoint));
  if (!face || face == face_ || face->GlyphIndex(codePoint) == 0) return 0;
  auto found = std::find(fallbacks_.begin(), fallbacks_.end(), face);
  if (found == fallbacks_.end()) found = fallbacks_.insert(fallbacks_.end(), face);
  return static_cast<int>(found - fallbacks_.begin()) + 1;
}

FontInstance::GlyphInfo FontInstance::Resolve(char32_t codePoint) const {
  GlyphInfo info;
  if (!face_) return info;
  info.index = face_->GlyphIndex(codePoint);
  bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
  if (info.index == 0 && !control) {
    info.face = FallbackFace(codePoint);
    if (info.face > 0) info.index = fallbacks_[info.face - 1]->GlyphIndex(codePoint);
  }
  const FontFace& face = info.face ? *fallbacks_[info.face - 1] : *face_;
  info.advance = ScaleX(face.AdvanceUnits(info.index), face);
  if (syntheticBold_ && info.advance > 0) info.advance += 1;
  return info;
}

FontInstance::GlyphInfo FontInstance::Lookup(char32_t codePoint) const {
  std::lock_guard lock(mutex_);
  return LookupLocked(codePoint);
}

FontInstance::GlyphInfo FontInstance::LookupLocked(char32_t codePoint) const {
  if (codePoint < latin1_.size() && latin1_[codePoint].known) return latin1_[codePoint].info;
  auto found = glyphCache_.find(codePoint);
  if (found != glyphCache_.end()) return found->second;
  GlyphInfo info = Resolve(codePoint);
  if (codePoint < latin1_.size()) latin1_[codePoint] = {true, info};
  else glyphCache_.emplace(codePoint, info);
  return info;
}

std::vector<PlacedGlyph> FontInstance::Glyphs(std::u16string_view text) const {
  std::vector<PlacedGlyph> glyphs;
  GlyphsInto(text, glyphs);
  return glyphs;
}

void FontInstance::GlyphsInto(std::u16string_view text, std::vector<PlacedGlyph>& glyphs) const {
  glyphs.clear();
  glyphs.reserve(text.size());
  std::lock_guard lock(mutex_);  // once per string, not per character
  for (std::size_t i = 0; i < text.size();) {
    int units = 1;
    char32_t codePoint = DecodeAt(text, i, units);
    GlyphInfo info = LookupLocked(codePoint);
    glyphs.push_back({static_cast<int>(i), info.face, info.index, info.advance});
    i += units;
  }
}

std::vector<int> FontInstance::UnitAdvances(std::u16string_view text) const {
  std::vector<int> advances;
  UnitAdvancesInto(text, advances);
  return advances;
}

int FontInstance::LearnBmpAdvanceLocked(char16_t unit) const {
  std::unique_ptr<AdvancePage>& page = bmpAdvances_[unit >> 8];
  if (!page) {
    page = std::make_unique<AdvancePage>();
    page->fill(kUnknownAdvance);
  }
  return (*page)[unit & 0xFF] = LookupLocked(unit).advance;
}

inline int FontInstance::BmpAdvanceLocked(char16_t unit) const {
  if (const AdvancePage* page = bmpAdvances_[unit >> 8].get()) {
    const int advance = (*page)[unit & 0xFF];
    if (advance != kUnknownAdvance) return advance;
  }
  return LearnBmpAdvanceLocked(unit);
}

void FontInstance::UnitAdvancesInto(std::u16string_view text, std::vector<int>& advances) const {
  advances.assign(text.size(), 0);
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < text.size();) {
    if (!IsHighSurrogate(text[i]) && !IsLowSurrogate(text[i])) {
      advances[i] = BmpAdvanceLocked(text[i]);
      ++i;
      continue;
    }
    // Pairs and lone halves take the full lookup, as the glyphs do.
    int units = 1;
    advances[i] = LookupLocked(DecodeAt(text, i, units)).advance;
    i += units;
  }
}

int FontInstance::PrintableAsciiAdvance() const {
  std::lock_guard lock(mutex_);
  if (printableAsciiAdvance_ == kUnknownAdvance) {
    const int first = BmpAdvanceLocked(u' ');
    printableAsciiAdvance_ = first;
    for (char16_t c = 0x21; c <= 0x7E; ++c)
      if (BmpAdvanceLocked(c) != first) printableAsciiAdvance_ = 0;
  }
  return printableAsciiAdvance_;
}

int FontInstance::Width(std::u16string_view text) const {
  int width = 0;
  for (const PlacedGlyph& glyph : Glyphs(text)) width += glyph.advance;
  return width;
}

std::shared_ptr<FontFace> FontInstance::FaceAt(int index) const {
  std::lock_guard lock(mutex_);
  return index > 0 ? fallbacks_[index - 1] : face_;
}

int FontInstance::CharAdvance(char32_t codePoint) const { return Lookup(codePoint).advance; }

ABC FontInstance::CharABC(char32_t codePoint) const {
  GlyphInfo info = Lookup(codePoint);
  ABC abc;
  if (!face_) return abc;
  std::shared_ptr<FontFace> facePtr = FaceAt(info.face);
  const FontFace& face = *facePtr;
  int bearing = 0, width = 0;
  face.InkUnits(info.index, bearing, width);
  abc.abcA = ScaleX(bearing, face);
  int ink = ScaleX(width, face) + (syntheticBold_ && width > 0 ? 1 : 0);
  abc.abcB = static_cast<UINT>(std::max(0, ink));
  abc.abcC = info.advance - abc.abcA - static_cast<int>(abc.abcB);
  return abc;
}

void FontInstance::SelectFace(cairo_t* cr, const FontFace& face) const {
  cairo_set_font_options(cr, fontOptions_.get());
  cairo_set_font_face(cr, face.CairoFace(syntheticBold_));
  cairo_matrix_t matrix;
  cairo_matrix_init(&matrix, ppem_ * xScale_, 0, syntheticItalic_ ? -kObliqueShear * ppem_ : 0, ppem_, 0, 0);
  cairo_set_font_matrix(cr, &matrix);
}

void FontInstance::DrawGlyphs(cairo_t* cr, const std::vector<PlacedGlyph>& glyphs, const cairo_glyph_t* placed) const {
  if (!face_) return;
  ForEachFaceRun(glyphs, [&](std::size_t first, std::size_t count, int, const FontFace& face) {
    SelectFace(cr, face);
    cairo_show_glyphs(cr, placed + first, static_cast<int>(count));
  });
}

void FontInstance::ForEachFaceRun(const std::vector<PlacedGlyph>& glyphs, const FaceRunVisitor& visit) const {
  std::size_t i = 0;
  while (i < glyphs.size()) {
    const std::size_t first = i;
    const int faceIndex = glyphs[i].face;
    while (i < glyphs.size() && glyphs[i].face == faceIndex) ++i;
    // The primary face never changes; only fallbacks need the lock.
    std::shared_ptr<FontFace> fallback = faceIndex > 0 ? FaceAt(faceIndex) : nullptr;
    visit(first, i - first, faceIndex, fallback ? *fallback : *face_);
  }
}

bool FontInstance::CompositeGlyphs(const GlyphTarget& target, std::uint32_t color,
                                   const std::vector<PlacedGlyph>& glyphs, std::span<const GlyphAt> origins,
                                   GlyphBox& inked) const {
  inked = {};
  if (!face_ || glyphs.size() != origins.size()) return false;
  constexpr int kFacesPerKey = 256;
  int checked = -1;  // each face once per run of its glyphs
  for (const PlacedGlyph& glyph : glyphs) {
    if (glyph.face == checked) continue;
    if (glyph.face >= kFacesPerKey || (glyph.face == 0 ? face_->Tables().color : FaceAt(glyph.face)->Tables().color))
      return false;
    checked = glyph.face;
  }
  // COLORREF is 0x00BBGGRR; the pixels are 0xAARRGGBB.
  const std::uint32_t rgb = (color & 0xFF) << 16 | (color & 0xFF00) | ((color >> 16) & 0xFF);
  ForEachFaceRun(glyphs, [&](std::size_t first, std::size_t count, int faceIndex, const FontFace& face) {
    const std::span<const GlyphAt> run = origins.subspan(first, count);
    GlyphBox box;
    GlyphMaskCache::Shared().Composite(
        target, rgb, maskKey_ * kFacesPerKey + static_cast<std::uintptr_t>(faceIndex), run,
        BoundsOf(faceIndex, face, run), [&](unsigned index) { return RenderMask(face, index); }, box);
    inked = inked.Union(box);
  });
  return true;
}

namespace {

// The smallest box holding every non-zero pixel of an 8-bit image; empty when there is none.
GlyphBox InkedBox(const unsigned char* data, int stride, int width, int height) {
  GlyphBox box;
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x)
      if (row[x]) box = box.Union(GlyphBox{x, y, x + 1, y + 1});
  }
  return box;
}

}  // namespace

cairo_text_extents_t FontInstance::GlyphExtents(const FontFace& face, unsigned index) const {
  CairoSurface probe(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
  CairoContext measure(cairo_create(probe.get()));
  SelectFace(measure.get(), face);
  const cairo_glyph_t glyph{index, 0, 0};
  cairo_text_extents_t ink{};
  cairo_glyph_extents(measure.get(), &glyph, 1, &ink);
  return ink;
}

FontInstance::InkBox FontInstance::MeasureInk(const FontFace& face, unsigned index) const {
  const cairo_text_extents_t ink = GlyphExtents(face, index);
  // cairo keeps glyph boxes in 24.8 fixed point, rounded to the nearest.
  auto fixed = [](double v) { return static_cast<int>(std::lround(v * 256.0)); };
  if (ink.width == 0 || ink.height == 0) return {};
  return {fixed(ink.x_bearing), fixed(ink.y_bearing), fixed(ink.x_bearing + ink.width),
          fixed(ink.y_bearing + ink.height)};
}

void FontInstance::InksInto(int faceIndex, const FontFace& face, std::span<const GlyphAt> glyphs,
                            std::vector<InkBox>& inks) const {
  inks.resize(glyphs.size());
  auto keyOf = [faceIndex](unsigned index) { return static_cast<std::uint64_t>(faceIndex) << 32 | index; };
  bool missing = false;
  {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      auto known = inkBoxes_.find(keyOf(glyphs[i].index));
      if (known == inkBoxes_.end()) {
        missing = true;
        inks[i] = InkBox{INT_MIN, 0, 0, 0};  // measured below
      } else {
        inks[i] = known->second;
      }
    }
  }
  if (!missing) return;
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    if (inks[i].x1 != INT_MIN) continue;
    inks[i] = MeasureInk(face, glyphs[i].index);
    std::lock_guard lock(mutex_);
    inkBoxes_[keyOf(glyphs[i].index)] = inks[i];
  }
}

GlyphRunBounds FontInstance::BoundsOf(int faceIndex, const FontFace& face, std::span<const GlyphAt> glyphs) const {
  GlyphRunBounds bounds;
  static thread_local std::vector<InkBox> inks;
  InksInto(faceIndex, face, glyphs, inks);
  InkBox all{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const GlyphAt& g = glyphs[i];
    const InkBox& ink = inks[i];
    if (ink.x1 == ink.x2 || ink.y1 == ink.y2) continue;  // no ink: neither overlaps nor counts
    const InkBox at{g.x * 256 + ink.x1, g.y * 256 + ink.y1, g.x * 256 + ink.x2, g.y * 256 + ink.y2};
    if (at.x2 > all.x1 && at.x1 < all.x2 && at.y2 > all.y1 && at.y1 < all.y2) bounds.overlaps = true;
    all = {std::min(all.x1, at.x1), std::min(all.y1, at.y1), std::max(all.x2, at.x2), std::max(all.y2, at.y2)};
  }
  if (inks.capacity() > 4096) std::vector<InkBox>().swap(inks);  // a huge run's storage goes back
  if (all.x1 >= all.x2) return bounds;
  auto floorPixel = [](int fixed) { return fixed >> 8; };
  auto ceilPixel = [](int fixed) { return (fixed + 255) >> 8; };
  bounds.box = GlyphBox{floorPixel(all.x1), floorPixel(all.y1), ceilPixel(all.x2), ceilPixel(all.y2)};
  return bounds;
}

GlyphMask FontInstance::RenderMask(const FontFace& face, unsigned index) const {
  // Hinting and emboldening may reach a little beyond the reported ink; the margin is trimmed.
  constexpr int kMargin = 4;
  constexpr int kLargest = 8192;
  const cairo_text_extents_t ink = GlyphExtents(face, index);
  if (!(ink.width > 0 && ink.height > 0)) return {};
  const int left = static_cast<int>(std::floor(ink.x_bearing)) - kMargin;
  const int top = static_cast<int>(std::floor(ink.y_bearing)) - kMargin;
  const int width = static_cast<int>(std::ceil(ink.x_bearing + ink.width)) + kMargin - left;
  const int height = static_cast<int>(std::ceil(ink.y_bearing + ink.height)) + kMargin - top;
  if (width > kLargest || height > kLargest) return {};
  CairoSurface canvas(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
  CairoContext cr(cairo_create(canvas.get()));
  SelectFace(cr.get(), face);
  const cairo_glyph_t glyph{index, static_cast<double>(-left), static_cast<double>(-top)};
  cairo_show_glyphs(cr.get(), &glyph, 1);
  cairo_surface_flush(canvas.get());
  const unsigned char* data = cairo_image_surface_get_data(canvas.get());
  const int stride = cairo_image_surface_get_stride(canvas.get());
  const GlyphBox box = InkedBox(data, stride, width, height);
  if (box.Empty()) return {};
  GlyphMask mask;
  mask.width = box.x2 - box.x1;
  mask.height = box.y2 - box.y1;
  mask.coverage.assign(static_cast<std::size_t>(mask.width) * mask.height + kCoverageSlack, 0);
  for (int y = box.y1; y < box.y2; ++y)
    std::memcpy(mask.coverage.data() + static_cast<std::ptrdiff_t>(y - box.y1) * mask.width,
                data + static_cast<std::ptrdiff_t>(y) * stride + box.x1, static_cast<std::size_t>(mask.width));
  mask.originX = -left - box.x1;
  mask.originY = -top - box.y1;
  return mask;
}

}  // namespace kestrel::platform
