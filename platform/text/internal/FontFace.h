#pragma once
// One font file face: its FreeType face for glyph lookup and advances, the table values GDI's
// metrics are computed from, and the cairo face it is drawn with. Faces are loaded once per
// file and kept for the life of the process (a program uses a handful).

#include <cairo.h>

#include <memory>
#include <mutex>
#include <string>

namespace kestrel::platform {

// Values from the OS/2, hhea, head and post tables, in font design units.
struct FaceTables {
  int unitsPerEm = 2048;
  int winAscent = 0;   // OS/2 usWinAscent, or hhea ascender without an OS/2 table
  int winDescent = 0;  // OS/2 usWinDescent (positive), or -hhea descender
  int hheaAscender = 0;
  int hheaDescender = 0;  // negative below the baseline
  int hheaLineGap = 0;
  int advanceWidthMax = 0;
  int xAvgCharWidth = 0;  // 0 when the font does not give it
  int weightClass = 400;
  int familyClass = 0;  // OS/2 sFamilyClass high byte
  int firstChar = 0x20;
  int lastChar = 0xFFFF;
  int defaultChar = 0;
  int breakChar = 0x20;
  int underlinePosition = 0;  // top of the underline, negative below the baseline
  int underlineThickness = 0;
  int strikeoutPosition = 0;  // top of the strike-out stroke above the baseline
  int strikeoutSize = 0;
  bool fixedPitch = false;
  bool italic = false;
  bool color = false;  // colour glyph tables: cairo draws those glyphs in colour
};

class FontFace {
 public:
  // The face of `file` at `index`, shared; null if the file is no usable font.
  static std::shared_ptr<FontFace> Load(const std::string& file, int index);

  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const FaceTables& Tables() const { return tables_; }
  const std::string& Family() const { return family_; }
  const std::string& File() const { return file_; }
  // Glyph index of a character, 0 when the face lacks it.
  unsigned GlyphIndex(char32_t codePoint) const;
  // Advance of a glyph in design units.
  int AdvanceUnits(unsigned glyph) const;
  // Ink box of a glyph in design units: left bearing and width (for ABC widths).
  void InkUnits(unsigned glyph, int& leftBearing, int& width) const;
  // The cairo face (owned by this object); with `emboldened` the synthetic bold variant.
  cairo_font_face_t* CairoFace(bool emboldened) const;

 private:
  FontFace() = default;
  bool Open(const std::string& file, int index);

  struct FreeTypeFace;
  std::unique_ptr<FreeTypeFace> ft_;
  FaceTables tables_;
  std::string family_;
  std::string file_;
  int index_ = 0;
  mutable std::mutex mutex_;  // FreeType faces are not thread-safe
  mutable cairo_font_face_t* cairo_[2] = {nullptr, nullptr};
};

}  // namespace kestrel::platform
