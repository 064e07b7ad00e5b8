#pragma once
// How a fuzz input becomes a fill, shared by the fuzz target and the corpus replay test: byte 0
// chooses the reader (even: the INI-section reader on the rest as INI text; odd: the clipboard
// block reader on the rest as the block's bytes). A reader may refuse the input with one of the
// framework's exceptions; a fill it accepted is then painted.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/Exceptions.h"
#include "framework/MemIniFile.h"
#include "framework/StringList.h"
#include "smooth/GDIPFill.h"
#include "smooth/internal/FillClipboard.h"

namespace kestrel::fuzz {

inline void LoadFillFuzzInput(TGDIPFill& fill, const std::uint8_t* data, std::size_t size) {
  if (size < 1) return;
  try {
    if (data[0] % 2 == 0) {
      TStringList lines;
      lines.SetText(Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1)));
      TMemIniFile ini(u"");
      ini.SetStrings(lines);
      fill.LoadFromFile(ini, u"Fill");
    } else {
      TFillClipboard::Decode(fill, data + 1, size - 1);
    }
  } catch (const Exception&) {
    return;
  }
  platform::TGPBitmap bitmap(40, 30);
  platform::TGPGraphics graphics(&bitmap);
  graphics.SetSmoothingMode(platform::SmoothingModeAntiAlias);
  fill.SetFocus(true);
  fill.Fill(&graphics, platform::TGPRectF{2, 3, 35, 24});
}

}  // namespace kestrel::fuzz
