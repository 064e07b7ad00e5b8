#include "framework/CustomIniFile.h"

#include "framework/Exceptions.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TCustomIniFile, TObject)

bool TCustomIniFile::SectionExists(const String& section) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& section, const String& ident) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(ident) >= 0;
}

int TCustomIniFile::ReadInteger(const String& section, const String& ident, int defaultValue) {
  return StrToIntDef(Trim(ReadString(section, ident, String())), defaultValue);
}

void TCustomIniFile::WriteInteger(const String& section, const String& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const String& section, const String& ident, bool defaultValue) {
  String text = Trim(ReadString(section, ident, String()));
  int number;
  if (TryStrToInt(text, number)) return number != 0;
  return StrToBoolDef(text, defaultValue);
}

void TCustomIniFile::WriteBool(const String& section, const String& ident, bool value) {
  WriteString(section, ident, value ? u"1" : u"0");
}

double TCustomIniFile::ReadFloat(const String& section, const String& ident, double defaultValue) {
  return StrToFloatDef(ReadString(section, ident, String()), defaultValue);
}

void TCustomIniFile::WriteFloat(const String& section, const String& ident, double value) {
  WriteString(section, ident, FloatToStr(value));
}

void TCustomIniFile::CheckNames(const String& section, const String& ident, const String& value) {
  auto bad = [](const String& s, std::u16string_view chars) { return s.find_first_of(chars) != String::npos; };
  String key = Trim(ident);
  if (bad(section, u"]\r\n") || bad(ident, u"=\r\n") || bad(value, u"\r\n") || key.empty() || key[0] == u'[' ||
      key[0] == u';' || key[0] == u'#')
    throw EIniFileException(u"Invalid key or value");
}

}  // namespace kestrel
