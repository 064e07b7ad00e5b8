#include "framework/Thread.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>

#include "framework/Application.h"
#include "framework/internal/HandoffSpin.h"
#include "platform/core/ProcessWide.h"
#include "platform/core/ScopeGuard.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WakeSignal.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TThread, TObject)

namespace {

// One call handed to the GUI thread. A waiting caller owns its request on its stack and sleeps
// on `done` (a futex); a queued request is owned by the queue.
struct SyncRequest {
  TThread* thread = nullptr;
  TThreadMethod method;
  bool wait = true;
  int callerProcessor = -1;  // where the waiting caller handed the call over
  platform::WakeSignal done;
  std::exception_ptr error;
};

void ServeCalls() { CheckSynchronize(); }

struct SyncQueue {
  std::mutex mutex;
  std::condition_variable arrived;                  // CheckSynchronize with a timeout waits on it
  std::deque<std::unique_ptr<SyncRequest>> queued;  // fire-and-forget requests (Queue)
  std::deque<SyncRequest*> order;                   // both kinds, in arrival order
  // Read on every call from either side, so without the lock; written under it.
  std::atomic<std::thread::id> mainThread{std::this_thread::get_id()};
  std::shared_ptr<platform::MessageQueue> mainQueue;  // the GUI thread's, found on first use
  // How many calls wait in `order` (written under the lock), for polling without it.
  std::atomic<std::size_t> pending{0};
  // The processor the GUI thread last served calls on, so a waiting caller knows whether
  // polling for its answer could keep the GUI thread from running.
  std::atomic<int> serverProcessor{-1};
  TSpinHistory serverSpins;  // the GUI thread's own

  SyncQueue() { platform::MessageQueue::SetCallServer(&ServeCalls); }
};

// Never destroyed: workers may outlive static destruction. Kept by a reset, which no worker
// may outlive: a worker still waiting on its call must find it.
constinit platform::ProcessWide<SyncQueue> gSync(platform::ProcessWideOptions<SyncQueue>{.keptByReset = true});

SyncQueue& Sync() { return *gSync; }

// Queues `request` and hands it to the GUI thread's message queue, whose next pump serves it
// (any pump: Application.Run, ProcessMessages, a modal loop, a bare PeekMessage loop). Only the
// request that finds the queue empty wakes the GUI thread: one that has not yet served the
// earlier requests will serve this one with them.
void Enqueue(SyncRequest* request, std::unique_ptr<SyncRequest> owned) {
  SyncQueue& s = Sync();
  std::shared_ptr<platform::MessageQueue> gui;
  {
    std::lock_guard lock(s.mutex);
    const bool first = s.order.empty();
    s.order.push_back(request);
    s.pending.store(s.order.size(), std::memory_order_relaxed);
    if (owned) s.queued.push_back(std::move(owned));
    if (first) {
      if (!s.mainQueue) s.mainQueue = platform::MessageQueue::Of(s.mainThread.load());
      gui = s.mainQueue;
    }
  }
  s.arrived.notify_one();
  if (gui) gui->SignalCalls();
}

// An exception nobody waits for (a queued call's, an end event's) goes to the application's
// exception handler; on the GUI thread, inside a catch block.
void ReportToApplication(TObject* sender) {
  if (ApplicationExists()) Application()->HandleException(sender);
}

std::unique_ptr<SyncRequest> ReleaseQueued(SyncQueue& s, SyncRequest* request) {
  auto it = std::find_if(s.queued.begin(), s.queued.end(), [&](auto& q) { return q.get() == request; });
  if (it == s.queued.end()) return nullptr;
  auto owned = std::move(*it);
  s.queued.erase(it);
  return owned;
}

}  // namespace

bool IsMainThread() { return std::this_thread::get_id() == Sync().mainThread.load(std::memory_order_acquire); }

void SetMainThread() {
  std::lock_guard lock(Sync().mutex);
  Sync().mainThread.store(std::this_thread::get_id(), std::memory_order_release);
  Sync().mainQueue = nullptr;
}

bool SynchronizeWaiting() {
  SyncQueue& s = Sync();
  std::lock_guard lock(s.mutex);
  return std::any_of(s.order.begin(), s.order.end(), [](const SyncRequest* r) { return r->wait; });
}

