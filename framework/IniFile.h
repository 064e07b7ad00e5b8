#pragma once
// TIniFile: an ini file on disk that every call sees as it is now. Reads pick up changes made by
// others since the last access; each write updates the file at once (atomically), keeping all
// other sections, keys and comments. A value in matching single or double quotes loses them on
// reading.

#include <cstdint>

#include "framework/CustomIniFile.h"
#include "framework/IniDocument.h"

namespace kestrel {

class TIniFile : public TCustomIniFile {
  KESTREL_CLASS(TIniFile)
  // A relative name is taken relative to the working directory.
  explicit TIniFile(const String& fileName);

  String ReadString(const String& section, const String& ident, const String& defaultValue) override;
  void WriteString(const String& section, const String& ident, const String& value) override;
  void ReadSection(const String& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const String& section, TStrings& strings) override;
  void EraseSection(const String& section) override;
  void DeleteKey(const String& section, const String& ident) override;
  // Writes reach the file at once (without waiting for the disk each time); UpdateFile waits
  // until the file is on the disk.
  void UpdateFile() override;
  bool SectionExists(const String& section) override;
  bool ValueExists(const String& section, const String& ident) override;

 private:
  void Refresh();
  void Save();

  TIniDocument doc_;
  struct Stamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::uint64_t inode = 0;
    bool operator==(const Stamp&) const = default;
  };
  Stamp StampNow() const;
  Stamp stamp_;
  bool loaded_ = false;
};

}  // namespace kestrel
