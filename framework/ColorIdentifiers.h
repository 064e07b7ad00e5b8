#pragma once
// The colour identifiers (clBlack … clMenuBar, clNone, clDefault) and their values, shared by the
// markup reader, the settings store and the style manager. Lookups ignore case.

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/core/Unicode.h"

namespace kestrel {

// A colour value as stored by colour properties: 0x00BBGGRR, a system colour as 0xFF000000 plus
// the system-colour index, clNone 0x1FFFFFFF, clDefault 0x20000000.
using TColorValue = std::int32_t;

struct TColorIdent {
  const char16_t* Name;
  TColorValue Value;
};

// Every identifier in table order (the fixed colours first, then the system colours by index).
std::span<const TColorIdent> ColorIdentifiers();

// Case-insensitive lookup of a full identifier ("clRed", "CLRED"); false when unknown.
bool IdentToColor(std::u16string_view ident, TColorValue& color);
// The identifier of a value; false when the value has none.
bool ColorToIdent(TColorValue color, String& ident);

// The identifier when there is one, otherwise the value in decimal.
String ColorToString(TColorValue color);
// An identifier, a decimal number or a "$" hexadecimal number; false when none of them.
bool TryStringToColor(std::u16string_view text, TColorValue& color);

// Makes the identifiers known to the published-property system under the type name "TColor", so
// colour properties read and write them. Safe to call more than once.
void RegisterColorIdentifiers();

}  // namespace kestrel
