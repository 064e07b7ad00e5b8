#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/ClassRegistry.h"
#include "framework/Exceptions.h"
#include "framework/MemoryStream.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "tests/framework/TestWidgets.h"

namespace kestrel::test {
namespace {

class Streaming : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTestWidgets(); }
};

bool Contains(const String& text, std::u16string_view part) { return text.find(part) != String::npos; }

TEST_F(Streaming, RoundTripWritesOnlyNonDefaultsAndReadsEverythingBack) {
  TWidget root(nullptr);
  root.SetName(u"Form1");
  root.SetCaption(u"It's\r\n\"two\" lines ☃");
  root.SetShape(shSquare);
  root.SetTag(-7);
  root.SetSides({});
  root.SetRatio(0.1 + 0.2);  // needs all 17 digits to come back exactly
  root.SetVisible(false);
  root.Font()->SetName(u"Verdana");
  root.Lines()->SetCommaText(u"one,two");
  root.blob = {0x00, 0xFF, 0x10};
  auto* child = new TFancyWidget(&root);
  child->SetName(u"Panel1");
  child->SetGlow(3);
  child->SetUrl("http://x/");
  auto* grandchild = new TWidget(&root);
  grandchild->SetName(u"Button1");
  grandchild->SetBuddy(child);
  grandchild->SetColor(0xFF);

  String text = ComponentToString(&root);
  EXPECT_TRUE(Contains(text, u"object Form1: TWidget\n"));
  EXPECT_TRUE(Contains(text, u"  Caption = 'It''s'#13#10'\"two\" lines ☃'\n"));
  EXPECT_TRUE(Contains(text, u"  Sides = []\n"));
  EXPECT_TRUE(Contains(text, u"object Form1: TWidget\n  Tag = -7\n"));
  EXPECT_TRUE(Contains(text, u"  Font.Name = 'Verdana'\n"));
  EXPECT_TRUE(Contains(text, u"  Lines.Strings = (\n    'one'\n    'two')\n"));
  EXPECT_TRUE(Contains(text, u"  Blob = {\n    00FF10}\n"));
  EXPECT_TRUE(Contains(text, u"  object Panel1: TFancyWidget\n"));
  EXPECT_TRUE(Contains(text, u"    Buddy = Panel1\n"));
  EXPECT_TRUE(Contains(text, u"    Color = clRed\n"));  // a registered colour name
  // Defaults, unstored and read-only properties stay out.
  EXPECT_FALSE(Contains(text, u"Form1: TWidget\n  Width"));
  EXPECT_FALSE(Contains(text, u"Font.Size"));
  EXPECT_FALSE(Contains(text, u"Shape = shCircle"));
  EXPECT_FALSE(Contains(text, u"\n  Name = "));
  EXPECT_FALSE(Contains(text, u"Counter"));
  EXPECT_EQ(text.find(u"Color"), text.rfind(u"Color"));  // only Button1's, root's is unstored

  auto* copy = dynamic_cast<TWidget*>(StringToComponent(text));
  ASSERT_NE(copy, nullptr);
  std::unique_ptr<TWidget> owned(copy);
  EXPECT_EQ(copy->Name(), u"Form1");
  EXPECT_EQ(copy->Caption(), root.Caption());
  EXPECT_EQ(copy->Shape(), shSquare);
  EXPECT_EQ(copy->Tag(), -7);
  EXPECT_TRUE(copy->Sides().Empty());
  EXPECT_EQ(copy->Ratio(), 0.1 + 0.2);
  EXPECT_FALSE(copy->Visible());
  EXPECT_EQ(copy->Font()->Name(), u"Verdana");
  EXPECT_TRUE(copy->Lines()->Equals(*root.Lines()));
  EXPECT_EQ(copy->blob, root.blob);
  ASSERT_EQ(copy->ComponentCount(), 2);
  auto* panel = dynamic_cast<TFancyWidget*>(copy->FindComponent(u"Panel1"));
  auto* button = dynamic_cast<TWidget*>(copy->FindComponent(u"Button1"));
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(panel->Glow(), 3);
  EXPECT_EQ(panel->Url(), "http://x/");
  EXPECT_EQ(button->Buddy(), panel);  // the link was resolved after reading
  EXPECT_EQ(button->Color(), 0xFF);
  // The loading bracket: Loaded once each, csReading already gone by then.
  for (TWidget* w : {copy, static_cast<TWidget*>(panel), button}) {
    EXPECT_EQ(w->loadedCalls, 1);
    EXPECT_FALSE(w->loadingSeenInLoaded);
    EXPECT_TRUE((w->ComponentState() * TComponentState{csLoading, csReading}).Empty());
  }
  // Children heard the component whose block encloses them.
  EXPECT_EQ(panel->parents, std::vector<TComponent*>{copy});
  EXPECT_EQ(ComponentToString(copy), text);
}

