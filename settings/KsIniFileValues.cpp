// TKsIniFile: typed reading and writing of single values in both back ends.

#include <cmath>
#include <cstring>

#include "framework/StringList.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "platform/core/ScopeGuard.h"
#include "settings/KsIniFile.h"
#include "settings/KsIniRegistry.h"
#include "settings/internal/KsIniKeyScope.h"
#include "settings/internal/KsIniValueText.h"

namespace kestrel {

using namespace platform;

namespace {

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text, int zeros) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve((text.size() + static_cast<std::size_t>(zeros)) * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  bytes.insert(bytes.end(), static_cast<std::size_t>(zeros) * 2, 0);
  return bytes;
}

String BytesToUtf16(const std::vector<std::uint8_t>& bytes) {
  String text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
  }
  return text;
}

std::vector<std::uint8_t> DwordBytes(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}

}  // namespace

// ---- Back ends ---------------------------------------------------------------------------

bool TKsIniFile::WriteRegValue(const String& Key, const String& ValueName, const TKsValueData& data) {
  if (!OpenKey(Key, true)) return false;
  switch (data.ValueType) {
    case evtBoolean: return reg_->WriteValue(ValueName, REG_DWORD, DwordBytes(data.BoolValue ? 1 : 0));
    case evtInt: return reg_->WriteValue(ValueName, REG_DWORD, DwordBytes(static_cast<std::uint32_t>(data.IntValue)));
    case evtString: return reg_->WriteValue(ValueName, REG_SZ, Utf16Bytes(data.StrValue, 1));
    case evtMultiString: {
      String text;
      for (const String& line : data.MStrValue) text += line + u'\0';
      return reg_->WriteValue(ValueName, REG_MULTI_SZ, Utf16Bytes(text, 2));
    }
    case evtBinary: return reg_->WriteValue(ValueName, REG_BINARY, data.DataValue);
    case evtDouble: {
      std::vector<std::uint8_t> bytes(8);
      std::memcpy(bytes.data(), &data.DoubleValue, 8);
      return reg_->WriteValue(ValueName, REG_BINARY, bytes);
    }
    default: return false;
  }
}

bool TKsIniFile::ReadRegValue(const String& Key, const String& ValueName, TKsValueData& data) {
  if (!OpenKey(Key, false)) return false;
  TKsRegValue raw;
  if (!reg_->ReadValue(ValueName, raw)) return false;
  data.Invalidate();
  switch (raw.Type) {
    case REG_DWORD:
      if (raw.Data.size() != 4) break;
      data.ValueType = evtInt;
      data.IntValue = static_cast<std::int32_t>(raw.Data[0] | raw.Data[1] << 8 | raw.Data[2] << 16 |
                                                static_cast<std::uint32_t>(raw.Data[3]) << 24);
      break;
    case REG_SZ:
    case REG_EXPAND_SZ: {
      data.ValueType = evtString;
      data.StrValue = BytesToUtf16(raw.Data);
      const std::size_t nul = data.StrValue.find(u'\0');
      if (nul != String::npos) data.StrValue.resize(nul);
      break;
    }
    case REG_MULTI_SZ: {
      data.ValueType = evtMultiString;
      const String text = BytesToUtf16(raw.Data);
      std::size_t pos = 0;
      while (pos < text.size()) {
        const std::size_t nul = text.find(u'\0', pos);
        const std::size_t end = nul == String::npos ? text.size() : nul;
        if (end == pos) break;  // the double zero ends the list
        data.MStrValue.push_back(text.substr(pos, end - pos));
        pos = end + 1;
      }
      break;
    }
    case REG_BINARY:
      data.ValueType = evtBinary;
      data.DataValue = std::move(raw.Data);
      break;
    default: break;
  }
  return true;
}

bool TKsIniFile::LookupValue(const String& Key, const String& ValueName, TKsValueData& data) {
  TKeyScope scope(*this);
  if (reg_) return ReadRegValue(Key, ValueName, data);
  if (!OpenKey(Key, false)) return false;
  const TKsIniEntry* entry = current_->FindValue(ValueName);
  if (!entry) return false;
  data = entry->ValueData();
  return true;
}

bool TKsIniFile::WriteValue(const String& Key, const String& ValueName, TKsValueData&& data) {
  {
    TKeyScope scope(*this);
    if (reg_) return WriteRegValue(Key, ValueName, data);
    if (!OpenKey(Key, true)) return false;
    TKsIniEntry* entry = current_->FindValue(ValueName);
    if (!entry) entry = current_->Add(ValueName, false);
    entry->ValueData() = std::move(data);
    modified_ = true;
  }
  if (!lazyWrite_) Save();
  return true;
}

