#pragma once
// ProcessWide<T>: how the house holds an object there is one of per process (a table, a
// directory, a default component). Declare the holder `constinit` at namespace scope:
//
//   constinit ProcessWide<Directory> gDirectory;
//   Directory& TheDirectory() { return *gDirectory; }
//
// The object is made on first use, once, whichever thread asks first. The holder is trivially
// destructible, so static destruction never takes the object away: worker threads and exit-time
// callers (atexit handlers, other statics' destructors) may still use it. An object that must go
// while the program still runs (a component whose teardown needs the windows) asks for
// `freeAtExit`: it is freed at the program's end, on the thread `freeAtExit` accepts, and the
// holder gives null from then on.
//
// Tests: ResetProcessWideState() returns every object made so far to its fresh state, so each
// test of a binary starts as the first one did. By default an object goes and is made again on
// next use; `renew` makes the fresh state from the old object instead (a handle table empties
// itself in place and keeps its generations, so that a stale handle never names a new object);
// `remakeAfterReset` makes it again at the end of the reset when it existed before (an object
// whose making sets up state others read without asking for it).

#include <atomic>
#include <memory>
#include <mutex>
#include <type_traits>

namespace kestrel::platform {

// The holders' shared side: the list resets and the program's end walk.
class ProcessWideSlot {
 public:
  ProcessWideSlot(const ProcessWideSlot&) = delete;
  ProcessWideSlot& operator=(const ProcessWideSlot&) = delete;

 protected:
  constexpr ProcessWideSlot() = default;
  ~ProcessWideSlot() = default;  // never run for a constinit holder: it is trivial
  // Puts the slot on the list once, when its first object was made; `freedAtExit` also
  // registers the program's end to free it.
  void Enlist(bool freedAtExit);
  // A value that names the calling thread (constant-initialisable, unlike std::thread::id).
  static const void* ThisThread();

 private:
  friend void ResetProcessWideState();
  friend void FinaliseProcessWideObjects();
  friend struct ProcessWideRegistry;
  // Phase one of a reset: the object goes (or is renewed). Returns whether it existed.
  virtual bool Drop() = 0;
  // Phase two, for slots that ask for it and existed: made again.
  virtual void Remake() = 0;
  // The program's end, for slots that are freed then: frees the object when there is one and
  // the thread is accepted. Returns whether it freed one.
  virtual bool Finalise() = 0;

  ProcessWideSlot* next_ = nullptr;  // the slot enlisted before this one
  bool enlisted_ = false;
  bool freedAtExit_ = false;
};

template <class T>
struct ProcessWideOptions {
  // Makes the object; null: T's default constructor.
  std::unique_ptr<T> (*make)() = nullptr;
  // Test reset: the fresh state, made from the old object before it goes (may be the old object
  // itself, emptied in place); null: the object goes and is made again on next use.
  T* (*renew)(T& old) = nullptr;
  bool remakeAfterReset = false;
  // Freed at the program's end when the thread ending it is accepted here (null: never freed).
  bool (*freeAtExit)() = nullptr;
};

template <class T>
class ProcessWide final : public ProcessWideSlot {
 public:
  constexpr ProcessWide() = default;
  constexpr explicit ProcessWide(ProcessWideOptions<T> options) : options_(options) {}

  // The object, made now if need be. Null only inside its own making (on the making thread) and
  // once the program's end freed it.
  T* Get() {
    if (T* object = object_.load(std::memory_order_acquire)) return object;
    return MakeOnce();
  }
  T& operator*() { return *Get(); }
  T* operator->() { return Get(); }
  // The object when it exists; never makes it.
  T* Peek() const { return object_.load(std::memory_order_acquire); }

 private:
  // Clears the making thread however the making ends.
  struct MakingScope {
    std::atomic<const void*>& making;
    explicit MakingScope(std::atomic<const void*>& m) : making(m) { making.store(ThisThread()); }
    ~MakingScope() { making.store(nullptr); }
  };

  T* MakeOnce() {
    if (making_.load() == ThisThread()) return nullptr;
    std::lock_guard lock(mutex_);
    if (T* object = object_.load(std::memory_order_relaxed)) return object;
    if (finalised_) return nullptr;
    std::unique_ptr<T> made;
    {
      MakingScope scope(making_);
      if (options_.make) made = options_.make();
      else if constexpr (std::is_default_constructible_v<T>) made = std::make_unique<T>();
    }
    T* object = made.release();
    object_.store(object, std::memory_order_release);
    Enlist(options_.freeAtExit != nullptr);
    return object;
  }

  bool Drop() override {
    T* old;
    {
      std::lock_guard lock(mutex_);
      old = object_.load(std::memory_order_relaxed);
      if (!old) return false;
      T* fresh = options_.renew ? options_.renew(*old) : nullptr;
      object_.store(fresh, std::memory_order_release);
      if (fresh == old) return true;
    }
    // Outside the lock: the old object's teardown may ask for the fresh one.
    delete old;
    return true;
  }

  void Remake() override {
    if (options_.remakeAfterReset) Get();
  }

  bool Finalise() override {
    if (!options_.freeAtExit || !options_.freeAtExit()) return false;
    T* old;
    {
      std::lock_guard lock(mutex_);
      old = object_.exchange(nullptr);
      if (!old) return false;
      finalised_ = true;
    }
    delete old;
    return true;
  }

  ProcessWideOptions<T> options_{};
  std::atomic<T*> object_{nullptr};
  std::atomic<const void*> making_{nullptr};  // the thread making the object
  std::mutex mutex_;
  bool finalised_ = false;
};

// Tests: every object made so far returns to its fresh state. Objects go in the reverse order of
// their first making (so one's teardown still finds what it was made with), then those that ask
// for it are made again in the order of their making. Only the calling thread may use the
// objects meanwhile.
void ResetProcessWideState();

// The program's end: frees the objects held with `freeAtExit`, newest first. Runs by itself at
// exit; a program that ends early (Halt) calls it while its windows still exist. Safe to call
// more than once.
void FinaliseProcessWideObjects();

}  // namespace kestrel::platform
