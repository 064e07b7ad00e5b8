#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/os/Environment.h"
#include "platform/os/OsErrors.h"

using namespace kestrel::platform;

namespace {

std::u16string Expand(const char16_t* text, DWORD size = 1024) {
  std::u16string buffer(size, u'#');
  DWORD needed = ExpandEnvironmentStringsW(text, buffer.data(), size);
  if (needed == 0 || needed > size) return u"<" + std::u16string(needed > size ? u"too small" : u"failed") + u">";
  EXPECT_EQ(buffer[needed - 1], u'\0');
  return buffer.substr(0, needed - 1);
}

class EnvironmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("KestrelMixed", "mixed value", 1);
    ::setenv("KESTREL_EMPTY", "", 1);
  }
  void TearDown() override {
    ::unsetenv("KestrelMixed");
    ::unsetenv("KESTREL_EMPTY");
    ::unsetenv("KESTREL_NEW");
    SetTempVariableFallback(true);
  }
};

TEST_F(EnvironmentTest, LookupIgnoresCaseAndFollowsTheBufferProtocol) {
  WCHAR buffer[32];
  EXPECT_EQ(GetEnvironmentVariableW(u"KESTRELMIXED", buffer, 32), 11u);
  EXPECT_EQ(std::u16string(buffer), u"mixed value");
  EXPECT_EQ(GetEnvironmentVariableW(u"kestrelmixed", buffer, 11), 12u);  // no room for the NUL
  EXPECT_EQ(GetEnvironmentVariableW(u"kestrelmixed", nullptr, 0), 12u);
  EXPECT_EQ(GetEnvironmentVariableW(u"KESTREL_MISSING", buffer, 32), 0u);
  EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);

  // Setting through another spelling changes the existing variable instead of adding a twin.
  ASSERT_TRUE(SetEnvironmentVariableW(u"KESTRELMIXED", u"changed"));
  EXPECT_STREQ(::getenv("KestrelMixed"), "changed");
  EXPECT_EQ(::getenv("KESTRELMIXED"), nullptr);
  ASSERT_TRUE(SetEnvironmentVariableW(u"kestrelMIXED", nullptr));
  EXPECT_EQ(::getenv("KestrelMixed"), nullptr);
  EXPECT_FALSE(SetEnvironmentVariableW(u"A=B", u"x"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(EnvironmentTest, ExpansionReplacesKnownNamesOnly) {
  EXPECT_EQ(Expand(u"[%kestrelmixed%]"), u"[mixed value]");
  EXPECT_EQ(Expand(u"%KESTREL_EMPTY%|"), u"|");
  EXPECT_EQ(Expand(u"%KESTREL_UNKNOWN%"), u"%KESTREL_UNKNOWN%");
  // An unknown name gives its closing '%' a chance to open the next reference.
  EXPECT_EQ(Expand(u"%KESTREL_UNKNOWN%KestrelMixed%"), u"%KESTREL_UNKNOWNmixed value");
  EXPECT_EQ(Expand(u"100%"), u"100%");
  EXPECT_EQ(Expand(u"%%"), u"%%");
  EXPECT_EQ(Expand(u"50% of %KestrelMixed"), u"50% of %KestrelMixed");
  EXPECT_EQ(Expand(u""), u"");
}

TEST_F(EnvironmentTest, ExpansionReportsTheSizeNeededWhenTheBufferIsShort) {
  // "mixed value" + NUL = 12 characters.
  EXPECT_EQ(ExpandEnvironmentStringsW(u"%KestrelMixed%", nullptr, 0), 12u);
  std::u16string buffer(11, u'#');
  EXPECT_EQ(ExpandEnvironmentStringsW(u"%KestrelMixed%", buffer.data(), 11), 12u);
  EXPECT_EQ(buffer, std::u16string(11, u'#'));  // untouched
  EXPECT_EQ(Expand(u"%KestrelMixed%", 12), u"mixed value");
  EXPECT_EQ(ExpandEnvironmentStringsW(nullptr, nullptr, 0), 0u);
}

TEST_F(EnvironmentTest, TempFallsBackToTmpdirThenSlashTmp) {
  const char* savedTemp = ::getenv("TEMP");
  const char* savedTmp = ::getenv("TMP");
  const char* savedTmpdir = ::getenv("TMPDIR");
  std::string temp = savedTemp ? savedTemp : "", tmp = savedTmp ? savedTmp : "",
              tmpdir = savedTmpdir ? savedTmpdir : "";
  ::unsetenv("TEMP");
  ::unsetenv("TMP");

  ::setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(Expand(u"%temp%"), u"/var/tmp");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(Expand(u"%Tmp%"), u"/tmp");
  ::setenv("TEMP", "/custom", 1);
  EXPECT_EQ(Expand(u"%temp%"), u"/custom");
  ::unsetenv("TEMP");
  SetTempVariableFallback(false);
  EXPECT_EQ(Expand(u"%temp%"), u"%temp%");

  if (savedTemp) ::setenv("TEMP", temp.c_str(), 1);
  if (savedTmp) ::setenv("TMP", tmp.c_str(), 1);
  if (savedTmpdir) ::setenv("TMPDIR", tmpdir.c_str(), 1);
}

}  // namespace