TKsValueType TKsIniFile::GetValueType(const String& Key, const String& ValueName) {
  TKsValueData data;
  return LookupValue(Key, ValueName, data) ? data.ValueType : evtUnknown;
}

bool TKsIniFile::ValueExists(const String& Key, const String& ValueName) {
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return false;
  if (reg_) return reg_->ValueExists(ValueName);
  return current_->FindValue(ValueName) != nullptr;
}

// ---- Typed values --------------------------------------------------------------------------

bool TKsIniFile::WriteBool(const String& Key, const String& ValueName, bool Value) {
  if (simple_ && !reg_) return false;
  TKsValueData data;
  data.ValueType = evtBoolean;
  data.BoolValue = Value;
  return WriteValue(Key, ValueName, std::move(data));
}

bool TKsIniFile::ReadBool(const String& Key, const String& ValueName, bool DefValue, bool& Value) {
  Value = DefValue;
  TKsValueData data;
  if (!LookupValue(Key, ValueName, data)) return false;
  if (data.ValueType == evtBoolean) {
    Value = data.BoolValue;
    return true;
  }
  if (data.ValueType == evtInt) {
    Value = data.IntValue != 0;
    return true;
  }
  return false;
}

bool TKsIniFile::WriteInteger(const String& Key, const String& ValueName, std::int32_t Value) {
  TKsValueData data;
  data.ValueType = evtInt;
  data.IntValue = Value;
  return WriteValue(Key, ValueName, std::move(data));
}

bool TKsIniFile::ReadInteger(const String& Key, const String& ValueName, std::int32_t DefValue, std::int32_t& Value) {
  Value = DefValue;
  TKsValueData data;
  if (!LookupValue(Key, ValueName, data)) return false;
  if (reg_ && data.ValueType != evtInt) return false;  // the registry needs a DWORD
  switch (data.ValueType) {
    case evtInt: Value = data.IntValue; return true;
    case evtBoolean: Value = data.BoolValue ? 1 : 0; return true;
    case evtDouble: {
      std::int64_t rounded = 0;
      if (!TryRound(data.DoubleValue, rounded) || rounded < INT32_MIN || rounded > INT32_MAX) return false;
      Value = static_cast<std::int32_t>(rounded);
      return true;
    }
    case evtString: {
      std::int32_t parsed = 0;
      if (ksini::ParseInt32(data.StrValue, parsed)) Value = parsed;
      return false;
    }
    default: return false;
  }
}

bool TKsIniFile::WriteDouble(const String& Key, const String& ValueName, double Value) {
  TKsValueData data;
  data.ValueType = evtDouble;
  data.DoubleValue = Value;
  return WriteValue(Key, ValueName, std::move(data));
}

bool TKsIniFile::ReadDouble(const String& Key, const String& ValueName, double DefValue, double& Value) {
  Value = DefValue;
  TKsValueData data;
  if (!LookupValue(Key, ValueName, data)) return false;
  if (reg_) {
    // The registry has no floating-point type: doubles are 8-byte binary values.
    if (data.ValueType != evtBinary || data.DataValue.size() != 8) return false;
    std::memcpy(&Value, data.DataValue.data(), 8);
    return true;
  }
  switch (data.ValueType) {
    case evtDouble: Value = data.DoubleValue; return true;
    case evtInt: Value = data.IntValue; return true;
    case evtString: {
      double parsed = 0;
      if (ksini::ParseNumber(data.StrValue, parsed)) Value = parsed;
      return false;
    }
    default: return false;
  }
}

bool TKsIniFile::WriteString(const String& Key, const String& ValueName, const String& Value) {
  TKsValueData data;
  data.ValueType = evtString;
  data.StrValue = Value;
  return WriteValue(Key, ValueName, std::move(data));
}

bool TKsIniFile::ReadString(const String& Key, const String& ValueName, const String& DefValue, String& Value) {
  Value = DefValue;
  TKsValueData data;
  if (!LookupValue(Key, ValueName, data) || data.ValueType == evtUnknown) return false;
  if (reg_ && data.ValueType == evtMultiString) {
    String text;
    for (std::size_t i = 0; i < data.MStrValue.size(); ++i) {
      if (i > 0) text += u"\r\n";
      text += data.MStrValue[i];
    }
    Value = text;
    return true;
  }
  Value = ksini::DisplayText(data);
  return true;
}

