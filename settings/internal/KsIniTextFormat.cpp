#include "settings/internal/KsIniTextFormat.h"

#include <utility>
#include <vector>

#include "framework/SysUtils.h"
#include "settings/internal/KsIniValueText.h"

namespace kestrel {

namespace {

void AddLine(String& out, std::u16string_view line) {
  out += line;
  if (line.size() < 2 || line.substr(line.size() - 2) != u"\r\n") out += u"\r\n";
}

// The text being written, handed on whenever a piece is full; pieces end between lines.
class TPieceOut {
 public:
  explicit TPieceOut(const TKsIniTextFormat::TSink& sink) : sink_(sink) { text_.reserve(kPiece + kPiece / 4); }
  bool PieceDone() {
    if (text_.size() < kPiece) return true;
    return Flush();
  }
  bool Flush() {
    const bool ok = text_.empty() || sink_(text_);
    text_.clear();
    return ok;
  }

  // What the next piece holds so far; writers append to it.
  String& Text() { return text_; }

 private:
  String text_;
  static constexpr std::size_t kPiece = 128 * 1024;
  const TKsIniTextFormat::TSink& sink_;
};

bool WriteValues(TPieceOut& piece, const TKsIniEntry& key, const TKsIniTextOptions& options) {
  String& out = piece.Text();
  for (int i = 0; i < key.SubCount(); ++i) {
    if (!piece.PieceDone()) return false;
    const TKsIniEntry& entry = *key.Children(i);
    const TKsValueData& value = entry.ValueData();
    if (entry.IsKey() || value.ValueType == evtUnknown) continue;
    const String& name = entry.ValueName();
    if (value.ValueType == evtMultiString) {
      for (std::size_t n = 0; n < value.MStrValue.size(); ++n) {
        AddLine(out,
                name + u"[" + IntToStr(static_cast<std::int64_t>(n)) + u"]" + options.DivChar + value.MStrValue[n]);
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
  return true;
}

// Depth-first without recursion, so a very deep tree cannot exhaust the stack. The frames share
// one path string and remember only where theirs ends, so the memory stays linear in the depth.
bool WriteKeys(TPieceOut& piece, const TKsIniEntry& root, const TKsIniTextOptions& options) {
  String& out = piece.Text();
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
    if (!WriteValues(piece, *child, options) || !piece.PieceDone()) return false;
    stack.push_back({child, 0, path.size()});
  }
  return true;
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
  TTextReader(TKsIniEntry& root, const TKsIniTextOptions& options, const TKsIniTextFormat::TOpenSection& open)
      : section_(&root), options_(options), open_(open) {}

  void Line(std::u16string_view raw, int lineNo) {
    String line = options_.TrimSpaces ? Trim(raw) : String(raw);
    if (line.empty()) return;
    if (!options_.Comment.empty() && line.compare(0, options_.Comment.size(), options_.Comment) == 0) return;
    if (line[0] == u'[') {
      Section(line);
      return;
    }
    if (!section_) return;
    SplitLine split = Split(line, options_);
    if (split.div == String::npos) {
      Store(u"#" + IntToStr(lineNo), std::move(split.line), false);
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
      Store(name.substr(0, open), std::move(value), true);
    } else {
      Store(std::move(name), std::move(value), false);
    }
  }

  // Every line is stored one line late: its index slot is fetched while the line before is
  // stored, so a key with very many values does not wait on memory for each of them.
  void Finish() { StorePending(); }

 private:
  struct TPending {
    TKsIniEntry* key = nullptr;
    String name;
    String text;
    std::uint32_t hash = 0;
    bool element = false;
  };

  void Section(String line) {
    StorePending();
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

  void Store(String name, String text, bool element) {
    const std::uint32_t hash = TKsIniEntry::HashName(name);
    section_->PrefetchName(hash);
    StorePending();
    pending_ = {section_, std::move(name), std::move(text), hash, element};
  }

  void StorePending() {
    if (!pending_.key) return;
    TKsIniEntry* entry = pending_.key->FindOrAddValue(pending_.name, pending_.hash);
    pending_.key = nullptr;
    TKsValueData& data = entry->ValueData();
    if (pending_.element) {
      if (data.ValueType != evtMultiString) {
        data.Invalidate();
        data.ValueType = evtMultiString;
      }
      data.MStrValue.push_back(std::move(pending_.text));
    } else {
      data = ksini::DetectValue(pending_.text);
    }
  }

  TPending pending_;

  TKsIniEntry* section_;
  const TKsIniTextOptions& options_;
  const TKsIniTextFormat::TOpenSection& open_;
};

}  // namespace

String TKsIniTextFormat::Write(const TKsIniEntry& root, const TKsIniTextOptions& options) {
  String out;
  Write(root, options, [&out](std::u16string_view piece) {
    out += piece;
    return true;
  });
  return out;
}

bool TKsIniTextFormat::Write(const TKsIniEntry& root, const TKsIniTextOptions& options, const TSink& sink) {
  TPieceOut piece(sink);
  if (!options.WarningMessage.empty()) {
    AddLine(piece.Text(), options.Comment + options.WarningMessage);
  }
  return WriteValues(piece, root, options) && WriteKeys(piece, root, options) && piece.Flush();
}

void TKsIniTextFormat::Read(std::u16string_view text, TKsIniEntry& root, const TKsIniTextOptions& options,
                            const TOpenSection& openSection) {
  bool given = false;
  auto once = [&](std::u16string_view& piece) {
    piece = text;
    return !std::exchange(given, true);
  };
  Read(once, root, options, openSection);
}

void TKsIniTextFormat::Read(const TSource& source, TKsIniEntry& root, const TKsIniTextOptions& options,
                            const TOpenSection& openSection) {
  TTextReader reader(root, options, openSection);
  int lineNo = 0;
  for (std::u16string_view text; source(text);) {
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = pos;
      while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
      reader.Line(text.substr(pos, end - pos), ++lineNo);
      if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n') ++end;
      pos = end + 1;
    }
  }
  reader.Finish();
}

}  // namespace kestrel
