#pragma once
// A logical font realised on a face: GDI metrics computed from the font tables, integer advances
// per character, and glyph drawing at the positions those advances give. Measuring and painting
// both use Advances(), so they agree to the pixel.
//
// Metrics follow GDI's rules for TrueType fonts:
//   em (ppem)   = -lfHeight for a negative height; for a positive height (the cell height)
//                 round(lfHeight * unitsPerEm / (winAscent + winDescent)); 12 for 0
//   tmAscent    = round(winAscent * scale), tmDescent = round(winDescent * scale) for negative
//                 heights; for positive ones tmDescent = lfHeight - tmAscent so the cell is exact
//   tmInternalLeading = tmHeight - em
//   tmExternalLeading = max(0, lineGap - ((winAscent + winDescent) - (ascender - descender)))
//   tmAveCharWidth = OS/2 xAvgCharWidth scaled, tmMaxCharWidth = hhea advanceWidthMax scaled
// Every advance is the design advance scaled and rounded per glyph (FreeType's hinting leaves
// horizontal advances at exactly these values), with no kerning or shaping, as GDI's TextOut.
// Synthetic bold (a bold request on a face without a bold variant) adds one pixel per glyph, as
// GDI's emboldening does; synthetic italic slants the glyphs without changing advances.
// lfEscapement and lfOrientation are kept but not applied (no rotated text).

#include <cairo.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/core/OwnedHandles.h"
#include "platform/text/Font.h"
#include "platform/text/TextTypes.h"
#include "platform/text/internal/FontConfiguration.h"
#include "platform/text/internal/FontFace.h"
#include "platform/text/internal/GlyphMaskCache.h"

namespace kestrel::platform {

// One glyph of a string: the UTF-16 unit it starts at, its face and index, its advance.
struct PlacedGlyph {
  int unit = 0;
  int face = 0;  // 0 = the primary face, above = fallback faces
  unsigned index = 0;
  int advance = 0;
};

// Horizontal line decorations relative to the baseline (y grows downwards).
struct LineDecoration {
  int top = 0;  // offset of the line's top from the baseline
  int thickness = 1;
};

class FontInstance {
 public:
  // Realises `logFont`; falls back to the default face when the match cannot be opened.
  static std::shared_ptr<FontInstance> Create(const LOGFONTW& logFont);

  const LOGFONTW& LogFont() const { return logFont_; }
  const TEXTMETRICW& Metrics() const { return metrics_; }
  // The realised family name (what GetTextFaceW reports).
  const std::string& FaceName() const;
  int EmPixels() const { return ppem_; }
  bool Antialiased() const;

  // Glyphs of `text` (UTF-16; a surrogate pair is one glyph at its first unit, lone surrogates
  // draw as U+FFFD) and the advance of each UTF-16 unit (the second unit of a pair gets 0).
  std::vector<PlacedGlyph> Glyphs(std::u16string_view text) const;
  // The same into `glyphs` (cleared first), so that a caller can reuse its storage.
  void GlyphsInto(std::u16string_view text, std::vector<PlacedGlyph>& glyphs) const;
  std::vector<int> UnitAdvances(std::u16string_view text) const;
  // The same into `advances` (resized to the text), without building the glyphs: each unit
  // outside a surrogate costs one table read once its character has been looked up.
  void UnitAdvancesInto(std::u16string_view text, std::vector<int>& advances) const;
  int Width(std::u16string_view text) const;
  // The advance all printable ASCII characters (U+0020 to U+007E) share, as UnitAdvances gives
  // it; 0 when they differ. Looked up once.
  int PrintableAsciiAdvance() const;
  // Advance and ink bounds (ABC widths) of one character in pixels.
  int CharAdvance(char32_t codePoint) const;
  ABC CharABC(char32_t codePoint) const;

  LineDecoration Underline() const { return underline_; }
  LineDecoration StrikeOut() const { return strikeOut_; }

  // Draws `glyphs` where `placed` puts each of them (index and origin in the user space of
  // `cr`), in the current source of `cr`. The font stays set on `cr`.
  void DrawGlyphs(cairo_t* cr, const std::vector<PlacedGlyph>& glyphs, const cairo_glyph_t* placed) const;
  // The same straight onto `target`'s pixels (within its clip) in `color` (COLORREF), with each
  // glyph's origin in target pixels at `origins`, through the shared glyph masks; `inked` gets
  // the box the glyphs cover. False, with nothing drawn, when a face needs cairo (colour glyphs).
  bool CompositeGlyphs(const GlyphTarget& target, std::uint32_t color, const std::vector<PlacedGlyph>& glyphs,
                       std::span<const GlyphAt> origins, GlyphBox& inked) const;

