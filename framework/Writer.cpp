#include "framework/Writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "framework/Collection.h"
#include "framework/Encoding.h"
#include "framework/MemoryStream.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "platform/core/ScopeGuard.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TWriter, TFiler)

namespace {

constexpr int kMaxObjectDepth = 16;
constexpr std::size_t kBytesPerLine = 32;

String Spaces(int levels) { return String(static_cast<std::size_t>(std::max(levels, 0)) * 2, u' '); }

// 'text' with quotes doubled; control characters as #n between the quoted runs.
String QuoteString(const String& value) {
  if (value.empty()) return u"''";
  String out;
  bool inQuotes = false;
  for (char16_t c : value) {
    if (c < u' ' || c == 0x7F) {
      if (inQuotes) out.push_back(u'\'');
      inQuotes = false;
      out += u"#" + IntToStr(c);
      continue;
    }
    if (!inQuotes) out.push_back(u'\'');
    inQuotes = true;
    out.push_back(c);
    if (c == u'\'') out.push_back(c);
  }
  if (inQuotes) out.push_back(u'\'');
  return out;
}

// The shortest text that reads back to exactly the same double ("0.30000000000000004", "1E20").
String ExactFloat(double value) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, res.ptr);
  auto e = s.find('e');
  if (e == std::string::npos) return Utf8ToUtf16(s);
  std::string mantissa = s.substr(0, e);
  int exponent = std::stoi(s.substr(e + 1));
  return Utf8ToUtf16(mantissa + "E" + std::to_string(exponent));
}

}  // namespace

TWriter::TWriter(TStream& stream) : stream_(stream) {}

TWriter::~TWriter() = default;

void TWriter::WriteRootComponent(TComponent* root) {
  root_ = root;
  WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component) {
  if (!component) return;
  if (!root_) root_ = component;
  String head = u"object ";
  if (!component->Name().empty()) head += component->Name() + u": ";
  Line(head + component->ClassName());
  ++indent_;
  bool wasWriting = component->ComponentState().Contains(csWriting);
  component->SetState(csWriting, true);
  {
    const platform::ScopeGuard restoreState([&] { component->SetState(csWriting, wasWriting); });
    WriteObjectProperties(component, String(), 0);
    component->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
  }
  --indent_;
  Line(u"end");
}

void TWriter::WriteProperties(TPersistent* instance) {
  if (instance) WriteObjectProperties(instance, String(), 0);
}

void TWriter::WriteObjectProperties(TPersistent* instance, const String& prefix, int depth) {
  if (depth > kMaxObjectDepth) return;  // a cycle of sub-objects
  for (const TPropInfo* prop : GetPropList(instance)) WriteProperty(instance, *prop, prefix, depth);
  String saved = prefix_;
  prefix_ = prefix;
  instance->DefineProperties(*this);
  prefix_ = saved;
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo& prop, const String& prefix, int depth) {
  if (!prop.IsReadable() || prop.Kind == tkMethod || !IsStoredProp(instance, prop)) return;
  // What could not be read back is not written; sub-objects are written through their own
  // properties, so those may be read-only.
  if (!prop.IsWritable() && prop.Kind != tkClass) return;
  if (prop.Kind == tkClass) {
    TObject* object = GetObjectProp(instance, prop);
    if (!object) return;
    auto* component = dynamic_cast<TComponent*>(object);
    if (component && !component->ComponentStyle().Contains(csSubComponent)) {
      String name = ReferenceName(component);
      if (name.empty()) return;
      BeginProperty(prefix + prop.Name);
      WriteIdent(name);
      EndProperty();
    } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
      WriteCollection(prefix + prop.Name, collection, depth);
    } else if (auto* persistent = dynamic_cast<TPersistent*>(object)) {
      WriteObjectProperties(persistent, prefix + prop.Name + u".", depth + 1);
    }
    return;
  }
  if (IsDefaultPropValue(instance, prop)) return;
  BeginProperty(prefix + prop.Name);
  switch (prop.Kind) {
    case tkInteger:
    case tkInt64: {
      std::int64_t value = GetOrdProp(instance, prop);
      String ident;
      if (IntToIdentOf(prop.TypeName, value, ident)) WriteIdent(ident);
      else WriteInteger(value);
      break;
    }
    case tkChar:
    case tkWChar: WriteChar(static_cast<char16_t>(GetOrdProp(instance, prop))); break;
    case tkEnumeration: WriteIdent(GetPropText(instance, prop)); break;
    case tkSet: WriteSet(*prop.EnumType, static_cast<std::uint64_t>(GetOrdProp(instance, prop))); break;
    case tkFloat: WriteFloat(GetFloatProp(instance, prop)); break;
    default: WriteString(GetStrProp(instance, prop)); break;
  }
  EndProperty();
}

