#include "platform/gdiplus/TGPFontFamily.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>

#include "platform/core/OwnedHandles.h"
#include "platform/text/internal/FontConfiguration.h"
#include "platform/text/internal/FontFace.h"

namespace kestrel::platform {

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

// The family the configuration puts first for `name` (the name itself unless it is an alias).
std::string ConfiguredFamily(const std::string& name) {
  FcPatternPtr pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcConfigSubstitute(PrivateFontConfig(), pattern.get(), FcMatchPattern);
  FcChar8* first = nullptr;
  std::string family = name;
  if (FcPatternGetString(pattern.get(), FC_FAMILY, 0, &first) == FcResultMatch && first)
    family = reinterpret_cast<const char*>(first);
  return family;
}

FaceRequest RequestFor(const std::string& family, INT style) {
  FaceRequest request;
  request.family = family;
  request.weight = (style & FontStyleBold) ? 700 : 400;
  request.italic = (style & FontStyleItalic) != 0;
  return request;
}

UINT16 Clamp16(int v) { return static_cast<UINT16>(std::clamp(v, 0, 0xFFFF)); }

}  // namespace

TGPFontFamily::TGPFontFamily(const WCHAR* name) {
  if (!name || !*name) {
    Remember(InvalidParameter);
    return;
  }
  name_ = name;
  const std::string utf8 = Utf16ToUtf8(name_);
  const std::optional<FaceChoice> face = MatchFace(RequestFor(utf8, FontStyleRegular));
  if (face && (SameName(face->family, utf8) || SameName(face->family, ConfiguredFamily(utf8)))) {
    faceFamily_ = face->family;
    found_ = true;
  } else {
    Remember(FontFamilyNotFound);
  }
}

std::unique_ptr<TGPFontFamily> TGPFontFamily::GenericSansSerif() {
  return std::make_unique<TGPFontFamily>(u"Microsoft Sans Serif");
}
std::unique_ptr<TGPFontFamily> TGPFontFamily::GenericSerif() {
  return std::make_unique<TGPFontFamily>(u"Times New Roman");
}
std::unique_ptr<TGPFontFamily> TGPFontFamily::GenericMonospace() {
  return std::make_unique<TGPFontFamily>(u"Courier New");
}

TStatus TGPFontFamily::GetFamilyName(WCHAR* name) const {
  if (!name) return Remember(InvalidParameter);
  const size_t count = std::min<size_t>(name_.size(), 31);
  std::copy_n(name_.begin(), count, name);
  name[count] = 0;
  return found_ ? Ok : Remember(FontFamilyNotFound);
}

TGPFontFamily::Tables TGPFontFamily::MetricsFor(INT style) const {
  Tables tables;
  if (!found_) return tables;
  const std::optional<FaceChoice> choice = MatchFace(RequestFor(faceFamily_, style));
  const std::shared_ptr<FontFace> face = choice ? FontFace::Load(choice->file, choice->index) : nullptr;
  if (!face) return tables;
  const FaceTables& t = face->Tables();
  tables.em = t.unitsPerEm;
  tables.ascent = t.winAscent;
  tables.descent = t.winDescent;
  // The larger of the Windows cell and the typographic line (ascender, descender and gap).
  tables.lineSpacing = std::max(t.winAscent + t.winDescent, t.hheaAscender - t.hheaDescender + t.hheaLineGap);
  return tables;
}

UINT16 TGPFontFamily::GetEmHeight(INT style) const { return Clamp16(MetricsFor(style).em); }
UINT16 TGPFontFamily::GetCellAscent(INT style) const { return Clamp16(MetricsFor(style).ascent); }
UINT16 TGPFontFamily::GetCellDescent(INT style) const { return Clamp16(MetricsFor(style).descent); }
UINT16 TGPFontFamily::GetLineSpacing(INT style) const { return Clamp16(MetricsFor(style).lineSpacing); }

}  // namespace kestrel::platform
