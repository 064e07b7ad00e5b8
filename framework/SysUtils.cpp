#include "framework/SysUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "framework/Exceptions.h"

namespace kestrel {

namespace {

String Ascii(std::string_view text) { return String(text.begin(), text.end()); }

std::string Narrow(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '\x7f');
  return out;
}

// Digits and decimal exponent of |value| rounded to `precision` significant digits:
// value = 0.d1d2d3... * 10^exponent.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

Decimal ToDecimal(double value, int precision) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, precision - 1);
  std::string s(buf, res.ptr);
  Decimal d;
  auto e = s.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (s[i] != '.') d.digits.push_back(s[i]);
  d.exponent = std::stoi(s.substr(e + 1)) + 1;
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits == "0") d.exponent = 0;
  return d;
}

// General format: fixed unless the exponent is too large or the value too small.
std::string GeneralFormat(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  Decimal d = ToDecimal(value, precision);
  std::string out = value < 0 ? "-" : "";
  if (d.exponent > precision || d.exponent < -3) {
    out += d.digits[0];
    if (d.digits.size() > 1) out += "." + d.digits.substr(1);
    out += "E" + std::to_string(d.exponent - 1);
  } else if (d.exponent <= 0) {
    out += "0." + std::string(-d.exponent, '0') + d.digits;
  } else if (static_cast<int>(d.digits.size()) <= d.exponent) {
    out += d.digits + std::string(d.exponent - d.digits.size(), '0');
  } else {
    out += d.digits.substr(0, d.exponent) + "." + d.digits.substr(d.exponent);
  }
  return out;
}

std::string FixedFormat(double value, int decimals, bool thousands) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string s(buf, res.ptr);
  if (!thousands) return s;
  std::size_t start = s[0] == '-' ? 1 : 0;
  std::size_t dot = s.find('.');
  if (dot == std::string::npos) dot = s.size();
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(dot) - 3; i > static_cast<std::ptrdiff_t>(start); i -= 3)
    s.insert(static_cast<std::size_t>(i), ",");
  return s;
}

// Scientific as the framework writes it: "1.23450000000000E+003" (precision digits, sign and at
// least three exponent digits).
std::string ScientificFormat(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, std::max(0, precision - 1));
  std::string s(buf, res.ptr);
  auto e = s.find('e');
  std::string mantissa = s.substr(0, e);
  int exponent = std::stoi(s.substr(e + 1));
  std::string exp = std::to_string(std::abs(exponent));
  while (exp.size() < 3) exp.insert(0, "0");
  return mantissa + "E" + (exponent < 0 ? "-" : "+") + exp;
}

[[noreturn]] void FormatError(std::u16string_view format) {
  throw EConvertError(u"Format '%s' invalid or incompatible with argument", {format});
}

std::string HexDigits(std::uint64_t value) {
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, value, 16);
  std::string s(buf, res.ptr);
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string IntegerDigits(const TFormatArg& arg, char type, std::u16string_view format) {
  using K = TFormatArg::Kind;
  if (arg.GetKind() != K::Integer && arg.GetKind() != K::Unsigned && arg.GetKind() != K::Pointer) FormatError(format);
  bool isSigned = arg.GetKind() == K::Integer;
  if (type == 'x') return HexDigits(isSigned ? static_cast<std::uint64_t>(arg.Int()) : arg.UInt());
  if (type == 'u' && isSigned) return std::to_string(static_cast<std::uint32_t>(arg.Int()));
  return isSigned ? std::to_string(arg.Int()) : std::to_string(arg.UInt());
}

double FloatArg(const TFormatArg& arg, std::u16string_view format) {
  switch (arg.GetKind()) {
    case TFormatArg::Kind::Float: return arg.Float();
    case TFormatArg::Kind::Integer: return static_cast<double>(arg.Int());
    case TFormatArg::Kind::Unsigned: return static_cast<double>(arg.UInt());
    default: FormatError(format);
  }
}

// One "%[index:][-][width][.precision]type" directive and the argument it formats.
struct FormatDirective {
  bool left = false;
  int width = -1;
  int precision = -1;
  char type = 0;  // lower case; 0 for a character outside ASCII
  const TFormatArg* arg = nullptr;
};

