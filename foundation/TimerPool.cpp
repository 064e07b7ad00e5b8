#include "foundation/TimerPool.h"

#include <algorithm>
#include <climits>

#include "framework/Application.h"
#include "framework/Exceptions.h"
#include "framework/TypeInfo.h"
#include "framework/UtilWindow.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

const char16_t* const SVnListIndexError = u"Listenindex überschreitet das Maximum (%d)";
const char16_t* const SVnNoTimers = u"Nicht genügend Timer verfügbar";
const char16_t* const SVnIntervalNotCompatible = u"Interval not compatible with MinInterval property!";

namespace {

constexpr pf::UINT_PTR kPoolTimerId = 1;

// Increment that wraps to 0 instead of overflowing.
int Bump(int value) { return value == INT_MAX ? 0 : value + 1; }

pf::WORD TicksFor(TVnTimerInterval interval, TVnTimerInterval base) {
  // At least one tick, so that a tick never divides by zero.
  return static_cast<pf::WORD>(std::max(1, interval / std::max<int>(1, base)));
}

}  // namespace

// ---- TVnTimerItem -------------------------------------------------------------------------

KESTREL_IMPLEMENT_CLASS(TVnTimerItem, TObject)

void TVnTimerItem::PublishProperties(TClassBuilder<TVnTimerItem>&) {}

TVnTimerItem::TVnTimerItem(TVnTimerPool* owner, std::vector<TVnTimerItem*>* list, pf::WORD ident)
    : owner_(owner), list_(list), ident_(ident) {
  if (!owner_ || !list_) throw EInvalidOperation(ClassName() + u": Invalid Owner or List");
  internal_ = TicksFor(interval_, owner_->MinInterval());
  serial_ = owner_->NextSerial();
}

TVnTimerItem::~TVnTimerItem() {
  enabled_ = false;
  OnTimer = nullptr;
  auto it = std::find(list_->begin(), list_->end(), this);
  if (it != list_->end()) list_->erase(it);
  if (!owner_->destroying_) owner_->SyncActivity();
}

void TVnTimerItem::SetCallCount(int value) {
  if (value == callCount_) return;
  callCount_ = std::max(-1, value);
  if (callCount_ == 0) SetEnabled(false);
}

void TVnTimerItem::SetEnabled(bool value) {
  if (value == enabled_ || (value && callCount_ == 0)) return;
  enabled_ = value;
  counter_ = 0;
  owner_->SyncActivity();
}

void TVnTimerItem::SetInterval(TVnTimerInterval value) {
  const TVnTimerInterval base = std::max<TVnTimerInterval>(1, owner_->MinInterval());
  if (value == interval_ || value % base != 0) return;
  if (value == 0) value = base;
  internal_ = TicksFor(value, base);
  interval_ = value;
  counter_ = 0;
}

void TVnTimerItem::Fire() {
  if (!enabled_) return;
  counter_ = Bump(counter_);
  // ">=" rather than "==": a limit lowered below the count already reached still stops the item.
  if (callCount_ > 0 && counter_ >= callCount_) {
    enabled_ = false;  // fires this last time; the count stays readable
    owner_->SyncActivity();
  }
  if (OnTimer) {
    TNotifyEvent handler = OnTimer;  // the handler may free this item
    handler(owner_);
  } else if (owner_->OnTimer) {
    TVnTimerPoolEvent handler = owner_->OnTimer;
    handler(owner_, ident_, counter_);
  }
}

// ---- TVnTimerPool -------------------------------------------------------------------------

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TVnTimerPool, TComponent)

void TVnTimerPool::PublishProperties(TClassBuilder<TVnTimerPool>& b) {
  b.Property(u"MinInterval", &TVnTimerPool::MinInterval, &TVnTimerPool::SetMinInterval)
      .Default(TVnTimerInterval(1000))
      .TypeName(u"TVnTimerInterval");
  b.Event(
      u"OnTimer", [](const TVnTimerPool& p) { return static_cast<bool>(p.OnTimer); }, u"TVnTimerPoolEvent");
}

TVnTimerPool::TVnTimerPool(TComponent* owner) : TComponent(owner) {}

TVnTimerPool* TVnTimerPool::CreateRunTime(TComponent* owner, TVnTimerInterval minInterval) {
  auto* pool = new TVnTimerPool(owner);
  pool->interval_ = std::max<TVnTimerInterval>(1, minInterval);
  return pool;
}

TVnTimerPool::~TVnTimerPool() {
  ClearTimers();
  destroying_ = true;
  if (hwnd_) DeallocateHWnd(hwnd_);
  hwnd_ = nullptr;
}

void TVnTimerPool::SetMinInterval(TVnTimerInterval value) {
  const auto state = ComponentState();
  if (!state.Contains(csLoading) && !state.Contains(csDesigning)) return;
  interval_ = std::max<TVnTimerInterval>(1, value);
  for (TVnTimerItem* item : list_) item->internal_ = TicksFor(item->interval_, interval_);
}

