#include "framework/Font.h"

#include <cmath>

#include "framework/PropInfo.h"
#include "framework/PublishColour.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Font.h"

namespace kestrel {

namespace {
constexpr int kScreenPpi = 96;

const TEnumInfo& FontStyleInfo() {
  static const TEnumInfo info(u"TFontStyle", {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"});
  return info;
}
const TEnumInfo& FontPitchInfo() {
  static const TEnumInfo info(u"TFontPitch", {u"fpDefault", u"fpVariable", u"fpFixed"});
  return info;
}
}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TFont, TGraphicsObject)

void TFont::PublishProperties(TClassBuilder<TFont>& b) {
  b.Property(u"Charset", &TFont::Charset, &TFont::SetCharset).Default(1).TypeName(u"TFontCharset");
  PublishColour(b, u"Color", &TFont::Color, &TFont::SetColor, clWindowText);
  b.Property(u"Height", &TFont::Height, &TFont::SetHeight).NoDefault();
  b.Property(u"Name", &TFont::Name, &TFont::SetName).Default(u"Tahoma").TypeName(u"TFontName");
  b.Enum(u"Pitch", &TFont::Pitch, &TFont::SetPitch, FontPitchInfo()).Default(fpDefault);
  b.Property(u"Size", &TFont::Size, &TFont::SetSize).Stored(false);
  b.Set(u"Style", &TFont::Style, &TFont::SetStyle, FontStyleInfo(), u"TFontStyles").Default(TFontStyles{});
}

TFont::TFont() = default;

TFont::~TFont() = default;

void TFont::Assign(const TPersistent* source) {
  if (auto* font = dynamic_cast<const TFont*>(source)) {
    if (Equals(*font) && charset_ == font->charset_) return;
    name_ = font->name_;
    height_ = font->height_;
    style_ = font->style_;
    color_ = font->color_;
    pitch_ = font->pitch_;
    charset_ = font->charset_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

bool TFont::Equals(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ && pitch_ == o.pitch_;
}

void TFont::SetName(const String& value) {
  if (value.empty() || value == name_) return;
  name_ = value;
  Changed();
}

int TFont::Size() const { return static_cast<int>(std::lround(-static_cast<double>(height_) * 72.0 / kScreenPpi)); }

void TFont::SetSize(int value) {
  SetHeight(-static_cast<int>(std::lround(static_cast<double>(value) * kScreenPpi / 72.0)));
}

void TFont::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == pitch_) return;
  pitch_ = value;
  Changed();
}

void TFont::SetCharset(int value) {
  if (value == charset_) return;
  charset_ = value;
  Changed();
}

void* TFont::MakeHandle() const {
  platform::LOGFONTW lf =
      platform::MakeLogFont(name_, height_, style_.Contains(fsBold) ? 700 : 400, style_.Contains(fsItalic),
                            style_.Contains(fsUnderline), style_.Contains(fsStrikeOut));
  lf.lfCharSet = static_cast<platform::BYTE>(charset_);
  lf.lfPitchAndFamily = static_cast<platform::BYTE>(pitch_);
  return platform::CreateFontIndirectW(&lf);
}

}  // namespace kestrel
