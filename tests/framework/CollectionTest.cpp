#include <gtest/gtest.h>

#include "framework/Exceptions.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "tests/framework/TestWidgets.h"

namespace kestrel::test {
namespace {

TSnippet* At(TCollection& c, int i) { return static_cast<TSnippet*>(c.Items(i)); }

TEST(Collection, ItemsJoinLeaveAndReportChanges) {
  TWidget owner(nullptr);
  owner.SetName(u"Label1");
  TSnippets& list = *owner.Snippets();
  auto* a = static_cast<TSnippet*>(list.Add());
  // Update heard of the new item only once it was fully built.
  ASSERT_EQ(list.textsAtUpdate.size(), 1u);
  EXPECT_EQ(list.textsAtUpdate.back(), u"(empty);");
  a->SetText(u"A");
  EXPECT_EQ(list.updates.back(), a);  // one item changed
  auto* b = static_cast<TSnippet*>(list.Insert(0));
  EXPECT_EQ(b->Index(), 0);
  EXPECT_EQ(a->Index(), 1);
  EXPECT_NE(a->ID(), b->ID());
  EXPECT_EQ(list.FindItemID(a->ID()), a);
  EXPECT_EQ(a->GetNamePath(), u"Label1.Snippets[1]");

  list.BeginUpdate();
  b->SetText(u"B");
  a->SetText(u"AA");
  std::size_t before = list.updates.size();
  list.EndUpdate();
  EXPECT_EQ(list.updates.size(), before + 1);  // once, for everything
  EXPECT_EQ(list.updates.back(), nullptr);

  delete a;  // an item freed by hand leaves its collection
  EXPECT_EQ(list.Count(), 1);
  try {
    list.Items(1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (1)");
  }
  // Moving an item to another collection.
  TSnippets other(nullptr);
  b->SetCollection(&other);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(other.Count(), 1);
}

TEST(Collection, AssignRecreatesItems) {
  TSnippets source(nullptr);
  static_cast<TSnippet*>(source.Add())->SetText(u"x");
  static_cast<TSnippet*>(source.Add())->SetText(u"y");
  TSnippets copy(nullptr);
  copy.Add();
  copy.Assign(source);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(At(copy, 0)->Text(), u"x");
  EXPECT_EQ(At(copy, 1)->Text(), u"y");
  EXPECT_NE(copy.Items(0), source.Items(0));
}

TEST(Collection, StreamsAsItemBlocks) {
  RegisterTestWidgets();
  TWidget form(nullptr);
  form.SetName(u"Form1");
  static_cast<TSnippet*>(form.Snippets()->Add())->SetText(u"intro");
  form.Snippets()->Add();  // all defaults: an empty block
  String text = ComponentToString(&form);
  EXPECT_NE(text.find(u"  Snippets = <\n    item\n      Text = 'intro'\n    end\n    item\n"
                      u"    end>\n"),
            String::npos)
      << Utf16ToUtf8(text);

  TWidget target(nullptr);
  target.Snippets()->Add();
  target.Snippets()->Add();
  target.Snippets()->Add();
  StringToComponent(text, &target);
  ASSERT_EQ(target.Snippets()->Count(), 2);  // replaced, not appended
  EXPECT_EQ(At(*target.Snippets(), 0)->Text(), u"intro");
  EXPECT_EQ(At(*target.Snippets(), 1)->Text(), u"(empty)");

  EXPECT_THROW(StringToComponent(u"object F: TWidget\n  Snippets = <\n    thing\n  end>\nend\n", &target),
               EParserError);
  EXPECT_THROW(StringToComponent(u"object F: TWidget\n  Width = <>\nend\n", &target), EReadError);
}

}  // namespace
}  // namespace kestrel::test
