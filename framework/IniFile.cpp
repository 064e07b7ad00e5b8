#include "framework/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/Exceptions.h"
#include "framework/Strings.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/UniqueFd.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TIniFile, TCustomIniFile)

namespace {
String Unquote(const String& value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}
}  // namespace

TIniFile::TIniFile(const String& fileName) : TCustomIniFile(fileName) {}

TIniFile::Stamp TIniFile::StampNow() const {
  struct stat st {};
  Stamp s;
  if (::stat(Utf16ToUtf8(FileName()).c_str(), &st) != 0) return s;
  s.exists = true;
  s.size = st.st_size;
  s.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.inode = st.st_ino;
  return s;
}

void TIniFile::Refresh() {
  Stamp now = StampNow();
  if (loaded_ && now == stamp_) return;
  doc_.LoadFromFile(FileName());
  stamp_ = now;
  loaded_ = true;
}

void TIniFile::Save() {
  doc_.SaveToFile(FileName(), false);
  stamp_ = StampNow();
}

void TIniFile::UpdateFile() {
  platform::UniqueFd fd(::open(Utf16ToUtf8(FileName()).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return;  // nothing written yet
  const bool ok = ::fsync(fd.get()) == 0;
  fd.reset();
  if (!ok) throw EIniFileException(u"Unable to write to %s", {FileName()});
}

String TIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
  Refresh();
  String value;
  return doc_.ReadValue(section, ident, value) ? Unquote(value) : defaultValue;
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value) {
  CheckNames(section, ident, value);
  Refresh();
  doc_.WriteValue(section, ident, value);
  platform::ScopeGuard reload([this] { loaded_ = false; });  // memory is ahead of the file: read it again
  Save();
  reload.Dismiss();
}

void TIniFile::ReadSection(const String& section, TStrings& strings) {
  Refresh();
  doc_.ReadSection(section, strings);
}

void TIniFile::ReadSections(TStrings& strings) {
  Refresh();
  doc_.ReadSections(strings);
}

void TIniFile::ReadSectionValues(const String& section, TStrings& strings) {
  Refresh();
  doc_.ReadSectionValues(section, strings, Unquote);
}

void TIniFile::EraseSection(const String& section) {
  Refresh();
  if (doc_.EraseSection(section)) Save();
}

void TIniFile::DeleteKey(const String& section, const String& ident) {
  Refresh();
  if (doc_.DeleteKey(section, ident)) Save();
}

bool TIniFile::SectionExists(const String& section) {
  Refresh();
  return doc_.SectionExists(section);
}

bool TIniFile::ValueExists(const String& section, const String& ident) {
  Refresh();
  String value;
  return doc_.ReadValue(section, ident, value);
}

}  // namespace kestrel
