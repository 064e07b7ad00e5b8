#include "framework/MemIniFile.h"

#include "framework/Strings.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TMemIniFile, TCustomIniFile)

TMemIniFile::TMemIniFile(const String& fileName) : TCustomIniFile(fileName), fileName_(fileName) {
  doc_.LoadFromFile(fileName_);
}

TMemIniFile::~TMemIniFile() {
  if (autoSave_ && modified_) {
    try {
      UpdateFile();
    } catch (...) {
      // A destructor cannot report; the caller who wanted to know uses UpdateFile.
    }
  }
}

String TMemIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
  String value;
  return doc_.ReadValue(section, ident, value) ? value : defaultValue;
}

void TMemIniFile::WriteString(const String& section, const String& ident, const String& value) {
  CheckNames(section, ident, value);
  doc_.WriteValue(section, ident, value);
  modified_ = true;
}

void TMemIniFile::ReadSection(const String& section, TStrings& strings) { doc_.ReadSection(section, strings); }

void TMemIniFile::ReadSections(TStrings& strings) { doc_.ReadSections(strings); }

void TMemIniFile::ReadSectionValues(const String& section, TStrings& strings) {
  doc_.ReadSectionValues(section, strings);
}

void TMemIniFile::EraseSection(const String& section) {
  if (doc_.EraseSection(section)) modified_ = true;
}

void TMemIniFile::DeleteKey(const String& section, const String& ident) {
  if (doc_.DeleteKey(section, ident)) modified_ = true;
}

void TMemIniFile::UpdateFile() {
  doc_.SaveToFile(fileName_);
  modified_ = false;
}

bool TMemIniFile::SectionExists(const String& section) { return doc_.SectionExists(section); }

bool TMemIniFile::ValueExists(const String& section, const String& ident) {
  String value;
  return doc_.ReadValue(section, ident, value);
}

void TMemIniFile::Clear() {
  doc_.Clear();
  modified_ = true;
}

void TMemIniFile::GetStrings(TStrings& strings) const {
  String text = doc_.Text();
  strings.SetText(text);
}

void TMemIniFile::SetStrings(const TStrings& strings) {
  doc_.SetText(strings.Text());
  modified_ = true;
}

void TMemIniFile::Rename(const String& fileName, bool reload) {
  fileName_ = fileName;
  if (reload) {
    doc_.LoadFromFile(fileName_);
    modified_ = false;
  }
}

}  // namespace kestrel