TEST_F(Streaming, ReadsIntoAnExistingInstanceAndItsComponents) {
  TWidget form(nullptr);
  form.SetName(u"Form1");
  auto* existing = new TWidget(&form);
  existing->SetName(u"Edit1");
  String text =
      u"object Form1: TWidget\n"
      u"  Width = 7\n"
      u"  OldWidth = 9\n"  // a legacy name read through DefineProperties
      u"  Caption = 'a' + \n   'b'#65#$42\n"
      u"  Accel = #9\n"
      u"  OnClick = ButtonClick\n"
      u"  object Edit1: TWidget\n"
      u"    Shape = shTriangle\n"
      u"  end\n"
      u"end\n";
  TComponent* result = StringToComponent(text, &form);
  EXPECT_EQ(result, &form);
  EXPECT_EQ(form.Width(), 9);
  EXPECT_EQ(form.Caption(), u"abAB");
  EXPECT_EQ(form.Accel(), u'\t');
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(existing->Shape(), shTriangle);
  EXPECT_EQ(existing->loadedCalls, 1);
}

TEST_F(Streaming, UnknownPropertiesGoToTheErrorHandlerOrFailTheRead) {
  String text =
      u"object Form1: TWidget\n"
      u"  Bogus = (1 2 'x' [a] {00})\n"
      u"  Font.Nope = 3\n"
      u"  Shape = shHexagon\n"
      u"  Width = 'text'\n"
      u"  Caption = 'kept'\n"
      u"end\n";
  std::vector<String> messages;
  {
    TStringStream stream(text);
    TReader reader(stream);
    reader.SetOnError([&](TReader&, const String& message, bool& handled) {
      messages.push_back(message);
      handled = true;
    });
    std::unique_ptr<TComponent> form(reader.ReadRootComponent(nullptr));
    EXPECT_EQ(static_cast<TWidget*>(form.get())->Caption(), u"kept");
    EXPECT_EQ(static_cast<TWidget*>(form.get())->Width(), 100);
  }
  EXPECT_EQ(messages, (std::vector<String>{u"Property Bogus does not exist", u"Property Font.Nope does not exist",
                                           u"Invalid property element: shHexagon", u"Invalid property value"}));
  // Without a handler the read fails, and nothing it created is left behind (ASan checks).
  try {
    std::unique_ptr<TComponent> leaked(
        StringToComponent(u"object Form1: TWidget\n  object B: TWidget\n  end\n  Bogus = 1\nend\n"));
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), u"Property Bogus does not exist");
  }
  // Reading into an existing form: the components this read created go, the form stays.
  TWidget form(nullptr);
  EXPECT_THROW(StringToComponent(u"object F: TWidget\n  object B: TFancyWidget\n    Glow = x\n"
                                 u"  end\nend\n",
                                 &form),
               EReadError);
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
}

TEST_F(Streaming, MalformedTextRaisesParserErrorsWithTheLine) {
  const char16_t* bad[] = {
      u"",
      u"object",
      u"object F: TWidget\n  Caption = 'open\nend\n",
      u"object F: TWidget\n  Blob = {0G}\nend\n",
      u"object F: TWidget\n  Blob = {012}\nend\n",
      u"object F: TWidget\n  Width = 1\n",
      u"object F: TUnknownClass\nend\n",
      u"object F: TWidget\n  Caption = #99999999999\nend\n",
      u"object F: TWidget\n  Lines.Strings = ('a' 'b'\nend\n",
  };
  for (const char16_t* text : bad) {
    EXPECT_THROW(std::unique_ptr<TComponent>(StringToComponent(text)), Exception) << Utf16ToUtf8(text);
  }
  try {
    std::unique_ptr<TComponent>(StringToComponent(u"object F: TWidget\n\n  Width = ?\nend\n"));
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), u"Invalid property value");
  }
  try {
    std::unique_ptr<TComponent>(StringToComponent(u"object F: TWidget\n\n  Caption = 'x\nend\n"));
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), u"Unterminated string on line 3");
  }
}

