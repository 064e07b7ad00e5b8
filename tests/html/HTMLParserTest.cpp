#include <memory>

#include "HTMLTestSupport.h"
#include "framework/Bitmap.h"
#include "framework/Component.h"
#include "framework/Exceptions.h"
#include "framework/Font.h"
#include "framework/Picture.h"
#include "framework/TypeInfo.h"
#include "framework/WinControl.h"
#include "html/internal/HTMLTables.h"

namespace kestrel::testing {
namespace {

TEST_F(HTMLTest, EmptyTextHasNoItemsAndNoSize) {
  Prepare("");
  EXPECT_EQ(Data().ItemCount(), 0);
  EXPECT_EQ(Data().TextSize().cx, 0);
  EXPECT_EQ(Data().TextSize().cy, 0);
}

TEST_F(HTMLTest, RunsSplitAtStyleTagsWithoutEmptyRuns) {
  EXPECT_EQ(Outline("a<b>b</b>"), "para | 'a' | 'b'");
  EXPECT_EQ(At(2).FontStyle, hfsBold);
  EXPECT_EQ(At(1).FontStyle, 0);
  EXPECT_EQ(Outline("<b></b>x"), "para | 'x'");
  EXPECT_EQ(At(1).FontStyle, 0);
  EXPECT_EQ(Outline("<var>v</var><i>i</i><em>e<u>u<s>s</s></u></em><strikeout>k</strikeout>"),
            "para | 'v' | 'i' | 'e' | 'u' | 's' | 'k'");
  EXPECT_EQ(At(1).FontStyle, hfsBold | hfsItalic);
  EXPECT_EQ(At(5).FontStyle, hfsItalic | hfsUnderline | hfsStrikeOut);
  EXPECT_EQ(At(6).FontStyle, hfsStrikeOut);
}

TEST_F(HTMLTest, ClosingStyleKeepsBitsThatAreAllDefault) {
  Data().SetDefaultStyle(hfsBold);
  EXPECT_EQ(Outline("a</b>b<var>c</var>d"), "para | 'a' | 'b' | 'c' | 'd'");
  EXPECT_EQ(At(2).FontStyle, hfsBold);  // </b> with bold as the default
  EXPECT_EQ(At(4).FontStyle, 0);        // </var>: italic was not default
}

TEST_F(HTMLTest, SpacesCollapseWithinARunOnly) {
  EXPECT_EQ(Outline("x  y"), "para | 'x y'");
  EXPECT_EQ(Outline("x <b> y"), "para | 'x ' | ' y'");
  EXPECT_EQ(Outline("word1\r\nword2\rword3"), "para | 'word1word2word3'");
  EXPECT_EQ(Outline("a\nb\tc\x01"), "para | 'a\\u000Ab\\u0009c\\u0001'");
}

TEST_F(HTMLTest, TagNamesAndTheirTerminators) {
  EXPECT_EQ(Outline("a<BR>b"), "para | 'a' | br | 'b'");
  EXPECT_EQ(Outline("a<br/>b"), "para | 'ab'");
  EXPECT_EQ(Outline("a<br />b"), "para | 'a' | br | 'b'");
  EXPECT_EQ(Outline("a<blink>b</blink>c"), "para | 'abc'");
  EXPECT_EQ(Outline("<a\nhref=x>t"), "para | 't'");
  EXPECT_FALSE(At(1).IsLink());
  EXPECT_EQ(Outline("a<b"), "para | 'a'");                // unterminated name ends the scan
  EXPECT_EQ(Outline("a<b x=1"), "para | 'a'");            // the attributes take the rest of the text
  EXPECT_EQ(Outline("a<b x='>'>c"), "para | 'a' | 'c'");  // a quoted '>' does not end the tag
  EXPECT_EQ(At(2).FontStyle, hfsBold);
  EXPECT_EQ(Outline("<!-- <b> -->x"), "para | 'x'");
  EXPECT_EQ(At(1).FontStyle, 0);
  EXPECT_EQ(Outline("a<!-- never closed <b>x"), "para | 'a'");
  EXPECT_EQ(Outline("<html>h</html>"), "para | 'h'");
}

TEST_F(HTMLTest, Entities) {
  EXPECT_EQ(Outline("&lt;b&gt;"), "para | '<b>'");
  EXPECT_EQ(Outline("&foo;x"), "para | 'x'");
  EXPECT_EQ(Outline("a & b"), "para | 'a & b'");
  EXPECT_EQ(Outline("a&b"), "para | 'a&b'");
  EXPECT_EQ(Outline("&#65;&#xyz;&#66;"), "para | 'A B'");
  EXPECT_EQ(Outline("&AMP;&Auml;&quot;&euro;&trade;&iquest;&uacute;&szlig;"), "para | '&ä\\\"€™¿úß'");
  EXPECT_EQ(Outline("a&nbsp;&nbsp;b&#32;&#32;c"), "para | 'a  b c'");
  EXPECT_EQ(Outline("&ucirc;&#x41;"), "para | ' '");
  EXPECT_EQ(Outline("&#65"), "para | 'A'");  // the number runs to the end of the text
}

TEST_F(HTMLTest, NumericEntitiesAreSoundOutsideTheBasicPlane) {
  Prepare("&#128512;");
  ASSERT_EQ(Data().ItemCount(), 2);
  EXPECT_EQ(At(1).Text(), String(u"\U0001F600"));
  Prepare("a&#0;b&#99999999999;");
  EXPECT_EQ(At(1).Text(), String(u"ab\uFFFD"));
}

TEST_F(HTMLTest, FontSizes) {
  Data().SetDefaultHeight(-13);
  auto heightOf = [this](const char* markup) {
    Prepare(markup);
    return At(Data().ItemCount() - 1).FontHeight;
  };
  EXPECT_EQ(heightOf("<font size=22>x"), 22);
  EXPECT_EQ(heightOf("<font size=22px>x"), 22);
  EXPECT_EQ(heightOf("<font size=\"5px\">x"), 5);
  EXPECT_EQ(heightOf("<font size=3>x"), -28);
  EXPECT_EQ(heightOf("<font size=+2>x"), -16);  // 2 * 96 / 72 = 2.67 -> 3
  EXPECT_EQ(heightOf("<font size=-1>x"), -12);  // 13 - 1.33 rounded
  EXPECT_EQ(heightOf("<font size=0>x"), 0);
  EXPECT_EQ(heightOf("<font size=0><font size=3>x"), 0);  // sign of 0 stays 0
  EXPECT_EQ(heightOf("<font size=big>x"), -13);
}

TEST_F(HTMLTest, FontColoursAndTheSettingsStack) {
  auto colorOf = [this](const char* markup) {
    Prepare(markup);
    return static_cast<std::uint32_t>(At(Data().ItemCount() - 1).FontColor);
  };
  EXPECT_EQ(colorOf("<font color=red>x"), 0x0000FFu);
  EXPECT_EQ(colorOf("<font color=\"clRed\">x"), 0x0000FFu);
  EXPECT_EQ(colorOf("<font color=Red>x"), 0x0000FFu);
  EXPECT_EQ(colorOf("<font color=#00FF00>x"), 0x00FF00u);
  EXPECT_EQ(colorOf("<font color=#123456>x"), 0x563412u);
  EXPECT_EQ(colorOf("<font color=ClRed>x"), 0xFF000008u);
  EXPECT_EQ(colorOf("<font color=btnface>x"), 0xFF00000Fu);

  Prepare("<font color=red bgcolor=#0000FF face=Arial>a<font size=3>b</font>c</font>d</font>e");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'a' | 'b' | 'c' | 'd' | 'e'");
  EXPECT_EQ(At(1).FFntCnt, 1);
  EXPECT_EQ(static_cast<std::uint32_t>(At(1).FontBgColor), 0xFF0000u);
  EXPECT_EQ(At(1).FFontRef, u"Arial");
  EXPECT_EQ(At(2).FFntCnt, 1);  // a size-only font tag does not count
  EXPECT_EQ(At(2).FontHeight, -29);
  EXPECT_EQ(At(3).FontHeight, -14);
  EXPECT_EQ(At(4).FFntCnt, 0);
  EXPECT_EQ(static_cast<std::uint32_t>(At(4).FontColor), 0xFF000008u);
  EXPECT_EQ(At(4).FFontRef, u"Kestrel Fixed");
  EXPECT_EQ(At(5).FFntCnt, 0);  // unmatched </font> changes nothing
  Prepare("<font background=red name=Tahoma face=Arial>x");
  EXPECT_EQ(At(1).FFontRef, u"Tahoma");
  EXPECT_EQ(static_cast<std::uint32_t>(At(1).FontBgColor), 0x0000FFu);
}

TEST_F(HTMLTest, LinksReplaceStyleAndRestoreIt) {
  Prepare("<b>x<a href=\"http://k\">link</a>y</b>");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'x' | 'link' | 'y'");
  EXPECT_TRUE(At(2).IsLink());
  EXPECT_EQ(At(2).LinkRef(), u"http://k");
  EXPECT_EQ(At(2).FontStyle, hfsUnderline);
  EXPECT_EQ(At(2).FontColor, 0xFF0000);
  EXPECT_FALSE(At(3).IsLink());
  EXPECT_EQ(At(3).FontStyle, hfsBold);
  EXPECT_EQ(static_cast<std::uint32_t>(At(3).FontColor), 0xFF000008u);
  ASSERT_EQ(Data().ControlsArray().size(), 1u);
  EXPECT_EQ(Data().ControlsArray()[0], &At(2));

  Prepare("<a>t</a>u");  // a bare <a> is ignored, </a> still restores
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 't' | 'u'");
  EXPECT_TRUE(Data().ControlsArray().empty());
  Prepare("x<a href=y></a><a href=z><b></b>w</a>");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'x' | '' | 'w'");  // <a> keeps its empty run
  ASSERT_EQ(Data().ControlsArray().size(), 1u);
  EXPECT_EQ(Data().ControlsArray()[0]->Text(), u"w");  // the focus entry follows its run
}

TEST_F(HTMLTest, ParagraphsAndTheClosingMark) {
  EXPECT_EQ(Outline("a<p>b"), "para | 'a' | para | 'b'");
  EXPECT_EQ(Outline("<p></p><p>x"), "para | para | para | 'x'");
  EXPECT_EQ(Outline("a</p><br><p>b"), "para | 'a' | para | br | 'b'");
  EXPECT_FALSE(At(3).FBoolState & hbsClosePara);
  Prepare("<p align=center indent=12>a<br>b<p align=RIGHT>c<p indent=x>d");
  EXPECT_EQ(BreakAt(0).Alignment(), 1);
  EXPECT_EQ(BreakAt(0).FIndent, 12);
  EXPECT_EQ(At(1).FIndent, 12);
  EXPECT_EQ(BreakAt(2).Alignment(), 1);  // <br> keeps the paragraph's alignment
  EXPECT_EQ(BreakAt(4).Alignment(), 2);
  EXPECT_EQ(BreakAt(6).FIndent, 0);
}

TEST_F(HTMLTest, ListsNumberIndentAndRemoveBlankBreaks) {
  // The blank line before the list goes; the blank run itself stays.
  Prepare("x<br> <ul><li>a<li>b</ul>y");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'x' | ' ' | ul | li | 'a' | li | 'b' | br | 'y'");
  EXPECT_EQ(At(3).FIndent, 7);
  EXPECT_EQ(BreakAt(4).FListItemN, -1);
  EXPECT_EQ(BreakAt(4).FListLevel, 1);
  EXPECT_EQ(At(5).FIndent, 7);
  EXPECT_EQ(At(9).FIndent, 0);
  // <li> swallows a <br> (and the break of </ul>) right before it.
  Prepare("<ol><li>a<br><li>b<ul><li>c</ul><li>d</ol><li>e");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | ol | li | 'a' | li | 'b' | ul | li | 'c' | li | 'd' | li | 'e'");
  EXPECT_EQ(BreakAt(2).FListItemN, 1);
  EXPECT_EQ(BreakAt(4).FListItemN, 2);
  EXPECT_EQ(BreakAt(7).FListLevel, 2);
  EXPECT_EQ(At(8).FIndent, 14);
  EXPECT_EQ(BreakAt(9).FListItemN, -1);  // the counter is not stacked
  EXPECT_EQ(BreakAt(9).FListLevel, 1);
  EXPECT_EQ(BreakAt(11).FListItemN, -1);
  EXPECT_EQ(BreakAt(11).FListLevel, 0);
}

TEST_F(HTMLTest, RulesIndentsAndImages) {
  Prepare("a<hr width=50>b<hr>c<ind width=9 pos=ABS>d<ind>e<ind width=q>");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'a' | br | hr | br | 'b' | br | hr | br | 'c' | ind | 'de' | ind");
  EXPECT_EQ(At(3).FWidth, 50);
  EXPECT_EQ(At(7).FWidth, 0);
  EXPECT_TRUE(At(10).FBoolState & hbsAbsolute);
  EXPECT_EQ(At(10).FWidth, 9);
  EXPECT_EQ(At(12).FWidth, 0);

  TBitmap box;
  box.SetWidth(30);
  box.SetHeight(40);
  std::vector<String> asked;
  render.OnImageNeeded = [&](TObject*, const String& src, TBitmap*& image) {
    asked.push_back(src);
    if (src == u"box") image = &box;
  };
  render.OnImageNeededEx = [&](TObject*, const String& src, TPicture* picture) {
    if (src == u"ex") picture->Bitmap()->SetWidth(12);
    if (src == u"none") throw Exception("no image");
  };
  Prepare("<img src=box><img src='box' width=5 transparent=solid><img src=none><img><img src=ex>");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | img'box' | img'box' | img'none' | img'ex'");
  EXPECT_EQ(At(4).FWidth, 12);
  EXPECT_EQ(At(1).FWidth, 30);
  EXPECT_EQ(At(1).FHeight, 40);
  EXPECT_TRUE(At(1).Transparent());
  EXPECT_EQ(At(2).FWidth, 5);
  EXPECT_EQ(At(2).FHeight, 40);
  EXPECT_FALSE(At(2).Transparent());
  EXPECT_EQ(At(3).FWidth, 0);
  EXPECT_EQ(asked, (std::vector<String>{u"box", u"box", u"none", u"ex"}));
}

TEST_F(HTMLTest, InputsAndRadioGroups) {
  Prepare(
      "a<input type=CheckBox checked=True value=v>b<input type=radio name=G>"
      "<input type=radio name=h checked=1 width=20 height=21><input type=radio name=g width=x height=30>"
      "<input type=text>");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'a' | input | 'b' | input | input | input");
  auto& box = static_cast<TVnHTMLInputItem&>(At(2));
  EXPECT_EQ(box.InputType(), itCheckBox);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(box.FWidth, 17);
  EXPECT_EQ(box.GetItemHTML(), u"<input type=\"checkbox\" checked=\"True\" value=\"v\" >");
  auto& g1 = static_cast<TVnHTMLInputItem&>(At(4));
  EXPECT_EQ(g1.Name(), u"g");
  EXPECT_EQ(g1.FTag, 1);
  auto& h = static_cast<TVnHTMLInputItem&>(At(5));
  EXPECT_EQ(h.FTag, 2);
  EXPECT_EQ(h.FWidth, 20);
  EXPECT_EQ(h.FHeight, 21);
  auto& g2 = static_cast<TVnHTMLInputItem&>(At(6));
  EXPECT_EQ(g2.FTag, 1);
  EXPECT_EQ(g2.FHeight, 17);  // a bad width stops the sizes after it
  EXPECT_EQ(Data().ControlsArray().size(), 4u);
  EXPECT_EQ(g2.GetItemHTML(), u"<input type=\"radio\" name=\"g\" >");
}

TEST_F(HTMLTest, AFailureDuringPreparationEmptiesTheText) {
  Prepare("before<input type=checkbox checked=yes>after");
  EXPECT_EQ(Data().ItemCount(), 0);
  EXPECT_EQ(Data().TextSize().cy, 0);
  render.OnVariableNeeded = [](TObject*, const String&, String&) { throw EConvertError("bad"); };
  Prepare("x<~~v>");
  EXPECT_EQ(Data().ItemCount(), 0);
}

TEST_F(HTMLTest, Variables) {
  std::vector<String> names;
  render.OnVariableNeeded = [&](TObject* sender, const String& name, String& value) {
    EXPECT_EQ(sender, &render);
    names.push_back(name);
    if (name == u"User") value = u"Ann";
  };
  EXPECT_EQ(Outline("Hi <~~User>!<~~ name=Other><~~ p1>"),
            "para | 'Hi ' | var'Ann' | ' !' | var'~~' | ' ' | var'~~' | ' '");
  EXPECT_EQ(names, (std::vector<String>{u"User", u"Other", u"p1"}));
  EXPECT_EQ(Data().GenerateHTML(), u"<html>Hi <~~Ann> !<~~~~> <~~~~> </html>");
}

TEST_F(HTMLTest, PlainTextAndMarkupWrittenBack) {
  Prepare("a<br>b<p>c<ul><li>d</ul>e<input type=checkbox name=n>");
  EXPECT_EQ(render.AsText(), u"a\r\nb\r\n\r\nc- d\r\ne");
  EXPECT_EQ(Data().GenerateHTML(), u"<html>a<br>\r\nbcd<br>\r\ne<input type=\"checkbox\" name=\"n\" >\r\n</html>");
}

TEST_F(HTMLTest, DataObjectsAndTheCurrentData) {
  TVnHTMLData* own = render.Data();
  TVnHTMLData* other = render.CreateData();
  other->SetDefaultFont(u"Kestrel Fixed");
  render.PrepareToData(u"x<b>y", 0, false, other);
  EXPECT_EQ(render.Data(), own);  // the current data comes back
  EXPECT_EQ(other->ItemCount(), 3);
  EXPECT_EQ(other->MaxWidth(), 0);
  render.SetData(other);
  EXPECT_EQ(render.AsText(), u"xy");
  render.DestroyData(other);
  EXPECT_EQ(render.Data(), nullptr);
  render.SetData(nullptr);
  EXPECT_EQ(render.Data(), own);
}

// An embeddable class with a few published properties.
class TTestEmbed : public TComponent {
  KESTREL_CLASS(TTestEmbed)
  using TComponent::TComponent;
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  int Height() const { return 23; }
  void SetHeight(int) {}
  std::int32_t Color() const { return color_; }
  void SetColor(std::int32_t v) { color_ = v; }
  String Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }

