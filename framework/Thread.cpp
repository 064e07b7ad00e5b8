#include "framework/Thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/window/WindowApi.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TThread, TObject)

namespace {

struct SyncRequest {
  TThread* thread = nullptr;
  TThreadMethod method;
  bool wait = true;
  bool done = false;
  std::exception_ptr error;
};

struct SyncQueue {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<SyncRequest*> queue;
  std::function<void()> wake;
  std::thread::id mainThread = std::this_thread::get_id();
};

SyncQueue& Sync() {
  static SyncQueue* queue = new SyncQueue;  // never destroyed: workers may outlive static destruction
  return *queue;
}

void WakeMain() {
  std::function<void()> wake;
  {
    std::lock_guard lock(Sync().mutex);
    wake = Sync().wake;
  }
  if (wake) wake();
  platform::WakeGuiThread();
}

}  // namespace

bool IsMainThread() { return std::this_thread::get_id() == Sync().mainThread; }

void SetMainThread() {
  std::lock_guard lock(Sync().mutex);
  Sync().mainThread = std::this_thread::get_id();
}

void SetWakeMainThread(std::function<void()> wake) {
  std::lock_guard lock(Sync().mutex);
  Sync().wake = std::move(wake);
}

bool CheckSynchronize(int timeoutMs) {
  if (!IsMainThread()) return false;
  SyncQueue& s = Sync();
  std::deque<SyncRequest*> batch;
  {
    std::unique_lock lock(s.mutex);
    if (s.queue.empty() && timeoutMs > 0)
      s.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !s.queue.empty(); });
    batch.swap(s.queue);
  }
  for (SyncRequest* r : batch) {
    try {
      r->method();
    } catch (...) {
      r->error = std::current_exception();
    }
    if (!r->wait) {
      delete r;
      continue;
    }
    std::lock_guard lock(s.mutex);
    r->done = true;
    s.changed.notify_all();
  }
  return !batch.empty();
}

TThread::TThread() = default;

TThread::~TThread() {
  {
    // Calls this thread queued and the GUI thread has not run yet go with it.
    std::lock_guard lock(Sync().mutex);
    std::erase_if(Sync().queue, [this](SyncRequest* r) {
      if (r->wait || r->thread != this) return false;
      delete r;
      return true;
    });
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
  try {
    thread_ = std::thread([this] {
      { std::lock_guard stored(startMutex_); }
      Run();
    });
  } catch (...) {
    // No thread exists: waiting for it later would never end.
    started_ = false;
    throw;
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
      Synchronize([this] { DoTerminate(); });
    } catch (...) {
    }
  }
  const bool freeSelf = freeOnTerminate_;
  {
    std::lock_guard lock(Sync().mutex);
    finished_ = true;
    Sync().changed.notify_all();
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
  SyncQueue& s = Sync();
  {
    std::lock_guard lock(s.mutex);
    s.queue.push_back(&request);
    s.changed.notify_all();
  }
  WakeMain();
  {
    std::unique_lock lock(s.mutex);
    s.changed.wait(lock, [&] { return request.done; });
  }
  if (request.error) std::rethrow_exception(request.error);
}

void TThread::Queue(TThread* thread, TThreadMethod method) {
  if (IsMainThread()) {
    method();
    return;
  }
  auto* request = new SyncRequest;
  request->thread = thread;
  request->method = std::move(method);
  request->wait = false;
  {
    std::lock_guard lock(Sync().mutex);
    Sync().queue.push_back(request);
    Sync().changed.notify_all();
  }
  WakeMain();
}

}  // namespace kestrel
