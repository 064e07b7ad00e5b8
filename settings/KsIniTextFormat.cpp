#include "settings/KsIniTextFormat.h"

#include <vector>

#include "framework/SysUtils.h"
#include "settings/KsIniValueText.h"

namespace kestrel {

namespace {

void AddLine(String& out, std::u16string_view line) {
  out += line;
  if (line.size() < 2 || line.substr(line.size() - 2) != u"\r\n") out += u"\r\n";
}

void WriteValues(String& out, const TKsIniEntry& key, const TKsIniTextOptions& options) {
  for (int i = 0; i < key.SubCount(); ++i) {
    const TKsIniEntry& entry = *key.Children(i);
    const TKsValueData& value = entry.ValueData();
    if (entry.IsKey() || value.ValueType == evtUnknown) continue;
    const String& name = entry.ValueName();
    if (value.ValueType == evtMultiString) {
      for (std::size_t n = 0; n < value.MStrValue.size(); ++n) {
        AddLine(out, name + u"[" + IntToStr(static_cast<std::int64_t>(n)) + u"]" +
                         options.DivChar + value.MStrValue[n]);
      }
      continue;
    }
    const String text = ksini::FileText(value, options.Simple);
    if (name.empty() || name[0] == u'#') {
      AddLine(out, text);
    } else {
      AddLine(out, name + options.DivChar + text);
    }
  }
}

// Depth-first without recursion, so a very deep tree cannot exhaust the stack. The frames share
// one path string and remember only where theirs ends, so the memory stays linear in the depth.
void WriteKeys(String& out, const TKsIniEntry& root, const TKsIniTextOptions& options) {
  struct Frame {
    const TKsIniEntry* key;
    int next;
    std::size_t pathLength;
  };
  String path;
  std::vector<Frame> stack{{&root, 0, 0}};
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next >= top.key->SubCount()) {
      stack.pop_back();
      continue;
    }
    const TKsIniEntry* child = top.key->Children(top.next++);
    if (!child->IsKey()) continue;
    path.resize(top.pathLength);
    if (!path.empty()) path += options.Delimiter;
    path += child->ValueName();
    out += u"\r\n";
    AddLine(out, u"[" + path + u"]");
    WriteValues(out, *child, options);
    stack.push_back({child, 0, path.size()});
  }
}

// The name/value split of a value line: the first DivChar outside double quotes; a comment
// outside quotes ends the line.
struct SplitLine {
  String line;
  std::size_t div = String::npos;
};

SplitLine Split(std::u16string_view line, const TKsIniTextOptions& options) {
  SplitLine result;
  bool quoted = false;
  std::size_t end = line.size();
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (!options.Comment.empty() && line.substr(i, options.Comment.size()) == options.Comment) {
        end = i;
        break;
      }
      if (c == options.DivChar && result.div == String::npos) result.div = i;
    }
  }
  result.line = String(line.substr(0, end));
  return result;
}

class TTextReader {
 public:
  TTextReader(TKsIniEntry& root, const TKsIniTextOptions& options,
              const TKsIniTextFormat::TOpenSection& open)
      : section_(&root), options_(options), open_(open) {}

  void Line(std::u16string_view raw, int lineNo) {
    String line = options_.TrimSpaces ? Trim(raw) : String(raw);
    if (line.empty()) return;
    if (!options_.Comment.empty() && line.compare(0, options_.Comment.size(), options_.Comment) == 0)
      return;
    if (line[0] == u'[') {
      Section(line);
      return;
    }
    if (!section_) return;
    SplitLine split = Split(line, options_);
    if (split.div == String::npos) {
      Store(u"#" + IntToStr(lineNo), split.line, false);
      return;
    }
    String name = split.line.substr(0, split.div);
    String value = split.line.substr(split.div + 1);
    if (options_.TrimSpaces) {
      name = Trim(name);
      value = Trim(value);
    }
    const std::size_t open = name.rfind(u'[');
    if (name.size() > 1 && name.back() == u']' && open != String::npos) {
      Store(name.substr(0, open), value, true);
    } else {
      Store(name, value, false);
    }
  }

 private:
  void Section(String line) {
    const std::size_t cut = line.find(u';');
    if (cut != String::npos) line.resize(cut);
    line = TrimRight(line);
    String path;
    if (line.size() >= 2 && line.back() == u']') {
      path = options_.Delimiter + line.substr(1, line.size() - 2);
    } else {
      path = options_.Delimiter + line.substr(1);
    }
    section_ = open_(path);
  }

  void Store(const String& name, const String& text, bool element) {
    TKsIniEntry* entry = section_->FindValue(name);
    if (!entry) entry = section_->Add(name, false);
    TKsValueData& data = entry->ValueData();
    if (element) {
      if (data.ValueType != evtMultiString) {
        data.Invalidate();
        data.ValueType = evtMultiString;
      }
      data.MStrValue.push_back(text);
    } else {
      data = ksini::DetectValue(text);
    }
  }

  TKsIniEntry* section_;
  const TKsIniTextOptions& options_;
  const TKsIniTextFormat::TOpenSection& open_;
};

}  // namespace

String TKsIniTextFormat::Write(const TKsIniEntry& root, const TKsIniTextOptions& options) {
  String out;
  if (!options.WarningMessage.empty()) AddLine(out, options.Comment + options.WarningMessage);
  WriteValues(out, root, options);
  WriteKeys(out, root, options);
  return out;
}

void TKsIniTextFormat::Read(std::u16string_view text, TKsIniEntry& root,
                            const TKsIniTextOptions& options, const TOpenSection& openSection) {
  TTextReader reader(root, options, openSection);
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    reader.Line(text.substr(pos, end - pos), ++lineNo);
    if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n')
      ++end;
    pos = end + 1;
  }
}

}  // namespace kestrel
