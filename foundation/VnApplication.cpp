#include "foundation/VnApplication.h"

#include <cmath>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Screen.h"
#include "framework/TypeInfo.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TVnApplication, TComponent)

void TVnApplication::PublishProperties(TClassBuilder<TVnApplication>&) {}

TVnApplication::TVnApplication(TComponent* owner) : TComponent(owner) {
  timers_ = TVnTimerPool::CreateRunTime(this, 50);
  pf::LARGE_INTEGER frequency{};
  if (pf::QueryPerformanceFrequency(&frequency)) timerFrequency_ = frequency.QuadPart;
}

TVnApplication::~TVnApplication() = default;  // the pool is an owned component

template <class AddFn>
pf::WORD TVnApplication::AddAppTimer(AddFn add) {
  for (int s = 0; s < kVnAppTimerSlots; ++s) {
    if (timerSlots_[static_cast<size_t>(s)]) continue;
    const auto ident = static_cast<pf::WORD>(kVnAppTimerBase + s + 1);
    if (add(ident) == -1) return 0;
    timerSlots_[static_cast<size_t>(s)] = true;
    return ident;
  }
  return 0;  // all slots taken: nothing is added
}

pf::WORD TVnApplication::AddTimer(TVnTimerInterval interval, TNotifyEvent callProc) {
  return AddAppTimer([&](pf::WORD ident) { return timers_->AddTimer(ident, interval, callProc); });
}

pf::WORD TVnApplication::AddTimerExt(TVnTimerInterval interval, int callCount, bool enabled,
                                     TNotifyEvent callProc) {
  return AddAppTimer([&](pf::WORD ident) {
    return timers_->AddTimerExt(ident, interval, callCount, enabled, callProc);
  });
}

void TVnApplication::RemoveTimer(pf::WORD ident) {
  // Only identifiers this object handed out; anything beyond the table is not ours.
  if (ident <= kVnAppTimerBase || ident > kVnAppTimerBase + kVnAppTimerSlots) return;
  timers_->RemoveTimer(ident);
  timerSlots_[static_cast<size_t>(ident - kVnAppTimerBase - 1)] = false;
}

void TVnApplication::STWStart() {
  pf::LARGE_INTEGER now{};
  pf::QueryPerformanceCounter(&now);
  stwStart_ = now.QuadPart;
}

double TVnApplication::STWStopExt() const {
  if (timerFrequency_ == 0) return 0;
  pf::LARGE_INTEGER now{};
  pf::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - stwStart_) / static_cast<double>(timerFrequency_);
}

int TVnApplication::STWStop() const { return static_cast<int>(std::trunc(STWStopExt() * 1000)); }

namespace {

bool IsBlank(const String& s) { return s.find_first_not_of(u' ') == String::npos; }

void AppendPart(String& path, const String& part) {
  path += part;
  if (path.empty() || path.back() != u'\\') path += u'\\';
}

String ExecutablePath() {
  pf::WCHAR buffer[4096] = {};
  const pf::DWORD n = pf::GetModuleFileNameW(nullptr, buffer, 4096);
  return String(reinterpret_cast<const char16_t*>(buffer), n);
}

// WM_THEMECHANGED to every windowed descendant whose window exists.
void SendThemeChangedToDescendants(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!child) continue;
    if (child->HandleAllocated()) pf::SendMessageW(child->Handle(), pf::WM_THEMECHANGED, 0, 0);
    SendThemeChangedToDescendants(child);
  }
}

}  // namespace

String TVnApplication::GetDefaultRegPath() const {
  String path = u"Software\\";
  if (!IsBlank(company_)) AppendPart(path, company_);
  const String title = ApplicationExists() ? Application()->Title() : String();
  AppendPart(path, IsBlank(title) ? ExecutablePath() : title);
  if (!IsBlank(version_)) AppendPart(path, version_);
  return path;
}

void TVnApplication::SetUseXPThemes(bool value) {
  if (value == useXPThemes_ || (value && !XPThemesSupported())) return;
  useXPThemes_ = value;
  if (ComponentState().Contains(csDesigning) || !ThemeServicesAvailable()) return;
  pf::PostMessageW(Application()->Handle(), pf::WM_THEMECHANGED, 0, 0);
  DoThemeChange();
}

void TVnApplication::SetUseXPThemesLibraryOnly(bool value) {
  libraryOnly_ = value;
  if (value && themeGlobalMode_ != ttmPlatform) DoThemeChange();
}

void TVnApplication::SetThemeGlobalMode(TVnThemeMode value) {
  if (value == themeGlobalMode_) return;
  themeGlobalMode_ = value;
  DoThemeChange();
}

void TVnApplication::DoThemeChange() {
  TScreen* screen = Screen();
  for (int i = 0; i < screen->FormCount(); ++i) {
    TCustomForm* form = screen->Forms(i);
    form->Perform(CM_VNTHEMECHANGE);
    if (!form->Visible()) continue;
    TMessage message{CM_VNTHEMECHANGE, 0, 0, 0};
    form->Broadcast(message);
    SendThemeChangedToDescendants(form);
    if (!libraryOnly_ && form->HandleAllocated())
      pf::SendMessageW(form->Handle(), pf::WM_THEMECHANGED, 0, 0);
  }
}

TVnApplication* VnApplication() {
  static TVnApplication* instance = new TVnApplication(nullptr);
  return instance;
}

}  // namespace kestrel
