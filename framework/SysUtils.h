#pragma once
// Small text, number and path helpers with the framework's well-known behaviour. Text is UTF-16;
// case folding is ordinal (ASCII and Latin-1 letters), never locale dependent, so results are the
// same on every machine. Numbers use '.' as the decimal separator.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "framework/FormatArg.h"
#include "platform/core/Unicode.h"

namespace kestrel {

// Format with %[index:][-][width][.precision]type, types d u x s f g e n m p and %%. A bad format
// or an argument of the wrong kind raises EConvertError
// "Format '%s' invalid or incompatible with argument".
String Format(std::u16string_view format, std::initializer_list<TFormatArg> args);
// Same, but a bad format leaves the format text as it stands (for messages built in handlers).
String FmtStr(std::u16string_view format, std::initializer_list<TFormatArg> args);

String IntToStr(std::int64_t value);
String UIntToStr(std::uint64_t value);
// Upper-case hexadecimal with at least `digits` digits.
String IntToHex(std::uint64_t value, int digits);
// Decimal with an optional sign, or hexadecimal after '$', "0x"/"0X" or 'x'; blanks around are
// not allowed. Out of range is a failure, not a wrap.
bool TryStrToInt(std::u16string_view text, int& value);
bool TryStrToInt64(std::u16string_view text, std::int64_t& value);
// EConvertError "'%s' is not a valid integer value".
int StrToInt(std::u16string_view text);
std::int64_t StrToInt64(std::u16string_view text);
int StrToIntDef(std::u16string_view text, int defaultValue);
std::int64_t StrToInt64Def(std::u16string_view text, std::int64_t defaultValue);

// Shortest text that reads back to the same double (at most 15 significant digits, general
// format: "1.5", "100", "1E20", "1.5E-5").
String FloatToStr(double value);
bool TryStrToFloat(std::u16string_view text, double& value);
// EConvertError "'%s' is not a valid floating point value".
double StrToFloat(std::u16string_view text);
double StrToFloatDef(std::u16string_view text, double defaultValue);

// Rounds half to even (2.5 -> 2, 3.5 -> 4). NaN, infinities and values outside the 64-bit range
// raise EInvalidOp "Invalid floating point operation" instead of producing an undefined value.
std::int64_t Round(double value);
bool TryRound(double value, std::int64_t& result);

// The 80-bit extended format of stored floats (10 bytes, little endian: 64-bit mantissa with
// an explicit integer bit, 15-bit exponent, sign). Conversion to double rounds to nearest even
// and turns values beyond its range into infinity or zero.
void DoubleToExtended(double value, std::uint8_t out[10]);
double ExtendedToDouble(const std::uint8_t in[10]);

// "True"/"False" (or "-1"/"0" when useBoolStrs is false).
String BoolToStr(bool value, bool useBoolStrs = true);
// "True"/"False" in any case, or a number (non-zero is true).
bool TryStrToBool(std::u16string_view text, bool& value);
// EConvertError "'%s' is not a valid boolean value".
bool StrToBool(std::u16string_view text);
bool StrToBoolDef(std::u16string_view text, bool defaultValue);

// Trimming removes characters up to and including the space (codes <= 32).
String Trim(std::u16string_view text);
String TrimLeft(std::u16string_view text);
String TrimRight(std::u16string_view text);

char16_t UpCase(char16_t c);
char16_t LowCase(char16_t c);
String UpperCase(std::u16string_view text);
String LowerCase(std::u16string_view text);
// Ordinal comparison ignoring case: < 0, 0 or > 0.
int CompareText(std::u16string_view a, std::u16string_view b);
// Ordinal comparison of code units.
int CompareStr(std::u16string_view a, std::u16string_view b);
bool SameText(std::u16string_view a, std::u16string_view b);

// `quote` + text with every `quote` doubled + `quote`.
String AnsiQuotedStr(std::u16string_view text, char16_t quote);
String QuotedStr(std::u16string_view text);
// The inverse of AnsiQuotedStr: the text unchanged when it does not start with `quote`.
String AnsiDequotedStr(std::u16string_view text, char16_t quote);

// Paths: the delimiter is '/'.
constexpr char16_t PathDelim = u'/';
String IncludeTrailingPathDelimiter(std::u16string_view path);
String ExcludeTrailingPathDelimiter(std::u16string_view path);
String ExtractFilePath(std::u16string_view fileName);  // with the trailing delimiter
String ExtractFileDir(std::u16string_view fileName);   // without it
String ExtractFileName(std::u16string_view fileName);
String ExtractFileExt(std::u16string_view fileName);  // with the dot, "" when there is none
String ChangeFileExt(std::u16string_view fileName, std::u16string_view extension);
bool FileExists(std::u16string_view fileName);  // a file, not a directory
bool DirectoryExists(std::u16string_view directory);
bool ForceDirectories(std::u16string_view directory);
bool DeleteFile(std::u16string_view fileName);

// A readable message for an errno value ("No such file or directory").
String SysErrorMessage(int error);

}  // namespace kestrel
