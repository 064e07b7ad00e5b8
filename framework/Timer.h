#pragma once
// TTimer: raises OnTimer every Interval milliseconds while Enabled (through a hidden window's
// WM_TIMER, so on the thread that made it, from its message pump).

#include "framework/Component.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

class TTimer : public TComponent {
  KESTREL_CLASS(TTimer)
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  // 0 stops the timer.
  void SetInterval(unsigned value);
  TNotifyEvent OnTimer;
  // Call after assigning OnTimer to a timer that was enabled without one.
  void UpdateTimer();

 protected:
  virtual void Timer();
  void Loaded() override;

 private:
  bool enabled_ = true;
  unsigned interval_ = 1000;
  platform::HWND window_ = nullptr;
  bool running_ = false;
};

}  // namespace kestrel
