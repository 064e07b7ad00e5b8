#include "platform/os/Locale.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/core/Unicode.h"
#include "platform/os/Language.h"
#include "platform/os/internal/TextBuffer.h"

namespace kestrel::platform {

namespace {

struct RegionalSettings {
  LANGID id;
  const char* list;
  const char* decimal;
  const char* thousand;
  const char* shortDate;
  const char* longDate;
  const char* timeFormat;
  const char* am;
  const char* pm;
};

// Exact locales first; an entry also serves the other locales of its primary language.
constexpr RegionalSettings kSettings[] = {
    {0x0409, ",", ".", ",", "M/d/yyyy", "dddd, MMMM d, yyyy", "h:mm:ss tt", "AM", "PM"},
    {0x0809, ",", ".", ",", "dd/MM/yyyy", "dd MMMM yyyy", "HH:mm:ss", "am", "pm"},
    {0x0407, ";", ",", ".", "dd.MM.yyyy", "dddd, d. MMMM yyyy", "HH:mm:ss", "", ""},
    {0x0C07, ";", ",", ".", "dd.MM.yyyy", "dddd, d. MMMM yyyy", "HH:mm:ss", "", ""},
    {0x0807, ";", ".", "\xE2\x80\x99", "dd.MM.yyyy", "dddd, d. MMMM yyyy", "HH:mm:ss", "", ""},
    {0x040C, ";", ",", "\xC2\xA0", "dd/MM/yyyy", "dddd d MMMM yyyy", "HH:mm:ss", "", ""},
    {0x0C0C, ";", ",", "\xC2\xA0", "yyyy-MM-dd", "d MMMM yyyy", "HH:mm:ss", "", ""},
};

struct Names {
  const char* days[7];  // Sunday first, as SYSTEMTIME counts
  const char* months[12];
  unsigned abbreviation;  // characters of a name that make its short form
};

constexpr Names kEnglish = {{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
                            {"January", "February", "March", "April", "May", "June", "July", "August", "September",
                             "October", "November", "December"},
                            3};
constexpr Names kGerman = {{"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
                           {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
                            "Oktober", "November", "Dezember"},
                           2};
constexpr Names kFrench = {{"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"},
                           {"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre",
                            "octobre", "novembre", "décembre"},
                           3};

LANGID Resolve(LCID locale) {
  LANGID id = LANGIDFROMLCID(locale);
  if (locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT || id == 0) return GetUserDefaultLangID();
  if (locale == LOCALE_INVARIANT) return 0x0409;
  return id;
}

const RegionalSettings& SettingsFor(LANGID id) {
  for (const auto& s : kSettings)
    if (s.id == id) return s;
  for (const auto& s : kSettings)
    if (PRIMARYLANGID(s.id) == PRIMARYLANGID(id)) return s;
  return kSettings[0];
}

const Names& NamesFor(LANGID id) {
  switch (PRIMARYLANGID(id)) {
    case LANG_GERMAN: return kGerman;
    case LANG_FRENCH: return kFrench;
    default: return kEnglish;
  }
}

// The first `count` characters of a UTF-8 name.
std::u16string Abbreviate(const char* name, unsigned count) {
  std::u16string wide = Utf8ToUtf16(name);
  return wide.substr(0, count);
}

std::u16string Number(int value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", digits, value);
  return Utf8ToUtf16(buffer);
}

int Deliver(const std::u16string& text, WCHAR* target, int size) {
  int needed = static_cast<int>(text.size()) + 1;
  if (size == 0) return needed;
  if (!target || size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  CopyWithNeededSize(text, target, static_cast<DWORD>(size));
  return needed;
}

std::u16string LocaleText(LANGID id, LCTYPE type, bool& known) {
  const RegionalSettings& s = SettingsFor(id);
  const Names& names = NamesFor(id);
  LocaleNames codes = LocaleNamesFromLangId(id);
  known = true;
  if (type >= LOCALE_SDAYNAME1 && type < LOCALE_SDAYNAME1 + 7)
    return Utf8ToUtf16(names.days[(type - LOCALE_SDAYNAME1 + 1) % 7]);
  if (type >= LOCALE_SABBREVDAYNAME1 && type < LOCALE_SABBREVDAYNAME1 + 7)
    return Abbreviate(names.days[(type - LOCALE_SABBREVDAYNAME1 + 1) % 7], names.abbreviation);
  if (type >= LOCALE_SMONTHNAME1 && type < LOCALE_SMONTHNAME1 + 12)
    return Utf8ToUtf16(names.months[type - LOCALE_SMONTHNAME1]);
  if (type >= LOCALE_SABBREVMONTHNAME1 && type < LOCALE_SABBREVMONTHNAME1 + 12)
    return Abbreviate(names.months[type - LOCALE_SABBREVMONTHNAME1], 3);
  char hex[8];
  switch (type) {
    case LOCALE_ILANGUAGE: std::snprintf(hex, sizeof hex, "%04x", id); return Utf8ToUtf16(hex);
    case LOCALE_IDEFAULTCODEPAGE:
    case LOCALE_IDEFAULTANSICODEPAGE: return u"65001";
    case LOCALE_SLIST: return Utf8ToUtf16(s.list);
    case LOCALE_SDECIMAL: return Utf8ToUtf16(s.decimal);
    case LOCALE_STHOUSAND: return Utf8ToUtf16(s.thousand);
    case LOCALE_SDATE: return Utf8ToUtf16(std::string(1, std::strpbrk(s.shortDate, "./-")[0]));
    case LOCALE_STIME: return u":";
    case LOCALE_SSHORTDATE: return Utf8ToUtf16(s.shortDate);
    case LOCALE_SLONGDATE: return Utf8ToUtf16(s.longDate);
    case LOCALE_STIMEFORMAT: return Utf8ToUtf16(s.timeFormat);
    case LOCALE_S1159: return Utf8ToUtf16(s.am);
    case LOCALE_S2359: return Utf8ToUtf16(s.pm);
    case LOCALE_SISO639LANGNAME: return Utf8ToUtf16(codes.language);
    case LOCALE_SISO3166CTRYNAME: return Utf8ToUtf16(codes.country);
    case LOCALE_SNAME:
      return Utf8ToUtf16(codes.country.empty() ? codes.language : codes.language + "-" + codes.country);
    default: known = false; return {};
  }
}

// Expands a picture string: runs of one pattern letter form a token, quoted text is literal.
// `skipSeconds` also drops the separator text in front of a seconds token.
std::u16string Expand(std::u16string_view picture, const SYSTEMTIME& t, LANGID id, bool date, DWORD flags) {
  const Names& names = NamesFor(id);
  const RegionalSettings& settings = SettingsFor(id);
  std::u16string out;
  std::size_t literalStart = 0;  // where the literal text since the last token began in `out`
  for (std::size_t i = 0; i < picture.size();) {
    char16_t c = picture[i];
    if (c == u'\'') {
      std::size_t close = picture.find(u'\'', i + 1);
      if (close == i + 1) out += u'\'';  // '' is a quote
      else out += picture.substr(i + 1, (close == std::u16string_view::npos ? picture.size() : close) - i - 1);
      i = close == std::u16string_view::npos ? picture.size() : close + 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    i += run;
    int n = static_cast<int>(run);
    std::u16string token;
    bool isToken = true;
    if (date && c == u'd') {
      if (n <= 2) token = Number(t.wDay, n);
      else
        token = n == 3 ? Abbreviate(names.days[t.wDayOfWeek % 7], names.abbreviation)
                       : Utf8ToUtf16(names.days[t.wDayOfWeek % 7]);
    } else if (date && c == u'M') {
      int month = (t.wMonth >= 1 && t.wMonth <= 12) ? t.wMonth - 1 : 0;
      if (n <= 2) token = Number(t.wMonth, n);
      else token = n == 3 ? Abbreviate(names.months[month], 3) : Utf8ToUtf16(names.months[month]);
    } else if (date && c == u'y') {
      token = n <= 2 ? Number(t.wYear % 100, n) : Number(t.wYear, 4);
    } else if (!date && (c == u'h' || c == u'H')) {
      bool twelve = c == u'h' && !(flags & TIME_FORCE24HOURFORMAT);
      int hour = twelve ? (t.wHour % 12 == 0 ? 12 : t.wHour % 12) : t.wHour;
      token = Number(hour, n >= 2 ? 2 : 1);
    } else if (!date && (c == u'm' || c == u's')) {
      bool dropped = (flags & TIME_NOMINUTESORSECONDS) || (c == u's' && (flags & TIME_NOSECONDS));
      if (dropped) {
        out.erase(literalStart);  // the separator before a dropped field goes too
        literalStart = out.size();
        continue;
      }
      token = Number(c == u'm' ? t.wMinute : t.wSecond, n >= 2 ? 2 : 1);
    } else if (!date && c == u't') {
      if (flags & (TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT)) {
        while (!out.empty() && out.back() == u' ') out.pop_back();
        literalStart = out.size();
        continue;
      }
      std::u16string marker = Utf8ToUtf16(t.wHour < 12 ? settings.am : settings.pm);
      token = n == 1 ? marker.substr(0, 1) : marker;
    } else {
      isToken = false;
      out.append(run, c);
    }
    if (isToken) {
      out += token;
      literalStart = out.size();
    }
  }
  return out;
}

int FormatTime(LCID locale, DWORD flags, const SYSTEMTIME* time, const WCHAR* format, WCHAR* target, int size,
               bool date) {
  if (size < 0 || (size > 0 && !target)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  LANGID id = Resolve(locale);
  SYSTEMTIME now;
  if (!time) {
    GetLocalTime(&now);
    time = &now;
  }
  std::u16string picture;
  if (format) picture = format;
  else
    picture = Utf8ToUtf16(date ? ((flags & DATE_LONGDATE) ? SettingsFor(id).longDate : SettingsFor(id).shortDate)
                               : SettingsFor(id).timeFormat);
  return Deliver(Expand(picture, *time, id, date, date ? 0 : flags), target, size);
}

}  // namespace

int GetLocaleInfoW(LCID locale, LCTYPE type, WCHAR* data, int size) {
  if (size < 0 || (size > 0 && !data)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  bool known = false;
  LCTYPE plain = type & ~(LOCALE_NOUSEROVERRIDE | LOCALE_RETURN_NUMBER);
  std::u16string text = LocaleText(Resolve(locale), plain, known);
  bool numeric = plain == LOCALE_ILANGUAGE || plain == LOCALE_IDEFAULTCODEPAGE || plain == LOCALE_IDEFAULTANSICODEPAGE;
  if (!known || ((type & LOCALE_RETURN_NUMBER) && !numeric)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  if (type & LOCALE_RETURN_NUMBER) {
    // The value as a DWORD in the buffer, which counts two characters.
    DWORD value = static_cast<DWORD>(std::stoul(Utf16ToUtf8(text), nullptr, plain == LOCALE_ILANGUAGE ? 16 : 10));
    if (size == 0) return 2;
    if (size < 2) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    std::memcpy(data, &value, sizeof value);
    return 2;
  }
  return Deliver(text, data, size);
}

int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, const WCHAR* format, WCHAR* date, int size) {
  return FormatTime(locale, flags, time, format, date, size, true);
}

int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, const WCHAR* format, WCHAR* text, int size) {
  return FormatTime(locale, flags, time, format, text, size, false);
}

}  // namespace kestrel::platform
