#pragma once
// The in-memory form of an ini file shared by TMemIniFile and TIniFile: sections of key=value
// lines, names compared without case. Comments, blank lines and other lines are kept where they
// stand, so rewriting a file changes only what was written. Saving replaces the file atomically
// (a temporary file in the same folder, flushed, then renamed over it).

#include <utility>
#include <vector>

#include "platform/core/Unicode.h"

namespace kestrel {

class TEncoding;
class TStrings;

class TIniDocument {
 public:
  // Text as read from a file: sections start at "[name]" lines; lines before the first section
  // and lines without '=' are kept but are not keys. Keys and values are trimmed.
  void SetText(const String& text);
  String Text() const;
  void Clear();

  bool ReadValue(std::u16string_view section, std::u16string_view key, String& value) const;
  // Updates the key in place, or appends it at the end of its section (a new section goes at
  // the end of the document).
  void WriteValue(std::u16string_view section, std::u16string_view key, const String& value);
  std::vector<String> Sections() const;
  std::vector<String> Keys(std::u16string_view section) const;
  std::vector<std::pair<String, String>> Values(std::u16string_view section) const;
  bool SectionExists(std::u16string_view section) const;
  // The same, into a string list (cleared first, filled in one update bracket); values are
  // passed through `unquote` when given.
  void ReadSection(std::u16string_view section, TStrings& strings) const;
  void ReadSections(TStrings& strings) const;
  void ReadSectionValues(std::u16string_view section, TStrings& strings,
                         String (*unquote)(const String&) = nullptr) const;
  bool EraseSection(std::u16string_view section);
  bool DeleteKey(std::u16string_view section, std::u16string_view key);

  // Reads a file (UTF-8, or what its byte-order mark says); false when there is none.
  bool LoadFromFile(const String& fileName);
  // Raises EIniFileException "Unable to write to %s" on failure; the old file is then intact.
  // `durable` also waits until the data is on the disk (fsync) before replacing the file.
  void SaveToFile(const String& fileName, bool durable = true) const;

 private:
  struct Line {
    String key;  // empty for lines that are not keys
    String value;
    String raw;  // the line as it stood, for lines that are not keys
  };
  struct Section {
    String name;
    std::vector<Line> lines;
  };
  Section* Find(std::u16string_view name);
  const Section* Find(std::u16string_view name) const;

  std::vector<String> preamble_;
  std::vector<Section> sections_;
  String lineBreak_ = u"\n";
  const TEncoding* encoding_ = nullptr;  // the file's, when it had a byte-order mark
};

}  // namespace kestrel
