// libFuzzer target: preparing arbitrary markup, wrapped and unwrapped, never crashes, hangs or
// leaks, and leaves a list that can be walked.

#include "fuzz/html/HtmlFuzzInput.h"
#include "html/HTMLData.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TVnHTMLRender* render = [] {
    auto* r = new TVnHTMLRender();
    r->Data()->SetDefaultFont(u"Kestrel Fixed");
    r->Data()->SetDefaultHeight(-14);
    return r;
  }();
  fuzz::PrepareHtmlFuzzInput(*render, data, size);
  // Every line starts with a break item and the first item is a paragraph.
  const TVnHTMLData& prepared = *render->Data();
  if (prepared.ItemCount() > 0 && prepared.Item(0)->ItemType() != hitPara) __builtin_trap();
  return 0;
}
