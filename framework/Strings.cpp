#include "framework/Strings.h"

#include "framework/Encoding.h"
#include "framework/Exceptions.h"
#include "framework/Reader.h"
#include "framework/Stream.h"
#include "framework/SysUtils.h"
#include "framework/Writer.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TStrings, TPersistent)

namespace {

// RAII for BeginUpdate/EndUpdate so that an exception cannot leave a list updating for good.
class UpdateBracket {
 public:
  explicit UpdateBracket(TStrings& s) : s_(s) { s_.BeginUpdate(); }
  ~UpdateBracket() { s_.EndUpdate(); }
  UpdateBracket(const UpdateBracket&) = delete;
  UpdateBracket& operator=(const UpdateBracket&) = delete;

 private:
  TStrings& s_;
};

bool IsBlank(char16_t c) { return c >= 1 && c <= u' '; }

}  // namespace

int TStrings::Add(const String& s) {
  int index = GetCount();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const String& s, TObject* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

int TStrings::AddPair(const String& name, const String& value) { return Add(name + nameValueSeparator_ + value); }

void TStrings::AddStrings(const TStrings& strings) {
  if (&strings == this) {
    // Adding a list to itself must not chase its own growing end.
    std::vector<String> items = ToStringArray();
    std::vector<TObject*> objects;
    for (int i = 0; i < Count(); ++i) objects.push_back(GetObject(i));
    UpdateBracket bracket(*this);
    for (std::size_t i = 0; i < items.size(); ++i) AddObject(items[i], objects[i]);
    return;
  }
  UpdateBracket bracket(*this);
  for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::InsertObject(int index, const String& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2) {
  UpdateBracket bracket(*this);
  String s = Get(index1);
  TObject* o = GetObject(index1);
  Put(index1, Get(index2));
  PutObject(index1, GetObject(index2));
  Put(index2, s);
  PutObject(index2, o);
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  UpdateBracket bracket(*this);
  String s = Get(curIndex);
  TObject* o = GetObject(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, o);
}

void TStrings::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TStrings*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  UpdateBracket bracket(*this);
  Clear();
  delimiter_ = other->delimiter_;
  quoteChar_ = other->quoteChar_;
  nameValueSeparator_ = other->nameValueSeparator_;
  strictDelimiter_ = other->strictDelimiter_;
  lineBreak_ = other->lineBreak_;
  trailingLineBreak_ = other->trailingLineBreak_;
  defaultEncoding_ = other->defaultEncoding_;
  AddStrings(*other);
}

int TStrings::IndexOf(const String& s) const {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(std::u16string_view name) const {
  for (int i = 0; i < GetCount(); ++i) {
    String s = Get(i);
    auto p = s.find(nameValueSeparator_);
    if (p != String::npos && CompareStrings(std::u16string_view(s).substr(0, p), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& other) const {
  if (GetCount() != other.GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

std::vector<String> TStrings::ToStringArray() const {
  std::vector<String> out;
  out.reserve(static_cast<std::size_t>(GetCount()));
  for (int i = 0; i < GetCount(); ++i) out.push_back(Get(i));
  return out;
}

String TStrings::Names(int index) const {
  String s = Get(index);
  auto p = s.find(nameValueSeparator_);
  return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::Values(std::u16string_view name) const {
  int i = IndexOfName(name);
  return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(std::u16string_view name, const String& value) {
  int i = IndexOfName(name);
  if (!value.empty()) {
    if (i < 0) i = Add(String());
    Put(i, String(name) + nameValueSeparator_ + value);
  } else if (i >= 0) {
    Delete(i);
  }
}

String TStrings::ValueFromIndex(int index) const {
  if (index < 0) return String();
  String s = Get(index);
  auto p = s.find(nameValueSeparator_);
  return p == String::npos ? String() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int index, const String& value) {
  if (!value.empty()) {
    if (index < 0) index = Add(String());
    Put(index, Names(index) + nameValueSeparator_ + value);
  } else if (index >= 0) {
    Delete(index);
  }
}

String TStrings::GetTextStr() const {
  String out;
  int n = GetCount();
  for (int i = 0; i < n; ++i) {
    out += Get(i);
    if (i + 1 < n || trailingLineBreak_) out += lineBreak_;
  }
  return out;
}

void TStrings::SetTextStr(const String& value) {
  UpdateBracket bracket(*this);
  Clear();
  std::size_t i = 0;
  while (i < value.size()) {
    std::size_t start = i;
    while (i < value.size() && value[i] != u'\r' && value[i] != u'\n') ++i;
    Add(value.substr(start, i - start));
    if (i < value.size() && value[i] == u'\r') ++i;
    if (i < value.size() && value[i] == u'\n') ++i;
  }
}

String TStrings::DelimitedText() const { return DelimitedTextWith(delimiter_, quoteChar_, strictDelimiter_); }

void TStrings::SetDelimitedText(std::u16string_view value) {
  SetDelimitedTextWith(value, delimiter_, quoteChar_, strictDelimiter_);
}

String TStrings::CommaText() const { return DelimitedTextWith(u',', u'"', false); }

void TStrings::SetCommaText(std::u16string_view value) { SetDelimitedTextWith(value, u',', u'"', false); }

String TStrings::DelimitedTextWith(char16_t delimiter, char16_t quote, bool strict) const {
  int n = GetCount();
  // A single empty item must not read back as an empty list.
  if (n == 1 && Get(0).empty()) return String(2, quote);
  String out;
  for (int i = 0; i < n; ++i) {
    String s = Get(i);
    bool needsQuotes = false;
    for (char16_t c : s) {
      if (c == quote || c == delimiter || c == 0 || (!strict && c <= u' ')) {
        needsQuotes = true;
        break;
      }
    }
    if (i > 0) out.push_back(delimiter);
    out += needsQuotes ? AnsiQuotedStr(s, quote) : s;
  }
  return out;
}

void TStrings::SetDelimitedTextWith(std::u16string_view value, char16_t delimiter, char16_t quote, bool strict) {
  UpdateBracket bracket(*this);
  Clear();
  std::size_t i = 0;
  std::size_t n = value.size();
  auto skipBlanks = [&] {
    if (!strict)
      while (i < n && IsBlank(value[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    String s;
    if (value[i] == quote) {
      ++i;
      while (i < n) {
        if (value[i] == quote) {
          if (i + 1 < n && value[i + 1] == quote) {
            s.push_back(quote);
            i += 2;
            continue;
          }
          ++i;  // the closing quote
          break;
        }
        s.push_back(value[i++]);
      }
    } else {
      std::size_t start = i;
      while (i < n && value[i] != delimiter && (strict || value[i] > u' ')) ++i;
      s.assign(value.substr(start, i - start));
    }
    Add(s);
    skipBlanks();
    if (i < n && value[i] == delimiter) {
      ++i;
      if (i == n) Add(String());  // a trailing delimiter ends with an empty item
      skipBlanks();
    }
  }
}

const TEncoding& TStrings::DefaultEncoding() const {
  return defaultEncoding_ ? *defaultEncoding_ : TEncoding::Default();
}

void TStrings::LoadFromStream(TStream& stream, const TEncoding* encoding) {
  std::vector<std::uint8_t> bytes = ReadRemaining(stream);
  std::size_t preamble = 0;
  const TEncoding& enc =
      TEncoding::Detect(bytes.data(), bytes.size(), encoding ? *encoding : DefaultEncoding(), preamble);
  // A mark that agrees with the requested encoding, or any mark when none was requested, wins.
  encoding_ = &enc;
  SetTextStr(enc.GetString(bytes.data() + preamble, bytes.size() - preamble));
}

void TStrings::SaveToStream(TStream& stream, const TEncoding* encoding) const {
  const TEncoding& enc = encoding ? *encoding : (encoding_ ? *encoding_ : DefaultEncoding());
  if (writeBOM_) {
    auto mark = enc.GetPreamble();
    stream.WriteBuffer(mark.data(), mark.size());
  }
  auto bytes = enc.GetBytes(GetTextStr());
  stream.WriteBuffer(bytes.data(), bytes.size());
}

void TStrings::LoadFromFile(const String& fileName, const TEncoding* encoding) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file, encoding);
}

void TStrings::SaveToFile(const String& fileName, const TEncoding* encoding) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file, encoding);
}

void TStrings::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      u"Strings",
      [this](TReader& reader) {
        UpdateBracket bracket(*this);
        Clear();
        reader.ReadListBegin();
        while (!reader.EndOfList()) Add(reader.ReadString());
        reader.ReadListEnd();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int i = 0; i < Count(); ++i) writer.WriteString(Get(i));
        writer.WriteListEnd();
      },
      Count() > 0);
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ == 0) return;  // unbalanced: ignore rather than go negative
  if (--updateCount_ == 0) SetUpdateState(false);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::Put(int index, const String& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(std::u16string_view s1, std::u16string_view s2) const { return CompareText(s1, s2); }

void TStrings::Error(std::u16string_view message, int data) const { throw EStringListError(message, {data}); }

}  // namespace kestrel
