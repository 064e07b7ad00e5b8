#pragma once
// Language identifiers. The user's and the system's language both come from the locale
// environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG — the first one set), mapped onto the Windows
// LANGID of the same language and country; C, POSIX and an empty environment mean US English.

#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

constexpr WORD LANG_NEUTRAL = 0x00;
constexpr WORD LANG_ARABIC = 0x01;
constexpr WORD LANG_BULGARIAN = 0x02;
constexpr WORD LANG_CATALAN = 0x03;
constexpr WORD LANG_CHINESE = 0x04;
constexpr WORD LANG_CZECH = 0x05;
constexpr WORD LANG_DANISH = 0x06;
constexpr WORD LANG_GERMAN = 0x07;
constexpr WORD LANG_GREEK = 0x08;
constexpr WORD LANG_ENGLISH = 0x09;
constexpr WORD LANG_SPANISH = 0x0A;
constexpr WORD LANG_FINNISH = 0x0B;
constexpr WORD LANG_FRENCH = 0x0C;
constexpr WORD LANG_HEBREW = 0x0D;
constexpr WORD LANG_HUNGARIAN = 0x0E;
constexpr WORD LANG_ICELANDIC = 0x0F;
constexpr WORD LANG_ITALIAN = 0x10;
constexpr WORD LANG_JAPANESE = 0x11;
constexpr WORD LANG_KOREAN = 0x12;
constexpr WORD LANG_DUTCH = 0x13;
constexpr WORD LANG_NORWEGIAN = 0x14;
constexpr WORD LANG_POLISH = 0x15;
constexpr WORD LANG_PORTUGUESE = 0x16;
constexpr WORD LANG_ROMANIAN = 0x18;
constexpr WORD LANG_RUSSIAN = 0x19;
constexpr WORD LANG_CROATIAN = 0x1A;
constexpr WORD LANG_SLOVAK = 0x1B;
constexpr WORD LANG_SWEDISH = 0x1D;
constexpr WORD LANG_TURKISH = 0x1F;
constexpr WORD LANG_UKRAINIAN = 0x22;
constexpr WORD LANG_SLOVENIAN = 0x24;
constexpr WORD LANG_ESTONIAN = 0x25;
constexpr WORD LANG_LATVIAN = 0x26;
constexpr WORD LANG_LITHUANIAN = 0x27;

constexpr WORD SUBLANG_NEUTRAL = 0x00;
constexpr WORD SUBLANG_DEFAULT = 0x01;
constexpr WORD SUBLANG_SYS_DEFAULT = 0x02;
constexpr WORD SUBLANG_ENGLISH_US = 0x01;
constexpr WORD SUBLANG_ENGLISH_UK = 0x02;
constexpr WORD SUBLANG_GERMAN = 0x01;
constexpr WORD SUBLANG_GERMAN_SWISS = 0x02;
constexpr WORD SUBLANG_GERMAN_AUSTRIAN = 0x03;
constexpr WORD SUBLANG_GERMAN_LUXEMBOURG = 0x04;
constexpr WORD SUBLANG_GERMAN_LIECHTENSTEIN = 0x05;
constexpr WORD SORT_DEFAULT = 0x0;

constexpr LANGID MAKELANGID(WORD primary, WORD sub) { return static_cast<LANGID>((sub << 10) | primary); }
constexpr WORD PRIMARYLANGID(LANGID id) { return static_cast<WORD>(id & 0x3FF); }
constexpr WORD SUBLANGID(LANGID id) { return static_cast<WORD>(id >> 10); }
constexpr LCID MAKELCID(LANGID id, WORD sort) { return (static_cast<DWORD>(sort) << 16) | id; }
constexpr LANGID LANGIDFROMLCID(LCID lcid) { return static_cast<LANGID>(lcid & 0xFFFF); }

LANGID GetUserDefaultLangID();
LANGID GetSystemDefaultLangID();
LANGID GetUserDefaultUILanguage();
LANGID GetSystemDefaultUILanguage();
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();

// The LANGID for a POSIX locale name such as "de_AT.UTF-8@euro" (0x0C07). A known language
// with an unknown or missing country gets its main country; an unknown language, "C", "POSIX"
// and the empty name give US English (0x0409).
LANGID LangIdFromLocaleName(std::string_view locale);

// The ISO 639 language and ISO 3166 country codes of a LANGID ("de", "AT" for 0x0C07); the
// country is empty when the table does not know it, and unknown languages read as "en", "US".
struct LocaleNames {
  std::string language;
  std::string country;
};
LocaleNames LocaleNamesFromLangId(LANGID id);

}  // namespace kestrel::platform