TVnTimerItem* TVnTimerPool::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return list_[static_cast<size_t>(index)];
}

int TVnTimerPool::ActiveTimers() const {
  return static_cast<int>(
      std::count_if(list_.begin(), list_.end(), [](const TVnTimerItem* i) { return i->Enabled(); }));
}

int TVnTimerPool::IndexOf(pf::WORD ident) const {
  for (size_t i = 0; i < list_.size(); ++i)
    if (list_[i]->Ident() == ident) return static_cast<int>(i);
  return -1;
}

int TVnTimerPool::AddTimer(pf::WORD ident, TVnTimerInterval interval, TNotifyEvent callProc) {
  if (IndexOf(ident) >= 0) throw EListError(String(SVnListIndexError));
  if (interval < interval_ || interval % interval_ != 0) throw EInvalidOperation(String(SVnIntervalNotCompatible));
  auto* item = new TVnTimerItem(this, &list_, ident);
  list_.push_back(item);
  item->SetInterval(interval);
  item->OnTimer = std::move(callProc);
  SwitchOn();
  return static_cast<int>(list_.size()) - 1;
}

int TVnTimerPool::AddTimerExt(pf::WORD ident, TVnTimerInterval interval, int callCount, bool enabled,
                              TNotifyEvent callProc) {
  const int index = AddTimer(ident, interval, std::move(callProc));
  if (index != -1) {
    list_[static_cast<size_t>(index)]->SetCallCount(callCount);
    list_[static_cast<size_t>(index)]->SetEnabled(enabled);
  }
  return index;
}

void TVnTimerPool::RemoveTimer(pf::WORD ident) {
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(update_);
  const int index = IndexOf(ident);
  if (index < 0) return;
  TVnTimerItem* item = list_[static_cast<size_t>(index)];
  item->SetEnabled(false);
  item->OnTimer = nullptr;
  delete item;
  if (list_.empty()) SwitchOff();
}

void TVnTimerPool::ClearTimers() {
  SwitchOff();
  const bool wasDestroying = destroying_;
  destroying_ = true;  // items need not re-evaluate the (already stopped) timer one by one
  while (!list_.empty()) delete list_.back();
  destroying_ = wasDestroying;
}

void TVnTimerPool::SwitchOn() { Switch(true); }
void TVnTimerPool::SwitchOff() { Switch(false); }

void TVnTimerPool::Switch(bool on) {
  if (ComponentState().Contains(csDesigning)) return;
  if (on && !hwnd_) hwnd_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  active_ = false;
  if (hwnd_) pf::KillTimer(hwnd_, kPoolTimerId);
  if (on && ActiveTimers() > 0) {
    if (pf::SetTimer(hwnd_, kPoolTimerId, interval_, nullptr) == 0) throw EOutOfResources(String(SVnNoTimers));
    // Restarted from inside a tick, the tick's own increment brings the counter to 1.
    pCounter_ = inTick_ ? 0 : 1;
    active_ = true;
  }
}

void TVnTimerPool::SyncActivity() {
  if (inTick_) {
    syncPending_ = true;
    return;
  }
  if (ComponentState().Contains(csDesigning)) return;
  const bool anyEnabled = ActiveTimers() > 0;
  if (anyEnabled && !active_) SwitchOn();
  else if (!anyEnabled && active_) SwitchOff();
}

void TVnTimerPool::WndProc(TMessage& message) {
  if (message.Msg != pf::WM_TIMER) {
    DefaultUtilWindowProc(hwnd_, message);
    return;
  }
  ++wakeUps_;
  if (inTick_) return;
  inTick_ = true;
  try {
    Tick();
  } catch (...) {
    Application()->HandleException(this);
  }
  // Cleared on every way out: a failed tick must not silence the pool for good.
  inTick_ = false;
  if (syncPending_) {
    syncPending_ = false;
    SyncActivity();
  }
}

TVnTimerItem* TVnTimerPool::FindLive(std::uint64_t serial) const {
  for (TVnTimerItem* item : list_)
    if (item->serial_ == serial) return item;
  return nullptr;
}

void TVnTimerPool::FireSafely(TVnTimerItem* item) {
  try {
    item->Fire();
  } catch (...) {
    // One failing handler must not keep the others from firing.
    Application()->HandleException(this);
  }
}

void TVnTimerPool::Tick() {
  if (update_) return;
  // Handlers may add or free items: walk a snapshot and skip the ones that are gone.
  std::vector<std::uint64_t> serials;
  serials.reserve(list_.size());
  for (const TVnTimerItem* item : list_) serials.push_back(item->serial_);
  const int tick = pCounter_;
  for (std::uint64_t serial : serials) {
    TVnTimerItem* item = FindLive(serial);
    if (item && item->enabled_ && tick % item->internal_ == 0) FireSafely(item);
  }
  pCounter_ = Bump(pCounter_);
}

}  // namespace kestrel
