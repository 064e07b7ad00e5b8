#pragma once
// The parser's process-wide tables: tags, entities, input types, the embeddable control classes
// and the screen's vertical resolution. Built on first use and kept for the whole process.

#include <optional>
#include <string_view>
#include <vector>

#include "framework/Object.h"

namespace kestrel {

enum class THTMLTag {
  Html,
  B,
  I,
  Var,
  U,
  S,
  EndB,
  EndI,
  EndVar,
  EndU,
  EndS,
  Sub,
  EndSub,
  Sup,
  EndSup,
  Br,
  P,
  EndP,
  Ul,
  Ol,
  Li,
  EndUl,
  EndOl,
  Hr,
  Ind,
  Img,
  A,
  EndA,
  Font,
  EndFont,
  Input,
  Control,
  Variable,
};

// The tag for a lower-case name; nullopt for names the parser ignores.
std::optional<THTMLTag> LookupHTMLTag(std::u16string_view lowerName);
// The character of a lower-case entity name; nullopt when unknown.
std::optional<char16_t> LookupHTMLEntity(std::u16string_view lowerName);
// "checkbox" → 1, "radio" → 2, anything else 0.
int LookupHTMLInputType(std::u16string_view lowerName);
// Pixels per inch of the screen, read once (100 when the screen cannot be asked).
int HTMLScreenPixelsPerInch();

// The classes <control> may embed. Starts with the standard edit box, button, check box and radio
// button once those classes exist (they register themselves here).
void RegisterHTMLControlClass(const TMetaClass& cls);
void UnRegisterHTMLControlClass(const TMetaClass& cls);
// Case-insensitive; null when not registered.
const TMetaClass* FindHTMLControlClass(std::u16string_view name);

}  // namespace kestrel
