#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/Exceptions.h"
#include "framework/SysUtils.h"

namespace kestrel {
namespace {

TEST(Format, IntegersStringsFloatsAndIndexes) {
  EXPECT_EQ(Format(u"%d items, %s", {3, u"ok"}), u"3 items, ok");
  EXPECT_EQ(Format(u"%.5d|%5d|%-5d|", {42, -7, 1}), u"00042|   -7|1    |");
  EXPECT_EQ(Format(u"%x %4X", {255u, 10}), u"FF    A");
  EXPECT_EQ(Format(u"%1:s %0:s %s", {u"a", u"b"}), u"b a b");
  EXPECT_EQ(Format(u"%.2f %f %n", {3.14159, 2.0, 1234567.891}), u"3.14 2.00 1,234,567.89");
  EXPECT_EQ(Format(u"%g %e", {0.5, 1234.5}), u"0.5 1.23450000000000E+003");
  EXPECT_EQ(Format(u"100%%", {}), u"100%");
  EXPECT_EQ(Format(u"%.3s", {u"abcdef"}), u"abc");
  EXPECT_EQ(Format(u"%*d", {4, 7}), u"   7");
}

TEST(Format, BadFormatsRaiseButFmtStrKeepsTheText) {
  EXPECT_THROW(Format(u"%d", {u"text"}), EConvertError);
  EXPECT_THROW(Format(u"%s %s", {u"one"}), EConvertError);
  EXPECT_THROW(Format(u"%q", {1}), EConvertError);
  EXPECT_THROW(Format(u"50%", {}), EConvertError);
  EXPECT_EQ(FmtStr(u"List index out of bounds (%d)", {}), u"List index out of bounds (%d)");
  EXPECT_EQ(Exception(u"%s: bad", {u"x"}).Message(), u"x: bad");
}

TEST(Conversions, IntegersAcceptDecimalAndHexAndRejectOverflow) {
  EXPECT_EQ(StrToInt(u"-123"), -123);
  EXPECT_EQ(StrToInt(u"+7"), 7);
  EXPECT_EQ(StrToInt(u"$FF"), 255);
  EXPECT_EQ(StrToInt(u"0x10"), 16);
  EXPECT_EQ(StrToInt(u"$FFFFFFFF"), -1);  // hex spells the bit pattern
  EXPECT_EQ(StrToInt(u"-2147483648"), INT32_MIN);
  int v = 5;
  EXPECT_FALSE(TryStrToInt(u"2147483648", v));
  EXPECT_FALSE(TryStrToInt(u"$100000000", v));
  EXPECT_FALSE(TryStrToInt(u" 1", v));
  EXPECT_FALSE(TryStrToInt(u"", v));
  EXPECT_FALSE(TryStrToInt(u"-", v));
  EXPECT_EQ(v, 5);
  EXPECT_EQ(StrToIntDef(u"x", 9), 9);
  EXPECT_EQ(StrToInt64(u"9223372036854775807"), INT64_MAX);
  try {
    StrToInt(u"12a");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'12a' is not a valid integer value");
  }
  EXPECT_EQ(IntToHex(0xAB, 4), u"00AB");
  EXPECT_EQ(IntToStr(INT64_MIN), u"-9223372036854775808");
}

TEST(Conversions, FloatsUseTheInvariantGeneralFormat) {
  EXPECT_EQ(FloatToStr(1.5), u"1.5");
  EXPECT_EQ(FloatToStr(100), u"100");
  EXPECT_EQ(FloatToStr(-0.25), u"-0.25");
  EXPECT_EQ(FloatToStr(1e20), u"1E20");
  EXPECT_EQ(FloatToStr(1.5e-5), u"1.5E-5");
  EXPECT_EQ(FloatToStr(0.0001), u"0.0001");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), u"0.3");  // 15 significant digits
  EXPECT_EQ(FloatToStr(123456789012345.0), u"123456789012345");
  EXPECT_DOUBLE_EQ(StrToFloat(u"1.5E-5"), 1.5e-5);
  EXPECT_DOUBLE_EQ(StrToFloat(u" -2.5 "), -2.5);
  double d;
  EXPECT_FALSE(TryStrToFloat(u"1,5", d));
  EXPECT_FALSE(TryStrToFloat(u"nan", d));
  EXPECT_FALSE(TryStrToFloat(u"+-1", d));
  EXPECT_THROW(StrToFloat(u"abc"), EConvertError);
  EXPECT_TRUE(StrToBool(u"TRUE"));
  EXPECT_FALSE(StrToBool(u"0"));
  EXPECT_TRUE(StrToBool(u"-1"));
  EXPECT_THROW(StrToBool(u"yes"), EConvertError);
}