// Walks a format string: its literal characters, and its directives with the arguments they
// take (in turn, or from an explicit index on).
class FormatScanner {
 public:
  FormatScanner(std::u16string_view format, std::initializer_list<TFormatArg> args)
      : format_(format), argv_(args.begin()), argc_(args.size()) {}

  bool AtEnd() const { return i_ >= format_.size(); }
  char16_t Take() { return format_[i_++]; }
  bool TakeIf(char16_t c) {
    if (!Next(c)) return false;
    ++i_;
    return true;
  }

  // The directive after its '%'.
  FormatDirective ReadDirective() {
    FormatDirective directive;
    ReadIndex();
    directive.left = TakeIf(u'-');
    if (TakeIf(u'*')) directive.width = TakeCountArgument();
    else if (int width; ReadNumber(width)) directive.width = width;
    if (TakeIf(u'.')) {
      if (TakeIf(u'*')) directive.precision = TakeCountArgument();
      else ReadNumber(directive.precision);  // "%.s": precision 0
    }
    if (AtEnd() || next_ >= argc_) FormatError(format_);
    const char16_t type = Take();
    directive.type = static_cast<char>(std::tolower(type < 128 ? static_cast<int>(type) : 0));
    directive.arg = &argv_[next_++];
    return directive;
  }

 private:
  bool Next(char16_t c) const { return i_ < format_.size() && format_[i_] == c; }

  // Decimal digits (capped); false, with n 0, when there are none.
  bool ReadNumber(int& n) {
    bool any = false;
    n = 0;
    while (i_ < format_.size() && format_[i_] >= u'0' && format_[i_] <= u'9') {
      n = std::min(n * 10 + (format_[i_] - u'0'), 100000);
      ++i_;
      any = true;
    }
    return any;
  }

  // "n:" sets the argument the directive (and those after it) start from.
  void ReadIndex() {
    const std::size_t mark = i_;
    if (int index; ReadNumber(index) && TakeIf(u':')) next_ = static_cast<std::size_t>(index);
    else i_ = mark;
  }

  // A width or precision given as "*": the next argument, an integer.
  int TakeCountArgument() {
    if (next_ >= argc_ || argv_[next_].GetKind() != TFormatArg::Kind::Integer) FormatError(format_);
    return static_cast<int>(std::clamp<std::int64_t>(argv_[next_++].Int(), 0, 100000));
  }

  std::u16string_view format_;
  const TFormatArg* argv_;
  std::size_t argc_;
  std::size_t i_ = 0;
  std::size_t next_ = 0;
};

String IntegerPiece(const FormatDirective& directive, std::u16string_view format) {
  std::string digits = IntegerDigits(*directive.arg, directive.type, format);
  const bool negative = !digits.empty() && digits[0] == '-';
  if (negative) digits.erase(0, 1);
  if (directive.precision > 0 && static_cast<int>(digits.size()) < directive.precision)
    digits.insert(0, directive.precision - digits.size(), '0');
  return Ascii((negative ? "-" : "") + digits);
}

String TextPiece(const FormatDirective& directive, std::u16string_view format) {
  if (directive.arg->GetKind() != TFormatArg::Kind::Text) FormatError(format);
  String piece = directive.arg->Text();
  if (directive.precision >= 0 && static_cast<std::size_t>(directive.precision) < piece.size())
    piece.resize(directive.precision);
  return piece;
}

String FloatPiece(const FormatDirective& directive, std::u16string_view format) {
  const double value = FloatArg(*directive.arg, format);
  const int precision = directive.precision;
  switch (directive.type) {
    case 'f': return Ascii(FixedFormat(value, precision < 0 ? 2 : std::min(precision, 18), false));
    case 'n':
    case 'm': return Ascii(FixedFormat(value, precision < 0 ? 2 : std::min(precision, 18), true));
    case 'g': return Ascii(GeneralFormat(value, precision <= 0 || precision > 17 ? 15 : precision));
    default: return Ascii(ScientificFormat(value, precision <= 0 || precision > 18 ? 15 : precision));
  }
}

String PointerPiece(const FormatDirective& directive, std::u16string_view format) {
  if (directive.arg->GetKind() != TFormatArg::Kind::Pointer) FormatError(format);
  std::string digits = HexDigits(directive.arg->UInt());
  digits.insert(0, sizeof(void*) * 2 - std::min(digits.size(), sizeof(void*) * 2), '0');
  return Ascii(digits);
}

