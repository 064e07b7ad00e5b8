#pragma once
// Component streaming in a readable text form:
//
//   object Form1: TForm1
//     Caption = 'Hello'#13#10'world'
//     Font.Name = 'Tahoma'
//     Anchors = [akLeft, akTop]
//     Lines.Strings = (
//       'one'
//       'two')
//     Picture = {
//       89504E47...}
//     Snippets = <
//       item
//         Name = 'intro'
//       end>
//     object Button1: TButton
//       Left = 8
//     end
//   end
//
// TWriter writes a component's stored published properties that differ from their declared
// defaults (sub-objects as dotted paths, links to other components by name), then what the
// component declares in DefineProperties, then its children. TReader reads it back through the
// setters, creating components through the class registry, inside the csLoading/csReading
// bracket, and calls Loaded at the end.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Component.h"
#include "framework/Parser.h"

namespace kestrel {

class TStream;
class TCollection;
class TReader;
class TWriter;
struct TPropInfo;
class TEnumInfo;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

enum TValueType {
  vaNull,
  vaList,
  vaInteger,
  vaFloat,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaNil,
  vaCollection,
};

class TFiler : public TObject {
  KESTREL_CLASS(TFiler)
  TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  // Data of the object being filed that is not a published property. `hasData` tells the
  // writer whether there is anything to write (ignored when reading).
  virtual void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                              bool hasData) = 0;
  virtual void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                                    bool hasData) = 0;

  TComponent* Root() const { return root_; }

 protected:
  TComponent* root_ = nullptr;
};

class TWriter : public TFiler {
  KESTREL_CLASS(TWriter)
  explicit TWriter(TStream& stream);
  ~TWriter() override;

  void WriteRootComponent(TComponent* root);
  // A component block (object … end) with its children; the root must have been set by
  // WriteRootComponent, or the component becomes the root.
  void WriteComponent(TComponent* component);
  // The property lines of any persistent object (no object/end around them).
  void WriteProperties(TPersistent* instance);

  void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;

  // Values, for DefineProperty writers: each call writes one value; lists hold values.
  void WriteInteger(std::int64_t value);
  void WriteBoolean(bool value);
  void WriteFloat(double value);
  void WriteString(const String& value);
  void WriteChar(char16_t value);
  void WriteIdent(const String& ident);
  void WriteSet(const TEnumInfo& elements, std::uint64_t bits);
  void WriteBinary(const std::vector<std::uint8_t>& bytes);
  void WriteListBegin();
  void WriteListEnd();

 private:
  void WriteObjectProperties(TPersistent* instance, const String& prefix, int depth);
  void EndProperty();
  void WriteCollection(const String& name, TCollection* collection, int depth);
  void WriteProperty(TPersistent* instance, const TPropInfo& prop, const String& prefix, int depth);
  void BeginProperty(const String& name);
  void BeginValue();
  void Line(const String& text);
  String ReferenceName(TComponent* component) const;

  TStream& stream_;
  String pending_;
  int indent_ = 0;
  int listDepth_ = 0;
  String prefix_;
};

// (reader, message, handled): set handled to skip the offending value and go on.
using TReaderError = std::function<void(TReader& reader, const String& message, bool& handled)>;

class TReader : public TFiler {
  KESTREL_CLASS(TReader)
  // Reads the rest of the stream (UTF-8 text, a byte-order mark is skipped).
  explicit TReader(TStream& stream);
  ~TReader() override;

  // Reads one component block. With `root` given the block is read into it (and into the
  // components it already owns, matched by name); otherwise the root is created from its class
  // name (RegisterClass) with no owner. A failure leaves no component created by this read
  // alive, clears the loading flags, and raises.
  TComponent* ReadRootComponent(TComponent* root);
  // Reads property lines into any persistent object until the end of the text.
  void ReadProperties(TPersistent* instance);

  void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;

  // Values, for DefineProperty readers. A value of another type raises EReadError
  // "Invalid property value".
  TValueType NextValue() const;
  std::int64_t ReadInteger();
  bool ReadBoolean();
  double ReadFloat();
  String ReadString();
  char16_t ReadChar();
  String ReadIdent();
  std::uint64_t ReadSet(const TEnumInfo& elements);
  std::vector<std::uint8_t> ReadBinary();
  void ReadListBegin();
  void ReadListEnd();
  bool EndOfList() const;
  void SkipValue();

  // Unknown properties and bad values: the handler may mark them handled (skipped); otherwise
  // EReadError is raised with the message ("Property %s does not exist", …).
  const TReaderError& OnError() const { return onError_; }
  void SetOnError(TReaderError handler) { onError_ = std::move(handler); }

  // The component whose block is being read, and the one around it.
  TComponent* Owner() const { return root_; }
  TComponent* Parent() const { return parent_; }

 private:
  struct Fixup {
    TPersistent* target;
    const TPropInfo* prop;
    String name;
  };
  TComponent* ReadComponent(TComponent* parent);
  void ReadBlockBody(TComponent* component);
  void ReadProperty(TPersistent* instance);
  void ReadPropValue(TPersistent* instance, const TPropInfo& prop);
  void ReadCollection(TCollection* collection);
  // Reports through OnError; `skipValue` when the value has not been consumed yet.
  void PropertyError(const String& message, bool skipValue);
  [[noreturn]] void InvalidValue() const;
  void ResolveFixups();
  void Cleanup(std::vector<TComponent*>& created);

  // Nested blocks and lists deeper than this are refused, so hostile text cannot exhaust the
  // stack.
  static constexpr int kMaxNesting = 64;
  class NestingGuard;

  std::unique_ptr<TParser> parser_;
  int nesting_ = 0;
  TReaderError onError_;
  TComponent* parent_ = nullptr;
  String definedName_;
  bool definedHandled_ = false;
  std::vector<TComponent*> loaded_;
  std::vector<TComponent*> created_;
  std::vector<Fixup> fixups_;
};

// Whole component blocks on streams and in text.
void WriteComponent(TStream& stream, TComponent* component);
TComponent* ReadComponent(TStream& stream, TComponent* instance = nullptr);
String ComponentToString(TComponent* component);
TComponent* StringToComponent(const String& text, TComponent* instance = nullptr);
// The property lines of a persistent object (a settings or clipboard form without object/end).
void WriteObjectProperties(TStream& stream, TPersistent* instance);
void ReadObjectProperties(TStream& stream, TPersistent* instance, const TReaderError& onError = nullptr);

}  // namespace kestrel
