#include "smooth/SmoothStyle.h"

#include <iterator>

namespace kestrel {

const TEnumInfo& SmoothStyleInfo() {
  static const TEnumInfo info(
      u"TSmoothStyle", {u"tsOffice2003Blue", u"tsOffice2003Silver",   u"tsOffice2003Olive",     u"tsOffice2003Classic",
                        u"tsOffice2007Luna", u"tsOffice2007Obsidian", u"tsWindowsXP",           u"tsWhidbey",
                        u"tsCustom",         u"tsOffice2007Silver",   u"tsWindowsVista",        u"tsWindows7",
                        u"tsTerminal",       u"tsOffice2010Blue",     u"tsOffice2010Silver",    u"tsOffice2010Black",
                        u"tsWindows8",       u"tsOffice2013White",    u"tsOffice2013LightGray", u"tsOffice2013Gray",
                        u"tsWindows10",      u"tsOffice2016White",    u"tsOffice2016Gray",      u"tsOffice2016Black"});
  return info;
}

namespace {

// Colours as stored 0x00BBGGRR values.
constexpr TColor N = clNone;
const TMarqueeStyleColors kStyles[] = {
    /* tsOffice2003Blue */ {0xFDEADA, 0xE4AE88, N, N, 0xDFD2C5, 0xDFD2C5, 0x94E6FB},
    /* tsOffice2003Silver */ {0xF7F3F3, 0xE6D8D8, N, N, 0x927476, 0x927476, 0x94E6FB},
    /* tsOffice2003Olive */ {0xCFF0EA, 0x8CC0B1, N, N, 0x6B7760, 0x6B7760, 0x94E6FB},
    /* tsOffice2003Classic */ {0xFFFFFF, 0xC9D1D5, N, N, 0x808080, 0x808080, 0xB59285},
    /* tsOffice2007Luna */ {0xFAF1E9, 0xEDD8C7, 0xEDD8C7, 0xFFF2E7, 0xE3B28D, 0xE3B28D, 0xAAD9FF, true, true},
    /* tsOffice2007Obsidian */ {0xCFC6C1, 0xC5BBB4, 0xC5BBB4, 0xECECE5, 0x000000, 0x000000, 0xAAD9FF, false, true},
    /* tsWindowsXP */ {clBtnFace, clBtnFace, N, N, 0x000000, 0x000000, clInactiveCaption},
    /* tsWhidbey */ {0xFFFFFF, 0xD9E9EC, N, N, 0x828F92, 0x828F92, 0x94E6FB},
    /* tsCustom */ {N, N, N, N, N, N, N},
    /* tsOffice2007Silver */ {0xF6F1EE, 0xE7DCD5, 0xE7DCD5, 0xF4F4EE, 0x74706F, 0x74706F, 0xAAD9FF, false, true},
    /* tsWindowsVista */ {0xFDF8F1, 0xFCEFD5, N, N, 0xFDDE99, 0xFDDE99, 0xFEF9F0},
    /* tsWindows7 */ {0xFCEBDC, 0xFCDBC1, N, N, 0xCEA27D, 0xCEA27D, 0xFCEBDC},
    /* tsTerminal */ {clBtnFace, clBtnFace, N, N, 0x000000, 0x000000, clHighlight},
    /* tsOffice2010Blue */ {0xFDF6EF, 0xF0DAC7, N, N, 0xC7B29F, 0xC7B29F, 0x6CD0FF},
    /* tsOffice2010Silver */ {0xFFFFFF, 0xEDE5E0, N, N, 0xD2CDC8, 0xD2CDC8, 0x6CD0FF},
    /* tsOffice2010Black */ {0xBFBFBF, 0x919191, N, N, 0x6D6D6D, 0x6D6D6D, 0x6CD0FF},
    /* tsWindows8 */ {0xFFFFFF, 0xFFFFFF, N, N, 0xE4E3E2, 0xE4E3E2, 0xF7E0C9},
    /* tsOffice2013White */ {0xFFFFFF, 0xFFFFFF, N, N, 0xD4D4D4, 0xD4D4D4, 0xFCE2C8},
    /* tsOffice2013LightGray */ {0xFFFFFF, 0xFFFFFF, N, N, 0xC6C6C6, 0xC6C6C6, 0xFCE2C8},
    /* tsOffice2013Gray */ {0xFFFFFF, 0xFFFFFF, N, N, 0xABABAB, 0xABABAB, 0xFCE2C8},
    /* tsWindows10 */ {0xFFFFFF, 0xFFFFFF, N, N, 0xE4E3E2, 0xE4E3E2, 0xF7E0C9},
    /* tsOffice2016White */ {0xFFFFFF, 0xFFFFFF, N, N, 0xD4D4D4, 0xF2E1D5, 0xF2E1D5},
    /* tsOffice2016Gray */ {0xB2B2B2, 0xB2B2B2, N, N, 0x444444, 0xF2E1D5, 0xF2E1D5},
    /* tsOffice2016Black */ {0x363636, 0x363636, N, N, 0x444444, 0x6A6A6A, 0x6A6A6A},
};
static_assert(std::size(kStyles) == tsOffice2016Black + 1, "one row per style");

}  // namespace

std::optional<TMarqueeStyleColors> MarqueeStyleColors(TSmoothStyle style) {
  if (style == tsCustom || style < tsOffice2003Blue || style > tsOffice2016Black) return std::nullopt;
  return kStyles[style];
}

}  // namespace kestrel
