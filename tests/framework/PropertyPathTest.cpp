#include <gtest/gtest.h>

#include "framework/Exceptions.h"
#include "framework/PropertyPath.h"
#include "framework/TypeInfo.h"
#include "tests/framework/TestWidgets.h"

namespace kestrel::test {
namespace {

TEST(PropertyPath, DottedNamesLeadIntoSubObjects) {
  TWidget widget(nullptr);
  EXPECT_TRUE(SetPropertyByPath(&widget, u"Font.Size", u"12"));
  EXPECT_TRUE(SetPropertyByPath(&widget, u"width", u"33"));  // names compare without case
  EXPECT_EQ(widget.Font()->Size(), 12);
  EXPECT_EQ(widget.Width(), 33);
  TObject* holder = nullptr;
  const TPropInfo* prop = FindPropertyByPath(&widget, u"Font.Name", holder);
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(holder, widget.Font());
  const TPropertyPathEnd end = WalkPropertyPath(&widget, u"Font.Size|Integer");
  EXPECT_EQ(end.Instance, widget.Font());
  EXPECT_EQ(end.Name, u"Size|Integer");
}

TEST(PropertyPath, WalksStopAtUnknownNamesMissingObjectsAndComponentsWhenAsked) {
  TWidget widget(nullptr), buddy(nullptr);
  EXPECT_FALSE(SetPropertyByPath(&widget, u"Nothing.Size", u"1"));
  EXPECT_FALSE(SetPropertyByPath(&widget, u"Width.Size", u"1"));   // not an object
  EXPECT_FALSE(SetPropertyByPath(&widget, u"Buddy.Width", u"1"));  // no buddy
  EXPECT_FALSE(SetPropertyByPath(&widget, u"Font", u"x"));         // the object itself
  EXPECT_FALSE(SetPropertyByPath(&widget, u"Font.Bogus", u"1"));
  widget.SetBuddy(&buddy);
  EXPECT_FALSE(SetPropertyByPath(&widget, u"Buddy.Width", u"7", TPathObjects::NotComponents));
  EXPECT_EQ(buddy.Width(), 100);
  EXPECT_TRUE(SetPropertyByPath(&widget, u"Buddy.Width", u"7"));
  EXPECT_EQ(buddy.Width(), 7);
  EXPECT_THROW(SetPropertyByPath(&widget, u"Font.Size", u"big"), Exception);  // conversion errors are raised
  widget.SetBuddy(nullptr);
}

}  // namespace
}  // namespace kestrel::test
