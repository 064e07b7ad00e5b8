// bench_edit_control's second Kestrel line: the parts the edit is made of - the paragraph store,
// the windowless edit core and the TKsWinTextPainter - without the control and its window,
// painting every visible line of the 600x400 viewport into an off-screen device after every
// step. It shows what the control adds; the ratios are taken from the control (KestrelEditSide).

#include "bench/edit_control/EditBenchText.h"
#include "bench/edit_control/EditControlProtocol.h"
#include "edit/KsEditCore.h"
#include "edit/KsWinTextPainter.h"
#include "framework/Canvas.h"
#include "framework/Font.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/MemoryCanvas.h"
#include "platform/text/TextTypes.h"

namespace kestrel::bench {
namespace {

namespace pf = platform;

// The control's side of the store: its settings, and widths from the painter.
class ViewportHost : public IKsEditHost {
 public:
  const TKsTextPainter* painter = nullptr;
  bool Multiline() const override { return true; }
  bool WordWrap() const override { return true; }
  bool RightAlignedText() const override { return false; }
  int TabSpaces() const override { return 4; }
  char16_t PasswordChar() const override { return 0; }
  int LeftMargin() const override { return 1; }
  int RightMargin() const override { return 1; }
  pf::RECT EditRect() const override { return {0, 0, kWidth, kHeight}; }
  bool HasWindow() const override { return true; }
  pf::SIZE TextExtent(std::u16string_view s) const override { return painter->TextSize(s); }
  int TextFit(std::u16string_view s, int width) const override { return painter->TextFit(s, width); }
};

class StandIn {
 public:
  StandIn() {
    font_.SetName(u"DejaVu Sans Mono");
    font_.SetHeight(-kFontPixels);
    canvas_.SetHandle(surface_.Dc());
    host_.painter = &painter_;
    core_.SetLinesInRect(kHeight / LineHeight());
  }
  ~StandIn() { canvas_.SetHandle(nullptr); }

  int LineHeight() const { return kFontPixels + 2; }

  // Every visible line, its background included, as the paint pass draws it.
  void PaintViewport() {
    const TKsEditStrings& lines = core_.Lines();
    for (int row = 0; row * LineHeight() < kHeight; ++row) {
      const int y = core_.TopLine() + row;
      const pf::RECT r{0, row * LineHeight(), kWidth, (row + 1) * LineHeight()};
      const String text = y < lines.ParagraphCount() ? lines.ExpandTabs(lines.GetLine(y)) : String();
      painter_.TextOut(&canvas_, 1, r.top, pf::ETO_OPAQUE | pf::ETO_CLIPPED, &r, text);
    }
  }
  void Open(const String& text) {
    core_.SetText(text);
    PaintViewport();
  }
  void CaretToMiddle() {
    const int y = core_.Lines().FirstLineOf(kMiddleLine);
    core_.SetTopLine(y - core_.LinesInRect() / 2);
    core_.SetCaretXY({0, y});
    PaintViewport();
  }
  void TypeKey(char c) {
    core_.CommandCenter(kscmd::Type, 0, String(1, static_cast<char16_t>(c)));
    PaintViewport();
  }
  void PageDown() {
    core_.CommandCenter(kscmd::PageDown, 0, {});
    PaintViewport();
  }

 private:
  ViewportHost host_;
  IKsEditCoreEvents events_;
  TKsEditCore core_{host_, events_};
  pf::MemoryCanvas surface_ = pf::MemoryCanvas::Dib(nullptr, kWidth, kHeight);
  TCanvas canvas_;
  TFont font_;
  TKsWinTextPainter painter_{host_, &canvas_, &font_};
};

}  // namespace
}  // namespace kestrel::bench

int main() {
  using namespace kestrel::bench;
  const kestrel::String text = MakeEditBenchText<char16_t>(kLines, u"\r\n");
  StandIn edit;
  edit.PaintViewport();
  EditControlResult r;
  const double rssBefore = ResidentMb();
  double start = NowMs();
  edit.Open(text);
  r.openMs = NowMs() - start;
  r.rssMb = ResidentMb() - rssBefore;
  edit.CaretToMiddle();
  const double keysStart = NowMs();
  for (int i = 0; i < kKeystrokes && WithinBudget(keysStart); ++i) {
    start = NowMs();
    edit.TypeKey(KeystrokeChar(i));
    r.keyMs.push_back(NowMs() - start);
  }
  const double pagesStart = NowMs();
  for (int i = 0; i < kPages && WithinBudget(pagesStart); ++i) {
    start = NowMs();
    edit.PageDown();
    r.pageMs.push_back(NowMs() - start);
  }
  PrintResult("Kestrel-core-only", r);
  return 0;
}
