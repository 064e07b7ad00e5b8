#include "edit/KsTextPainter.h"

#include "edit/KsTextMeasure.h"
#include "framework/Pen.h"
#include "platform/text/TextTypes.h"

namespace kestrel {

void TKsTextPainter::SetColor(TColor value) {
  FColor = value;
  if (canvas_ != nullptr) canvas_->Pen()->SetColor(value);
  FEditor.TextChanged();
}

void TKsTextPainter::SetBkColor(TColor value) {
  FBkColor = value;
  FEditor.TextChanged();
}

int TKsTextPainter::CharsFitRight(int aWidth, std::u16string_view s, int startPos) const {
  return TKsTextMeasure(FEditor).CharsFitRight(aWidth, s, startPos);
}

int TKsTextPainter::CharsFitLeft(int aWidth, std::u16string_view s, int startPos) const {
  return TKsTextMeasure(FEditor).CharsFitLeft(aWidth, s, startPos);
}

void TKsTextPainter::DrawTabbedText(TCanvas* canvas, int x, platform::SIZE& size, std::u16string_view text,
                                    const platform::RECT& r, int y) {
  TextOut(canvas, x, y, platform::ETO_CLIPPED, &r, text);
  size = TextSize(text);
}

String TKsTextPainter::ExpandTabs(std::u16string_view s) const { return TKsTextMeasure(FEditor).ExpandTabs(s); }

String TKsTextPainter::MaskText(std::u16string_view s) const { return TKsTextMeasure(FEditor).MaskText(s); }

TCanvas* TKsTextPainter::FontCanvas() const {
  if (!FEditor.HasWindow()) return nullptr;
  return SelectFont(canvas_) ? canvas_ : nullptr;
}

bool TKsTextPainter::SelectFont(TCanvas* canvas) const {
  if (canvas == nullptr) return false;
  if (FFont != nullptr) canvas->SetFont(FFont);
  // Measuring nothing selects the canvas's font into its DC.
  canvas->TextExtent(String());
  return canvas->HandleAllocated();
}

}  // namespace kestrel
