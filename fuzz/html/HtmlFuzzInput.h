#pragma once
// How a fuzz input becomes a preparation, shared by the fuzz target and the corpus replay test:
// byte 0 chooses wrapping (bit 0) and the text encoding (bit 1: raw UTF-16LE, which reaches lone
// surrogates; otherwise UTF-8), byte 1 the wrap width; the rest is the markup.

#include <cstddef>
#include <cstdint>

#include "html/HTMLRender.h"

namespace kestrel::fuzz {

inline void PrepareHtmlFuzzInput(TVnHTMLRender& render, const std::uint8_t* data, std::size_t size) {
  if (size < 2) return;
  const bool wrap = (data[0] & 1) != 0;
  const bool utf16 = (data[0] & 2) != 0;
  const int width = data[1] * 2;
  String text;
  if (utf16) {
    for (std::size_t i = 2; i + 1 < size; i += 2) {
      text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
  } else {
    text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));
  }
  render.OnVariableNeeded = [](TObject*, const String& name, String& value) { value = name; };
  render.PrepareText(text, width, wrap);
  // Whatever came out must be consistent enough to walk.
  (void)render.AsText();
  (void)render.Data()->GenerateHTML();
}

}  // namespace kestrel::fuzz
