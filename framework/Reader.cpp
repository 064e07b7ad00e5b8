#include "framework/Reader.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

#include "framework/ClassRegistry.h"
#include "framework/Collection.h"
#include "framework/Encoding.h"
#include "framework/Exceptions.h"
#include "framework/MemoryStream.h"
#include "framework/PropertyPath.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "platform/core/ScopeGuard.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TReader, TFiler)

namespace {

bool IsObjectKeyword(const TParser& p) {
  return p.TokenSymbolIs(u"object") || p.TokenSymbolIs(u"inherited") || p.TokenSymbolIs(u"inline");
}

String ReadAllText(TStream& stream) {
  std::vector<std::uint8_t> bytes = ReadRemaining(stream);
  std::size_t preamble = 0;
  const TEncoding& enc = TEncoding::Detect(bytes.data(), bytes.size(), TEncoding::Default(), preamble);
  return enc.GetString(bytes.data() + preamble, bytes.size() - preamble);
}

}  // namespace

class TReader::NestingGuard {
 public:
  explicit NestingGuard(TReader& reader) : reader_(reader) {
    if (++reader_.nesting_ > kMaxNesting) {
      --reader_.nesting_;
      reader_.parser_->Error(u"Nesting too deep");
    }
  }
  ~NestingGuard() { --reader_.nesting_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  TReader& reader_;
};

TReader::TReader(TStream& stream) : parser_(std::make_unique<TParser>(ReadAllText(stream))) {}

TReader::~TReader() = default;

TComponent* TReader::ReadRootComponent(TComponent* root) {
  root_ = root;
  loaded_.clear();
  created_.clear();
  fixups_.clear();
  platform::ScopeGuard freeCreated([this] { Cleanup(created_); });  // when reading fails
  if (!IsObjectKeyword(*parser_)) parser_->Error(u"'object' expected");
  TComponent* result = ReadComponent(nullptr);
  ResolveFixups();
  for (TComponent* c : loaded_) c->SetState(csReading, false);
  for (TComponent* c : loaded_) {
    if (c->ComponentState().Contains(csLoading)) c->Loaded();
    c->SetState(csLoading, false);
  }
  freeCreated.Dismiss();
  loaded_.clear();
  created_.clear();
  return result;
}

void TReader::Cleanup(std::vector<TComponent*>& created) {
  bool rootCreated = !created.empty() && created.front() == root_;
  for (TComponent* c : loaded_) {
    if (std::find(created.begin(), created.end(), c) != created.end()) continue;
    c->SetState(csReading, false);
    c->SetState(csLoading, false);
  }
  if (rootCreated) {
    delete root_;  // frees everything it owns, including what this read created
    root_ = nullptr;
  } else {
    for (auto it = created.rbegin(); it != created.rend(); ++it) delete *it;
  }
  created.clear();
  loaded_.clear();
  fixups_.clear();
}

TComponent* TReader::ReadComponent(TComponent* parent) {
  NestingGuard guard(*this);
  parser_->NextToken();  // past 'object'
  parser_->CheckToken(TToken::Symbol);
  String name = parser_->TokenString();
  String className;
  parser_->NextToken();
  if (parser_->IsPunct(u':')) {
    parser_->NextToken();
    parser_->CheckToken(TToken::Symbol);
    className = parser_->TokenString();
    parser_->NextToken();
  } else {
    className = name;
    name.clear();
  }
  if (parser_->IsPunct(u'[')) {  // an index of an inherited block: not used here
    while (parser_->Token() != TToken::Eof && !parser_->IsPunct(u']')) parser_->NextToken();
    parser_->NextToken();
  }

  TComponent* component = nullptr;
  if (!parent && root_) {
    component = root_;
    if (component->Name().empty() && !name.empty()) component->SetName(name);
  } else if (parent) {
    component = root_->FindComponent(name);
    if (component && !SameText(component->ClassName(), className))
      throw EReadError(u"Cannot read %s: it is a %s, not a %s", {name, component->ClassName(), className});
  }
  if (!component) {
    const TMetaClass& cls = FindClass(className);
    TObject* object = cls.Create(parent ? root_ : nullptr);
    component = dynamic_cast<TComponent*>(object);
    if (!component) {
      delete object;
      throw EReadError(u"Class %s is not a component class", {className});
    }
    created_.push_back(component);
    if (!parent) root_ = component;
    component->SetState(csLoading, true);
    component->SetState(csReading, true);
    component->SetName(name);
  }
  component->SetState(csLoading, true);
  component->SetState(csReading, true);
  if (std::find(loaded_.begin(), loaded_.end(), component) == loaded_.end()) loaded_.push_back(component);
  if (parent) component->SetParentComponent(parent);
  ReadBlockBody(component);
  return component;
}

void TReader::ReadBlockBody(TComponent* component) {
  TComponent* saved = parent_;
  parent_ = component;
  for (;;) {
    if (parser_->Token() == TToken::Eof) parser_->Error(u"'end' expected");
    if (parser_->TokenSymbolIs(u"end")) break;
    if (IsObjectKeyword(*parser_)) ReadComponent(component);
    else ReadProperty(component);
  }
  parser_->NextToken();
  parent_ = saved;
}

void TReader::ReadProperties(TPersistent* instance) {
  auto* component = dynamic_cast<TComponent*>(instance);
  root_ = component;
  if (component) {
    component->SetState(csLoading, true);
    component->SetState(csReading, true);
  }
  {
    platform::ScopeGuard leaveLoading([component] {  // when reading fails
      if (!component) return;
      component->SetState(csReading, false);
      component->SetState(csLoading, false);
    });
    while (parser_->Token() != TToken::Eof) ReadProperty(instance);
    ResolveFixups();
    leaveLoading.Dismiss();
  }
  if (component) {
    component->SetState(csReading, false);
    component->Loaded();
    component->SetState(csLoading, false);
  }
}

void TReader::ReadProperty(TPersistent* instance) {
  parser_->CheckToken(TToken::Symbol);
  String path = parser_->TokenString();
  parser_->NextToken();
  parser_->CheckPunct(u'=');
  parser_->NextToken();

  // A dotted path ("Font.Style") leads to the sub-object that holds its last name.
  const TPropertyPathEnd end = WalkPropertyPath(instance, path);
  auto* target = dynamic_cast<TPersistent*>(end.Instance);
  const std::u16string_view rest = end.Name;
  if (!target) {
    PropertyError(Format(u"Property %s does not exist", {path}), true);
    return;
  }
  const TPropInfo* prop = GetPropInfo(target, rest);
  if (prop && prop->Kind != tkMethod) {
    ReadPropValue(target, *prop);
    return;
  }
  definedName_ = String(rest);
  definedHandled_ = false;
  target->DefineProperties(*this);
  bool handled = definedHandled_;
  definedName_.clear();
  if (handled) return;
  if (prop) {  // an event handler name: there is nothing to bind it to
    SkipValue();
    return;
  }
  PropertyError(Format(u"Property %s does not exist", {path}), true);
}

void TReader::ReadCollection(TCollection* collection) {
  NestingGuard guard(*this);
  parser_->NextToken();  // past '<'
  collection->BeginUpdate();
  const platform::ScopeGuard endUpdate([&] { collection->EndUpdate(); });
  collection->Clear();
  while (!parser_->IsPunct(u'>')) {
    if (!parser_->TokenSymbolIs(u"item")) parser_->Error(u"'item' expected");
    parser_->NextToken();
    TCollectionItem* item = collection->Add();
    while (!parser_->TokenSymbolIs(u"end")) {
      if (parser_->Token() == TToken::Eof) parser_->Error(u"'end' expected");
      ReadProperty(item);
    }
    parser_->NextToken();
  }
  parser_->NextToken();
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo& prop) {
  TValueType next = NextValue();
  if (next == vaCollection) {
    auto* collection = prop.Kind == tkClass ? dynamic_cast<TCollection*>(GetObjectProp(instance, prop)) : nullptr;
    if (collection) ReadCollection(collection);
    else PropertyError(u"Invalid property value", true);
    return;
  }
  bool ok = false;
  switch (prop.Kind) {
    case tkInteger:
    case tkInt64: ok = next == vaInteger || next == vaIdent; break;
    case tkChar:
    case tkWChar: ok = next == vaString || next == vaInteger; break;
    case tkEnumeration: ok = next == vaIdent || next == vaTrue || next == vaFalse || next == vaInteger; break;
    case tkSet: ok = next == vaSet; break;
    case tkFloat:
      ok = next == vaInteger || next == vaFloat || parser_->TokenSymbolIs(u"INF") || parser_->TokenSymbolIs(u"NAN");
      break;
    case tkClass: ok = next == vaIdent || next == vaNil; break;
    default: ok = prop.IsString() && next == vaString; break;
  }
  if (!ok || !prop.IsWritable()) {
    PropertyError(ok ? Format(u"Property %s is read-only", {prop.Name}) : String(u"Invalid property value"), true);
    return;
  }
  try {
    switch (prop.Kind) {
      case tkInteger:
      case tkInt64:
        if (next == vaIdent) SetPropText(instance, prop, ReadIdent());  // a registered constant
        else SetOrdProp(instance, prop, ReadInteger());
        break;
      case tkChar:
      case tkWChar: SetOrdProp(instance, prop, next == vaInteger ? ReadInteger() : ReadChar()); break;
      case tkEnumeration:
        if (next == vaInteger) SetOrdProp(instance, prop, ReadInteger());
        else SetPropText(instance, prop, ReadIdent());
        break;
      case tkSet: SetOrdProp(instance, prop, static_cast<std::int64_t>(ReadSet(*prop.EnumType))); break;
      case tkFloat: SetFloatProp(instance, prop, ReadFloat()); break;
      case tkClass: {
        String name = ReadIdent();
        if (SameText(name, u"nil")) SetObjectProp(instance, prop, nullptr);
        else fixups_.push_back({instance, &prop, name});
        break;
      }
      default: SetStrProp(instance, prop, ReadString()); break;
    }
  } catch (const EPropertyError& e) {
    PropertyError(e.Message(), false);
  } catch (const EPropertyConvertError& e) {
    PropertyError(e.Message(), false);
  } catch (const EConvertError& e) {
    PropertyError(e.Message(), false);
  }
}

void TReader::ResolveFixups() {
  std::vector<Fixup> fixups;
  fixups.swap(fixups_);
  for (const Fixup& f : fixups) {
    TComponent* found = nullptr;
    if (root_) {
      std::u16string_view name = f.name;
      auto dot = name.find(u'.');
      if (dot == std::u16string_view::npos) {
        found = SameText(root_->Name(), name) ? root_ : root_->FindComponent(name);
      } else if (SameText(root_->Name(), name.substr(0, dot))) {
        found = root_->FindComponent(name.substr(dot + 1));
      }
    }
    if (!found) {
      // Links to components outside this read stay as they are; a handler hears of them.
      if (onError_) {
        bool handled = false;
        onError_(*this, Format(u"Component %s not found", {f.name}), handled);
      }
      continue;
    }
    try {
      SetObjectProp(f.target, *f.prop, found);
    } catch (const EPropertyError& e) {
      PropertyError(e.Message(), false);
    }
  }
}

void TReader::PropertyError(const String& message, bool skipValue) {
  bool handled = false;
  if (onError_) onError_(*this, message, handled);
  if (!handled) throw EReadError(message);
  if (skipValue) SkipValue();
}

void TReader::InvalidValue() const { throw EReadError(u"Invalid property value"); }

void TReader::DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc&, bool) {
  if (definedHandled_ || !readData || definedName_.empty() || !SameText(name, definedName_)) return;
  definedHandled_ = true;
  readData(*this);
}

