#pragma once
// Regional settings of a locale (number separators, date and time patterns, day and month names)
// and date/time formatting with Windows picture strings. The user's locale is the one the
// language environment names (Language.h). Settings come from a small table (English, German,
// French and a few variants); other locales use their language's entry or US English. Day and
// month names exist in English, German and French.

#include "platform/core/WinTypes.h"
#include "platform/os/Clock.h"

namespace kestrel::platform {

using LCTYPE = DWORD;

constexpr LCID LOCALE_INVARIANT = 0x007F;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000;
constexpr LCTYPE LOCALE_RETURN_NUMBER = 0x20000000;
constexpr LCTYPE LOCALE_ILANGUAGE = 0x0001;
constexpr LCTYPE LOCALE_IDEFAULTCODEPAGE = 0x000B;
constexpr LCTYPE LOCALE_SLIST = 0x000C;
constexpr LCTYPE LOCALE_SDECIMAL = 0x000E;
constexpr LCTYPE LOCALE_STHOUSAND = 0x000F;
constexpr LCTYPE LOCALE_SDATE = 0x001D;
constexpr LCTYPE LOCALE_STIME = 0x001E;
constexpr LCTYPE LOCALE_SSHORTDATE = 0x001F;
constexpr LCTYPE LOCALE_SLONGDATE = 0x0020;
constexpr LCTYPE LOCALE_S1159 = 0x0028;
constexpr LCTYPE LOCALE_S2359 = 0x0029;
constexpr LCTYPE LOCALE_SDAYNAME1 = 0x002A;  // Monday … LOCALE_SDAYNAME7 = Sunday
constexpr LCTYPE LOCALE_SABBREVDAYNAME1 = 0x0031;
constexpr LCTYPE LOCALE_SMONTHNAME1 = 0x0038;  // … LOCALE_SMONTHNAME12 = 0x43
constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x0044;
constexpr LCTYPE LOCALE_SISO639LANGNAME = 0x0059;
constexpr LCTYPE LOCALE_SISO3166CTRYNAME = 0x005A;
constexpr LCTYPE LOCALE_SNAME = 0x005C;
constexpr LCTYPE LOCALE_STIMEFORMAT = 0x1003;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x1004;

constexpr DWORD DATE_SHORTDATE = 0x1;
constexpr DWORD DATE_LONGDATE = 0x2;
constexpr DWORD TIME_NOMINUTESORSECONDS = 0x1;
constexpr DWORD TIME_NOSECONDS = 0x2;
constexpr DWORD TIME_NOTIMEMARKER = 0x4;
constexpr DWORD TIME_FORCE24HOURFORMAT = 0x8;

constexpr DWORD ERROR_INVALID_FLAGS = 1004;

// Characters written including the NUL (or needed, when `size` is 0); 0 with
// ERROR_INSUFFICIENT_BUFFER or ERROR_INVALID_FLAGS on failure. The code pages read "65001": this
// platform's 8-bit text is UTF-8 whatever the language.
int GetLocaleInfoW(LCID locale, LCTYPE type, WCHAR* data, int size);

// Formats `time` (null: now, local) with a picture (null: the locale's short or long date,
// or its time format). Date pictures: d dd ddd dddd M MM MMM MMMM y yy yyyy; time pictures:
// h hh H HH m mm s ss t tt; text in single quotes is copied. Same size protocol as above.
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, const WCHAR* format, WCHAR* date, int size);
int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, const WCHAR* format, WCHAR* text, int size);

}  // namespace kestrel::platform
