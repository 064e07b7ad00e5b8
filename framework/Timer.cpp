#include "framework/Timer.h"

#include "framework/Application.h"
#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"
#include "framework/UtilWindow.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TTimer, TComponent)

void TTimer::PublishProperties(TClassBuilder<TTimer>& b) {
  b.Property(u"Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
  b.Property(u"Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000u).TypeName(u"Cardinal");
  b.Event(
      u"OnTimer", [](const TTimer& t) { return static_cast<bool>(t.OnTimer); }, u"TNotifyEvent");
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  window_ = AllocateHWnd([this](TMessage& m) {
    if (m.Msg == pf::WM_TIMER) {
      try {
        Timer();
      } catch (...) {
        Application()->HandleException(this);
      }
      return;
    }
    DefaultUtilWindowProc(window_, m);
  });
}

TTimer::~TTimer() {
  if (running_) pf::KillTimer(window_, 1);
  DeallocateHWnd(window_);
}

void TTimer::UpdateTimer() {
  if (running_) pf::KillTimer(window_, 1);
  running_ = false;
  if (enabled_ && interval_ > 0 && OnTimer && !ComponentState().Contains(csLoading))
    running_ = pf::SetTimer(window_, 1, interval_, nullptr) != 0;
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

}  // namespace kestrel
