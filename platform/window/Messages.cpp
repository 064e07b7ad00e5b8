// Sending, posting, retrieving and dispatching messages; timers.

#include <algorithm>

#include "platform/window/Backend.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

constexpr UINT kMinTimerElapse = 10;  // USER_TIMER_MINIMUM

bool InFilter(UINT message, UINT min, UINT max) { return (min == 0 && max == 0) || (message >= min && message <= max); }

bool OnBackendThread() { return Wm().HasBackend() && Wm().BackendThread() == std::this_thread::get_id(); }

bool TimerMatches(const MessageQueue::Timer& t, HWND hwnd) {
  if (!hwnd) return true;
  if (hwnd == reinterpret_cast<HWND>(-1)) return t.hwnd == nullptr;
  return t.hwnd == hwnd || IsChild(hwnd, t.hwnd);
}

bool PeekCore(MSG* out, HWND hwnd, UINT min, UINT max, UINT flags) {
  auto q = MessageQueue::Current();
  bool remove = (flags & PM_REMOVE) != 0;
  detail::PresentHeld();
  q->RunSentMessages();
  if (q->ServeCalls() && InFilter(WM_NULL, min, max) && (!hwnd || hwnd == reinterpret_cast<HWND>(-1))) {
    // Calls from other threads ran: they may have changed what the caller's loop waits for, so
    // they come back as a message (a thread's WM_NULL) rather than letting the loop sleep on.
    if (out) *out = detail::MakeMessage(nullptr, WM_NULL, 0, 0);
    return true;
  }
  if (OnBackendThread()) {
    Wm().GetBackend().PumpEvents();
    q->RunSentMessages();
  }
  if (OnBackendThread()) detail::CheckHover();
  MSG m;
  if (q->TakePosted(m, hwnd, min, max, remove)) {
    if (remove) detail::UpdateKeyStateFromMessage(m);
  } else if (InFilter(WM_PAINT, min, max) &&
             (m.hwnd = detail::NextWindowToPaint(std::this_thread::get_id(), hwnd)) != nullptr) {
    m = detail::MakeMessage(m.hwnd, WM_PAINT, 0, 0);
  } else {
    if (!InFilter(WM_TIMER, min, max)) return false;
    DWORD now = Wm().Now();
    auto& timers = q->Timers();
    auto due = std::find_if(timers.begin(), timers.end(), [&](const MessageQueue::Timer& t) {
      return static_cast<LONG>(now - t.due) >= 0 && TimerMatches(t, hwnd);
    });
    if (due == timers.end()) return false;
    m = detail::MakeMessage(due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc));
    m.time = now;
    if (remove) due->due = now + due->elapse;
  }
  q->NoteRetrieved(m);
  if (out) *out = m;
  return true;
}

// Milliseconds until the calling thread's next timer, -1 when it has none (or the clock only
// moves when a test advances it, which wakes the waiting thread).
int TimeToNextTimer(MessageQueue& q) {
  if (Wm().GetBackend().ClockIsVirtual()) return -1;
  int hover = OnBackendThread() ? detail::CheckHover() : -1;
  if (q.Timers().empty()) return hover;
  DWORD now = Wm().Now();
  LONG best = hover >= 0 ? hover : 0x7FFFFFFF;
  for (auto& t : q.Timers()) best = std::min<LONG>(best, static_cast<LONG>(t.due - now));
  return std::max<LONG>(best, 0);
}

}  // namespace

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto w = ValidWindow(hwnd);
  if (!w) return 0;
  if (w->thread == std::this_thread::get_id()) return CallWindow(*w, msg, wParam, lParam);
  auto q = MessageQueue::ForThread(w->thread);
  if (!q) return 0;
  return q->SendAndWait(hwnd, msg, wParam, lParam);
}

LRESULT SendMessageTimeoutW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeoutMs,
                            DWORD_PTR* result) {
  constexpr DWORD kHungAfterMs = 5000;
  if (hwnd == HWND_BROADCAST) {
    Wm().CheckGuiThread("broadcast");
    std::vector<HWND> tops;  // receivers may create or destroy windows meanwhile
    for (auto& top : Wm().Desktop().children) tops.push_back(top->handle);
    for (HWND top : tops) SendMessageTimeoutW(top, msg, wParam, lParam, flags, timeoutMs, nullptr);
    return TRUE;
  }
  auto w = ValidWindow(hwnd);
  if (!w) return 0;
  LRESULT value = 0;
  if (w->thread == std::this_thread::get_id()) {
    value = CallWindow(*w, msg, wParam, lParam);
  } else {
    auto q = MessageQueue::ForThread(w->thread);
    if (!q) return 0;
    if ((flags & SMTO_ABORTIFHUNG) && q->NotRespondingFor(kHungAfterMs)) {
      SetLastError(ERROR_TIMEOUT);
      return 0;
    }
    int timeout = static_cast<int>(std::min<UINT>(timeoutMs, 0x7FFFFFFF));
    if (!q->SendAndWaitFor(hwnd, msg, wParam, lParam, timeout, !(flags & SMTO_BLOCK), value)) {
      SetLastError(ERROR_TIMEOUT);
      return 0;
    }
  }
  if (result) *result = static_cast<DWORD_PTR>(value);
  return TRUE;
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    Wm().CheckGuiThread("broadcast");
    for (auto& top : Wm().Desktop().children) PostMessageW(top->handle, msg, wParam, lParam);
    return TRUE;
  }
  if (!hwnd) return PostThreadMessageW(GetCurrentThreadId(), msg, wParam, lParam);
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  auto q = MessageQueue::ForThread(w->thread);
  if (!q) return FALSE;
  q->Post(detail::MakeMessage(hwnd, msg, wParam, lParam));
  return TRUE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto q = threadId == GetCurrentThreadId() ? MessageQueue::Current() : MessageQueue::ForThreadId(threadId);
  if (!q) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  q->Post(detail::MakeMessage(nullptr, msg, wParam, lParam));
  return TRUE;
}

BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !ValidWindow(hwnd)) return FALSE;
  return PeekCore(msg, hwnd, filterMin, filterMax, removeFlags) ? TRUE : FALSE;
}

BOOL GetMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !ValidWindow(hwnd)) return -1;
  auto q = MessageQueue::Current();
  MSG local;
  MSG* out = msg ? msg : &local;
  for (;;) {
    if (PeekCore(out, hwnd, filterMin, filterMax, PM_REMOVE)) return out->message == WM_QUIT ? FALSE : TRUE;
    q->Wait(TimeToNextTimer(*q));
  }
}

BOOL WaitMessage() {
  auto q = MessageQueue::Current();
  if (!PeekCore(nullptr, nullptr, 0, 0, PM_NOREMOVE)) q->Wait(TimeToNextTimer(*q));
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure of a live timer is called: a forged lParam must not become a call.
    auto q = MessageQueue::Current();
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    for (auto& t : q->Timers())
      if (t.proc == proc && t.hwnd == msg->hwnd && t.id == msg->wParam) {
        proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
      }
    return 0;
  }
  auto w = ValidWindow(msg->hwnd);
  if (!w) return 0;
  if (w->thread != std::this_thread::get_id()) return 0;
  return CallWindow(*w, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) { MessageQueue::Current()->PostQuit(exitCode); }

BOOL InSendMessage() { return MessageQueue::Current()->InSendMessage() ? TRUE : FALSE; }

DWORD GetMessageTime() { return MessageQueue::Current()->LastMessageTime(); }

DWORD GetMessagePos() {
  POINT p = MessageQueue::Current()->LastMessagePos();
  return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

DWORD GetTickCount() { return Wm().Now(); }

void WakeGuiThread() {
  if (!Wm().HasBackend()) return;
  if (auto q = MessageQueue::ForThread(Wm().BackendThread())) q->Wake();
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  std::shared_ptr<MessageQueue> q;
  if (hwnd) {
    auto w = ValidWindow(hwnd);
    if (!w) return 0;
    if (w->thread != std::this_thread::get_id()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  }
  q = MessageQueue::Current();
  elapse = std::clamp<UINT>(elapse, kMinTimerElapse, 0x7FFFFFFF);
  auto& timers = q->Timers();
  if (!hwnd) {
    auto existing =
        std::find_if(timers.begin(), timers.end(), [&](auto& t) { return !t.hwnd && t.id == id && id != 0; });
    if (existing == timers.end()) {
      // Thread timers get a fresh id; keep clear of ids in use.
      do id = q->NextTimerId();
      while (std::any_of(timers.begin(), timers.end(), [&](auto& t) { return !t.hwnd && t.id == id; }));
    }
  }
  DWORD due = Wm().Now() + elapse;
  for (auto& t : timers)
    if (t.hwnd == hwnd && t.id == id) {
      t.elapse = elapse;
      t.proc = proc;
      t.due = due;
      return hwnd ? (id ? id : 1) : id;
    }
  timers.push_back({hwnd, id, elapse, proc, due});
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto q = MessageQueue::Current();
  auto& timers = q->Timers();
  auto it = std::find_if(timers.begin(), timers.end(), [&](auto& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  timers.erase(it);
  return TRUE;
}

namespace detail {

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = Wm().Now();
  m.pt = Wm().MousePosition();
  return m;
}

void KillWindowTimers(HWND hwnd) {
  auto w = Wm().Lookup(hwnd);
  auto q = w ? MessageQueue::ForThread(w->thread) : nullptr;
  if (!q) return;
  auto& timers = q->Timers();
  timers.erase(std::remove_if(timers.begin(), timers.end(), [&](auto& t) { return t.hwnd == hwnd; }), timers.end());
}

}  // namespace detail

}  // namespace kestrel::platform
