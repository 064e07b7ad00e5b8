#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "edit/KsEdit.h"
#include "framework/Colors.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

namespace pf = platform;
using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

TKsEdit* AddEdit(TForm* form, int x, int y, int width, int height, bool multiline = false) {
  auto* edit = new TKsEdit(form);
  edit->SetParent(form);
  edit->SetMultiline(multiline);
  edit->SetBounds(x, y, width, height);
  return edit;
}

// A copy of the form's client area as it shows.
cairo_surface_t* FormPicture(TForm& form) {
  pf::POINT origin{};
  cairo_surface_t* store = pf::GetWindowBackingStore(form.Handle(), &origin);
  pf::RECT window{};
  pf::GetWindowRect(form.Handle(), &window);
  pf::POINT client{0, 0};
  pf::ClientToScreen(form.Handle(), &client);
  const int x0 = origin.x + client.x - window.left, y0 = origin.y + client.y - window.top;
  const TRect r = form.ClientRect();
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_RGB24, r.right, r.bottom);
  cairo_surface_flush(store);
  const int from = cairo_image_surface_get_stride(store), to = cairo_image_surface_get_stride(copy);
  for (int y = 0; y < r.bottom; ++y)
    std::memcpy(cairo_image_surface_get_data(copy) + y * to,
                cairo_image_surface_get_data(store) + (y0 + y) * from + 4 * x0, 4 * static_cast<size_t>(r.right));
  cairo_surface_mark_dirty(copy);
  return copy;
}

// One edit per painted state, top to bottom; the focused one with its selection last.
cairo_surface_t* RenderStates() {
  ShownForm form(220, 400);
  std::vector<std::function<void(TKsEdit&)>> states = {
      [](TKsEdit& e) { e.SetText(u"Plain text"); },
      [](TKsEdit& e) {
        e.SetText(u"Hidden selection"), e.SetHideSelection(false), e.SetSelStart(7), e.SetSelLength(9);
      },
      [](TKsEdit& e) {
        e.SetText(u"Read-only"), e.SetReadOnly(true);
        e.DisplayReadOnlyOptions()->SetBkColor(static_cast<TColor>(0xE0F0FF));
        e.DisplayReadOnlyOptions()->SetTextColor(static_cast<TColor>(0x804000));
        e.DisplayReadOnlyOptions()->SetEnabled(true);
      },
      [](TKsEdit& e) { e.SetText(u"Disabled"), e.SetEnabled(false); },
      [](TKsEdit& e) { e.SetCueBanner(u"Search"); },
      [](TKsEdit& e) { e.SetText(u"secret\tword"), e.SetPasswordChar(u"*"); },
      [](TKsEdit& e) { e.SetText(u"Right aligned"), e.SetAlignment(taRightJustify); },
      [](TKsEdit& e) {
        e.SetText(u"Translucent selection"), e.SetHideSelection(false), e.SetHighlightAlphaLevel(128);
        e.SetHideSelectColor(static_cast<TColor>(0x0000FF)), e.SetSelStart(0), e.SetSelLength(11);
      },
  };
  int y = 4;
  for (const auto& state : states) {
    state(*AddEdit(form.form, 10, y, 200, 24));
    y += 30;
  }
  TKsEdit* wrapped = AddEdit(form.form, 10, y, 200, 56, true);
  wrapped->SetWordWrap(true);
  wrapped->SetText(u"A multi-line edit wraps its long paragraphs at word boundaries.");
  TKsEdit* focused = AddEdit(form.form, 10, y + 62, 200, 24);
  focused->SetText(u"Focused selection");
  focused->SetFocus();
  focused->SetSelStart(8);
  focused->SetSelLength(9);
  Pump();
  return FormPicture(*form.form);
}

TEST(KsEditPaint, GoldenStatesClassic) {
  const testing::ThemeScope classic(false);
  cairo_surface_t* picture = RenderStates();
  EXPECT_TRUE(testing::MatchesGolden(picture, "edit_states_classic"));
  cairo_surface_destroy(picture);
}

TEST(KsEditPaint, GoldenStatesThemed) {
  const testing::ThemeScope themed(true);
  cairo_surface_t* picture = RenderStates();
  EXPECT_TRUE(testing::MatchesGolden(picture, "edit_states_themed"));
  cairo_surface_destroy(picture);
}

}  // namespace
}  // namespace kestrel
