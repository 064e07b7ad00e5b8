#include "platform/os/Language.h"

#include <cstdlib>
#include <string>

namespace kestrel::platform {

namespace {

struct LanguageCode {
  const char* code;
  WORD primary;
  const char* country;  // of the default sublanguage
};

// ISO 639-1 code to Windows primary language; the first entry of a primary language names it.
constexpr LanguageCode kLanguages[] = {
    {"ar", LANG_ARABIC, "SA"},    {"bg", LANG_BULGARIAN, "BG"},  {"ca", LANG_CATALAN, "ES"},
    {"zh", LANG_CHINESE, "TW"},   {"cs", LANG_CZECH, "CZ"},      {"da", LANG_DANISH, "DK"},
    {"de", LANG_GERMAN, "DE"},    {"el", LANG_GREEK, "GR"},      {"en", LANG_ENGLISH, "US"},
    {"es", LANG_SPANISH, "ES"},   {"fi", LANG_FINNISH, "FI"},    {"fr", LANG_FRENCH, "FR"},
    {"he", LANG_HEBREW, "IL"},    {"hu", LANG_HUNGARIAN, "HU"},  {"is", LANG_ICELANDIC, "IS"},
    {"it", LANG_ITALIAN, "IT"},   {"ja", LANG_JAPANESE, "JP"},   {"ko", LANG_KOREAN, "KR"},
    {"nl", LANG_DUTCH, "NL"},     {"nb", LANG_NORWEGIAN, "NO"},  {"no", LANG_NORWEGIAN, "NO"},
    {"nn", LANG_NORWEGIAN, "NO"}, {"pl", LANG_POLISH, "PL"},     {"pt", LANG_PORTUGUESE, "BR"},
    {"ro", LANG_ROMANIAN, "RO"},  {"ru", LANG_RUSSIAN, "RU"},    {"hr", LANG_CROATIAN, "HR"},
    {"sk", LANG_SLOVAK, "SK"},    {"sv", LANG_SWEDISH, "SE"},    {"tr", LANG_TURKISH, "TR"},
    {"uk", LANG_UKRAINIAN, "UA"}, {"sl", LANG_SLOVENIAN, "SI"},  {"et", LANG_ESTONIAN, "EE"},
    {"lv", LANG_LATVIAN, "LV"},   {"lt", LANG_LITHUANIAN, "LT"},
};

struct Variant {
  const char* language;
  const char* country;
  LANGID id;
};

// Language and country pairs whose sublanguage is not the default one (or that need a
// non-default variant to be found); everything else is MAKELANGID(primary, SUBLANG_DEFAULT).
constexpr Variant kVariants[] = {
    {"de", "CH", 0x0807}, {"de", "AT", 0x0C07}, {"de", "LU", 0x1007}, {"de", "LI", 0x1407}, {"en", "GB", 0x0809},
    {"en", "AU", 0x0C09}, {"en", "CA", 0x1009}, {"en", "NZ", 0x1409}, {"en", "IE", 0x1809}, {"en", "ZA", 0x1C09},
    {"en", "IN", 0x4009}, {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C}, {"fr", "CH", 0x100C}, {"fr", "LU", 0x140C},
    {"it", "CH", 0x0810}, {"nl", "BE", 0x0813}, {"pt", "BR", 0x0416}, {"pt", "PT", 0x0816}, {"es", "MX", 0x080A},
    {"es", "AR", 0x2C0A}, {"es", "US", 0x540A}, {"zh", "CN", 0x0804}, {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04},
    {"zh", "SG", 0x1004}, {"sv", "FI", 0x081D}, {"nn", "NO", 0x0814}, {"nn", "", 0x0814},   {"zh", "", 0x0804},
    {"pt", "", 0x0416},   {"es", "ES", 0x0C0A}, {"es", "", 0x0C0A},
};

constexpr LANGID kEnglishUs = 0x0409;

// The first locale variable that is set and not empty, LANGUAGE giving its first entry.
std::string LocaleFromEnvironment() {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    std::string locale(value);
    if (std::string_view(name) == "LANGUAGE") locale = locale.substr(0, locale.find(':'));
    if (!locale.empty()) return locale;
  }
  return {};
}

LANGID CurrentLangId() { return LangIdFromLocaleName(LocaleFromEnvironment()); }

}  // namespace

LANGID LangIdFromLocaleName(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  std::size_t separator = locale.find_first_of("_-");
  std::string language(locale.substr(0, separator));
  std::string country(separator == std::string_view::npos ? "" : locale.substr(separator + 1));
  for (char& c : language) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  for (char& c : country) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);

  for (const Variant& v : kVariants)
    if (language == v.language && country == v.country) return v.id;
  for (const LanguageCode& l : kLanguages) {
    if (language != l.code) continue;
    for (const Variant& v : kVariants)  // a country we do not know: the language's main variant
      if (language == v.language && *v.country == '\0') return v.id;
    return MAKELANGID(l.primary, SUBLANG_DEFAULT);
  }
  return kEnglishUs;
}

LocaleNames LocaleNamesFromLangId(LANGID id) {
  for (const Variant& v : kVariants)
    if (v.id == id && *v.country) return {v.language, v.country};
  for (const LanguageCode& l : kLanguages)
    if (l.primary == PRIMARYLANGID(id)) return {l.code, SUBLANGID(id) == SUBLANG_DEFAULT ? l.country : ""};
  return {"en", "US"};
}

LANGID GetUserDefaultLangID() { return CurrentLangId(); }
LANGID GetSystemDefaultLangID() { return CurrentLangId(); }
LANGID GetUserDefaultUILanguage() { return CurrentLangId(); }
LANGID GetSystemDefaultUILanguage() { return CurrentLangId(); }
LCID GetUserDefaultLCID() { return MAKELCID(CurrentLangId(), SORT_DEFAULT); }
LCID GetSystemDefaultLCID() { return MAKELCID(CurrentLangId(), SORT_DEFAULT); }

}  // namespace kestrel::platform
