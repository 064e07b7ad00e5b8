#pragma once
// Watches the heap allocations a stretch of a test makes (their number and the largest), through
// the address sanitizer's allocation hooks; the suites run under it. In a build without it,
// Available() is false and a test that needs the watch skips.

#include <atomic>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define KESTREL_ALLOCATION_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTREL_ALLOCATION_HOOKS 1
#endif
#endif

#ifdef KESTREL_ALLOCATION_HOOKS
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace kestrel::testing {

class AllocationWatch {
 public:
  AllocationWatch() {
    Install();
    State().count = 0;
    State().largest = 0;
    State().watching = true;
  }
  ~AllocationWatch() { State().watching = false; }
  AllocationWatch(const AllocationWatch&) = delete;
  AllocationWatch& operator=(const AllocationWatch&) = delete;

  static bool Available() {
#ifdef KESTREL_ALLOCATION_HOOKS
    return true;
#else
    return false;
#endif
  }
  std::size_t Count() const { return State().count; }
  std::size_t Largest() const { return State().largest; }

 private:
  struct Shared {
    std::atomic<bool> watching{false};
    std::atomic<std::size_t> count{0};
    std::atomic<std::size_t> largest{0};
  };
  static Shared& State() {
    static Shared state;
    return state;
  }
  static void Allocated(const volatile void*, std::size_t size) {
    Shared& s = State();
    if (!s.watching) return;
    ++s.count;
    std::size_t seen = s.largest;
    while (size > seen && !s.largest.compare_exchange_weak(seen, size)) {
    }
  }
  static void Freed(const volatile void*) {}
  static void Install() {
#ifdef KESTREL_ALLOCATION_HOOKS
    // The runtime keeps a few hook slots and none can be given back: one pair for the process.
    static const bool installed = (State(), __sanitizer_install_malloc_and_free_hooks(&Allocated, &Freed) != 0);
    (void)installed;
#endif
  }
};

}  // namespace kestrel::testing
