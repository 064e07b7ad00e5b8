#include "html/internal/HTMLTables.h"

#include <mutex>
#include <unordered_map>

#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "framework/RadioButton.h"
#include "framework/SysUtils.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/OwnedGdi.h"

namespace kestrel {
namespace {

const std::unordered_map<std::u16string_view, THTMLTag>& TagTable() {
  static const std::unordered_map<std::u16string_view, THTMLTag> table{
      {u"html", THTMLTag::Html},
      {u"b", THTMLTag::B},
      {u"strong", THTMLTag::B},
      {u"i", THTMLTag::I},
      {u"em", THTMLTag::I},
      {u"var", THTMLTag::Var},
      {u"cite", THTMLTag::Var},
      {u"u", THTMLTag::U},
      {u"s", THTMLTag::S},
      {u"strikeout", THTMLTag::S},
      {u"/b", THTMLTag::EndB},
      {u"/strong", THTMLTag::EndB},
      {u"/i", THTMLTag::EndI},
      {u"/em", THTMLTag::EndI},
      {u"/var", THTMLTag::EndVar},
      {u"/cite", THTMLTag::EndVar},
      {u"/u", THTMLTag::EndU},
      {u"/s", THTMLTag::EndS},
      {u"/strikeout", THTMLTag::EndS},
      {u"sub", THTMLTag::Sub},
      {u"/sub", THTMLTag::EndSub},
      {u"sup", THTMLTag::Sup},
      {u"/sup", THTMLTag::EndSup},
      {u"br", THTMLTag::Br},
      {u"p", THTMLTag::P},
      {u"/p", THTMLTag::EndP},
      {u"ul", THTMLTag::Ul},
      {u"ol", THTMLTag::Ol},
      {u"li", THTMLTag::Li},
      {u"/ul", THTMLTag::EndUl},
      {u"/ol", THTMLTag::EndOl},
      {u"hr", THTMLTag::Hr},
      {u"ind", THTMLTag::Ind},
      {u"img", THTMLTag::Img},
      {u"a", THTMLTag::A},
      {u"/a", THTMLTag::EndA},
      {u"font", THTMLTag::Font},
      {u"/font", THTMLTag::EndFont},
      {u"input", THTMLTag::Input},
      {u"control", THTMLTag::Control},
      {u"~~", THTMLTag::Variable},
  };
  return table;
}

const std::unordered_map<std::u16string_view, char16_t>& EntityTable() {
  static const std::unordered_map<std::u16string_view, char16_t> table = [] {
    std::unordered_map<std::u16string_view, char16_t> t{
        {u"nbsp", 32},   {u"quot", 34}, {u"amp", 38},    {u"lt", 60},      {u"gt", 62},
        {u"times", 215}, {u"eth", 240}, {u"szlig", 223}, {u"trade", 8482}, {u"euro", 8364},
    };
    auto run = [&t](std::initializer_list<std::u16string_view> names, char16_t first) {
      for (std::u16string_view name : names) t.emplace(name, first++);
    };
    run({u"iexcl",  u"cent", u"pound", u"curren", u"yen",    u"brvbar", u"sect",   u"uml",
         u"copy",   u"ordf", u"laquo", u"not",    u"shy",    u"reg",    u"macr",   u"deg",
         u"plusmn", u"sup2", u"sup3",  u"acute",  u"micro",  u"para",   u"middot", u"cedil",
         u"sup1",   u"ordm", u"raquo", u"frac14", u"frac12", u"frac34", u"iquest"},
        161);
    run({u"agrave", u"aacute", u"acirc", u"atilde", u"auml", u"aring", u"aelig", u"ccedil", u"egrave", u"eacute",
         u"ecirc", u"euml", u"igrave", u"iacute", u"icirc", u"iuml"},
        224);
    run({u"ntilde", u"ograve", u"oacute", u"ocirc", u"otilde", u"ouml", u"divide", u"oslash", u"ugrave", u"uacute"},
        241);
    return t;
  }();
  return table;
}

struct ControlRegistry {
  std::mutex mutex;
  std::vector<const TMetaClass*> classes;
};

// The platform's own edit box, push button, check box and radio button are embeddable from the
// start; components add their classes with RegisterHTMLControlClass.
ControlRegistry& Controls() {
  static ControlRegistry registry{
      {}, {&TEdit::StaticClass(), &TButton::StaticClass(), &TCheckBox::StaticClass(), &TRadioButton::StaticClass()}};
  return registry;
}

}  // namespace

std::optional<THTMLTag> LookupHTMLTag(std::u16string_view lowerName) {
  const auto& table = TagTable();
  auto found = table.find(lowerName);
  if (found == table.end()) return std::nullopt;
  return found->second;
}

std::optional<char16_t> LookupHTMLEntity(std::u16string_view lowerName) {
  const auto& table = EntityTable();
  auto found = table.find(lowerName);
  if (found == table.end()) return std::nullopt;
  return found->second;
}

int LookupHTMLInputType(std::u16string_view lowerName) {
  if (lowerName == u"checkbox") return 1;
  if (lowerName == u"radio") return 2;
  return 0;
}

int HTMLScreenPixelsPerInch() {
  static const int ppi = [] {
    const platform::OwnedMemoryDC dc(platform::CreateCompatibleDC(nullptr));
    if (!dc) return 100;
    const int value = platform::GetDeviceCaps(dc.get(), platform::LOGPIXELSY);
    return value > 0 ? value : 100;
  }();
  return ppi;
}

void RegisterHTMLControlClass(const TMetaClass& cls) {
  ControlRegistry& registry = Controls();
  std::lock_guard lock(registry.mutex);
  for (const TMetaClass* known : registry.classes) {
    if (SameText(known->Name(), cls.Name())) return;
  }
  registry.classes.push_back(&cls);
}

void UnRegisterHTMLControlClass(const TMetaClass& cls) {
  ControlRegistry& registry = Controls();
  std::lock_guard lock(registry.mutex);
  std::erase(registry.classes, &cls);
}

const TMetaClass* FindHTMLControlClass(std::u16string_view name) {
  ControlRegistry& registry = Controls();
  std::lock_guard lock(registry.mutex);
  for (const TMetaClass* known : registry.classes) {
    if (SameText(known->Name(), name)) return known;
  }
  return nullptr;
}

}  // namespace kestrel