 private:
  int width_ = 75;
  std::int32_t color_ = 0;
  String caption_;
};

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TTestEmbed, TComponent)
void TTestEmbed::PublishProperties(TClassBuilder<TTestEmbed>& b) {
  b.Property(u"Width", &TTestEmbed::Width, &TTestEmbed::SetWidth);
  b.Property(u"Height", &TTestEmbed::Height, &TTestEmbed::SetHeight);
  b.Property(u"Color", &TTestEmbed::Color, &TTestEmbed::SetColor).TypeName(u"TColor");
  b.Property(u"Caption", &TTestEmbed::Caption, &TTestEmbed::SetCaption).Kind(tkWString);
}

TEST_F(HTMLTest, EmbeddedControlsTakePropertiesByName) {
  RegisterHTMLControlClass(TTestEmbed::StaticClass());
  Prepare("<control vclclass=TTestEmbed width=40>");  // no host: recognised, nothing created
  ASSERT_EQ(Data().ItemCount(), 2);
  auto* item = static_cast<TVnHTMLControlItem*>(&At(1));
  EXPECT_EQ(item->FControl, nullptr);
  EXPECT_EQ(item->FWidth, 40);
  EXPECT_EQ(item->GetItemHTML(), u"");

  TControl host(nullptr);
  render.SetControl(&host);
  Prepare(
      "x<control vclclass=ttestembed color=clRed caption='Go on' bogus=1 width=q>"
      "<control vclclass=TUnknown>");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'x' | control");
  item = static_cast<TVnHTMLControlItem*>(&At(2));
  ASSERT_NE(item->FControl, nullptr);
  auto* embed = static_cast<TTestEmbed*>(item->FControl.get());
  EXPECT_EQ(embed->Color(), 0x0000FF);
  EXPECT_EQ(embed->Caption(), u"Go on");
  EXPECT_EQ(item->FWidth, 75);
  EXPECT_EQ(item->FHeight, 23);
  EXPECT_EQ(item->GetItemHTML(), u"<control vclclass=\"TTestEmbed\" color=\"clRed\" caption=\"Go on\" width=\"75\" >");
  EXPECT_EQ(Data().ControlsArray().size(), 1u);
  render.SetControl(nullptr);
  UnRegisterHTMLControlClass(TTestEmbed::StaticClass());
}