bool TKsIniFile::WriteMultiString(const String& Key, const String& ValueName, const TStrings& Strings) {
  if (simple_ && !reg_) return false;
  TKsValueData data;
  data.ValueType = evtMultiString;
  data.MStrValue = Strings.ToStringArray();
  return WriteValue(Key, ValueName, std::move(data));
}

bool TKsIniFile::ReadMultiString(const String& Key, const String& ValueName, TStrings& Strings) {
  TKsValueData data;
  if (!LookupValue(Key, ValueName, data)) return false;
  if (data.ValueType == evtString && !reg_) {
    Strings.SetText(data.StrValue);
    return true;
  }
  if (data.ValueType != evtMultiString) return false;
  Strings.BeginUpdate();
  const platform::ScopeGuard endUpdate([&] { Strings.EndUpdate(); });
  Strings.Clear();
  for (const String& line : data.MStrValue) Strings.Add(line);
  return true;
}

bool TKsIniFile::WriteBinary(const String& Key, const String& ValueName, const void* Buffer, std::int32_t BufferLen) {
  if ((simple_ && !reg_) || BufferLen < 0 || (!Buffer && BufferLen > 0)) return false;
  TKsValueData data;
  data.ValueType = evtBinary;
  const auto* bytes = static_cast<const std::uint8_t*>(Buffer);
  data.DataValue.assign(bytes, bytes + BufferLen);
  return WriteValue(Key, ValueName, std::move(data));
}

bool TKsIniFile::ReadBinary(const String& Key, const String& ValueName, void* Buffer, std::int32_t& BufferLen) {
  TKsValueData data;
  if (!LookupValue(Key, ValueName, data) || data.ValueType != evtBinary) return false;
  const auto length = static_cast<std::int32_t>(data.DataValue.size());
  if (BufferLen < length || (!Buffer && length > 0)) {
    BufferLen = length;
    return false;
  }
  if (length > 0) std::memcpy(Buffer, data.DataValue.data(), data.DataValue.size());
  BufferLen = length;
  return true;
}

// ---- Derived forms -----------------------------------------------------------------------

bool TKsIniFile::WriteColor(const String& Key, const String& ValueName, std::int32_t Value) {
  return WriteString(Key, ValueName, ksini::ColorToText(Value));
}

bool TKsIniFile::ReadColor(const String& Key, const String& ValueName, std::int32_t DefValue, std::int32_t& Value) {
  String text;
  const bool found = ReadString(Key, ValueName, ksini::ColorToText(DefValue), text);
  Value = DefValue;
  std::int32_t color = 0;
  if (!ksini::TextToColor(text, color)) return false;
  Value = color;
  return found;
}

bool TKsIniFile::WriteRect(const String& Key, const String& ValueName, const RECT& Value) {
  return WriteString(
      Key, ValueName,
      IntToStr(Value.left) + u"," + IntToStr(Value.top) + u"," + IntToStr(Value.right) + u"," + IntToStr(Value.bottom));
}

bool TKsIniFile::ReadRect(const String& Key, const String& ValueName, const RECT& DefValue, RECT& Value) {
  Value = DefValue;
  String text;
  if (!ReadString(Key, ValueName, String(), text)) return false;
  int parts[4] = {};
  std::size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const std::size_t end = i < 3 ? text.find(u',', start) : text.size();
    if (end == String::npos) return false;
    if (!TryStrToInt(Trim(std::u16string_view(text).substr(start, end - start)), parts[i])) return false;
    start = end + 1;
  }
  Value = RECT{parts[0], parts[1], parts[2], parts[3]};
  return true;
}

// The text file holds the text's UTF-8 bytes, once: strings are kept decoded in memory and the
// file is written in the system code page, which is UTF-8 here.
bool TKsIniFile::WriteWideString(const String& Key, const String& ValueName, const String& Value) {
  return WriteString(Key, ValueName, Value);
}

// A value whose characters are all single bytes that form UTF-8 (as in a binary file from a
// peer that kept the bytes one per character) is decoded; anything else is the text itself.
bool TKsIniFile::ReadWideString(const String& Key, const String& ValueName, const String& DefValue, String& Value) {
  String stored;
  if (!ReadString(Key, ValueName, DefValue, stored)) {
    Value = DefValue;
    return false;
  }
  std::string bytes;
  bytes.reserve(stored.size());
  bool narrow = true;
  for (char16_t c : stored) {
    if (c > 0xFF) {
      narrow = false;
      break;
    }
    bytes += static_cast<char>(c);
  }
  String decoded;
  Value = narrow && ksini::DecodeUtf8(bytes, decoded) ? decoded : stored;
  return true;
}

}  // namespace kestrel