String DirectivePiece(const FormatDirective& directive, std::u16string_view format) {
  switch (directive.type) {
    case 'd':
    case 'u':
    case 'x': return IntegerPiece(directive, format);
    case 's': return TextPiece(directive, format);
    case 'f':
    case 'n':
    case 'm':
    case 'g':
    case 'e': return FloatPiece(directive, format);
    case 'p': return PointerPiece(directive, format);
    default: FormatError(format);
  }
}

String PadToWidth(String piece, const FormatDirective& directive) {
  if (directive.width <= 0 || piece.size() >= static_cast<std::size_t>(directive.width)) return piece;
  String pad(directive.width - piece.size(), u' ');
  return directive.left ? piece + pad : pad + piece;
}

String FormatImpl(std::u16string_view format, std::initializer_list<TFormatArg> args) {
  FormatScanner scanner(format, args);
  String out;
  while (!scanner.AtEnd()) {
    const char16_t c = scanner.Take();
    if (c != u'%') {
      out.push_back(c);
      continue;
    }
    if (scanner.AtEnd()) FormatError(format);
    if (scanner.TakeIf(u'%')) {
      out.push_back(u'%');
      continue;
    }
    const FormatDirective directive = scanner.ReadDirective();
    out += PadToWidth(DirectivePiece(directive, format), directive);
  }
  return out;
}

template <class Int>
bool ParseInteger(std::u16string_view text, Int& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int base = 10;
  if (i < text.size() && text[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  } else if (i < text.size() && (text[i] == u'x' || text[i] == u'X')) {
    base = 16;
    ++i;
  }
  if (i >= text.size()) return false;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    int digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else return false;
    if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / base) return false;
    magnitude = magnitude * base + digit;
  }
  using Wide = std::make_unsigned_t<Int>;
  constexpr std::uint64_t maxPositive = static_cast<std::uint64_t>(std::numeric_limits<Int>::max());
  if (base == 16 && !negative) {
    // Hexadecimal spells the bit pattern: $FFFFFFFF is -1 for a 32-bit integer.
    if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<Wide>::max())) return false;
    value = static_cast<Int>(static_cast<Wide>(magnitude));
    return true;
  }
  if (negative) {
    if (magnitude > maxPositive + 1) return false;
    value = static_cast<Int>(-static_cast<std::int64_t>(magnitude - 1) - 1);
    return true;
  }
  if (magnitude > maxPositive) return false;
  value = static_cast<Int>(magnitude);
  return true;
}

}  // namespace

String Format(std::u16string_view format, std::initializer_list<TFormatArg> args) { return FormatImpl(format, args); }

String FmtStr(std::u16string_view format, std::initializer_list<TFormatArg> args) {
  try {
    return FormatImpl(format, args);
  } catch (const EConvertError&) {
    return String(format);
  }
}

String IntToStr(std::int64_t value) { return Ascii(std::to_string(value)); }
String UIntToStr(std::uint64_t value) { return Ascii(std::to_string(value)); }

String IntToHex(std::uint64_t value, int digits) {
  std::string s = HexDigits(value);
  if (static_cast<int>(s.size()) < digits) s.insert(0, digits - s.size(), '0');
  return Ascii(s);
}

bool TryStrToInt(std::u16string_view text, int& value) { return ParseInteger(text, value); }
bool TryStrToInt64(std::u16string_view text, std::int64_t& value) { return ParseInteger(text, value); }

int StrToInt(std::u16string_view text) {
  int value;
  if (!TryStrToInt(text, value)) throw EConvertError(u"'%s' is not a valid integer value", {text});
  return value;
}

std::int64_t StrToInt64(std::u16string_view text) {
  std::int64_t value;
  if (!TryStrToInt64(text, value)) throw EConvertError(u"'%s' is not a valid integer value", {text});
  return value;
}

int StrToIntDef(std::u16string_view text, int defaultValue) {
  int value;
  return TryStrToInt(text, value) ? value : defaultValue;
}

std::int64_t StrToInt64Def(std::u16string_view text, std::int64_t defaultValue) {
  std::int64_t value;
  return TryStrToInt64(text, value) ? value : defaultValue;
}

String FloatToStr(double value) { return Ascii(GeneralFormat(value, 15)); }

