#include "platform/text/internal/FontFace.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <map>
#include <utility>

#include "platform/core/OwnedHandles.h"

namespace kestrel::platform {

namespace {

// One FreeType library for the process; faces are created under FaceCacheMutex().
FT_Library Library() {
  static FT_Library library = [] {
    FT_Library created = nullptr;
    if (FT_Init_FreeType(&created) != 0) created = nullptr;
    return created;
  }();
  return library;
}

std::mutex& FaceCacheMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

struct FontFace::FreeTypeFace {
  FT_Face face = nullptr;
  ~FreeTypeFace() {
    if (face) {
      std::lock_guard lock(FaceCacheMutex());
      FT_Done_Face(face);
    }
  }
};

std::shared_ptr<FontFace> FontFace::Load(const std::string& file, int index) {
  // Deliberately never destroyed: faces outlive every font and every static that draws.
  static auto& cache = *new std::map<std::pair<std::string, int>, std::shared_ptr<FontFace>>();
  {
    std::lock_guard lock(FaceCacheMutex());
    auto found = cache.find({file, index});
    if (found != cache.end()) return found->second;
  }
  std::shared_ptr<FontFace> face(new FontFace());
  if (!face->Open(file, index)) face.reset();
  std::lock_guard lock(FaceCacheMutex());
  return cache.emplace(std::make_pair(file, index), face).first->second;
}

FontFace::~FontFace() {
  for (cairo_font_face_t* face : cairo_)
    if (face) cairo_font_face_destroy(face);
}

bool FontFace::Open(const std::string& file, int index) {
  FT_Library library = Library();
  if (!library) return false;
  ft_ = std::make_unique<FreeTypeFace>();
  {
    std::lock_guard lock(FaceCacheMutex());
    if (FT_New_Face(library, file.c_str(), index, &ft_->face) != 0) {
      ft_->face = nullptr;
      return false;
    }
  }
  FT_Face face = ft_->face;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return false;
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  file_ = file;
  index_ = index;
  family_ = face->family_name ? face->family_name : "";

  FaceTables& t = tables_;
  t.unitsPerEm = face->units_per_EM;
  t.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  t.fixedPitch = FT_IS_FIXED_WIDTH(face);
  t.color = FT_HAS_COLOR(face);
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  t.hheaAscender = hhea ? hhea->Ascender : face->ascender;
  t.hheaDescender = hhea ? hhea->Descender : face->descender;
  t.hheaLineGap = hhea ? hhea->Line_Gap : 0;
  t.advanceWidthMax = hhea ? hhea->advance_Width_Max : face->max_advance_width;
  if (os2 && os2->version != 0xFFFF) {
    t.winAscent = os2->usWinAscent;
    t.winDescent = os2->usWinDescent;
    t.xAvgCharWidth = os2->xAvgCharWidth;
    t.weightClass = os2->usWeightClass;
    t.familyClass = (os2->sFamilyClass >> 8) & 0xFF;
    t.firstChar = os2->usFirstCharIndex;
    t.lastChar = os2->usLastCharIndex;
    t.strikeoutPosition = os2->yStrikeoutPosition;
    t.strikeoutSize = os2->yStrikeoutSize;
    if (os2->version >= 2) {
      t.defaultChar = os2->usDefaultChar;
      t.breakChar = os2->usBreakChar ? os2->usBreakChar : 0x20;
    }
  }
  if (t.winAscent + t.winDescent <= 0) {  // no usable OS/2 table: hhea, as GDI falls back
    t.winAscent = t.hheaAscender;
    t.winDescent = -t.hheaDescender;
  }
  if (t.winAscent + t.winDescent <= 0) {
    t.winAscent = t.unitsPerEm * 4 / 5;
    t.winDescent = t.unitsPerEm - t.winAscent;
  }
  if (t.strikeoutSize <= 0) {
    t.strikeoutSize = t.unitsPerEm / 20;
    t.strikeoutPosition = t.winAscent / 3;
  }
  t.underlinePosition = post ? post->underlinePosition : -t.unitsPerEm / 10;
  t.underlineThickness = post && post->underlineThickness > 0 ? post->underlineThickness : t.unitsPerEm / 20;
  if (t.weightClass <= 0) t.weightClass = (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
  return true;
}

unsigned FontFace::GlyphIndex(char32_t codePoint) const {
  std::lock_guard lock(mutex_);
  return FT_Get_Char_Index(ft_->face, codePoint);
}

int FontFace::AdvanceUnits(unsigned glyph) const {
  std::lock_guard lock(mutex_);
  FT_Fixed advance = 0;
  if (FT_Get_Advance(ft_->face, glyph, FT_LOAD_NO_SCALE, &advance) != 0) return 0;
  return static_cast<int>(advance);
}

void FontFace::InkUnits(unsigned glyph, int& leftBearing, int& width) const {
  std::lock_guard lock(mutex_);
  leftBearing = width = 0;
  if (FT_Load_Glyph(ft_->face, glyph, FT_LOAD_NO_SCALE) != 0) return;
  leftBearing = static_cast<int>(ft_->face->glyph->metrics.horiBearingX);
  width = static_cast<int>(ft_->face->glyph->metrics.width);
}

cairo_font_face_t* FontFace::CairoFace(bool emboldened) const {
  std::lock_guard lock(mutex_);
  cairo_font_face_t*& slot = cairo_[emboldened ? 1 : 0];
  if (!slot) {
    // cairo opens its own FreeType face from the file, so drawing never shares ours.
    FcPatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FILE, reinterpret_cast<const FcChar8*>(file_.c_str()));
    FcPatternAddInteger(pattern.get(), FC_INDEX, index_);
    slot = cairo_ft_font_face_create_for_pattern(pattern.get());
    if (emboldened) cairo_ft_font_face_set_synthesize(slot, CAIRO_FT_SYNTHESIZE_BOLD);
  }
  return slot;
}

}  // namespace kestrel::platform
