#pragma once
// Reads components and persistent objects back from the streamed text form (see Filer.h).

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Filer.h"
#include "framework/Parser.h"

namespace kestrel {

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

// A whole component block from a stream, and from text.
TComponent* ReadComponent(TStream& stream, TComponent* instance = nullptr);
TComponent* StringToComponent(const String& text, TComponent* instance = nullptr);
// Property lines (without object/end) into a persistent object.
void ReadObjectProperties(TStream& stream, TPersistent* instance, const TReaderError& onError = nullptr);

}  // namespace kestrel
