#pragma once
// Shared pieces of the theme tests: a renderer of the library's own that records what reaches
// it, and the scope that restores the process-wide theme state the tests change.

#include <vector>

#include "controls/VnThemeRenderer.h"
#include "controls/VnThemeServices.h"
#include "foundation/VnApplication.h"
#include "platform/theme/UxTheme.h"
#include "tests/support/ThemeScope.h"

namespace kestrel::testing {

class TRecordingRenderer : public TVnThemeRenderer {
 public:
  std::vector<TThemedElementDetails> drawn, texts;
  int activations = 0;
  String GetThemeRendererName() override { return u"Recording"; }
  bool ActivateDefaultTheme(const String&, bool) override { return ++activations > 0; }
  void DrawElement(platform::HDC, const TThemedElementDetails& d, const TRect&, const TRect*) override {
    drawn.push_back(d);
  }
  void DrawThemeText(platform::HDC, const TThemedElementDetails& d, const char16_t*, int, platform::DWORD,
                     platform::DWORD, const TRect&) override {
    texts.push_back(d);
  }
  TColor GetThemeColor(TThemedElement, int, int, int) override { return 0x123456; }
};

}  // namespace kestrel::testing
