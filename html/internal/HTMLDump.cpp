#include "html/internal/HTMLDump.h"

#include <cstdio>

#include "html/HTMLData.h"

namespace kestrel {
namespace {

const char* KindName(TVnHTMLItemType kind) {
  static const char* const names[] = {"char", "soft", "br",  "para",  "img",     "hr", "li",
                                      "ul",   "ol",   "ind", "input", "control", "var"};
  return kind <= hitVar ? names[kind] : "?";
}

std::string Escaped(const String& text) {
  std::string out;
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 32 || (c >= 0xD800 && c <= 0xDFFF)) {
      char buffer[12];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    } else {
      out += Utf16ToUtf8(std::u16string_view(&c, 1));
    }
  }
  return out;
}

std::string Hex(std::uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08X", value);
  return buffer;
}

}  // namespace

std::string DumpHTMLItems(const TVnHTMLData& data) {
  std::string out;
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TVnHTMLItem* item = data.Item(i);
    out += std::to_string(i) + " " + KindName(item->ItemType()) + " \"" + Escaped(item->Text()) + "\"";
    std::string style;
    if (item->FontStyle & hfsBold) style += 'B';
    if (item->FontStyle & hfsItalic) style += 'I';
    if (item->FontStyle & hfsUnderline) style += 'U';
    if (item->FontStyle & hfsStrikeOut) style += 'S';
    if (!style.empty()) out += " [" + style + "]";
    out += " font=" + Utf16ToUtf8(item->FFontRef) + "/" + std::to_string(item->FontHeight);
    out += " fg=" + Hex(static_cast<std::uint32_t>(item->FontColor));
    out += " bg=" + Hex(static_cast<std::uint32_t>(item->FontBgColor));
    if (item->FFntCnt) out += " fnt=" + std::to_string(item->FFntCnt);
    if (item->IsLink()) out += " link=" + Utf16ToUtf8(item->LinkRef());
    if (item->IsSub()) out += " sub";
    if (item->IsSuper()) out += " sup";
    if (item->FBoolState & hbsAbsolute) out += " abs";
    if (item->FBoolState & hbsClosePara) out += " closep";
    out += " w=" + std::to_string(item->FWidth) + " h=" + std::to_string(item->FHeight);
    if (item->FIndent) out += " ind=" + std::to_string(item->FIndent);
    if (item->IsBreakItem()) {
      const auto* brk = static_cast<const TVnHTMLBreakItem*>(item);
      out += " align=" + std::to_string(brk->Alignment()) + " desc=" + std::to_string(brk->Descent());
      if (brk->FListLevel || brk->FListItemN) {
        out += " level=" + std::to_string(brk->FListLevel) + " n=" + std::to_string(brk->FListItemN);
      }
    }
    if (item->FTag) out += " tag=" + std::to_string(item->FTag);
    out += "\n";
  }
  return out;
}

std::string DumpHTMLOutline(const TVnHTMLData& data) {
  std::string out;
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TVnHTMLItem* item = data.Item(i);
    if (i) out += " | ";
    if (item->ItemType() == hitChar) {
      out += "'" + Escaped(item->Text()) + "'";
    } else {
      out += KindName(item->ItemType());
      if (!item->Text().empty()) out += "'" + Escaped(item->Text()) + "'";
    }
  }
  return out;
}

}  // namespace kestrel
