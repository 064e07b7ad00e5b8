#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/os/CodePage.h"
#include "platform/os/Language.h"
#include "platform/os/OsErrors.h"

using namespace kestrel::platform;

namespace {

TEST(CodePageTest, AnsiIsUtf8AndRoundTripsEverything) {
  EXPECT_EQ(GetACP(), CP_UTF8);
  const char16_t text[] = u"Grüße € \U0001F600";
  int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  ASSERT_EQ(bytes, 17);  // 6 ASCII, ü and ß 2 each, € 3, the emoji 4, and the NUL
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), bytes, nullptr, nullptr), bytes);
  EXPECT_EQ(narrow, std::string("Grüße € \xF0\x9F\x98\x80", 16) + '\0');

  int chars = MultiByteToWideChar(CP_ACP, 0, narrow.data(), -1, nullptr, 0);
  ASSERT_EQ(chars, static_cast<int>(std::char_traits<char16_t>::length(text)) + 1);
  std::u16string wide(static_cast<std::size_t>(chars), u'\0');
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, narrow.data(), -1, wide.data(), chars), chars);
  EXPECT_EQ(wide, std::u16string(text, static_cast<std::size_t>(chars)));
}

TEST(CodePageTest, BufferAndValidityRules) {
  char small[3];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"abcd", 4, small, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  BOOL used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, small, 3, "?", &used), 0);  // not for UTF-8
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  const char bad[] = "a\xC3(b\xF0\x9F";  // broken sequences, one truncated at the end
  WCHAR wide[16];
  int n = MultiByteToWideChar(CP_UTF8, 0, bad, 6, wide, 16);
  EXPECT_EQ(std::u16string(wide, static_cast<std::size_t>(n)), u"a\xFFFD(b\xFFFD\xFFFD");
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bad, 6, wide, 16), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xED\xA0\x80", 3, wide, 16), 0);  // encoded surrogate

  const char16_t lone[] = {u'x', 0xD800, u'y'};
  char out[16];
  n = WideCharToMultiByte(CP_UTF8, 0, lone, 3, out, 16, nullptr, nullptr);
  EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), "x\xEF\xBF\xBDy");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 3, out, 16, nullptr, nullptr), 0);
}

TEST(CodePageTest, Windows1252MapsItsPunctuationAndMarksLosses) {
  char out[8];
  BOOL used = TRUE;
  int n = WideCharToMultiByte(CP_WINDOWS_1252, 0, u"€é\x2014", 3, out, 8, nullptr, &used);
  EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), "\x80\xE9\x97");
  EXPECT_FALSE(used);
  n = WideCharToMultiByte(CP_WINDOWS_1252, 0, u"a\x0416\U0001F600", 4, out, 8, "_", &used);
  EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), "a__");  // a surrogate pair is one character
  EXPECT_TRUE(used);
  WCHAR wide[4];
  n = MultiByteToWideChar(CP_WINDOWS_1252, 0, "\x80\x81\xFF", 3, wide, 4);
  EXPECT_EQ(std::u16string(wide, static_cast<std::size_t>(n)), u"\x20AC\x0081\x00FF");
}

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = ::getenv(name);
      saved_.emplace_back(value ? value : "", value != nullptr);
      ::unsetenv(name);
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i].second) ::setenv(kNames[i], saved_[i].first.c_str(), 1);
      else ::unsetenv(kNames[i]);
    }
  }
  static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::pair<std::string, bool>> saved_;
};

TEST_F(LanguageTest, LocaleNamesMapToWindowsLanguageIds) {
  struct Case {
    const char* locale;
    LANGID id;
  } cases[] = {{"de_DE.UTF-8", 0x0407}, {"de_AT", 0x0C07}, {"de_CH.utf8", 0x0807}, {"de_LU", 0x1007},
               {"de_LI", 0x1407},       {"de", 0x0407},    {"de_BE", 0x0407},      {"en_US.UTF-8", 0x0409},
               {"en_GB@euro", 0x0809},  {"fr_FR", 0x040C}, {"fr_CA", 0x0C0C},      {"pt_BR", 0x0416},
               {"pt_PT", 0x0816},       {"es_ES", 0x0C0A}, {"zh_TW", 0x0404},      {"nl-BE", 0x0813},
               {"C", 0x0409},           {"POSIX", 0x0409}, {"C.UTF-8", 0x0409},    {"", 0x0409},
               {"xx_YY", 0x0409}};
  for (const Case& c : cases) EXPECT_EQ(LangIdFromLocaleName(c.locale), c.id) << c.locale;
  EXPECT_EQ(PRIMARYLANGID(0x0C07), LANG_GERMAN);
  EXPECT_EQ(SUBLANGID(0x0C07), SUBLANG_GERMAN_AUSTRIAN);
  EXPECT_EQ(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS), 0x0807);
}

TEST_F(LanguageTest, EnvironmentPrecedenceIsLanguageThenLcAllThenMessagesThenLang) {
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0409);  // nothing set
  ::setenv("LANG", "fr_FR.UTF-8", 1);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x040C);
  ::setenv("LC_MESSAGES", "de_AT.UTF-8", 1);
  EXPECT_EQ(GetUserDefaultLangID(), 0x0C07);
  ::setenv("LC_ALL", "en_GB.UTF-8", 1);
  EXPECT_EQ(GetUserDefaultUILanguage(), 0x0809);
  ::setenv("LANGUAGE", "de_CH:en", 1);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0807);
  ::setenv("LANGUAGE", "", 1);  // empty counts as unset
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0809);
  EXPECT_EQ(GetUserDefaultLCID(), 0x0809u);
}

}  // namespace
