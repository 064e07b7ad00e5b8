#pragma once
// The message queue of one thread: posted messages (input included), messages sent from other
// threads and waiting for their reply, the quit request, and the thread's timers.

#include <poll.h>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

class WaitSource;

class MessageQueue {
 public:
  // The queue of a thread, created on first use; ForThread(id) returns null for a thread that
  // never had one.
  static std::shared_ptr<MessageQueue> Current();
  // The queue of `thread`, created if it has none yet (so work can be handed to a thread that has
  // not pumped so far).
  static std::shared_ptr<MessageQueue> Of(std::thread::id thread);
  static std::shared_ptr<MessageQueue> ForThread(std::thread::id thread);
  static std::shared_ptr<MessageQueue> ForThreadId(DWORD threadId);
  static DWORD IdOf(std::thread::id thread);

  explicit MessageQueue(std::thread::id owner);
  std::thread::id Owner() const { return owner_; }

  void Post(const MSG& msg);
  // Ahead of everything posted (characters from TranslateMessage come before later input).
  void PostFront(const MSG& msg);
  void PostQuit(int exitCode);
  // Takes the first posted message matching the filter (hwnd null = any; a filter of 0..0 =
  // any message). WM_QUIT is reported once the posted messages ahead of it are gone.
  bool TakePosted(MSG& out, HWND hwnd, UINT min, UINT max, bool remove);
  bool HasPosted();

  // A message sent from another thread, waiting for the owner to run it.
  struct SentMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<MessageQueue> sender;
  };
  // From another thread: queues the message and waits for the reply, meanwhile running
  // messages sent to the caller's own thread (so two threads sending to each other never lock).
  LRESULT SendAndWait(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // The same, giving up after `timeoutMs` of real time (negative = never) and, unless
  // `serveSent`, running nothing sent to the caller meanwhile. False when the time ran out; a
  // message the owner has not begun by then is withdrawn, so it never runs with parameters the
  // caller no longer keeps alive.
  bool SendAndWaitFor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, int timeoutMs, bool serveSent,
                      LRESULT& result);
  // Whether the owner has neither waited for nor looked at its messages for `ms` milliseconds of
  // the backend's clock (Windows calls such a thread hung after 5 seconds).
  bool NotRespondingFor(DWORD ms);
  // On the owner thread: runs every waiting sent message. Returns whether any ran.
  bool RunSentMessages();
  bool InSendMessage() const { return inSend_ > 0; }

  // Blocks the owner until something is posted or sent, Wake() is called, or `timeoutMs` passes
  // (negative = no limit). The backend thread waits in the backend, so native events wake it.
  void Wait(int timeoutMs);
  void Wake();

  // Calls other threads hand to the owner outside the message stream (a worker's synchronized
  // calls, kept by the framework): SignalCalls, from any thread, marks them and wakes the owner,
  // whose next pump (PeekMessage, GetMessage, WaitMessage) runs the installed server before it
  // looks at posted messages, and reports a thread WM_NULL when it served any (so a loop that
  // checks its state between messages sees what the calls changed). The server is installed
  // before the first call is handed over.
  static void SetCallServer(void (*server)());
  void SignalCalls();
  // On the owner thread: runs the server when calls were marked. Returns whether it ran.
  bool ServeCalls();

  // On the owner thread, for a fresh start: forgets the posted messages, the quit request and the
  // timers; messages other threads sent and still wait on are answered with 0.
  void Clear();

  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    DWORD due;
  };
  std::vector<Timer>& Timers() { return timers_; }
  UINT_PTR NextTimerId() { return nextTimerId_++; }

  // The time and cursor position of the message the owner retrieved last (GetMessageTime,
  // GetMessagePos).
  void NoteRetrieved(const MSG& msg) {
    lastMessageTime_ = msg.time;
    lastMessagePos_ = msg.pt;
  }
  DWORD LastMessageTime() const { return lastMessageTime_; }
  POINT LastMessagePos() const { return lastMessagePos_; }

 private:
  void WaitForWork(int timeoutMs);
  // The backend's wait joined by the installed wait source's descriptors.
  void WaitWithSource(WaitSource& source, int timeoutMs);
  // Hands the result to the thread waiting for a sent message and wakes it.
  static void Answer(SentMessage& sent, LRESULT result);

  std::thread::id owner_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<MSG> posted_;
  std::deque<std::shared_ptr<SentMessage>> sent_;
  std::atomic<bool> callsSignalled_{false};
  bool quit_ = false;
  int exitCode_ = 0;
  bool woken_ = false;
  int inSend_ = 0;
  std::vector<pollfd> waitFds_;
  bool waiting_ = false;  // inside Wait()
  DWORD lastLooked_ = 0;  // backend time the owner last ran its sent messages
  std::vector<Timer> timers_;
  DWORD lastMessageTime_ = 0;
  POINT lastMessagePos_{};
  UINT_PTR nextTimerId_ = 1;
};

}  // namespace kestrel::platform
