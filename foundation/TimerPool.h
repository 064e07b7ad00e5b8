#pragma once
// TVnTimerPool: many logical timers multiplexed onto one window timer. Each TVnTimerItem fires
// every N ticks of the pool's base interval (MinInterval), optionally a limited number of times.
// The window timer runs only while at least one item is enabled, so an idle pool never wakes
// the GUI thread.

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

class TVnTimerPool;
class TVnTimerItem;

using TVnTimerInterval = platform::WORD;
using TVnTimerPoolEvent = std::function<void(TObject* Sender, platform::WORD Ident, int Counter)>;

// The message texts of the list-index and timer-shortage errors, as shipped.
extern const char16_t* const SVnListIndexError;
extern const char16_t* const SVnNoTimers;
extern const char16_t* const SVnIntervalNotCompatible;

class TVnTimerItem : public TObject {
  KESTREL_CLASS(TVnTimerItem)
  // Raises EInvalidOperation without an owner pool or list; the caller appends the item.
  TVnTimerItem(TVnTimerPool* owner, std::vector<TVnTimerItem*>* list, platform::WORD ident);
  // Disables the item, drops its callback and takes it out of the pool's list.
  ~TVnTimerItem() override;

  int CallCount() const { return callCount_; }
  void SetCallCount(int value);
  int Counter() const { return counter_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  TVnTimerInterval Interval() const { return interval_; }
  void SetInterval(TVnTimerInterval value);
  platform::WORD Ident() const { return ident_; }
  // The period in base ticks.
  platform::WORD HitValue() const { return internal_; }
  TNotifyEvent OnTimer;

 private:
  friend class TVnTimerPool;
  void Fire();

  TVnTimerPool* owner_;
  std::vector<TVnTimerItem*>* list_;
  platform::WORD ident_;
  TVnTimerInterval interval_ = 1000;
  platform::WORD internal_ = 1;
  int callCount_ = -1;
  int counter_ = 0;
  bool enabled_ = true;
  std::uint64_t serial_ = 0;  // tells a live item from a freed one during a tick
};

class TVnTimerPool : public TComponent {
  KESTREL_CLASS(TVnTimerPool)
  explicit TVnTimerPool(TComponent* owner);
  // A pool made in code with its base interval (0 counts as 1 ms).
  static TVnTimerPool* CreateRunTime(TComponent* owner, TVnTimerInterval minInterval);
  ~TVnTimerPool() override;

  // Returns the new item's index; raises on a duplicate identifier or an interval that is not a
  // positive multiple of MinInterval.
  int AddTimer(platform::WORD ident, TVnTimerInterval interval, TNotifyEvent callProc);
  int AddTimerExt(platform::WORD ident, TVnTimerInterval interval, int callCount, bool enabled, TNotifyEvent callProc);
  void RemoveTimer(platform::WORD ident);
  void ClearTimers();
  int IndexOf(platform::WORD ident) const;
  bool HasTimerProc() const { return static_cast<bool>(OnTimer); }

  int Count() const { return static_cast<int>(list_.size()); }
  TVnTimerItem* Items(int index) const;
  int ActiveTimers() const;
  TVnTimerInterval MinInterval() const { return interval_; }
  // Only while loading or designing; ignored at run time.
  void SetMinInterval(TVnTimerInterval value);

  // Whether the window timer is running.
  bool Active() const { return active_; }
  // How many window-timer messages the pool has received (to prove an idle pool stays quiet).
  std::uint64_t WakeUps() const { return wakeUps_; }

  TVnTimerPoolEvent OnTimer;

 private:
  friend class TVnTimerItem;
  void SwitchOn();
  void SwitchOff();
  void Switch(bool on);
  // Starts or stops the window timer to match whether any item is enabled.
  void SyncActivity();
  void WndProc(TMessage& message);
  void Tick();
  void FireSafely(TVnTimerItem* item);
  TVnTimerItem* FindLive(std::uint64_t serial) const;
  std::uint64_t NextSerial() { return ++lastSerial_; }

  TVnTimerInterval interval_ = 1000;
  std::vector<TVnTimerItem*> list_;
  platform::HWND hwnd_ = nullptr;
  bool active_ = false;
  int pCounter_ = 0;
  bool update_ = false;
  bool inTick_ = false;       // re-entrancy guard of the tick handler
  bool syncPending_ = false;  // activity changed during a tick; settle it afterwards
  bool destroying_ = false;
  std::uint64_t lastSerial_ = 0;
  std::uint64_t wakeUps_ = 0;
};

}  // namespace kestrel
