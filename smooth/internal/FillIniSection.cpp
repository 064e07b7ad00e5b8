#include "smooth/internal/FillIniSection.h"

#include <type_traits>

#include "framework/Exceptions.h"
#include "framework/MemIniFile.h"
#include "smooth/GDIPFill.h"
#include "smooth/internal/HexText.h"

namespace kestrel {

namespace {

using S = TFillSettings;

// One stored setting: its key, how to read and write it as an integer, and for enumerations
// the values it may take.
struct TIniKey {
  const char16_t* name;
  int (*get)(const S&);
  void (*set)(S&, int);
  const TEnumInfo& (*range)();
};

template <auto Member>
int GetKey(const S& s) {
  return static_cast<int>(s.*Member);
}

template <auto Member>
void SetKey(S& s, int value) {
  using V = std::remove_cvref_t<decltype(std::declval<S&>().*Member)>;
  s.*Member = static_cast<V>(value);  // bytes keep the low byte
}

#define KESTREL_INI_KEY(Name, Range) \
  TIniKey { u"" #Name, &GetKey<&S::Name>, &SetKey<&S::Name>, Range }

// In the order they are written.
const TIniKey kKeys[] = {
    KESTREL_INI_KEY(Color, nullptr),
    KESTREL_INI_KEY(ColorTo, nullptr),
    KESTREL_INI_KEY(ColorMirror, nullptr),
    KESTREL_INI_KEY(ColorMirrorTo, nullptr),
    KESTREL_INI_KEY(GradientType, &GradientTypeInfo),
    KESTREL_INI_KEY(GradientMirrorType, &GradientTypeInfo),
    KESTREL_INI_KEY(HatchStyle, &HatchStyleInfo),
    KESTREL_INI_KEY(HatchStyleMirror, &HatchStyleInfo),
    KESTREL_INI_KEY(BackGroundPictureMode, &FillPictureModeInfo),
    KESTREL_INI_KEY(BackGroundPicturePosition, &FillPicturePositionInfo),
    KESTREL_INI_KEY(BackGroundPictureLeft, nullptr),
    KESTREL_INI_KEY(BackGroundPictureTop, nullptr),
    KESTREL_INI_KEY(PicturePosition, &FillPicturePositionInfo),
    KESTREL_INI_KEY(PictureLeft, nullptr),
    KESTREL_INI_KEY(PictureTop, nullptr),
    KESTREL_INI_KEY(PictureSize, &FillPictureSizeInfo),  // replaced by the hex length below
    KESTREL_INI_KEY(PictureWidth, nullptr),
    KESTREL_INI_KEY(PictureHeight, nullptr),
    KESTREL_INI_KEY(Opacity, nullptr),
    KESTREL_INI_KEY(OpacityTo, nullptr),
    KESTREL_INI_KEY(OpacityMirror, nullptr),
    KESTREL_INI_KEY(OpacityMirrorTo, nullptr),
    KESTREL_INI_KEY(BorderColor, nullptr),
    KESTREL_INI_KEY(BorderOpacity, nullptr),
    KESTREL_INI_KEY(BorderWidth, nullptr),
    KESTREL_INI_KEY(Rounding, nullptr),
    KESTREL_INI_KEY(RoundingType, &FillRoundingTypeInfo),
    KESTREL_INI_KEY(ShadowOffset, nullptr),
    KESTREL_INI_KEY(ShadowColor, nullptr),
    KESTREL_INI_KEY(Angle, nullptr),
    KESTREL_INI_KEY(Glow, &GlowModeInfo),
    KESTREL_INI_KEY(GlowGradientColor, nullptr),
    KESTREL_INI_KEY(GlowRadialColor, nullptr),
};

#undef KESTREL_INI_KEY

constexpr const char16_t* kPictureSizeKey = u"PictureSize";
constexpr const char16_t* kPictureSizeModeKey = u"PictureSizeMode";

void SavePicture(TCustomIniFile& ini, const String& section, const TGDIPPicture& picture, const String& key,
                 const String& sizeKey) {
  const String hex = BytesToHex(picture.Data());
  ini.WriteString(section, key, hex);
  ini.WriteInteger(section, sizeKey, static_cast<int>(hex.size()));
}

// The picture stored under `key` when its recorded length is above 0: at most that many
// characters of the text, decoded. Empty when there is nothing to load.
std::vector<std::uint8_t> LoadPicture(TCustomIniFile& ini, const String& section, const String& key,
                                      const String& sizeKey) {
  // The recorded length only limits the text read; it never sizes a buffer.
  const int length = ini.ReadInteger(section, sizeKey, 0);
  if (length <= 0) return {};
  const String text = ini.ReadString(section, key, String());
  return HexToBytes(std::u16string_view(text).substr(0, static_cast<std::size_t>(length)));
}

int ReadChecked(TCustomIniFile& ini, const String& section, const TIniKey& key, int current) {
  const int value = ini.ReadInteger(section, key.name, current);
  if (key.range) {
    const TEnumInfo& info = key.range();
    if (value < info.MinValue() || value > info.MaxValue())
      throw EConvertError(u"Invalid %s value %d for %s", {info.TypeName(), value, String(key.name)});
  }
  return value;
}

}  // namespace

void TFillIniSection::Save(const TGDIPFill& fill, TCustomIniFile& ini, const String& section) {
  const S& s = fill.Settings();
  for (const TIniKey& key : kKeys) ini.WriteInteger(section, key.name, key.get(s));
  SavePicture(ini, section, *fill.Picture(), u"Picture", kPictureSizeKey);
  SavePicture(ini, section, *fill.BackGroundPicture(), u"BackgroundPicture", u"BackgroundPictureSize");
  ini.WriteInteger(section, kPictureSizeModeKey, s.PictureSize);
}

void TFillIniSection::Load(TGDIPFill& fill, TCustomIniFile& ini, const String& section) {
  S s = fill.Settings();
  for (const TIniKey& key : kKeys) {
    // "PictureSize" holds the hex length; the mode has a key of its own.
    if (key.get == &GetKey<&S::PictureSize>) continue;
    key.set(s, ReadChecked(ini, section, key, key.get(s)));
  }
  const TIniKey mode{kPictureSizeModeKey, &GetKey<&S::PictureSize>, &SetKey<&S::PictureSize>, &FillPictureSizeInfo};
  mode.set(s, ReadChecked(ini, section, mode, mode.get(s)));

  std::vector<std::uint8_t> picture = LoadPicture(ini, section, u"Picture", kPictureSizeKey);
  std::vector<std::uint8_t> background = LoadPicture(ini, section, u"BackgroundPicture", u"BackgroundPictureSize");

  TGDIPFill loaded;
  loaded.Assign(&fill);
  loaded.SetSettings(s);
  if (!picture.empty()) loaded.Picture()->SetData(std::move(picture));
  if (!background.empty()) loaded.BackGroundPicture()->SetData(std::move(background));
  fill.Assign(&loaded);
}

void TFillIniSection::Save(const TGDIPFill& fill, const String& fileName, const String& section) {
  TMemIniFile ini(fileName);
  Save(fill, ini, section);
  ini.UpdateFile();
}

void TFillIniSection::Load(TGDIPFill& fill, const String& fileName, const String& section) {
  TMemIniFile ini(fileName);
  Load(fill, ini, section);
}

}  // namespace kestrel