bool TryStrToFloat(std::u16string_view text, double& value) {
  String trimmed = Trim(text);
  if (trimmed.empty()) return false;
  for (char16_t c : trimmed) {
    bool ok = (c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E' || c == u'-' || c == u'+';
    if (!ok) return false;
  }
  std::string s = Narrow(trimmed);
  const char* first = s.data();
  if (*first == '+') {
    ++first;
    if (*first == '-') return false;
  }
  double parsed;
  auto res = std::from_chars(first, s.data() + s.size(), parsed);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return false;
  value = parsed;
  return true;
}

double StrToFloat(std::u16string_view text) {
  double value;
  if (!TryStrToFloat(text, value)) throw EConvertError(u"'%s' is not a valid floating point value", {text});
  return value;
}

double StrToFloatDef(std::u16string_view text, double defaultValue) {
  double value;
  return TryStrToFloat(text, value) ? value : defaultValue;
}

bool TryRound(double value, std::int64_t& result) {
  if (!std::isfinite(value)) return false;
  double r = std::nearbyint(value);  // the default rounding mode: half to even
  if (std::fabs(value - std::trunc(value)) == 0.5) r = 2.0 * std::nearbyint(value / 2.0);
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (r >= 9223372036854775808.0 || r < -9223372036854775808.0) return false;
  result = static_cast<std::int64_t>(r);
  return true;
}

std::int64_t Round(double value) {
  std::int64_t result;
  if (!TryRound(value, result)) throw EInvalidOp(u"Invalid floating point operation");
  return result;
}

void DoubleToExtended(double value, std::uint8_t out[10]) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bool negative = bits >> 63;
  int exponent = static_cast<int>(bits >> 52 & 0x7FF);
  std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  std::uint64_t mantissa = 0;
  int extExponent = 0;
  if (exponent == 0x7FF) {  // infinity or NaN
    extExponent = 0x7FFF;
    mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
  } else if (exponent != 0) {
    extExponent = exponent - 1023 + 16383;
    mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
  } else if (fraction != 0) {  // a double denormal is a normal extended number
    int shift = 0;
    while (!(fraction & (std::uint64_t{1} << 52))) {
      fraction <<= 1;
      ++shift;
    }
    extExponent = 1 - 1023 - shift + 16383;
    mantissa = fraction << 11;
  }
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
  std::uint16_t top = static_cast<std::uint16_t>(extExponent | (negative ? 0x8000 : 0));
  out[8] = static_cast<std::uint8_t>(top & 0xFF);
  out[9] = static_cast<std::uint8_t>(top >> 8);
}

double ExtendedToDouble(const std::uint8_t in[10]) {
  std::uint64_t mantissa = 0;
  for (int i = 0; i < 8; ++i) mantissa |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  int top = in[8] | in[9] << 8;
  bool negative = top & 0x8000;
  int exponent = top & 0x7FFF;
  double sign = negative ? -1.0 : 1.0;
  if (exponent == 0x7FFF) {
    if ((mantissa << 1) == 0) return sign * std::numeric_limits<double>::infinity();
    return std::numeric_limits<double>::quiet_NaN();
  }
  if (mantissa == 0) return sign * 0.0;
  // value = mantissa * 2^(exponent - 16383 - 63); ldexp rounds to nearest even and handles
  // overflow and underflow. Split the mantissa so the conversion to double is exact first.
  double high = static_cast<double>(mantissa >> 11);
  double low = static_cast<double>(mantissa & 0x7FF);
  int scale = exponent - 16383 - 63;
  if (exponent == 0) scale = 1 - 16383 - 63;  // extended denormals
  // Add the halves at the final scale so the single rounding happens in the addition.
  return sign * (std::ldexp(high, scale + 11) + std::ldexp(low, scale));
}

String BoolToStr(bool value, bool useBoolStrs) {
  if (useBoolStrs) return value ? u"True" : u"False";
  return value ? u"-1" : u"0";
}

bool TryStrToBool(std::u16string_view text, bool& value) {
  if (SameText(text, u"True")) {
    value = true;
    return true;
  }
  if (SameText(text, u"False")) {
    value = false;
    return true;
  }
  double number;
  if (TryStrToFloat(text, number)) {
    value = number != 0;
    return true;
  }
  return false;
}

bool StrToBool(std::u16string_view text) {
  bool value;
  if (!TryStrToBool(text, value)) throw EConvertError(u"'%s' is not a valid boolean value", {text});
  return value;
}