void TReader::DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc&, bool) {
  if (definedHandled_ || !readData || definedName_.empty() || !SameText(name, definedName_)) return;
  definedHandled_ = true;
  TMemoryStream data;
  auto bytes = ReadBinary();
  data.WriteBuffer(bytes.data(), bytes.size());
  data.SetPosition(0);
  readData(data);
}

TValueType TReader::NextValue() const {
  const TParser& p = *parser_;
  switch (p.Token()) {
    case TToken::Integer: return vaInteger;
    case TToken::Float: return vaFloat;
    case TToken::String: return vaString;
    case TToken::Symbol:
      if (p.TokenSymbolIs(u"True")) return vaTrue;
      if (p.TokenSymbolIs(u"False")) return vaFalse;
      if (p.TokenSymbolIs(u"nil")) return vaNil;
      return vaIdent;
    case TToken::Punct:
      switch (p.Punct()) {
        case u'(': return vaList;
        case u'[': return vaSet;
        case u'{': return vaBinary;
        case u'<': return vaCollection;
        default: return vaNull;
      }
    default: return vaNull;
  }
}

std::int64_t TReader::ReadInteger() {
  if (parser_->Token() != TToken::Integer) InvalidValue();
  std::int64_t v = parser_->TokenInt();
  parser_->NextToken();
  return v;
}

