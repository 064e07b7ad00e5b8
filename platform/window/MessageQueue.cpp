#include "platform/window/MessageQueue.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>

#include "platform/window/Backend.h"
#include "platform/window/WaitSource.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

struct QueueDirectory {
  std::mutex mutex;
  std::map<std::thread::id, std::shared_ptr<MessageQueue>> queues;
  std::map<std::thread::id, DWORD> ids;
  DWORD nextId = 1;
};

std::atomic<void (*)()> gCallServer{nullptr};

QueueDirectory& Directory() {
  static QueueDirectory* directory = new QueueDirectory;  // outlives every thread
  return *directory;
}

bool Matches(const MSG& m, HWND hwnd, UINT min, UINT max) {
  if (hwnd == reinterpret_cast<HWND>(-1)) {
    if (m.hwnd) return false;  // thread messages only
  } else if (hwnd && m.hwnd != hwnd && !IsChild(hwnd, m.hwnd)) {
    return false;
  }
  if (min == 0 && max == 0) return true;
  return m.message >= min && m.message <= max;
}

}  // namespace

std::shared_ptr<MessageQueue> MessageQueue::Current() { return Of(std::this_thread::get_id()); }

std::shared_ptr<MessageQueue> MessageQueue::Of(std::thread::id id) {
  auto& d = Directory();
  std::lock_guard lock(d.mutex);
  auto& q = d.queues[id];
  if (!q) {
    q = std::make_shared<MessageQueue>(id);
    if (d.ids[id] == 0) d.ids[id] = d.nextId++;
  }
  return q;
}

std::shared_ptr<MessageQueue> MessageQueue::ForThread(std::thread::id thread) {
  auto& d = Directory();
  std::lock_guard lock(d.mutex);
  auto it = d.queues.find(thread);
  return it == d.queues.end() ? nullptr : it->second;
}

std::shared_ptr<MessageQueue> MessageQueue::ForThreadId(DWORD threadId) {
  auto& d = Directory();
  std::lock_guard lock(d.mutex);
  for (auto& [thread, id] : d.ids)
    if (id == threadId) {
      auto it = d.queues.find(thread);
      return it == d.queues.end() ? nullptr : it->second;
    }
  return nullptr;
}

DWORD MessageQueue::IdOf(std::thread::id thread) {
  auto& d = Directory();
  std::lock_guard lock(d.mutex);
  auto& id = d.ids[thread];
  if (id == 0) id = d.nextId++;
  return id;
}

MessageQueue::MessageQueue(std::thread::id owner) : owner_(owner) {}

void MessageQueue::Post(const MSG& msg) {
  {
    std::lock_guard lock(mutex_);
    posted_.push_back(msg);
  }
  Wake();
}

void MessageQueue::PostFront(const MSG& msg) {
  {
    std::lock_guard lock(mutex_);
    posted_.push_front(msg);
  }
  Wake();
}

void MessageQueue::PostQuit(int exitCode) {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    exitCode_ = exitCode;
  }
  Wake();
}

bool MessageQueue::HasPosted() {
  std::lock_guard lock(mutex_);
  return !posted_.empty() || quit_;
}

bool MessageQueue::TakePosted(MSG& out, HWND hwnd, UINT min, UINT max, bool remove) {
  // Only the owner removes messages; other threads only append. Positions stay put while the
  // lock is released to match (matching looks at windows and must not hold the queue lock).
  size_t count;
  {
    std::lock_guard lock(mutex_);
    count = posted_.size();
  }
  for (size_t i = 0; i < count; ++i) {
    MSG m;
    {
      std::lock_guard lock(mutex_);
      m = posted_[i];
    }
    bool keyboard = m.hwnd == detail::KeyboardTarget();
    if (keyboard && !detail::ResolveKeyboardTarget(m)) {
      // Nobody takes keyboard input now: the event is dropped.
      std::lock_guard lock(mutex_);
      posted_.erase(posted_.begin() + static_cast<std::ptrdiff_t>(i));
      --i;
      --count;
      continue;
    }
    if (!Matches(m, hwnd, min, max)) continue;
    std::lock_guard lock(mutex_);
    out = keyboard ? m : posted_[i];
    if (remove) posted_.erase(posted_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  std::lock_guard lock(mutex_);
  if (quit_) {
    out = MSG{};
    out.message = WM_QUIT;
    out.wParam = static_cast<WPARAM>(exitCode_);
    if (remove) quit_ = false;
    return true;
  }
  return false;
}

LRESULT MessageQueue::SendAndWait(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  SendAndWaitFor(hwnd, msg, wParam, lParam, -1, true, result);
  return result;
}

bool MessageQueue::SendAndWaitFor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, int timeoutMs, bool serveSent,
                                  LRESULT& result) {
  auto self = Current();
  auto sent = std::make_shared<SentMessage>();
  sent->hwnd = hwnd;
  sent->msg = msg;
  sent->wParam = wParam;
  sent->lParam = lParam;
  sent->sender = self;
  {
    std::lock_guard lock(mutex_);
    sent_.push_back(sent);
  }
  Wake();
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    if (serveSent) self->RunSentMessages();
    std::unique_lock lock(self->mutex_);
    if (sent->done) break;
    auto ready = [&] { return sent->done || (serveSent && !self->sent_.empty()); };
    if (timeoutMs < 0) {
      self->changed_.wait(lock, ready);
    } else if (!self->changed_.wait_until(lock, deadline, ready)) {
      lock.unlock();
      std::lock_guard ownerLock(mutex_);
      auto it = std::find(sent_.begin(), sent_.end(), sent);
      if (it != sent_.end()) sent_.erase(it);
      return false;
    }
    if (sent->done) break;
  }
  result = sent->result;
  return true;
}

