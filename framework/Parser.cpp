#include "framework/Parser.h"

#include <limits>

#include "framework/Exceptions.h"
#include "framework/SysUtils.h"

namespace kestrel {

namespace {
bool IsIdentStart(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'; }
bool IsIdentChar(char16_t c) { return IsIdentStart(c) || (c >= u'0' && c <= u'9'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}
}  // namespace

TParser::TParser(String text) : source_(std::move(text)) { NextToken(); }

char16_t TParser::Peek(std::size_t ahead) const { return pos_ + ahead < source_.size() ? source_[pos_ + ahead] : 0; }

void TParser::SkipBlanks() {
  while (pos_ < source_.size()) {
    char16_t c = source_[pos_];
    if (c == u'\n') ++line_;
    if (c > u' ') break;
    ++pos_;
  }
}

bool TParser::TokenSymbolIs(std::u16string_view symbol) const {
  return token_ == TToken::Symbol && SameText(text_, symbol);
}

void TParser::NextToken() {
  SkipBlanks();
  tokenLine_ = line_;
  text_.clear();
  if (pos_ >= source_.size()) {
    token_ = TToken::Eof;
    return;
  }
  char16_t c = source_[pos_];
  if (IsIdentStart(c)) {
    std::size_t start = pos_;
    while (pos_ < source_.size() && (IsIdentChar(source_[pos_]) || (source_[pos_] == u'.' && IsIdentStart(Peek(1)))))
      ++pos_;
    text_ = source_.substr(start, pos_ - start);
    token_ = TToken::Symbol;
  } else if (c == u'\'' || c == u'#') {
    ReadString();
  } else if (IsDigit(c) || c == u'$' || ((c == u'-' || c == u'+') && (IsDigit(Peek(1)) || Peek(1) == u'$'))) {
    ReadNumber();
  } else if (c == u'-' && SameText(std::u16string_view(source_).substr(pos_ + 1, 3), u"INF") && !IsIdentChar(Peek(4))) {
    pos_ += 4;
    float_ = -std::numeric_limits<double>::infinity();
    token_ = TToken::Float;
  } else {
    punct_ = c;
    ++pos_;
    token_ = TToken::Punct;
  }
}

void TParser::ReadString() {
  token_ = TToken::String;
  for (;;) {
    char16_t c = Peek();
    if (c == u'\'') {
      ++pos_;
      for (;;) {
        if (pos_ >= source_.size() || source_[pos_] == u'\n' || source_[pos_] == u'\r') Error(u"Unterminated string");
        char16_t s = source_[pos_++];
        if (s == u'\'') {
          if (Peek() != u'\'') break;
          ++pos_;
        }
        text_.push_back(s);
      }
    } else if (c == u'#') {
      ++pos_;
      std::uint32_t code = 0;
      bool any = false;
      if (Peek() == u'$') {
        ++pos_;
        while (HexValue(Peek()) >= 0) {
          code = std::min<std::uint32_t>(code * 16 + HexValue(source_[pos_++]), 0x110000);
          any = true;
        }
      } else {
        while (IsDigit(Peek())) {
          code = std::min<std::uint32_t>(code * 10 + (source_[pos_++] - u'0'), 0x110000);
          any = true;
        }
      }
      if (!any || code > 0xFFFF) Error(u"Invalid character code");
      text_.push_back(static_cast<char16_t>(code));
    } else {
      // A '+' between string parts joins them, also across lines.
      std::size_t save = pos_;
      int saveLine = line_;
      SkipBlanks();
      if (Peek() == u'+') {
        ++pos_;
        SkipBlanks();
        if (Peek() == u'\'' || Peek() == u'#') continue;
      }
      pos_ = save;
      line_ = saveLine;
      return;
    }
  }
}

void TParser::ReadNumber() {
  std::size_t start = pos_;
  if (Peek() == u'-' || Peek() == u'+') ++pos_;
  if (Peek() == u'$') {
    ++pos_;
    while (HexValue(Peek()) >= 0) ++pos_;
    String digits = source_.substr(start, pos_ - start);
    if (!TryStrToInt64(digits, int_)) Error(u"Invalid integer value " + digits);
    token_ = TToken::Integer;
    return;
  }
  bool isFloat = false;
  while (IsDigit(Peek())) ++pos_;
  if (Peek() == u'.' && IsDigit(Peek(1))) {
    isFloat = true;
    ++pos_;
    while (IsDigit(Peek())) ++pos_;
  }
  if (Peek() == u'e' || Peek() == u'E') {
    std::size_t save = pos_;
    ++pos_;
    if (Peek() == u'-' || Peek() == u'+') ++pos_;
    if (IsDigit(Peek())) {
      isFloat = true;
      while (IsDigit(Peek())) ++pos_;
    } else {
      pos_ = save;
    }
  }
  String digits = source_.substr(start, pos_ - start);
  if (isFloat) {
    if (!TryStrToFloat(digits, float_)) Error(u"Invalid floating point value " + digits);
    token_ = TToken::Float;
  } else {
    if (!TryStrToInt64(digits, int_)) {
      // Too large for an integer: keep it as a float rather than fail.
      if (!TryStrToFloat(digits, float_)) Error(u"Invalid integer value " + digits);
      token_ = TToken::Float;
      return;
    }
    token_ = TToken::Integer;
  }
}

void TParser::CheckToken(TToken token) const {
  if (token_ == token) return;
  switch (token) {
    case TToken::Symbol: Error(u"Identifier expected");
    case TToken::String: Error(u"String expected");
    case TToken::Integer:
    case TToken::Float: Error(u"Number expected");
    default: Error(u"Unexpected token");
  }
}

void TParser::CheckPunct(char16_t c) const {
  if (!IsPunct(c)) Error(Format(u"'%s' expected", {String(1, c)}));
}

std::vector<std::uint8_t> TParser::HexToBinary() {
  CheckPunct(u'{');
  std::vector<std::uint8_t> out;
  int high = -1;
  for (;;) {
    if (pos_ >= source_.size()) Error(u"'}' expected");
    char16_t c = source_[pos_++];
    if (c == u'}') break;
    if (c == u'\n') ++line_;
    if (c <= u' ') continue;
    int v = HexValue(c);
    if (v < 0) Error(u"Invalid binary value");
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<std::uint8_t>(high << 4 | v));
      high = -1;
    }
  }
  if (high >= 0) Error(u"Invalid binary value");
  NextToken();
  return out;
}

void TParser::Error(std::u16string_view message) const { throw EParserError(u"%s on line %d", {message, tokenLine_}); }

}  // namespace kestrel