bool TReader::ReadBoolean() {
  TValueType t = NextValue();
  if (t != vaTrue && t != vaFalse) InvalidValue();
  parser_->NextToken();
  return t == vaTrue;
}

double TReader::ReadFloat() {
  double v;
  if (parser_->TokenSymbolIs(u"INF")) v = std::numeric_limits<double>::infinity();
  else if (parser_->TokenSymbolIs(u"NAN")) v = std::numeric_limits<double>::quiet_NaN();
  else if (parser_->Token() == TToken::Float) v = parser_->TokenFloat();
  else if (parser_->Token() == TToken::Integer) v = static_cast<double>(parser_->TokenInt());
  else InvalidValue();
  parser_->NextToken();
  return v;
}

String TReader::ReadString() {
  if (parser_->Token() != TToken::String) InvalidValue();
  String v = parser_->TokenString();
  parser_->NextToken();
  return v;
}

char16_t TReader::ReadChar() {
  if (parser_->Token() != TToken::String || parser_->TokenString().size() != 1) InvalidValue();
  char16_t c = parser_->TokenString()[0];
  parser_->NextToken();
  return c;
}

String TReader::ReadIdent() {
  if (parser_->Token() != TToken::Symbol) InvalidValue();
  String v = parser_->TokenString();
  parser_->NextToken();
  return v;
}

