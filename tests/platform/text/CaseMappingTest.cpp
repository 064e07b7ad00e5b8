#include "platform/text/CaseMapping.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::platform {
namespace {

std::u16string Mapped(std::u16string text, bool upper) {
  (upper ? CharUpperBuffW : CharLowerBuffW)(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

TEST(CaseMapping, MapsBmpLettersUnitForUnitAndLeavesTheRest) {
  EXPECT_EQ(Mapped(u"ab \u00e4\u00ff \u03b1\u0436\u0561", true), u"AB \u00c4\u0178 \u0391\u0416\u0531");
  EXPECT_EQ(Mapped(u"\u0391\u0416\u0178\uff21 XY", false), u"\u03b1\u0436\u00ff\uff41 xy");
  EXPECT_EQ(Mapped(u"stra\u00dfe 1+\u4e2d", true), u"STRA\u00dfE 1+\u4e2d") << "no 'SS': the length stays";
  // A supplementary letter would need a pair of its own; pairs and lone halves stay as given.
  EXPECT_EQ(Mapped(u"\U00010428x\xd801", true), u"\U00010428X\xd801");
  EXPECT_EQ(CharUpperBuffW(nullptr, 3), 0u);
}

}  // namespace
}  // namespace kestrel::platform
