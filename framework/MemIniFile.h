#pragma once
// TMemIniFile: the whole file held in memory. Reads and writes touch only memory; UpdateFile
// writes the file (atomically). Nothing is saved on destruction unless AutoSave is set.

#include "framework/CustomIniFile.h"
#include "framework/IniDocument.h"

namespace kestrel {

class TMemIniFile : public TCustomIniFile {
  KESTREL_CLASS(TMemIniFile)
  explicit TMemIniFile(const String& fileName);
  ~TMemIniFile() override;

  String ReadString(const String& section, const String& ident, const String& defaultValue) override;
  void WriteString(const String& section, const String& ident, const String& value) override;
  void ReadSection(const String& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const String& section, TStrings& strings) override;
  void EraseSection(const String& section) override;
  void DeleteKey(const String& section, const String& ident) override;
  void UpdateFile() override;
  bool SectionExists(const String& section) override;
  bool ValueExists(const String& section, const String& ident) override;

  void Clear();
  // The whole file as lines, and replacing it from lines.
  void GetStrings(TStrings& strings) const;
  void SetStrings(const TStrings& strings);
  // Switches to another file, optionally reading it.
  void Rename(const String& fileName, bool reload);
  bool AutoSave() const { return autoSave_; }
  void SetAutoSave(bool value) { autoSave_ = value; }

 private:
  String fileName_;
  TIniDocument doc_;
  bool modified_ = false;
  bool autoSave_ = false;
};

}  // namespace kestrel