std::uint64_t TReader::ReadSet(const TEnumInfo& elements) {
  if (!parser_->IsPunct(u'[')) InvalidValue();
  parser_->NextToken();
  std::vector<String> names;
  while (!parser_->IsPunct(u']')) {
    if (parser_->Token() == TToken::Eof) parser_->Error(u"']' expected");
    if (parser_->IsPunct(u',')) {
      parser_->NextToken();
      continue;
    }
    names.push_back(ReadIdent());
  }
  parser_->NextToken();
  // Converted after the whole value was consumed, so a bad element can be skipped cleanly.
  std::uint64_t bits = 0;
  for (const String& n : names) {
    int v = elements.Value(n);
    if (v < 0 || v >= 64) throw EPropertyConvertError(u"Invalid property element: %s", {n});
    bits |= std::uint64_t{1} << v;
  }
  return bits;
}

std::vector<std::uint8_t> TReader::ReadBinary() {
  if (!parser_->IsPunct(u'{')) InvalidValue();
  return parser_->HexToBinary();
}

void TReader::ReadListBegin() {
  if (!parser_->IsPunct(u'(')) InvalidValue();
  parser_->NextToken();
}

void TReader::ReadListEnd() {
  if (!parser_->IsPunct(u')')) InvalidValue();
  parser_->NextToken();
}

bool TReader::EndOfList() const { return parser_->IsPunct(u')') || parser_->Token() == TToken::Eof; }

void TReader::SkipValue() {
  switch (NextValue()) {
    case vaList: {
      NestingGuard guard(*this);
      parser_->NextToken();
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      return;
    }
    case vaSet:
      parser_->NextToken();
      while (!parser_->IsPunct(u']')) {
        if (parser_->Token() == TToken::Eof) parser_->Error(u"']' expected");
        parser_->NextToken();
      }
      parser_->NextToken();
      return;
    case vaBinary: parser_->HexToBinary(); return;
    case vaCollection: {
      int depth = 0;
      do {
        if (parser_->Token() == TToken::Eof) parser_->Error(u"'>' expected");
        if (parser_->IsPunct(u'<')) ++depth;
        if (parser_->IsPunct(u'>')) --depth;
        parser_->NextToken();
      } while (depth > 0);
      return;
    }
    default:
      if (parser_->Token() == TToken::Eof) parser_->Error(u"Value expected");
      parser_->NextToken();
      return;
  }
}

TComponent* TStream::ReadComponent(TComponent* instance) { return kestrel::ReadComponent(*this, instance); }

TComponent* ReadComponent(TStream& stream, TComponent* instance) {
  TReader reader(stream);
  return reader.ReadRootComponent(instance);
}

TComponent* StringToComponent(const String& text, TComponent* instance) {
  TStringStream stream(text);
  return ReadComponent(stream, instance);
}

void ReadObjectProperties(TStream& stream, TPersistent* instance, const TReaderError& onError) {
  TReader reader(stream);
  reader.SetOnError(onError);
  reader.ReadProperties(instance);
}

}  // namespace kestrel
