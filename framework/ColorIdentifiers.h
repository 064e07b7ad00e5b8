#pragma once
// The colour identifiers (clBlack … clMenuBar, clNone, clDefault) as a table, for the markup
// reader, the settings store and the style manager: the reverse lookup that writes a colour by
// its identifier (and nothing else), and the registration that lets colour properties read and
// write identifiers. Name lookups themselves are IdentToColor / TryStringToColor (Colors.h).

#include <span>

#include "framework/Colors.h"

namespace kestrel {

struct TColorIdent {
  const char16_t* Name;
  TColor Value;
};

// Every identifier in table order (the fixed colours first, then the system colours by index).
std::span<const TColorIdent> ColorIdentifiers();

// The identifier of a value; false when the value has none.
bool ColorToIdent(TColor color, String& ident);
// The identifier when there is one, otherwise the value in decimal.
String ColorToIdentOrDecimal(TColor color);

// Makes the identifiers known to the published-property system under the type name "TColor", so
// colour properties read and write them. Safe to call more than once.
void RegisterColorIdentifiers();

}  // namespace kestrel
