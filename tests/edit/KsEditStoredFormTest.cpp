// The edit control in stored forms: its published properties survive, older property names are
// read with today's meaning.

#include <gtest/gtest.h>

#include "edit/EditRegistration.h"
#include "edit/KsEdit.h"
#include "tests/controls/StoredFormRoundTrip.h"

namespace kestrel {
namespace {

TEST(KsEditStoredForm, EveryPublishedPropertySurvivesAndTheDefaultsAreTheConstructors) {
  RegisterEditClasses();
  testing::ExpectStoredFormRoundTrip(TKsEdit::StaticClass());
  // A fresh edit writes nothing but its name and size: every default above is the constructor's.
  TKsEdit edit(nullptr);
  edit.SetName(u"E");
  const String stored = ComponentToString(&edit);
  for (const char16_t* name : {u"TabStop", u"Cursor", u"AutoSize", u"UseSystemMenu", u"HighlightAlphaLevel",
                               u"BorderStyle", u"NotifyUserChangeOnly", u"UseCustomScrollBars"})
    EXPECT_EQ(stored.find(String(name) + u" ="), String::npos) << Utf16ToUtf8(name) << " in\n" << Utf16ToUtf8(stored);
}

TEST(KsEditStoredForm, OlderNamesAreReadIntoTodaysProperties) {
  RegisterEditClasses();
  TKsEdit edit(nullptr);
  StringToComponent(
      u"object E: TKsEdit\n  LinkControlPosition = lcpRightCenter\n  RTLContent = True\n"
      u"  ChangeDisabledText = True\nend\n",
      &edit);
  EXPECT_EQ(edit.LinkedControlPosition(), lcpRightCenter);
  EXPECT_TRUE(edit.RightAlignedText());
  EXPECT_TRUE(edit.UseDisabledColors());
  const String stored = ComponentToString(&edit);
  EXPECT_EQ(stored.find(u"RTLContent"), String::npos) << "older names are never written";
}

TEST(KsEditStoredForm, AMultiLineTextIsSplitIntoParagraphsWhateverTheOrderOfReading) {
  RegisterEditClasses();
  TKsEdit edit(nullptr);
  StringToComponent(u"object E: TKsEdit\n  Text = 'ab'#13#10'cd'\n  Multiline = True\nend\n", &edit);
  EXPECT_EQ(edit.Lines()->Count(), 2);
  EXPECT_EQ(edit.Text(), u"ab\r\ncd");
}

}  // namespace
}  // namespace kestrel
