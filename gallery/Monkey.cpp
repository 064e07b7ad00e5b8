#include "Monkey.h"

#include "ThemeSwitch.h"
#include "framework/Screen.h"
#include "framework/WinControl.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/InputInjection.h"
#include "platform/window/WindowApi.h"

namespace kestrel::gallery {

namespace pf = platform;

namespace {

constexpr int kKeys[] = {pf::VK_TAB,  pf::VK_RETURN, pf::VK_ESCAPE, pf::VK_SPACE, pf::VK_LEFT,   pf::VK_RIGHT,
                         pf::VK_UP,   pf::VK_DOWN,   pf::VK_HOME,   pf::VK_END,   pf::VK_PRIOR,  pf::VK_NEXT,
                         pf::VK_BACK, pf::VK_DELETE, pf::VK_INSERT, pf::VK_APPS,  pf::VK_F1 + 1, pf::VK_F10,
                         'A',         'C',           'T',           'V',          'X',           'Z'};
constexpr int kModifiers[] = {0, 0, 0, pf::VK_SHIFT, pf::VK_CONTROL, pf::VK_MENU};
const char16_t* const kTexts[] = {
    u"a",          u"Kestrel", u"12,5", u"<b>bold</b>",        u"&amp;", u"\u00e4\u00df\u20ac",
    u"\U0001F600", u" ",       u"\t",   u"<a href=x>link</a>", u""};
constexpr TFormBorderStyle kBorderStyles[] = {bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin, bsNone};

void CollectShowing(TControl* control, std::vector<TControl*>& out) {
  if (!control->Showing()) return;
  out.push_back(control);
  if (auto* parent = dynamic_cast<TWinControl*>(control))
    for (int i = 0; i < parent->ControlCount(); ++i) CollectShowing(parent->Controls(i), out);
}

}  // namespace

TMonkey::TMonkey(const TGalleryPage& page, std::uint32_t seed) : page_(page), random_(seed) {}

long TMonkey::Run(long events, double seconds) {
  limit_ = events;
  timed_ = seconds > 0;
  deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
  auto* backend = pf::HeadlessBackend::Current();
  // Every wait for input, in any loop, is where the next event comes from.
  backend->SetWaitHandler([this] { Step(); });
  LiveForm();
  while (!done_) {
    Application()->HandleMessage();
    // Once the page's main form was closed the application no longer waits when idle, so the
    // wait handler is not reached: the next event is sent from here.
    if (Application()->Terminated()) Step();
  }
  backend->SetWaitHandler(nullptr);
  return sent_;
}

void TMonkey::Step() {
  if (!done_ && (sent_ >= limit_ || (timed_ && std::chrono::steady_clock::now() >= deadline_))) done_ = true;
  if (done_) {
    // Modal loops still running end on the quit message; the outermost loop then stops.
    pf::PostQuitMessage(0);
    return;
  }
  ++sent_;
  SendRandomEvent();
  // Timers (carets, animations) fall due as the virtual clock moves on.
  pf::HeadlessBackend::Current()->Advance(static_cast<pf::DWORD>(Below(8)));
}

TForm* TMonkey::LiveForm() {
  bool alive = false;
  for (int i = 0; i < Screen()->FormCount() && !alive; ++i) alive = Screen()->Forms(i) == form_;
  if (!alive) form_ = page_.create();
  if (!form_->Visible()) form_->Show();
  return form_;
}

TControl* TMonkey::RandomControl(TForm* form) {
  std::vector<TControl*> showing;
  CollectShowing(form, showing);
  return showing.empty() ? form : showing[static_cast<std::size_t>(Below(static_cast<int>(showing.size())))];
}

pf::POINT TMonkey::RandomPointIn(TControl* control) {
  const int w = std::max(1, control->Width()), h = std::max(1, control->Height());
  // Now and then just outside, where edges and frames are.
  const TPoint p = control->ClientToScreen(TPoint{Below(w + 8) - 4, Below(h + 8) - 4});
  return pf::POINT{p.x, p.y};
}

void TMonkey::SendRandomEvent() {
  switch (Below(100)) {
    case 0 ... 29: Key(); break;
    case 30 ... 39: Characters(); break;
    case 40 ... 59: Click(false); break;
    case 60 ... 66: Click(true); break;
    case 67 ... 76: Drag(); break;
    case 77 ... 84: Wheel(); break;
    case 85 ... 89: Resize(); break;
    case 90 ... 91: ToggleTheme(); break;
    case 92 ... 95: Restyle(); break;
    default: Recaption(); break;
  }
}

void TMonkey::Key() {
  LiveForm();
  const int modifier = kModifiers[Below(static_cast<int>(std::size(kModifiers)))];
  const int key = kKeys[Below(static_cast<int>(std::size(kKeys)))];
  if (modifier) pf::InjectKey(modifier, true);
  pf::InjectKeyStroke(key);
  if (modifier) pf::InjectKey(modifier, false);
}

void TMonkey::Characters() {
  LiveForm();
  pf::InjectText(kTexts[Below(static_cast<int>(std::size(kTexts)))]);
}

void TMonkey::Click(bool twice) {
  const pf::POINT at = RandomPointIn(RandomControl(LiveForm()));
  static constexpr pf::MouseButton kButtons[] = {pf::MouseButton::Left, pf::MouseButton::Left, pf::MouseButton::Left,
                                                 pf::MouseButton::Right, pf::MouseButton::Middle};
  const pf::MouseButton button = kButtons[Below(static_cast<int>(std::size(kButtons)))];
  pf::InjectMouseMove(at);
  pf::InjectClick(at, button);
  if (twice) pf::InjectClick(at, button);
}

void TMonkey::Drag() {
  TForm* form = LiveForm();
  const pf::POINT from = RandomPointIn(RandomControl(form));
  const pf::POINT to = RandomPointIn(RandomControl(form));
  pf::InjectMouseMove(from);
  pf::InjectMouseButton(pf::MouseButton::Left, true, from);
  const int steps = 1 + Below(6);
  for (int i = 1; i <= steps; ++i) {
    pf::InjectMouseMove(pf::POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    pf::HeadlessBackend::Pump();
  }
  pf::InjectMouseButton(pf::MouseButton::Left, false, to);
}

void TMonkey::Wheel() {
  const pf::POINT at = RandomPointIn(RandomControl(LiveForm()));
  pf::InjectMouseMove(at);
  pf::InjectMouseWheel((Below(7) - 3) * 120, at, Below(4) == 0);
}

void TMonkey::Resize() {
  TForm* form = LiveForm();
  form->SetBounds(form->Left(), form->Top(), 40 + Below(900), 40 + Below(700));
}

void TMonkey::Restyle() {
  TForm* form = LiveForm();
  TControl* control = RandomControl(form);
  switch (Below(4)) {
    case 0: form->SetBorderStyle(kBorderStyles[Below(static_cast<int>(std::size(kBorderStyles)))]); break;
    case 1: control->Font()->SetStyle(TFontStyles::FromBits(static_cast<std::uint64_t>(Below(16)))); break;
    case 2: control->Font()->SetSize(Below(40) - 4); break;
    default:
      if (control != form) control->SetEnabled(!control->Enabled());
      break;
  }
}

void TMonkey::Recaption() {
  TForm* form = LiveForm();
  RandomControl(form)->SetCaption(kTexts[Below(static_cast<int>(std::size(kTexts)))]);
}

}  // namespace kestrel::gallery
