#pragma once
// Writes components and persistent objects in the streamed text form (see Filer.h).

#include <cstdint>
#include <vector>

#include "framework/Filer.h"

namespace kestrel {

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

// A whole component block on a stream, and in text.
void WriteComponent(TStream& stream, TComponent* component);
String ComponentToString(TComponent* component);
// The property lines of a persistent object (a settings or clipboard form without object/end).
void WriteObjectProperties(TStream& stream, TPersistent* instance);

}  // namespace kestrel