TEST_F(HTMLTest, DottedAttributesReachTheEmbeddedControlsSubObjects) {
  TControl host(nullptr);
  render.SetControl(&host);
  Prepare("<control vclclass=tbutton font.color=clBlue font.size=14 nofont.color=clRed>");
  auto* item = static_cast<TVnHTMLControlItem*>(&At(1));
  auto* button = dynamic_cast<TControl*>(item->FControl.get());
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Font()->Color(), clBlue);
  EXPECT_EQ(button->Font()->Size(), 14);
  render.SetControl(nullptr);
}

TEST_F(HTMLTest, StandardControlsAreEmbeddableFromTheStart) {
  for (const char16_t* name : {u"tedit", u"TButton", u"tcheckbox", u"tradiobutton"})
    EXPECT_NE(FindHTMLControlClass(name), nullptr) << Utf16ToUtf8(name);
  TControl host(nullptr);
  render.SetControl(&host);
  Prepare("<control vclclass=tbutton caption='Send' width=90>");
  auto* item = static_cast<TVnHTMLControlItem*>(&At(1));
  ASSERT_NE(item->FControl, nullptr);
  EXPECT_EQ(item->FControl->ClassName(), u"TButton");
  EXPECT_EQ(GetStrProp(item->FControl.get(), u"Caption"), u"Send");
  EXPECT_EQ(item->FWidth, 90);
  auto* button = dynamic_cast<TWinControl*>(item->FControl.get());
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->Visible());
  EXPECT_FALSE(button->TabStop());
  render.SetControl(nullptr);
}

}  // namespace
}  // namespace kestrel::testing
