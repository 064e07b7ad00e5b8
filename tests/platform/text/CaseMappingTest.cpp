#include "platform/text/CaseMapping.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel::platform {
namespace {

std::u16string Upper(std::u16string text) {
  EXPECT_EQ(CharUpperBuffW(text.data(), static_cast<DWORD>(text.size())), text.size());
  return text;
}

std::u16string Lower(std::u16string text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

TEST(CaseMapping, MapsLettersOfEveryScriptUnitForUnit) {
  EXPECT_EQ(Upper(u"abc \u00e4\u00ff"), u"ABC \u00c4\u0178");
  EXPECT_EQ(Upper(u"\u03b1\u03b2\u03b3 \u0436\u0443\u043a \u0561"), u"\u0391\u0392\u0393 \u0416\u0423\u041a \u0531");
  EXPECT_EQ(Lower(u"\u0391\u0416\u0178\uff21 XY"), u"\u03b1\u0436\u00ff\uff41 xy");
  EXPECT_EQ(Upper(u"stra\u00dfe"), u"STRA\u00dfE") << "the sharp s has no single-unit upper case";
  EXPECT_EQ(Upper(u"1+2 \u4e2d!"), u"1+2 \u4e2d!") << "digits, signs and ideographs stay";
}

TEST(CaseMapping, LeavesSurrogatePairsAndUnpairedHalvesAlone) {
  // U+10428 (a lower-case Deseret letter) would need a pair of its own; the units stay as given.
  EXPECT_EQ(Upper(u"\U00010428x\xd801"), u"\U00010428X\xd801");
  EXPECT_EQ(CharUpperBuffW(nullptr, 3), 0u);
}

}  // namespace
}  // namespace kestrel::platform