bool StrToBoolDef(std::u16string_view text, bool defaultValue) {
  bool value;
  return TryStrToBool(text, value) ? value : defaultValue;
}

String Trim(std::u16string_view text) { return TrimLeft(TrimRight(text)); }

String TrimLeft(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] <= u' ') ++i;
  return String(text.substr(i));
}

String TrimRight(std::u16string_view text) {
  std::size_t n = text.size();
  while (n > 0 && text[n - 1] <= u' ') --n;
  return String(text.substr(0, n));
}

char16_t UpCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  // Latin-1 letters, except the division sign and the sharp s / y-diaeresis that have no
  // single-unit upper case there.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  return c;
}

char16_t LowCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

String UpperCase(std::u16string_view text) {
  String out(text);
  for (char16_t& c : out) c = UpCase(c);
  return out;
}

String LowerCase(std::u16string_view text) {
  String out(text);
  for (char16_t& c : out) c = LowCase(c);
  return out;
}

int CompareText(std::u16string_view a, std::u16string_view b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    char16_t x = UpCase(a[i]);
    char16_t y = UpCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareStr(std::u16string_view a, std::u16string_view b) {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool SameText(std::u16string_view a, std::u16string_view b) { return a.size() == b.size() && CompareText(a, b) == 0; }

String AnsiQuotedStr(std::u16string_view text, char16_t quote) {
  String out(1, quote);
  for (char16_t c : text) {
    out.push_back(c);
    if (c == quote) out.push_back(c);
  }
  out.push_back(quote);
  return out;
}

String QuotedStr(std::u16string_view text) { return AnsiQuotedStr(text, u'\''); }

String AnsiDequotedStr(std::u16string_view text, char16_t quote) {
  if (text.empty() || text[0] != quote) return String(text);
  String out;
  std::size_t i = 1;
  while (i < text.size()) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        out.push_back(quote);
        i += 2;
        continue;
      }
      break;  // closing quote; what follows is ignored
    }
    out.push_back(text[i++]);
  }
  return out;
}

String IncludeTrailingPathDelimiter(std::u16string_view path) {
  String out(path);
  if (out.empty() || out.back() != PathDelim) out.push_back(PathDelim);
  return out;
}

String ExcludeTrailingPathDelimiter(std::u16string_view path) {
  String out(path);
  while (out.size() > 1 && out.back() == PathDelim) out.pop_back();
  return out;
}

String ExtractFilePath(std::u16string_view fileName) {
  auto p = fileName.rfind(PathDelim);
  return p == std::u16string_view::npos ? String() : String(fileName.substr(0, p + 1));
}

String ExtractFileDir(std::u16string_view fileName) {
  auto p = fileName.rfind(PathDelim);
  if (p == std::u16string_view::npos) return String();
  return String(fileName.substr(0, p == 0 ? 1 : p));
}

String ExtractFileName(std::u16string_view fileName) {
  auto p = fileName.rfind(PathDelim);
  return String(p == std::u16string_view::npos ? fileName : fileName.substr(p + 1));
}

String ExtractFileExt(std::u16string_view fileName) {
  auto p = fileName.find_last_of(u"./");
  if (p == std::u16string_view::npos || fileName[p] != u'.') return String();
  return String(fileName.substr(p));
}

String ChangeFileExt(std::u16string_view fileName, std::u16string_view extension) {
  auto p = fileName.find_last_of(u"./");
  std::u16string_view stem = (p == std::u16string_view::npos || fileName[p] != u'.') ? fileName : fileName.substr(0, p);
  return String(stem) + String(extension);
}

bool FileExists(std::u16string_view fileName) {
  struct stat st {};
  return !fileName.empty() && ::stat(Utf16ToUtf8(fileName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::u16string_view directory) {
  struct stat st {};
  return !directory.empty() && ::stat(Utf16ToUtf8(directory).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(std::u16string_view directory) {
  if (directory.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(Utf16ToUtf8(directory)), ec);
  return DirectoryExists(directory);
}

bool DeleteFile(std::u16string_view fileName) {
  return FileExists(fileName) && ::unlink(Utf16ToUtf8(fileName).c_str()) == 0;
}

String SysErrorMessage(int error) { return Utf8ToUtf16(std::error_code(error, std::generic_category()).message()); }

}  // namespace kestrel
