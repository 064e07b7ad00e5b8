#include "html/KsHTMLHintContent.h"

namespace kestrel {

TKsHTMLHintContent::TKsHTMLHintContent() : render_(std::make_unique<TVnHTMLRender>()) {}

TKsHTMLHintContent::~TKsHTMLHintContent() = default;

platform::SIZE TKsHTMLHintContent::Prepare(TCanvas& canvas, const String& text, int maxWidth) {
  // The markup starts from the hint's font, as a label's starts from its own.
  TFont& font = *canvas.Font();
  TVnHTMLData& data = *render_->Data();
  data.SetDefaultStyle(static_cast<TVnHTMLFontStyles>(font.Style().Bits() & 0xF));
  data.SetDefaultFont(font.Name());
  data.SetCharset(static_cast<std::uint8_t>(font.Charset()));
  data.SetDefaultColor(font.Color());
  data.SetDefaultHeight(font.Height());
  render_->PrepareText(text, maxWidth, true);
  return data.TextSize();
}

void TKsHTMLHintContent::Paint(TCanvas& canvas, const TRect& r) { render_->DrawText(&canvas, Point(0, 0), r, clNone); }

void RegisterMarkupHints() {
  SetMarkupHintContent([]() -> std::unique_ptr<TKsHintContent> { return std::make_unique<TKsHTMLHintContent>(); });
}

}  // namespace kestrel