bool MessageQueue::NotRespondingFor(DWORD ms) {
  DWORD now = Wm().HasBackend() ? Wm().Now() : 0;
  std::lock_guard lock(mutex_);
  if (waiting_ || lastLooked_ == 0) return false;  // idle, or has not started pumping yet
  return static_cast<LONG>(now - lastLooked_) >= static_cast<LONG>(ms);
}

bool MessageQueue::RunSentMessages() {
  if (std::this_thread::get_id() == owner_ && Wm().HasBackend()) {
    DWORD now = Wm().Now();
    std::lock_guard lock(mutex_);
    lastLooked_ = now;
  }
  bool ran = false;
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    {
      std::lock_guard lock(mutex_);
      if (sent_.empty()) return ran;
      sent = sent_.front();
      sent_.pop_front();
    }
    ran = true;
    LRESULT result = 0;
    if (auto w = Wm().Lookup(sent->hwnd)) {
      ++inSend_;
      result = CallWindow(*w, sent->msg, sent->wParam, sent->lParam);
      --inSend_;
    }
    Answer(*sent, result);
  }
}

void MessageQueue::Answer(SentMessage& sent, LRESULT result) {
  auto sender = sent.sender;
  {
    std::lock_guard lock(sender->mutex_);
    sent.result = result;
    sent.done = true;
  }
  sender->changed_.notify_all();
}

void MessageQueue::Clear() {
  std::deque<std::shared_ptr<SentMessage>> waiting;
  {
    std::lock_guard lock(mutex_);
    posted_.clear();
    waiting.swap(sent_);
    quit_ = false;
    woken_ = false;
  }
  for (auto& sent : waiting) Answer(*sent, 0);
  timers_.clear();
  lastMessageTime_ = 0;
  lastMessagePos_ = {};
}

void MessageQueue::Wait(int timeoutMs) {
  {
    std::lock_guard lock(mutex_);
    waiting_ = true;
  }
  WaitForWork(timeoutMs);
  std::lock_guard lock(mutex_);
  waiting_ = false;
}

void MessageQueue::WaitForWork(int timeoutMs) {
  bool backendThread = Wm().HasBackend() && Wm().BackendThread() == owner_;
  if (backendThread) {
    bool ready;
    {
      std::lock_guard lock(mutex_);
      ready = woken_ || !posted_.empty() || !sent_.empty() || quit_ || callsSignalled_;
      if (ready) woken_ = false;
    }
    WaitSource* source = GetWaitSource();
    // Work already waiting still gives the other loop its turn (without blocking), so that it is
    // served while this thread is busy too.
    if (source) WaitWithSource(*source, ready ? 0 : timeoutMs);
    else if (!ready) Wm().GetBackend().WaitForEvents(timeoutMs);
    if (ready) return;
    std::lock_guard lock(mutex_);
    woken_ = false;
    return;
  }
  std::unique_lock lock(mutex_);
  auto ready = [&] { return woken_ || !posted_.empty() || !sent_.empty() || quit_ || callsSignalled_; };
  if (timeoutMs < 0) changed_.wait(lock, ready);
  else changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  woken_ = false;
}

void MessageQueue::WaitWithSource(WaitSource& source, int timeoutMs) {
  waitFds_.clear();
  source.BeforeWait(waitFds_, timeoutMs);
  if (timeoutMs == 0) poll(waitFds_.data(), waitFds_.size(), 0);
  else Wm().GetBackend().WaitForEventsAndFds(timeoutMs, waitFds_);
  source.AfterWait(waitFds_);
}

void MessageQueue::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  changed_.notify_all();
  if (Wm().HasBackend() && Wm().BackendThread() == owner_) Wm().GetBackend().Wake();
}

void MessageQueue::SetCallServer(void (*server)()) { gCallServer = server; }

void MessageQueue::SignalCalls() {
  // Already marked: the owner has yet to serve, and will serve these calls with the others.
  if (callsSignalled_.exchange(true)) return;
  Wake();
}

bool MessageQueue::ServeCalls() {
  if (!callsSignalled_.exchange(false)) return false;
  if (auto* server = gCallServer.load()) server();
  return true;
}

}  // namespace kestrel::platform
