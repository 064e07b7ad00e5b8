// bench_edit_control's Kestrel side: the windowed TKsEdit on a form of the SDL backend, in an X
// window under the same display as the peers, painted by its own paint pass. Keys enter as the
// backend delivers them (a key press, the text of the input method when it provides the text, a
// key release) and go through the message loop; a step ends when the loop has nothing left to
// do, i.e. when the edit has painted and the changed pixels went out to the X window.
// With the argument "headless" the same runs on the headless backend (no display, no presenting):
// what the X window costs. EDIT_BENCH_OPEN_ONLY=1 stops after the first paint (for profiling).

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "bench/edit_control/EditBenchText.h"
#include "bench/edit_control/EditControlProtocol.h"
#include "edit/KsEdit.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/backend/BackendSelection.h"
#include "platform/backend/SdlBackend.h"
#include "platform/backend/X11Shape.h"
#include "platform/window/InputInjection.h"
#include "platform/window/WindowApi.h"
#include "platform/window/WindowDefs.h"

namespace {

namespace pf = kestrel::platform;

// Handles every message waiting, the paints the loop makes when it has no other, and the
// presents they end with.
void Drain() { kestrel::Application()->ProcessMessages(); }

// Gives the display time to map and expose the window.
void Settle(double ms) {
  const double start = kestrel::bench::NowMs();
  while (kestrel::bench::NowMs() - start < ms) {
    Drain();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// One key as the backend hands it over.
void PressKey(int virtualKey, char16_t text) {
  pf::InjectKey(virtualKey, true);
  const pf::SdlBackend* sdl = pf::SdlBackend::Current();
  if (text != 0 && sdl != nullptr && sdl->ProvidesText()) pf::InjectText(kestrel::String(1, text));
  pf::InjectKey(virtualKey, false);
  Drain();
}

int VirtualKeyOf(char c) { return c == ' ' ? pf::VK_SPACE : 'A' + (c - 'a'); }

// Character index at which paragraph Line begins in Text (breaks are CR LF).
int StartOfParagraph(const kestrel::String& text, int line) {
  size_t at = 0;
  for (int i = 0; i < line && at != kestrel::String::npos; ++i) at = text.find(u"\r\n", at) + 2;
  return static_cast<int>(at);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestrel;
  using namespace kestrel::bench;
  const bool headless = argc > 1 && std::strcmp(argv[1], "headless") == 0;
  if (!pf::InstallBackend(headless ? "headless" : "sdl")) {
    std::fprintf(stderr, "the SDL backend could not open the display\n");
    return 1;
  }
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
  Settle(headless ? 0 : 500);

  EditControlResult r;
  const double rssBefore = ResidentMb();
  double start = NowMs();
  const double openCpuStart = CpuMs();
  edit->SetText(text);
  Drain();
  r.openMs = NowMs() - start;
  const double openCpuMs = CpuMs() - openCpuStart;
  r.rssMb = ResidentMb() - rssBefore;
  if (std::getenv("EDIT_BENCH_OPEN_ONLY")) {  // for profiling the open alone
    std::fprintf(stderr, "cpu time: open %.1f ms\n", openCpuMs);
    return 0;
  }

  edit->SetSelStart(StartOfParagraph(text, kMiddleLine));
  edit->SetSelLength(0);
  Drain();
  const double keysStart = NowMs();
  const long preemptionsBefore = PreemptionCount();
  std::vector<double> keyCpuMs;
  for (int i = 0; i < kKeystrokes && WithinBudget(keysStart); ++i) {
    const char c = KeystrokeChar(i);
    start = NowMs();
    const double cpuStart = CpuMs();
    PressKey(VirtualKeyOf(c), static_cast<char16_t>(c));
    r.keyMs.push_back(NowMs() - start);
    keyCpuMs.push_back(CpuMs() - cpuStart);
  }
  const long keyPreemptions = PreemptionCount() - preemptionsBefore;
  const double pagesStart = NowMs();
  for (int i = 0; i < kPages && WithinBudget(pagesStart); ++i) {
    start = NowMs();
    PressKey(pf::VK_NEXT, 0);
    r.pageMs.push_back(NowMs() - start);
  }
  // What was measured must have happened: every character in the text, the picture on screen
  // (EDIT_BENCH_SCREENSHOT=file.png saves the window at the end, and file.png-screen.png what
  // the X server shows of it, which scrolling moved there itself).
  const pf::HWND hwnd = edit->Handle();
  const auto length = pf::SendMessageW(hwnd, pf::WM_GETTEXTLENGTH, 0, 0);
  std::fprintf(stderr, "%s: text grew by %ld characters for %zu keystrokes; top line %d\n",
               headless ? "headless" : "sdl", static_cast<long>(length) - static_cast<long>(text.size()),
               r.keyMs.size(), edit->TopLine());
  if (const char* shot = std::getenv("EDIT_BENCH_SCREENSHOT")) {
    pf::POINT origin{};
    if (cairo_surface_t* surface = pf::GetWindowBackingStore(hwnd, &origin)) cairo_surface_write_to_png(surface, shot);
    pf::RECT onScreen{};
    pf::GetWindowRect(hwnd, &onScreen);
    const pf::SdlBackend* sdl = pf::SdlBackend::Current();
    if (cairo_surface_t* screen = sdl ? pf::CaptureX11Screen(sdl->NativeWindow(form->Handle()), onScreen) : nullptr) {
      cairo_surface_write_to_png(screen, (std::string(shot) + "-screen.png").c_str());
      cairo_surface_destroy(screen);
    }
  }
  std::fprintf(stderr,
               "cpu time: open %.1f ms; keystroke median %.3f ms, p99 %.3f ms; preempted %ld times while typing\n",
               openCpuMs, Percentile(keyCpuMs, 0.5), Percentile(keyCpuMs, 0.99), keyPreemptions);
  PrintResult(headless ? "Kestrel-TKsEdit-headless" : "Kestrel-TKsEdit", r);
  form->BeforeDestruction();
  delete form;
  return 0;
}
