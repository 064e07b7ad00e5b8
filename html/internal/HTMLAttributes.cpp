#include "html/internal/HTMLAttributes.h"

#include "framework/SysUtils.h"

namespace kestrel {

THTMLAttributes THTMLAttributes::Read(std::u16string_view text, size_t& pos) {
  THTMLAttributes result;
  String token;
  char16_t quote = 0;
  int bareCount = 0;
  for (; pos < text.size(); ++pos) {
    char16_t c = text[pos];
    if (quote) {
      if (c == quote) quote = 0;
      if (c == u' ' && !token.empty() && token.back() == u' ') continue;
      token.push_back(c);
      continue;
    }
    if (c == u'>') break;
    if (c == u' ') {
      result.AddToken(token, bareCount);
      token.clear();
      continue;
    }
    if (c == u'\'' || c == u'"') quote = c;
    token.push_back(c);
  }
  result.AddToken(token, bareCount);
  return result;
}

void THTMLAttributes::AddToken(const String& token, int& bareCount) {
  if (token.empty()) return;
  size_t eq = token.find(u'=');
  if (eq == String::npos) {
    entries_.emplace_back(u"p" + IntToStr(++bareCount), token);
    return;
  }
  entries_.emplace_back(LowerCase(Trim(std::u16string_view(token).substr(0, eq))),
                        Trim(std::u16string_view(token).substr(eq + 1)));
}

String THTMLAttributes::Raw(std::u16string_view name) const {
  for (const auto& [key, value] : entries_) {
    if (SameText(key, name)) return value;
  }
  return {};
}

String THTMLAttributes::Value(std::u16string_view name) const { return UnquoteHTMLValue(Raw(name)); }

String UnquoteHTMLValue(std::u16string_view value) {
  if (value.empty() || (value[0] != u'\'' && value[0] != u'"')) return String(value);
  char16_t quote = value[0];
  value.remove_prefix(1);
  if (!value.empty() && value.back() == quote) value.remove_suffix(1);
  return String(value);
}

}  // namespace kestrel
