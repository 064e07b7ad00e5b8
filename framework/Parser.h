#pragma once
// TParser: the tokenizer of the text form of streamed components. Tokens are symbols (dotted
// identifiers), strings ('quoted' parts and #nnn character codes, adjacent or joined with '+'),
// integers (decimal or $hex), floats and single punctuation characters. Errors raise
// EParserError "%s on line %d".

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/Unicode.h"

namespace kestrel {

enum class TToken { Eof, Symbol, String, Integer, Float, Punct };

class TParser {
 public:
  explicit TParser(String text);

  TToken Token() const { return token_; }
  // The symbol's text or the string's decoded value.
  const String& TokenString() const { return text_; }
  std::int64_t TokenInt() const { return int_; }
  double TokenFloat() const { return float_; }
  char16_t Punct() const { return token_ == TToken::Punct ? punct_ : 0; }
  bool IsPunct(char16_t c) const { return token_ == TToken::Punct && punct_ == c; }
  bool TokenSymbolIs(std::u16string_view symbol) const;
  int SourceLine() const { return tokenLine_; }

  void NextToken();
  void CheckToken(TToken token) const;
  void CheckPunct(char16_t c) const;
  // Called on a '{' token: reads the hexadecimal digits up to the closing '}' and moves to the
  // token after it.
  std::vector<std::uint8_t> HexToBinary();

  [[noreturn]] void Error(std::u16string_view message) const;

 private:
  char16_t Peek(std::size_t ahead = 0) const;
  void SkipBlanks();
  void ReadString();
  void ReadNumber();

  String source_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
  TToken token_ = TToken::Eof;
  String text_;
  std::int64_t int_ = 0;
  double float_ = 0;
  char16_t punct_ = 0;
};

}  // namespace kestrel