void TWriter::WriteCollection(const String& name, TCollection* collection, int depth) {
  if (collection->Count() == 0) return;
  Line(name + u" = <");
  ++indent_;
  for (int i = 0; i < collection->Count(); ++i) {
    Line(u"item");
    ++indent_;
    WriteObjectProperties(collection->Items(i), String(), depth + 1);
    --indent_;
    Line(i + 1 < collection->Count() ? u"end" : u"end>");
  }
  --indent_;
}

String TWriter::ReferenceName(TComponent* component) const {
  if (component->Name().empty()) return String();
  if (component == root_ || component->Owner() == root_ || !component->Owner()) return component->Name();
  if (component->Owner()->Name().empty()) return String();
  return component->Owner()->Name() + u"." + component->Name();
}

void TWriter::DefineProperty(const String& name, const TReaderProc&, const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  BeginProperty(prefix_ + name);
  writeData(*this);
  EndProperty();
}

void TWriter::DefineBinaryProperty(const String& name, const TStreamProc&, const TStreamProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream data;
  writeData(data);
  BeginProperty(prefix_ + name);
  WriteBinary(data.Bytes());
  EndProperty();
}

void TWriter::BeginProperty(const String& name) {
  pending_ = name + u" = ";  // Line() indents it
  listDepth_ = 0;
}

void TWriter::EndProperty() {
  // A writer that forgot to close its lists still produces readable text.
  while (listDepth_ > 0) WriteListEnd();
  Line(pending_);
  pending_.clear();
}

void TWriter::BeginValue() {
  if (listDepth_ > 0) pending_ += u"\n" + Spaces(indent_ + listDepth_);
}

void TWriter::Line(const String& text) {
  AnsiString utf8 = Utf16ToUtf8(Spaces(indent_) + text + u"\n");
  stream_.WriteBuffer(utf8.data(), utf8.size());
}

void TWriter::WriteInteger(std::int64_t value) {
  BeginValue();
  pending_ += IntToStr(value);
}

void TWriter::WriteBoolean(bool value) { WriteIdent(value ? u"True" : u"False"); }

void TWriter::WriteFloat(double value) {
  BeginValue();
  pending_ += ExactFloat(value);
}

void TWriter::WriteString(const String& value) {
  BeginValue();
  pending_ += QuoteString(value);
}

void TWriter::WriteChar(char16_t value) { WriteString(String(1, value)); }

void TWriter::WriteIdent(const String& ident) {
  BeginValue();
  pending_ += ident;
}

void TWriter::WriteSet(const TEnumInfo& elements, std::uint64_t bits) {
  BeginValue();
  String names = SetToString(elements, bits, false);
  String spaced;
  for (char16_t c : names) {
    spaced.push_back(c);
    if (c == u',') spaced.push_back(u' ');
  }
  pending_ += u"[" + spaced + u"]";
}

void TWriter::WriteBinary(const std::vector<std::uint8_t>& bytes) {
  BeginValue();
  pending_ += u"{";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % kBytesPerLine == 0) pending_ += u"\n" + Spaces(indent_ + listDepth_ + 1);
    pending_ += IntToHex(bytes[i], 2);
  }
  pending_ += u"}";
}

void TWriter::WriteListBegin() {
  BeginValue();
  pending_ += u"(";
  ++listDepth_;
}

void TWriter::WriteListEnd() {
  if (listDepth_ == 0) return;
  --listDepth_;
  pending_ += u")";
}

void TStream::WriteComponent(TComponent* instance) { kestrel::WriteComponent(*this, instance); }

void WriteComponent(TStream& stream, TComponent* component) {
  TWriter writer(stream);
  writer.WriteRootComponent(component);
}

String ComponentToString(TComponent* component) {
  TStringStream stream;
  WriteComponent(stream, component);
  return stream.DataString();
}

void WriteObjectProperties(TStream& stream, TPersistent* instance) {
  TWriter writer(stream);
  writer.WriteProperties(instance);
}

}  // namespace kestrel
