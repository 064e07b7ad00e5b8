// Markup hints: once the markup library registers its content, a markup hint window lays its
// text out through the renderer (tags are markup, not text); plain hints keep the text as it is.

#include <gtest/gtest.h>

#include "controls/KsHintWindow.h"
#include "html/KsHTMLHintContent.h"
#include "platform/core/ScopeGuard.h"
#include "tests/framework/visual/VisualTestSupport.h"

namespace kestrel::testing {
namespace {

TRect Measured(bool markup, const char16_t* text) {
  TKsHintWindow hint(markup);
  hint.Font()->SetName(u"Kestrel Fixed");
  hint.Font()->SetHeight(-14);
  return hint.CalcHintRect(800, text);
}

TEST(HTMLHint, MarkupHintsAreLaidOutByTheRendererOnceRegistered) {
  RegisterMarkupHints();
  platform::ScopeGuard unregister([] { SetMarkupHintContent(nullptr); });
  const TRect plain = Measured(false, u"<b>ab</b><br>cd");
  const TRect markup = Measured(true, u"<b>ab</b><br>cd");
  // Plain: one line holding the tags. Markup: two short lines.
  EXPECT_GT(plain.right - plain.left, markup.right - markup.left);
  EXPECT_GT(markup.bottom - markup.top, plain.bottom - plain.top);
  SetMarkupHintContent(nullptr);
  const TRect unregistered = Measured(true, u"<b>ab</b><br>cd");
  EXPECT_EQ(unregistered.right - unregistered.left, plain.right - plain.left);
}

}  // namespace
}  // namespace kestrel::testing
