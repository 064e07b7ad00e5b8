#pragma once
// TThread: a worker thread running Execute. Synchronize runs a call on the GUI thread and waits
// for it: the call is queued and handed to the GUI thread's message queue, so any message pump
// serves it — Application.Run, ProcessMessages, a modal loop or a bare PeekMessage loop.

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

#include "framework/Object.h"

namespace kestrel {

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
  KESTREL_CLASS(TThread)
  TThread();
  // A thread still running is told to terminate and waited for (unless it frees itself).
  ~TThread() override;

  // Makes a thread of class T and starts it unless createSuspended.
  template <class T, class... Args>
  static T* Create(bool createSuspended, Args&&... args) {
    T* thread = new T(std::forward<Args>(args)...);
    if (!createSuspended) thread->Start();
    return thread;
  }

  void Start();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool Started() const { return started_; }
  bool Finished() const { return finished_; }
  // Waits for the end of Execute; on the GUI thread, synchronized calls are served meanwhile.
  int WaitFor();
  int ReturnValue() const { return returnValue_; }
  void SetReturnValue(int value) { returnValue_ = value; }
  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }
  // The exception Execute ended with (null if none).
  std::exception_ptr FatalException() const { return fatalException_; }
  std::thread::id ThreadID() const { return id_; }

  // Raised on the GUI thread after Execute ends.
  TNotifyEvent OnTerminate;

  // Runs `method` on the GUI thread and waits for it; an exception it raises is raised again
  // in the caller. Called on the GUI thread, runs `method` at once.
  static void Synchronize(TThread* thread, const TThreadMethod& method);
  void Synchronize(const TThreadMethod& method) { Synchronize(this, method); }
  // Like Synchronize without waiting (the call runs later on the GUI thread); calls still
  // waiting when `thread` is freed are dropped.
  static void Queue(TThread* thread, TThreadMethod method);

 protected:
  virtual void Execute() = 0;
  virtual void DoTerminate();

 private:
  void Run();

  std::thread thread_;
  std::thread::id id_;
  // Held by Start until thread_ and id_ are stored: the worker must not touch them (detach and
  // free itself) before then.
  std::mutex startMutex_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> started_{false};
  std::atomic<bool> finished_{false};
  bool freeOnTerminate_ = false;
  int returnValue_ = 0;
  std::exception_ptr fatalException_;
};

// The GUI thread: the thread that first used the application (or set explicitly).
bool IsMainThread();
void SetMainThread();
// Runs the queued synchronized calls; on the GUI thread only. True when any ran. With a
// timeout, waits up to that long for a call to arrive first.
bool CheckSynchronize(int timeoutMs = 0);
// Whether a worker waits in Synchronize for its call to run (any thread may ask).
bool SynchronizeWaiting();

}  // namespace kestrel
