#include "platform/text/CaseMapping.h"

#include <glib.h>

namespace kestrel::platform {

namespace {

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// The Unicode character database's simple mappings, as the text stack already carries them.
template <gunichar (*Map)(gunichar)>
DWORD MapUnits(char16_t* text, DWORD length) {
  if (!text) return 0;
  for (DWORD i = 0; i < length; ++i) {
    if (IsSurrogate(text[i])) continue;
    const gunichar mapped = Map(text[i]);
    if (mapped <= 0xFFFF && !IsSurrogate(static_cast<char16_t>(mapped))) text[i] = static_cast<char16_t>(mapped);
  }
  return length;
}

}  // namespace

DWORD CharUpperBuffW(char16_t* text, DWORD length) { return MapUnits<g_unichar_toupper>(text, length); }
DWORD CharLowerBuffW(char16_t* text, DWORD length) { return MapUnits<g_unichar_tolower>(text, length); }

}  // namespace kestrel::platform