namespace {

// After answering a caller that runs on another processor, the GUI thread polls briefly for its
// next call: a worker synchronizing in a loop then hands it over without waking anyone.
bool NextCallComesSoon(SyncQueue& s, int callerProcessor) {
  const int here = CurrentProcessor();
  s.serverProcessor.store(here, std::memory_order_relaxed);
  if (!OnDifferentProcessors(here, callerProcessor) || !s.serverSpins.ShouldSpin()) return false;
  const bool came = SpinBriefly([&] { return s.pending.load(std::memory_order_relaxed) != 0; });
  s.serverSpins.Record(came);
  return came;
}

// A waiting caller polls briefly for its answer when the GUI thread serves on another processor.
void AwaitAnswer(SyncRequest& request) {
  thread_local TSpinHistory history;
  SyncQueue& s = Sync();
  if (OnDifferentProcessors(request.callerProcessor, s.serverProcessor.load(std::memory_order_relaxed)) &&
      history.ShouldSpin()) {
    const bool answered = SpinBriefly([&] { return request.done.TryWait(); });
    history.Record(answered);
    if (answered) return;
  }
  request.done.Wait();
}

}  // namespace

bool CheckSynchronize(int timeoutMs) {
  if (!IsMainThread()) return false;
  SyncQueue& s = Sync();
  bool ranAny = false;
  int answered = -1;  // the processor of the last caller answered, while it may call again
  for (bool more = true; more || (answered >= 0 && NextCallComesSoon(s, std::exchange(answered, -1)));) {
    SyncRequest* r;
    std::unique_ptr<SyncRequest> owned;
    {
      std::unique_lock lock(s.mutex);
      if (s.order.empty() && timeoutMs > 0 && !ranAny)
        s.arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !s.order.empty(); });
      if (s.order.empty()) return ranAny;
      r = s.order.front();
      s.order.pop_front();
      s.pending.store(s.order.size(), std::memory_order_relaxed);
      if (!r->wait) owned = ReleaseQueued(s, r);
      // The queue ran dry: a call arriving from now on finds it empty and wakes this thread
      // again, so it need not be looked for under the lock once more.
      more = !s.order.empty();
    }
    ranAny = true;
    try {
      r->method();
    } catch (...) {
      if (r->wait) r->error = std::current_exception();
      else ReportToApplication(r->thread);
    }
    if (r->wait) {
      answered = r->callerProcessor;
      r->done.Set();  // the caller owns r from here on
    }
  }
  return true;
}

TThread::TThread() = default;

TThread::~TThread() {
  {
    // Calls this thread queued and the GUI thread has not run yet go with it.
    SyncQueue& s = Sync();
    std::lock_guard lock(s.mutex);
    std::erase_if(s.order, [&](SyncRequest* r) { return !r->wait && r->thread == this; });
    s.pending.store(s.order.size(), std::memory_order_relaxed);
    std::erase_if(s.queued, [&](auto& r) { return r->thread == this; });
  }
  if (started_ && !finished_) {
    Terminate();
    if (std::this_thread::get_id() != id_) WaitFor();
  }
  if (thread_.joinable()) {
    if (std::this_thread::get_id() == thread_.get_id()) thread_.detach();
    else thread_.join();
  }
}

void TThread::Start() {
  if (started_.exchange(true)) return;
  std::lock_guard started(startMutex_);
  {
    // When no thread could be made, waiting for it later would never end.
    platform::ScopeGuard notStarted([this] { started_ = false; });
    thread_ = std::thread([this] {
      { std::lock_guard stored(startMutex_); }
      Run();
    });
    notStarted.Dismiss();
  }
  id_ = thread_.get_id();
}

void TThread::Run() {
  try {
    Execute();
  } catch (...) {
    fatalException_ = std::current_exception();
  }
  if (OnTerminate) {
    try {
      Synchronize([this] {
        try {
          DoTerminate();
        } catch (...) {
          ReportToApplication(this);
        }
      });
    } catch (...) {
    }
  }
  const bool freeSelf = freeOnTerminate_;
  {
    std::lock_guard lock(Sync().mutex);
    finished_ = true;
  }
  if (freeSelf) {
    thread_.detach();
    delete this;
  }
}

void TThread::DoTerminate() {
  if (OnTerminate) OnTerminate(this);
}

int TThread::WaitFor() {
  if (!started_ || std::this_thread::get_id() == id_) return returnValue_;
  if (IsMainThread()) {
    // The worker may be waiting in Synchronize: serve it while waiting.
    while (!finished_) CheckSynchronize(10);
  }
  if (thread_.joinable()) thread_.join();
  return returnValue_;
}

void TThread::Synchronize(TThread*, const TThreadMethod& method) {
  if (IsMainThread()) {
    method();
    return;
  }
  SyncRequest request;
  request.method = method;
  request.callerProcessor = CurrentProcessor();
  Enqueue(&request, nullptr);
  AwaitAnswer(request);
  if (request.error) std::rethrow_exception(request.error);
}

void TThread::Queue(TThread* thread, TThreadMethod method) {
  if (IsMainThread()) {
    method();
    return;
  }
  auto request = std::make_unique<SyncRequest>();
  request->thread = thread;
  request->method = std::move(method);
  request->wait = false;
  SyncRequest* raw = request.get();
  Enqueue(raw, std::move(request));
}

}  // namespace kestrel
