#pragma once
// TCustomIniFile: typed access to sections of key=value pairs. Descendants store the strings;
// this class converts integers (decimal, $hex or 0x hex; written in decimal, signed 32-bit),
// booleans (written 1/0; read as numbers, or True/False) and floats (invariant '.').
// Section and key names are compared without case.

#include <vector>

#include "framework/Object.h"

namespace kestrel {

class TStrings;

class TCustomIniFile : public TObject {
  KESTREL_CLASS(TCustomIniFile)
  explicit TCustomIniFile(String fileName) : fileName_(std::move(fileName)) {}
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;
  ~TCustomIniFile() override = default;

  const String& FileName() const { return fileName_; }

  virtual String ReadString(const String& section, const String& ident, const String& defaultValue) = 0;
  // Section and key names with '=', ']' or line breaks, and values with line breaks, would
  // break the file apart: they raise EIniFileException "Invalid key or value".
  virtual void WriteString(const String& section, const String& ident, const String& value) = 0;
  // The keys of a section, the names of all sections, a section's "key=value" lines.
  virtual void ReadSection(const String& section, TStrings& strings) = 0;
  virtual void ReadSections(TStrings& strings) = 0;
  virtual void ReadSectionValues(const String& section, TStrings& strings) = 0;
  virtual void EraseSection(const String& section) = 0;
  virtual void DeleteKey(const String& section, const String& ident) = 0;
  // Writes pending changes to the file.
  virtual void UpdateFile() = 0;
  virtual bool SectionExists(const String& section);
  virtual bool ValueExists(const String& section, const String& ident);

  int ReadInteger(const String& section, const String& ident, int defaultValue);
  void WriteInteger(const String& section, const String& ident, int value);
  bool ReadBool(const String& section, const String& ident, bool defaultValue);
  void WriteBool(const String& section, const String& ident, bool value);
  double ReadFloat(const String& section, const String& ident, double defaultValue);
  void WriteFloat(const String& section, const String& ident, double value);

 protected:
  static void CheckNames(const String& section, const String& ident, const String& value);

 private:
  String fileName_;
};

}  // namespace kestrel