 private:
  struct GlyphInfo {
    int face = 0;
    unsigned index = 0;
    int advance = 0;
  };

  static std::shared_ptr<FontInstance> Realise(const LOGFONTW& logFont);
  FontInstance(const LOGFONTW& logFont, FaceRequest request, std::shared_ptr<FontFace> face, bool syntheticBold,
               bool syntheticItalic);
  void ComputeMetrics();
  int ScaleX(int units, const FontFace& face) const;
  int ScaleY(double units) const;
  struct Latin1Entry {
    bool known = false;
    GlyphInfo info;
  };

  // Advances of the BMP by pages of 256 characters, filled as characters are first measured.
  static constexpr int kUnknownAdvance = -1;
  using AdvancePage = std::array<int, 256>;
  int BmpAdvanceLocked(char16_t unit) const;  // with mutex_ held; not for surrogates
  int LearnBmpAdvanceLocked(char16_t unit) const;

  GlyphInfo Lookup(char32_t codePoint) const;
  GlyphInfo LookupLocked(char32_t codePoint) const;  // with mutex_ held
  GlyphInfo Resolve(char32_t codePoint) const;
  int FallbackFace(char32_t codePoint) const;  // with mutex_ held
  std::shared_ptr<FontFace> FaceAt(int index) const;
  // Calls `visit` for each run of consecutive glyphs drawn from one face (first glyph, count,
  // face index, face).
  using FaceRunVisitor = std::function<void(std::size_t, std::size_t, int, const FontFace&)>;
  void ForEachFaceRun(const std::vector<PlacedGlyph>& glyphs, const FaceRunVisitor& visit) const;
  // Sets the face (its synthetic bold variant if any), this font's size, slant and options on `cr`.
  void SelectFace(cairo_t* cr, const FontFace& face) const;
  // The mask cairo draws for glyph `index` of `face` at an integer position.
  GlyphMask RenderMask(const FontFace& face, unsigned index) const;
  // How cairo bounds a run: the ink boxes of its glyphs rounded out to pixels (cairo paints
  // nothing outside them), and whether a glyph's box meets the boxes of the glyphs before it,
  // in which case cairo adds the run up in one mask first (which changes overlapping pixels).
  GlyphRunBounds BoundsOf(int faceIndex, const FontFace& face, std::span<const GlyphAt> glyphs) const;
  // Glyph ink boxes in 1/256 pixels relative to the origin, as cairo rounds them.
  struct InkBox {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  };
  InkBox MeasureInk(const FontFace& face, unsigned index) const;
  // Cairo's ink extents of glyph `index` of `face` at this font's size (user space = pixels).
  cairo_text_extents_t GlyphExtents(const FontFace& face, unsigned index) const;
  // The ink boxes of the glyphs of a run of face FaceIndex, measured once per glyph.
  void InksInto(int faceIndex, const FontFace& face, std::span<const GlyphAt> glyphs, std::vector<InkBox>& inks) const;

  LOGFONTW logFont_;
  FaceRequest request_;
  std::shared_ptr<FontFace> face_;
  bool syntheticBold_ = false;
  bool syntheticItalic_ = false;
  int ppem_ = 12;
  double xScale_ = 1.0;  // lfWidth stretch
  TEXTMETRICW metrics_{};
  LineDecoration underline_;
  LineDecoration strikeOut_;

  mutable std::mutex mutex_;
  mutable std::vector<std::shared_ptr<FontFace>> fallbacks_;
  mutable std::unordered_map<char32_t, GlyphInfo> glyphCache_;  // beyond Latin-1
  mutable std::unordered_map<std::uint64_t, InkBox> inkBoxes_;  // by face << 32 | glyph index
  mutable std::array<Latin1Entry, 256> latin1_{};
  mutable std::array<std::unique_ptr<AdvancePage>, 256> bmpAdvances_{};
  mutable int printableAsciiAdvance_ = kUnknownAdvance;
  CairoFontOptions fontOptions_;  // made once, used per draw
  // This font's masks in the shared glyph mask cache: the key of face F is maskKey_ * 256 + F.
  std::uintptr_t maskKey_ = GlyphMaskCache::NewFontKey();
};

}  // namespace kestrel::platform
