#include "framework/IniDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include "framework/Encoding.h"
#include "framework/Exceptions.h"
#include "framework/MemoryStream.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/UniqueFd.h"

namespace kestrel {

void TIniDocument::Clear() {
  preamble_.clear();
  sections_.clear();
}

void TIniDocument::SetText(const String& text) {
  Clear();
  lineBreak_ = text.find(u"\r\n") != String::npos ? u"\r\n" : u"\n";
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t start = i;
    while (i < text.size() && text[i] != u'\r' && text[i] != u'\n') ++i;
    String raw = text.substr(start, i - start);
    if (i < text.size() && text[i] == u'\r') ++i;
    if (i < text.size() && text[i] == u'\n') ++i;

    String s = Trim(raw);
    if (s.size() >= 2 && s.front() == u'[' && s.back() == u']') {
      sections_.push_back({Trim(std::u16string_view(s).substr(1, s.size() - 2)), {}});
      continue;
    }
    Line line;
    auto eq = s.find(u'=');
    if (!s.empty() && s[0] != u';' && s[0] != u'#' && eq != String::npos && eq > 0) {
      line.key = TrimRight(std::u16string_view(s).substr(0, eq));
      line.value = Trim(std::u16string_view(s).substr(eq + 1));
    } else {
      line.raw = raw;
    }
    if (sections_.empty()) preamble_.push_back(raw);
    else sections_.back().lines.push_back(std::move(line));
  }
}

String TIniDocument::Text() const {
  String out;
  for (const String& raw : preamble_) out += raw + lineBreak_;
  for (const Section& s : sections_) {
    out += u"[" + s.name + u"]" + lineBreak_;
    for (const Line& l : s.lines) out += (l.key.empty() ? l.raw : l.key + u"=" + l.value) + lineBreak_;
  }
  return out;
}

TIniDocument::Section* TIniDocument::Find(std::u16string_view name) {
  for (Section& s : sections_)
    if (SameText(s.name, name)) return &s;
  return nullptr;
}

const TIniDocument::Section* TIniDocument::Find(std::u16string_view name) const {
  for (const Section& s : sections_)
    if (SameText(s.name, name)) return &s;
  return nullptr;
}

bool TIniDocument::ReadValue(std::u16string_view section, std::u16string_view key, String& value) const {
  if (const Section* s = Find(section)) {
    for (const Line& l : s->lines) {
      if (!l.key.empty() && SameText(l.key, key)) {
        value = l.value;
        return true;
      }
    }
  }
  return false;
}

void TIniDocument::WriteValue(std::u16string_view section, std::u16string_view key, const String& value) {
  Section* s = Find(section);
  if (!s) {
    sections_.push_back({String(section), {}});
    s = &sections_.back();
  }
  for (Line& l : s->lines) {
    if (!l.key.empty() && SameText(l.key, key)) {
      l.value = value;
      return;
    }
  }
  // After the section's last key, before the blank lines and comments that trail it (they
  // usually introduce the next section).
  auto pos = s->lines.end();
  while (pos != s->lines.begin() && (pos - 1)->key.empty()) --pos;
  s->lines.insert(pos, Line{String(key), value, String()});
}

std::vector<String> TIniDocument::Sections() const {
  std::vector<String> out;
  for (const Section& s : sections_) out.push_back(s.name);
  return out;
}

std::vector<String> TIniDocument::Keys(std::u16string_view section) const {
  std::vector<String> out;
  if (const Section* s = Find(section))
    for (const Line& l : s->lines)
      if (!l.key.empty()) out.push_back(l.key);
  return out;
}

std::vector<std::pair<String, String>> TIniDocument::Values(std::u16string_view section) const {
  std::vector<std::pair<String, String>> out;
  if (const Section* s = Find(section))
    for (const Line& l : s->lines)
      if (!l.key.empty()) out.emplace_back(l.key, l.value);
  return out;
}

bool TIniDocument::SectionExists(std::u16string_view section) const { return Find(section) != nullptr; }

namespace {
void Fill(TStrings& strings, const std::vector<String>& items) {
  strings.BeginUpdate();
  const platform::ScopeGuard endUpdate([&] { strings.EndUpdate(); });
  strings.Clear();
  for (const String& item : items) strings.Add(item);
}
}  // namespace

void TIniDocument::ReadSection(std::u16string_view section, TStrings& strings) const { Fill(strings, Keys(section)); }

void TIniDocument::ReadSections(TStrings& strings) const { Fill(strings, Sections()); }

void TIniDocument::ReadSectionValues(std::u16string_view section, TStrings& strings,
                                     String (*unquote)(const String&)) const {
  std::vector<String> lines;
  for (const auto& [k, v] : Values(section)) lines.push_back(k + u"=" + (unquote ? unquote(v) : v));
  Fill(strings, lines);
}

bool TIniDocument::EraseSection(std::u16string_view section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (SameText(it->name, section)) {
      sections_.erase(it);
      return true;
    }
  }
  return false;
}

bool TIniDocument::DeleteKey(std::u16string_view section, std::u16string_view key) {
  if (Section* s = Find(section)) {
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
      if (!it->key.empty() && SameText(it->key, key)) {
        s->lines.erase(it);
        return true;
      }
    }
  }
  return false;
}

bool TIniDocument::LoadFromFile(const String& fileName) {
  Clear();
  encoding_ = nullptr;
  if (!FileExists(fileName)) return false;
  TMemoryStream data;
  data.LoadFromFile(fileName);
  std::size_t preamble = 0;
  const TEncoding& enc = TEncoding::Detect(data.Memory(), data.Bytes().size(), TEncoding::Default(), preamble);
  if (preamble > 0) encoding_ = &enc;
  SetText(enc.GetString(data.Memory() + preamble, data.Bytes().size() - preamble));
  return true;
}

void TIniDocument::SaveToFile(const String& fileName, bool durable) const {
  const TEncoding& enc = encoding_ ? *encoding_ : TEncoding::Default();
  std::vector<std::uint8_t> bytes = enc.GetPreamble();
  auto body = enc.GetBytes(Text());
  bytes.insert(bytes.end(), body.begin(), body.end());

  std::string target = Utf16ToUtf8(fileName);
  platform::UniqueFd fd;
  std::string temp;
  if (!fileName.empty()) {
    // A name of our own rather than mkstemp, so the new file gets the usual permissions
    // (0666 less the umask) without touching the process-wide umask.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && !fd; ++attempt) {
      temp = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
      fd.reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (!fd && errno != EEXIST) break;
    }
  }
  bool ok = static_cast<bool>(fd);
  if (ok) {
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
      ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      ok = n > 0;
      if (ok) done += static_cast<std::size_t>(n);
    }
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);  // keep the file's mode
    ok = ok && (!durable || ::fsync(fd.get()) == 0);
    ok = fd.Close() && ok;
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
  }
  if (!ok) throw EIniFileException(u"Unable to write to %s", {fileName});
}

}  // namespace kestrel
