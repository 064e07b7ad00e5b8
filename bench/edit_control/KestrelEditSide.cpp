// bench_edit_control's Kestrel side: the windowed TKsEdit on a form of the headless backend. Keys
// arrive as the window messages the backend would post; a step ends when the edit's window has
// been painted (UpdateWindow) and the queue is empty.

#include <cairo.h>

#include <cstdio>
#include <cstdlib>

#include "bench/edit_control/EditBenchText.h"
#include "bench/edit_control/EditControlProtocol.h"
#include "edit/KsEdit.h"
#include "framework/Form.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowApi.h"
#include "platform/window/WindowDefs.h"

namespace {

namespace pf = kestrel::platform;

void PaintAndDrain(pf::HWND hwnd) {
  pf::UpdateWindow(hwnd);
  for (int i = 0; i < 20 && pf::HeadlessBackend::Pump() > 0; ++i) {
  }
}

// Character index at which paragraph Line begins in Text (breaks are CR LF).
int StartOfParagraph(const kestrel::String& text, int line) {
  size_t at = 0;
  for (int i = 0; i < line && at != kestrel::String::npos; ++i) at = text.find(u"\r\n", at) + 2;
  return static_cast<int>(at);
}

}  // namespace

int main() {
  using namespace kestrel;
  using namespace kestrel::bench;
  const String text = MakeEditBenchText<char16_t>(kLines, u"\r\n");

  TForm* form = TCustomForm::Create<TForm>(nullptr);
  form->SetPosition(poDesigned);
  form->SetBounds(0, 0, kWidth + 40, kHeight + 60);
  form->Show();
  auto* edit = new TKsEdit(form);
  edit->SetParent(form);
  edit->SetMultiline(true);
  edit->SetWordWrap(true);
  edit->SetBounds(0, 0, kWidth, kHeight);
  edit->Font()->SetName(u"DejaVu Sans Mono");
  edit->Font()->SetHeight(-kFontPixels);
  edit->SetFocus();
  const pf::HWND hwnd = edit->Handle();
  PaintAndDrain(hwnd);

  EditControlResult r;
  const double rssBefore = ResidentMb();
  double start = NowMs();
  const double openCpuStart = CpuMs();
  edit->SetText(text);
  PaintAndDrain(hwnd);
  r.openMs = NowMs() - start;
  const double openCpuMs = CpuMs() - openCpuStart;
  r.rssMb = ResidentMb() - rssBefore;

  edit->SetSelStart(StartOfParagraph(text, kMiddleLine));
  edit->SetSelLength(0);
  PaintAndDrain(hwnd);
  const double keysStart = NowMs();
  const long preemptionsBefore = PreemptionCount();
  std::vector<double> keyCpuMs;
  for (int i = 0; i < kKeystrokes && WithinBudget(keysStart); ++i) {
    start = NowMs();
    const double cpuStart = CpuMs();
    pf::SendMessageW(hwnd, pf::WM_CHAR, static_cast<pf::WPARAM>(KeystrokeChar(i)), 0);
    PaintAndDrain(hwnd);
    r.keyMs.push_back(NowMs() - start);
    keyCpuMs.push_back(CpuMs() - cpuStart);
  }
  const long keyPreemptions = PreemptionCount() - preemptionsBefore;
  const double pagesStart = NowMs();
  for (int i = 0; i < kPages && WithinBudget(pagesStart); ++i) {
    start = NowMs();
    pf::SendMessageW(hwnd, pf::WM_KEYDOWN, pf::VK_NEXT, 0);
    pf::SendMessageW(hwnd, pf::WM_KEYUP, pf::VK_NEXT, 0);
    PaintAndDrain(hwnd);
    r.pageMs.push_back(NowMs() - start);
  }
  // What was measured must have happened: every character in the text, the picture on screen
  // (EDIT_BENCH_SCREENSHOT=file.png saves the window at the end).
  const auto length = pf::SendMessageW(hwnd, pf::WM_GETTEXTLENGTH, 0, 0);
  std::fprintf(stderr, "text grew by %ld characters for %zu keystrokes; top line %d\n",
               static_cast<long>(length) - static_cast<long>(text.size()), r.keyMs.size(), edit->TopLine());
  if (const char* shot = std::getenv("EDIT_BENCH_SCREENSHOT")) {
    pf::POINT origin{};
    if (cairo_surface_t* surface = pf::GetWindowBackingStore(hwnd, &origin)) cairo_surface_write_to_png(surface, shot);
  }
  std::fprintf(stderr,
               "cpu time: open %.1f ms; keystroke median %.3f ms, p99 %.3f ms; preempted %ld times while typing\n",
               openCpuMs, Percentile(keyCpuMs, 0.5), Percentile(keyCpuMs, 0.99), keyPreemptions);
  PrintResult("Kestrel-TKsEdit", r);
  form->BeforeDestruction();
  delete form;
  return 0;
}
