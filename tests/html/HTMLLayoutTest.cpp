#include <string>

#include "HTMLTestSupport.h"
#include "platform/gdi/DcState.h"
#include "platform/text/Text.h"

namespace kestrel::testing {
namespace {

// Line metrics of every break item: "width x height / descent".
std::string Lines(const TVnHTMLData& data) {
  std::string out;
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TVnHTMLItem* item = data.Item(i);
    if (!item->IsBreakItem()) continue;
    if (!out.empty()) out += ", ";
    out += std::to_string(item->FWidth) + "x" + std::to_string(item->FHeight) + "/" +
           std::to_string(static_cast<const TVnHTMLBreakItem*>(item)->Descent());
  }
  return out;
}

TEST_F(HTMLTest, DumpOfAMixedCaption) {
  Prepare(
      "<p align=center>Step <b>3</b>:<br><font size=22 color=red>Big</font> "
      "<a href=go>link</a><sub>x</sub><sup>y</sup>");
  EXPECT_EQ(DumpHTMLItems(Data()),
            "0 para \"\" font=Kestrel Fixed/-14 fg=FF000008 bg=1FFFFFFF w=53 h=14 align=1 desc=3\n"
            "1 char \"Step \" font=Kestrel Fixed/-14 fg=FF000008 bg=1FFFFFFF w=36 h=14\n"
            "2 char \"3\" [B] font=Kestrel Fixed/-14 fg=FF000008 bg=1FFFFFFF w=9 h=14\n"
            "3 char \":\" font=Kestrel Fixed/-14 fg=FF000008 bg=1FFFFFFF w=8 h=14\n"
            "4 br \"\" font=Kestrel Fixed/-14 fg=FF000008 bg=1FFFFFFF w=85 h=22 align=1 desc=6\n"
            "5 char \"Big\" font=Kestrel Fixed/22 fg=000000FF bg=1FFFFFFF fnt=1 w=34 h=22\n"
            "6 char \" \" font=Kestrel Fixed/-14 fg=FF000008 bg=1FFFFFFF w=8 h=14\n"
            "7 char \"link\" [U] font=Kestrel Fixed/-14 fg=00FF0000 bg=1FFFFFFF link=go w=29 h=14\n"
            "8 char \"x\" font=Kestrel Fixed/-14 fg=FF000008 bg=1FFFFFFF sub w=7 h=15\n"
            "9 char \"y\" font=Kestrel Fixed/-14 fg=FF000008 bg=1FFFFFFF sup w=7 h=20\n");
  EXPECT_EQ(Data().TextSize().cx, 85);
  EXPECT_EQ(Data().TextSize().cy, 36);
  EXPECT_EQ(Data().LineCount(), 2);
}

TEST_F(HTMLTest, RunsMeasureAsTheDeviceDoes) {
  // A mapped real font: the run width is DrawText's single-line extent plus one.
  Data().SetDefaultFont(u"MS Sans Serif");
  Data().SetDefaultHeight(-13);
  Prepare("Hello, World<b> bold</b>");
  platform::HDC dc = platform::CreateCompatibleDC(nullptr);
  for (int index : {1, 2}) {
    const TVnHTMLItem& run = At(index);
    platform::LOGFONTW lf = platform::MakeLogFont(u"MS Sans Serif", -13,
                                                  (run.FontStyle & hfsBold) ? platform::FW_BOLD : platform::FW_NORMAL);
    platform::HFONT font = platform::CreateFontIndirectW(&lf);
    platform::HGDIOBJ old = platform::SelectObject(dc, font);
    platform::RECT rect{0, 0, 0, 0};
    platform::DrawTextW(dc, reinterpret_cast<const platform::WCHAR*>(run.Text().c_str()),
                        static_cast<int>(run.Text().size()), &rect, 0x0C28);
    EXPECT_EQ(run.FWidth, rect.right - rect.left + 1) << index;
    platform::TEXTMETRICW tm{};
    platform::GetTextMetricsW(dc, &tm);
    EXPECT_EQ(run.FHeight, tm.tmHeight);
    platform::SelectObject(dc, old);
    platform::DeleteObject(font);
  }
  platform::DeleteDC(dc);
}

TEST_F(HTMLTest, EmptyRunsAndEmptyLines) {
  Prepare("<b>a</b><a href=x></a>");  // <a> appends the current run even when it is empty
  ASSERT_EQ(DumpHTMLOutline(Data()), "para | 'a' | ''");
  EXPECT_EQ(At(2).FWidth, 1);
  Prepare("a<br><br>b<br>");
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'a' | br | br | 'b' | br");
  EXPECT_EQ(Lines(Data()), "8x14/3, 0x14/3, 8x14/3, 0x14/3");
  EXPECT_EQ(Data().TextSize().cy, 56);
}

TEST_F(HTMLTest, LineGapCountsTwiceAndLineSpacingIsAMinimum) {
  Data().SetLineGap(2);
  Prepare("a<br>b");
  EXPECT_EQ(Lines(Data()), "8x16/3, 8x16/3");
  EXPECT_EQ(Data().TextSize().cy, 36);
  Data().SetLineGap(0);
  Data().SetLineSpacing(20);
  Prepare("a<br>b<br><br>");
  EXPECT_EQ(Lines(Data()), "8x20/3, 8x20/3, 0x20/3, 0x20/3");
}

TEST_F(HTMLTest, ImagesSetTheirLineHeight) {
  Data().SetLineGap(1);
  Prepare("<img src=x width=10 height=40>text<input type=checkbox>");
  EXPECT_EQ(Lines(Data()), "56x41/3");
  EXPECT_EQ(Data().TextSize().cy, 42);
}

TEST_F(HTMLTest, SubscriptDeepensTheDescentSuperscriptDoesNot) {
  Prepare("a<sub>b</sub>");
  EXPECT_EQ(Lines(Data()), "15x15/6");
  Prepare("a<sup>b</sup>");
  EXPECT_EQ(Lines(Data()), "15x20/3");
}

TEST_F(HTMLTest, ListLinesCountTheirMarkers) {
  Prepare("<ul><li>ab</ul>");
  // The list start's line holds only its break (max char width); the item's line its average
  // character width plus the run, after the list indent.
  EXPECT_EQ(Lines(Data()), "0x0/0, 14x0/0, 29x14/3, 0x14/3");
}

TEST_F(HTMLTest, WrapBreaksAfterTheLastSpace) {
  EXPECT_EQ(Outline("aaa bbb ccc", 60, true), "para | 'aaa bbb ' | soft | 'ccc'");
  EXPECT_EQ(Lines(Data()), "57x14/3, 22x14/3");
  EXPECT_EQ(Outline("aaa bbb ccc", 60, false), "para | 'aaa bbb ccc'");
  EXPECT_EQ(Data().TextSize().cx, 78);
  // A run without spaces that does not fit moves whole; the formatting change is the break.
  EXPECT_EQ(Outline("aaaa <b>bbbb</b>", 50, true), "para | 'aaaa ' | soft | 'bbbb'");
  EXPECT_TRUE(At(3).FontStyle & hfsBold);
  // Overflowing on a space: the space starts the next line.
  EXPECT_EQ(Outline("aaa bbb ccc", 50, true), "para | 'aaa bbb' | soft | ' ccc'");
}

TEST_F(HTMLTest, WrapKeepsTheParagraphsAlignmentAndIndent) {
  Prepare("<p align=right indent=10>aa aa aa", 40, true);
  EXPECT_EQ(DumpHTMLOutline(Data()), "para | 'aa ' | soft | 'aa ' | soft | 'aa'");
  EXPECT_EQ(BreakAt(2).Alignment(), 2);
  EXPECT_EQ(At(3).FIndent, 10);
  EXPECT_EQ(Lines(Data()), "32x14/3, 32x14/3, 25x14/3");
}

TEST_F(HTMLTest, LongWordsBreakBetweenCharacters) {
  EXPECT_EQ(Outline("abcdef", 20, true), "para | soft | 'ab' | soft | 'cd' | soft | 'ef'");
  // Narrower than one character: one character per line, and the scan ends.
  EXPECT_EQ(Outline("abc", 3, true), "para | soft | 'a' | soft | 'b' | soft | 'c'");
  EXPECT_EQ(Outline("a b", 3, true), "para | soft | 'a' | soft | ' ' | soft | soft | 'b'");
}

TEST_F(HTMLTest, WrappedCharactersKeepTheirSource) {
  // An entity that overflows is read again whole, not from its last character.
  EXPECT_EQ(Outline("x aaa&amp;", 36, true), "para | 'x ' | soft | 'aaa&'");
  EXPECT_EQ(Outline("x aaa&#65;", 36, true), "para | 'x ' | soft | 'aaaA'");
  // A surrogate pair is never split between lines.
  EXPECT_EQ(Outline("ab\xF0\x9F\x98\x80", 15, true), "para | soft | 'ab' | soft | '\\uD83D\\uDE00'");
}

TEST_F(HTMLTest, HostileInputsPrepareWithoutHanging) {
  // A '&' with no ';' after it is added without a wrap check.
  std::string amps(60000, '&');
  Prepare(amps, 100, true);
  EXPECT_EQ(render.AsText().size(), amps.size());
  EXPECT_EQ(Data().LineCount(), 1);
  std::string entities;
  for (int i = 0; i < 6000; ++i) entities += "&lt;";
  Prepare(entities, 100, true);
  EXPECT_EQ(render.AsText().size(), 6000u);
  EXPECT_EQ(Data().LineCount(), 6000 / 14 + 2);  // 14 characters of 7 px fit in 100 px

  std::string indents;
  for (int i = 0; i < 3000; ++i) indents += "<ind width=0>";
  Prepare(indents + std::string(3000, 'x'), 700, true);
  EXPECT_EQ(render.AsText().size(), 3000u);

  std::string links;
  for (int i = 0; i < 3000; ++i) links += "<a href=u>x<b>y</b>";
  for (int i = 0; i < 3000; ++i) links += "</a>";
  Prepare(links, 500, true);
  EXPECT_EQ(render.AsText().size(), 6000u);
}

TEST_F(HTMLTest, TheFontCacheStaysBounded) {
  std::string sizes;
  for (int i = 10; i < 400; ++i) sizes += "<font size=" + std::to_string(i) + ">x";
  Prepare(sizes);
  EXPECT_GT(render.Measurer().FontCount(), 128);
  Prepare("<font size=30>x");
  EXPECT_LE(render.Measurer().FontCount(), 2);
  EXPECT_EQ(At(1).FHeight, 30);  // measured afresh after the cache was dropped
}

}  // namespace
}  // namespace kestrel::testing
