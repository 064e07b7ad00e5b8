#include <gtest/gtest.h>

#include <string>

#include "platform/os/Locale.h"
#include "platform/os/OsErrors.h"

using namespace kestrel::platform;

namespace {

constexpr LCID kGerman = 0x0407, kEnglishUs = 0x0409, kEnglishUk = 0x0809, kSwiss = 0x0807;

std::u16string Info(LCID locale, LCTYPE type) {
  WCHAR buffer[80];
  int n = GetLocaleInfoW(locale, type, buffer, 80);
  return n > 0 ? std::u16string(buffer, static_cast<std::size_t>(n - 1)) : u"<failed>";
}

std::u16string Date(LCID locale, DWORD flags, const SYSTEMTIME& t, const char16_t* format = nullptr) {
  WCHAR buffer[80];
  int n = GetDateFormatW(locale, flags, &t, format, buffer, 80);
  return n > 0 ? std::u16string(buffer, static_cast<std::size_t>(n - 1)) : u"<failed>";
}

std::u16string Time(LCID locale, DWORD flags, const SYSTEMTIME& t, const char16_t* format = nullptr) {
  WCHAR buffer[80];
  int n = GetTimeFormatW(locale, flags, &t, format, buffer, 80);
  return n > 0 ? std::u16string(buffer, static_cast<std::size_t>(n - 1)) : u"<failed>";
}

// Tuesday, 5 March 2024, 14:07:09.
constexpr SYSTEMTIME kMoment = {2024, 3, 2, 5, 14, 7, 9, 0};

TEST(LocaleTest, RegionalSettingsFollowTheLanguage) {
  EXPECT_EQ(Info(kGerman, LOCALE_SDECIMAL), u",");
  EXPECT_EQ(Info(kGerman, LOCALE_STHOUSAND), u".");
  EXPECT_EQ(Info(kEnglishUs, LOCALE_SDECIMAL), u".");
  EXPECT_EQ(Info(kSwiss, LOCALE_SDECIMAL), u".");
  EXPECT_EQ(Info(0x0C07, LOCALE_SNAME), u"de-AT");
  EXPECT_EQ(Info(0x1007, LOCALE_SSHORTDATE), u"dd.MM.yyyy");  // de-LU borrows the German entry
  EXPECT_EQ(Info(0x0411, LOCALE_SDECIMAL), u".");             // no entry: US English
  EXPECT_EQ(Info(kGerman, LOCALE_SDAYNAME1), u"Montag");
  EXPECT_EQ(Info(kGerman, LOCALE_SDAYNAME1 + 6), u"Sonntag");
  EXPECT_EQ(Info(kGerman, LOCALE_SMONTHNAME1 + 2), u"März");
  EXPECT_EQ(Info(kEnglishUs, LOCALE_SABBREVMONTHNAME1 + 8), u"Sep");
  EXPECT_EQ(Info(kEnglishUs, LOCALE_IDEFAULTANSICODEPAGE), u"65001");

  DWORD number = 0;
  EXPECT_EQ(GetLocaleInfoW(kGerman, LOCALE_ILANGUAGE | LOCALE_RETURN_NUMBER, reinterpret_cast<WCHAR*>(&number), 2), 2);
  EXPECT_EQ(number, 0x0407u);
  EXPECT_EQ(GetLocaleInfoW(kGerman, LOCALE_SDECIMAL | LOCALE_RETURN_NUMBER, reinterpret_cast<WCHAR*>(&number), 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_EQ(GetLocaleInfoW(kGerman, 0x7777, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_EQ(GetLocaleInfoW(kGerman, LOCALE_SLONGDATE, nullptr, 0), 19);  // "dddd, d. MMMM yyyy" + NUL
  WCHAR small[4];
  EXPECT_EQ(GetLocaleInfoW(kGerman, LOCALE_SLONGDATE, small, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(LocaleTest, DatesAndTimesUseTheLocalePictures) {
  EXPECT_EQ(Date(kGerman, DATE_SHORTDATE, kMoment), u"05.03.2024");
  EXPECT_EQ(Date(kGerman, DATE_LONGDATE, kMoment), u"Dienstag, 5. März 2024");
  EXPECT_EQ(Date(kEnglishUs, DATE_SHORTDATE, kMoment), u"3/5/2024");
  EXPECT_EQ(Date(kEnglishUs, DATE_LONGDATE, kMoment), u"Tuesday, March 5, 2024");
  EXPECT_EQ(Date(kEnglishUk, 0, kMoment, u"ddd d MMM yy 'at' ''home''"), u"Tue 5 Mar 24 at 'home'");

  EXPECT_EQ(Time(kGerman, 0, kMoment), u"14:07:09");
  EXPECT_EQ(Time(kEnglishUs, 0, kMoment), u"2:07:09 PM");
  EXPECT_EQ(Time(kEnglishUs, TIME_NOSECONDS, kMoment), u"2:07 PM");
  EXPECT_EQ(Time(kEnglishUs, TIME_FORCE24HOURFORMAT, kMoment), u"14:07:09");
  EXPECT_EQ(Time(kEnglishUs, TIME_NOMINUTESORSECONDS | TIME_NOTIMEMARKER, kMoment), u"2");
  SYSTEMTIME midnight = kMoment;
  midnight.wHour = 0;
  EXPECT_EQ(Time(kEnglishUs, 0, midnight, u"hh:mm t"), u"12:07 A");
}

}  // namespace
