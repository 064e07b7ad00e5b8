#pragma once
// Markup in hint windows: the content TKsHintWindow shows for markup hints, laid out and painted
// by the markup renderer. RegisterMarkupHints makes every markup hint of the process use it (the
// control library cannot reach the renderer by itself); call it once at start-up.

#include <memory>

#include "controls/KsHintWindow.h"
#include "html/HTMLRender.h"

namespace kestrel {

class TKsHTMLHintContent : public TKsHintContent {
 public:
  TKsHTMLHintContent();
  ~TKsHTMLHintContent() override;
  platform::SIZE Prepare(TCanvas& canvas, const String& text, int maxWidth) override;
  void Paint(TCanvas& canvas, const TRect& r) override;

 private:
  std::unique_ptr<TVnHTMLRender> render_;
};

void RegisterMarkupHints();

}  // namespace kestrel
