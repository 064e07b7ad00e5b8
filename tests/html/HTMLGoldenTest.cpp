// Golden sheets of the markup label: the dialog's two captions at their designed sizes in German
// and English, and one of every tag, list, input and an embedded control.

#include <gtest/gtest.h>

#include "framework/Bitmap.h"
#include "framework/Panel.h"
#include "html/KsHTMLLabel.h"
#include "platform/theme/UxTheme.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ThemeScope.h"

namespace kestrel::testing {
namespace {

constexpr TColor kHeaderBand = 13531904;  // #007BCE
constexpr TColor kHeaderText = 11399932;  // #FCF2AD
constexpr GoldenTolerance kTextTolerance{24, 0.01};

TKsHTMLLabel* Label(TWinControl* parent, const TRect& bounds, const char16_t* caption) {
  auto* label = new TKsHTMLLabel(parent);
  label->SetParent(parent);
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetBoundsRect(bounds);
  label->SetCaption(caption);
  return label;
}

// The header band as the dialog has it: Verdana -15 in #FCF2AD on #007BCE, centred vertically.
void Header(TForm* form, int top, const String& caption) {
  auto* band = new TPanel(form);
  band->SetParent(form);
  band->SetBounds(0, top, 445, 65);
  band->SetColor(kHeaderBand);
  band->SetBevelOuter(bvNone);
  band->SetShowCaption(false);
  TKsHTMLLabel* label = Label(band, Bounds(16, 3, 411, 59), caption.c_str());
  label->SetParentFont(false);
  label->Font()->SetName(u"Verdana");
  label->Font()->SetHeight(-15);
  label->Font()->SetColor(kHeaderText);
  label->SetLayout(tlCenter);
}

void Capture(TForm* form, const char* golden) {
  Pump();
  cairo_surface_t* image = platform::CaptureWindowImage(form->Handle());
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(MatchesGolden(image, golden, kTextTolerance));
  cairo_surface_destroy(image);
}

TEST(HTMLGolden, DialogCaptionsInGermanAndEnglish) {
  ShownForm f(445, 2 * 65 + 2 * 90);
  f->SetBorderStyle(bsNone);
  f->SetBounds(50, 50, 445, 2 * 65 + 2 * 90);
  f->SetColor(clWhite);
  f->Font()->SetName(u"Verdana");
  f->Font()->SetHeight(-13);
  Header(f.form, 0, u"Willkommen beim Download-Assistenten der<br><b>Vollversion von <font size=22>Corvane</b></font>");
  Header(f.form, 65, u"Welcome to the download assistant for<br><b><font size=22>Corvane</font> (full version)</b>");
  Label(f.form, Bounds(16, 138, 411, 74),
        u"<B><U>Schritt 3:</U></B><br><br>Laden Sie die Vollversion herunter und installieren Sie diese auf "
        u"Ihrem Computer:");
  Label(f.form, Bounds(16, 228, 411, 74),
        u"<B><U>Step 3:</U></B><br><br>Download and install full version on your computer:");
  Capture(f.form, "html_dialog_captions");
}

TEST(HTMLGolden, EveryTagListInputAndAnEmbeddedControl) {
  const ThemeScope classic(false);
  ShownForm f(460, 420);
  f->SetBorderStyle(bsNone);
  f->SetBounds(50, 50, 460, 420);
  f->SetColor(clWhite);
  f->Font()->SetName(u"DejaVu Sans");
  f->Font()->SetHeight(-13);
  Label(f.form, Bounds(8, 8, 215, 400),
        u"<b>bold</b> <i>italic</i> <u>under</u> <s>strike</s> <var>var</var><br>"
        u"x<sub>sub</sub> x<sup>super</sup> <font size=+2>bigger</font> <font size=9px>tiny</font><br>"
        u"<font color=red>red</font> <font color=#008000 bgcolor=clYellow>green on yellow</font> "
        u"<font face=\"DejaVu Serif\">serif face</font><br>"
        u"<a href=\"x\">a link</a> and <b><a href=\"y\">a bold link</a></b>"
        u"<p align=center>centred paragraph</p><p align=right>right</p>"
        u"<p indent=20>indented by twenty</p>tab<ind width=30>gap<ind width=150 pos=abs>at 150"
        u"<hr><hr width=80>&lt;entities&gt; &amp; &euro; &auml;&ouml;&szlig; &#65;&#66;");
  TKsHTMLLabel* right = Label(f.form, Bounds(236, 8, 215, 400),
                              u"<ol><li>first<li>second<ul><li>bullet<li>bullet</ul><li>third</ol>"
                              u"<input type=checkbox> off <input type=checkbox checked=true> on<br>"
                              u"<input type=radio name=g> one <input type=radio name=g checked=1> two<br>"
                              u"<img src=\"box\" transparent=solid> image <img src=\"box\" width=16 height=8><br>"
                              u"<control vclclass=TButton caption=\"Embedded\" width=90 height=24> control");
  right->OnImageNeeded = [](TObject*, const String&, TBitmap*& image) {
    static TBitmap box(12, 12);
    box.Canvas()->Brush()->SetColor(clTeal);
    box.Canvas()->FillRect(Rect(0, 0, 12, 12));
    box.Canvas()->Brush()->SetColor(clYellow);
    box.Canvas()->FillRect(Rect(3, 3, 9, 9));
    image = &box;
  };
  right->SetCaption(right->Caption() + u" ");  // prepared again, now with the image handler
  Capture(f.form, "html_markup_sheet");
}

TEST(HTMLGolden, ThemedInputsWithTheHotAndSelectedOnes) {
  const ThemeScope themed(true);
  ShownForm f(240, 30);
  f->SetBorderStyle(bsNone);
  f->SetBounds(50, 50, 240, 30);
  f->SetColor(clWhite);
  TKsHTMLLabel* label = Label(f.form, Bounds(4, 4, 232, 22),
                              u"<input type=checkbox> <input type=checkbox checked=1> <input type=checkbox checked=1> "
                              u"<input type=radio> <input type=radio checked=1> <input type=radio>");
  TVnHTMLData& data = *label->Render()->Data();
  // The second check box under the mouse, the last radio button selected (focus rectangle).
  data.SetActiveItem(static_cast<TVnHTMLInputItem*>(data.ControlsArray()[2]));
  data.SetSelectedItem(data.ControlsArray()[5]);
  label->Invalidate();
  Capture(f.form, "html_inputs_themed");
}

}  // namespace
}  // namespace kestrel::testing