TEST(Conversions, RoundHalfToEvenAndRefuseWhatDoesNotFit) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(-2.6), -3);
  EXPECT_EQ(Round(0.49999999999999994), 0);
  EXPECT_THROW(Round(1e300), EInvalidOp);
  EXPECT_THROW(Round(std::nan("")), EInvalidOp);
  EXPECT_THROW(Round(9223372036854775808.0), EInvalidOp);
  EXPECT_EQ(Round(-9223372036854775808.0), INT64_MIN);
}

TEST(Conversions, ExtendedFloatsRoundTripThroughTenBytes) {
  std::uint8_t b[10];
  DoubleToExtended(1.0, b);
  const std::uint8_t one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  EXPECT_TRUE(std::equal(b, b + 10, one));
  DoubleToExtended(-2.0, b);
  EXPECT_EQ(b[9], 0xC0);
  EXPECT_EQ(b[8], 0x00);
  for (double v : {0.0, -0.0, 1.5, -3.141592653589793, 1e-310, 4.9e-324, 1.7976931348623157e308,
                   std::numeric_limits<double>::infinity(), 123456.789}) {
    DoubleToExtended(v, b);
    double back = ExtendedToDouble(b);
    EXPECT_EQ(back, v);
    EXPECT_EQ(std::signbit(back), std::signbit(v));
  }
  DoubleToExtended(std::nan(""), b);
  EXPECT_TRUE(std::isnan(ExtendedToDouble(b)));
  // Beyond the range of double: infinity and zero, not garbage.
  const std::uint8_t huge[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F - 1};
  EXPECT_TRUE(std::isinf(ExtendedToDouble(huge)));
  const std::uint8_t tiny[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00};
  EXPECT_EQ(ExtendedToDouble(tiny), 0.0);
  // 1 + 2^-60 rounds to 1 in double.
  const std::uint8_t nearOne[10] = {0x08, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  EXPECT_EQ(ExtendedToDouble(nearOne), 1.0);
}

TEST(TextHelpers, TrimCaseAndQuotes) {
  EXPECT_EQ(Trim(u"\t a b \r\n"), u"a b");
  EXPECT_EQ(TrimLeft(u"  x "), u"x ");
  EXPECT_EQ(UpperCase(u"abcäz"), u"ABCÄZ");
  EXPECT_EQ(LowerCase(u"ÄBC"), u"äbc");
  EXPECT_TRUE(SameText(u"Kestrel", u"KESTREL"));
  EXPECT_LT(CompareText(u"apple", u"Banana"), 0);
  EXPECT_GT(CompareStr(u"apple", u"Banana"), 0);
  EXPECT_EQ(QuotedStr(u"it's"), u"'it''s'");
  EXPECT_EQ(AnsiDequotedStr(u"'it''s' tail", u'\''), u"it's");
}

TEST(PathHelpers, SplitAndJoin) {
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"/tmp"), u"/tmp/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"/tmp/"), u"/tmp/");
  EXPECT_EQ(ExtractFilePath(u"/a/b/c.txt"), u"/a/b/");
  EXPECT_EQ(ExtractFileDir(u"/a/b/c.txt"), u"/a/b");
  EXPECT_EQ(ExtractFileName(u"/a/b/c.txt"), u"c.txt");
  EXPECT_EQ(ExtractFileExt(u"/a/b.d/c"), u"");
  EXPECT_EQ(ExtractFileExt(u"c.tar.gz"), u".gz");
  EXPECT_EQ(ChangeFileExt(u"/a/b.d/c", u".ini"), u"/a/b.d/c.ini");
  EXPECT_EQ(ChangeFileExt(u"x.exe", u".ini"), u"x.ini");
  EXPECT_TRUE(DirectoryExists(u"/tmp"));
  EXPECT_FALSE(FileExists(u"/tmp"));
}

}  // namespace
}  // namespace kestrel