TEST_F(Streaming, StreamsReadAndWriteComponentsAtTheirPosition) {
  TWidget a(nullptr);
  a.SetName(u"A");
  a.SetWidth(3);
  TMemoryStream stream;
  stream.WriteBuffer("head", 4);
  stream.WriteComponent(&a);
  stream.SetPosition(4);
  TWidget b(nullptr);
  EXPECT_EQ(stream.ReadComponent(&b), &b);
  EXPECT_EQ(b.Name(), u"A");
  EXPECT_EQ(b.Width(), 3);
}

TEST_F(Streaming, NonFiniteFloatsComeBack) {
  for (double v : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()}) {
    TWidget a(nullptr);
    a.SetRatio(v);
    TWidget b(nullptr);
    StringToComponent(ComponentToString(&a), &b);
    if (std::isnan(v)) EXPECT_TRUE(std::isnan(b.Ratio()));
    else EXPECT_EQ(b.Ratio(), v);
  }
}

TEST_F(Streaming, PersistentPropertiesWithoutAComponentBlock) {
  TTestFont font;
  font.SetName(u"Segoe UI");
  font.SetSize(12);
  TMemoryStream stream;
  WriteObjectProperties(stream, &font);
  stream.SetPosition(0);
  TTestFont back;
  ReadObjectProperties(stream, &back);
  EXPECT_EQ(back.Name(), u"Segoe UI");
  EXPECT_EQ(back.Size(), 12);
}

}  // namespace
}  // namespace kestrel::test

namespace kestrel::test {
namespace {

// Text from outside (the clipboard, a file) may be anything: every damaged variant of a valid
// form must either read or raise one of the framework's exceptions, never crash (ASan and UBSan
// watch this test).
TEST_F(Streaming, DamagedTextNeverCrashes) {
  TWidget form(nullptr);
  form.SetName(u"Form1");
  form.SetCaption(u"a'b#c");
  form.SetSides({sdRight});
  form.Lines()->SetCommaText(u"x,y");
  form.blob = {1, 2, 3};
  static_cast<TSnippet*>(form.Snippets()->Add())->SetText(u"s");
  auto* child = new TWidget(&form);
  child->SetName(u"Child");
  child->SetBuddy(&form);
  const String good = ComponentToString(&form);

  const char16_t alphabet[] = u"'#$(){}[]<>=:,.+-09AZaz \n";
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  int read = 0;
  for (int round = 0; round < 1500; ++round) {
    String text = good;
    int edits = 1 + static_cast<int>(next() % 4);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      std::size_t at = next() % text.size();
      switch (next() % 3) {
        case 0: text.erase(at, 1 + next() % 8); break;
        case 1: text.insert(at, 1, alphabet[next() % (sizeof(alphabet) / 2 - 1)]); break;
        default: text[at] = alphabet[next() % (sizeof(alphabet) / 2 - 1)]; break;
      }
    }
    try {
      std::unique_ptr<TComponent> result(StringToComponent(text));
      ++read;
    } catch (const Exception&) {
    }
  }
  EXPECT_GT(read, 0);  // some damage is harmless

  // Deep nesting is refused instead of exhausting the stack.
  String deep = u"object F: TWidget\n  Bogus = " + String(100000, u'(') + u"\nend\n";
  TStringStream stream(deep);
  TReader reader(stream);
  reader.SetOnError([](TReader&, const String&, bool& handled) { handled = true; });  // skip it
  try {
    std::unique_ptr<TComponent> never(reader.ReadRootComponent(nullptr));
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), u"Nesting too deep on line 2");
  }
  String nested;
  for (int i = 0; i < 200; ++i) nested += u"object A" + Utf8ToUtf16(std::to_string(i)) + u": TWidget\n";
  try {
    std::unique_ptr<TComponent> never(StringToComponent(nested));
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), u"Nesting too deep on line 65");
  }
}

}  // namespace
}  // namespace kestrel::test
